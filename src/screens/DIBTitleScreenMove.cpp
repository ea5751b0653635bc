// The title screen's frames: the opening, the title pictures and the name,
// the menu and what its buttons open.
#include <cstdio>
#include <cstring>

#include "app/core/MainWindow.h"
#include "app/core/Trace.h"
#include "app/flow/RootFlow.h"
#include "app/flow/ScreenFactory.h"
#include "assets/DIBDisplay.h"
#include "audio/BGMBuffer.h"
#include "save/SaveData.h"
#include "scene/DIBOverlap.h"
#include "screens/DIBTitleScreen.h"
#include "screens/ScreenHelpers.h"
#include "ui/DIBBaseCtrl.h"
#include "ui/Input.h"

namespace {
// The title pictures' transitions take a second each.
constexpr int32_t kPictureTransMs = 1000;
// The opening's first start has no visible fade.
constexpr int32_t kFirstOpeningFadeMs = 1;

bool Hurried() {
  Trace("Hurried");
  return gpMainWindow->mbNoneEffect || gpMainWindow->mpInput->CheckKeyTbl(KeyTblAny);
}
}  // namespace

void CDIBTitleScreen::Move() {
  Trace("CDIBTitleScreen::Move");
  CDIBBaseScreen::Move();
  gpMainWindow->ChangeCursor(0);
  switch (mnPhase) {
    case TITLE_PHASE_OPENING: MoveOP(); break;
    case TITLE_PHASE_NAME: MoveName(); break;
    default: MoveMenu(); break;
  }
  if (mpOverlap) mpOverlap->Move(gpMainWindow->mFrameTime);
  MoveSprtMotion(&mNameMotion);
  UpdateNameVB();
}

void CDIBTitleScreen::MoveOP() {
  Trace("CDIBTitleScreen::MoveOP");
  const TitleLayout& s = Layout();
  // The title music is selected and silent: the movie screen starts it
  // when the movie ends.
  if (CBGMBuffer* bgm = gpMainWindow->mpBGMBuffer) {
    bgm->Read(s.szMusic);
    bgm->Play(0, true);
    bgm->Stop(0);
  }
  MovieStartBlock block{};
  snprintf(block.szMovie, sizeof block.szMovie, "%s", s.szMovie);
  block.bGrab = false;
  block.bSkip = true;
  snprintf(block.szReturnBGM, sizeof block.szReturnBGM, "%s", s.szMusic);
  CRootFlow* flow = screens::Flow();
  CDIBBaseScreen* movie = flow ? CreateScreen(SCREEN_MOVIE, this, &block) : nullptr;
  if (!movie) {
    screens::EndProgram();
    return;
  }
  const int32_t out = mbFirst ? kFirstOpeningFadeMs : s.nOpeningFade[0];
  const int32_t in = mbFirst ? kFirstOpeningFadeMs : s.nOpeningFade[1];
  EffectParam first = screens::Fade(out), second = screens::Fade(in);
  BGMChangeParam music = screens::Music("", BGMCHANGE_STOP, 0, out);
  flow->ChangeScreen(&first, &second, &music, movie, true);

  mbVisible = true;
  mNameMotion.bActive = false;
  UpdateBaseImage();
  CDIBBaseScreen::CopyImage(mpDrawImage);
  mnPicture = TITLE_PICTURE_FIRST;
  UpdateBaseImage();
  mbFirst = false;
  mnPhase = TITLE_PHASE_NAME;
  mnStep = 0;
}

void CDIBTitleScreen::StartOverlap(const char* mask) {
  Trace("CDIBTitleScreen::StartOverlap");
  EffectParam effect;
  if (mask && mask[0] && CDIBOverlap::HasEffect(EFFECT_ALPHA))
    EffectParamWriter(&effect, EFFECT_ALPHA).Int(kPictureTransMs).Int(0).Name(mask).Int(255);
  else
    EffectParamWriter(&effect, EFFECT_FADE).Int(kPictureTransMs);
  mpOverlap->InitEffect(mpStageImage[0], mpStageImage[1], &effect);
}

void CDIBTitleScreen::HurryOverlap() {
  Trace("CDIBTitleScreen::HurryOverlap");
  if (Hurried()) mpOverlap->SetFinish();
}

void CDIBTitleScreen::MoveName() {
  Trace("CDIBTitleScreen::MoveName");
  const TitleLayout& s = Layout();
  CDIBDisplay* display = gpMainWindow->mpDisplay;
  switch (mnStep) {
    case 0:
      SetAllCtrlInput(false);
      mnPicture = TITLE_PICTURE_SECOND;
      ComposePicture(TITLE_PICTURE_FIRST, mpStageImage[0]);
      ComposePicture(TITLE_PICTURE_SECOND, mpStageImage[1]);
      StartOverlap(s.szMask[1]);
      mnStep = 1;
      break;
    case 1:
      if (mpOverlap->IsRun()) {
        HurryOverlap();
        break;
      }
      mnPicture = TITLE_PICTURE_BACK;
      UpdateBaseImage();
      CDIBBaseScreen::CopyImage(mpDrawImage);
      // From the second picture to the whole title screen, its buttons too.
      ComposePicture(TITLE_PICTURE_SECOND, mpStageImage[0]);
      CopyImage(mpStageImage[1]);
      StartOverlap(s.szMask[2]);
      mnStep = 2;
      break;
    case 2:
      if (mpOverlap->IsRun()) {
        HurryOverlap();
        break;
      }
      mnStep = 10;
      break;
    case 10:
      mNameMotion.bActive = true;
      SetSprtMotion(&mNameMotion, 1, s.nName[4], false);
      mnStep = 11;
      return;
    default:
      if (Hurried()) mNameMotion.bSkip = true;
      if (mNameMotion.nTime >= mNameMotion.nSpan) {
        SetAllCtrlInput(true);
        mnStep = 0;
        mnPhase = TITLE_PHASE_MENU;
        mnMenuTime = 0;
      }
      return;
  }
  if (display) display->InvalidateAll();
}

void CDIBTitleScreen::MoveMenu() {
  Trace("CDIBTitleScreen::MoveMenu");
  // Every frame on the screen counts, whatever the player does.
  if (mnMenuTime > Layout().nIdleTime) {
    mnPhase = TITLE_PHASE_OPENING;
    mnMenuTime = 0;
    return;
  }
  mnMenuTime += gpMainWindow->mFrameTime;
  static void (CDIBTitleScreen::*const kHandlers[TitleLayout::kButtons])() = {
      &CDIBTitleScreen::OnStartBtn, &CDIBTitleScreen::OnLoadBtn, &CDIBTitleScreen::OnOptionBtn,
      &CDIBTitleScreen::OnOmakeBtn, &CDIBTitleScreen::OnEndBtn};
  for (int id = 0; id < TitleLayout::kButtons; ++id) {
    CDIBBaseCtrl* button = GetCtrl(id);
    if (button && button->IsDecide()) {
      (this->*kHandlers[id])();
      return;
    }
  }
}

void CDIBTitleScreen::OnStartBtn() {
  Trace("CDIBTitleScreen::OnStartBtn");
  const TitleLayout& s = Layout();
  gpMainWindow->mpSaveData->mbReplay = false;
  SnrStartBlock block{};
  block.nLoad = 0;
  snprintf(block.szScenario, sizeof block.szScenario, "START");
  snprintf(block.szReturnBGM, sizeof block.szReturnBGM, "%s", s.szMusic);
  CRootFlow* flow = screens::Flow();
  CDIBBaseScreen* game = flow ? CreateScreen(SCREEN_SNR, nullptr, &block) : nullptr;
  if (!game) {
    screens::EndProgram();
    return;
  }
  EffectParam first = screens::Fade(s.nStartFade[0]), second = screens::Fade(s.nStartFade[1]);
  BGMChangeParam music = screens::Music("", BGMCHANGE_STOP, s.nStartFade[1], s.nStartFade[0]);
  flow->ChangeScreen(&first, &second, &music, game, false);
}

void CDIBTitleScreen::OnLoadBtn() {
  Trace("CDIBTitleScreen::OnLoadBtn");
  SaveLoadStartBlock block{SAVELOAD_LOAD};
  screens::OpenOver(SCREEN_SAVELOAD, this, &block, Layout().nLoadFade);
}

void CDIBTitleScreen::OnOptionBtn() {
  Trace("CDIBTitleScreen::OnOptionBtn");
  OptionStartBlock block{0};
  screens::OpenOver(SCREEN_OPTION, this, &block, Layout().nMenuFade);
}

void CDIBTitleScreen::OnOmakeBtn() {
  Trace("CDIBTitleScreen::OnOmakeBtn");
  OmakeStartBlock block{};
  snprintf(block.szReturnBGM, sizeof block.szReturnBGM, "%s", Layout().szMusic);
  screens::OpenOver(SCREEN_OMAKE, this, &block, Layout().nMenuFade);
}

void CDIBTitleScreen::OnEndBtn() {
  Trace("CDIBTitleScreen::OnEndBtn");
  ConfStartBlock block{0, this, 0};
  screens::OpenOver(SCREEN_CONF, this, &block, Layout().nEndFade[0]);
}

int32_t CDIBTitleScreen::Reaction(int32_t code, int32_t answer) {
  Trace("CDIBTitleScreen::Reaction");
  CRootFlow* flow = screens::Flow();
  if (code != 0 || !flow || flow->IsChanging()) return 0;
  const TitleLayout& s = Layout();
  if (answer == 1) {
    // Picture and music fade out together; the game ends with the switch.
    EffectParam out = screens::Fade(s.nEndFade[1]);
    BGMChangeParam music = screens::Music("", BGMCHANGE_STOP, 0, s.nEndFade[1]);
    flow->ChangeScreen(&out, nullptr, &music, nullptr, false);
  } else {
    EffectParam back = screens::Fade(s.nEndFade[2]);
    flow->ReturnScreen(&back, nullptr, nullptr, 1);
  }
  return 0;
}
