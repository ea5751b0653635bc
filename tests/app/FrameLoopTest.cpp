#include "AppFixture.h"
#include "app/core/AppIcon.h"
#include "platform/Cursor.h"
#include "platform/CursorFile.h"
#include "save/SaveData.h"
#include "text/profile/TextProfile.h"

namespace {

using FrameLoop = AppFixture;

TEST_F(FrameLoop, FramesStepByTheirLatenessUpToSixtyMilliseconds) {
  Start();
  EXPECT_TRUE(Idle(30));
  EXPECT_EQ(app->mFrameTime, 30);
  EXPECT_TRUE(Idle(45));
  EXPECT_EQ(app->mFrameTime, 45);
  EXPECT_TRUE(Idle(100));  // a frame 100 ms late advances the game by 60 ms
  EXPECT_EQ(app->mFrameTime, 60);
  EXPECT_EQ(app->mLossTime, 30);
}

TEST_F(FrameLoop, AFrameIsNotDueBeforeThirtyMilliseconds) {
  Start();
  ASSERT_TRUE(Idle(30));
  long long frames = app->FramesRun();
  EXPECT_FALSE(Idle(29));
  EXPECT_EQ(app->FramesRun(), frames);
  EXPECT_EQ(app->TimeToNextFrame(), 1u);
  EXPECT_TRUE(Idle(1));
  EXPECT_EQ(app->mFrameTime, 30);
}

TEST_F(FrameLoop, ResetLossTimeForgivesSlowWork) {
  Start();
  ASSERT_TRUE(Idle(30));
  plat::AdvanceVirtualClock(500);  // a screen loads for half a second
  app->ResetLossTime();
  EXPECT_TRUE(Idle(30));
  EXPECT_EQ(app->mFrameTime, 30);
}

TEST_F(FrameLoop, PauseNestsAndKeepsTiming) {
  Start();
  app->PauseGame(true);
  app->PauseGame(true);
  EXPECT_TRUE(app->mbPause);
  app->PauseGame(false);
  EXPECT_TRUE(app->mbPause) << "two pauses need two resumes";
  app->PauseGame(false);
  EXPECT_FALSE(app->mbPause);
  EXPECT_EQ(app->mPauseCount, 0);
}

TEST_F(FrameLoop, DeactivationStopsTheGameUnlessNonePause) {
  Start();
  EXPECT_TRUE(app->mbRunning);
  plat::SendMessage(app->GetHWnd(), plat::WM_ACTIVATE, plat::WA_INACTIVE, 0);
  EXPECT_FALSE(app->mbRunning);
  plat::SendMessage(app->GetHWnd(), plat::WM_ACTIVATE, plat::WA_ACTIVE, 0);
  EXPECT_TRUE(app->mbRunning);
  // Minimised counts as inactive.
  plat::SendMessage(app->GetHWnd(), plat::WM_ACTIVATE, plat::MakeLong(plat::WA_ACTIVE, 1), 0);
  EXPECT_FALSE(app->mbRunning);

  plat::SendMessage(app->GetHWnd(), plat::WM_ACTIVATE, plat::WA_ACTIVE, 0);
  app->mbNonePause = true;
  plat::SendMessage(app->GetHWnd(), plat::WM_ACTIVATE, plat::WA_INACTIVE, 0);
  EXPECT_TRUE(app->mbRunning);
}

TEST_F(FrameLoop, ClosingAsksFirstAndNoKeepsTheGameRunning) {
  Start();
  // The first screen becomes current once its transition has run.
  for (int i = 0; i < 3; ++i) Idle(30);
  ASSERT_NE(app->mpRootFlow->GetScreen(), nullptr);
  int asked = 0;
  std::string question;
  plat::SetMessageBoxHook([&](const char* text, const char*, uint32_t flags) {
    ++asked;
    question = text;
    EXPECT_EQ(flags & 0xF, plat::MB_YESNO);
    return plat::IDNO;
  });
  plat::PostMessage(app->GetHWnd(), plat::WM_CLOSE, 0, 0);
  EXPECT_FALSE(Pump());
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(question, plat::LocalText(profile::BuildProfile().szCloseTextUtf8));
  EXPECT_TRUE(plat::IsWindow(app->GetHWnd()));
  EXPECT_EQ(app->mPauseCount, 0);
  EXPECT_FALSE(app->mbPause);

  plat::SetMessageBoxHook([&](const char*, const char*, uint32_t) { return plat::IDYES; });
  plat::HWND hwnd = app->GetHWnd();
  plat::PostMessage(hwnd, plat::WM_CLOSE, 0, 0);
  EXPECT_TRUE(Pump());
  EXPECT_FALSE(plat::IsWindow(hwnd));
  EXPECT_EQ(gpMainWindow, nullptr) << "the application object ends with its window";
}

// Where the box cannot be shown (no display server, a broken dialog
// helper) the answer is no button at all; the player must still get out.
TEST_F(FrameLoop, AnExitQuestionThatCannotBeShownLetsThePlayerOut) {
  Start();
  for (int i = 0; i < 3; ++i) Idle(30);
  ASSERT_NE(app->mpRootFlow->GetScreen(), nullptr);
  int asked = 0;
  plat::SetMessageBoxHook([&](const char*, const char*, uint32_t) {
    ++asked;
    return 0;
  });
  plat::HWND hwnd = app->GetHWnd();
  plat::PostMessage(hwnd, plat::WM_CLOSE, 0, 0);
  EXPECT_TRUE(Pump());
  EXPECT_EQ(asked, 1);
  EXPECT_FALSE(plat::IsWindow(hwnd));
  EXPECT_TRUE(game.Exists("Novel.ini")) << "the settings are written as on any exit";
}

TEST_F(FrameLoop, TheWindowShowsTheProgramsIcon) {
  Start();
  int size = 0;
  const std::vector<uint32_t>& icon = plat::GetWindowIcon(app->GetHWnd(), size);
  EXPECT_EQ(size, 64);
  EXPECT_EQ(icon, DrawAppIcon(64));
  // Drawn, not blank: an opaque middle and clear corners.
  EXPECT_EQ(icon[32 * 64 + 32] >> 24, 0xFFu);
  EXPECT_EQ(icon[0], 0u);
}

TEST_F(FrameLoop, ComingForwardRestoresAMinimisedWindow) {
  Start();
  Idle(30);
  plat::ShowWindow(app->GetHWnd(), plat::SW_MINIMIZE);
  Pump();
  ASSERT_TRUE(plat::IsIconic(app->GetHWnd()));
  app->ComeForward();
  Pump();
  EXPECT_FALSE(plat::IsIconic(app->GetHWnd()));
  EXPECT_TRUE(app->mbActive);
}

TEST_F(FrameLoop, ForcedCloseAndAnEndedGameDoNotAsk) {
  Start();
  for (int i = 0; i < 3; ++i) Idle(30);
  int asked = 0;
  plat::SetMessageBoxHook([&](const char*, const char*, uint32_t) {
    ++asked;
    return plat::IDNO;
  });
  app->EndGame();
  plat::PostMessage(app->GetHWnd(), plat::WM_CLOSE, 0, 0);
  EXPECT_TRUE(Pump());
  EXPECT_EQ(asked, 0);
}

TEST_F(FrameLoop, AltReturnSwitchesToFullScreenAndRemembersIt) {
  game.Write("Novel.ini", "[System]\nAltAndEnter=1\n");
  Start();
  for (int i = 0; i < 20; ++i) Idle(30);  // past the dead time of input
  plat::SetScriptedKey(plat::VK_LMENU, true);
  plat::SetScriptedKey(plat::VK_RETURN, true);
  Idle(30);
  EXPECT_TRUE(app->mbFullScreen);
  EXPECT_TRUE(app->mpSaveData->mConfig.bFullScreen);
  Idle(30);  // still held: no second switch
  EXPECT_TRUE(app->mbFullScreen);
  plat::SetScriptedKey(plat::VK_RETURN, false);
  Idle(30);
  plat::SetScriptedKey(plat::VK_RETURN, true);
  Idle(30);
  EXPECT_FALSE(app->mbFullScreen);
  EXPECT_FALSE(app->mpSaveData->mConfig.bFullScreen);
}

TEST_F(FrameLoop, AltReturnDoesNothingWhenSwitchedOff) {
  Start();
  for (int i = 0; i < 20; ++i) Idle(30);
  plat::SetScriptedKey(plat::VK_LMENU, true);
  plat::SetScriptedKey(plat::VK_RETURN, true);
  Idle(30);
  EXPECT_FALSE(app->mbFullScreen);
}

TEST_F(FrameLoop, CursorSlotsTakeSystemCursorsAndCursorFilesFromTheData) {
  auto file = cursorfile::MonochromeCursor();
  game.Write("DATA/POINTER.CUR", std::string(file.begin(), file.end()));
  Start();
  EXPECT_TRUE(app->mCursor[255].bSystem);
  EXPECT_NE(app->mCursor[255].handle, nullptr);
  EXPECT_EQ(app->mCursor[0].handle, app->mCursor[255].handle) << "one arrow shared by every slot";
  app->SetCursorList(7, "POINTER.CUR");
  EXPECT_FALSE(app->mCursor[7].bSystem);
  EXPECT_STREQ(app->mCursor[7].name, "POINTER.CUR");
  plat::CursorImage image;
  ASSERT_TRUE(plat::GetCursorImage(app->mCursor[7].handle, image));
  EXPECT_EQ(image.hotX, 3);
  app->SetCursorList(8, "MISSING.CUR");
  EXPECT_EQ(app->mCursor[8].handle, nullptr);
  // The pointer outside the picture: the current slot stays.
  plat::SetScriptedCursor(-5, 10);
  for (int i = 0; i < 20; ++i) Idle(30);
  app->ChangeCursor(7);
  EXPECT_EQ(app->mCursorNo, 0);
  plat::SetScriptedCursor(100, 100);
  Idle(30);
  app->ChangeCursor(7);
  EXPECT_EQ(app->mCursorNo, 7);
  EXPECT_EQ(plat::CurrentCursorShape(), app->mCursor[7].handle);
  // A file cursor replaced by a system one is freed (the leak checker of
  // sanitizer builds watches this), and the shared arrow is not.
  app->SetCursorList(7, 0);
  EXPECT_EQ(app->mCursor[7].handle, app->mCursor[0].handle);
  EXPECT_EQ(plat::CurrentCursorShape(), app->mCursor[0].handle);
}

TEST_F(FrameLoop, ShutdownWritesTheSwitchesBack) {
  game.Write("Novel.ini", "[System]\nFrameSpeed=0\nSystemSE=on\nNoneEffect=1\n; mine\n");
  Start();
  EXPECT_EQ(app->mFrameSpeed, 1);
  EXPECT_FALSE(app->mbSystemSE);
  EXPECT_TRUE(app->mbNoneEffect);
  app->ForceClose();
  EXPECT_TRUE(Pump());
  std::string ini = game.Read("Novel.ini");
  EXPECT_NE(ini.find("FrameSpeed=1"), std::string::npos);
  EXPECT_NE(ini.find("SystemSE=0"), std::string::npos);
  EXPECT_NE(ini.find("; mine"), std::string::npos);
  EXPECT_NE(ini.find("[MainWindow]\r\nPos=560,240"), std::string::npos);
}

TEST_F(FrameLoop, ErrorBoxInFullScreenDropsToAWindowAndComesBack) {
  Start();
  app->SetDisplayMode(true);
  ASSERT_TRUE(app->mbFullScreen);
  bool fullDuringBox = true;
  plat::SetMessageBoxHook([&](const char* text, const char*, uint32_t flags) {
    fullDuringBox = app->mbFullScreen;
    EXPECT_EQ(std::string(text), plat::FromUtf8("読み込みエラー\nOBJECT:CTest\nFILE:a.mgd"));
    EXPECT_TRUE(flags & plat::MB_ICONERROR);
    return plat::IDOK;
  });
  app->ErrorRead("CTest", "a.mgd");
  EXPECT_FALSE(fullDuringBox);
  EXPECT_TRUE(app->mbMinimizedFull);
  Pump();  // the restore reactivates the window
  EXPECT_TRUE(app->mbFullScreen);
  EXPECT_FALSE(app->mbMinimizedFull);
}

}  // namespace

namespace {

TEST_F(FrameLoop, ADesktopTooSmallForAWindowStartsInFullScreen) {
  setenv("VELTO_DESKTOP", "800x600", 1);
  Start();
  unsetenv("VELTO_DESKTOP");
  EXPECT_FALSE(app->mbCanWindow);
  EXPECT_TRUE(app->mbCanFullScreen);
  EXPECT_TRUE(app->mbFullScreen);
}

TEST_F(FrameLoop, ADesktopTooSmallForEitherFailsToStart) {
  setenv("VELTO_DESKTOP", "640x480", 1);
  app = new CMainWindowImpl(RunOptions());
  gpMainWindow = app;
  EXPECT_FALSE(app->Create());
  unsetenv("VELTO_DESKTOP");
  delete app;
  app = nullptr;
  gpMainWindow = nullptr;
}

}  // namespace
