#include "audio/BGMBuffer.h"

#include <strings.h>

#include <algorithm>
#include <cstring>

#include "app/core/Trace.h"
#include "audio/DSound.h"
#include "audio/OggStream.h"
#include "audio/SoundFile.h"
#include "audio/StreamRing.h"
#include "platform/Timer.h"

using namespace plat;

namespace {

// The text of a name without its extension: the extension starts at the
// last "." after the last path separator.
size_t StemLength(const char* name) {
  size_t n = strlen(name);
  for (size_t i = n; i > 0; --i) {
    char c = name[i - 1];
    if (c == '.') return i - 1;
    if (c == '/' || c == '\\') break;
  }
  return n;
}

}  // namespace

CBGMBuffer::CBGMBuffer() {
  Trace("CBGMBuffer::CBGMBuffer");
  memset(&mOggFile, 0, sizeof mOggFile);
}

CBGMBuffer::~CBGMBuffer() {
  Trace("CBGMBuffer::~CBGMBuffer");
  Release();
}

bool CBGMBuffer::Initialize(CDSound* sound, CFileJoin* fileJoin) {
  Trace("CBGMBuffer::Initialize");
  mpSound = sound;
  mpFileJoin = fileJoin;
  mbPlay = false;
  mbLoop = true;
  mbEnd = false;
  mbMute = false;
  mVolume = 255;
  mbPause = false;
  mPauseCount = 0;
  mSmallVolume = 255;
  mFadeMode = 0;
  mdwFadeTime = 0;
  mdwFadeCount = 0;
  if (!StartStreamWorker(mbQuit, mhThread, mhEvent, mhIdle, [this] { StreamThread(this); })) return false;
  mSource = OggMemorySource();
  memset(&mOggFile, 0, sizeof mOggFile);
  mbOggOpen = false;
  return true;
}

bool CBGMBuffer::Read(const char* name) {
  Trace("CBGMBuffer::Read");
  if (!mpSound || !mpSound->mpDSound) return false;
  if (!name || strlen(name) >= sizeof mszName) return false;
  bool wasPlaying = mbPlay;
  Stop(0);
  StreamClose();
  if (wasPlaying) plat::Sleep(100);

  std::unique_ptr<uint8_t[]> data;
  uint32_t size = 0;
  if (mpCache && CmpFName(name, mszCacheName)) {
    data.reset(mpCache);
    size = mdwCacheSize;
    mpCache = nullptr;
    mdwCacheSize = 0;
    mszCacheName[0] = 0;
  } else if (!ReadSoundFile(mpFileJoin, name, data, size)) {
    return false;
  }
  mSource.start = data.release();
  mSource.current = mSource.start;
  mSource.end = mSource.start + size;
  if (!IsOggSignature(mSource.start, size)) {
    StreamClose();
    return false;
  }

  WAVEFORMATEX format;
  {
    CCriticalSectionLock lock(mcsFill);
    ov_callbacks callbacks = {&OggCallbackRead, &OggCallbackSeek, &OggCallbackClose, &OggCallbackFell};
    if (!OpenOggStream(&mSource, callbacks, &mOggFile, mbOggOpen, mnChannels, format)) {
      StreamClose();
      return false;
    }
  }

  mnBlockAlign = format.nBlockAlign;
  IDirectSoundBuffer* kept = mpBuffer;
  if (!PrepareStreamRing(mpSound, format, 8000, mhEvent, &mpBuffer, &mpNotify, &mdwQuarter)) {
    StreamClose();
    return false;
  }
  // A ring just made is silent already; one kept from the last piece still
  // holds it.
  if (mpBuffer == kept) mpSound->SoundBufferFillZero(mpBuffer);

  strcpy(mszName, name);
  if (mpCache) {
    delete[] mpCache;
    mpCache = nullptr;
    mdwCacheSize = 0;
    mszCacheName[0] = 0;
  }
  return true;
}

bool CBGMBuffer::Cache(const char* name) {
  Trace("CBGMBuffer::Cache");
  delete[] mpCache;
  mpCache = nullptr;
  mdwCacheSize = 0;
  mszCacheName[0] = 0;
  if (!name || strlen(name) >= sizeof mszCacheName) return false;
  std::unique_ptr<uint8_t[]> data;
  uint32_t size = 0;
  if (!ReadSoundFile(mpFileJoin, name, data, size)) return false;
  mpCache = data.release();
  mdwCacheSize = size;
  strcpy(mszCacheName, name);
  return true;
}

bool CBGMBuffer::CmpFName(const char* a, const char* b) {
  Trace("CBGMBuffer::CmpFName");
  if (!a || !b) return false;
  size_t la = StemLength(a), lb = StemLength(b);
  return la == lb && strncasecmp(a, b, la) == 0;
}

bool CBGMBuffer::Play(uint32_t fadeIn, bool loop) {
  Trace("CBGMBuffer::Play");
  if (!mpBuffer) return false;
  {
    CCriticalSectionLock lock(mcsFill);
    // A piece whose read failed, or that was stopped, has no stream left.
    if (!mbOggOpen) return false;
    mpBuffer->SetCurrentPosition(0);
    mSource.current = mSource.start;
    ov_raw_seek(&mOggFile, 0);
    // The fill below already decides whether the piece loops and ends.
    mbLoop = loop;
    mbEnd = false;
    // Only the head of the first quarter is decoded here; the worker
    // decodes on from there to the end of the second quarter while the
    // head plays (see below).
    mdwStartFill = std::max<uint32_t>(mdwQuarter / kStartParts / mnBlockAlign * mnBlockAlign, mnBlockAlign);
    FillStreamRing(mpBuffer, 0, mdwStartFill, [this](uint8_t* p, uint32_t n) { return OggDecode(p, n); });
  }
  mdwFadeCount = 0;
  if (fadeIn != 0) {
    mFadeMode = 1;
    mdwFadeTime = fadeIn;
  } else {
    mFadeMode = 0;
    mdwFadeTime = 0;
  }
  mbPlay = true;
  mbPause = false;
  mPauseCount = 0;
  UpdateVolume();
  mpBuffer->Play(0, 0, DSBPLAY_LOOPING);
  // Woken as by the last quarter's notification, the worker finds the
  // start's fill pending. It has the head's quarter of a second for it;
  // a run on the frame clock waits for it before mixing on, so what is
  // heard never depends on when the worker ran.
  SetEvent(mhEvent[3]);
  ExpectAudioRefill(mhEvent[3]);
  return true;
}

void CBGMBuffer::Stop(uint32_t fadeOut) {
  Trace("CBGMBuffer::Stop");
  if (!mpBuffer || !mbPlay) return;
  if (mbPause || fadeOut == 0) {
    {
      // The worker reads the ring's status and may restart it under this
      // lock: stopping outside it could be undone a moment later.
      CCriticalSectionLock lock(mcsFill);
      mpBuffer->Stop();
      mbPlay = false;
      mdwStartFill = 0;
      for (auto e : mhEvent) ResetEvent(e);
    }
    WaitForSingleObject(mhIdle, 5000);
    CCriticalSectionLock lock(mcsFill);
    CloseDecoder();
    return;
  }
  mFadeMode = 2;
  mdwFadeTime = fadeOut;
  mdwFadeCount = 0;
}

void CBGMBuffer::CloseDecoder() {
  Trace("CBGMBuffer::CloseDecoder");
  CCriticalSectionLock lock(mcsFill);
  CloseOggStream(&mOggFile, mbOggOpen);
}

void CBGMBuffer::StreamClose() {
  Trace("CBGMBuffer::StreamClose");
  // The decoder reads the image: it goes first.
  CloseDecoder();
  delete[] mSource.start;
  mSource = OggMemorySource();
  mszName[0] = 0;
}

void CBGMBuffer::Release() {
  Trace("CBGMBuffer::Release");
  Stop(0);
  StreamClose();
  EndStreamWorker(mbQuit, mhThread, mhEvent, mhIdle);
  ReleaseStreamRing(&mpBuffer, &mpNotify);
  delete[] mpCache;
  mpCache = nullptr;
  mdwCacheSize = 0;
  mszCacheName[0] = 0;
}
