#include "scenario/interp/DIBSnrScreen.h"

#include <cstdio>
#include <new>

#include "app/core/DebugHooks.h"
#include "app/core/MainWindow.h"
#include "app/core/Trace.h"
#include "app/flow/BGMChangeParam.h"
#include "app/flow/MakeScreen.h"
#include "app/flow/RootFlow.h"
#include "app/flow/ScreenFactory.h"
#include "platform/Win.h"
#include "save/SaveData.h"
#include "scene/DIBOverlap.h"
#include "text/MesWnd.h"
#include "ui/EffectParam.h"
#include "ui/Input.h"

namespace {

// Cursor slots of the scenario screen.
constexpr int kCursorNormal = 0;
constexpr int kCursorHidden = 1;
constexpr int kCursorWait = 2;

}  // namespace

CDIBSnrScreen::CDIBSnrScreen(CBaseGame* parent) : CDIBSnrBaseScreen(parent) { Trace("CDIBSnrScreen::CDIBSnrScreen"); }

CDIBSnrScreen::~CDIBSnrScreen() {
  Trace("CDIBSnrScreen::~CDIBSnrScreen");
  CDIBSnrScreen::Release();
}

CDIBBaseScreen* CDIBSnrScreen::Make(CBaseGame* parent, const void* startBlock) {
  Trace("CDIBSnrScreen::Make");
  return MakeScreen<CDIBSnrScreen, SnrStartBlock>(parent, startBlock);
}

bool CDIBSnrScreen::Initialize(const SnrStartBlock* callParam) {
  Trace("CDIBSnrScreen::Initialize");
  if (!CDIBSnrBaseScreen::Initialize(callParam)) {
    gpMainWindow->ErrorETC("CDIBSnrScreen", "CDIBSnrBaseScreen::Initialize()");
    return false;
  }
  mpMesWnd = new (std::nothrow) CDIBMesWnd(this);
  if (!mpMesWnd || !mpMesWnd->Initialize()) {
    gpMainWindow->ErrorETC("CDIBSnrScreen", "mpMesWnd");
    return false;
  }
  mpMesWnd->Close(false);
  mpMesWnd->SetCtrlActive(true);
  mpMesWnd->SetReturnBGM(mCallParam.szReturnBGM);
  mbVoiceWait = false;
  mbClickedPast = false;
  mbLoadFailed = false;
  mbTitleAsked = false;
  if (mCallParam.nLoad != 0) {
    mnLoadSlot = mCallParam.nSlot;
  } else {
    if (!ReadScenario(mCallParam.szScenario)) return false;
    mnLoadSlot = -1;
  }
  gpMainWindow->ResetLossTime();
  return true;
}

void CDIBSnrScreen::Release() {
  Trace("CDIBSnrScreen::Release");
  CDIBSnrBaseScreen::Release();
  delete mpMesWnd;
  mpMesWnd = nullptr;
}

void CDIBSnrScreen::OnChangeScreen1st() {
  Trace("CDIBSnrScreen::OnChangeScreen1st");
  CSaveData* save = gpMainWindow->mpSaveData;
  if (mnLoadSlot != -1) {
    // Once: the screen becomes current again after every movie.
    const int32_t slot = mnLoadSlot;
    mnLoadSlot = -1;
    if (!save->LoadGame(slot) || !Load(save->mpStateBuf, save->mdwStateSize)) {
      gpMainWindow->ErrorMsg("セーブデータの読み込みに失敗しました。");
      mbLoadFailed = true;
    }
  }
  for (int i = 0; i < kVariableCount; ++i) DebugOnUpdateValue(i, save->mVariable[i]);
  DebugOnSnrFileChange(save->mszSnrName);
}

void CDIBSnrScreen::OnChangeScreen2nd() { Trace("CDIBSnrScreen::OnChangeScreen2nd"); }

void CDIBSnrScreen::Move() {
  Trace("CDIBSnrScreen::Move");
  if (mbLoadFailed) {
    // A story that could not be restored is not run, not even in part;
    // the title is asked for once.
    if (!mbTitleAsked) GoToTitle();
    mbTitleAsked = true;
    return;
  }
  if (!mpMesWnd) return;
  if (!mpMesWnd->IsShow())
    gpMainWindow->ChangeCursor(kCursorHidden);
  else
    gpMainWindow->ChangeCursor(mpMesWnd->IsWait() ? kCursorWait : kCursorNormal);
  mbSkip = mpMesWnd->IsSkip();
  // A click that hurries or ends the running message: the voice of that
  // message need not be waited for.
  CInput* input = gpMainWindow->mpInput;
  if (mpMesWnd->IsRun() && !mpMesWnd->IsForcusInAll() && input && input->CheckKeyTbl(KeyTblNext))
    mbClickedPast = true;
  CDIBSnrBaseScreen::Move();
  mpMesWnd->Move();
}

void CDIBSnrScreen::Draw(CDIBImage* target) {
  Trace("CDIBSnrScreen::Draw");
  CDIBSnrBaseScreen::Draw(target);
  if (mpMesWnd && target) mpMesWnd->Draw(target);
}

void CDIBSnrScreen::CopyImage(CDIBImage* target) {
  Trace("CDIBSnrScreen::CopyImage");
  CDIBSnrBaseScreen::CopyImage(target);
  if (mpMesWnd && target) mpMesWnd->Blt(target);
}

void CDIBSnrScreen::GoToTitle() {
  Trace("CDIBSnrScreen::GoToTitle");
  TitleStartBlock block{1};
  CDIBBaseScreen* title = CreateScreen(SCREEN_TITLE, nullptr, &block);
  if (!title) {
    EndGameByError();
    return;
  }
  EffectParam first, second;
  EffectParamWriter(&first, EFFECT_FADE).Int(kEndFadeMs);
  EffectParamWriter(&second, EFFECT_FADE).Int(kEndFadeMs);
  BGMChangeParam music{};
  snprintf(music.szName, sizeof music.szName, "%s", mCallParam.szReturnBGM);
  music.dwFlags = BGMCHANGE_STOP | BGMCHANGE_PLAY;
  music.dwDelay = 0;
  music.dwFadeIn = kEndFadeMs;
  music.dwFadeOut = kEndFadeMs;
  gpMainWindow->mpRootFlow->ChangeScreen(&first, &second, &music, title, false);
}
