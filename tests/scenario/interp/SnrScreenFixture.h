// The scenario screen in the running application: stories started as
// --start starts them, with the message window's pictures and layout
// (the text tests' game data), choice and confirmation pictures, and an
// application that records the system sounds it plays.
#pragma once
#include <string>
#include <vector>

#include "InterpFixture.h"
#include "app/RegisterScreens.h"
#include "app/flow/ScreenFactory.h"
#include "assets/DIBDisplay.h"
#include "scenario/interp/DIBSnrScreen.h"
#include "screens/ScreenKit.h"
#include "text/MesWnd.h"
#include "text/MesWndKit.h"

namespace snrtest {

using mestest::BtnX;
using mestest::BtnY;

// Where a click lands on the message text and not on a button.
constexpr int kTextX = 300, kTextY = 520;
constexpr uint32_t kSelParts = 0x204060u;

// An input script: a left click at `x`, `y` pushed on `frame`. The pointer
// arrives two frames before, so that the control under it has the focus.
inline std::string Click(int frame, int x, int y) {
  return std::to_string(frame - 2) + " move " + std::to_string(x) + " " + std::to_string(y) + "\n" +
         std::to_string(frame) + " down LBUTTON\n" + std::to_string(frame + 2) + " up LBUTTON\n";
}
inline std::string Key(int frame, const std::string& key) {
  return std::to_string(frame) + " down " + key + "\n" + std::to_string(frame + 1) + " up " + key + "\n";
}

class SnrScreenTest : public InterpTest {
 protected:
  void SetUp() override {
    InterpTest::SetUp();
    RegisterGameScreens();
    // The stories here end the program at END; the title screen, with the
    // pictures it needs, has its own tests (a test that needs one registers
    // its own).
    RegisterScreen(SCREEN_TITLE, nullptr);
    mestest::WriteWindowData(game);
    game.Write("MGD/SELP.MGD", screenkit::FramesPicture(5, 200, 40, kSelParts));
  }
  void TearDown() override {
    InterpTest::TearDown();
    ClearScreenMakers();
  }

  // Runs are made of the recording application.
  CMainWindowImpl* MakeApp(const RunOptions& options) override {
    rec = new screenkit::CRecordingApp(options);
    return rec;
  }
  void Start(const std::string& name, const std::string& script = "") { Run(name, script); }
  // Closes the program, so that a test can start another story.
  void Stop() {
    if (app && plat::IsWindow(app->GetHWnd())) {
      app->mbForceClose = true;
      plat::DestroyWindow(app->GetHWnd());
    }
    Pump();
    app = nullptr;
    rec = nullptr;
    boxes.clear();
  }

  CDIBSnrScreen* Snr() const { return dynamic_cast<CDIBSnrScreen*>(Screen()); }
  CDIBMesWnd* Wnd() const { return Snr() ? Snr()->GetMesWnd() : nullptr; }
  bool Waiting() const { return Wnd() && Wnd()->IsWait() && !app->mpRootFlow->IsChanging(); }
  // The picture last presented.
  std::vector<uint32_t> Screenshot() const {
    const CDIBImage* image = app->mpDisplay->GetBackImage();
    std::vector<uint32_t> out(image->GetPixels(), image->GetPixels() + 800 * 600);
    for (uint32_t& p : out) p |= 0xFF000000u;
    return out;
  }
  uint32_t Pixel(int x, int y) const { return app->mpDisplay->GetBackImage()->GetPixels()[y * 800 + x] | 0xFF000000u; }

  // Three choice items, 0 … 2, below each other and linked for the keyboard.
  static std::string SelItems() {
    std::string s;
    for (int i = 0; i < 3; ++i)
      s += "SELITEM " + std::to_string(i) + ", \"SELP\", 0, 1, 2, 3, 4, \"\", " + std::to_string(i) + ", 300, " +
           std::to_string(100 + 100 * i) + ", 1, " + std::to_string(i - 1) + ", " + std::to_string(i < 2 ? i + 1 : -1) +
           ", -1, -1, -1\n";
    return s;
  }

  screenkit::CRecordingApp* rec = nullptr;
};

}  // namespace snrtest
