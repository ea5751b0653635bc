// The scenario screen's story commands: choices in the message window and
// on the choice screen, save points, movies and the end of a story.
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "app/core/MainWindow.h"
#include "app/core/Trace.h"
#include "app/flow/BGMChangeParam.h"
#include "app/flow/RootFlow.h"
#include "app/flow/ScreenFactory.h"
#include "audio/BGMBuffer.h"
#include "save/SaveData.h"
#include "scenario/interp/DIBSnrScreen.h"
#include "scenario/interp/SnrParams.h"
#include "scene/DIBOverlap.h"
#include "text/MesWnd.h"
#include "ui/EffectParam.h"

namespace {

// SELECT: variable, background, count, then 1 to 16 item numbers.
constexpr int kSelectMin = 4;
constexpr int kSelectMax = 19;

EffectParam Fade(int32_t ms) {
  EffectParam effect;
  EffectParamWriter(&effect, EFFECT_FADE).Int(ms);
  return effect;
}

}  // namespace

void CDIBSnrScreen::MoveCmdSELMAKE() {
  Trace("CDIBSnrScreen::MoveCmdSELMAKE");
  CSnrParams p(mpBuffer);
  if (!CheckCount("SELMAKE", p, 9, 9) || !CheckKinds("SELMAKE", p, "i")) return;
  // The window holds a fixed number of choices.
  if (!CheckRange("SELMAKE", 1, p.Int(0), 0, CDIBMesWnd::kSelMax - 1)) return;
  int32_t frames[5];
  for (int i = 0; i < 5; ++i) frames[i] = p.Int(4 + i);
  mpMesWnd->MakeSelData(p.Int(0), p.Int(1) != 0, p.Int(2), p.Int(3), frames);
  StepOn();
  mbContinue = true;
}

void CDIBSnrScreen::MoveCmdSELRUN() {
  Trace("CDIBSnrScreen::MoveCmdSELRUN");
  CSnrParams p(mpBuffer);
  if (!CheckCount("SELRUN", p, 4, 4) || !CheckKinds("SELRUN", p, "iiss")) return;
  if (mnExitParam == 0) {
    if (!CheckWndOpen("SELRUN")) return;
    // A choice of nothing could never be answered.
    if (!CheckRange("SELRUN", 1, p.Int(0), 0, kVariableCount - 1) ||
        !CheckRange("SELRUN", 2, p.Int(1), 1, CDIBMesWnd::kSelMax))
      return;
    char parts[256];
    snprintf(parts, sizeof parts, "%s", p.Str(2));
    mpMesWnd->SelectStart(p.Int(0), p.Int(1), parts, p.Str(3));
    mnExitParam = 1;
  }
  WaitMesWnd();
}

void CDIBSnrScreen::MoveCmdSELECT() {
  Trace("CDIBSnrScreen::MoveCmdSELECT");
  CSnrParams p(mpBuffer);
  if (!CheckCount("SELECT", p, kSelectMin, kSelectMax) || !CheckKinds("SELECT", p, "isi")) return;
  SelectStartBlock block{};
  block.nVar = p.Int(0);
  if (!CheckRange("SELECT", 1, block.nVar, 0, kVariableCount - 1)) return;
  snprintf(block.szBack, sizeof block.szBack, "%s", p.Str(1));
  // The count names the items that follow it; no choice at all is left to
  // the choice screen, which refuses it.
  block.nCount = p.Int(2);
  if (!CheckRange("SELECT", 3, block.nCount, 0, p.Count() - 3)) return;
  for (int i = 0; i < block.nCount; ++i) {
    block.nItem[i] = p.Int(3 + i);
    if (!CheckRange("SELECT", 4 + i, block.nItem[i], 0, kSlotCount - 1)) return;
  }
  CDIBBaseScreen* screen = CreateScreen(SCREEN_SELECT, this, &block);
  if (!screen) return EndGameByError();
  const EffectParam fade = Fade(kSelectFadeMs);
  gpMainWindow->mpRootFlow->ChangeScreen(&fade, nullptr, nullptr, screen, true);
  StepOn();
  mbContinue = false;
}

void CDIBSnrScreen::MoveCmdLPT() {
  Trace("CDIBSnrScreen::MoveCmdLPT");
  int32_t loadPoint = 0;
  CSnrParams p(mpBuffer);
  if (!CheckCount("LPT", p, 1, 1) || !CheckKinds("LPT", p, "i")) return;
  loadPoint = p.Int(0);
  gpMainWindow->mpSaveData->SaveConfig();
  Save(loadPoint);
  StepOn();
  mbContinue = true;
}

void CDIBSnrScreen::MoveCmdMOVIE() {
  Trace("CDIBSnrScreen::MoveCmdMOVIE");
  CSnrParams p(mpBuffer);
  if (!CheckCount("MOVIE", p, 3, 3) || !CheckKinds("MOVIE", p, "ssi")) return;
  if (mnExitParam != 0) {
    // The movie screen has returned.
    StepOn();
    mbContinue = true;
    return;
  }
  MovieStartBlock block{};
  snprintf(block.szMovie, sizeof block.szMovie, "%s", p.Str(0));
  snprintf(block.szReturnBGM, sizeof block.szReturnBGM, "%s", p.Str(1));
  block.bGrab = false;
  block.bSkip = p.Int(2) != 0;
  CDIBBaseScreen* screen = CreateScreen(SCREEN_MOVIE, this, &block);
  if (!screen) return EndGameByError();
  const EffectParam first = Fade(kMovieFadeMs), second = Fade(kMovieSecondFadeMs);
  BGMChangeParam music{};
  music.dwFlags = BGMCHANGE_STOP;
  music.dwFadeOut = kMovieFadeMs;
  gpMainWindow->mpRootFlow->ChangeScreen(&first, &second, &music, screen, true);
  mnExitParam = 1;
  mbContinue = false;
}

void CDIBSnrScreen::MoveCmdEND() {
  Trace("CDIBSnrScreen::MoveCmdEND");
  mbContinue = false;
  mbExit = false;
  // The switch is asked for once; the command stays until it takes effect.
  if (mnExitParam != 0) return;
  mnExitParam = 1;
  if (!gpMainWindow->mpSaveData->mbReplay) return GoToTitle();

  const EffectParam fade = Fade(kEndFadeMs);
  BGMChangeParam music{};
  snprintf(music.szName, sizeof music.szName, "%s", mCallParam.szReturnBGM);
  CBGMBuffer* player = gpMainWindow->mpBGMBuffer;
  if (!mCallParam.szReturnBGM[0])
    music.dwFlags = BGMCHANGE_STOP;
  else if (player && player->CheckPlaying(mCallParam.szReturnBGM))
    music.dwFlags = 0;
  else
    music.dwFlags = BGMCHANGE_STOP | BGMCHANGE_PLAY;
  music.dwDelay = 0;
  music.dwFadeIn = kEndFadeMs;
  music.dwFadeOut = kEndFadeMs;
  gpMainWindow->mpRootFlow->ReturnScreen(&fade, &fade, &music, 1);
}
