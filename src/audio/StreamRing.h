// The ring buffer the streaming classes (music, voices) decode into: four
// quarters, each with an event signalled when the play cursor reaches the
// last sample frame of the quarter.
#pragma once
#include <cstdint>

#include "platform/AudioDevice.h"

class CDSound;

// True when `buffer` holds samples of the same rate, bits and channels.
bool StreamRingMatches(plat::IDirectSoundBuffer* buffer, const plat::WAVEFORMATEX& format);

// Creates the ring of `bytes` bytes on the device with the streaming flags,
// queries it for the buffer and notify interfaces and sets the four
// notification positions. On failure everything made here is released and
// both outputs stay null.
bool CreateStreamRing(CDSound* sound, const plat::WAVEFORMATEX& format, uint32_t bytes,
                      plat::EventHandle const events[4], plat::IDirectSoundBuffer** buffer,
                      plat::IDirectSoundNotify** notify);

// Keeps `*buffer` when it already holds samples of `format`; otherwise
// releases the old ring and creates one of `ms` milliseconds, setting
// `*quarter` to a quarter of its size. False when a new ring cannot be
// made: both outputs are then null and `*quarter` is left alone.
bool PrepareStreamRing(CDSound* sound, const plat::WAVEFORMATEX& format, uint32_t ms,
                       plat::EventHandle const events[4], plat::IDirectSoundBuffer** buffer,
                       plat::IDirectSoundNotify** notify, uint32_t* quarter);

// Releases the notify and buffer interfaces that are there and nulls both.
void ReleaseStreamRing(plat::IDirectSoundBuffer** buffer, plat::IDirectSoundNotify** notify);

// True when `buffer` exists and reports that it is playing.
bool StreamRingPlaying(plat::IDirectSoundBuffer* buffer);

// Restores `buffer` when the device lost it; true when it had to, so that
// the caller refills what was lost.
bool RestoreLostStreamRing(plat::IDirectSoundBuffer* buffer);

// Byte size of a ring holding `ms` milliseconds of `format`, or 0 when that
// is more than the device can hold.
uint32_t StreamRingBytes(const plat::WAVEFORMATEX& format, uint32_t ms);

// Locks `bytes` from `offset` and hands both regions to `fill` (pointer,
// size), then unlocks. False when the lock fails; otherwise the logical
// and of the fills.
template <class Fill>
bool FillStreamRing(plat::IDirectSoundBuffer* buffer, uint32_t offset, uint32_t bytes, Fill fill) {
  void *p1 = nullptr, *p2 = nullptr;
  uint32_t n1 = 0, n2 = 0;
  if (!buffer || plat::FAILED(buffer->Lock(offset, bytes, &p1, &n1, &p2, &n2, 0))) return false;
  bool ok = true;
  if (p1 && n1) ok = fill(static_cast<uint8_t*>(p1), n1) && ok;
  if (p2 && n2) ok = fill(static_cast<uint8_t*>(p2), n2) && ok;
  buffer->Unlock(p1, n1, p2, n2);
  return ok;
}
