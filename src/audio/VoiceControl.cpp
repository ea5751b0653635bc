// The voice's main-thread controls: volume and mute, character lookup,
// pause, and the per-frame step.
#include <strings.h>

#include <algorithm>
#include <cstring>

#include "app/core/Trace.h"
#include "audio/SoundControl.h"
#include "audio/StreamRing.h"
#include "audio/VoiceBuffer.h"
#include "audio/VolumeScale.h"

using namespace plat;

void CVoiceBuffer::SetMute(bool on) {
  Trace("CVoiceBuffer::SetMute");
  mbMute = on;
  ChangeVoiceVol();
}

void CVoiceBuffer::SetVolume(int32_t volume) {
  Trace("CVoiceBuffer::SetVolume");
  mVolume = volume;
  ChangeVoiceVol();
}

void CVoiceBuffer::ChangeVoiceVol() {
  Trace("CVoiceBuffer::ChangeVoiceVol");
  if (mpBuffer && mbPlay) mpBuffer->SetVolume(GetPureVol());
}

int32_t CVoiceBuffer::GetPureVol() {
  Trace("CVoiceBuffer::GetPureVol");
  uint64_t step = static_cast<uint64_t>(std::clamp(mVolume, 0, 255));
  step = FadedLevel(step, mFadeMode, mdwFadeCount, mdwFadeTime);
  int32_t chara = GetCharaNo(mszName);
  bool silent = mbMute || (chara >= 0 && chara < 16 && mbCharaMute[chara]);
  return VolumeScale(silent ? 0 : static_cast<int32_t>(step));
}

int32_t CVoiceBuffer::GetCharaNo(const char* name) {
  Trace("CVoiceBuffer::GetCharaNo");
  if (!name) return 8;
  size_t length = strlen(name);
  int32_t count = std::clamp(mCharaCount, 0, 256);
  for (int32_t i = 0; i < count; ++i) {
    for (int j = 0; j < 32; ++j) {
      const char* prefix = mCharaName[i][j];
      size_t n = strnlen(prefix, 8);
      if (n > 0 && n < 8 && n < length && strncasecmp(prefix, name, n) == 0) return i;
    }
  }
  return 8;
}

void CVoiceBuffer::Move(uint32_t elapsed) {
  Trace("CVoiceBuffer::Move");
  if (!mbPlay || mbPause) return;
  if (!StreamRingPlaying(mpBuffer)) mbPlay = false;
  StepFade(mFadeMode, mdwFadeCount, mdwFadeTime, elapsed, [this] { ChangeVoiceVol(); }, [this] { Stop(0); });
}

void CVoiceBuffer::SetPause(bool on) {
  Trace("CVoiceBuffer::SetPause");
  if (!mpBuffer || !StepPauseCount(mPauseCount, mbPause, on)) return;
  if (on) {
    mpBuffer->GetStatus(&mdwStatus);
    mpBuffer->Stop();
    return;
  }
  if (RestoreLostStreamRing(mpBuffer) && (mdwStatus & DSBSTATUS_PLAYING)) {
    CCriticalSectionLock lock(mcsFill);
    mpBuffer->SetCurrentPosition(0);
    FillStreamRing(mpBuffer, 0, 2 * mdwQuarter, [this](uint8_t* p, uint32_t n) {
      memset(p, 0, n);
      return OggDecode(p, n);
    });
  }
  // A line already past its end finishes once instead of wrapping into
  // the rest of the ring.
  if ((mdwStatus & DSBSTATUS_PLAYING) && mbPlay) mpBuffer->Play(0, 0, mbEnd ? 0 : DSBPLAY_LOOPING);
}
