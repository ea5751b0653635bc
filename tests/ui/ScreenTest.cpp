#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "UiTestKit.h"
#include "assets/PixelRules.h"
#include "ui/CtrlRecord.h"
#include "ui/DIBButtonCtrl.h"
#include "ui/DIBCheckCtrl.h"
#include "ui/DIBImageCtrl.h"
#include "ui/DIBScrollCtrl.h"
#include "ui/EffectParam.h"

namespace {

using uitest::FrameColor;
using uitest::UiWorld;

class ScreenTest : public UiWorld {
 protected:
  uint32_t DrawPixel(int x, int y) const { return screen.GetDrawImage()->GetPixels()[y * 800 + x]; }
  uint32_t BackPixel(int x, int y) { return display.GetBackImage()->GetPixels()[y * 800 + x]; }
  // The blend of an opaque frame colour over the screen's background.
  static uint32_t Blended(uint32_t c) { return pix::Blend(0xFF102030u, c, 0xFFFFFFFFu); }
};

TEST_F(ScreenTest, OnlyChangedControlsAreRedrawnAndPresented) {
  CtrlDef def = Def(0, 100, 100);
  def.bBlend = true;
  auto* button = static_cast<CDIBButtonCtrl*>(screen.Make(CTRL_BUTTON, def));
  Frame();  // the first frame composes the whole picture
  EXPECT_EQ(DrawPixel(0, 0), 0xFF102030u);
  EXPECT_EQ(DrawPixel(100, 100), Blended(FrameColor(0)));
  EXPECT_EQ(BackPixel(119, 109), Blended(FrameColor(0)));

  Frame();
  Frame();
  display.BeginFrame();
  EXPECT_TRUE(display.BuildDirtyRects().empty());  // nothing changed, nothing new to present

  FocusByKeyboard(0);
  Frame();
  EXPECT_EQ(DrawPixel(110, 105), Blended(FrameColor(1)));
  EXPECT_EQ(BackPixel(110, 105), Blended(FrameColor(1)));
  const auto& rects = display.GetDirtyRects();
  ASSERT_FALSE(rects.empty());
  for (const plat::RECT& r : rects) {
    EXPECT_GE(r.left, 100);
    EXPECT_LE(r.right, 120);
  }

  button->SetShow(false);
  Frame();
  EXPECT_EQ(DrawPixel(110, 105), 0xFF102030u);  // erased to the background
  EXPECT_EQ(BackPixel(110, 105), 0xFF102030u);
}

TEST_F(ScreenTest, AnUnchangedControlUnderARestoredAreaIsDrawnAgain) {
  CtrlDef under = Def(5, 100, 100);
  under.nFrame[0] = 9;
  screen.Make(CTRL_IMAGE, under);  // a 20 × 10 picture at (100, 100)
  CtrlDef over = Def(0, 110, 105);
  over.bBlend = true;
  auto* button = static_cast<CDIBButtonCtrl*>(screen.Make(CTRL_BUTTON, over));
  Frame();
  ASSERT_EQ(DrawPixel(101, 101), Blended(FrameColor(9)));

  button->SetPos(300, 300);  // uncovers part of the picture
  Frame();
  EXPECT_EQ(DrawPixel(115, 107), Blended(FrameColor(9)));
  EXPECT_EQ(DrawPixel(101, 101), Blended(FrameColor(9)));
  EXPECT_EQ(DrawPixel(125, 107), 0xFF102030u);
  EXPECT_EQ(DrawPixel(305, 305), Blended(FrameColor(0)));
}

TEST_F(ScreenTest, CopyImageRendersTheBackgroundAndEveryShownControl) {
  screen.Make(CTRL_BUTTON, Def(0, 10, 10));
  CDIBBaseCtrl* hidden = screen.Make(CTRL_BUTTON, Def(1, 50, 10));
  hidden->SetShow(false);
  CDIBImage copy;
  copy.Create(800, 600);
  copy.FillFull(0);
  screen.CopyImage(&copy);
  EXPECT_EQ(copy.GetPixels()[0], 0xFF102030u);
  EXPECT_EQ(copy.GetPixels()[15 * 800 + 15], FrameColor(0));  // buttons copy unless told to blend
  EXPECT_EQ(copy.GetPixels()[15 * 800 + 55], 0xFF102030u);

  EffectParam param;
  EffectParamWriter(&param, 2).Int(500);
  screen.GetCallEffectParam(&param);
  EXPECT_EQ(param.nEffect, 0);
  EXPECT_EQ(EffectParamReader(&param).Int(), 0);
}

// Saves a control, changes it, loads it back and compares the records.
template <class T>
void RoundTrip(T* ctrl, size_t expectedSize) {
  std::vector<uint8_t> first(8000, 0xCC), second(8000, 0xCC);
  uint8_t* end = ctrl->Save(first.data());
  ASSERT_EQ(static_cast<size_t>(end - first.data()), expectedSize);
  ctrl->SetPos(1, 2);
  ctrl->SetShow(false);
  const uint8_t* readEnd = ctrl->Load(first.data());
  EXPECT_EQ(readEnd, first.data() + expectedSize);
  ctrl->Save(second.data());
  EXPECT_EQ(first, second);
  EXPECT_EQ(ctrl->GetPos()->x, first[533]);
}

TEST_F(ScreenTest, SavedRecordsHaveTheirExactSizesAndReadBack) {
  CtrlDef def = Def(7, 33, 44);
  def.nJumpNum = 2;
  def.Jump[1][JUMP_TAB] = 12;
  strcpy(def.szHitFName, "HIT.BMP");
  RoundTrip(static_cast<CDIBButtonCtrl*>(screen.Make(CTRL_BUTTON, def)), 5698);
  def.bCheck = true;
  RoundTrip(static_cast<CDIBCheckCtrl*>(screen.Make(CTRL_CHECK, def)), 5719);
  RoundTrip(static_cast<CDIBScrollCtrl*>(screen.Make(CTRL_SCROLL, SliderDef(8, 10, 10, 3, 9))), 5742);
  RoundTrip(static_cast<CDIBImageCtrl*>(screen.Make(CTRL_IMAGE, def)), 5678);

  std::vector<uint8_t> record(6000);
  screen.GetCtrl(7)->Save(record.data());
  EXPECT_EQ(std::string(reinterpret_cast<char*>(&record[6])), "PARTS");
  EXPECT_EQ(std::string(reinterpret_cast<char*>(&record[262])), "HIT.BMP");
  EXPECT_EQ(record[518], CTRL_BUTTON);
  EXPECT_EQ(record[522], 7);
  EXPECT_EQ(record[547], 2);                  // jump rows
  EXPECT_EQ(record[551 + (1 * 5 + 4) * 4], 12);  // row 1, Tab
}

TEST_F(ScreenTest, DamagedRecordsLoadWithoutReadingOrDrawingOutOfBounds) {
  auto* scroll = static_cast<CDIBScrollCtrl*>(screen.Make(CTRL_SCROLL, SliderDef(0, 10, 10, 0, 10)));
  std::vector<uint8_t> record(8000);
  scroll->Save(record.data());
  memset(&record[6], 'A', 256);           // unterminated, unknown picture
  memset(&record[262], 'B', 256);         // unterminated hit file
  record[547] = 0xFF;                     // jump rows far beyond the table
  record[550] = 0x7F;
  for (int i = 0; i < 10; ++i) record[5674 + i * 4] = 99;  // frames past the picture
  record[5714] = 77;                      // state out of range
  scroll->Load(record.data());
  EXPECT_EQ(scroll->GetParts(), nullptr);
  EXPECT_LE(scroll->GetState(), 4);
  scroll->GetJumpToCtrlID(JUMP_UP);  // walks at most the 256 rows of the table
  EXPECT_EQ(scroll->GetJumpID(300, JUMP_UP), -1);
  input.mptMouse = plat::POINT{15, 15};
  EXPECT_FALSE(scroll->IsMouseOn());
  scroll->Blt(screen.GetDrawImage());
  Frame();
}

TEST_F(ScreenTest, StoredPositionsBeyondTheScreenPointsAreHeldAtTheirEdges) {
  auto* button = static_cast<CDIBButtonCtrl*>(screen.Make(CTRL_BUTTON, Def(0, 10, 10)));
  std::vector<uint8_t> record(8000);
  button->Save(record.data());
  ctrlrec::PutInt(&record[533], INT32_MAX);
  ctrlrec::PutInt(&record[537], INT32_MIN);
  button->Load(record.data());
  EXPECT_EQ(button->GetPos()->x, INT16_MAX);
  EXPECT_EQ(button->GetPos()->y, INT16_MIN);
  ctrlrec::PutInt(&record[533], -40);
  ctrlrec::PutInt(&record[537], 700);
  button->Load(record.data());
  EXPECT_EQ(button->GetPos()->x, -40);  // ordinary positions off the screen stay
  EXPECT_EQ(button->GetPos()->y, 700);
}

}  // namespace
