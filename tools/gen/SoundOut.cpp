#include "gen/SoundOut.h"

#include <cctype>
#include <fstream>

#include "app/core/Trace.h"
#include "audio/OggEncode.h"
#include "platform/AudioWav.h"

namespace gen {

bool WriteSound(const std::string& path, const std::vector<int16_t>& samples, int rate, int channels, float quality,
                std::string* error) {
  Trace("WriteSound");
  std::string ext = path.size() >= 4 ? path.substr(path.size() - 4) : "";
  for (char& c : ext) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  if (ext == ".wav") {
    plat::WavWriter wav;
    if (!wav.Open(path, static_cast<uint32_t>(rate), static_cast<uint32_t>(channels))) {
      *error = "cannot write " + path;
      return false;
    }
    wav.Write(samples.data(), static_cast<uint32_t>(samples.size() / static_cast<size_t>(channels)));
    if (!wav.Close()) {
      *error = "cannot write " + path;
      return false;
    }
    return true;
  }
  if (ext != ".ogg") {
    *error = path + ": the output must end in .ogg or .wav";
    return false;
  }
  std::vector<uint8_t> ogg;
  if (!EncodeOggVorbis(samples, static_cast<uint32_t>(rate), static_cast<uint32_t>(channels), ogg, quality)) {
    *error = "the encoder refuses " + std::to_string(rate) + " Hz with " + std::to_string(channels) + " channels";
    return false;
  }
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(ogg.data()), static_cast<std::streamsize>(ogg.size()));
  out.close();
  if (!out) {
    *error = "cannot write " + path;
    return false;
  }
  return true;
}

}  // namespace gen
