#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "UiTestKit.h"
#include "ui/CtrlRecord.h"
#include "ui/DIBScrollCtrl.h"

namespace {

using uitest::UiWorld;

class ScrollTest : public UiWorld {
 protected:
  CDIBScrollCtrl* Make(int32_t min, int32_t max, int32_t top = 0, int32_t bottom = 0, int32_t dir = 0) {
    CtrlDef def = SliderDef(0, 100, 300, min, max);
    def.nMarginTop = top;
    def.nMarginBottom = bottom;
    def.nDir = dir;
    auto* s = static_cast<CDIBScrollCtrl*>(screen.Make(CTRL_SCROLL, def));
    EXPECT_NE(s, nullptr);
    return s;
  }
};

TEST_F(ScrollTest, HeldRightStepsOnPushThenEveryIntervalAfterTheDelayAndStopsAtTheEnd) {
  CDIBScrollCtrl* slider = Make(0, 10);
  FocusByKeyboard(0);
  Key(plat::VK_RIGHT, true);
  std::vector<int> stepTimes;
  int last = slider->GetScrollPos();
  for (int t = 0; t <= 1500; t += 10) {
    Frame(10);
    if (slider->GetScrollPos() != last) {
      stepTimes.push_back(t);
      EXPECT_TRUE(slider->IsDecide()) << t;
      last = slider->GetScrollPos();
    }
  }
  EXPECT_EQ(stepTimes, (std::vector<int>{0, 500, 600, 700, 800, 900, 1000, 1100, 1200, 1300}));
  EXPECT_EQ(slider->GetScrollPos(), 10);
  EXPECT_TRUE(slider->IsForcus());  // along the axis the keys never move focus
}

TEST_F(ScrollTest, BackwardRangesStepTowardsTheirEnds) {
  CDIBScrollCtrl* slider = Make(10, 0);
  EXPECT_EQ(slider->GetScrollPos(), 10);
  FocusByKeyboard(0);
  Key(plat::VK_RIGHT, true);
  Frame();
  EXPECT_EQ(slider->GetScrollPos(), 9);  // towards the maximum, 0
  Key(plat::VK_RIGHT, false);
  Frame();
  Key(plat::VK_LEFT, true);
  Frame();
  EXPECT_EQ(slider->GetScrollPos(), 10);
  Frame();
  Key(plat::VK_LEFT, false);
  Frame();
  Key(plat::VK_LEFT, true);
  Frame();
  EXPECT_EQ(slider->GetScrollPos(), 10);  // clamped at the minimum

  slider->SetScrollPos(-5);
  EXPECT_EQ(slider->GetScrollPos(), 0);
  slider->SetScrollPos(50);
  EXPECT_EQ(slider->GetScrollPos(), 10);
}

TEST_F(ScrollTest, KeysAcrossTheAxisMoveFocus) {
  CtrlDef def = SliderDef(0, 100, 300, 0, 10);
  def.nDir = 1;  // vertical
  def.Jump[0][JUMP_RIGHT] = 1;
  def.Jump[0][JUMP_DOWN] = 1;
  auto* slider = static_cast<CDIBScrollCtrl*>(screen.Make(CTRL_SCROLL, def));
  auto* next = static_cast<CDIBScrollCtrl*>(screen.Make(CTRL_SCROLL, SliderDef(1, 300, 300, 0, 10)));
  FocusByKeyboard(0);
  Key(plat::VK_DOWN, true);
  Frame();
  EXPECT_EQ(slider->GetScrollPos(), 1);  // along a vertical slider Down steps
  EXPECT_TRUE(slider->IsForcus());
  Key(plat::VK_DOWN, false);
  Key(plat::VK_RIGHT, true);
  Frame();
  EXPECT_EQ(slider->GetScrollPos(), 1);
  EXPECT_FALSE(slider->IsForcus());
  EXPECT_TRUE(next->IsForcus());
  EXPECT_EQ(next->GetScrollPos(), 0);  // the key moved focus, it did not step
}

TEST_F(ScrollTest, MarginsMapTheBarOntoTheRange) {
  CDIBScrollCtrl* slider = Make(0, 10, 10, 20);  // bar 100 wide at x 100
  EXPECT_EQ(slider->CalcScrollPos(110, 305), 0);
  EXPECT_EQ(slider->CalcScrollPos(100, 305), 0);
  EXPECT_EQ(slider->CalcScrollPos(180, 305), 10);
  EXPECT_EQ(slider->CalcScrollPos(199, 305), 10);
  EXPECT_EQ(slider->CalcScrollPos(145, 305), 5);
  EXPECT_EQ(slider->CalcScrollPos(144, 305), 4);  // truncated

  CDIBScrollCtrl* back = static_cast<CDIBScrollCtrl*>(
      screen.Make(CTRL_SCROLL, SliderDef(1, 100, 400, 10, -10)));
  EXPECT_EQ(back->CalcScrollPos(100, 405), 10);
  EXPECT_EQ(back->CalcScrollPos(200, 405), -10);
  EXPECT_EQ(back->CalcScrollPos(199, 405), -9);
  EXPECT_EQ(back->CalcScrollPos(145, 405), 1);  // 10 − 0.45 × 20 = 1

  // Margins that leave no room give the minimum rather than a division by 0.
  CtrlDef def = SliderDef(2, 100, 500, 0, 10);
  def.nMarginTop = 60;
  def.nMarginBottom = 40;
  auto* full = static_cast<CDIBScrollCtrl*>(screen.Make(CTRL_SCROLL, def));
  EXPECT_EQ(full->CalcScrollPos(150, 505), 0);
}

TEST_F(ScrollTest, TheKnobCentreFollowsTheValueAndIsCentredAcrossTheBar) {
  CDIBScrollCtrl* slider = Make(0, 10, 10, 20);
  slider->SetScrollPos(5);
  slider->UpdateVertex();
  const SprtVertex& knob = slider->GetKnobVertex();
  // Centre at 10 + 5/10 × 70 = 45 from the bar start; the knob is 10 wide.
  EXPECT_EQ(knob.dst[0].x, 100 + 45 - 5);
  EXPECT_EQ(knob.dst[0].y, 300 + (10 - 16) / 2);
  slider->SetScrollPos(0);
  slider->UpdateVertex();
  EXPECT_EQ(slider->GetKnobVertex().dst[0].x, 100 + 10 - 5);
  const SprtVertex& bar = slider->GetBarVertex();
  EXPECT_EQ(bar.dst[0].x, 100);
  EXPECT_EQ(bar.dst[2].x, 199);
}

TEST_F(ScrollTest, DraggingFollowsThePointerAndDecidesOnChange) {
  CDIBScrollCtrl* slider = Make(0, 100);
  Mouse(150, 305);
  Frame();
  ASSERT_TRUE(slider->IsForcus());
  Key(plat::VK_LBUTTON, true);
  Frame();
  EXPECT_EQ(slider->GetState(), 2);
  EXPECT_EQ(slider->GetScrollPos(), 50);
  Mouse(175, 305);
  Frame();
  EXPECT_EQ(slider->GetScrollPos(), 75);
  EXPECT_TRUE(slider->IsDecide());
  Frame();  // no movement: no new decision
  EXPECT_FALSE(slider->IsDecide());
  Mouse(175, 500);  // off the bar: the value still follows along the axis
  Frame();
  EXPECT_EQ(slider->GetState(), 0);
  EXPECT_EQ(slider->GetScrollPos(), 75);
  Mouse(400, 500);
  Frame();
  EXPECT_EQ(slider->GetScrollPos(), 100);
  Key(plat::VK_LBUTTON, false);
  Frame();
  EXPECT_FALSE(screen.IsCtrlLock());
}

// A saved record is read back from a save file and may hold any numbers: the
// extremes of the range, the margins and the position must not wrap around.
TEST_F(ScrollTest, ExtremeSavedRecordsNeitherWrapTheValueNorTheKnob) {
  CDIBScrollCtrl* source = Make(0, 10);
  std::vector<uint8_t> record(kCtrlRecordBase + 1024);
  uint8_t* end = source->Save(record.data());
  ASSERT_LE(end, record.data() + record.size());
  const size_t id = 522, posX = 533, tail = kCtrlRecordBase + 10 * 4;  // after the base and the frames
  auto put = [&](size_t at, int32_t v) { ctrlrec::PutInt(record.data() + at, v); };
  put(id, 1);
  put(posX, INT32_MAX);
  put(tail + 4, INT32_MAX);      // value
  put(tail + 12, INT32_MIN);     // minimum
  put(tail + 16, INT32_MAX);     // maximum
  put(tail + 20, INT32_MAX);     // leading margin
  put(tail + 24, INT32_MAX);     // trailing margin

  auto* slider = static_cast<CDIBScrollCtrl*>(screen.Make(CTRL_SCROLL, SliderDef(1, 100, 400, 0, 10)));
  ASSERT_NE(slider, nullptr);
  EXPECT_EQ(slider->Load(record.data()), static_cast<const uint8_t*>(end));
  EXPECT_EQ(slider->GetScrollPos(), INT32_MAX);
  FocusByKeyboard(1);
  ASSERT_TRUE(slider->IsForcus());
  EXPECT_TRUE(slider->OnKeyRightBtn());
  EXPECT_EQ(slider->GetScrollPos(), INT32_MAX);  // stays at the end
  // Margins wider than the bar put every point at the minimum.
  EXPECT_EQ(slider->CalcScrollPos(INT32_MIN, 0), INT32_MIN);
  EXPECT_EQ(slider->CalcScrollPos(INT32_MAX, 0), INT32_MIN);

  // A position far off the screen keeps the knob at the far edge.
  put(tail + 20, 0);
  put(tail + 24, 0);
  slider->Load(record.data());
  slider->UpdateVertex();
  EXPECT_EQ(slider->GetKnobVertex().dst[0].x, INT16_MAX);
}

}  // namespace
