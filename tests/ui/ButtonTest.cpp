#include <gtest/gtest.h>

#include "UiTestKit.h"
#include "ui/DIBButtonCtrl.h"
#include "ui/DIBImageCtrl.h"

namespace {

using uitest::UiWorld;

class ButtonTest : public UiWorld {
 protected:
  void SetUp() override {
    UiWorld::SetUp();
    button = static_cast<CDIBButtonCtrl*>(screen.Make(CTRL_BUTTON, Def(0, 100, 100)));
    other = static_cast<CDIBButtonCtrl*>(screen.Make(CTRL_BUTTON, Def(1, 100, 200)));
    ASSERT_NE(button, nullptr);
    ASSERT_NE(other, nullptr);
    Frame();
  }
  CDIBButtonCtrl* button = nullptr;
  CDIBButtonCtrl* other = nullptr;
};

TEST_F(ButtonTest, ReturnShowsPressedWhileHeldAndDecidesOnExactlyTheNextFrame) {
  FocusByKeyboard(0);
  EXPECT_EQ(button->GetState(), 1);
  window.sounds.clear();

  Key(plat::VK_RETURN, true);
  for (int i = 0; i < 3; ++i) {
    Frame();
    EXPECT_EQ(button->GetState(), 2);
    EXPECT_TRUE(screen.IsCtrlLock());
    EXPECT_FALSE(button->IsDecide());
  }
  // While held, the other control cannot take focus.
  screen.SetForcusReq(1);
  screen.UpdateForcus();
  EXPECT_FALSE(other->IsForcus());

  Key(plat::VK_RETURN, false);
  Frame();
  EXPECT_EQ(window.sounds, std::vector<int>{SYSSE_DECIDE});
  EXPECT_EQ(button->GetState(), 1);
  EXPECT_FALSE(screen.IsCtrlLock());
  EXPECT_FALSE(button->IsDecide());
  Frame();
  EXPECT_TRUE(button->IsDecide());
  Frame();
  EXPECT_FALSE(button->IsDecide());
}

TEST_F(ButtonTest, CancelButtonsPlayTheCancelSoundAndSilentOnesNone) {
  CtrlDef def = Def(2, 300, 100);
  def.bCancel = true;
  def.bOncurSE = false;
  CDIBBaseCtrl* cancel = screen.Make(CTRL_BUTTON, def);
  def = Def(3, 300, 200);
  def.bEnterSE = false;
  CDIBBaseCtrl* silent = screen.Make(CTRL_BUTTON, def);
  window.sounds.clear();
  for (CDIBBaseCtrl* c : {cancel, silent}) {
    FocusByKeyboard(c->GetID());
    Key(plat::VK_RETURN, true);
    Frame();
    Key(plat::VK_RETURN, false);
    Frame();
    Frame();
    EXPECT_TRUE(c->IsDecide());
    screen.ResetForcusInAll();
  }
  // The cancel button takes focus silently; the other plays the cursor sound.
  EXPECT_EQ(window.sounds, (std::vector<int>{SYSSE_CANCEL, SYSSE_CURSOR}));
}

TEST_F(ButtonTest, ClickReleasedOnTheButtonDecides) {
  Mouse(110, 105);
  Frame();  // the pointer arrives: mouse mode, focus requested and given
  EXPECT_EQ(input.mInputType, INPUT_MOUSE);
  EXPECT_TRUE(button->IsForcus());
  EXPECT_EQ(button->GetState(), 1);

  Key(plat::VK_LBUTTON, true);
  Frame();
  EXPECT_EQ(button->GetState(), 2);
  EXPECT_TRUE(screen.IsCtrlLock());
  Key(plat::VK_LBUTTON, false);
  Frame();
  EXPECT_FALSE(screen.IsCtrlLock());
  EXPECT_FALSE(button->IsDecide());
  EXPECT_TRUE(button->IsForcus());  // dropped and given back at once
  Frame();
  EXPECT_TRUE(button->IsDecide());
  // The refocus after the click does not repeat the cursor sound.
  EXPECT_EQ(window.sounds, (std::vector<int>{SYSSE_CURSOR, SYSSE_DECIDE}));
}

TEST_F(ButtonTest, AClickUnderAStillPointerDecidesWithoutFocusBefore) {
  // The pointer came to rest on the button, then the keyboard took over and
  // focused the other button; the pointer never moves again.
  Mouse(110, 105);
  Frame();
  screen.ResetForcusInAll();
  FocusByKeyboard(1);
  ASSERT_TRUE(other->IsForcus());
  ASSERT_FALSE(button->IsForcus());
  window.sounds.clear();

  Key(plat::VK_LBUTTON, true);
  Frame();
  EXPECT_TRUE(button->IsForcus());
  EXPECT_FALSE(other->IsForcus());
  EXPECT_EQ(button->GetState(), 2);
  EXPECT_TRUE(screen.IsCtrlLock()) << "the other button's switch to the mouse keeps this press";
  Key(plat::VK_LBUTTON, false);
  Frame();
  Frame();
  EXPECT_TRUE(button->IsDecide());
  EXPECT_FALSE(other->IsDecide());
  EXPECT_EQ(window.sounds, std::vector<int>{SYSSE_DECIDE});

  // The same with the pressed button last in the list: the first one's
  // switch to the mouse must not drop the press either.
  screen.ResetForcusInAll();
  Mouse(110, 205);
  Frame();
  screen.ResetForcusInAll();
  FocusByKeyboard(0);
  Key(plat::VK_LBUTTON, true);
  Frame();
  EXPECT_TRUE(other->IsForcus());
  EXPECT_TRUE(screen.IsCtrlLock());
  Key(plat::VK_LBUTTON, false);
  Frame();
  Frame();
  EXPECT_TRUE(other->IsDecide());
}

TEST_F(ButtonTest, PressInsideAndReleaseOutsideAbandonsThePress) {
  Mouse(110, 105);
  Frame();
  Key(plat::VK_LBUTTON, true);
  Frame();
  ASSERT_EQ(button->GetState(), 2);

  Mouse(400, 400);  // dragged off while held
  Frame();
  EXPECT_EQ(button->GetState(), 0);
  EXPECT_TRUE(screen.IsCtrlLock());
  Mouse(110, 205);  // over the other button: it cannot take focus while locked
  Frame();
  EXPECT_FALSE(other->IsForcus());

  Mouse(400, 400);
  Frame();
  Key(plat::VK_LBUTTON, false);
  Frame();
  EXPECT_FALSE(screen.IsCtrlLock());
  EXPECT_FALSE(button->IsForcus());
  Frame();
  EXPECT_FALSE(button->IsDecide());
  EXPECT_EQ(button->GetState(), 0);
}

TEST_F(ButtonTest, AReleaseWithoutAPressOnTheButtonDoesNotDecide) {
  Mouse(400, 400);
  Frame();
  Key(plat::VK_LBUTTON, true);  // pressed on no control
  Frame();
  Mouse(110, 105);  // dragged onto the button, which takes focus
  Frame();
  EXPECT_TRUE(button->IsForcus());
  Key(plat::VK_LBUTTON, false);
  Frame();
  Frame();
  EXPECT_FALSE(button->IsDecide());
  EXPECT_TRUE(button->IsForcus());
  EXPECT_EQ(window.sounds, std::vector<int>{SYSSE_CURSOR});
}

TEST_F(ButtonTest, DisabledButtonsShowTheirLooksButNeverActivate) {
  button->SetEnable(false);
  EXPECT_EQ(button->GetState(), 3);
  FocusByKeyboard(0);
  EXPECT_EQ(button->GetState(), 4);
  Key(plat::VK_RETURN, true);
  Frame();
  Key(plat::VK_RETURN, false);
  Frame();
  Frame();
  EXPECT_FALSE(button->IsDecide());
  EXPECT_FALSE(screen.IsCtrlLock());

  // Disabling the held button releases the owner's lock.
  button->SetEnable(true);
  Key(plat::VK_RETURN, true);
  Frame();
  ASSERT_TRUE(screen.IsCtrlLock());
  button->SetEnable(false);
  EXPECT_FALSE(screen.IsCtrlLock());
}

TEST_F(ButtonTest, LockedInputDropsFocusAndIgnoresEverything) {
  FocusByKeyboard(0);
  button->SetInputEnable(false);
  Frame();
  EXPECT_FALSE(button->IsForcus());
  Mouse(110, 105);
  Key(plat::VK_LBUTTON, true);
  Frame();
  Key(plat::VK_LBUTTON, false);
  Frame();
  Frame();
  EXPECT_FALSE(button->IsForcus());
  EXPECT_FALSE(button->IsDecide());
}

TEST_F(ButtonTest, ImageControlsNeverTakeTheMouse) {
  CtrlDef def = Def(5, 300, 300);
  def.nHitNo = -1;  // without a hit map the pointer counts as on it everywhere
  auto* image = static_cast<CDIBImageCtrl*>(screen.Make(CTRL_IMAGE, def));
  ASSERT_NE(image, nullptr);
  EXPECT_TRUE(image->IsMouseOn());
  for (int i = 0; i < 3; ++i) {
    Mouse(305 + i, 305);
    Frame();
  }
  Key(plat::VK_LBUTTON, true);
  Frame();
  Key(plat::VK_LBUTTON, false);
  Frame();
  Frame();
  EXPECT_FALSE(image->IsForcus());
  EXPECT_FALSE(image->IsDecide());
  EXPECT_FALSE(screen.IsCtrlLock());

  // Focused by the keyboard, Return does nothing either.
  FocusByKeyboard(5);
  Key(plat::VK_RETURN, true);
  Frame();
  Key(plat::VK_RETURN, false);
  Frame();
  Frame();
  EXPECT_FALSE(image->IsDecide());
}

TEST_F(ButtonTest, TheQuadHitTestIncludesItsEdges) {
  for (auto [x, y, on] : {std::tuple{100, 100, true}, {119, 109, true}, {119, 100, true}, {120, 105, false},
                          {99, 105, false}, {110, 110, false}, {110, 99, false}}) {
    input.mptMouse = plat::POINT{x, y};
    EXPECT_EQ(button->IsMouseOn(), on) << x << "," << y;
  }
}

TEST_F(ButtonTest, AMissingPartsPictureFailsWithTheReadBox) {
  CtrlDef def = Def(9, 0, 0);
  strcpy(def.szParts, "NOPARTS");
  EXPECT_EQ(screen.Make(CTRL_BUTTON, def), nullptr);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].find("OBJECT:CDIBBaseCtrl"), std::string::npos);
  EXPECT_NE(boxes[0].find("FILE:NOPARTS"), std::string::npos);
  EXPECT_EQ(screen.GetCtrlCount(), 2);
}

TEST_F(ButtonTest, FrameNumbersOutsideThePictureDrawNothing) {
  CtrlDef def = Def(9, 0, 0);
  def.nFrame[0] = 20;
  def.nFrame[1] = -1;
  auto* bad = static_cast<CDIBButtonCtrl*>(screen.Make(CTRL_BUTTON, def));
  ASSERT_NE(bad, nullptr);
  input.mptMouse = plat::POINT{0, 0};
  EXPECT_FALSE(bad->IsMouseOn());
  bad->Blt(screen.GetDrawImage());
  FocusByKeyboard(9);
  Frame();
}

}  // namespace
