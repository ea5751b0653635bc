// The game program with a first screen of controls instead of the title: a
// button (ID 0), a check box (ID 1) and a slider (ID 2, 0..10). Each
// decision is printed as "decide ID FRAME"; at the end the check box and the
// slider print their state. Used to drive the whole program by input scripts.
// With CONTROLS_SWITCH set in the environment, the button opens a fresh
// screen of the same controls ("switch FRAME"), as a menu leads to another.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/ControlsScreen.h"
#include "app/Entry.h"
#include "app/MainWindowImpl.h"
#include "app/StartScreen.h"
#include "app/flow/RootFlow.h"
#include "scene/DIBOverlap.h"
#include "ui/DIBCheckCtrl.h"
#include "ui/DIBScrollCtrl.h"
#include "ui/EffectParam.h"

namespace {

CDIBBaseScreen* MakeScreen();

class CPrintingScreen : public CControlsScreen {
 public:
  ~CPrintingScreen() override {
    auto* check = static_cast<CDIBCheckCtrl*>(GetCtrl(1));
    auto* slider = static_cast<CDIBScrollCtrl*>(GetCtrl(2));
    if (check && slider && !mbLeft)
      printf("final check %d slider %d\n", check->IsCheck() ? 1 : 0, slider->GetScrollPos());
  }

 protected:
  void OnDecide(int id) override {
    long long frame = static_cast<CMainWindowImpl*>(gpMainWindow)->FramesRun();
    printf("decide %d %lld\n", id, frame);
    if (id != 0 || !getenv("CONTROLS_SWITCH") || mbLeft) return;
    CDIBBaseScreen* next = MakeScreen();
    if (!next) return;
    printf("switch %lld\n", frame);
    mbLeft = true;
    EffectParam blt;
    EffectParamWriter(&blt, EFFECT_BLT).Int(60);
    gpMainWindow->mpRootFlow->ChangeScreen(&blt, nullptr, nullptr, next, false);
  }

 private:
  bool mbLeft = false;
};

CDIBBaseScreen* MakeScreen() {
  auto* screen = new CPrintingScreen;
  if (screen->Build()) return screen;
  delete screen;
  return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IOLBF, 0);
  SetStartScreenFactory([]() -> CDIBBaseScreen* {
    AddControlsParts(gpMainWindow->mpSpriteCache);
    return MakeScreen();
  });
  return VeltoMain(argc, argv);
}
