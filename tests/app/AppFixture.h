// Runs the application object in this process: headless, on the virtual
// clock, in a scratch game folder; frames are driven one at a time.
#pragma once
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "TestDir.h"
#include "app/MainWindowImpl.h"
#include "app/StartScreen.h"
#include "app/flow/RootFlow.h"
#include "scenario/SnrCompiler.h"
#include "assets/DIBImage.h"
#include "ui/DIBBaseScreen.h"
#include "app/core/MainWindow.h"
#include "platform/AudioDevice.h"
#include "platform/KeyState.h"
#include "save/SaveFolder.h"
#include "platform/Encoding.h"
#include "platform/MessageBox.h"
#include "platform/Timer.h"
#include "platform/Window.h"

// The least a game folder holds: the six file sources as folders and the
// scenario "START" the screen flow checks the data with.
inline void MakeGameFolders(const TestDir& dir, const std::string& sub = "") {
  for (const char* name : {"DATA", "MGD", "MSD", "SE", "BGM", "VOICE"}) dir.Write(sub + name + "/.keep", "");
  snr::CompileResult start = snr::CompileScenario("END\n", "START.txt", snr::BuildTextEncoding());
  dir.Write(sub + "MSD/START.MSD", std::string(start.file.begin(), start.file.end()));
}

// A first screen of one colour.
class CPlainScreen : public CDIBBaseScreen {
 public:
  explicit CPlainScreen(uint32_t color) : CDIBBaseScreen(nullptr) {
    Initialize();
    mpBackImage->FillFull(color);
  }
};

class AppFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    plat::SetHeadless(true);
    plat::SetVirtualClock(true, 0x10000);
    plat::ClearScriptedInput();
    snprintf(gszInstallDir, sizeof gszInstallDir, "%s", game.path().c_str());
    snprintf(gszIniPath, sizeof gszIniPath, "%sNovel.ini", game.path().c_str());
    plat::SetAudioBackend(plat::AudioBackend::Null);
    save::SetSaveLocation(save::SaveLocation{game.path(), {game.path()}, false});
    MakeGameFolders(game);
    SetStartScreenFactory([] { return new CPlainScreen(0xFF336699u); });
  }
  void TearDown() override {
    if (gpMainWindow && plat::IsWindow(gpMainWindow->GetHWnd())) {
      gpMainWindow->mbForceClose = true;
      plat::DestroyWindow(gpMainWindow->GetHWnd());
    }
    Pump();
    plat::SetMessageBoxHook({});
    SetStartScreenFactory({});
    plat::SetVirtualClock(false);
  }

  // Makes and creates the application object; the activation that showing
  // the window brings is handled too.
  CMainWindowImpl* Start(const RunOptions& options = RunOptions()) {
    app = new CMainWindowImpl(options);
    gpMainWindow = app;
    EXPECT_TRUE(app->Create());
    Pump();
    return app;
  }

  // Dispatches every queued message; true when the quit message came.
  bool Pump() {
    plat::MSG m;
    bool quit = false;
    while (plat::PeekMessage(m)) {
      if (m.message == plat::WM_QUIT) quit = true;
      else plat::DispatchMessage(m);
    }
    return quit;
  }

  // Lets `ms` of time pass and gives the application one idle turn.
  bool Idle(uint32_t ms) {
    plat::AdvanceVirtualClock(ms);
    bool ran = app->OnIdle();
    Pump();
    return ran;
  }

  TestDir game;
  CMainWindowImpl* app = nullptr;
};
