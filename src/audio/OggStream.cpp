#include "audio/OggStream.h"

#include <cstring>

using namespace plat;

bool OpenOggStream(void* source, const ov_callbacks& callbacks, OggVorbis_File* file, bool& open, int& channels,
                   WAVEFORMATEX& format) {
  if (ov_open_callbacks(source, file, nullptr, 0, callbacks) != 0) {
    memset(file, 0, sizeof *file);
    return false;
  }
  open = true;
  vorbis_info* info = ov_info(file, -1);
  if (!OggFormatUsable(info)) return false;
  channels = info->channels;
  format = MakePcmFormat(static_cast<uint32_t>(info->rate), static_cast<uint32_t>(info->channels), 16);
  return true;
}

void CloseOggStream(OggVorbis_File* file, bool& open) {
  if (open) ov_clear(file);
  memset(file, 0, sizeof *file);
  open = false;
}

OggFillEnd FillOggPcm(OggVorbis_File* file, bool open, int channels, bool loop, uint8_t*& dst, uint32_t& bytes) {
  bool rewoundEmpty = false;
  while (bytes > 0) {
    long n = open ? OggReadPcm(file, dst, bytes, channels) : OV_EINVAL;
    if (n > 0) {
      dst += n;
      bytes -= static_cast<uint32_t>(n);
      rewoundEmpty = false;
      continue;
    }
    if (n < 0) return OggFillEnd::kBroken;
    if (!loop || rewoundEmpty) return OggFillEnd::kStreamEnd;
    if (ov_raw_seek(file, 0) != 0) return OggFillEnd::kRewindFailed;
    rewoundEmpty = true;
  }
  return OggFillEnd::kFull;
}
