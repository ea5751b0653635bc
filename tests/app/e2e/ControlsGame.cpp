// The game program with a first screen of controls instead of the title: a
// button (ID 0), a check box (ID 1) and a slider (ID 2, 0..10). Each
// decision is printed as "decide ID FRAME"; at the end the check box and the
// slider print their state. Used to drive the whole program by input scripts.
#include <cstdio>
#include <cstring>

#include "app/Entry.h"
#include "app/MainWindowImpl.h"
#include "app/StartScreen.h"
#include "assets/DIBSprite.h"
#include "assets/SpriteCache.h"
#include "ui/CtrlDef.h"
#include "ui/DIBBaseScreen.h"
#include "ui/DIBCheckCtrl.h"
#include "ui/DIBScrollCtrl.h"
#include "ui/Input.h"

namespace {

// The parts picture of the controls: ten 20 × 10 state frames, a slider bar
// and a knob.
void AddParts() {
  auto* parts = new CDIBSprite;
  parts->Create(128, 32);
  parts->FillFull(0xFF808080u);
  for (int i = 0; i < 10; ++i) parts->FillBox(0xFF000000u | (0x20u * i) << 16 | 0x4000u, i * 10, 0, 10, 10);
  parts->InitSprtInfo(12, 4);
  for (int i = 0; i < 10; ++i)
    *parts->GetSprtInfoMutable(i) = SprtElement{static_cast<int16_t>(i * 10), 0, 20, 10, 0, 0};
  *parts->GetSprtInfoMutable(10) = SprtElement{0, 10, 100, 10, 0, 0};
  *parts->GetSprtInfoMutable(11) = SprtElement{100, 10, 10, 16, 0, 0};
  parts->SetName("PARTS");
  gpMainWindow->mpSpriteCache->Add(parts);
  gpMainWindow->mpSpriteCache->Free(parts);
}

class CControlsScreen : public CDIBBaseScreen {
 public:
  CControlsScreen() : CDIBBaseScreen(nullptr) {}
  ~CControlsScreen() override {
    auto* check = static_cast<CDIBCheckCtrl*>(GetCtrl(1));
    auto* slider = static_cast<CDIBScrollCtrl*>(GetCtrl(2));
    if (check && slider) printf("final check %d slider %d\n", check->IsCheck() ? 1 : 0, slider->GetScrollPos());
  }
  bool Build() {
    if (!Initialize()) return false;
    mpBackImage->FillFull(0xFF203040u);
    CtrlDef def;
    InitCtrlDef(&def);
    strcpy(def.szParts, "PARTS");
    for (int i = 0; i < 10; ++i) def.nFrame[i] = i;
    for (int d = 0; d < 5; ++d) def.Jump[0][d] = -1;
    def.x = 100;
    def.y = 100;
    def.nID = 0;
    def.Jump[0][JUMP_DOWN] = 1;
    if (!MakeControl(CTRL_BUTTON, &def)) return false;
    def.y = 200;
    def.nID = 1;
    def.Jump[0][JUMP_UP] = 0;
    def.Jump[0][JUMP_DOWN] = 2;
    if (!MakeControl(CTRL_CHECK, &def)) return false;
    def.y = 300;
    def.nID = 2;
    def.Jump[0][JUMP_UP] = 1;
    def.Jump[0][JUMP_DOWN] = -1;
    for (int i = 0; i < 5; ++i) {
      def.nFrame[i] = 10;
      def.nFrame[5 + i] = 11;
    }
    def.nMin = 0;
    def.nMax = 10;
    return MakeControl(CTRL_SCROLL, &def) != nullptr;
  }
  void Move() override {
    CDIBBaseScreen::Move();
    long long frame = static_cast<CMainWindowImpl*>(gpMainWindow)->FramesRun();
    for (int id = 0; id < 3; ++id)
      if (GetCtrl(id)->IsDecide()) printf("decide %d %lld\n", id, frame);
    // Keyboard players start from the first control.
    if (gpMainWindow->mpInput->mInputType == INPUT_KEYBOARD && !IsForcusInAll()) SetForcusReq(0);
  }
};

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IOLBF, 0);
  SetStartScreenFactory([]() -> CDIBBaseScreen* {
    AddParts();
    auto* screen = new CControlsScreen;
    if (screen->Build()) return screen;
    delete screen;
    return nullptr;
  });
  return VeltoMain(argc, argv);
}
