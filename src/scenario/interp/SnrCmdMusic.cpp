// Music and voices: name lists, playing, stopping and waiting, hurried by
// the player.
#include <cstdio>
#include <cstring>

#include "app/core/MainWindow.h"
#include "app/core/Trace.h"
#include "audio/BGMBuffer.h"
#include "audio/VoiceBuffer.h"
#include "save/SaveData.h"
#include "scenario/SnrBuffer.h"
#include "scenario/interp/DIBSnrBaseScreen.h"
#include "scenario/interp/SnrParams.h"
#include "scenario/interp/SnrSoundUtil.h"
#include "ui/Input.h"

bool CDIBSnrBaseScreen::IsHurry() const {
  Trace("CDIBSnrBaseScreen::IsHurry");
  if (mbSkip || gpMainWindow->mbNoneEffect) return true;
  CInput* input = gpMainWindow->mpInput;
  return input && (input->CheckKeyTbl(KeyTblNext) || input->CheckKeyTbl(KeyTblSkip));
}

void CDIBSnrBaseScreen::MoveCmdBGMLIST() {
  Trace("CDIBSnrBaseScreen::MoveCmdBGMLIST");
  CSnrParams p(mpBuffer);
  if (!CheckCount("BGMLIST", p, 2, 2) || !CheckKinds("BGMLIST", p, "is")) return;
  int32_t index = p.Int(0);
  if (!CheckRange("BGMLIST", 1, index, 0, kSlotCount - 1)) return;
  snprintf(gpMainWindow->mpSaveData->mBGMList[index], kNameLen, "%s", p.Str(1));
  StepOn();
  mbContinue = true;
}

void CDIBSnrBaseScreen::MoveCmdBGMPLAY() {
  Trace("CDIBSnrBaseScreen::MoveCmdBGMPLAY");
  CSnrParams p(mpBuffer);
  if (!CheckCount("BGMPLAY", p, 4, 4) || !CheckKinds("BGMPLAY", p, "*iii")) return;
  mbContinue = false;
  CBGMBuffer* bgm = gpMainWindow->mpBGMBuffer;
  if (!bgm || !snr::HasSoundDevice()) return StepOn();
  bool hurry = IsHurry();
  if (mnExitParam == 0) {
    char name[256];
    if (p.IsString(0)) {
      snprintf(name, sizeof name, "%s", p.Str(0));
    } else {
      int32_t index = p.Int(0);
      if (!CheckRange("BGMPLAY", 1, index, 0, kSlotCount - 1)) return;
      snprintf(name, sizeof name, "%s", gpMainWindow->mpSaveData->mBGMList[index]);
    }
    bool wait = p.Int(1) != 0 && !hurry;
    uint32_t fadeIn = hurry ? 0 : snr::Millis(p.Int(3));
    if (!bgm->Read(name)) {
      ErrorRead("BGMPLAY", name, false);
      return StepOn();
    }
    bgm->Play(fadeIn, p.Int(2) != 0);
    if (wait) {
      mnExitParam = 1;
      return;
    }
    return StepOn();
  }
  if (hurry) bgm->mbFadeSkip = true;
  // Play starts the piece at once; a piece that has already ended (one
  // shorter than its fade) has nothing left to wait for.
  if (bgm->mbPlay && bgm->mFadeMode == 1) return;
  StepOn();
}

void CDIBSnrBaseScreen::MoveCmdBGMSTOP() {
  Trace("CDIBSnrBaseScreen::MoveCmdBGMSTOP");
  CSnrParams p(mpBuffer);
  if (!CheckCount("BGMSTOP", p, 2, 2) || !CheckKinds("BGMSTOP", p, "ii")) return;
  mbContinue = false;
  CBGMBuffer* bgm = gpMainWindow->mpBGMBuffer;
  if (!bgm) return StepOn();
  bool hurry = IsHurry();
  if (mnExitParam == 0) {
    bool wait = p.Int(0) != 0 && !hurry;
    bgm->Stop(hurry ? 0 : snr::Millis(p.Int(1)));
    if (wait) {
      mnExitParam = 1;
      return;
    }
    return StepOn();
  }
  if (hurry) bgm->mbFadeSkip = true;
  if (bgm->mFadeMode == 2 || bgm->mbPlay) return;
  StepOn();
}

void CDIBSnrBaseScreen::MoveCmdBGMWAIT() {
  Trace("CDIBSnrBaseScreen::MoveCmdBGMWAIT");
  CSnrParams p(mpBuffer);
  if (!CheckCount("BGMWAIT", p, 1, 1) || !CheckKinds("BGMWAIT", p, "i")) return;
  mbContinue = false;
  int32_t mode = p.Int(0);
  if (mode != 0 && mode != 1) return ErrorParam("BGMWAIT", 2);
  CBGMBuffer* bgm = gpMainWindow->mpBGMBuffer;
  if (!bgm) return StepOn();
  if (IsHurry()) bgm->mbFadeSkip = true;
  if (bgm->mbPlay && bgm->mFadeMode == (mode == 0 ? 1 : 2)) return;
  StepOn();
}

void CDIBSnrBaseScreen::MoveCmdVOICELIST() {
  Trace("CDIBSnrBaseScreen::MoveCmdVOICELIST");
  CSnrParams p(mpBuffer);
  if (!CheckCount("VOICELIST", p, 2, 2) || !CheckKinds("VOICELIST", p, "is")) return;
  int32_t index = p.Int(0);
  if (!CheckRange("VOICELIST", 1, index, 0, kSlotCount - 1)) return;
  snprintf(gpMainWindow->mpSaveData->mVoiceList[index], kNameLen, "%s", p.Str(1));
  StepOn();
  mbContinue = true;
}

void CDIBSnrBaseScreen::MoveCmdVOICEPLAY() {
  Trace("CDIBSnrBaseScreen::MoveCmdVOICEPLAY");
  CSnrParams p(mpBuffer);
  if (!CheckCount("VOICEPLAY", p, 2, 3)) return;
  bool byList = p.Count() == 3;
  if (!CheckKinds("VOICEPLAY", p, byList ? "iii" : "si")) return;
  mbContinue = false;
  CVoiceBuffer* voice = gpMainWindow->mpVoiceBuffer;
  if (!voice || !snr::HasSoundDevice()) return StepOn();
  bool hurry = IsHurry();
  if (mnExitParam == 0) {
    // A hurried line is not spoken at all.
    if (hurry) return StepOn();
    char name[320];
    if (byList) {
      int32_t index = p.Int(0);
      if (!CheckRange("VOICEPLAY", 1, index, 0, kSlotCount - 1)) return;
      snprintf(name, sizeof name, "%s%04d", gpMainWindow->mpSaveData->mVoiceList[index], p.Int(1));
    } else {
      snprintf(name, sizeof name, "%s", p.Str(0));
    }
    if (!voice->Read(name, false)) {
      ErrorRead("VOICEPLAY", name, false);
      return StepOn();
    }
    voice->Play(0, false);
    if (p.Int(p.Count() - 1) != 0) {
      mnExitParam = 1;
      return;
    }
    return StepOn();
  }
  if (hurry) voice->Stop(0);
  if (voice->mbPlay) return;
  StepOn();
}

void CDIBSnrBaseScreen::MoveCmdVOICESTOP() {
  Trace("CDIBSnrBaseScreen::MoveCmdVOICESTOP");
  CSnrParams p(mpBuffer);
  if (!CheckCount("VOICESTOP", p, 0, 0)) return;
  if (CVoiceBuffer* voice = gpMainWindow->mpVoiceBuffer) voice->Stop(0);
  StepOn();
  mbContinue = false;
}

void CDIBSnrBaseScreen::MoveCmdVOICEWAIT() {
  Trace("CDIBSnrBaseScreen::MoveCmdVOICEWAIT");
  CSnrParams p(mpBuffer);
  if (!CheckCount("VOICEWAIT", p, 0, 0)) return;
  mbContinue = false;
  CVoiceBuffer* voice = gpMainWindow->mpVoiceBuffer;
  if (voice && voice->mbPlay) {
    // Hurried, the line stops now and the next frame steps on.
    if (IsHurry()) voice->Stop(0);
    return;
  }
  StepOn();
}
