#include <gtest/gtest.h>

#include <vector>

#include "platform/Timer.h"
#include "platform/Window.h"

namespace {

std::vector<uint32_t> gSeen;

plat::LRESULT Recording(plat::HWND hwnd, uint32_t msg, plat::WPARAM wp, plat::LPARAM lp) {
  gSeen.push_back(msg);
  return plat::DefWindowProc(hwnd, msg, wp, lp);
}

class HeadlessWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    plat::SetHeadless(true);
    gSeen.clear();
  }
};

TEST_F(HeadlessWindow, CreateAndDestroySendTheLifecycleMessages) {
  plat::HWND w = plat::CreateWindow("t", 0, 0, 0, 800, 600, Recording, nullptr);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(gSeen, std::vector<uint32_t>{plat::WM_CREATE});
  plat::PostMessage(w, plat::WM_USER + 1, 0, 0);  // still queued when the window goes
  EXPECT_TRUE(plat::DestroyWindow(w));
  EXPECT_EQ(gSeen, (std::vector<uint32_t>{plat::WM_CREATE, plat::WM_DESTROY, plat::WM_NCDESTROY}));
  EXPECT_FALSE(plat::IsWindow(w));
  plat::MSG m;
  ASSERT_TRUE(plat::PeekMessage(m));
  EXPECT_EQ(m.hwnd, nullptr);  // dropped rather than sent to a freed window
  EXPECT_EQ(plat::DispatchMessage(m), 0);
}

TEST_F(HeadlessWindow, QuitComesAfterTheQueueDrains) {
  plat::HWND w = plat::CreateWindow("t", 0, 0, 0, 800, 600, Recording, nullptr);
  plat::PostQuitMessage(3);
  plat::PostMessage(w, plat::WM_USER, 7, 8);
  plat::MSG m;
  ASSERT_TRUE(plat::PeekMessage(m));
  EXPECT_EQ(m.message, plat::WM_USER);
  EXPECT_EQ(m.wParam, 7u);
  ASSERT_TRUE(plat::PeekMessage(m));
  EXPECT_EQ(m.message, plat::WM_QUIT);
  EXPECT_EQ(m.wParam, 3u);
  EXPECT_FALSE(plat::PeekMessage(m));
  plat::DestroyWindow(w);
}

TEST_F(HeadlessWindow, PresentCopiesOnlyTheGivenRectangles) {
  plat::HWND w = plat::CreateWindow("t", 0, 0, 0, 800, 600, Recording, nullptr);
  std::vector<uint32_t> pixels(800 * 600, 0xFF112233u);
  plat::RECT r{10, 20, 30, 40};
  plat::Present(w, pixels.data(), 800, 600, &r, 1);
  int width = 0, height = 0;
  const auto& shown = plat::GetPresentedPicture(w, width, height);
  EXPECT_EQ(shown[20 * 800 + 10], 0xFF112233u);
  EXPECT_EQ(shown[39 * 800 + 29], 0xFF112233u);
  EXPECT_EQ(shown[40 * 800 + 29], 0xFF000000u);
  EXPECT_EQ(shown[39 * 800 + 30], 0xFF000000u);
  plat::RECT outside{-50, -50, 5000, 5000};  // clamped, never out of bounds
  plat::Present(w, pixels.data(), 800, 600, &outside, 1);
  EXPECT_EQ(shown[599 * 800 + 799], 0xFF112233u);
  plat::DestroyWindow(w);
}

TEST(VirtualClock, WaitingMovesVirtualTimeAndWraps) {
  plat::SetVirtualClock(true, 0xFFFFFFF0u);
  EXPECT_EQ(plat::timeGetTime(), 0xFFFFFFF0u);
  plat::WaitForMessages(0x20);
  EXPECT_EQ(plat::timeGetTime(), 0x10u);
  plat::Sleep(5);
  EXPECT_EQ(plat::timeGetTime(), 0x15u);
  plat::SetVirtualClock(false);
}

}  // namespace
