// velto-tool draw: draws a picture from a description (shapes, gradients,
// figures, captions, frames) and writes it as a picture file, a PNG or a
// hit map. docs/drawing.md describes the language.
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "Command.h"
#include "gen/DrawScript.h"
#include "gen/SourceOptions.h"

namespace {

int DrawMain(const tool::Args& args);

VELTO_TOOL_COMMAND("draw", "draw a picture, a hit map or movie frames from a description",
                   "usage: velto-tool draw [OPTIONS] IN.pic OUT.MGD|OUT.png|OUT.BMP\n"
                   "       velto-tool draw [OPTIONS] --frames N IN.pic OUT%04d.png\n"
                   "\n"
                   "options:\n"
                   "  --var NAME=VALUE   a variable for the description (repeatable)\n"
                   "  --text FILE        the texts that @key names (repeatable)\n"
                   "  -I DIR             a folder for %include and image files (repeatable)\n"
                   "  --deps FILE        write the files read, for the build\n"
                   "  --frames N         draw N frames, the variable 'frame' counting 0..N-1,\n"
                   "                     into files named by the printf pattern\n"
                   "\n"
                   "The output's extension chooses its kind: .MGD a picture file (raw, sgd\n"
                   "or png as the description says), .png an RGBA PNG, .BMP a hit map.\n",
                   &DrawMain);

// The pattern with its one "%d" or "%0Nd" replaced by n; "" when the
// pattern has no such field or any other '%'.
std::string FrameName(const std::string& pattern, long n) {
  size_t at = pattern.find('%');
  if (at == std::string::npos || pattern.find('%', at + 1) != std::string::npos) return "";
  size_t i = at + 1;
  bool zero = i < pattern.size() && pattern[i] == '0';
  int width = 0;
  while (i < pattern.size() && isdigit(static_cast<unsigned char>(pattern[i]))) width = width * 10 + (pattern[i++] - '0');
  if (i >= pattern.size() || pattern[i] != 'd' || width > 12) return "";
  std::string digits = std::to_string(n);
  if (static_cast<int>(digits.size()) < width) digits.insert(0, static_cast<size_t>(width) - digits.size(), zero ? '0' : ' ');
  return pattern.substr(0, at) + digits + pattern.substr(i + 1);
}

int DrawOne(gen::SourceOptions& options, gen::CDrawScript& script, const std::string& in, const std::string& out,
            int frame, std::vector<std::string>* deps) {
  gen::CPreprocessor pre;
  gen::ApplySourceOptions(options, &pre);
  if (frame >= 0) pre.SetVar("frame", gen::Value::Num(frame));
  std::vector<gen::SourceLine> lines;
  std::string error;
  if (!pre.Run(in, &lines, &error)) return tool::Fail(error);
  gen::PictureResult picture;
  if (!script.Run(lines, &picture, &error)) return tool::Fail(error);
  if (!gen::WritePicture(out, picture, &error, frame >= 0)) return tool::Fail(error);
  if (deps && deps->empty()) {
    *deps = pre.Files();
    deps->insert(deps->end(), script.ImageFiles().begin(), script.ImageFiles().end());
  }
  return 0;
}

int DrawMain(const tool::Args& input) {
  std::vector<std::string> args = input;
  gen::SourceOptions options;
  std::string error;
  if (!gen::TakeSourceOptions(&args, &options, &error)) return tool::Fail(error);
  long frames = -1;
  std::vector<std::string> files;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--frames" && i + 1 < args.size()) {
      char* end = nullptr;
      frames = strtol(args[++i].c_str(), &end, 10);
      if (*end || frames < 1 || frames > 100000) return tool::Fail("--frames needs 1 to 100000");
    } else if (!args[i].empty() && args[i][0] == '-') {
      return tool::Usage("draw");
    } else {
      files.push_back(args[i]);
    }
  }
  if (files.size() != 2) return tool::Usage("draw");
  std::vector<std::string> deps;
  // One script for all frames: the pictures it draws in are read once.
  gen::CDrawScript script;
  for (const auto& dir : options.includeDirs) script.AddImageDir(dir);
  if (frames < 0) {
    int rc = DrawOne(options, script, files[0], files[1], -1, &deps);
    if (rc) return rc;
    if (!gen::WriteDepFile(options, files[1], deps, &error)) return tool::Fail(error);
    return 0;
  }
  if (FrameName(files[1], 0).empty()) return tool::Fail("--frames needs an output pattern such as F%04d.png");
  for (long f = 0; f < frames; ++f) {
    std::string name = FrameName(files[1], f);
    int rc = DrawOne(options, script, files[0], name, static_cast<int>(f), &deps);
    if (rc) return rc;
  }
  return 0;
}

}  // namespace
