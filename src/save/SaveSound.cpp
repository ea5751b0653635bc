#include <cstring>

#include "app/core/MainWindow.h"
#include "app/core/Trace.h"
#include "audio/BGMBuffer.h"
#include "audio/SEBuffer.h"
#include "audio/VoiceBuffer.h"
#include "save/GameFile.h"
#include "save/SaveData.h"

namespace {

// Copies at most size - 1 bytes of `src` and terminates.
void CopyName(char* dst, const char* src, size_t size) {
  size_t n = strnlen(src, size - 1);
  memcpy(dst, src, n);
  dst[n] = 0;
}

}  // namespace

void CSaveData::StoreSound(SavedGame& game) const {
  Trace("CSaveData::StoreSound");
  CBGMBuffer* bgm = gpMainWindow ? gpMainWindow->mpBGMBuffer : nullptr;
  if (bgm) {
    CopyName(game.bgmName, bgm->mszName, sizeof game.bgmName);
    game.bgmPlay = bgm->mbPlay.load();
    game.bgmLoop = bgm->mbLoop.load();
  }
  CSEBuffer* se = gpMainWindow ? gpMainWindow->mpSEBuffer : nullptr;
  for (int i = 0; i < kSlotCount; ++i) {
    int h = mSEHandle[i];
    if (!se || h < 1 || h > CSEBuffer::kChannels) continue;
    const SeChannel& ch = se->mSeChannel[h - 1];
    if (!ch.buffer || ch.source < 0 || ch.source >= CSEBuffer::kSources) continue;
    CopyName(game.se[i].name, se->mSeSource[ch.source].name, sizeof game.se[i].name);
    game.se[i].play = ch.playing;
    game.se[i].loop = ch.loop;
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
