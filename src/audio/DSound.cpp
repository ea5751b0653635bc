#include "audio/DSound.h"

#include <cstring>

#include "app/core/Trace.h"

using namespace plat;

CDSound::~CDSound() {
  Trace("CDSound::~CDSound");
  Release();
}

bool CDSound::Initialize(HWND window, uint32_t samplesPerSec, uint32_t channels, uint32_t bitsPerSample) {
  Trace("CDSound::Initialize");
  if (FAILED(DirectSoundCreate(nullptr, &mpDSound, nullptr))) return false;

  if (SUCCEEDED(mpDSound->SetCooperativeLevel(window, DSSCL_PRIORITY))) {
    mLevel = DSSCL_PRIORITY;
  } else if (SUCCEEDED(mpDSound->SetCooperativeLevel(window, DSSCL_NORMAL))) {
    mLevel = DSSCL_NORMAL;
  } else {
    return false;
  }

  DSBUFFERDESC desc;
  desc.dwSize = kDSBufferDescSize;
  desc.dwFlags = DSBCAPS_PRIMARYBUFFER;
  if (FAILED(mpDSound->CreateSoundBuffer(&desc, &mpPrimary, nullptr))) return false;

  WAVEFORMATEX format = MakePcmFormat(samplesPerSec, channels, bitsPerSample);
  // Under the normal level the primary keeps the device's own format.
  if (mLevel == DSSCL_PRIORITY && FAILED(mpPrimary->SetFormat(&format))) return false;

  desc = DSBUFFERDESC();
  desc.dwSize = kDSBufferDescSize;
  desc.dwFlags = DSBCAPS_LOCSOFTWARE;
  desc.dwBufferBytes = format.nAvgBytesPerSec * 1000 / 1000;
  desc.lpwfxFormat = &format;
  IDirectSoundBuffer* created = nullptr;
  if (FAILED(mpDSound->CreateSoundBuffer(&desc, &created, nullptr))) return false;
  HRESULT hr = created->QueryInterface(IID_IDirectSoundBuffer, reinterpret_cast<void**>(&mpSilent));
  created->Release();
  if (FAILED(hr)) return false;

  if (FAILED(mpSilent->SetCurrentPosition(0))) return false;
  if (SoundBufferFillZero(mpSilent) != 0) return false;
  mpPrimary->Play(0, 0, DSBPLAY_LOOPING);
  mpSilent->Play(0, 0, DSBPLAY_LOOPING);
  mhWnd = window;
  return true;
}

bool CDSound::MakeSoundBuffer(IDirectSoundBuffer** out, const WAVEFORMATEX* format, uint32_t size) {
  Trace("CDSound::MakeSoundBuffer");
  if (!mpDSound || !out) return false;
  DSBUFFERDESC desc;
  desc.dwSize = kDSBufferDescSize;
  desc.dwFlags = DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME | DSBCAPS_LOCSOFTWARE | DSBCAPS_STICKYFOCUS |
                 DSBCAPS_GETCURRENTPOSITION2;
  desc.dwBufferBytes = size;
  desc.lpwfxFormat = format;
  desc.guid3DAlgorithm = GUID_NULL;
  IDirectSoundBuffer* created = nullptr;
  if (FAILED(mpDSound->CreateSoundBuffer(&desc, &created, nullptr))) return false;
  IDirectSoundBuffer* queried = nullptr;
  HRESULT hr = created->QueryInterface(IID_IDirectSoundBuffer, reinterpret_cast<void**>(&queried));
  created->Release();
  if (FAILED(hr)) return false;
  *out = queried;
  return true;
}

HRESULT CDSound::SoundBufferFillZero(IDirectSoundBuffer* buffer) {
  Trace("CDSound::SoundBufferFillZero");
  if (!buffer) return DSERR_INVALIDPARAM;
  void *p1 = nullptr, *p2 = nullptr;
  uint32_t n1 = 0, n2 = 0;
  HRESULT hr = buffer->Lock(0, 0, &p1, &n1, &p2, &n2, DSBLOCK_ENTIREBUFFER);
  if (FAILED(hr)) return hr;
  if (p1) memset(p1, 0, n1);
  if (p2) memset(p2, 0, n2);
  buffer->Unlock(p1, n1, p2, n2);
  return 0;
}

void CDSound::Release() {
  Trace("CDSound::Release");
  if (mpSilent) mpSilent->Release();
  mpSilent = nullptr;
  if (mpPrimary) mpPrimary->Release();
  mpPrimary = nullptr;
  if (mpDSound) mpDSound->Release();
  mpDSound = nullptr;
  mhWnd = nullptr;
  mLevel = 0;
}
