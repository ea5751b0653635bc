#include "app/RunOptions.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

bool ParseCount(const char* text, long long& out) {
  if (!text || !*text) return false;
  errno = 0;
  char* end = nullptr;
  long long v = strtoll(text, &end, 10);
  if (errno || *end || v < 0) return false;
  out = v;
  return true;
}

}  // namespace

const char* RunUsage() {
  return "usage: veltogame [OPTIONS]\n"
         "\n"
         "Plays the game installed in the game folder.\n"
         "\n"
         "  --game DIR            the game folder (default: $VELTO_INSTPATH, else the installed game,\n"
         "                        else the current folder)\n"
         "  --headless            run without a window or display; the picture is kept in memory\n"
         "  --fixed-step          every frame is exactly 30 ms of game time and nothing sleeps\n"
         "  --frames N            quit normally after N frames\n"
         "  --input FILE          replay an input script (one event a line: FRAME EVENT ARGS)\n"
         "  --record FILE         write the player's input as an input script\n"
         "  --screenshot N:FILE   write the picture shown after frame N as a PNG (repeatable)\n"
         "  --audio-out FILE      write the mixed sound of a headless run to a WAV file\n"
         "  --start SCENARIO      start a new game from that scenario at once (no title, no opening)\n"
         "  --stats FILE          write per screen the frames' processor time and the peak memory at exit\n"
         "  --help                show this help\n"
         "  --version             show the version\n";
}

bool ParseRunOptions(int argc, char** argv, RunOptions& o, std::string& error) {
  for (int i = 1; i < argc; ++i) {
    const char* a = argv[i];
    auto value = [&](const char* name) -> const char* {
      if (i + 1 >= argc) {
        error = std::string(name) + " needs a value";
        return nullptr;
      }
      return argv[++i];
    };
    if (!strcmp(a, "--help") || !strcmp(a, "-h")) {
      o.showHelp = true;
    } else if (!strcmp(a, "--version")) {
      o.showVersion = true;
    } else if (!strcmp(a, "--headless")) {
      o.headless = true;
    } else if (!strcmp(a, "--fixed-step")) {
      o.fixedStep = true;
    } else if (!strcmp(a, "--game")) {
      const char* v = value(a);
      if (!v) return false;
      o.gameDir = v;
    } else if (!strcmp(a, "--frames")) {
      const char* v = value(a);
      if (!v) return false;
      if (!ParseCount(v, o.frames)) {
        error = std::string("--frames needs a count, not '") + v + "'";
        return false;
      }
    } else if (!strcmp(a, "--input")) {
      const char* v = value(a);
      if (!v) return false;
      o.inputFile = v;
    } else if (!strcmp(a, "--record")) {
      const char* v = value(a);
      if (!v) return false;
      o.recordFile = v;
    } else if (!strcmp(a, "--audio-out")) {
      const char* v = value(a);
      if (!v) return false;
      o.audioOut = v;
    } else if (!strcmp(a, "--stats")) {
      const char* v = value(a);
      if (!v) return false;
      o.statsFile = v;
    } else if (!strcmp(a, "--start")) {
      const char* v = value(a);
      if (!v) return false;
      if (!*v) {
        error = "--start needs a scenario name";
        return false;
      }
      o.startScenario = v;
    } else if (!strcmp(a, "--screenshot")) {
      const char* v = value(a);
      if (!v) return false;
      const char* colon = strchr(v, ':');
      long long frame = 0;
      if (!colon || colon[1] == 0 || !ParseCount(std::string(v, colon).c_str(), frame)) {
        error = std::string("--screenshot needs N:FILE.png, not '") + v + "'";
        return false;
      }
      o.screenshots.emplace(frame, colon + 1);
    } else {
      error = std::string("unknown option '") + a + "'";
      return false;
    }
  }
  return true;
}
