#include <cstring>

#include "app/core/MainWindow.h"
#include "app/core/Trace.h"
#include "save/GameFile.h"
#include "save/SaveData.h"

#if __has_include("audio/BGMBuffer.h") && __has_include("audio/SEBuffer.h") && __has_include("audio/VoiceBuffer.h")
#include "audio/BGMBuffer.h"
#include "audio/SEBuffer.h"
#include "audio/VoiceBuffer.h"
#define VELTO_SAVE_HAS_SOUND 1
#endif

#ifdef VELTO_SAVE_HAS_SOUND

void CSaveData::StoreSound(SavedGame& game) const {
  Trace("CSaveData::StoreSound");
  CBGMBuffer* bgm = gpMainWindow ? gpMainWindow->mpBGMBuffer : nullptr;
  if (bgm) {
    strncpy(game.bgmName, bgm->mszName, kNameLen - 1);
    game.bgmPlay = bgm->mbPlay;
    game.bgmLoop = bgm->mbLoop;
  }
  CSEBuffer* se = gpMainWindow ? gpMainWindow->mpSEBuffer : nullptr;
  for (int i = 0; i < kSlotCount; ++i) {
    int h = mSEHandle[i];
    if (!se || h < 1 || h > 256) continue;
    const auto& ch = se->mSeChannel[h - 1];
    if (!ch.pBuffer) continue;
    strncpy(game.se[i].name, se->mSeSource[ch.nSource].szName, sizeof game.se[i].name - 1);
    game.se[i].play = ch.bPlay;
    game.se[i].loop = ch.bLoop;
  }
}

void CSaveData::RestartSound(const SavedGame& game) {
  Trace("CSaveData::RestartSound");
  if (CBGMBuffer* bgm = gpMainWindow ? gpMainWindow->mpBGMBuffer : nullptr) {
    bgm->Stop(0);
    if (game.bgmName[0] && bgm->Read(game.bgmName) && game.bgmPlay) bgm->Play(0, game.bgmLoop);
  }
  CSEBuffer* se = gpMainWindow ? gpMainWindow->mpSEBuffer : nullptr;
  for (int32_t& h : mSEHandle) {
    if (h > 0 && se) {
      se->Stop(h, 0);
      se->Free(h);
    }
    h = 0;
  }
  for (int i = 0; i < kSlotCount && se; ++i) {
    if (!game.se[i].name[0]) continue;
    mSEHandle[i] = se->Read(game.se[i].name);
    if (mSEHandle[i] > 0 && game.se[i].play) se->Play(mSEHandle[i], 0, game.se[i].loop);
  }
  if (CVoiceBuffer* voice = gpMainWindow ? gpMainWindow->mpVoiceBuffer : nullptr) voice->Stop(0);
}

#else  // The sound classes are not part of this build yet: nothing plays.

void CSaveData::StoreSound(SavedGame&) const { Trace("CSaveData::StoreSound"); }

void CSaveData::RestartSound(const SavedGame&) {
  Trace("CSaveData::RestartSound");
  for (int32_t& h : mSEHandle) h = 0;
}

#endif
