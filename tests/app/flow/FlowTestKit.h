// A screen flow with recording screens and a scripted music player, driven
// frame by frame as the application drives it.
#pragma once
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/core/MainWindow.h"
#include "app/flow/RootFlow.h"
#include "assets/DIBDisplay.h"
#include "assets/DIBImage.h"
#include "audio/BGMBuffer.h"
#include "platform/KeyState.h"
#include "platform/MessageBox.h"
#include "platform/Timer.h"
#include "platform/Window.h"
#include "scene/DIBOverlap.h"
#include "ui/DIBBaseScreen.h"
#include "ui/Input.h"

namespace flowtest {

using Log = std::vector<std::string>;

// A screen of one colour that writes what the flow does to it into a log.
class LogScreen : public CDIBBaseScreen {
 public:
  LogScreen(Log* log, std::string name, uint32_t color) : CDIBBaseScreen(nullptr), mLog(log), mName(std::move(name)) {
    Initialize();
    mpBackImage->FillFull(color);
  }
  ~LogScreen() override { mLog->push_back(mName + " deleted"); }
  void Move() override {
    mLog->push_back(mName + " Move");
    CDIBBaseScreen::Move();
  }
  void OnChangeScreen1st() override { mLog->push_back(mName + " 1st"); }
  void OnChangeScreen2nd() override { mLog->push_back(mName + " 2nd"); }

 private:
  Log* mLog;
  std::string mName;
};

// A music player that only records, and plays or stops when told.
class ScriptMusic : public CBGMBuffer {
 public:
  bool Read(const char* name) override {
    log.push_back(std::string("Read ") + name);
    if (!readable) return false;
    snprintf(mszName, sizeof mszName, "%s", name);
    return true;
  }
  bool Cache(const char* name) override {
    log.push_back(std::string("Cache ") + name);
    return true;
  }
  bool Play(uint32_t fadeIn, bool loop) override {
    log.push_back("Play " + std::to_string(fadeIn) + (loop ? " loop" : ""));
    mbPlay = true;
    mFadeMode = fadeIn ? 1 : 0;
    return true;
  }
  void Stop(uint32_t fadeOut) override {
    log.push_back("Stop " + std::to_string(fadeOut));
    if (fadeOut == 0)
      mbPlay = false;
    else
      mFadeMode = 2;
  }
  bool CheckPlaying(const char* name) override { return mbPlay && CmpFName(name, mszName); }
  void Release() override {}

  Log log;
  bool readable = true;
};

class TestFlow : public CRootFlow {
 protected:
  bool CheckScenarioData() override { return true; }
};

inline EffectParam Effect(int32_t effect, int32_t duration) {
  EffectParam p;
  EffectParamWriter(&p, effect).Int(duration);
  return p;
}

inline BGMChangeParam Music(const char* name, uint32_t flags, uint32_t delay = 0, uint32_t fadeIn = 0,
                            uint32_t fadeOut = 0) {
  BGMChangeParam p{};
  snprintf(p.szName, sizeof p.szName, "%s", name);
  p.dwFlags = flags;
  p.dwDelay = delay;
  p.dwFadeIn = fadeIn;
  p.dwFadeOut = fadeOut;
  return p;
}

class FlowWorld : public ::testing::Test {
 protected:
  void SetUp() override {
    gpMainWindow = &window;
    plat::ClearScriptedInput();
    plat::SetScriptedCursor(400, 300);
    plat::SetVirtualClock(true, 5000);
    plat::SetMessageBoxHook([this](const char* text, const char*, uint32_t) {
      boxes.push_back(text);
      return 1;
    });
    window.mpInput = &input;
    window.mpDisplay = &display;
    window.mpBGMBuffer = &music;
    window.mFrameTime = 30;
    display.Initialize();
    input.Initialize(nullptr, nullptr);
    input.mbSwapButton = false;
    plat::AdvanceVirtualClock(500);
    ASSERT_TRUE(flow.Initialize());
    DrainMessages();
  }
  void TearDown() override {
    flow.Release();
    DrainMessages();
    plat::SetMessageBoxHook({});
    plat::ClearScriptedInput();
    plat::SetVirtualClock(false);
    gpMainWindow = nullptr;
  }

  // One frame as the application runs it.
  void Frame() {
    plat::AdvanceVirtualClock(30);
    input.Poll();
    display.BeginFrame();
    flow.Move();
    display.BuildDirtyRects();
    flow.Draw(display.GetBackImage());
  }
  // Frames until the switch under way completes; the number of frames.
  int FramesToSwitch(int limit = 200) {
    for (int i = 1; i <= limit; ++i) {
      Frame();
      if (!flow.IsChanging()) return i;
    }
    return -1;
  }
  LogScreen* NewScreen(const std::string& name, uint32_t color) { return new LogScreen(&log, name, color); }
  uint32_t Shown(int x = 400, int y = 300) { return display.GetBackImage()->GetPixels()[y * 800 + x]; }
  bool Seen(const std::string& entry) const { return std::find(log.begin(), log.end(), entry) != log.end(); }
  // Messages posted to the main window, emptied from the queue.
  std::vector<uint32_t> DrainMessages() {
    std::vector<uint32_t> out;
    plat::MSG msg;
    while (plat::PeekMessage(msg)) out.push_back(msg.message);
    return out;
  }
  void Go(LogScreen* screen, bool keep = false, int32_t effect = EFFECT_BLT, int32_t duration = 60) {
    EffectParam e = Effect(effect, duration);
    flow.ChangeScreen(&e, nullptr, nullptr, screen, keep);
  }

  CMainWindow window;
  CInput input;
  CDIBDisplay display;
  ScriptMusic music;
  TestFlow flow;
  Log log;
  std::vector<std::string> boxes;
};

}  // namespace flowtest
