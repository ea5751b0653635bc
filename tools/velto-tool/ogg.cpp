// velto-tool ogg: makes test sounds (a sine tone as Ogg Vorbis) and tells
// what a sound file holds.
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

#include "Command.h"
#include "audio/OggEncode.h"
#include "audio/OggVorbis.h"

namespace {

const char kUsage[] =
    "usage: velto-tool ogg tone --freq HZ --ms MS [--rate R] [--channels C] OUT.ogg\n"
    "       velto-tool ogg info FILE.ogg\n\n"
    "tone  writes a sine tone of HZ hertz lasting MS milliseconds as Ogg Vorbis,\n"
    "      at half of full scale; R samples per second (default 44100) and C\n"
    "      channels (default 2).\n"
    "info  prints the channels, rate, sample frames and length of a file, and\n"
    "      whether the game can play it.\n";

int OggMain(const tool::Args& args);

VELTO_TOOL_COMMAND("ogg", "make test tones and inspect Ogg Vorbis sounds", kUsage, &OggMain);

// A number within [lo, hi], or false.
bool ParseNumber(const std::string& text, double lo, double hi, double& out) {
  char* end = nullptr;
  out = strtod(text.c_str(), &end);
  return !text.empty() && end && *end == 0 && out >= lo && out <= hi;
}

int Tone(const tool::Args& args) {
  double freq = -1, ms = -1, rate = 44100, channels = 2;
  std::string out;
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    bool hasValue = i + 1 < args.size();
    double* target = a == "--freq" ? &freq : a == "--ms" ? &ms : a == "--rate" ? &rate : a == "--channels" ? &channels
                                                                                                            : nullptr;
    if (target) {
      if (!hasValue) return tool::Usage("ogg");
      double lo = target == &freq ? 0 : 1;
      double hi = target == &freq ? 100000 : target == &ms ? 3600000 : target == &rate ? 200000 : 8;
      if (!ParseNumber(args[++i], lo, hi, *target)) return tool::Fail("bad value for " + a + ": " + args[i]);
    } else if (!a.empty() && a[0] == '-') {
      return tool::Usage("ogg");
    } else if (out.empty()) {
      out = a;
    } else {
      return tool::Usage("ogg");
    }
  }
  if (freq < 0 || ms < 0 || out.empty()) return tool::Usage("ogg");
  std::vector<uint8_t> ogg;
  if (!EncodeOggTone(freq, static_cast<uint32_t>(ms), static_cast<uint32_t>(rate), static_cast<uint32_t>(channels),
                     ogg))
    return tool::Fail("the encoder refuses " + std::to_string(static_cast<int>(rate)) + " Hz with " +
                      std::to_string(static_cast<int>(channels)) + " channels");
  std::ofstream file(out, std::ios::binary);
  file.write(reinterpret_cast<const char*>(ogg.data()), static_cast<std::streamsize>(ogg.size()));
  if (!file) return tool::Fail("cannot write " + out);
  return 0;
}

int Info(const tool::Args& args) {
  if (args.size() != 2) return tool::Usage("ogg");
  std::ifstream file(args[1], std::ios::binary);
  if (!file) return tool::Fail("cannot read " + args[1]);
  std::vector<uint8_t> data((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (!IsOggSignature(data.data(), data.size())) return tool::Fail(args[1] + ": not an Ogg file");
  OggMemorySource source{data.data(), data.data(), data.data() + data.size()};
  ov_callbacks callbacks = {
      [](void* p, size_t s, size_t n, void* d) { return OggMemoryRead(static_cast<OggMemorySource*>(d), p, s, n); },
      [](void* d, ogg_int64_t o, int w) { return OggMemorySeek(static_cast<OggMemorySource*>(d), o, w); },
      [](void*) { return 0; },
      [](void* d) { return OggMemoryTell(static_cast<OggMemorySource*>(d)); }};
  OggVorbis_File vf;
  if (ov_open_callbacks(&source, &vf, nullptr, 0, callbacks) != 0) return tool::Fail(args[1] + ": not Ogg Vorbis");
  vorbis_info* info = ov_info(&vf, -1);
  long long frames = ov_pcm_total(&vf, -1);
  // The frame count comes from the file's last page and may be near the
  // top of the range: split it so that the milliseconds cannot overflow, and
  // give -1, like an unknown length, where they would not fit.
  long long ms = -1;
  if (info->rate > 0 && frames >= 0 && frames / info->rate <= LLONG_MAX / 1000 - 1)
    ms = frames / info->rate * 1000 + frames % info->rate * 1000 / info->rate;
  printf("channels: %d\nrate: %ld\nframes: %lld\nms: %lld\nplayable: %s\n", info->channels, info->rate, frames,
         ms, OggFormatUsable(info) ? "yes" : "no");
  ov_clear(&vf);
  return 0;
}

int OggMain(const tool::Args& args) {
  if (args.empty()) return tool::Usage("ogg");
  if (args[0] == "tone") return Tone(args);
  if (args[0] == "info") return Info(args);
  return tool::Usage("ogg");
}

}  // namespace
