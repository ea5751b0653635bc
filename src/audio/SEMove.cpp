// The effect set's per-frame step, pause and resume, and decoding.
#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "app/core/Trace.h"
#include "audio/DSound.h"
#include "audio/SEBuffer.h"
#include "audio/SoundControl.h"
#include "audio/SoundFile.h"

using namespace plat;

void CSEBuffer::Move(uint32_t elapsed) {
  Trace("CSEBuffer::Move");
  if (!HasDevice() || mbPause) return;
  bool changed = false;
  for (int i = 0; i < kChannels; ++i) {
    SeChannel& c = mSeChannel[i];
    if (!c.buffer) continue;
    uint32_t status = 0;
    c.buffer->GetStatus(&status);
    if (!(status & DSBSTATUS_PLAYING)) {
      c.playing = false;
      if (c.autoFree) Free(i + 1);
      continue;
    }
    if (c.fadeSkip) c.fadeCount = c.fadeTime;
    c.fadeSkip = false;
    StepFade(
        c.fadeMode, c.fadeCount, c.fadeTime, elapsed,
        [&] {
          // A channel's fade runs over the full step range; a fade-out
          // without a time is already silent.
          int32_t in = c.fadeTime ? static_cast<int32_t>(uint64_t{c.fadeCount} * 255 / c.fadeTime) : 255;
          c.volume = c.fadeMode == 1 ? in : 255 - in;
          changed = true;
        },
        [&] { Stop(i + 1, 0); });
  }
  if (changed) UpdateVolume();
  if (mdwFreeTime > 10000) {
    for (auto& s : mSeSource) {
      if (s.buffer && s.count <= 0) {
        s.buffer->Release();
        s = SeSource();
      }
    }
    mdwFreeTime = 0;
  } else {
    mdwFreeTime += elapsed;
  }
}

void CSEBuffer::SetPause(bool on) {
  Trace("CSEBuffer::SetPause");
  if (!HasDevice() || !StepPauseCount(mPauseCount, mbPause, on)) return;
  if (on) {
    for (auto& c : mSeChannel) {
      if (!c.buffer) continue;
      c.buffer->GetStatus(&c.status);
      c.buffer->Stop();
    }
    return;
  }
  for (int i = 0; i < kSources; ++i) {
    uint32_t status = 0;
    if (mSeSource[i].buffer && SUCCEEDED(mSeSource[i].buffer->GetStatus(&status)) &&
        (status & DSBSTATUS_BUFFERLOST))
      RefillLostSource(i);
  }
  for (auto& c : mSeChannel) {
    if (!c.buffer) continue;
    uint32_t status = 0;
    c.buffer->GetStatus(&status);
    if (status & DSBSTATUS_BUFFERLOST) c.buffer->Restore();
    if ((c.status & DSBSTATUS_PLAYING) && c.playing) {
      c.buffer->SetVolume(ChannelVolume(c));
      c.buffer->Play(0, 0, c.loop ? DSBPLAY_LOOPING : 0);
    }
  }
}

void CSEBuffer::RefillLostSource(int index) {
  Trace("CSEBuffer::RefillLostSource");
  SeSource& s = mSeSource[index];
  s.buffer->Restore();
  std::unique_ptr<uint8_t[]> data;
  uint32_t size = 0;
  if (ReadSoundFile(mpFileJoin, s.name, data, size) && OggDecodeForLost(data.get(), size, s.buffer)) return;
  // The samples are gone for good: nothing may keep playing or naming them.
  for (auto& c : mSeChannel) {
    if (c.buffer && c.source == index) {
      c.buffer->Stop();
      c.buffer->Release();
      c = SeChannel();
    }
  }
  s.buffer->Release();
  s = SeSource();
}

bool CSEBuffer::DecodeInto(OggVorbis_File* file, int channels, IDirectSoundBuffer* buffer) {
  Trace("CSEBuffer::DecodeInto");
  void *p1 = nullptr, *p2 = nullptr;
  uint32_t n1 = 0, n2 = 0;
  if (FAILED(buffer->Lock(0, 0, &p1, &n1, &p2, &n2, DSBLOCK_ENTIREBUFFER))) return false;
  auto* dst = static_cast<uint8_t*>(p1);
  uint32_t left = n1;
  bool error = false;
  while (left > 0) {
    long n = OggReadPcm(file, dst, left, channels);
    if (n > 0) {
      dst += n;
      left -= static_cast<uint32_t>(n);
      continue;
    }
    memset(dst, 0, left);
    error = n < 0;
    break;
  }
  if (p2 && n2) memset(p2, 0, n2);
  buffer->Unlock(p1, n1, p2, n2);
  return !error;
}

bool CSEBuffer::OpenMemoryStream(const uint8_t* data, uint32_t size, OggMemorySource& source, OggVorbis_File& file) {
  Trace("CSEBuffer::OpenMemoryStream");
  if (!IsOggSignature(data, size)) return false;
  // The decoder only reads through the source; it never writes the image.
  uint8_t* bytes = const_cast<uint8_t*>(data);
  source = OggMemorySource{bytes, bytes, bytes + size};
  ov_callbacks callbacks = {&OggCallbackRead, &OggCallbackSeek, &OggCallbackClose, &OggCallbackFell};
  return ov_open_callbacks(&source, &file, nullptr, 0, callbacks) == 0;
}

IDirectSoundBuffer* CSEBuffer::OggDecode(const uint8_t* data, uint32_t size) {
  Trace("CSEBuffer::OggDecode");
  OggMemorySource source;
  OggVorbis_File file;
  if (!mpSound || !OpenMemoryStream(data, size, source, file)) return nullptr;
  vorbis_info* info = ov_info(&file, -1);
  ogg_int64_t frames = ov_pcm_total(&file, -1);
  if (!OggFormatUsable(info) || frames <= 0) {
    ov_clear(&file);
    return nullptr;
  }
  const int channels = info->channels;
  WAVEFORMATEX format = MakePcmFormat(static_cast<uint32_t>(info->rate), static_cast<uint32_t>(channels), 16);
  if (static_cast<uint64_t>(frames) > DSBSIZE_MAX / format.nBlockAlign) {
    ov_clear(&file);
    return nullptr;
  }
  // The length comes from the stream's last page, which a damaged file can
  // set to anything: decode first, never past that length, and size the
  // buffer to what the stream really holds.
  std::vector<uint8_t> pcm;
  bool ok = DecodeWhole(&file, channels, static_cast<uint32_t>(frames) * format.nBlockAlign, pcm);
  ov_clear(&file);
  const uint32_t length = static_cast<uint32_t>(pcm.size()) / format.nBlockAlign * format.nBlockAlign;
  IDirectSoundBuffer* buffer = nullptr;
  if (!ok || length == 0 || !mpSound->MakeSoundBuffer(&buffer, &format, length)) return nullptr;
  void *p1 = nullptr, *p2 = nullptr;
  uint32_t n1 = 0, n2 = 0;
  if (FAILED(buffer->Lock(0, 0, &p1, &n1, &p2, &n2, DSBLOCK_ENTIREBUFFER))) {
    buffer->Release();
    return nullptr;
  }
  memcpy(p1, pcm.data(), std::min(n1, length));
  buffer->Unlock(p1, n1, p2, n2);
  return buffer;
}

bool CSEBuffer::DecodeWhole(OggVorbis_File* file, int channels, uint32_t limit, std::vector<uint8_t>& pcm) {
  Trace("CSEBuffer::DecodeWhole");
  // The decoder hands out a packet (a few KiB) a call: the buffer grows by
  // doubling, ahead of what is filled, so that it is neither cleared nor
  // moved once per packet.
  size_t filled = pcm.size();
  try {
    while (filled < limit) {
      if (pcm.size() - filled < 8192 && pcm.size() < limit)
        pcm.resize(std::min<size_t>(limit, std::max<size_t>(pcm.size() * 2, filled + (1u << 16))));
      long n = OggReadPcm(file, pcm.data() + filled, static_cast<uint32_t>(pcm.size() - filled), channels);
      if (n < 0) {
        pcm.resize(filled);
        return false;
      }
      if (n == 0) break;
      filled += static_cast<size_t>(n);
    }
  } catch (const std::bad_alloc&) {
    pcm.resize(filled);
    return false;
  }
  pcm.resize(filled);
  return true;
}

bool CSEBuffer::OggDecodeForLost(const uint8_t* data, uint32_t size, IDirectSoundBuffer* buffer) {
  Trace("CSEBuffer::OggDecodeForLost");
  OggMemorySource source;
  OggVorbis_File file;
  if (!buffer || !OpenMemoryStream(data, size, source, file)) return false;
  vorbis_info* info = ov_info(&file, -1);
  bool ok = OggFormatUsable(info) && DecodeInto(&file, info->channels, buffer);
  ov_clear(&file);
  return ok;
}

size_t CSEBuffer::OggCallbackRead(void* ptr, size_t size, size_t count, void* source) {
  Trace("CSEBuffer::OggCallbackRead");
  return OggMemoryRead(static_cast<OggMemorySource*>(source), ptr, size, count);
}

int CSEBuffer::OggCallbackSeek(void* source, ogg_int64_t offset, int origin) {
  Trace("CSEBuffer::OggCallbackSeek");
  return OggMemorySeek(static_cast<OggMemorySource*>(source), offset, origin);
}

int CSEBuffer::OggCallbackClose(void*) {
  Trace("CSEBuffer::OggCallbackClose");
  return 0;
}

long CSEBuffer::OggCallbackFell(void* source) {
  Trace("CSEBuffer::OggCallbackFell");
  return OggMemoryTell(static_cast<OggMemorySource*>(source));
}
