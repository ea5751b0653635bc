#include "audio/SEBuffer.h"

#include <strings.h>

#include <cstring>

#include "app/core/Trace.h"
#include "audio/DSound.h"
#include "audio/SoundFile.h"
#include "audio/VolumeScale.h"

using namespace plat;

CSEBuffer::~CSEBuffer() {
  Trace("CSEBuffer::~CSEBuffer");
  Release();
}

bool CSEBuffer::HasDevice() const {
  Trace("CSEBuffer::HasDevice");
  return mpSound && mpSound->mpDSound;
}

SeChannel* CSEBuffer::Channel(int32_t handle) {
  Trace("CSEBuffer::Channel");
  if (handle < 1 || handle > kChannels || !mSeChannel[handle - 1].buffer) return nullptr;
  return &mSeChannel[handle - 1];
}

int32_t CSEBuffer::ChannelVolume(const SeChannel& c) const {
  Trace("CSEBuffer::ChannelVolume");
  int32_t master = mbMute ? 0 : mVolume;
  if (master < 0) master = 0;
  if (master > 255) master = 255;
  return VolumeScale(master * c.volume / 255);
}

bool CSEBuffer::Initialize(CDSound* sound, CFileJoin* fileJoin) {
  Trace("CSEBuffer::Initialize");
  Release();
  mpSound = sound;
  mpFileJoin = fileJoin;
  for (auto& s : mSeSource) s = SeSource();
  for (auto& c : mSeChannel) c = SeChannel();
  mbMute = false;
  mVolume = 255;
  mdwFreeTime = 0;
  mbPause = false;
  mPauseCount = 0;
  return true;
}

int32_t CSEBuffer::Read(const char* name) {
  Trace("CSEBuffer::Read");
  if (!HasDevice() || !name) return 0;
  int channel = -1;
  for (int i = 0; i < kChannels && channel < 0; ++i)
    if (!mSeChannel[i].buffer) channel = i;
  if (channel < 0) return 0;
  // A source record holds at most 31 characters of name.
  size_t length = strlen(name);
  if (length >= sizeof(SeSource::name)) return 0;

  int source = -1;
  for (int i = 0; i < kSources && source < 0; ++i) {
    const SeSource& s = mSeSource[i];
    if (s.buffer && strlen(s.name) == length && strcasecmp(s.name, name) == 0) source = i;
  }
  if (source < 0) {
    for (int i = 0; i < kSources && source < 0; ++i)
      if (!mSeSource[i].buffer) source = i;
    if (source < 0) return 0;
    std::unique_ptr<uint8_t[]> data;
    uint32_t size = 0;
    if (!ReadSoundFile(mpFileJoin, name, data, size)) return 0;
    IDirectSoundBuffer* buffer = OggDecodeGrowing(std::move(data), size);
    if (!buffer) return 0;
    SeSource& s = mSeSource[source];
    s = SeSource();
    s.buffer = buffer;
    s.growing = true;
    memcpy(s.name, name, length + 1);
  }

  SeChannel& c = mSeChannel[channel];
  if (FAILED(mpSound->mpDSound->DuplicateSoundBuffer(mSeSource[source].buffer, &c.buffer))) {
    c.buffer = nullptr;
    return 0;
  }
  mSeSource[source].count += 1;
  IDirectSoundBuffer* buffer = c.buffer;
  c = SeChannel();
  c.buffer = buffer;
  c.source = source;
  return channel + 1;
}

bool CSEBuffer::Play(int32_t handle, uint32_t fadeIn, bool loop) {
  Trace("CSEBuffer::Play");
  if (!HasDevice() || handle < 1) return false;
  SeChannel* c = Channel(handle);
  if (!c) return false;
  c->buffer->Stop();
  c->autoFree = false;
  c->loop = loop;
  if (fadeIn > 0) {
    c->fadeMode = 1;
    c->fadeTime = fadeIn;
  } else {
    c->fadeMode = 0;
    c->fadeTime = 0;
  }
  c->fadeCount = 0;
  c->playing = true;
  // A fade-in starts from its first step, not from full volume.
  c->volume = fadeIn > 0 ? 0 : 255;
  c->buffer->SetVolume(ChannelVolume(*c));
  c->buffer->SetCurrentPosition(0);
  if (mbPause) {
    // Played while paused: it does not sound now nor at the resume.
    c->buffer->GetStatus(&c->status);
  } else {
    c->buffer->Play(0, 0, loop ? DSBPLAY_LOOPING : 0);
  }
  return true;
}

int32_t CSEBuffer::PlayAutoFree(const char* name, uint32_t fadeIn) {
  Trace("CSEBuffer::PlayAutoFree");
  int32_t handle = Read(name);
  if (handle == 0) return 0;
  Play(handle, fadeIn, false);
  mSeChannel[handle - 1].autoFree = true;
  return handle;
}

void CSEBuffer::Stop(int32_t handle, uint32_t fadeOut) {
  Trace("CSEBuffer::Stop");
  SeChannel* c = Channel(handle);
  if (!HasDevice() || !c) return;
  c->fadeCount = 0;
  if (fadeOut > 0) {
    c->fadeMode = 2;
    c->fadeTime = fadeOut;
  } else {
    c->fadeMode = 0;
    c->fadeTime = 0;
    c->buffer->Stop();
  }
}

bool CSEBuffer::IsPlay(int32_t handle) {
  Trace("CSEBuffer::IsPlay");
  if (!HasDevice()) return false;
  if (handle < 1) return true;
  if (handle > kChannels) return false;
  return mSeChannel[handle - 1].playing;
}

int32_t CSEBuffer::GetFadeMode(int32_t handle) {
  Trace("CSEBuffer::GetFadeMode");
  if (!HasDevice() || handle < 1 || handle > kChannels) return 0;
  return mSeChannel[handle - 1].fadeMode;
}

void CSEBuffer::Free(int32_t handle) {
  Trace("CSEBuffer::Free");
  SeChannel* c = Channel(handle);
  if (!c) return;
  c->buffer->Release();
  if (c->source >= 0 && c->source < kSources) mSeSource[c->source].count -= 1;
  *c = SeChannel();
}

void CSEBuffer::SetVolume(int32_t volume) {
  Trace("CSEBuffer::SetVolume");
  mVolume = volume;
  UpdateVolume();
}

void CSEBuffer::SetMute(bool on) {
  Trace("CSEBuffer::SetMute");
  mbMute = on;
  UpdateVolume();
}

void CSEBuffer::UpdateVolume() {
  Trace("CSEBuffer::UpdateVolume");
  for (auto& c : mSeChannel)
    if (c.buffer) c.buffer->SetVolume(ChannelVolume(c));
}

void CSEBuffer::Release() {
  Trace("CSEBuffer::Release");
  for (auto& c : mSeChannel) {
    if (!c.buffer) continue;
    c.fadeMode = 0;
    c.fadeTime = 0;
    c.fadeCount = 0;
    c.buffer->Stop();
    c.buffer->Release();
    c = SeChannel();
  }
  for (auto& s : mSeSource) {
    if (s.buffer) s.buffer->Release();
    s = SeSource();
  }
}
