// The decoder side the streaming classes (music, voices) share: opening
// vorbisfile over a class's own source and callbacks, closing it, and
// filling a stretch of the ring from it. The callers hold the lock that
// guards their decoder around each of these.
#pragma once
#include <cstdint>

#include "audio/OggVorbis.h"
#include "platform/AudioTypes.h"

// Opens `file` over `source`. On success `open` is set, `channels` and
// `format` (16-bit PCM) describe the stream, and the result is true. False
// when vorbisfile refuses the stream (`file` is then zeroed and `open` stays
// as it was) or when the device cannot play its format (`file` is then open
// and `open` set: the caller closes it).
bool OpenOggStream(void* source, const ov_callbacks& callbacks, OggVorbis_File* file, bool& open, int& channels,
                   plat::WAVEFORMATEX& format);

// Clears `file` if it is open and leaves it zeroed and marked closed.
void CloseOggStream(OggVorbis_File* file, bool& open);

// How a fill from the decoder ended.
enum class OggFillEnd {
  kFull,          // every byte was decoded
  kStreamEnd,     // the stream ended (and did not loop, or had no sound)
  kBroken,        // the decoder failed, or was not open
  kRewindFailed,  // the rewind of a looping stream failed
};

// Decodes 16-bit PCM into `dst` until `bytes` are filled. At the end of the
// stream a looping fill rewinds to the start; a stream that yields nothing
// right after a rewind has no sound at all and ends the fill instead of
// rewinding forever. On return `dst` and `bytes` describe what was not
// filled.
OggFillEnd FillOggPcm(OggVorbis_File* file, bool open, int channels, bool loop, uint8_t*& dst, uint32_t& bytes);
