// velto-tool voice: synthesises speech-like voices for a game's spoken
// lines, one file or a whole list. docs/voices.md describes the voices.
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "Command.h"
#include "gen/SoundOut.h"
#include "gen/Voice.h"
#include "gen/VoiceList.h"

namespace {

int VoiceMain(const tool::Args& args);

VELTO_TOOL_COMMAND("voice", "synthesise voices for spoken lines",
                   "usage: velto-tool voice say [SPEAKER OPTIONS] \"TEXT\" OUT.ogg|OUT.wav\n"
                   "       velto-tool voice batch --cast CAST.txt [--ext ogg|wav] LIST OUTDIR\n"
                   "\n"
                   "say    speaks one UTF-8 text\n"
                   "batch  speaks every line of LIST (NAME<TAB>PLATE<TAB>TEXT, as velto-tool\n"
                   "       prep --voices writes it) into OUTDIR/NAME.OGG, with the speaker\n"
                   "       that CAST.txt gives for each name plate: lines 'PLATE PRESET\n"
                   "       [pitch=HZ] [formant=F] [speed=S] [breath=B]'\n"
                   "\n"
                   "speaker options: --speaker girl|woman|boy|man|old  --pitch HZ  --formant F\n"
                   "                 --speed S  --breath B  --rate HZ (default 22050)\n",
                   &VoiceMain);

bool SetSpeakerValue(gen::Speaker* s, const std::string& key, const std::string& value) {
  char* end = nullptr;
  double v = strtod(value.c_str(), &end);
  if (value.empty() || *end) return false;
  if (key == "pitch" && v >= 40 && v <= 600) s->pitch = v;
  else if (key == "formant" && v >= 0.5 && v <= 1.6) s->formant = v;
  else if (key == "speed" && v >= 0.3 && v <= 3) s->speed = v;
  else if (key == "breath" && v >= 0 && v <= 1) s->breath = v;
  else return false;
  return true;
}

int Say(const tool::Args& args) {
  gen::Speaker speaker;
  int rate = 22050;
  std::vector<std::string> rest;
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a.size() > 2 && a.compare(0, 2, "--") == 0 && i + 1 < args.size()) {
      std::string key = a.substr(2), value = args[++i];
      if (key == "speaker") {
        if (!gen::SpeakerPreset(value, &speaker)) return tool::Fail("unknown speaker '" + value + "'");
      } else if (key == "rate") {
        rate = atoi(value.c_str());
        if (rate < 8000 || rate > 48000) return tool::Fail("--rate must be 8000 to 48000");
      } else if (!SetSpeakerValue(&speaker, key, value)) {
        return tool::Fail("bad --" + key + " " + value);
      }
    } else {
      rest.push_back(a);
    }
  }
  if (rest.size() != 2) return tool::Usage("voice");
  std::string error;
  if (!gen::WriteSound(rest[1], gen::RenderVoice(rest[0], speaker, rate), rate, 1, 0.3f, &error))
    return tool::Fail(error);
  return 0;
}

int Batch(const tool::Args& args) {
  std::string cast, ext = "OGG";
  std::vector<std::string> rest;
  for (size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--cast" && i + 1 < args.size()) cast = args[++i];
    else if (args[i] == "--ext" && i + 1 < args.size()) ext = args[++i] == "wav" ? "wav" : "OGG";
    else rest.push_back(args[i]);
  }
  if (rest.size() != 2 || cast.empty()) return tool::Usage("voice");
  std::map<int, gen::Speaker> speakers;
  std::ifstream in(cast);
  if (!in) return tool::Fail("cannot read " + cast);
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    std::istringstream words(line);
    std::string plate, preset, option;
    if (!(words >> plate) || plate[0] == '#') continue;
    gen::Speaker s;
    if (!(words >> preset) || !gen::SpeakerPreset(preset, &s))
      return tool::Fail(cast + ":" + std::to_string(number) + ": PLATE girl|woman|boy|man|old [key=value]...");
    while (words >> option) {
      size_t eq = option.find('=');
      if (eq == std::string::npos || !SetSpeakerValue(&s, option.substr(0, eq), option.substr(eq + 1)))
        return tool::Fail(cast + ":" + std::to_string(number) + ": bad option '" + option + "'");
    }
    speakers[atoi(plate.c_str())] = s;
  }
  std::vector<gen::VoiceLine> lines;
  std::string error;
  if (!gen::ReadVoiceList(rest[0], &lines, &error)) return tool::Fail(error);
  for (const auto& v : lines) {
    auto it = speakers.find(v.plate);
    if (it == speakers.end()) return tool::Fail(v.name + ": no speaker for name plate " + std::to_string(v.plate));
    std::string out = rest[1] + "/" + v.name + "." + ext;
    if (!gen::WriteSound(out, gen::RenderVoice(v.text, it->second, 22050), 22050, 1, 0.3f, &error))
      return tool::Fail(error);
  }
  return 0;
}

int VoiceMain(const tool::Args& args) {
  if (args.empty()) return tool::Usage("voice");
  if (args[0] == "say") return Say(args);
  if (args[0] == "batch") return Batch(args);
  return tool::Usage("voice");
}

}  // namespace
