#include "audio/StreamRing.h"

#include "audio/DSound.h"

using namespace plat;

bool StreamRingMatches(IDirectSoundBuffer* buffer, const WAVEFORMATEX& format) {
  if (!buffer) return false;
  WAVEFORMATEX have;
  uint32_t written = 0;
  if (FAILED(buffer->GetFormat(&have, sizeof have, &written))) return false;
  return have.nSamplesPerSec == format.nSamplesPerSec && have.wBitsPerSample == format.wBitsPerSample &&
         have.nChannels == format.nChannels;
}

uint32_t StreamRingBytes(const WAVEFORMATEX& format, uint32_t ms) {
  // Wide arithmetic: a high rate must not wrap into a small ring.
  uint64_t bytes = static_cast<uint64_t>(format.nAvgBytesPerSec) * ms / 1000;
  return bytes > DSBSIZE_MAX ? 0 : static_cast<uint32_t>(bytes);
}

bool CreateStreamRing(CDSound* sound, const WAVEFORMATEX& format, uint32_t bytes, EventHandle const events[4],
                      IDirectSoundBuffer** buffer, IDirectSoundNotify** notify) {
  *buffer = nullptr;
  *notify = nullptr;
  if (!sound || !sound->mpDSound || bytes < 4 || format.nBlockAlign == 0) return false;
  DSBUFFERDESC desc;
  desc.dwSize = kDSBufferDescSize;
  desc.dwFlags = DSBCAPS_CTRLVOLUME | DSBCAPS_CTRLPOSITIONNOTIFY | DSBCAPS_LOCSOFTWARE | DSBCAPS_STICKYFOCUS |
                 DSBCAPS_GETCURRENTPOSITION2;
  desc.dwBufferBytes = bytes;
  desc.lpwfxFormat = &format;
  IDirectSoundBuffer* created = nullptr;
  if (FAILED(sound->mpDSound->CreateSoundBuffer(&desc, &created, nullptr))) return false;
  IDirectSoundBuffer* ring = nullptr;
  HRESULT hr = created->QueryInterface(IID_IDirectSoundBuffer, reinterpret_cast<void**>(&ring));
  created->Release();
  if (FAILED(hr)) return false;
  IDirectSoundNotify* n = nullptr;
  if (FAILED(ring->QueryInterface(IID_IDirectSoundNotify, reinterpret_cast<void**>(&n)))) {
    ring->Release();
    return false;
  }
  const uint32_t quarter = bytes / 4;
  const uint32_t align = format.nBlockAlign;
  DSBPOSITIONNOTIFY pos[4];
  pos[0] = {quarter - align, events[0]};
  pos[1] = {2 * quarter - align, events[1]};
  pos[2] = {3 * quarter - align, events[2]};
  pos[3] = {(bytes & ~3u) - align, events[3]};
  if (quarter < align || FAILED(n->SetNotificationPositions(4, pos))) {
    n->Release();
    ring->Release();
    return false;
  }
  *buffer = ring;
  *notify = n;
  return true;
}

bool PrepareStreamRing(CDSound* sound, const WAVEFORMATEX& format, uint32_t ms, EventHandle const events[4],
                       IDirectSoundBuffer** buffer, IDirectSoundNotify** notify, uint32_t* quarter) {
  if (*buffer && !StreamRingMatches(*buffer, format)) ReleaseStreamRing(buffer, notify);
  if (*buffer) return true;
  uint32_t bytes = StreamRingBytes(format, ms);
  if (!CreateStreamRing(sound, format, bytes, events, buffer, notify)) return false;
  *quarter = bytes / 4;
  return true;
}

void ReleaseStreamRing(IDirectSoundBuffer** buffer, IDirectSoundNotify** notify) {
  if (*notify) (*notify)->Release();
  *notify = nullptr;
  if (*buffer) (*buffer)->Release();
  *buffer = nullptr;
}

bool StreamRingPlaying(IDirectSoundBuffer* buffer) {
  uint32_t status = 0;
  if (buffer) buffer->GetStatus(&status);
  return (status & DSBSTATUS_PLAYING) != 0;
}

bool RestoreLostStreamRing(IDirectSoundBuffer* buffer) {
  uint32_t status = 0;
  buffer->GetStatus(&status);
  if (!(status & DSBSTATUS_BUFFERLOST)) return false;
  buffer->Restore();
  return true;
}
