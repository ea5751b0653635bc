#include "audio/OggVorbis.h"

#include <climits>
#include <cstring>

#include "platform/AudioTypes.h"

namespace {
constexpr int kMaxHolesInARow = 4096;
}  // namespace

size_t OggMemoryRead(OggMemorySource* src, void* ptr, size_t size, size_t count) {
  if (!src || !ptr || size == 0 || !src->current || src->current >= src->end) return 0;
  size_t left = static_cast<size_t>(src->end - src->current);
  size_t want = count > SIZE_MAX / size ? SIZE_MAX : size * count;
  size_t n = want < left ? want : left;
  memcpy(ptr, src->current, n);
  src->current += n;
  return n / size;
}

int OggMemorySeek(OggMemorySource* src, int64_t offset, int origin) {
  if (!src || !src->start) return -1;
  int64_t length = src->end - src->start;
  int64_t base;
  switch (origin) {
    case SEEK_SET: base = 0; break;
    case SEEK_CUR: base = src->current - src->start; break;
    case SEEK_END: base = length; break;
    default: return -1;
  }
  // Offsets come from the stream; one that leaves the image is refused
  // rather than followed.
  if ((offset > 0 && base > INT64_MAX - offset) || base + offset < 0 || base + offset > length) return -1;
  src->current = src->start + (base + offset);
  return 0;
}

long OggMemoryTell(const OggMemorySource* src) {
  if (!src || !src->start) return -1;
  return static_cast<long>(src->current - src->start);
}

bool IsOggSignature(const uint8_t* data, uint64_t size) {
  return data && size >= 4 && memcmp(data, "OggS", 4) == 0;
}

bool OggFormatUsable(const vorbis_info* info) {
  return info && info->channels >= 1 && info->channels <= 2 && info->rate >= plat::DSBFREQUENCY_MIN &&
         info->rate <= plat::DSBFREQUENCY_MAX;
}

long OggReadPcm(OggVorbis_File* file, uint8_t* dst, uint32_t bytes, int channels) {
  int link = -1;
  int length = bytes > INT_MAX ? INT_MAX : static_cast<int>(bytes);
  long n = ov_read(file, reinterpret_cast<char*>(dst), length, 0, 2, 1, &link);
  // A hole is a page lost to damage; the decoder goes on after it, so the
  // sound does too. Each hole uses up stream data, but a bound keeps a
  // decoder that stops advancing from holding the caller forever.
  for (int holes = 1; n == OV_HOLE && holes < kMaxHolesInARow; ++holes)
    n = ov_read(file, reinterpret_cast<char*>(dst), length, 0, 2, 1, &link);
  if (n > 0) {
    vorbis_info* info = ov_info(file, link);
    if (!info || info->channels != channels) return OV_EBADLINK;
  }
  return n;
}
