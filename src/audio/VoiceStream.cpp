// The voice's decoding side: the worker that refills the ring, the decoder,
// and its callbacks over a memory image or a byte range of a file.
#include <climits>
#include <cstring>

#include "app/core/Trace.h"
#include "audio/OggStream.h"
#include "audio/StreamRing.h"
#include "audio/VoiceBuffer.h"

using namespace plat;

bool CVoiceBuffer::OggDecode(uint8_t* dst, uint32_t bytes) {
  Trace("CVoiceBuffer::OggDecode");
  CCriticalSectionLock lock(mcsDecode);
  OggFillEnd end = FillOggPcm(&mOggFile, mbOggOpen, mnChannels, mbLoop, dst, bytes);
  if (end == OggFillEnd::kFull) return true;
  // The end of the line, or a stream broken beyond repair: the rest is
  // silence, never what the ring held before (the previous line).
  memset(dst, 0, bytes);
  mbEnd = true;
  return false;
}

void CVoiceBuffer::StreamThread(CVoiceBuffer* self) {
  Trace("CVoiceBuffer::StreamThread");
  SetEvent(self->mhIdle);
  uint32_t r = WaitForMultipleObjects(4, self->mhEvent, INFINITE);
  self->mEndCount = 0;
  if (self->mbQuit) return;
  while (r < WAIT_OBJECT_0 + 4) {
    const uint32_t k = r - WAIT_OBJECT_0;
    if (self->mbPlay) {
      ResetEvent(self->mhIdle);
      CCriticalSectionLock lock(self->mcsFill);
      // The main thread may have stopped the line since the check above;
      // the stop then also withdrew the notification.
      if (self->mbPlay && IsEventSet(self->mhEvent[k])) {
        if (self->mbEnd) {
          if (self->mEndCount > 0) {
            self->mpBuffer->Stop();
            self->mEndCount = 0;
          } else {
            ++self->mEndCount;
          }
        }
        // Zeros first: what a failed decode leaves is silence.
        FillStreamRing(self->mpBuffer, ((k + 2) % 4) * self->mdwQuarter, self->mdwQuarter,
                       [self](uint8_t* p, uint32_t n) {
                         memset(p, 0, n);
                         return self->OggDecode(p, n);
                       });
      }
      ResetEvent(self->mhEvent[k]);
    } else {
      ResetEvent(self->mhEvent[k]);
    }
    SetEvent(self->mhIdle);
    r = WaitForMultipleObjects(4, self->mhEvent, INFINITE);
    if (self->mbQuit) return;
  }
}

size_t CVoiceBuffer::OggCallbackRead(void* ptr, size_t size, size_t count, void* source) {
  Trace("CVoiceBuffer::OggCallbackRead");
  auto* src = static_cast<VoiceSource*>(source);
  if (src->mode != 1) return OggMemoryRead(&src->memory, ptr, size, count);
  if (!ptr || size == 0 || src->current >= src->end) return 0;
  // The range ends where the entry ends, not where the archive does.
  uint64_t left = src->end - src->current;
  uint64_t want = count > UINT32_MAX / size ? UINT32_MAX : size * count;
  uint32_t n = static_cast<uint32_t>(want < left ? want : left);
  uint32_t got = FileReadAt(src->handle, ptr, n, src->current);
  src->current += got;
  return got / size;
}

int CVoiceBuffer::OggCallbackSeek(void* source, ogg_int64_t offset, int origin) {
  Trace("CVoiceBuffer::OggCallbackSeek");
  auto* src = static_cast<VoiceSource*>(source);
  if (src->mode != 1) return OggMemorySeek(&src->memory, offset, origin);
  int64_t length = static_cast<int64_t>(src->end - src->begin);
  int64_t base;
  switch (origin) {
    case SEEK_SET: base = 0; break;
    case SEEK_CUR: base = static_cast<int64_t>(src->current - src->begin); break;
    case SEEK_END: base = length; break;
    default: return -1;
  }
  if ((offset > 0 && base > INT64_MAX - offset) || base + offset < 0 || base + offset > length) return -1;
  src->current = src->begin + static_cast<uint64_t>(base + offset);
  return 0;
}

int CVoiceBuffer::OggCallbackClose(void*) {
  Trace("CVoiceBuffer::OggCallbackClose");
  return 0;
}

long CVoiceBuffer::OggCallbackFell(void* source) {
  Trace("CVoiceBuffer::OggCallbackFell");
  auto* src = static_cast<VoiceSource*>(source);
  if (src->mode != 1) return OggMemoryTell(&src->memory);
  return static_cast<long>(src->current - src->begin);
}
