// A small world for control and screen tests: an application object with
// input, display and picture cache, a parts picture of known frames, and a
// screen driven frame by frame on the virtual clock with scripted keys.
#pragma once
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/core/MainWindow.h"
#include "assets/DIBDisplay.h"
#include "assets/DIBSprite.h"
#include "assets/SpriteCache.h"
#include "platform/KeyState.h"
#include "platform/MessageBox.h"
#include "platform/Timer.h"
#include "ui/DIBBaseScreen.h"
#include "ui/Input.h"

namespace uitest {

// Frames of the parts picture "PARTS".
constexpr int kSmallFrames = 10;   // 0–9: 20 × 10 at (20 i, 0)
constexpr int kBarFrame = 10;      // 10–14: 100 × 10 bars at (0, 20)
constexpr int kKnobFrame = 15;     // 15–19: 10 × 16 knobs at (100, 20)
constexpr uint32_t FrameColor(int i) { return 0xFF000000u | static_cast<uint32_t>(i * 0x0B0D0F); }

class RecordingWindow : public CMainWindow {
 public:
  void PlaySysSE(int index) override { sounds.push_back(index); }
  std::vector<int> sounds;
};

class TestScreen : public CDIBBaseScreen {
 public:
  TestScreen() : CDIBBaseScreen(nullptr) {}
  CDIBBaseCtrl* Make(int32_t type, const CtrlDef& def) { return MakeControl(type, &def); }
};

class UiWorld : public ::testing::Test {
 protected:
  void SetUp() override {
    gpMainWindow = &window;
    plat::ClearScriptedInput();
    plat::SetScriptedCursor(-1, -1);
    plat::SetVirtualClock(true, 1000);
    plat::SetMessageBoxHook([this](const char* text, const char*, uint32_t) {
      boxes.push_back(text);
      return 1;
    });
    window.mpInput = &input;
    window.mpDisplay = &display;
    window.mpSpriteCache = &cache;
    window.mFrameTime = 30;
    cache.Initialize(nullptr);
    display.Initialize();
    input.Initialize(nullptr, nullptr);
    input.mbSwapButton = false;
    AddParts("PARTS");
    ASSERT_TRUE(screen.Initialize());
    screen.GetBackImage()->FillFull(0xFF102030u);
    plat::AdvanceVirtualClock(500);  // past the dead time
    input.Poll();                     // settles the pointer position
    input.mInputType = INPUT_KEYBOARD;
  }
  void TearDown() override {
    screen.Release();
    cache.Release();
    plat::SetMessageBoxHook({});
    plat::ClearScriptedInput();
    plat::SetVirtualClock(false);
    gpMainWindow = nullptr;
  }

  // Hands a picture of the known frames to the cache under `name`.
  void AddParts(const char* name) {
    auto* sprite = new CDIBSprite;
    ASSERT_TRUE(sprite->Create(256, 64));
    sprite->FillFull(0);
    ASSERT_TRUE(sprite->InitSprtInfo(20, 4));
    for (int i = 0; i < 20; ++i) {
      SprtElement* e = sprite->GetSprtInfoMutable(i);
      if (i < kSmallFrames)
        *e = SprtElement{static_cast<int16_t>(i * 20), 0, 20, 10, 0, 0};
      else if (i < kKnobFrame)
        *e = SprtElement{0, 20, 100, 10, 0, 0};
      else
        *e = SprtElement{100, 20, 10, 16, 0, 0};
      if (i < kSmallFrames) sprite->FillBox(FrameColor(i), e->x, e->y, e->w, e->h);
    }
    sprite->FillBox(0xFF808080u, 0, 20, 100, 10);
    sprite->FillBox(0xFFFFFFFFu, 100, 20, 10, 16);
    sprite->SetName(name);
    ASSERT_TRUE(cache.Add(sprite));
    cache.Free(sprite);  // the cache keeps it; controls take their own references
  }

  // A definition from the template: parts "PARTS", frames 0–9 or the
  // slider's bar and knob frames.
  static CtrlDef Def(int32_t id, int32_t x, int32_t y) {
    CtrlDef def;
    InitCtrlDef(&def);
    strcpy(def.szParts, "PARTS");
    def.nID = id;
    def.nHitNo = id;
    def.x = x;
    def.y = y;
    for (int i = 0; i < 10; ++i) def.nFrame[i] = i;
    def.nJumpNum = 1;
    for (int d = 0; d < 5; ++d) def.Jump[0][d] = -1;
    return def;
  }
  static CtrlDef SliderDef(int32_t id, int32_t x, int32_t y, int32_t min, int32_t max) {
    CtrlDef def = Def(id, x, y);
    for (int i = 0; i < 5; ++i) {
      def.nFrame[i] = kBarFrame + i;
      def.nFrame[5 + i] = kKnobFrame + i;
    }
    def.nMin = min;
    def.nMax = max;
    def.nScrollPos = min;
    return def;
  }

  void Key(int vk, bool down) { plat::SetScriptedKey(vk, down); }
  void Mouse(int x, int y) { plat::SetScriptedCursor(x, y); }

  // One frame as the application runs it.
  void Frame(uint32_t ms = 30) {
    plat::AdvanceVirtualClock(ms);
    window.mFrameTime = static_cast<int>(ms);
    input.Poll();
    display.BeginFrame();
    screen.Move();
    screen.UpdateForcus();
    screen.Update();
    display.BuildDirtyRects();
    screen.Draw(display.GetBackImage());
  }
  // Puts the input into keyboard mode with `id` focused.
  void FocusByKeyboard(int32_t id) {
    input.mInputType = INPUT_KEYBOARD;
    screen.SetForcusReq(id);
    screen.UpdateForcus();
  }

  RecordingWindow window;
  CInput input;
  CDIBDisplay display;
  CSpriteCache cache;
  TestScreen screen;
  std::vector<std::string> boxes;
};

}  // namespace uitest
