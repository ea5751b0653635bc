#include "app/flow/RootFlow.h"

#include <cstring>
#include <new>

#include "app/core/MainWindow.h"
#include "app/core/Trace.h"
#include "assets/DIBDisplay.h"
#include "assets/DIBImage.h"
#include "audio/BGMBuffer.h"
#include "platform/Window.h"
#include "scenario/SnrBuffer.h"
#include "scene/DIBOverlap.h"
#include "ui/DIBBaseScreen.h"
#include "ui/Input.h"

namespace {

constexpr uint32_t kBlack = 0xFF000000u;

bool CreateScreenImage(CDIBImage* image) { return image->Create(800, 600) && image->GetPixels(); }

}  // namespace

CRootFlow::CRootFlow() { Trace("CRootFlow::CRootFlow"); }

CRootFlow::~CRootFlow() {
  Trace("CRootFlow::~CRootFlow");
  Release();
}

bool CRootFlow::CheckScenarioData() {
  Trace("CRootFlow::CheckScenarioData");
  CSnrBuffer start;
  return start.Read("START");
}

bool CRootFlow::Initialize() {
  Trace("CRootFlow::Initialize");
  Release();
  if (!CheckScenarioData()) {
    if (gpMainWindow) gpMainWindow->ErrorMsg("データを読み込めませんでした。");
    return false;
  }
  mpBackImage = new (std::nothrow) CDIBImage;
  if (!mpBackImage || !CreateScreenImage(mpBackImage)) {
    if (gpMainWindow) gpMainWindow->ErrorMemory("CRootFlow", "mpBackImage");
    return false;
  }
  mpOverlap = new (std::nothrow) CDIBOverlap;
  if (!mpOverlap) {
    if (gpMainWindow) gpMainWindow->ErrorMemory("CRootFlow", "mpOverlap");
    return false;
  }
  mpOVImage = new (std::nothrow) CDIBImage[2];
  if (!mpOVImage || !CreateScreenImage(&mpOVImage[0]) || !CreateScreenImage(&mpOVImage[1])) {
    if (gpMainWindow) gpMainWindow->ErrorMemory("CRootFlow", "mpOVImage");
    return false;
  }
  mpOVImage[0].FillFull(kBlack);
  mpOVImage[1].FillFull(kBlack);
  return true;
}

void CRootFlow::Release() {
  Trace("CRootFlow::Release");
  // The transition refers to the images; it goes first.
  delete mpOverlap;
  mpOverlap = nullptr;
  if (mpNextScreen != mpScreen) delete mpNextScreen;
  mpNextScreen = nullptr;
  delete mpScreen;
  mpScreen = nullptr;
  ClearStack();
  delete mpBackImage;
  mpBackImage = nullptr;
  delete[] mpOVImage;
  mpOVImage = nullptr;
  mbChanging = false;
  mbSecondEffect = false;
  mbBGMChange = false;
  mbSwitched = false;
}

void CRootFlow::ClearStack() {
  Trace("CRootFlow::ClearStack");
  for (int32_t i = mStackCount - 1; i >= 0; --i) {
    delete mpStack[i];
    mpStack[i] = nullptr;
  }
  mStackCount = 0;
}

bool CRootFlow::Owns(const CDIBBaseScreen* screen) const {
  Trace("CRootFlow::Owns");
  if (screen == mpScreen || screen == mpNextScreen) return true;
  for (int32_t i = 0; i < mStackCount; ++i)
    if (mpStack[i] == screen) return true;
  return false;
}

void CRootFlow::DiscardRefused(CDIBBaseScreen* screen) {
  Trace("CRootFlow::DiscardRefused");
  if (screen && !Owns(screen)) delete screen;
}

void CRootFlow::CaptureScreen(CDIBBaseScreen* screen, CDIBImage* image) {
  Trace("CRootFlow::CaptureScreen");
  if (screen)
    screen->CopyImage(image);
  else
    image->FillFull(kBlack);
}

void CRootFlow::StartTransition(const EffectParam* effect) {
  Trace("CRootFlow::StartTransition");
  mpOverlap->InitEffect(&mpOVImage[0], &mpOVImage[1], effect);
}

void CRootFlow::StartSecondStage(const EffectParam* effect, const EffectParam* second) {
  Trace("CRootFlow::StartSecondStage");
  mpOVImage[1].FillFull(mBlankColor);
  StartTransition(effect);
  mSecondEffect = *second;
  mbSecondEffect = true;
}

void CRootFlow::StartBGMChange(const BGMChangeParam* bgm) {
  Trace("CRootFlow::StartBGMChange");
  if (!bgm) {
    mbBGMChange = false;
    return;
  }
  mBGMChange = *bgm;
  mBGMChange.szName[sizeof mBGMChange.szName - 1] = 0;
  mbBGMChange = true;
  mBGMWait = 0;
  mbBGMSkip = false;
  mBGMState = BGMSTATE_DELAY;
  CBGMBuffer* music = gpMainWindow ? gpMainWindow->mpBGMBuffer : nullptr;
  if ((mBGMChange.dwFlags & BGMCHANGE_PLAY) && music) music->Cache(mBGMChange.szName);
}

void CRootFlow::ChangeScreen(const EffectParam* effect, const EffectParam* second, const BGMChangeParam* bgm,
                             CDIBBaseScreen* screen, bool keep) {
  Trace("CRootFlow::ChangeScreen");
  // A second switch while one is under way, or keeping a screen on a full
  // stack, is refused quietly.
  if (mbChanging || !mpOverlap || (screen && screen == mpScreen) || (keep && mpScreen && mStackCount >= kStackSize)) {
    DiscardRefused(screen);
    return;
  }
  if (!keep) ClearStack();
  mpNextScreen = screen;
  mbPushScreen = keep;
  mbChanging = true;
  CaptureScreen(mpScreen, &mpOVImage[0]);
  if (!second) {
    if (screen) screen->OnChangeScreen1st();
    CaptureScreen(screen, &mpOVImage[1]);
    StartTransition(effect);
    mbSecondEffect = false;
  } else {
    StartSecondStage(effect, second);
  }
  StartBGMChange(bgm);
}

void CRootFlow::ReturnScreen(const EffectParam* effect, const EffectParam* second, const BGMChangeParam* bgm,
                             int32_t levels) {
  Trace("CRootFlow::ReturnScreen");
  if (mbChanging || !mpOverlap) return;
  for (int32_t i = 1; i < levels; ++i) {
    if (mStackCount == 0) return;
    delete mpStack[--mStackCount];
    mpStack[mStackCount] = nullptr;
  }
  if (mStackCount == 0) return;
  mpNextScreen = mpStack[--mStackCount];
  mpStack[mStackCount] = nullptr;
  mbPushScreen = false;
  mbChanging = true;
  CaptureScreen(mpScreen, &mpOVImage[0]);
  if (!second) {
    // The returned screen keeps the state it was left in.
    mpNextScreen->CopyImage(&mpOVImage[1]);
    StartTransition(effect);
    mbSecondEffect = false;
  } else {
    StartSecondStage(effect, second);
  }
  StartBGMChange(bgm);
}

void CRootFlow::Move() {
  Trace("CRootFlow::Move");
  if (!mpOverlap) return;
  if (!mpOverlap->IsRun() && !mbBGMChange && !mbChanging) {
    if (mpScreen) {
      mpScreen->Move();
      mpScreen->UpdateForcus();
      mpScreen->Update();
    }
    return;
  }

  const bool proceed = mbBGMChange ? MoveBGMChange() : true;

  CInput* input = gpMainWindow ? gpMainWindow->mpInput : nullptr;
  if ((input && input->CheckKeyTbl(KeyTblAny)) || (gpMainWindow && gpMainWindow->mbNoneEffect)) {
    mpOverlap->SetFinish();
    mbBGMSkip = true;
  }

  mpOverlap->Move(gpMainWindow ? gpMainWindow->mFrameTime : 30);

  if (!mpOverlap->IsRun()) {
    if (mbSecondEffect && proceed) {
      mpOVImage[0].FillFull(mBlankColor);
      if (mpNextScreen) mpNextScreen->OnChangeScreen1st();
      CaptureScreen(mpNextScreen, &mpOVImage[1]);
      StartTransition(&mSecondEffect);
      mbSecondEffect = false;
    } else if (!mbSecondEffect && !mbBGMChange) {
      if (mpScreen) {
        if (mbPushScreen && mStackCount < kStackSize)
          mpStack[mStackCount++] = mpScreen;
        else
          delete mpScreen;
        mpScreen = nullptr;
      }
      mbChanging = false;
      if (mpNextScreen) {
        mpNextScreen->OnChangeScreen2nd();
        mpScreen = mpNextScreen;
        mpNextScreen = nullptr;
        mpScreen->ResetForcusInAll();
        mbSwitched = true;
      } else if (gpMainWindow) {
        plat::PostMessage(gpMainWindow->GetHWnd(), plat::WM_CLOSE, 0, 0);
      }
    }
  }

  if (gpMainWindow && gpMainWindow->mpDisplay) gpMainWindow->mpDisplay->InvalidateAll();
}

void CRootFlow::Draw(CDIBImage* target) {
  Trace("CRootFlow::Draw");
  if (!target || !mpOverlap) return;
  if (mpOverlap->IsRun()) {
    mpOverlap->Draw(target);
    return;
  }
  if (mbSwitched) {
    // The new screen composes its own picture from the next frame on; until
    // then it is the picture captured for the transition.
    mbSwitched = false;
    mpOVImage[1].Copy(target, 0, 0, 0, 0, mpOVImage[1].GetWidth(), mpOVImage[1].GetHeight());
    return;
  }
  if (!mpScreen || mbChanging) return;
  if (mbBGMChange) {
    target->FillFull(kBlack);
    return;
  }
  mpScreen->Draw(target);
}
