// The music's main-thread controls: volume, fades, the lowering under
// voices, pause, and the per-frame step.
#include <algorithm>

#include "app/core/MainWindow.h"
#include "app/core/Trace.h"
#include "audio/BGMBuffer.h"
#include "audio/SoundControl.h"
#include "audio/StreamRing.h"
#include "audio/VolumeScale.h"

using namespace plat;

void CBGMBuffer::SetMute(bool on) {
  Trace("CBGMBuffer::SetMute");
  mbMute = on;
  UpdateVolume();
}

void CBGMBuffer::SetVolume(int32_t volume) {
  Trace("CBGMBuffer::SetVolume");
  mVolume = volume;
  // Keep the lowered step in line at once, so a piece started before the
  // next Move is not heard at the old step.
  mSmallVolume = mVolume - (mVolume / 2) * mSmallLevel / 100;
  UpdateVolume();
}

void CBGMBuffer::UpdateVolume() {
  Trace("CBGMBuffer::UpdateVolume");
  if (mpBuffer && mbPlay) mpBuffer->SetVolume(GetPureVolume());
}

int32_t CBGMBuffer::GetPureVolume() {
  Trace("CBGMBuffer::GetPureVolume");
  uint64_t base = static_cast<uint64_t>(std::clamp(gbBGMSmallVolume ? mSmallVolume : mVolume, 0, 255));
  base = FadedLevel(base, mFadeMode, mdwFadeCount, mdwFadeTime);
  return VolumeScale(mbMute ? 0 : static_cast<int32_t>(base));
}

bool CBGMBuffer::CheckPlaying(const char* name) {
  Trace("CBGMBuffer::CheckPlaying");
  return mbPlay && CmpFName(name, mszName);
}

void CBGMBuffer::Move(uint32_t elapsed) {
  Trace("CBGMBuffer::Move");
  if (!mbPlay) {
    mFadeMode = 0;
    return;
  }
  if (mbPause) return;
  if (!StreamRingPlaying(mpBuffer)) mbPlay = false;

  if (gbBGMSmallVolume) {
    int32_t step = static_cast<int32_t>(std::min<uint32_t>(elapsed, 100));
    mSmallLevel = mbSmallReq ? std::min(mSmallLevel + step, 100) : std::max(mSmallLevel - step, 0);
    int32_t small = mVolume - (mVolume / 2) * mSmallLevel / 100;
    if (small != mSmallVolume) {
      mSmallVolume = small;
      UpdateVolume();
    }
  }
  if (mbFadeSkip) {
    mdwFadeCount = mdwFadeTime;
    mbFadeSkip = false;
  }
  StepFade(mFadeMode, mdwFadeCount, mdwFadeTime, elapsed, [this] { UpdateVolume(); }, [this] { Stop(0); });
}

void CBGMBuffer::SetPause(bool on) {
  Trace("CBGMBuffer::SetPause");
  if (!mpBuffer || !StepPauseCount(mPauseCount, mbPause, on)) return;
  if (on) {
    // Under the worker's lock, as Stop: a restart by the worker cannot slip
    // in between.
    CCriticalSectionLock lock(mcsFill);
    mpBuffer->GetStatus(&mdwStatus);
    mpBuffer->Stop();
    return;
  }
  if (RestoreLostStreamRing(mpBuffer) && (mdwStatus & DSBSTATUS_PLAYING)) {
    CCriticalSectionLock lock(mcsFill);
    mdwStartFill = 0;  // the fill below covers what the start left
    mpBuffer->SetCurrentPosition(0);
    FillStreamRing(mpBuffer, 0, 2 * mdwQuarter, [this](uint8_t* p, uint32_t n) { return OggDecode(p, n); });
  }
  if ((mdwStatus & DSBSTATUS_PLAYING) && mbPlay) mpBuffer->Play(0, 0, DSBPLAY_LOOPING);
}
