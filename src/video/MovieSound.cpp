#include "video/MovieSound.h"

#include <cstring>

#include "app/core/Trace.h"
#include "audio/DSound.h"
#include "audio/VolumeScale.h"
#include "video/MovieWorker.h"

using namespace plat;

namespace {
constexpr uint32_t kFrameBytes = 4;  // 16-bit stereo
}  // namespace

CMovieSound::~CMovieSound() {
  Trace("CMovieSound::~CMovieSound");
  Release();
}

bool CMovieSound::Create(CDSound* sound) {
  Trace("CMovieSound::Create");
  Release();
  if (!sound || !sound->mpDSound) return false;
  WAVEFORMATEX format = MakePcmFormat(CMovieAudioFifo::kRate, CMovieAudioFifo::kChannels, 16);
  DSBUFFERDESC desc;
  desc.dwSize = kDSBufferDescSize;
  desc.dwFlags = DSBCAPS_CTRLVOLUME | DSBCAPS_LOCSOFTWARE | DSBCAPS_STICKYFOCUS | DSBCAPS_GETCURRENTPOSITION2;
  desc.dwBufferBytes = kRingFrames * kFrameBytes;
  desc.lpwfxFormat = &format;
  IDirectSoundBuffer* created = nullptr;
  if (FAILED(sound->mpDSound->CreateSoundBuffer(&desc, &created, nullptr))) return false;
  HRESULT hr = created->QueryInterface(IID_IDirectSoundBuffer, reinterpret_cast<void**>(&mpBuffer));
  created->Release();
  if (FAILED(hr)) {
    mpBuffer = nullptr;
    return false;
  }
  mpBuffer->SetVolume(VolumeScale(mVolume));
  return true;
}

void CMovieSound::Release() {
  Trace("CMovieSound::Release");
  if (mpBuffer) {
    mpBuffer->Stop();
    mpBuffer->Release();
  }
  mpBuffer = nullptr;
  mbStarted = mbPaused = false;
  mWritten = mPlayed = 0;
  mLastPlay = 0;
}

void CMovieSound::SetVolume(int32_t step) {
  Trace("CMovieSound::SetVolume");
  mVolume = step;
  if (mpBuffer) mpBuffer->SetVolume(VolumeScale(step));
}

void CMovieSound::Write(CMovieWorker* worker, int64_t from, uint32_t frames) {
  Trace("CMovieSound::Write");
  void *p1 = nullptr, *p2 = nullptr;
  uint32_t n1 = 0, n2 = 0;
  const auto offset = static_cast<uint32_t>(from % kRingFrames) * kFrameBytes;
  if (FAILED(mpBuffer->Lock(offset, frames * kFrameBytes, &p1, &n1, &p2, &n2, 0))) return;
  const uint32_t f1 = n1 / kFrameBytes, f2 = n2 / kFrameBytes;
  if (worker) {
    if (p1) worker->ReadSound(from, static_cast<int16_t*>(p1), f1);
    if (p2) worker->ReadSound(from + f1, static_cast<int16_t*>(p2), f2);
  } else {
    if (p1) memset(p1, 0, n1);
    if (p2) memset(p2, 0, n2);
  }
  mpBuffer->Unlock(p1, n1, p2, n2);
}

void CMovieSound::Start(CMovieWorker* worker) {
  Trace("CMovieSound::Start");
  if (!mpBuffer) return;
  mpBuffer->Stop();
  mpBuffer->SetCurrentPosition(0);
  mWritten = mPlayed = 0;
  mLastPlay = 0;
  mbStarted = true;
  Feed(worker);
  if (!mbPaused) mpBuffer->Play(0, 0, DSBPLAY_LOOPING);
}

void CMovieSound::Feed(CMovieWorker* worker) {
  Trace("CMovieSound::Feed");
  if (!mpBuffer || !mbStarted) return;
  uint32_t status = 0;
  mpBuffer->GetStatus(&status);
  if (status & DSBSTATUS_BUFFERLOST) {
    // The device took the ring away: start it again where it was, empty.
    mpBuffer->Restore();
    mLastPlay = static_cast<uint32_t>(mPlayed % kRingFrames);
    mpBuffer->SetCurrentPosition(mLastPlay * kFrameBytes);
    mWritten = mPlayed;
    if (!mbPaused) mpBuffer->Play(0, 0, DSBPLAY_LOOPING);
  }
  uint32_t play = 0, write = 0;
  if (FAILED(mpBuffer->GetCurrentPosition(&play, &write))) return;
  const uint32_t cursor = (play / kFrameBytes) % kRingFrames;
  mPlayed += (cursor + kRingFrames - mLastPlay) % kRingFrames;
  mLastPlay = cursor;
  // Sound not written in time was heard as silence; its frames are gone.
  if (mWritten < mPlayed) mWritten = mPlayed;
  const int64_t target = mPlayed + kLeadFrames;
  if (mWritten < target) {
    Write(worker, mWritten, static_cast<uint32_t>(target - mWritten));
    mWritten = target;
  }
  // Should the cursor ever overtake what was written, it finds silence
  // rather than the sound of a second ago.
  Write(nullptr, mWritten, kSilenceFrames);
}

void CMovieSound::Pause(bool on) {
  Trace("CMovieSound::Pause");
  mbPaused = on;
  if (!mpBuffer || !mbStarted) return;
  if (on)
    mpBuffer->Stop();
  else
    mpBuffer->Play(0, 0, DSBPLAY_LOOPING);
}

void CMovieSound::Stop() {
  Trace("CMovieSound::Stop");
  if (mpBuffer) mpBuffer->Stop();
  mbStarted = false;
}
