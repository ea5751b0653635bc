// The window's twelve buttons: making them, their handlers, the screens they
// open and the answers those screens give back.
#include <cstdio>
#include <cstring>

#include "app/core/MainWindow.h"
#include "app/core/Trace.h"
#include "app/flow/RootFlow.h"
#include "app/flow/ScreenBlocks.h"
#include "app/flow/ScreenFactory.h"
#include "assets/DIBDisplay.h"
#include "assets/DIBImage.h"
#include "audio/BGMBuffer.h"
#include "save/SaveData.h"
#include "scenario/SnrBuffer.h"
#include "text/MesWnd.h"
#include "ui/DIBBaseScreen.h"
#include "ui/DIBCheckCtrl.h"
#include "ui/EffectParam.h"

namespace {

EffectParam Fade(int32_t ms) {
  EffectParam p;
  EffectParamWriter(&p, 2).Int(ms);
  return p;
}

CSaveData* Save() { return gpMainWindow ? gpMainWindow->mpSaveData : nullptr; }
bool Replay() { return Save() && Save()->mbReplay; }
CRootFlow* Flow() { return gpMainWindow ? gpMainWindow->mpRootFlow : nullptr; }

// The program closes when a screen it needs cannot be made.
void CloseProgram() {
  if (gpMainWindow) gpMainWindow->ForceClose();
}

}  // namespace

bool CDIBMesWnd::MakeButtons() {
  Trace("CDIBMesWnd::MakeButtons");
  const MesWndSetup& s = Setup();
  for (int32_t i = 0; i < MESBTN_COUNT; ++i) {
    CtrlDef def;
    InitCtrlDef(&def);
    snprintf(def.szParts, sizeof def.szParts, "%s", s.szParts);
    snprintf(def.szHitFName, sizeof def.szHitFName, "%s", s.szHitMap);
    def.nID = i;
    def.nHitNo = s.nHitNo[i];
    def.x = s.nPos[i][0];
    def.y = s.nPos[i][1];
    const bool check = i == MESBTN_SKIP || i == MESBTN_AUTO;
    for (int k = 0; k < (check ? 10 : 5); ++k) def.nFrame[k] = s.nFrame[i][k];
    // Buttons are blended so that they fade with the window.
    def.bBlend = true;
    for (auto& row : def.Jump)
      for (int32_t& id : row) id = -1;
    const int32_t row = s.nJump[i][0];
    if (row >= 0 && row < kJumpRows)
      for (int d = 0; d < 5; ++d) def.Jump[row][d] = s.nJump[i][1 + d];
    def.nJumpNum = 1;
    if (i == MESBTN_VOICE) def.bEnterSE = false;
    if (!MakeControl(check ? CTRL_CHECK : CTRL_BUTTON, &def)) return false;
    mBasePos[i][0] = def.x;
    mBasePos[i][1] = def.y;
  }
  return true;
}

void CDIBMesWnd::SetBtnEnable(int32_t id, bool enable) {
  Trace("CDIBMesWnd::SetBtnEnable");
  CDIBBaseCtrl* c = GetCtrl(id);
  if (c && c->IsEnable() != enable) c->SetEnable(enable);
}

void CDIBMesWnd::SetCheckBox(int32_t id, bool on) {
  Trace("CDIBMesWnd::SetCheckBox");
  CDIBBaseCtrl* c = GetCtrl(id);
  if (c && c->GetType() == CTRL_CHECK) static_cast<CDIBCheckCtrl*>(c)->SetCheck(on);
}

void CDIBMesWnd::SyncCheckBoxes() {
  Trace("CDIBMesWnd::SyncCheckBoxes");
  CDIBBaseCtrl* skip = GetCtrl(MESBTN_SKIP);
  CDIBBaseCtrl* autoBox = GetCtrl(MESBTN_AUTO);
  if (skip && skip->GetType() == CTRL_CHECK) mbSkip = static_cast<CDIBCheckCtrl*>(skip)->IsCheck();
  if (autoBox && autoBox->GetType() == CTRL_CHECK) mbAuto = static_cast<CDIBCheckCtrl*>(autoBox)->IsCheck();
}

void CDIBMesWnd::SetMesSkip(bool on) {
  Trace("CDIBMesWnd::SetMesSkip");
  mbSkip = on;
  SetCheckBox(MESBTN_SKIP, on);
  if (on) {
    mbAuto = false;
    SetCheckBox(MESBTN_AUTO, false);
  }
  SyncCheckBoxes();
}

void CDIBMesWnd::SetMesAuto(bool on) {
  Trace("CDIBMesWnd::SetMesAuto");
  mbAuto = on;
  SetCheckBox(MESBTN_AUTO, on);
  if (on) {
    mbSkip = false;
    SetCheckBox(MESBTN_SKIP, false);
  }
  SyncCheckBoxes();
}

void CDIBMesWnd::OnClickSKIPBTN() {
  Trace("CDIBMesWnd::OnClickSKIPBTN");
  SyncCheckBoxes();
  if (mbSkip) SetCheckBox(MESBTN_AUTO, false);
  SyncCheckBoxes();
}

void CDIBMesWnd::OnClickAUTOBTN() {
  Trace("CDIBMesWnd::OnClickAUTOBTN");
  SyncCheckBoxes();
  if (mbAuto) SetCheckBox(MESBTN_SKIP, false);
  SyncCheckBoxes();
}

bool CDIBMesWnd::MakeSaveSum() {
  Trace("CDIBMesWnd::MakeSaveSum");
  CSaveData* save = Save();
  if (!save) return false;
  // The scenario screen as it looks now is the thumbnail's source.
  if (!mpSumSource) {
    mpSumSource = std::make_unique<CDIBImage>();
    mpSumSource->Create(800, 600);
  }
  CDIBImage* source = mpSumSource.get();
  if (GetParent()) {
    source->FillFull(0xFF000000u);
    GetParent()->CopyImage(source);
  } else if (gpMainWindow->mpDisplay) {
    source = gpMainWindow->mpDisplay->GetBackImage();
  }
  return save->CreateSaveSum(source);
}

void CDIBMesWnd::UpdateEnableQLoadBtn() {
  Trace("CDIBMesWnd::UpdateEnableQLoadBtn");
  char subTitle[64];
  SetBtnEnable(MESBTN_QLOAD, !Replay() && CSaveData::GetSubTitle(0, subTitle, nullptr, nullptr));
}

void CDIBMesWnd::OnClickQSAVEBTN() {
  Trace("CDIBMesWnd::OnClickQSAVEBTN");
  CSaveData* save = Save();
  if (!save || Replay()) return;
  MakeSaveSum();
  if (!save->SaveGame(0)) gpMainWindow->ErrorMsg("セーブデータの書き込みに失敗しました。");
  UpdateEnableQLoadBtn();
}

void CDIBMesWnd::TitleBGM(char (&name)[256]) {
  Trace("CDIBMesWnd::TitleBGM");
  strcpy(name, "M01");
  CSnrBuffer table;
  if (!table.Read("TITLE")) return;
  table.SeekBegin(0);
  char found[256] = {};
  if (table.GetSetupParam(0, 3, "S", found)) memcpy(name, found, sizeof name);
  name[sizeof name - 1] = 0;
}

void CDIBMesWnd::OnClickQLOADBTN() {
  Trace("CDIBMesWnd::OnClickQLOADBTN");
  CSaveData* save = Save();
  char subTitle[64];
  if (!save || !CSaveData::GetSubTitle(0, subTitle, nullptr, nullptr)) {
    gpMainWindow->ErrorMsg("セーブデータの読み込みに失敗しました。");
    CloseProgram();
    return;
  }
  SnrStartBlock block{};
  block.nLoad = 1;
  block.nSlot = 0;
  char music[256];
  TitleBGM(music);
  snprintf(block.szReturnBGM, sizeof block.szReturnBGM, "%.63s", music);
  CDIBBaseScreen* screen = CreateScreen(SCREEN_SNR, nullptr, &block);
  CRootFlow* flow = Flow();
  if (!screen || !flow) {
    delete screen;
    CloseProgram();
    return;
  }
  save->mbReplay = false;
  const MesWndSetup& s = Setup();
  EffectParam first = Fade(s.nTitleTrans[0]), second = Fade(s.nTitleTrans[1]);
  BGMChangeParam bgm{};
  bgm.dwFlags = BGMCHANGE_STOP;
  bgm.dwFadeIn = s.nTitleTrans[0];
  bgm.dwFadeOut = s.nTitleTrans[1];
  flow->ChangeScreen(&first, &second, &bgm, screen, false);
}

bool CDIBMesWnd::OpenScreen(int kind, const void* block, int32_t fade) {
  Trace("CDIBMesWnd::OpenScreen");
  // The new screen lies over the scenario screen and draws it as its
  // background; answers come back to this window.
  CBaseGame* parent = GetParent() ? GetParent() : this;
  CDIBBaseScreen* screen = CreateScreen(static_cast<ScreenKind>(kind), parent, block);
  CRootFlow* flow = Flow();
  if (!screen || !flow) {
    delete screen;
    CloseProgram();
    return false;
  }
  EffectParam effect = Fade(fade);
  flow->ChangeScreen(&effect, nullptr, nullptr, screen, true);
  return true;
}

void CDIBMesWnd::OnClickSAVEBTN() {
  Trace("CDIBMesWnd::OnClickSAVEBTN");
  MakeSaveSum();
  SaveLoadStartBlock block{SAVELOAD_SAVE};
  if (OpenScreen(SCREEN_SAVELOAD, &block, Setup().nScreenTrans[0])) mbSaveReturn = true;
}

void CDIBMesWnd::OnClickLOADBTN() {
  Trace("CDIBMesWnd::OnClickLOADBTN");
  SaveLoadStartBlock block{SAVELOAD_LOAD};
  OpenScreen(SCREEN_SAVELOAD, &block, Setup().nScreenTrans[1]);
}

void CDIBMesWnd::OnClickSYSTEMBTN() {
  Trace("CDIBMesWnd::OnClickSYSTEMBTN");
  OptionStartBlock block{0};
  OpenScreen(SCREEN_OPTION, &block, Setup().nScreenTrans[2]);
}

void CDIBMesWnd::OnClickTOTITLEBTN() {
  Trace("CDIBMesWnd::OnClickTOTITLEBTN");
  ConfStartBlock block{Replay() ? 4 : 1, this, 0};
  OpenScreen(SCREEN_CONF, &block, Setup().nScreenTrans[3]);
}

void CDIBMesWnd::OnClickEXITBTN() {
  Trace("CDIBMesWnd::OnClickEXITBTN");
  ConfStartBlock block{0, this, 1};
  OpenScreen(SCREEN_CONF, &block, Setup().nScreenTrans[3]);
}

int32_t CDIBMesWnd::Reaction(int32_t code, int32_t answer) {
  Trace("CDIBMesWnd::Reaction");
  CRootFlow* flow = Flow();
  if (!flow) return 0;
  const MesWndSetup& s = Setup();
  if (code == 0) {
    if (!answer) {
      EffectParam back = Fade(s.nTitleTrans[2]);
      flow->ReturnScreen(&back, nullptr, nullptr, 1);
      return 0;
    }
    EffectParam first = Fade(s.nTitleTrans[0]), second = Fade(s.nTitleTrans[1]);
    BGMChangeParam bgm{};
    bgm.dwFlags = BGMCHANGE_STOP | BGMCHANGE_PLAY;
    bgm.dwFadeIn = s.nTitleTrans[1];
    bgm.dwFadeOut = s.nTitleTrans[0];
    if (Replay()) {
      // Back past the scenario screen to the extras screen it came from,
      // with that screen's music unless it plays already.
      if (mszReturnBGM[0])
        snprintf(bgm.szName, sizeof bgm.szName, "%s", mszReturnBGM);
      else
        TitleBGM(bgm.szName);
      CBGMBuffer* music = gpMainWindow->mpBGMBuffer;
      const bool playing = music && music->CheckPlaying(bgm.szName);
      flow->ReturnScreen(&first, &second, playing ? nullptr : &bgm, 2);
      return 0;
    }
    TitleStartBlock block{1};
    CDIBBaseScreen* title = CreateScreen(SCREEN_TITLE, nullptr, &block);
    if (!title) {
      CloseProgram();
      return 0;
    }
    TitleBGM(bgm.szName);
    flow->ChangeScreen(&first, &second, &bgm, title, false);
  } else if (code == 1) {
    if (!answer) {
      EffectParam back = Fade(s.nExitTrans[1]);
      flow->ReturnScreen(&back, nullptr, nullptr, 1);
      return 0;
    }
    EffectParam out = Fade(s.nExitTrans[0]);
    BGMChangeParam bgm{};
    bgm.dwFlags = BGMCHANGE_STOP;
    bgm.dwFadeOut = s.nExitTrans[0];
    flow->ChangeScreen(&out, nullptr, &bgm, nullptr, false);
  }
  return 0;
}
