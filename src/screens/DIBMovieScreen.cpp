#include "screens/DIBMovieScreen.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "app/core/MainWindow.h"
#include "app/core/Trace.h"
#include "app/flow/BGMChangeParam.h"
#include "app/flow/MakeScreen.h"
#include "app/flow/RootFlow.h"
#include "assets/DIBDisplay.h"
#include "assets/DIBImage.h"
#include "save/SaveData.h"
#include "scene/DIBOverlap.h"
#include "ui/EffectParam.h"
#include "ui/Input.h"
#include "video/VideoPlayer.h"

namespace {
constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int32_t kReturnFadeMs = 1000;
constexpr uint32_t kReturnMusicFadeInMs = 1000;
}  // namespace

CDIBMovieScreen::CDIBMovieScreen(CBaseGame* parent) : CDIBBaseScreen(parent) {
  Trace("CDIBMovieScreen::CDIBMovieScreen");
}

CDIBMovieScreen::~CDIBMovieScreen() {
  Trace("CDIBMovieScreen::~CDIBMovieScreen");
  CDIBMovieScreen::Release();
}

CDIBBaseScreen* CDIBMovieScreen::Make(CBaseGame* parent, const void* startBlock) {
  Trace("CDIBMovieScreen::Make");
  return MakeScreen<CDIBMovieScreen, MovieStartBlock>(parent, startBlock);
}

bool CDIBMovieScreen::Initialize(const MovieStartBlock* block) {
  Trace("CDIBMovieScreen::Initialize");
  Release();
  if (!CBaseGame::Initialize() || !block) return false;
  mBlock = *block;
  // The names come from the opener: they end inside their fields.
  mBlock.szMovie[sizeof mBlock.szMovie - 1] = 0;
  mBlock.szReturnBGM[sizeof mBlock.szReturnBGM - 1] = 0;
  mnStep = MOVIE_STEP_START;
  mpLastFrame = new (std::nothrow) CDIBImage;
  if (!mpLastFrame || !mpLastFrame->Create(kWidth, kHeight) || !mpLastFrame->GetPixels()) return false;
  mpLastFrame->FillFull(0);
  if (gpMainWindow) gpMainWindow->ResetLossTime();
  return true;
}

void CDIBMovieScreen::Release() {
  Trace("CDIBMovieScreen::Release");
  // A screen that goes while its movie still plays (the game is closed)
  // takes the movie with it.
  CVideoPlayer* player = gpMainWindow ? gpMainWindow->mpVideoPlayer : nullptr;
  if (player && (mnStep == MOVIE_STEP_PLAY || mnStep == MOVIE_STEP_STOP)) {
    player->Stop();
    player->Cleanup();
  }
  mnStep = MOVIE_STEP_START;
  delete mpLastFrame;
  mpLastFrame = nullptr;
  CDIBBaseScreen::Release();
}

void CDIBMovieScreen::Move() {
  Trace("CDIBMovieScreen::Move");
  gpMainWindow->ChangeCursor(0);
  CVideoPlayer* player = gpMainWindow->mpVideoPlayer;
  switch (mnStep) {
    case MOVIE_STEP_START: {
      const ConfigRecord& config = gpMainWindow->mpSaveData->mConfig;
      player->SetVolume(config.bBGM ? config.nBGMVol : 0);
      if (!player->Play(mBlock.szMovie, mBlock.bGrab)) {
        // The movie is skipped: back at once, and again each frame until
        // the flow takes the return.
        mnStep = MOVIE_STEP_RETURN;
        OnEnd();
        return;
      }
      mnStep = MOVIE_STEP_PLAY;
      break;
    }
    case MOVIE_STEP_PLAY:
      if ((mBlock.bSkip && gpMainWindow->mpInput->CheckKeyTbl(KeyTblMovie)) || player->mbEnd) mnStep = MOVIE_STEP_STOP;
      break;
    case MOVIE_STEP_STOP:
      player->Stop();
      if (player->mpFrame)
        player->mpFrame->Copy(mpLastFrame, 0, 0, 0, 0, player->mpFrame->GetWidth(), player->mpFrame->GetHeight());
      player->Cleanup();
      mnStep = MOVIE_STEP_RETURN;
      break;
    default:
      OnEnd();
      break;
  }
}

void CDIBMovieScreen::OnEnd() {
  Trace("CDIBMovieScreen::OnEnd");
  CRootFlow* flow = gpMainWindow ? gpMainWindow->mpRootFlow : nullptr;
  if (!flow) return;
  EffectParam out, in;
  EffectParamWriter(&out, EFFECT_FADE).Int(kReturnFadeMs);
  EffectParamWriter(&in, EFFECT_FADE).Int(kReturnFadeMs);
  if (!mBlock.szReturnBGM[0]) {
    flow->ReturnScreen(&out, &in, nullptr, 1);
    return;
  }
  BGMChangeParam music{};
  snprintf(music.szName, sizeof music.szName, "%s", mBlock.szReturnBGM);
  music.dwFlags = BGMCHANGE_PLAY;
  music.dwDelay = 0;
  music.dwFadeIn = kReturnMusicFadeInMs;
  music.dwFadeOut = 0;
  flow->ReturnScreen(&out, &in, &music, 1);
}

void CDIBMovieScreen::Draw(CDIBImage* target) {
  Trace("CDIBMovieScreen::Draw");
  CVideoPlayer* player = gpMainWindow ? gpMainWindow->mpVideoPlayer : nullptr;
  if ((player && player->mbPlay) || !target || !mpLastFrame) return;
  mpLastFrame->Copy(target, 0, 0, 0, 0, kWidth, kHeight);
  // The screen draws all of itself; all of it is shown.
  if (gpMainWindow && gpMainWindow->mpDisplay) gpMainWindow->mpDisplay->InvalidateAll();
}

void CDIBMovieScreen::CopyImage(CDIBImage* target) {
  Trace("CDIBMovieScreen::CopyImage");
  if (target && mpLastFrame) mpLastFrame->Copy(target, 0, 0, 0, 0, kWidth, kHeight);
}

void CDIBMovieScreen::Update() { Trace("CDIBMovieScreen::Update"); }
