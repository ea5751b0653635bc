// The message window in the whole program, headless on the virtual clock,
// driven by input scripts. Messages start at frame 30 (after the window's
// opening slide and the input's dead time); a click scripted as
// Click(F) presses the button at frame F + 2.
#include <gtest/gtest.h>

#include <cstring>

#include "MesWndKit.h"
#include "assets/DIBSprite.h"
#include "text/profile/TextProfile.h"
#include "ui/DIBCheckCtrl.h"

namespace {

using namespace mestest;

std::string L(const char* utf8) { return plat::FromUtf8(utf8); }
bool Chinese() { return profile::BuildProfile().encoding == profile::Encoding::kGbk; }

class MesWnd : public MesWndGame {};

TEST_F(MesWnd, TextSpeed255ShowsARunAtOnceAndSpeed0TypesTenCharactersASecond) {
  steps = {Msg("あいうえお"), Msg("ああああああああああ")};
  mesSpeed = 255;
  Begin(Click(40));
  RunTo(30);
  ASSERT_TRUE(W());
  EXPECT_TRUE(W()->IsWait()) << "typed and waiting in the frame it started";
  EXPECT_EQ(W()->GetChars()[W()->GetPC()].nKind, MESCHAR_CLICK);
  EXPECT_EQ(W()->GetPC(), 5);

  // The click at frame 42 ends the first message; the second starts on the
  // next frame, at speed 0.
  RunTo(41);
  gpMainWindow->mpSaveData->mConfig.nMesSpeed = 0;
  RunTo(43);
  ASSERT_EQ(screen->next, 2u);
  const long long start = Frame();
  // Frame start + k shows floor(3k / 10) characters: 30 ms at 10 a second.
  for (int k : {1, 10, 20, 33}) {
    RunTo(start + k);
    EXPECT_EQ(W()->GetPutCount(), 3 * k / 10) << "k " << k;
    EXPECT_FALSE(W()->IsWait());
  }
  RunTo(start + 34);
  EXPECT_TRUE(W()->IsWait()) << "ten characters take a second";
}

TEST_F(MesWnd, AutoTimeIsClampedAndAutoModeAdvancesWhenItRunsOut) {
  autoSpeed = 0;  // 100 ms a character
  steps = {Msg(std::string(30, 'a')), Msg(std::string(5, 'a')), Msg(std::string(100, 'a')),
           [](CDIBMesWnd& w) {
             w.SetMesAuto(true);
             Msg("あいうえお")(w);
           }};
  Begin(Click(40) + Click(50) + Click(60));
  RunTo(30);
  EXPECT_EQ(W()->GetAutoTime(), 3000);
  RunTo(43);
  EXPECT_EQ(W()->GetAutoTime(), 2000) << "the minimum";
  RunTo(53);
  EXPECT_EQ(W()->GetAutoTime(), 8000) << "the maximum";
  // The fourth message starts at frame 63 with 2000 ms and counts down
  // 30 ms a frame from that frame on: it goes on 67 frames later.
  RunTo(63);
  EXPECT_TRUE(W()->IsAuto());
  EXPECT_TRUE(W()->IsRun());
  RunTo(63 + 66);
  EXPECT_TRUE(W()->IsRun());
  RunTo(63 + 67);
  EXPECT_FALSE(W()->IsRun());
}

TEST_F(MesWnd, SkippingOnlyReadTextStopsAtEveryClickOfAnUnreadMessage) {
  skipMode = 1;
  auto twoClicks = [](int mesNo) {
    return [mesNo](CDIBMesWnd& w) {
      w.AddOutFunc(MESFUNC_CLEAR);
      w.AddOutString(plat::FromUtf8("あ").c_str());
      w.AddOutFunc(MESFUNC_CLICK);
      w.AddOutString(plat::FromUtf8("い").c_str());
      w.AddOutFunc(MESFUNC_CLICK);
      w.OutStart(mesNo);
    };
  };
  steps = {[&](CDIBMesWnd& w) {
             w.SetMesSkip(true);
             twoClicks(5)(w);
           },
           twoClicks(5), twoClicks(6)};
  Begin(Click(60) + Click(70));
  RunTo(58);
  EXPECT_TRUE(W()->IsSkip());
  EXPECT_TRUE(W()->IsWait()) << "unread: the first click mark holds";
  EXPECT_EQ(W()->GetPC(), 1);
  RunTo(63);
  EXPECT_EQ(W()->GetPC(), 3) << "the click passed the first mark";
  EXPECT_TRUE(W()->IsWait());
  RunTo(73);
  // Read now: the same message skips through in the frame it starts, and
  // the next, unread one stops at its first mark again.
  RunTo(80);
  EXPECT_EQ(screen->next, 3u);
  EXPECT_TRUE(gpMainWindow->mpSaveData->CheckKidokuFlag(5));
  EXPECT_FALSE(gpMainWindow->mpSaveData->CheckKidokuFlag(6));
  EXPECT_TRUE(W()->IsWait());
  EXPECT_EQ(W()->GetPC(), 1);
}

TEST_F(MesWnd, TheBacklogKeepsAHundredPagesGreysNamesAndEndsAtTheOldest) {
  skipMode = 0;  // skip everything
  steps.push_back([](CDIBMesWnd& w) {
    w.SetMesSkip(true);
    Msg("頁1", -1, 1)(w);
  });
  for (int i = 2; i <= 102; ++i) steps.push_back(Msg("頁" + std::to_string(i), -1, 1));
  steps.push_back([](CDIBMesWnd& w) {
    w.SetMesSkip(false);
    Msg("最後")(w);
  });
  std::string script;
  for (int i = 0; i < 101; ++i) script += Wheel(150 + i, 120);
  script += Wheel(260, -120);
  Begin(script);
  RunTo(149);
  ASSERT_EQ(screen->next, steps.size());
  EXPECT_TRUE(W()->IsWait());
  // 102 pages were committed; the two oldest are gone.
  ASSERT_EQ(W()->GetBackLogCount(), CDIBMesWnd::kBackLogPages);
  auto text = [](const CDIBMesWnd::BackLogPage* p) {
    std::string s;
    for (int i = 0; i < p->nCount; ++i) s += p->rec[i].szChar;
    return plat::ToUtf8(s);
  };
  EXPECT_EQ(text(W()->GetBackLogPage(0)), "頁102");
  EXPECT_EQ(text(W()->GetBackLogPage(99)), "頁3");
  EXPECT_EQ(W()->GetBackLogPage(0)->rec[0].dwColor, 0xFFBFBFBFu) << "backlog text is darker";
  const uint32_t liveName = Pixel(15 + 60, 427 + 15);

  RunTo(150);
  EXPECT_TRUE(W()->IsBackLog());
  const int32_t newest = W()->GetBackLogView();
  const uint32_t greyName = Pixel(15 + 60, 427 + 15);
  EXPECT_EQ(liveName, kScreenColor) << "the last message has no name plate";
  const uint32_t red = greyName >> 16 & 0xFF;
  EXPECT_LT(red, NameColor(1) >> 16 & 0xFF) << std::hex << greyName << ": the page's plate, greyed";
  EXPECT_GT(red, 0x60u);
  RunTo(249);
  EXPECT_EQ(W()->GetBackLogView(), (newest + 1) % CDIBMesWnd::kBackLogPages) << "99 pages back: the oldest";
  EXPECT_FALSE(W()->GetCtrl(MESBTN_BLPREV)->IsEnable()) << "BLPREV is disabled at the oldest page";
  EXPECT_TRUE(W()->GetCtrl(MESBTN_BLNEXT)->IsEnable());
  const int32_t oldest = W()->GetBackLogView();
  RunTo(251);
  EXPECT_EQ(W()->GetBackLogView(), oldest) << "a further turn stays";
  RunTo(261);
  EXPECT_EQ(W()->GetBackLogView(), (oldest + 1) % CDIBMesWnd::kBackLogPages);
}

TEST_F(MesWnd, WheelUpDuringAChoiceOpensTheBacklogAndDisablesTheChoices) {
  const int32_t frames[3][5] = {{1, 2, 3, 4, 5}, {6, 7, 8, 9, 10}, {11, 12, 13, 14, 15}};
  steps = {Msg("一"), Msg("二"), [&frames](CDIBMesWnd& w) {
             for (int i = 0; i < 3; ++i) w.MakeSelData(i, true, 300, 200 + 50 * i, frames[i]);
             w.SelectStart(7, 3, "GAME_P.MGD", "");
           }};
  Begin(Click(40) + Click(50) + Wheel(80, 120) + Wheel(90, -120) + Click(100, 310, 256));
  RunTo(56);
  ASSERT_EQ(W()->GetMode(), 1);
  EXPECT_TRUE(W()->IsRun());
  RunTo(80);
  EXPECT_TRUE(W()->IsBackLog());
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(W()->GetCtrl(MESBTN_SEL + i)->IsEnable()) << i;
  RunTo(91);
  EXPECT_FALSE(W()->IsBackLog());
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(W()->GetCtrl(MESBTN_SEL + i)->IsEnable()) << i;
  EXPECT_EQ(W()->GetCtrl(MESBTN_SEL + 2)->GetPos()->y, 300) << "the choices have fanned out";
  RunTo(110);
  EXPECT_FALSE(W()->IsRun());
  EXPECT_EQ(gpMainWindow->mpSaveData->mVariable[7], 1);
  EXPECT_EQ(W()->GetCtrl(MESBTN_SEL), nullptr) << "the choice buttons are gone";
}

TEST_F(MesWnd, CancelTurnsSkipOffFirstThenHidesAndShowsTheWindow) {
  skipMode = 0;
  steps = {[](CDIBMesWnd& w) {
    w.SetMesSkip(true);
    Msg("あ")(w);
  }, Msg("い")};
  Begin(Key(40, "ESCAPE") + Key(45, "ESCAPE") + Key(50, "ESCAPE"));
  RunTo(39);
  EXPECT_EQ(Pixel(300, 592), WndOnScreen());
  RunTo(41);
  EXPECT_FALSE(W()->IsSkip());
  EXPECT_TRUE(W()->IsShow()) << "cancel while skipping does not hide";
  EXPECT_FALSE(W()->GetCtrl(MESBTN_SKIP) && static_cast<CDIBCheckCtrl*>(W()->GetCtrl(MESBTN_SKIP))->IsCheck());
  RunTo(46);
  EXPECT_FALSE(W()->IsShow());
  EXPECT_EQ(Pixel(300, 592), kScreenColor);
  const int32_t pc = W()->GetPC();
  RunTo(51);
  EXPECT_TRUE(W()->IsShow());
  EXPECT_EQ(Pixel(300, 592), WndOnScreen());
  EXPECT_EQ(W()->GetPC(), pc);
}

TEST_F(MesWnd, AMessageIsDrawnInTheProfilesFontAtItsLaidOutPlaces) {
  const char* text = Chinese() ? "中文的测试" : "日本語のテスト";
  steps = {Msg(text)};
  Begin();
  RunTo(31);
  ASSERT_TRUE(W()->IsWait());
  // The same characters drawn one by one over the window's background at
  // the places the layout gives: left + i × (size + spacing).
  const MesWndSetup& s = CDIBMesWnd::Setup();
  const int w = s.nTextArea[2] - s.nTextArea[0] + 1, h = s.nTextArea[3] - s.nTextArea[1] + 1;
  CDIBImage expected;
  expected.Create(w, h);
  expected.FillFull(kWndColor);
  expected.BeginDrawString(profile::BuildProfile().szDefaultFace, 24, 400, false, false, false, 0);
  const std::string local = L(text);
  for (size_t i = 0; i < local.size(); i += 2)
    expected.DrawString(static_cast<int>(i / 2) * 25, 0, 0xFFFFFFFFu, local.substr(i, 2).c_str());
  const CDIBImage* wnd = W()->GetWndImage();
  int ink = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const uint32_t want = expected.GetPixels()[y * w + x];
      ASSERT_EQ(wnd->GetPixels()[(s.nTextArea[1] + y) * 800 + s.nTextArea[0] + x], want) << x << "," << y;
      ink += want != kWndColor;
    }
  EXPECT_GT(ink, 100);
  // And the screen shows it at the window's place.
  EXPECT_EQ(Pixel(15 + 8 + 12, 469 + 8 + 30), WndOnScreen());
}

TEST_F(MesWnd, APageBreakWaitsThenScrollsTheOldPageAwayForASecond) {
  steps = {[](CDIBMesWnd& w) {
    w.AddOutFunc(MESFUNC_CLEAR);
    w.AddOutString(plat::FromUtf8("一頁").c_str());
    w.AddOutFunc(MESFUNC_PAGE);
    w.AddOutString(plat::FromUtf8("二頁").c_str());
    w.AddOutFunc(MESFUNC_CLICK);
    w.OutStart(-1);
  }};
  Begin(Click(40));
  RunTo(35);
  EXPECT_TRUE(W()->IsWait());
  EXPECT_EQ(W()->GetChars()[W()->GetPC()].nKind, MESCHAR_PAGE);
  RunTo(42);
  EXPECT_FALSE(W()->IsWait());
  const int h = W()->GetTextImage(0)->GetHeight();
  RunTo(42 + 16);
  EXPECT_GT(W()->GetPageScroll(), 0);
  EXPECT_LT(W()->GetPageScroll(), h);
  EXPECT_EQ(W()->GetBackLogCount(), 1) << "the first page went to the backlog at the click";
  RunTo(42 + 34);
  EXPECT_TRUE(W()->IsWait()) << "the second page is typed and waits";
  EXPECT_EQ(W()->GetPageScroll(), 0);
}

TEST_F(MesWnd, ButtonsOpenTheirScreensThroughTheFactory) {
  RegisterNoteScreens();
  steps = {Msg("あ")};
  Begin(Click(40, BtnX(MESBTN_SAVE), BtnY(MESBTN_SAVE)));
  RunTo(60);
  ASSERT_EQ(OpenLog().size(), 1u);
  EXPECT_EQ(OpenLog()[0].kind, SCREEN_SAVELOAD);
  EXPECT_EQ(OpenLog()[0].parent, screen) << "opened over the scenario screen";
  EXPECT_EQ(OpenLog()[0].block[0], SAVELOAD_SAVE);
  EXPECT_EQ(gpMainWindow->mpRootFlow->GetStackCount(), 1) << "the scenario screen waits on the stack";
}

TEST_F(MesWnd, ExitAsksAndEndsTheProgramOnlyWhenConfirmed) {
  RegisterNoteScreens();
  ConfAnswer() = 0;
  steps = {Msg("あ")};
  Begin(Click(40, BtnX(MESBTN_EXIT), BtnY(MESBTN_EXIT)) + Click(80, BtnX(MESBTN_EXIT), BtnY(MESBTN_EXIT)));
  RunTo(75);
  ASSERT_EQ(OpenLog().size(), 1u);
  ConfStartBlock conf;
  memcpy(&conf, OpenLog()[0].block.data(), sizeof conf);
  EXPECT_EQ(conf.nMessage, 0);
  EXPECT_EQ(conf.nCode, 1);
  EXPECT_EQ(conf.pReceiver, W());
  EXPECT_EQ(gpMainWindow->mpRootFlow->GetScreen(), screen) << "declined: back to the scenario";
  ConfAnswer() = 1;
  RunTo(200);
  EXPECT_EQ(OpenLog().size(), 2u);
  EXPECT_TRUE(Ended()) << "confirmed: the program ended";
}

TEST_F(MesWnd, AScreenThatCannotBeMadeClosesTheProgram) {
  ClearScreenMakers();
  steps = {Msg("あ")};
  Begin(Click(40, BtnX(MESBTN_SYSTEM), BtnY(MESBTN_SYSTEM)));
  RunTo(60);
  EXPECT_TRUE(Ended());
}

TEST_F(MesWnd, QuickSaveEnablesQuickLoadWhichRestartsTheScenarioFromSlot0) {
  RegisterNoteScreens();
  steps = {Msg("あ")};
  Begin(Click(40, BtnX(MESBTN_QSAVE), BtnY(MESBTN_QSAVE)) + Click(60, BtnX(MESBTN_QLOAD), BtnY(MESBTN_QLOAD)));
  RunTo(39);
  EXPECT_FALSE(W()->GetCtrl(MESBTN_QLOAD)->IsEnable());
  RunTo(50);
  EXPECT_TRUE(game.Exists("SAVE/GAME00.SAV"));
  EXPECT_TRUE(W()->GetCtrl(MESBTN_QLOAD)->IsEnable());
  RunTo(70);
  ASSERT_EQ(OpenLog().size(), 1u);
  EXPECT_EQ(OpenLog()[0].kind, SCREEN_SNR);
  SnrStartBlock snr;
  memcpy(&snr, OpenLog()[0].block.data(), sizeof snr);
  EXPECT_EQ(snr.nLoad, 1);
  EXPECT_EQ(snr.nSlot, 0);
  EXPECT_STREQ(snr.szReturnBGM, "M01");
}

TEST_F(MesWnd, SkipAndAutoBoxesExcludeEachOther) {
  steps = {Msg("あ")};
  Begin(Click(40, BtnX(MESBTN_SKIP), BtnY(MESBTN_SKIP)) + Click(50, BtnX(MESBTN_AUTO), BtnY(MESBTN_AUTO)));
  RunTo(49);
  EXPECT_TRUE(W()->IsSkip());
  RunTo(60);
  EXPECT_TRUE(W()->IsAuto());
  EXPECT_FALSE(W()->IsSkip());
}

class MesWndBadData : public MesWndGame {
 protected:
  void SetUp() override {}
};

TEST_F(MesWndBadData, OutOfRangeSetupValuesStillGiveAWorkingWindow) {
  defs = "DEF 3, 110, 700, 500, 100, -10\nDEF 3, 113, -5\nDEF 3, 111, 99999\nDEF 3, 90, -1\n"
         "DEF 3, 91, 0\nDEF 3, 92, -1, 9000, 5\nDEF 3, 117, 9999, 99999, -99999\nDEF 3, 30, 99999, -99999\n";
  MesWndGame::SetUp();
  skipMode = 0;
  // A one-pixel text area holds one character a page: skipping passes them.
  steps = {[](CDIBMesWnd& w) {
             w.SetMesSkip(true);
             Msg(std::string(600, 'x'))(w);
           },
           Msg("あいう")};
  Begin();
  RunTo(60);
  ASSERT_TRUE(W());
  const MesWndSetup& s = CDIBMesWnd::Setup();
  EXPECT_LE(s.nTextArea[0], s.nTextArea[2]);
  EXPECT_LE(s.nTextArea[1], s.nTextArea[3]);
  EXPECT_GE(s.nFontSize, 1);
  EXPECT_LE(s.nAutoMin, s.nAutoMax);
  EXPECT_EQ(screen->next, 2u);
  EXPECT_TRUE(boxes.empty());
}

TEST_F(MesWndBadData, MissingPicturesFailInitialiseWithTheReadErrorBox) {
  MesWndGame::SetUp();
  std::filesystem::remove(game.File("MGD/GAME_P.MGD"));
  Begin();
  RunTo(5);
  EXPECT_EQ(screen, nullptr);
  ASSERT_FALSE(boxes.empty());
  EXPECT_EQ(boxes[0], "読み込みエラー\nOBJECT:CDIBMesWnd\nFILE:GAME_P.MGD");
}

TEST_F(MesWndBadData, AMissingNamePictureFailsAndNamePlatesBeyondThePictureAreRefused) {
  MesWndGame::SetUp();
  std::filesystem::remove(game.File("MGD/NAME_P.MGD"));
  Begin();
  RunTo(5);
  ASSERT_FALSE(boxes.empty());
  EXPECT_EQ(boxes[0], "読み込みエラー\nOBJECT:CDIBMesWnd\nFILE:NAME_P.MGD");
}

TEST_F(MesWnd, NamePlateNumbersMustLieInsideTheNamePicture) {
  Begin();
  RunTo(2);
  ASSERT_TRUE(W());
  EXPECT_TRUE(W()->SetOutNameNo(2));
  EXPECT_FALSE(W()->SetOutNameNo(3));
  EXPECT_FALSE(W()->SetOutNameNo(1 << 30));
  EXPECT_TRUE(W()->SetOutNameNo(-7));
  // A text over 511 bytes is cut, and a character cut in two is dropped.
  std::string wide;
  for (int i = 0; i < 300; ++i) wide += L("あ");
  W()->AddOutFunc(MESFUNC_CLEAR);
  W()->AddOutString(("x" + wide).c_str());
  W()->OutStart(-1);
  int chars = 0;
  for (int i = 0; W()->GetChars()[i].nKind != MESCHAR_END; ++i) chars += W()->GetChars()[i].nKind == MESCHAR_WORD;
  EXPECT_EQ(chars, 1 + 255) << "511 bytes: one single byte and 255 whole characters";
}

}  // namespace
