#include "ui/Input.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/KeyState.h"
#include "platform/Timer.h"

namespace {

class InputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    plat::ClearScriptedInput();
    plat::SetScriptedCursor(100, 100);
    plat::SetVirtualClock(true, 10000);
    input.Initialize(nullptr, nullptr);
    input.mbSwapButton = false;
    Frame(500);  // past the dead time after enabling
    Frame(30);
    input.mInputType = INPUT_KEYBOARD;
  }
  void TearDown() override {
    plat::ClearScriptedInput();
    plat::SetVirtualClock(false);
  }
  // Moves the clock on and polls once.
  void Frame(uint32_t ms) {
    plat::AdvanceVirtualClock(ms);
    input.Poll();
  }
  const KeyState& Key(int vk) const { return input.mKey[vk]; }

  CInput input;
};

TEST_F(InputTest, RepeatPulsesOnPushThenAfterDelayThenEveryInterval) {
  plat::SetScriptedKey(plat::VK_RIGHT, true);
  std::vector<int> pulses;
  for (int t = 0; t <= 1000; t += 10) {
    Frame(t == 0 ? 0 : 10);
    if (Key(plat::VK_RIGHT).bRepeat) pulses.push_back(t);
    EXPECT_EQ(Key(plat::VK_RIGHT).bPush, t == 0 ? 1 : 0) << t;
    EXPECT_EQ(Key(plat::VK_RIGHT).bPress, t == 0 ? 1 : 0) << t;
    EXPECT_EQ(Key(plat::VK_RIGHT).bDown, 1);
  }
  EXPECT_EQ(pulses, (std::vector<int>{0, 500, 600, 700, 800, 900, 1000}));

  plat::SetScriptedKey(plat::VK_RIGHT, false);
  Frame(10);
  EXPECT_EQ(Key(plat::VK_RIGHT).bRelease, 1);
  EXPECT_EQ(Key(plat::VK_RIGHT).bDown, 0);
  EXPECT_EQ(Key(plat::VK_RIGHT).dwRepeatTime, 0u);
  Frame(10);
  EXPECT_EQ(Key(plat::VK_RIGHT).bRelease, 0);
}

TEST_F(InputTest, RepeatRateIsBoundByFrameRate) {
  plat::SetScriptedKey(plat::VK_DOWN, true);
  std::vector<int> pulses;
  for (int t = 0; t <= 900; t += 30) {
    Frame(t == 0 ? 0 : 30);
    if (Key(plat::VK_DOWN).bRepeat) pulses.push_back(t);
  }
  // 510 is the first frame at or after 500; the next pulse is due at 610.
  EXPECT_EQ(pulses, (std::vector<int>{0, 510, 630, 750, 870}));
}

TEST_F(InputTest, TimingSurvivesTheMillisecondClockWrapping) {
  plat::SetVirtualClock(true, 0xFFFFFF00u);
  input.Initialize(nullptr, nullptr);
  plat::SetScriptedKey(plat::VK_LEFT, true);
  std::vector<int> down, pulses;
  for (int t = 0; t <= 1200; t += 10) {
    Frame(t == 0 ? 0 : 10);
    if (Key(plat::VK_LEFT).bDown) down.push_back(t);
    if (Key(plat::VK_LEFT).bRepeat) pulses.push_back(t);
  }
  ASSERT_FALSE(down.empty());
  EXPECT_EQ(down.front(), 500);  // the dead time ends across the wrap
  EXPECT_EQ(pulses, (std::vector<int>{500, 1000, 1100, 1200}));
}

TEST_F(InputTest, InputIsDeadForHalfASecondAfterEnabling) {
  plat::SetScriptedKey(plat::VK_RETURN, true);
  Frame(30);
  ASSERT_EQ(Key(plat::VK_RETURN).bDown, 1);

  // Deactivation and reactivation clear the state and restart the dead time.
  input.Clear();
  input.SetEnable(false);
  Frame(30);
  EXPECT_EQ(Key(plat::VK_RETURN).bDown, 0);
  input.Clear();
  input.SetEnable(true);
  for (int t = 0; t < 480; t += 30) {
    Frame(30);
    EXPECT_EQ(Key(plat::VK_RETURN).bDown, 0) << t;
  }
  Frame(20);  // exactly 500 ms after enabling
  EXPECT_EQ(Key(plat::VK_RETURN).bPush, 1);
  EXPECT_EQ(Key(plat::VK_RETURN).bPress, 1);
  EXPECT_EQ(Key(plat::VK_RETURN).bRepeat, 1);
}

TEST_F(InputTest, SwappedButtonsReportTheLogicalButton) {
  input.mbSwapButton = true;
  plat::SetScriptedKey(plat::VK_RBUTTON, true);  // physical right
  Frame(30);
  EXPECT_EQ(Key(plat::VK_LBUTTON).bPush, 1);
  EXPECT_EQ(Key(plat::VK_LBUTTON).bPress, 1);
  EXPECT_EQ(Key(plat::VK_RBUTTON).bDown, 0);
  Frame(30);
  EXPECT_EQ(Key(plat::VK_LBUTTON).bDown, 1);
  EXPECT_EQ(Key(plat::VK_LBUTTON).bPush, 0);
  EXPECT_EQ(Key(plat::VK_LBUTTON).bPress, 0);
  plat::SetScriptedKey(plat::VK_RBUTTON, false);
  Frame(30);
  EXPECT_EQ(Key(plat::VK_LBUTTON).bRelease, 1);
}

TEST_F(InputTest, ClicksOutsideTheClientAreaDoNotExist) {
  plat::SetScriptedKey(plat::VK_LBUTTON, true);
  plat::SetScriptedKey(plat::VK_RBUTTON, true);
  for (auto [x, y] : {std::pair{800, 10}, {-1, 10}, {10, 600}, {10, -5}}) {
    plat::SetScriptedCursor(x, y);
    Frame(30);
    EXPECT_EQ(input.mptMouse.x, x);
    EXPECT_EQ(input.mptMouse.y, y);
    for (int vk : {plat::VK_LBUTTON, plat::VK_RBUTTON}) {
      const KeyState& k = Key(vk);
      EXPECT_EQ(k.bDown | k.bPush | k.bPress | k.bRepeat | k.bRelease, 0) << x << "," << y;
      EXPECT_EQ(k.dwRepeatTime, 0u);
    }
  }
  // Coming back inside with the button held counts as a fresh press.
  plat::SetScriptedCursor(799, 599);
  Frame(30);
  EXPECT_EQ(Key(plat::VK_LBUTTON).bPush, 1);
  EXPECT_EQ(Key(plat::VK_LBUTTON).bPress, 1);
}

TEST_F(InputTest, InputTypeFollowsTheLastDevice) {
  EXPECT_EQ(input.mInputType, INPUT_KEYBOARD);
  plat::POINT pt{5, 5};
  input.OnMouseWheel(0, static_cast<uint16_t>(-120), &pt);
  Frame(30);
  EXPECT_EQ(input.mWheel.nDelta, -120);
  EXPECT_TRUE(input.mbMouseAct);
  EXPECT_EQ(input.mInputType, INPUT_MOUSE);
  Frame(30);
  EXPECT_EQ(input.mWheel.nDelta, 0);
  EXPECT_FALSE(input.mbMouseAct);

  plat::SetScriptedKey(plat::VK_UP, true);
  Frame(30);
  EXPECT_TRUE(input.mbKeyAct);
  EXPECT_EQ(input.mInputType, INPUT_KEYBOARD);
  plat::SetScriptedKey(plat::VK_UP, false);

  // A held mouse button is mouse activity, never key activity.
  plat::SetScriptedKey(plat::VK_LBUTTON, true);
  for (int i = 0; i < 3; ++i) {
    Frame(30);
    EXPECT_FALSE(input.mbKeyAct);
    EXPECT_TRUE(input.mbMouseAct);
    EXPECT_EQ(input.mInputType, INPUT_MOUSE);
  }
  // A cursor move alone is mouse activity too.
  plat::SetScriptedKey(plat::VK_LBUTTON, false);
  Frame(30);
  Frame(30);
  EXPECT_FALSE(input.mbMouseAct);
  plat::SetScriptedCursor(101, 100);
  Frame(30);
  EXPECT_TRUE(input.mbMouseAct);
}

TEST_F(InputTest, OnlyTheListedKeysArePolled) {
  plat::SetScriptedKey(0x10, true);  // Shift
  plat::SetScriptedKey('A', true);
  Frame(30);
  EXPECT_EQ(Key(0x10).bDown, 0);
  EXPECT_EQ(Key('A').bDown, 0);
  KeyCheck shift{0x10, KEY_DOWN};
  EXPECT_FALSE(input.CheckKey(&shift));
  EXPECT_FALSE(input.mbKeyAct);
}

TEST_F(InputTest, KeyTablesStopAtTheTerminatorAndUnknownTypesAreFalse) {
  const KeyCheck empty[] = {{0, KEY_DOWN}};
  EXPECT_FALSE(input.CheckKeyTbl(empty));
  plat::SetScriptedKey(plat::VK_CONTROL, true);
  Frame(30);
  EXPECT_TRUE(input.CheckKeyTbl(KeyTblAny));
  EXPECT_TRUE(input.CheckKeyTbl(KeyTblSkip));
  EXPECT_TRUE(input.CheckKeyTbl(KeyTblMovie));
  EXPECT_FALSE(input.CheckKeyTbl(KeyTblNext));
  EXPECT_FALSE(input.CheckKeyTbl(KeyTblCancel));
  const KeyCheck odd[] = {{plat::VK_CONTROL, 6}, {plat::VK_CONTROL, 0}, {0, 0}};
  EXPECT_FALSE(input.CheckKeyTbl(odd));
  const KeyCheck afterEnd[] = {{0, 0}, {plat::VK_CONTROL, KEY_DOWN}};
  EXPECT_FALSE(input.CheckKeyTbl(afterEnd));

  plat::SetScriptedKey(plat::VK_ESCAPE, true);
  Frame(30);
  EXPECT_TRUE(input.CheckKeyTbl(KeyTblCancel));
  Frame(30);  // held, no longer pushed
  EXPECT_FALSE(input.CheckKeyTbl(KeyTblCancel));
}

TEST_F(InputTest, TypedCharactersAreFoldedAndFiltered) {
  for (int c : std::initializer_list<int>{'A', 'z', '5', ' ', '/', ':', '@', '[', '_', '{', '}', 126, 10, 200, '`', '|' + 2})
    input.OnChar(c);
  std::vector<int> got;
  int32_t c;
  while (input.GetChar(c)) got.push_back(c);
  EXPECT_EQ(got, (std::vector<int>{'a', 'z', '5', ' ', '/', ':', '@', '[', '_', '{', '}'}));
  // The ring wraps after 256 characters.
  for (int i = 0; i < 300; ++i) input.OnChar('b');
  EXPECT_EQ(input.mCharWrite, (11 + 300) % 256);
}

}  // namespace
