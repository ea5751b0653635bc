// velto-tool movie: makes movies for the game (pictures and a sound encoded
// as an MPEG-1 system stream) and tells what a movie file holds and whether
// this build can play it.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "Command.h"
#include "video/MovieEncode.h"
#include "video/MovieProbe.h"

namespace {

const char kUsage[] =
    "usage: velto-tool movie info FILE\n"
    "       velto-tool movie make [--fps N] [--hold FRAMES] [--size WxH] [--quality Q]\n"
    "                             [--sound FILE] OUT.MPG PICTURE.png...\n\n"
    "info  prints the container, the streams, the picture size, the length, and\n"
    "      whether this build can play the movie (exit status 0) or not (1).\n"
    "make  encodes the PNG pictures, in order, as an MPEG-1 system stream with\n"
    "      MPEG-1 video and MPEG audio layer II, which every build plays.\n"
    "      --fps N        frames per second: 24, 25, 30 (default), 50 or 60\n"
    "      --hold FRAMES  frames each picture stays on (default 1)\n"
    "      --size WxH     the movie's size, even, 16 to 4094 (default: the\n"
    "                     first picture's); other pictures are scaled to it\n"
    "      --quality Q    2 (best, largest) to 31 (default 4)\n"
    "      --sound FILE   a WAV (or any sound FFmpeg reads), converted to\n"
    "                     44100 Hz stereo; the last picture stays on until\n"
    "                     the sound is over\n"
    "      The game shows a movie stretched to 800 x 600.\n";

int MovieMain(const tool::Args& args);

VELTO_TOOL_COMMAND("movie", "make movies from pictures and a sound, and check movie files", kUsage, &MovieMain);

bool ParseInt(const std::string& text, int lo, int hi, int* out) {
  char* end = nullptr;
  long v = strtol(text.c_str(), &end, 10);
  if (text.empty() || !end || *end || v < lo || v > hi) return false;
  *out = static_cast<int>(v);
  return true;
}

bool EndsWith(const std::string& s, const std::string& tail) {
  if (s.size() < tail.size()) return false;
  for (size_t i = 0; i < tail.size(); ++i)
    if (tolower(static_cast<unsigned char>(s[s.size() - tail.size() + i])) != tail[i]) return false;
  return true;
}

int Info(const tool::Args& args) {
  if (args.size() != 2) return tool::Usage("movie");
  MovieProbe probe;
  if (!ProbeMovie(args[1], &probe)) return tool::Fail("cannot read " + args[1]);
  const MovieFormat& f = probe.format;
  printf("file: %s\nbytes: %llu\n", args[1].c_str(), static_cast<unsigned long long>(probe.size));
  printf("container: %s\n", f.container.empty() ? "unknown" : f.container.c_str());
  for (size_t i = 0; i < f.streams.size(); ++i) printf("stream %zu: %s\n", i, f.streams[i].c_str());
  if (!f.videoCodec.empty()) printf("size: %dx%d\nframe: %d ms\n", f.width, f.height, f.frameMs);
  if (f.durationMs >= 0)
    printf("duration: %lld.%03lld s\n", static_cast<long long>(f.durationMs / 1000),
           static_cast<long long>(f.durationMs % 1000));
  else
    printf("duration: unknown\n");
  if (probe.bPlayable) {
    printf("playable: yes (%s)\n", !f.audioCodec.empty() ? (probe.bSound ? "with sound" : "the sound does not decode")
                                                         : "no sound");
    return 0;
  }
  printf("playable: no (%s)\n", probe.error.c_str());
  return 1;
}

int Make(const tool::Args& args) {
  MovieMakeOptions o;
  std::string out;
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    bool value = i + 1 < args.size();
    if (a == "--fps" || a == "--hold" || a == "--quality") {
      int* target = a == "--fps" ? &o.fps : a == "--hold" ? &o.hold : &o.quality;
      if (!value || !ParseInt(args[++i], 1, 100000, target)) return tool::Fail("bad value for " + a);
    } else if (a == "--size") {
      if (!value) return tool::Usage("movie");
      const std::string& v = args[++i];
      size_t x = v.find('x');
      if (x == std::string::npos || !ParseInt(v.substr(0, x), 1, 100000, &o.width) ||
          !ParseInt(v.substr(x + 1), 1, 100000, &o.height))
        return tool::Fail("bad size " + v + " (WxH)");
    } else if (a == "--sound") {
      if (!value) return tool::Usage("movie");
      o.sound = args[++i];
    } else if (!a.empty() && a[0] == '-') {
      return tool::Usage("movie");
    } else if (out.empty()) {
      out = a;
    } else {
      o.pictures.push_back(a);
    }
  }
  if (out.empty() || o.pictures.empty()) return tool::Usage("movie");
  // The movie comes first: a forgotten name must not overwrite a picture.
  if (EndsWith(out, ".png")) return tool::Fail(out + ": the first name is the movie to write, not a picture");
  std::string error;
  if (!MakeMovie(o, out, &error)) return tool::Fail(error);
  return 0;
}

int MovieMain(const tool::Args& args) {
  if (args.empty()) return tool::Usage("movie");
  if (args[0] == "info") return Info(args);
  if (args[0] == "make") return Make(args);
  return tool::Usage("movie");
}

}  // namespace
