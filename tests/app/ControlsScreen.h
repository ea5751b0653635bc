// A screen of three controls below each other: a button (ID 0), a check box
// (ID 1) and a slider (ID 2, 0..10), linked by jump rows for the keyboard,
// over the parts picture "PARTS". Tests derive from it to watch decisions.
#pragma once
#include <cstring>

#include "app/core/MainWindow.h"
#include "assets/DIBImage.h"
#include "assets/DIBSprite.h"
#include "assets/SpriteCache.h"
#include "ui/CtrlDef.h"
#include "ui/DIBBaseCtrl.h"
#include "ui/DIBBaseScreen.h"
#include "ui/Input.h"

// Puts "PARTS" into the cache: ten 20 × 10 state frames, a slider bar and a
// knob.
inline void AddControlsParts(CSpriteCache* cache) {
  auto* parts = new CDIBSprite;
  parts->Create(128, 32);
  parts->FillFull(0xFF808080u);
  for (int i = 0; i < 10; ++i) parts->FillBox(0xFF004000u | (0x20u * i) << 16, i * 10, 0, 10, 10);
  parts->InitSprtInfo(12, 4);
  for (int i = 0; i < 10; ++i)
    *parts->GetSprtInfoMutable(i) = SprtElement{static_cast<int16_t>(i * 10), 0, 20, 10, 0, 0};
  *parts->GetSprtInfoMutable(10) = SprtElement{0, 10, 100, 10, 0, 0};
  *parts->GetSprtInfoMutable(11) = SprtElement{100, 10, 10, 16, 0, 0};
  parts->SetName("PARTS");
  cache->Add(parts);
  cache->Free(parts);
}

class CControlsScreen : public CDIBBaseScreen {
 public:
  CControlsScreen() : CDIBBaseScreen(nullptr) {}

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
    for (int id = 0; id < 3; ++id)
      if (GetCtrl(id)->IsDecide()) OnDecide(id);
    // Keyboard players start from the first control.
    if (gpMainWindow->mpInput->mInputType == INPUT_KEYBOARD && !IsForcusInAll()) SetForcusReq(0);
  }

 protected:
  virtual void OnDecide(int id) = 0;
};
