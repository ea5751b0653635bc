#include "audio/VoiceBuffer.h"

#include <cstring>

#include "app/core/Trace.h"
#include "assets/FileJoin.h"
#include "audio/DSound.h"
#include "audio/OggStream.h"
#include "audio/SoundFile.h"
#include "audio/StreamRing.h"
#include "audio/VolumeScale.h"

using namespace plat;

CVoiceBuffer::CVoiceBuffer() {
  Trace("CVoiceBuffer::CVoiceBuffer");
  memset(&mOggFile, 0, sizeof mOggFile);
}

CVoiceBuffer::~CVoiceBuffer() {
  Trace("CVoiceBuffer::~CVoiceBuffer");
  Release();
}

bool CVoiceBuffer::Initialize(CDSound* sound, CFileJoin* fileJoin) {
  Trace("CVoiceBuffer::Initialize");
  mpSound = sound;
  mpFileJoin = fileJoin;
  mbPlay = false;
  mbLoop = true;
  mbEnd = false;
  mbMute = false;
  for (bool& m : mbCharaMute) m = false;
  mVolume = 255;
  mbPause = false;
  mPauseCount = 0;
  mFadeMode = 0;
  mdwFadeTime = 0;
  mdwFadeCount = 0;
  if (!StartStreamWorker(mbQuit, mhThread, mhEvent, mhIdle, [this] { StreamThread(this); })) return false;
  mSource = VoiceSource();
  memset(&mOggFile, 0, sizeof mOggFile);
  mbOggOpen = false;
  return true;
}

void CVoiceBuffer::CloseDecoder() {
  Trace("CVoiceBuffer::CloseDecoder");
  CCriticalSectionLock lock(mcsDecode);
  CloseOggStream(&mOggFile, mbOggOpen);
}

void CVoiceBuffer::StopNow() {
  Trace("CVoiceBuffer::StopNow");
  if (!mpBuffer) return;
  mEndCount = 0;
  mpBuffer->Stop();
  if (mhThread.IsRunning() && !mbQuit) WaitForSingleObject(mhIdle, INFINITE);
  // A refill that began before the stop finishes first; one that has not
  // begun sees mbPlay cleared and leaves the decoder alone.
  CCriticalSectionLock lock(mcsFill);
  CloseDecoder();
  mbPlay = false;
  for (auto e : mhEvent) ResetEvent(e);
  mbPause = false;
  mPauseCount = 0;
}

bool CVoiceBuffer::Read(const char* name, bool fromFile) {
  Trace("CVoiceBuffer::Read");
  if (!mpSound || !mpSound->mpDSound) return false;
  StopNow();
  StreamClose();
  mszName[0] = 0;
  if (!name || strlen(name) >= sizeof mszName || !mpFileJoin) return false;

  uint8_t head[4] = {};
  uint64_t available = 0;
  if (fromFile) {
    intptr_t token = mpFileJoin->OpenMulti(name);
    if (token == 0) return false;
    mSource.mode = 1;
    mSource.begin = mpFileJoin->GetBeginOffsetMulti64(token);
    mSource.end = mSource.begin + mpFileJoin->GetSizeMulti(token);
    mSource.current = mSource.begin;
    mSource.handle = mpFileJoin->GetHandleMulti(token);
    if (mSource.handle == kInvalidFileHandle) {
      mSource = VoiceSource();
      return false;
    }
    available = FileReadAt(mSource.handle, head, 4, mSource.begin);
    if (available > mSource.end - mSource.begin) available = mSource.end - mSource.begin;
  } else {
    std::unique_ptr<uint8_t[]> data;
    uint32_t size = 0;
    if (!ReadSoundFile(mpFileJoin, name, data, size)) return false;
    mSource.mode = 0;
    mSource.memory.start = data.release();
    mSource.memory.current = mSource.memory.start;
    mSource.memory.end = mSource.memory.start + size;
    available = size;
    memcpy(head, mSource.memory.start, size < 4 ? size : 4);
  }
  if (!IsOggSignature(head, available)) {
    StreamClose();
    return false;
  }

  WAVEFORMATEX format;
  {
    CCriticalSectionLock lock(mcsDecode);
    ov_callbacks callbacks = {&OggCallbackRead, &OggCallbackSeek, &OggCallbackClose, &OggCallbackFell};
    if (!OpenOggStream(&mSource, callbacks, &mOggFile, mbOggOpen, mnChannels, format)) {
      StreamClose();
      return false;
    }
  }

  if (!PrepareStreamRing(mpSound, format, 4000, mhEvent, &mpBuffer, &mpNotify, &mdwQuarter)) {
    StreamClose();
    return false;
  }
  mpSound->SoundBufferFillZero(mpBuffer);
  strcpy(mszName, name);
  return true;
}

bool CVoiceBuffer::Play(uint32_t fadeIn, bool loop) {
  Trace("CVoiceBuffer::Play");
  if (!mpBuffer) return false;
  {
    CCriticalSectionLock lock(mcsFill);
    // A line whose read failed, or that was stopped, has no stream left.
    if (!mbOggOpen) return false;
    mpBuffer->SetCurrentPosition(0);
    mSource.memory.current = mSource.memory.start;
    mSource.current = mSource.begin;
    mbPlay = true;
    mbLoop = loop;
    mbEnd = false;
    mbPause = false;
    mPauseCount = 0;
    {
      CCriticalSectionLock decode(mcsDecode);
      ov_raw_seek(&mOggFile, 0);
    }
    // The ring is kept from line to line: the half not decoded now still
    // holds the previous line until the worker reaches it.
    FillStreamRing(mpBuffer, 0, 2 * mdwQuarter, [this](uint8_t* p, uint32_t n) { return OggDecode(p, n); });
    FillStreamRing(mpBuffer, 2 * mdwQuarter, 2 * mdwQuarter, [](uint8_t* p, uint32_t n) {
      memset(p, 0, n);
      return true;
    });
  }
  mdwFadeCount = 0;
  int32_t step;
  if (fadeIn > 0) {
    mFadeMode = 1;
    mdwFadeTime = fadeIn;
    step = 0;
  } else {
    mFadeMode = 0;
    mdwFadeTime = 0;
    step = mVolume;
  }
  int32_t chara = GetCharaNo(mszName);
  bool silent = mbMute || (chara >= 0 && chara < 16 && mbCharaMute[chara]);
  mpBuffer->SetVolume(VolumeScale(silent ? 0 : step));
  mpBuffer->Play(0, 0, mbEnd ? 0 : DSBPLAY_LOOPING);
  return true;
}

void CVoiceBuffer::Stop(uint32_t fadeOut) {
  Trace("CVoiceBuffer::Stop");
  if (!mpBuffer) return;
  if (fadeOut == 0) {
    StopNow();
    return;
  }
  mFadeMode = 2;
  mdwFadeTime = fadeOut;
  mdwFadeCount = 0;
}

void CVoiceBuffer::StreamClose() {
  Trace("CVoiceBuffer::StreamClose");
  CloseDecoder();
  if (mSource.mode == 1) {
    if (mSource.handle != kInvalidFileHandle) FileCloseHandle(mSource.handle);
  } else {
    delete[] mSource.memory.start;
  }
  mSource = VoiceSource();
}

void CVoiceBuffer::Release() {
  Trace("CVoiceBuffer::Release");
  StopNow();
  StreamClose();
  EndStreamWorker(mbQuit, mhThread, mhEvent, mhIdle);
  ReleaseStreamRing(&mpBuffer, &mpNotify);
}
