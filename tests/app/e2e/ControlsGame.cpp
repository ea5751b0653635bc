// The game program with a first screen of controls instead of the title: a
// button (ID 0), a check box (ID 1) and a slider (ID 2, 0..10). Each
// decision is printed as "decide ID FRAME"; at the end the check box and the
// slider print their state. Used to drive the whole program by input scripts.
#include <cstdio>
#include <cstring>

#include "app/Entry.h"
#include "app/MainWindowImpl.h"
#include "app/StartScreen.h"
#include "app/ControlsScreen.h"
#include "ui/DIBCheckCtrl.h"
#include "ui/DIBScrollCtrl.h"

namespace {

class CPrintingScreen : public CControlsScreen {
 public:
  ~CPrintingScreen() override {
    auto* check = static_cast<CDIBCheckCtrl*>(GetCtrl(1));
    auto* slider = static_cast<CDIBScrollCtrl*>(GetCtrl(2));
    if (check && slider) printf("final check %d slider %d\n", check->IsCheck() ? 1 : 0, slider->GetScrollPos());
  }

 protected:
  void OnDecide(int id) override {
    printf("decide %d %lld\n", id, static_cast<CMainWindowImpl*>(gpMainWindow)->FramesRun());
  }
};

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IOLBF, 0);
  SetStartScreenFactory([]() -> CDIBBaseScreen* {
    AddControlsParts(gpMainWindow->mpSpriteCache);
    auto* screen = new CPrintingScreen;
    if (screen->Build()) return screen;
    delete screen;
    return nullptr;
  });
  return VeltoMain(argc, argv);
}
