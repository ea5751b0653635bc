#include "save/SoundConfig.h"

#include "audio/BGMBuffer.h"
#include "audio/SEBuffer.h"
#include "audio/VoiceBuffer.h"

void ApplySoundConfig(const ConfigRecord& c, CSEBuffer* se, CBGMBuffer* bgm, CVoiceBuffer* voice) {
  if (se) {
    se->SetMute(!c.bSE);
    se->SetVolume(c.nSEVol);
  }
  if (bgm) {
    bgm->SetMute(!c.bBGM);
    bgm->SetVolume(c.nBGMVol);
  }
  if (voice) {
    voice->SetMute(!c.bVoice);
    voice->SetVolume(c.nVoiceVol);
  }
}
