// Opens a real window on the display (a virtual one under Xvfb in CI),
// presents a known picture and reads it back from the window surface.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "platform/Window.h"

namespace {

TEST(RealWindow, PresentsAKnownPicture) {
  if (!getenv("DISPLAY") && !getenv("WAYLAND_DISPLAY")) GTEST_SKIP() << "no display";
  // The software renderer keeps the check independent of the display's GL.
  setenv("SDL_RENDER_DRIVER", "software", 1);
  plat::SetHeadless(false);
  ASSERT_TRUE(plat::InitVideo());
  plat::HWND w = plat::CreateWindow("VELTO test", plat::WS_CAPTION, 10, 10, 800, 600, nullptr, nullptr);
  ASSERT_NE(w, nullptr);
  plat::ShowWindow(w, plat::SW_SHOW);
  std::vector<uint32_t> pixels(800 * 600);
  for (int y = 0; y < 600; ++y)
    for (int x = 0; x < 800; ++x) pixels[y * 800 + x] = 0xFF000000u | (x & 0xFF) << 16 | (y & 0xFF) << 8 | 0x40;
  plat::RECT all{0, 0, 800, 600};
  plat::Present(w, pixels.data(), 800, 600, &all, 1);
  std::vector<uint32_t> back;
  ASSERT_TRUE(plat::ReadBackWindow(w, back));
  ASSERT_EQ(back.size(), pixels.size());
  int wrong = 0;
  for (size_t i = 0; i < back.size(); ++i) wrong += (back[i] & 0xFFFFFF) != (pixels[i] & 0xFFFFFF);
  EXPECT_EQ(wrong, 0);
  plat::DestroyWindow(w);
  // The video system stays up: shutting it down unloads the X libraries,
  // and the leak checker could no longer tell their leftovers from ours.
}

}  // namespace
