#include <gtest/gtest.h>

#include <algorithm>

#include "FlowTestKit.h"
#include "TestDir.h"
#include "assets/FileJoin.h"
#include "platform/Encoding.h"

namespace {

using namespace flowtest;

constexpr uint32_t kRed = 0xFFFF0000u;
constexpr uint32_t kGreen = 0xFF00FF00u;
constexpr uint32_t kBlue = 0xFF0000FFu;

class RootFlowTest : public FlowWorld {};

TEST_F(RootFlowTest, AScreenBecomesCurrentWhenItsTransitionHasEnded) {
  LogScreen* title = NewScreen("title", kRed);
  Go(title, false, EFFECT_BLT, 60);
  EXPECT_EQ(log, Log{"title 1st"});
  EXPECT_EQ(flow.GetScreen(), nullptr);
  EXPECT_EQ(flow.GetNextScreen(), title);

  Frame();  // 30 ms
  EXPECT_EQ(Shown(), kRed);  // Blt shows the new picture at once
  Frame();  // 60 ms: the last frame is drawn
  EXPECT_TRUE(flow.IsChanging());
  Frame();  // the transition ends and the switch completes
  EXPECT_FALSE(flow.IsChanging());
  EXPECT_EQ(flow.GetScreen(), title);
  EXPECT_EQ(log, (Log{"title 1st", "title 2nd"}));
  EXPECT_EQ(Shown(), kRed);

  Frame();
  EXPECT_EQ(log.back(), "title Move");
  EXPECT_EQ(Shown(), kRed);
  EXPECT_EQ(Shown(799, 599), kRed);
}

TEST_F(RootFlowTest, FadeCarriesThePictureFromTheOldScreenToTheNew) {
  Go(NewScreen("a", 0xFF000000u));
  FramesToSwitch();
  Go(NewScreen("b", 0xFFFFFFFFu), false, EFFECT_FADE, 300);
  Frame();  // 30 of 300 ms: a = 25
  EXPECT_EQ(Shown() & 0xFF, (0 * 230 + 255 * 25) >> 8);
  for (int i = 0; i < 9; ++i) Frame();
  EXPECT_EQ(Shown(), 0xFFFFFFFFu);
  EXPECT_EQ(FramesToSwitch(), 1);
}

TEST_F(RootFlowTest, ReturnScreenGoesBackOneOrTwoLevels) {
  LogScreen* title = NewScreen("title", kRed);
  Go(title);
  FramesToSwitch();
  LogScreen* menu = NewScreen("menu", kGreen);
  Go(menu, true);
  FramesToSwitch();
  LogScreen* confirm = NewScreen("confirm", kBlue);
  Go(confirm, true);
  FramesToSwitch();
  ASSERT_EQ(flow.GetStackCount(), 2);
  EXPECT_EQ(flow.GetStackScreen(0), title);
  EXPECT_EQ(flow.GetStackScreen(1), menu);
  log.clear();

  EffectParam blt = Effect(EFFECT_BLT, 30);
  flow.ReturnScreen(&blt, nullptr, nullptr, 1);
  EXPECT_FALSE(Seen("menu 1st"));  // a returned screen keeps its state
  FramesToSwitch();
  EXPECT_EQ(flow.GetScreen(), menu);
  EXPECT_TRUE(Seen("confirm deleted"));
  EXPECT_TRUE(Seen("menu 2nd"));
  EXPECT_EQ(Shown(), kGreen);

  Go(NewScreen("confirm2", kBlue), true);
  FramesToSwitch();
  log.clear();
  flow.ReturnScreen(&blt, nullptr, nullptr, 2);  // drops menu, returns to title
  FramesToSwitch();
  EXPECT_EQ(flow.GetScreen(), title);
  EXPECT_EQ(flow.GetStackCount(), 0);
  EXPECT_TRUE(Seen("menu deleted"));
  EXPECT_TRUE(Seen("confirm2 deleted"));
  EXPECT_EQ(Shown(), kRed);

  // Nothing left to return to: nothing happens.
  flow.ReturnScreen(&blt, nullptr, nullptr, 1);
  EXPECT_FALSE(flow.IsChanging());
  flow.ReturnScreen(&blt, nullptr, nullptr, 3);
  EXPECT_FALSE(flow.IsChanging());
}

TEST_F(RootFlowTest, ChangeScreenWithoutKeepEmptiesTheStack) {
  Go(NewScreen("title", kRed));
  FramesToSwitch();
  Go(NewScreen("menu", kGreen), true);
  FramesToSwitch();
  ASSERT_EQ(flow.GetStackCount(), 1);
  Go(NewScreen("game", kBlue), false);
  EXPECT_TRUE(Seen("title deleted"));
  EXPECT_EQ(flow.GetStackCount(), 0);
  FramesToSwitch();
  EXPECT_TRUE(Seen("menu deleted"));
  EffectParam blt = Effect(EFFECT_BLT, 30);
  flow.ReturnScreen(&blt, nullptr, nullptr, 1);
  EXPECT_FALSE(flow.IsChanging());
  EXPECT_EQ(Shown(), kBlue);
}

TEST_F(RootFlowTest, NoneEffectEndsEveryTransitionTheFrameAfterItStarts) {
  window.mbNoneEffect = true;
  Go(NewScreen("a", kRed), false, EFFECT_FADE, 10000);
  Frame();
  EXPECT_EQ(Shown(), kRed);  // the last frame, drawn once
  EXPECT_EQ(FramesToSwitch(), 1);

  BGMChangeParam bgm = Music("song", BGMCHANGE_PLAY, 5000);
  EffectParam fade = Effect(EFFECT_FADE, 10000);
  flow.ChangeScreen(&fade, nullptr, &bgm, NewScreen("b", kGreen), false);
  // Hurried from the first frame, the 5 s delay is skipped in the second;
  // then a frame each for the stop check, reading and playing, finding it
  // playing, and ending the change.
  EXPECT_EQ(FramesToSwitch(), 6);
  EXPECT_TRUE(std::find(music.log.begin(), music.log.end(), "Play 0 loop") != music.log.end());
}

TEST_F(RootFlowTest, PlayerInputHurriesTheTransition) {
  Go(NewScreen("a", kRed), false, EFFECT_FADE, 10000);
  Frame();
  plat::SetScriptedKey(plat::VK_RETURN, true);
  Frame();
  EXPECT_EQ(flow.GetOverlap()->GetTime(), 10000);
  plat::SetScriptedKey(plat::VK_RETURN, false);
  EXPECT_EQ(FramesToSwitch(), 1);

  // Holding Control hurries as well.
  Go(NewScreen("b", kGreen), false, EFFECT_FADE, 10000);
  plat::SetScriptedKey(plat::VK_CONTROL, true);
  EXPECT_EQ(FramesToSwitch(), 2);
}

TEST_F(RootFlowTest, TwoStageSwitchWaitsForTheOldMusicToStop) {
  Go(NewScreen("title", kRed));
  FramesToSwitch();
  music.mbPlay = true;
  snprintf(music.mszName, sizeof music.mszName, "old");
  log.clear();

  EffectParam first = Effect(EFFECT_BLT, 30);
  EffectParam second = Effect(EFFECT_BLT, 30);
  BGMChangeParam bgm = Music("new", BGMCHANGE_PLAY | BGMCHANGE_STOP, 0, 0, 1000);
  flow.ChangeScreen(&first, &second, &bgm, NewScreen("game", kBlue), false);
  EXPECT_TRUE(log.empty());  // not asked for its picture yet
  EXPECT_EQ(music.log, (Log{"Cache new"}));

  for (int i = 0; i < 10; ++i) {
    Frame();
    EXPECT_FALSE(Seen("game 1st")) << i;
    EXPECT_EQ(Shown(), 0u) << i;  // the blank between the stages
  }
  EXPECT_EQ(music.log, (Log{"Cache new", "Stop 1000"}));
  EXPECT_EQ(flow.GetBGMState(), BGMSTATE_STOPWAIT);

  music.mbPlay = false;  // the fade-out has ended
  Frame();
  EXPECT_TRUE(Seen("game 1st"));
  FramesToSwitch();
  EXPECT_EQ(flow.GetScreen()->GetBackImage()->GetPixels()[0], kBlue);
  EXPECT_EQ(music.log, (Log{"Cache new", "Stop 1000", "Read new", "Play 0 loop"}));
  EXPECT_EQ(Shown(), kBlue);
}

TEST_F(RootFlowTest, TheSwitchWaitsForTheNewMusicToFadeIn) {
  Go(NewScreen("title", kRed));
  FramesToSwitch();
  EffectParam first = Effect(EFFECT_BLT, 30);
  BGMChangeParam bgm = Music("slow", BGMCHANGE_PLAY | BGMCHANGE_RESTART, 0, 3000);
  flow.ChangeScreen(&first, &first, &bgm, NewScreen("game", kBlue), false);
  int frames = 0;
  while (music.mFadeMode != 1 && frames < 20) {
    Frame();
    ++frames;
  }
  ASSERT_EQ(music.mFadeMode, 1);
  for (int i = 0; i < 5; ++i) {
    Frame();
    EXPECT_TRUE(flow.IsChanging());
    EXPECT_EQ(flow.GetBGMState(), BGMSTATE_PLAYWAIT);
    EXPECT_FALSE(Seen("game 2nd"));
  }
  music.mFadeMode = 0;  // the fade-in is over
  EXPECT_LE(FramesToSwitch(), 3);
  EXPECT_EQ(Shown(), kBlue);
}

TEST_F(RootFlowTest, MusicThatAlreadyPlaysIsLeftAloneAndUnreadableMusicEndsTheChange) {
  Go(NewScreen("title", kRed));
  FramesToSwitch();
  music.mbPlay = true;
  snprintf(music.mszName, sizeof music.mszName, "THEME.OGG");
  BGMChangeParam same = Music("theme", BGMCHANGE_PLAY);
  EffectParam blt = Effect(EFFECT_BLT, 30);
  flow.ChangeScreen(&blt, nullptr, &same, NewScreen("a", kGreen), false);
  FramesToSwitch();
  EXPECT_EQ(music.log, (Log{"Cache theme"}));

  music.log.clear();
  music.readable = false;
  BGMChangeParam missing = Music("gone", BGMCHANGE_PLAY | BGMCHANGE_RESTART);
  flow.ChangeScreen(&blt, nullptr, &missing, NewScreen("b", kBlue), false);
  EXPECT_GT(FramesToSwitch(20), 0);
  EXPECT_EQ(music.log, (Log{"Cache gone", "Read gone"}));
  EXPECT_FALSE(flow.IsBGMChange());
}

TEST_F(RootFlowTest, ASwitchToNoScreenClosesTheProgram) {
  Go(NewScreen("title", kRed));
  FramesToSwitch();
  DrainMessages();
  // The music fades out over a black screen before the program closes.
  music.mbPlay = true;
  BGMChangeParam bgm = Music("", BGMCHANGE_STOP, 0, 0, 500);
  EffectParam blt = Effect(EFFECT_BLT, 30);
  flow.ChangeScreen(&blt, nullptr, &bgm, nullptr, false);
  for (int i = 0; i < 8; ++i) {
    Frame();
    EXPECT_EQ(Shown(), 0xFF000000u);
    EXPECT_TRUE(flow.IsChanging());
  }
  EXPECT_TRUE(DrainMessages().empty());
  music.mbPlay = false;
  FramesToSwitch();
  EXPECT_TRUE(Seen("title deleted"));
  EXPECT_EQ(flow.GetScreen(), nullptr);
  std::vector<uint32_t> posted = DrainMessages();
  EXPECT_NE(std::find(posted.begin(), posted.end(), plat::WM_CLOSE), posted.end());
}

TEST_F(RootFlowTest, RefusedSwitchesDoNotLoseTheirScreens) {
  Go(NewScreen("a", kRed));
  Go(NewScreen("b", kGreen));  // while the first is under way
  EXPECT_TRUE(Seen("b deleted"));
  FramesToSwitch();
  EXPECT_EQ(Shown(), kRed);

  // A transition that does not run still completes the switch.
  Go(NewScreen("c", kBlue), false, EFFECT_NONE, 0);
  EXPECT_EQ(FramesToSwitch(), 1);
  EXPECT_EQ(Shown(), kBlue);
}

TEST_F(RootFlowTest, TheStackKeepsAtMost256Screens) {
  Go(NewScreen("s", kRed));
  FramesToSwitch();
  for (int i = 0; i < CRootFlow::kStackSize; ++i) {
    Go(NewScreen("k", kRed), true, EFFECT_NONE, 0);
    FramesToSwitch();
  }
  EXPECT_EQ(flow.GetStackCount(), CRootFlow::kStackSize);
  log.clear();
  Go(NewScreen("over", kGreen), true);
  EXPECT_FALSE(flow.IsChanging());
  EXPECT_EQ(log, Log{"over deleted"});
}

TEST_F(RootFlowTest, StartingNeedsTheFirstScenario) {
  CRootFlow real;
  EXPECT_FALSE(real.Initialize());
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0], plat::FromUtf8("データを読み込めませんでした。"));

  TestDir dir;
  dir.Write("start.txt", "END\n");
  dir.Write("MSD/.keep", "");
  std::string command = std::string(VELTO_TOOL_PATH) + " snr compile " + dir.File("start.txt") + " " + dir.File("MSD/START.MSD");
  ASSERT_EQ(system(command.c_str()), 0);
  CFileJoin msd;
  ASSERT_TRUE(msd.Initialize(dir.path().c_str(), "MSD", ".MSD"));
  window.mpFileJoin[kJoinMsd] = &msd;
  EXPECT_TRUE(real.Initialize());
  EXPECT_EQ(boxes.size(), 1u);
  window.mpFileJoin[kJoinMsd] = nullptr;
}

}  // namespace
