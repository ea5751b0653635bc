// Choices: one button per choice, fanning out from the first choice's place
// while they fade in, and the chosen index stored in a scenario variable.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "app/core/DebugHooks.h"
#include "app/core/MainWindow.h"
#include "app/core/Trace.h"
#include "save/SaveData.h"
#include "text/MesWnd.h"
#include "ui/DIBBaseCtrl.h"
#include "ui/Input.h"

void CDIBMesWnd::MakeSelData(int32_t index, bool enable, int32_t x, int32_t y, const int32_t frame[5]) {
  Trace("CDIBMesWnd::MakeSelData");
  if (index < 0 || index >= kSelMax) return;
  SelData& d = mSel[index];
  d.bEnable = enable;
  d.x = x;
  d.y = y;
  for (int k = 0; k < 5; ++k) d.nFrame[k] = frame ? frame[k] : 0;
}

void CDIBMesWnd::DeleteSelButtons() {
  Trace("CDIBMesWnd::DeleteSelButtons");
  for (int32_t i = 0; i < kSelMax; ++i) DeleteControl(MESBTN_SEL + i);
  mnSelCount = 0;
}

void CDIBMesWnd::EnableSelButtons(bool enable) {
  Trace("CDIBMesWnd::EnableSelButtons");
  for (int32_t i = 0; i < mnSelCount; ++i) SetBtnEnable(MESBTN_SEL + i, enable && mSel[i].bEnable);
}

void CDIBMesWnd::SelectStart(int32_t var, int32_t count, const char* parts, const char* hitMap) {
  Trace("CDIBMesWnd::SelectStart");
  DeleteSelButtons();
  mnSelVar = var;
  mnSelTime = 0;
  mbSelEnd = false;
  count = std::clamp(count, 0, static_cast<int32_t>(kSelMax));
  for (int32_t i = 0; i < count; ++i) {
    CtrlDef def;
    InitCtrlDef(&def);
    snprintf(def.szParts, sizeof def.szParts, "%s", parts ? parts : "");
    snprintf(def.szHitFName, sizeof def.szHitFName, "%s", hitMap ? hitMap : "");
    def.nID = MESBTN_SEL + i;
    def.nHitNo = i;
    def.x = mSel[i].x;
    def.y = mSel[i].y;
    for (int k = 0; k < 5; ++k) def.nFrame[k] = mSel[i].nFrame[k];
    def.bEnable = mSel[i].bEnable;
    def.bBlend = true;  // they fade in
    def.nJumpNum = 0;
    if (!MakeControl(CTRL_BUTTON, &def)) break;
    ++mnSelCount;
  }
  mnMode = 1;
  // Without a single button to choose, the choice ends at once and the
  // variable keeps its value.
  mbRun = mnSelCount > 0;
  if (!mbRun) mnMode = 0;
  for (int32_t i = 0; i < mnSelCount; ++i) {
    if (CDIBBaseCtrl* c = GetCtrl(MESBTN_SEL + i)) {
      c->SetPos(mSel[0].x, mSel[0].y);
      c->SetColor(i == 0 ? 0xFFFFFFFFu : 0x00FFFFFFu);
      c->UpdateVertex();
    }
  }
}

void CDIBMesWnd::MoveSelect() {
  Trace("CDIBMesWnd::MoveSelect");
  CMainWindow* app = gpMainWindow;
  CInput* input = app->mpInput;
  if (input->mWheel.nDelta > 0 && mnBLCount > 0) {
    OnClickBLPREVBTN();
    return;
  }
  if (mnSelTime < kSelAppearTime) {
    if (mbSkip || input->CheckKeyTbl(KeyTblSkip))
      mnSelTime = kSelAppearTime;
    else
      mnSelTime = std::min<int32_t>(kSelAppearTime, mnSelTime + app->mFrameTime);
    // Choices 1 … n − 1 travel from the first choice's place to their own
    // and fade in; the first stands at its place from the start.
    for (int32_t i = 1; i < mnSelCount; ++i) {
      CDIBBaseCtrl* c = GetCtrl(MESBTN_SEL + i);
      if (!c) continue;
      const int64_t t = mnSelTime;
      c->SetPos(static_cast<int32_t>(mSel[0].x + (mSel[i].x - mSel[0].x) * t / kSelAppearTime),
                static_cast<int32_t>(mSel[0].y + (mSel[i].y - mSel[0].y) * t / kSelAppearTime));
      c->SetColor(static_cast<uint32_t>(t * 255 / kSelAppearTime) << 24 | 0x00FFFFFFu);
      c->UpdateVertex();
    }
    if (mnSelTime < kSelAppearTime) return;
  }
  EnableSelButtons(true);
  for (CDIBBaseCtrl* c = GetCtrlTop(); c; c = c->GetNext()) {
    if (!c->IsDecide()) continue;
    const int32_t id = c->GetID();
    if (id >= MESBTN_SEL && id < MESBTN_SEL + mnSelCount) {
      const int32_t value = c->GetHitNo();
      CSaveData* save = app->mpSaveData;
      if (save && mnSelVar >= 0 && mnSelVar < kVariableCount) save->mVariable[mnSelVar] = value;
      mbRun = false;
      DebugOnUpdateValue(mnSelVar, value);
    }
    break;
  }
  if (!mbRun) {
    DeleteSelButtons();
    mnMode = 0;
  }
}
