#include "screens/DIBSelectScreen.h"

#include <cstdio>
#include <cstring>

#include "app/core/DebugHooks.h"
#include "app/core/MainWindow.h"
#include "app/core/Trace.h"
#include "app/flow/MakeScreen.h"
#include "app/flow/RootFlow.h"
#include "assets/DIBImage.h"
#include "assets/DIBSprite.h"
#include "assets/SpriteCache.h"
#include "save/SaveData.h"
#include "scene/DIBOverlap.h"
#include "screens/ScreenHelpers.h"
#include "ui/CtrlDef.h"
#include "ui/DIBBaseCtrl.h"
#include "ui/EffectParam.h"
#include "ui/Input.h"

namespace {

constexpr int kMaxChoices = static_cast<int>(sizeof(SelectStartBlock::nItem) / sizeof(int32_t));

// Copies a name that may fill its whole field without an end.
template <size_t N, size_t M>
void CopyName(char (&dst)[N], const char (&src)[M]) {
  constexpr size_t n = (N < M ? N : M) - 1;
  memcpy(dst, src, n);
  dst[n] = 0;
}

}  // namespace

CDIBSelectScreen::CDIBSelectScreen(CBaseGame* parent) : CDIBBaseScreen(parent) {
  Trace("CDIBSelectScreen::CDIBSelectScreen");
}

CDIBSelectScreen::~CDIBSelectScreen() {
  Trace("CDIBSelectScreen::~CDIBSelectScreen");
  CDIBSelectScreen::Release();
}

CDIBBaseScreen* CDIBSelectScreen::Make(CBaseGame* parent, const void* startBlock) {
  Trace("CDIBSelectScreen::Make");
  return MakeScreen<CDIBSelectScreen, SelectStartBlock>(parent, startBlock);
}

bool CDIBSelectScreen::Initialize(const SelectStartBlock* block) {
  Trace("CDIBSelectScreen::Initialize");
  if (!CDIBBaseScreen::Initialize()) {
    gpMainWindow->ErrorETC("CDIBSelectScreen", "CDIBBaseScreen::Initialize()");
    return false;
  }
  // More choices than the block can list would read past it.
  if (!block || block->nCount <= 0 || block->nCount > kMaxChoices) {
    gpMainWindow->ErrorETC("CDIBSelectScreen", "CDIBBaseScreen::Initialize()");
    return false;
  }
  mBlock = *block;
  mBlock.szBack[sizeof mBlock.szBack - 1] = 0;

  const SelItemData* items = gpMainWindow->mpSaveData->mSelItem;
  for (int i = 0; i < mBlock.nCount; ++i) {
    const int32_t number = mBlock.nItem[i];
    if (number < 0 || number >= kSlotCount) {
      gpMainWindow->ErrorETC("CDIBSelectScreen", "MakeControl()");
      return false;
    }
    const SelItemData& item = items[number];
    CtrlDef def;
    InitCtrlDef(&def);
    CopyName(def.szParts, item.szParts);
    CopyName(def.szHitFName, item.szHitFName);
    def.nID = item.nID;
    def.nHitNo = item.nID;
    def.bShow = true;
    def.bEnable = item.bEnable;
    def.x = item.x;
    def.y = item.y;
    def.dwColor = 0xFFFFFFFFu;
    def.bEnterSE = true;
    def.bOncurSE = true;
    def.nJumpNum = 1;
    for (int d = 0; d < 5; ++d) def.Jump[0][d] = item.nJump[d];
    def.bCancel = false;
    for (int f = 0; f < 5; ++f) def.nFrame[f] = item.nFrame[f];
    def.bBlend = false;
    if (!MakeControl(CTRL_BUTTON, &def)) {
      gpMainWindow->ErrorETC("CDIBSelectScreen", "MakeControl()");
      return false;
    }
  }

  // A background that cannot be read is reported, but the choice is still
  // offered over the opener's picture: the story can go on.
  if (mBlock.szBack[0]) {
    mpBackPicture = screens::ReadPicture("CDIBSelectScreen", mBlock.szBack);
  }
  UpdateBaseImage();
  CopyImage(mpDrawImage);
  gpMainWindow->ResetLossTime();
  return true;
}

void CDIBSelectScreen::Release() {
  Trace("CDIBSelectScreen::Release");
  CDIBBaseScreen::Release();
  screens::FreePicture(mpBackPicture);
}

void CDIBSelectScreen::UpdateBaseImage() {
  Trace("CDIBSelectScreen::UpdateBaseImage");
  screens::ComposeOverParent(mpParent, mpBackPicture, mpBackImage);
}

void CDIBSelectScreen::Move() {
  Trace("CDIBSelectScreen::Move");
  CDIBBaseScreen::Move();
  gpMainWindow->ChangeCursor(0);
  if (gpMainWindow->mpInput->CheckKeyTbl(KeyTblCancel)) {
    OnClose(kCancel);
    return;
  }
  for (int32_t id = 0; id < mBlock.nCount; ++id) {
    CDIBBaseCtrl* ctrl = GetCtrl(id);
    if (ctrl && ctrl->IsDecide()) {
      OnClose(id);
      return;
    }
  }
}

void CDIBSelectScreen::OnClose(int32_t result) {
  Trace("CDIBSelectScreen::OnClose");
  if (mBlock.nVar >= 0 && mBlock.nVar < kVariableCount) {
    gpMainWindow->mpSaveData->mVariable[mBlock.nVar] = result;
    DebugOnUpdateValue(mBlock.nVar, result);
  }
  EffectParam effect;
  EffectParamWriter(&effect, EFFECT_FADE).Int(kFadeMs);
  gpMainWindow->mpRootFlow->ReturnScreen(&effect, nullptr, nullptr, 1);
}
