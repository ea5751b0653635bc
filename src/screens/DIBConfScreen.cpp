#include "screens/DIBConfScreen.h"

#include <cstdio>
#include <cstring>

#include "app/core/MainWindow.h"
#include "app/core/Trace.h"
#include "app/flow/MakeScreen.h"
#include "assets/DIBImage.h"
#include "assets/DIBSprite.h"
#include "assets/SpriteCache.h"
#include "screens/ScreenHelpers.h"
#include "ui/DIBBaseCtrl.h"
#include "ui/Input.h"

CDIBConfScreen::CDIBConfScreen(CBaseGame* parent) : CDIBBaseScreen(parent) {
  Trace("CDIBConfScreen::CDIBConfScreen");
}

CDIBConfScreen::~CDIBConfScreen() {
  Trace("CDIBConfScreen::~CDIBConfScreen");
  CDIBConfScreen::Release();
}

CDIBBaseScreen* CDIBConfScreen::Make(CBaseGame* parent, const void* startBlock) {
  Trace("CDIBConfScreen::Make");
  return MakeScreen<CDIBConfScreen, ConfStartBlock>(parent, startBlock);
}

bool CDIBConfScreen::Initialize(const ConfStartBlock* block) {
  Trace("CDIBConfScreen::Initialize");
  if (!CDIBBaseScreen::Initialize()) {
    gpMainWindow->ErrorETC("CDIBConfScreen", "CDIBBaseScreen::Initialize()");
    return false;
  }
  if (!block) {
    gpMainWindow->ErrorETC("CDIBConfScreen", "CDIBBaseScreen::Initialize()");
    return false;
  }
  mBlock = *block;

  const ConfLayout& layout = Layout();
  for (int i = 0; i < 2; ++i) {
    CtrlDef def;
    InitCtrlDef(&def);
    def.bBlend = true;
    snprintf(def.szParts, sizeof def.szParts, "%s", layout.szParts);
    snprintf(def.szHitFName, sizeof def.szHitFName, "%s", layout.szHitMap);
    def.nID = i;
    def.nHitNo = layout.nHitNo[i];
    def.x = layout.nPos[i][0];
    def.y = layout.nPos[i][1];
    for (int f = 0; f < 5; ++f) def.nFrame[f] = layout.nFrame[i][f];
    memcpy(def.Jump, layout.nJump[i], sizeof def.Jump);
    def.bCancel = i == 1;
    if (!MakeControl(CTRL_BUTTON, &def)) {
      gpMainWindow->ErrorETC("CDIBConfScreen", "MakeControl()");
      return false;
    }
  }

  // A message the layout has no picture for cannot be asked.
  if (mBlock.nMessage < 0 || mBlock.nMessage >= ConfLayout::kMessages) {
    gpMainWindow->ErrorETC("CDIBConfScreen", "nMessage");
    return false;
  }
  const char* name = layout.szMessage[mBlock.nMessage];
  mpBackPicture = screens::ReadPicture("CDIBConfScreen", name);
  if (!mpBackPicture) return false;
  UpdateBaseImage();
  CopyImage(mpDrawImage);
  gpMainWindow->ResetLossTime();
  return true;
}

void CDIBConfScreen::Release() {
  Trace("CDIBConfScreen::Release");
  CDIBBaseScreen::Release();
  screens::FreePicture(mpBackPicture);
}

void CDIBConfScreen::UpdateBaseImage() {
  Trace("CDIBConfScreen::UpdateBaseImage");
  screens::ComposeOverParent(mpParent, mpBackPicture, mpBackImage);
}

void CDIBConfScreen::Move() {
  Trace("CDIBConfScreen::Move");
  CDIBBaseScreen::Move();
  gpMainWindow->ChangeCursor(0);
  if (gpMainWindow->mpInput->CheckKeyTbl(KeyTblCancel)) {
    gpMainWindow->PlaySysSE(SYSSE_CANCEL);
    OnCtrlCancel();
    return;
  }
  CDIBBaseCtrl* ok = GetCtrl(0);
  if (ok && ok->IsDecide()) {
    OnCtrlOK();
    return;
  }
  CDIBBaseCtrl* cancel = GetCtrl(1);
  if (cancel && cancel->IsDecide()) OnCtrlCancel();
}

void CDIBConfScreen::OnCtrlOK() {
  Trace("CDIBConfScreen::OnCtrlOK");
  if (mBlock.pReceiver) mBlock.pReceiver->Reaction(mBlock.nCode, CONF_ANSWER_OK);
}

void CDIBConfScreen::OnCtrlCancel() {
  Trace("CDIBConfScreen::OnCtrlCancel");
  if (mBlock.pReceiver) mBlock.pReceiver->Reaction(mBlock.nCode, CONF_ANSWER_CANCEL);
}
