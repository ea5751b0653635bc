// The running application (headless, virtual clock) with a first screen
// that opens other screens over itself and answers questions as a real
// opener does; input is given as a player gives it, frame by frame.
#pragma once
#include <functional>
#include <utility>
#include <vector>

#include "app/AppFixture.h"
#include "app/RegisterScreens.h"
#include "app/flow/ScreenFactory.h"
#include "assets/DIBDisplay.h"
#include "assets/PixelRules.h"
#include "scene/DIBOverlap.h"
#include "screens/ScreenKit.h"
#include "ui/EffectParam.h"

namespace screenkit {

constexpr uint32_t kOpenerColor = 0xFF336699u;

// A plain screen that writes down every answer it gets and then returns
// from the screen that asked.
class COpenerScreen : public CDIBBaseScreen {
 public:
  COpenerScreen() : CDIBBaseScreen(nullptr) {
    Initialize();
    mpBackImage->FillFull(kOpenerColor);
  }
  int32_t Reaction(int32_t code, int32_t answer) override {
    answers.emplace_back(code, answer);
    EffectParam effect;
    EffectParamWriter(&effect, EFFECT_FADE).Int(100);
    gpMainWindow->mpRootFlow->ReturnScreen(&effect, nullptr, nullptr, 1);
    return 0;
  }
  std::vector<std::pair<int32_t, int32_t>> answers;
};

// A picture drawn blended over `under`, as the screens draw theirs.
inline uint32_t Over(uint32_t under, uint32_t picture) { return pix::Blend(under, picture, 0xFFFFFFFFu) | 0xFF000000u; }

class OpenerFixture : public AppFixture {
 protected:
  void SetUp() override {
    AppFixture::SetUp();
    RegisterGameScreens();
    SetStartScreenFactory([this] { return opener = new COpenerScreen; });
    plat::SetMessageBoxHook([this](const char* text, const char*, uint32_t) {
      boxes.push_back(plat::ToUtf8(text));
      return 1;
    });
  }
  void TearDown() override {
    AppFixture::TearDown();
    ClearScreenMakers();
  }

  // Starts the program and lets the input's dead time after activation pass.
  void StartApp() {
    rec = new CRecordingApp(RunOptions());
    app = rec;
    gpMainWindow = app;
    ASSERT_TRUE(app->Create());
    Pump();
    Frames(20);
  }
  void Frames(int n) {
    for (int i = 0; i < n; ++i) Idle(30);
  }
  // Runs frames until `done` holds; false when it does not within `limit`.
  bool RunUntil(const std::function<bool()>& done, int limit = 200) {
    for (int i = 0; i < limit; ++i) {
      if (done()) return true;
      Idle(30);
    }
    return done();
  }
  bool Settled() const { return !app->mpRootFlow->IsChanging(); }
  CDIBBaseScreen* Current() const { return app->mpRootFlow->GetScreen(); }

  // Shows `screen` over the opener (kept) and waits until it is current.
  bool Open(CDIBBaseScreen* screen, int32_t fadeMs = 300) {
    if (!screen) return false;
    EffectParam effect;
    EffectParamWriter(&effect, EFFECT_FADE).Int(fadeMs);
    app->mpRootFlow->ChangeScreen(&effect, nullptr, nullptr, screen, true);
    bool shown = RunUntil([&] { return Settled() && Current() == screen; });
    Frames(5);
    return shown;
  }
  bool BackAtOpener() {
    return RunUntil([&] { return Settled() && Current() == opener; });
  }

  void Move(int x, int y) {
    plat::SetScriptedCursor(x, y);
    Frames(1);
  }
  void Key(int vk) {
    plat::SetScriptedKey(vk, true);
    Frames(1);
    plat::SetScriptedKey(vk, false);
    Frames(1);
  }
  void Click(int x, int y, int vk = plat::VK_LBUTTON) {
    Move(x, y);
    Key(vk);
  }
  // The picture last presented.
  uint32_t Pixel(int x, int y) const {
    return app->mpDisplay->GetBackImage()->GetPixels()[static_cast<size_t>(y) * 800 + x] | 0xFF000000u;
  }

  CRecordingApp* rec = nullptr;
  COpenerScreen* opener = nullptr;
  std::vector<std::string> boxes;
};

}  // namespace screenkit
