#include <gtest/gtest.h>

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

TEST_F(CaptionTest, FramesOutsideThePartsGiveNoCaption) {
  CtrlDef def = Def(0, 100, 100);
  def.nFrame[3] = 99;
  auto* button = static_cast<CDIBButtonCtrl*>(screen.Make(CTRL_BUTTON, def));
  EXPECT_FALSE(button->InitCaption());
  EXPECT_EQ(button->GetCaption(), nullptr);
}

}  // namespace
