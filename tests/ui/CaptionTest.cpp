#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "UiTestKit.h"
#include "ui/DIBButtonCtrl.h"

namespace {

using uitest::FrameColor;
using uitest::UiWorld;

class CaptionTest : public UiWorld {};

TEST_F(CaptionTest, TheFiveLooksAreStackedAndPicturesLandInTheirFrame) {
  CtrlDef def = Def(0, 100, 100);
  for (int i = 0; i < 5; ++i) def.nFrame[i] = 5 + i;
  auto* button = static_cast<CDIBButtonCtrl*>(screen.Make(CTRL_BUTTON, def));
  ASSERT_TRUE(button->InitCaption());
  CDIBSprite* caption = button->GetCaption();
  ASSERT_NE(caption, nullptr);
  EXPECT_EQ(caption->GetWidth(), 20);
  EXPECT_EQ(caption->GetHeight(), 50);
  auto at = [&](int x, int y) { return caption->GetPixels()[y * 20 + x]; };
  EXPECT_EQ(at(0, 0), FrameColor(5));    // normal
  EXPECT_EQ(at(0, 10), FrameColor(6));   // focused
  EXPECT_EQ(at(19, 49), FrameColor(9));  // focused-disabled
  EXPECT_EQ(caption->GetSprtInfo(8)->y, 30);
  EXPECT_EQ(caption->GetSprtInfo(2)->x, 40);  // frames of no state are copied as they are

  // The button now draws from the caption, at the same place.
  EXPECT_EQ(button->GetVertex().src[0].v, 0);
  EXPECT_EQ(button->GetVertex().dst[0].x, 100);

  CDIBImage mark;
  mark.Create(4, 4);
  mark.FillFull(0xFFFFFFFFu);
  SprtVertex quad;
  mark.SetVertex(quad, 2, 3, 0, 0, 4, 4, 0xFFFFFFFFu);
  button->SetCaption(0, &mark, quad);
  EXPECT_NE(at(2, 3), FrameColor(5));
  EXPECT_EQ(at(2, 2), FrameColor(5));
  EXPECT_EQ(at(2, 13), FrameColor(6));
  button->ResCaption();
  EXPECT_EQ(at(2, 3), FrameColor(5));

  // Loading a saved button drops the caption; the owner rebuilds it.
  std::vector<uint8_t> record(6000);
  button->Save(record.data());
  button->Load(record.data());
  EXPECT_EQ(button->GetCaption(), nullptr);
  EXPECT_EQ(button->GetVertex().src[0].u, 100);  // frame 5 of the parts again
}

TEST_F(CaptionTest, TextIsDrawnIntoOneStatesFrameAndStaysInsideIt) {
  CtrlDef def = Def(0, 100, 100);
  for (int i = 0; i < 5; ++i) def.nFrame[i] = 5 + i;
  auto* button = static_cast<CDIBButtonCtrl*>(screen.Make(CTRL_BUTTON, def));
  ASSERT_TRUE(button->InitCaption());
  CDIBSprite* caption = button->GetCaption();
  std::vector<uint32_t> before(caption->GetPixels(), caption->GetPixels() + 20 * 50);
  FontInfo font{};
  strcpy(font.szFaceName, "MS Gothic");
  font.nHeight = 24;  // taller than the 10-pixel frame
  font.nWeight = 700;
  // Hard-edged, mixed at the colour's alpha, into the focused look (rows 10–19).
  button->SetCaption(font, 1, 0, -4, 0x80FFFFFFu, "WW", false);
  EXPECT_TRUE(button->IsUpdate());
  int changed = 0;
  for (int y = 0; y < 50; ++y)
    for (int x = 0; x < 20; ++x) {
      const uint32_t now = caption->GetPixels()[y * 20 + x], was = before[y * 20 + x];
      if (now == was) continue;
      ASSERT_GE(y, 10) << "nothing above the focused frame";
      ASSERT_LT(y, 20) << "nothing below it";
      const uint32_t mixed = 0xFF000000u | (((was >> 16 & 0xFF) * 127 + 255 * 128) >> 8) << 16 |
                             (((was >> 8 & 0xFF) * 127 + 255 * 128) >> 8) << 8 | (((was & 0xFF) * 127 + 255 * 128) >> 8);
      ASSERT_EQ(now, mixed);
      ++changed;
    }
  EXPECT_GT(changed, 10);
  // Smooth text too; ResCaption wipes it.
  button->SetCaption(font, 0, 2, -6, 0xFFFFFFFFu, "W", true);
  EXPECT_NE(std::vector<uint32_t>(caption->GetPixels(), caption->GetPixels() + 200),
            std::vector<uint32_t>(before.begin(), before.begin() + 200));
  button->ResCaption();
  EXPECT_EQ(std::vector<uint32_t>(caption->GetPixels(), caption->GetPixels() + 20 * 50), before);
}

TEST_F(CaptionTest, FramesOutsideThePartsGiveNoCaption) {
  CtrlDef def = Def(0, 100, 100);
  def.nFrame[3] = 99;
  auto* button = static_cast<CDIBButtonCtrl*>(screen.Make(CTRL_BUTTON, def));
  EXPECT_FALSE(button->InitCaption());
  EXPECT_EQ(button->GetCaption(), nullptr);
}

}  // namespace
