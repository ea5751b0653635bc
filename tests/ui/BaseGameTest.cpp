#include <gtest/gtest.h>

#include "UiTestKit.h"
#include "ui/DIBBaseWnd.h"
#include "ui/DIBButtonCtrl.h"
#include "ui/DIBCheckCtrl.h"

namespace {

using uitest::UiWorld;

class BaseGameTest : public UiWorld {};

TEST_F(BaseGameTest, UpMovesFocusToTheFirstShownCandidate) {
  CtrlDef def = Def(0, 100, 300);
  def.nJumpNum = 3;
  def.Jump[0][JUMP_UP] = 1;  // hidden
  def.Jump[1][JUMP_UP] = 7;  // does not exist
  def.Jump[2][JUMP_UP] = 2;  // shown but disabled: still a target
  def.Jump[0][JUMP_TAB] = 2;
  for (int r = 1; r < 3; ++r)
    for (int d : {JUMP_DOWN, JUMP_LEFT, JUMP_RIGHT, JUMP_TAB}) def.Jump[r][d] = -1;
  CDIBBaseCtrl* start = screen.Make(CTRL_BUTTON, def);
  CDIBBaseCtrl* hidden = screen.Make(CTRL_BUTTON, Def(1, 100, 200));
  CDIBBaseCtrl* target = screen.Make(CTRL_BUTTON, Def(2, 100, 100));
  hidden->SetShow(false);
  target->SetEnable(false);
  EXPECT_EQ(start->GetJumpToCtrlID(JUMP_UP), 2);
  EXPECT_EQ(start->GetJumpToCtrlID(JUMP_DOWN), -1);
  EXPECT_EQ(start->GetJumpToCtrlID(5), -1);

  FocusByKeyboard(0);
  Key(plat::VK_UP, true);
  Frame();
  EXPECT_FALSE(start->IsForcus());
  EXPECT_TRUE(target->IsForcus());
  EXPECT_EQ(static_cast<CDIBButtonCtrl*>(target)->GetState(), 4);

  // Once the hidden one shows, the first row wins again.
  hidden->SetShow(true);
  EXPECT_EQ(start->GetJumpToCtrlID(JUMP_UP), 1);
}

TEST_F(BaseGameTest, ControlsSharingAnIdAreFoundFirstAndDeletedTogether) {
  CDIBBaseCtrl* a = screen.Make(CTRL_BUTTON, Def(3, 0, 0));
  CDIBBaseCtrl* b = screen.Make(CTRL_CHECK, Def(4, 0, 0));
  CDIBBaseCtrl* c = screen.Make(CTRL_BUTTON, Def(3, 50, 0));
  ASSERT_TRUE(a && b && c);
  EXPECT_EQ(screen.GetCtrl(3), a);
  EXPECT_EQ(screen.GetCtrlCount(), 3);
  screen.DeleteControl(3);
  EXPECT_EQ(screen.GetCtrlCount(), 1);
  EXPECT_EQ(screen.GetCtrlTop(), b);
  EXPECT_EQ(b->GetNext(), nullptr);
  EXPECT_EQ(screen.GetCtrl(3), nullptr);
}

TEST_F(BaseGameTest, OnlyTheLastFocusRequestOfAFrameApplies) {
  for (int id = 0; id < 4; ++id) screen.Make(CTRL_BUTTON, Def(id, 0, 30 * id));
  FocusByKeyboard(1);
  screen.SetForcusReq(FORCUS_REQ_KILL_ALL);
  screen.SetForcusReq(3);
  EXPECT_TRUE(screen.IsForcusInAll());
  screen.UpdateForcus();
  EXPECT_TRUE(screen.GetCtrl(3)->IsForcus());
  EXPECT_TRUE(screen.GetCtrl(1)->IsForcus());  // the kill request was replaced
  EXPECT_EQ(screen.GetForcusReq(), FORCUS_REQ_NONE);

  screen.SetForcusReq(FORCUS_REQ_KILL_ALL);
  screen.UpdateForcus();
  EXPECT_FALSE(screen.IsForcusInAll());
}

TEST_F(BaseGameTest, UnknownTypesMakeNothing) {
  screen.Make(CTRL_BUTTON, Def(0, 0, 0));
  EXPECT_EQ(screen.Make(4, Def(1, 0, 0)), nullptr);
  EXPECT_EQ(screen.Make(0, Def(1, 0, 0)), nullptr);
  EXPECT_EQ(screen.GetCtrlCount(), 1);
  // Without a definition the control is made but not initialised.
  EXPECT_NE(screen.MakeControl(CTRL_IMAGE, nullptr), nullptr);
  EXPECT_EQ(screen.GetCtrlCount(), 2);
}

TEST_F(BaseGameTest, SpriteMotionsEndOnSkipAndLoopsWrap) {
  SprtMotion motion{};
  screen.SetSprtMotion(&motion, 7, 1000, false);
  EXPECT_EQ(motion.nKind, 7);
  screen.MoveSprtMotion(&motion);
  EXPECT_EQ(motion.nTime, 30);
  EXPECT_TRUE(motion.bUpdate);
  motion.bSkip = true;
  screen.MoveSprtMotion(&motion);
  EXPECT_EQ(motion.nTime, 1000);
  EXPECT_TRUE(motion.bUpdate);
  screen.MoveSprtMotion(&motion);
  EXPECT_FALSE(motion.bUpdate);  // ended

  screen.SetSprtMotion(&motion, 0, 1000, true);
  motion.bSkip = true;  // ignored by a loop
  window.mFrameTime = 60;
  int wraps = 0;
  for (int i = 0; i < 40; ++i) {
    screen.MoveSprtMotion(&motion);
    EXPECT_TRUE(motion.bUpdate);
    EXPECT_LT(motion.nTime, 1000);
    if (motion.nTime == 0) ++wraps;
  }
  EXPECT_EQ(wraps, 2);  // 17 frames reach 1020 → 0, twice in 40 frames
}

TEST_F(BaseGameTest, ExitRequestsAreOnlyRecorded) {
  EXPECT_FALSE(screen.IsExit());
  screen.SetExit(5);
  EXPECT_TRUE(screen.IsExit());
  EXPECT_EQ(screen.Reaction(1, 2), 0);
}

class TestWnd : public CDIBBaseWnd {
 public:
  TestWnd() : CDIBBaseWnd(nullptr) {}
};

TEST_F(BaseGameTest, WindowsOpenWithOrWithoutTheirAnimation) {
  TestWnd wnd;
  ASSERT_TRUE(wnd.Initialize());
  const CtrlDef def = Def(0, 0, 0);
  CDIBBaseCtrl* c = wnd.MakeControl(CTRL_BUTTON, &def);
  wnd.SetOpenCloseSpan(100);

  wnd.Open(false);
  EXPECT_TRUE(wnd.IsOpen());
  EXPECT_FALSE(wnd.IsOpenCloseMove());
  EXPECT_EQ(wnd.GetOpenCloseTime(), 100);
  for (int i = 0; i < 5; ++i) wnd.Move();
  EXPECT_FALSE(c->IsInputEnable());  // stays off until the owner enables it

  wnd.Open(true);
  EXPECT_EQ(wnd.GetOpenCloseTime(), 0);
  wnd.Move();
  wnd.Move();
  wnd.Move();
  wnd.Move();
  EXPECT_EQ(wnd.GetOpenCloseTime(), 100);
  EXPECT_TRUE(wnd.IsOpenCloseMove());
  EXPECT_FALSE(c->IsInputEnable());
  wnd.Move();  // the frame after the span: input back on
  EXPECT_FALSE(wnd.IsOpenCloseMove());
  EXPECT_TRUE(c->IsInputEnable());

  wnd.Close(true);
  EXPECT_FALSE(wnd.IsOpen());
  for (int i = 0; i < 6; ++i) wnd.Move();
  EXPECT_FALSE(wnd.IsOpenCloseMove());
  EXPECT_FALSE(c->IsInputEnable());
}

TEST_F(BaseGameTest, CheckBoxesToggleOnActivation) {
  CtrlDef def = Def(0, 100, 100);
  def.bCheck = true;
  auto* check = static_cast<CDIBCheckCtrl*>(screen.Make(CTRL_CHECK, def));
  EXPECT_EQ(check->GetState(), 5);
  FocusByKeyboard(0);
  EXPECT_EQ(check->GetState(), 6);
  Key(plat::VK_RETURN, true);
  Frame();
  EXPECT_EQ(check->GetState(), 7);
  Key(plat::VK_RETURN, false);
  Frame();
  EXPECT_FALSE(check->IsCheck());
  EXPECT_EQ(check->GetState(), 1);
  Frame();
  EXPECT_TRUE(check->IsDecide());

  // By mouse: hover, click, release on it.
  Mouse(105, 105);
  Frame();
  Key(plat::VK_LBUTTON, true);
  Frame();
  EXPECT_EQ(check->GetState(), 2);
  Key(plat::VK_LBUTTON, false);
  Frame();
  EXPECT_TRUE(check->IsCheck());
  EXPECT_EQ(check->GetState(), 6);

  // Released elsewhere: no toggle, unfocused look. (The frame that reports
  // the decision handles no input.)
  Frame();
  Key(plat::VK_LBUTTON, true);
  Frame();
  EXPECT_EQ(check->GetState(), 7);
  Mouse(300, 300);
  Frame();
  EXPECT_EQ(check->GetState(), 5);
  Key(plat::VK_LBUTTON, false);
  Frame();
  EXPECT_TRUE(check->IsCheck());
  EXPECT_EQ(check->GetState(), 5);

  check->SetEnable(false);
  EXPECT_EQ(check->GetState(), 8);
}

}  // namespace
