// Ogg Vorbis decoding as the sound classes use it: vorbisfile over
// caller-supplied read, seek, close and tell functions, 16-bit signed
// little-endian output.
#pragma once
#define OV_EXCLUDE_STATIC_CALLBACKS
#include <vorbis/vorbisfile.h>

#include <cstddef>
#include <cstdint>

// A memory image of a whole file: start, current read position, end.
struct OggMemorySource {
  uint8_t* start = nullptr;
  uint8_t* current = nullptr;
  uint8_t* end = nullptr;
};

// Callback bodies over a memory image. Read copies min(size × count,
// end − current) bytes and returns bytes copied / size. Seek takes origin
// 0 (start), 1 (current) or 2 (end); a target outside the image is refused
// with -1 and leaves the position alone. Tell gives current − start.
size_t OggMemoryRead(OggMemorySource* src, void* ptr, size_t size, size_t count);
int OggMemorySeek(OggMemorySource* src, int64_t offset, int origin);
long OggMemoryTell(const OggMemorySource* src);

// True when the data starts with "OggS".
bool IsOggSignature(const uint8_t* data, uint64_t size);
// True for a stream the device can play: 1 or 2 channels at a sane rate.
bool OggFormatUsable(const vorbis_info* info);

// Decodes up to `bytes` into `dst`: the byte count (> 0), 0 at the end of
// the stream, or a negative error. Holes (pages lost to damage) are
// stepped over; a chained stream whose channel count changes counts as
// broken.
long OggReadPcm(OggVorbis_File* file, uint8_t* dst, uint32_t bytes, int channels);
