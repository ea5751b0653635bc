// The display's two frames of dirty areas and its present.
#include <gtest/gtest.h>

#include "assets/DIBDisplay.h"
#include "platform/Window.h"

namespace {

long long Area(const std::vector<plat::RECT>& rects) {
  long long a = 0;
  for (const auto& r : rects) a += static_cast<long long>(r.right - r.left) * (r.bottom - r.top);
  return a;
}

TEST(DIBDisplay, DirtyAreasLastTwoFrames) {
  CDIBDisplay display;
  ASSERT_TRUE(display.Initialize());
  EXPECT_EQ(display.GetBackImage()->GetWidth(), 800);
  EXPECT_NE(display.GetBackImage()->GetRGN(), nullptr);
  display.BeginFrame();
  display.AddDirtyRect(10, 10, 19, 19);
  EXPECT_EQ(Area(display.BuildDirtyRects()), 100);
  display.BeginFrame();
  display.AddDirtyRect(15, 15, 24, 24);
  EXPECT_EQ(Area(display.BuildDirtyRects()), 175);  // union of both frames
  display.BeginFrame();
  EXPECT_EQ(Area(display.BuildDirtyRects()), 100);  // the first has gone
  display.BeginFrame();
  EXPECT_TRUE(display.BuildDirtyRects().empty());
}

TEST(DIBDisplay, RectanglesAndQuadsAreClampedToTheScreen) {
  CDIBDisplay display;
  ASSERT_TRUE(display.Initialize());
  display.AddDirtyRect(-50, -50, 5000, 5000);
  const auto& rects = display.BuildDirtyRects();
  ASSERT_EQ(rects.size(), 1u);
  EXPECT_EQ(rects[0].right, 800);
  EXPECT_EQ(rects[0].bottom, 600);
  display.BeginFrame();
  display.BeginFrame();
  plat::POINT pts[4] = {{790, -5}, {900, 3}, {850, 20}, {795, 10}};
  display.AddDirtyQuad(pts);
  const auto& quad = display.BuildDirtyRects();
  ASSERT_EQ(quad.size(), 1u);
  EXPECT_EQ(quad[0].left, 790);
  EXPECT_EQ(quad[0].top, 0);
  EXPECT_EQ(quad[0].right, 800);
  EXPECT_EQ(quad[0].bottom, 21);
  display.InvalidateAll();
  EXPECT_EQ(Area(display.BuildDirtyRects()), 800 * 600);
}

TEST(DIBDisplay, PresentCopiesOnlyTheDirtyAreas) {
  plat::SetHeadless(true);
  ASSERT_TRUE(plat::InitVideo());
  plat::HWND hwnd = plat::CreateWindow("t", plat::WS_POPUP, 0, 0, 800, 600, plat::DefWindowProc, nullptr);
  ASSERT_NE(hwnd, nullptr);
  CDIBDisplay display;
  ASSERT_TRUE(display.Initialize());
  display.BeginFrame();
  display.InvalidateAll();
  display.GetBackImage()->FillFull(0xFF112233u);
  display.Present(hwnd);
  display.BeginFrame();
  display.BeginFrame();  // the whole-screen frame is now two frames old
  display.GetBackImage()->FillFull(0xFF445566u);
  display.AddDirtyRect(100, 50, 109, 59);
  display.Present(hwnd);
  int w = 0, h = 0;
  const auto& picture = plat::GetPresentedPicture(hwnd, w, h);
  ASSERT_EQ(w, 800);
  EXPECT_EQ(picture[55 * 800 + 105], 0xFF445566u);
  EXPECT_EQ(picture[55 * 800 + 110], 0xFF112233u);
  EXPECT_EQ(picture[60 * 800 + 105], 0xFF112233u);
  plat::DestroyWindow(hwnd);
}

}  // namespace
