// The music's decoding side: the worker that refills the ring and the
// decoder with its callbacks over the memory image.
#include <cstring>

#include "app/core/Trace.h"
#include "audio/BGMBuffer.h"
#include "audio/OggStream.h"
#include "audio/StreamRing.h"

using namespace plat;

bool CBGMBuffer::OggDecode(uint8_t* dst, uint32_t bytes) {
  Trace("CBGMBuffer::OggDecode");
  CCriticalSectionLock lock(mcsFill);
  OggFillEnd end = FillOggPcm(&mOggFile, mbOggOpen, mnChannels, mbLoop, dst, bytes);
  if (end == OggFillEnd::kFull) return true;
  memset(dst, 0, bytes);
  // A stream that failed once is not read again.
  if (end != OggFillEnd::kStreamEnd) CloseDecoder();
  mbEnd = true;
  return false;
}

void CBGMBuffer::StreamThread(CBGMBuffer* self) {
  Trace("CBGMBuffer::StreamThread");
  for (;;) {
    SetEvent(self->mhIdle);
    uint32_t r = WaitForMultipleObjects(4, self->mhEvent, INFINITE);
    if (self->mbQuit || r >= WAIT_OBJECT_0 + 4) return;
    const uint32_t k = r - WAIT_OBJECT_0;
    CCriticalSectionLock lock(self->mcsFill);
    // A stop since the wake-up withdrew the notification: it belonged to
    // the piece that was stopped, not to whatever plays now.
    if (!self->mbPlay || !IsEventSet(self->mhEvent[k])) {
      ResetEvent(self->mhEvent[k]);
      continue;
    }
    ResetEvent(self->mhIdle);
    if (self->mdwStartFill != 0) {
      // The start Play left: from its head to the end of the second quarter.
      const uint32_t from = self->mdwStartFill;
      self->mdwStartFill = 0;
      if (from < 2 * self->mdwQuarter)
        FillStreamRing(self->mpBuffer, from, 2 * self->mdwQuarter - from,
                       [self](uint8_t* p, uint32_t n) { return self->OggDecode(p, n); });
      // Play's wake-up is answered; a real notification that came with it
      // (only a worker late by seconds sees one) is served below.
      ResetEvent(self->mhEvent[3]);
      if (k == 3) continue;
    }
    const uint32_t q = (k + 2) % 4;
    if (q == 0 && self->mbEnd) {
      // Let the buffer stop at its end instead of wrapping into silence.
      uint32_t status = 0;
      self->mpBuffer->GetStatus(&status);
      self->OnRingStatusRead();
      if ((status & DSBSTATUS_PLAYING) && (status & DSBSTATUS_LOOPING)) self->mpBuffer->Play(0, 0, 0);
    }
    FillStreamRing(self->mpBuffer, q * self->mdwQuarter, self->mdwQuarter,
                   [self](uint8_t* p, uint32_t n) { return self->OggDecode(p, n); });
    ResetEvent(self->mhEvent[k]);
  }
}

void CBGMBuffer::OnRingStatusRead() { Trace("CBGMBuffer::OnRingStatusRead"); }

size_t CBGMBuffer::OggCallbackRead(void* ptr, size_t size, size_t count, void* source) {
  Trace("CBGMBuffer::OggCallbackRead");
  return OggMemoryRead(static_cast<OggMemorySource*>(source), ptr, size, count);
}

int CBGMBuffer::OggCallbackSeek(void* source, ogg_int64_t offset, int origin) {
  Trace("CBGMBuffer::OggCallbackSeek");
  return OggMemorySeek(static_cast<OggMemorySource*>(source), offset, origin);
}

int CBGMBuffer::OggCallbackClose(void*) {
  Trace("CBGMBuffer::OggCallbackClose");
  return 0;
}

long CBGMBuffer::OggCallbackFell(void* source) {
  Trace("CBGMBuffer::OggCallbackFell");
  return OggMemoryTell(static_cast<OggMemorySource*>(source));
}
