// velto-tool transition: plays one screen transition between two pictures
// and writes every frame it draws, so a game maker can see an effect and
// tune its parameters without writing a scenario. It runs the engine's own
// transition at the game's 30 ms frame step, with the random sequence the
// game starts with under --fixed-step.
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "Command.h"
#include "ToolFiles.h"
#include "app/core/MainWindow.h"
#include "assets/DIBImage.h"
#include "assets/DIBSprite.h"
#include "assets/FileJoin.h"
#include "assets/PngEncode.h"
#include "assets/SpriteCache.h"
#include "platform/Encoding.h"
#include "platform/Paths.h"
#include "platform/Random.h"
#include "scene/DIBOverlap.h"
#include "ui/EffectParam.h"

namespace {

int TransitionMain(const tool::Args& args);

VELTO_TOOL_COMMAND(
    "transition", "preview a screen transition as PNG frames",
    "usage: velto-tool transition EFFECT [PARAMS...] --from OLD.png --to NEW.png\n"
    "                             [--frames N] [--pictures SOURCE] OUT_DIR\n"
    "\n"
    "Plays transition EFFECT from OLD to NEW and writes the frames it draws as\n"
    "OUT_DIR/frame0000.png, frame0001.png, ...: the frame drawn as it starts,\n"
    "then one every 30 ms until its last frame, at most N frames (default 1000).\n"
    "\n"
    "EFFECT is a number or a name; PARAMS are its parameters in order:\n"
    "   1 blt        duration\n"
    "   2 fade       duration\n"
    "   3 alpha      duration mode(0-2) MASK softness\n"
    "   4 wipe       duration mode(0-1) MASK\n"
    "   5 rotate     duration direction(0-1)\n"
    "   6 lensflare  duration FLARE flare-start flare-end direction(0-1)\n"
    "   7 twist      duration direction\n"
    "   8 bound      duration mode(0,1,10,11) bounces vector-x vector-y\n"
    "   9 kacchin    duration mode(0-1)\n"
    "  10 glass      duration mode(0-4)\n"
    "  11 fire       duration\n"
    "  12 water      duration\n"
    "  13 film       FRAME SCRATCH phase1 phase2 phase3\n"
    "  14 rotdoor    duration direction(0-2)\n"
    "  15 blur       duration mode(0-5,10-13)\n"
    "Times are in milliseconds. A picture (MASK, FLARE, FRAME, SCRATCH) is a\n"
    "picture name in SOURCE (a folder or archive of .MGD pictures, default the\n"
    "current folder), or a .png file taken as a picture of one element; \"\"\n"
    "leaves it out. OLD and NEW must have the same size (the game's is 800x600).\n"
    "See docs/transitions.md.\n",
    &TransitionMain);

struct EffectSyntax {
  const char* name;
  const char* params;  // 'i' an integer, 's' a picture
};

const EffectSyntax kSyntax[EFFECT_COUNT] = {
    {"", ""},           {"blt", "i"},      {"fade", "i"},      {"alpha", "iisi"}, {"wipe", "iis"},
    {"rotate", "ii"},   {"lensflare", "isiii"}, {"twist", "ii"}, {"bound", "iiiii"}, {"kacchin", "ii"},
    {"glass", "ii"},    {"fire", "i"},     {"water", "i"},     {"film", "ssiii"}, {"rotdoor", "ii"},
    {"blur", "ii"},
};

// The tool's face of the application object: the picture cache for the
// effects, and error boxes printed instead of shown.
class CToolWindow : public CMainWindow {
 protected:
  void ShowErrorBox(const char* textLocal) override {
    std::string text = plat::ToUtf8(textLocal);
    for (char& c : text)
      if (c == '\n') c = ' ';
    fprintf(stderr, "velto-tool: %s\n", text.c_str());
  }
};

bool ParseInt(const std::string& text, int32_t* out) {
  char* end = nullptr;
  long long v = strtoll(text.c_str(), &end, 10);
  if (text.empty() || *end || v < INT32_MIN || v > INT32_MAX) return false;
  *out = static_cast<int32_t>(v);
  return true;
}

int ParseEffect(const std::string& text) {
  int32_t number = 0;
  if (ParseInt(text, &number)) return number >= 1 && number < EFFECT_COUNT ? number : 0;
  std::string lower = text;
  for (char& c : lower) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  for (int i = 1; i < EFFECT_COUNT; ++i)
    if (lower == kSyntax[i].name) return i;
  return 0;
}

bool EndsWithPng(const std::string& name) {
  if (name.size() < 4) return false;
  std::string tail = name.substr(name.size() - 4);
  for (char& c : tail) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  return tail == ".png";
}

bool LoadPng(const std::string& path, std::vector<uint32_t>* pixels, int* w, int* h) {
  std::vector<uint8_t> file;
  if (!tool::ReadWholeFile(path, &file)) {
    tool::Fail("cannot read '" + path + "'");
    return false;
  }
  if (!LoadPngImage(file.data(), file.size(), pixels, w, h, size_t{4096} * 4096)) {
    tool::Fail("'" + path + "' is not a readable PNG (at most 4096x4096)");
    return false;
  }
  return true;
}

bool LoadImage(const std::string& path, CDIBImage* image) {
  std::vector<uint32_t> pixels;
  int w = 0, h = 0;
  if (!LoadPng(path, &pixels, &w, &h)) return false;
  if (!image->Create(w, h) || !image->GetPixels()) {
    tool::Fail("out of memory for '" + path + "'");
    return false;
  }
  std::copy(pixels.begin(), pixels.end(), image->GetPixels());
  return true;
}

// A PNG given as a picture parameter goes into the cache under a short
// name of its own, as one element covering it; the effect then reads it
// like any picture.
bool AddPngPicture(const std::string& path, int index, CSpriteCache* cache, std::string* name) {
  std::vector<uint32_t> pixels;
  int w = 0, h = 0;
  if (!LoadPng(path, &pixels, &w, &h)) return false;
  auto sprite = std::make_unique<CDIBSprite>();
  if (!sprite->Create(w, h) || !sprite->GetPixels()) {
    tool::Fail("out of memory for '" + path + "'");
    return false;
  }
  std::copy(pixels.begin(), pixels.end(), sprite->GetPixels());
  *name = "PNG_PICTURE_" + std::to_string(index);
  sprite->SetName(name->c_str());
  if (!cache->Add(sprite.get())) {
    tool::Fail("cannot hold '" + path + "'");
    return false;
  }
  sprite.release();
  return true;
}

bool WriteFrame(const CDIBImage& frame, const std::string& dir, int index) {
  std::vector<uint8_t> png;
  char name[32];
  snprintf(name, sizeof name, "frame%04d.png", index);
  const std::string path = plat::WithSeparator(dir) + name;
  if (!EncodePngPixels(frame.GetPixels(), frame.GetWidth(), frame.GetHeight(), false, &png) ||
      !tool::WriteWholeFile(path, png)) {
    tool::Fail("cannot write '" + path + "'");
    return false;
  }
  return true;
}

int TransitionMain(const tool::Args& args) {
  std::string from, to, pictures = ".", out;
  // Without --frames, at most half a minute of frames.
  long frames = 1000;
  std::vector<std::string> positional;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool value = i + 1 < args.size();
    if (a == "--help") return tool::Usage("transition");
    if (a == "--from" && value) {
      from = args[++i];
    } else if (a == "--to" && value) {
      to = args[++i];
    } else if (a == "--pictures" && value) {
      pictures = args[++i];
    } else if (a == "--frames" && value) {
      int32_t n = 0;
      if (!ParseInt(args[++i], &n) || n < 1) return tool::Fail("--frames needs a count of 1 or more");
      frames = n;
    } else {
      positional.push_back(a);
    }
  }
  if (positional.size() < 2 || from.empty() || to.empty()) return tool::Usage("transition");
  out = positional.back();
  positional.pop_back();
  const int effect = ParseEffect(positional[0]);
  if (effect == 0) return tool::Fail("unknown effect '" + positional[0] + "' (1 to 15 or a name)");
  const std::string syntax = kSyntax[effect].params;
  if (positional.size() - 1 != syntax.size())
    return tool::Fail(std::string(kSyntax[effect].name) + " takes " + std::to_string(syntax.size()) +
                      " parameters (velto-tool transition --help)");

  CDIBImage oldImage, newImage, target;
  if (!LoadImage(from, &oldImage) || !LoadImage(to, &newImage)) return 1;
  if (oldImage.GetWidth() != newImage.GetWidth() || oldImage.GetHeight() != newImage.GetHeight())
    return tool::Fail("OLD and NEW must have the same size");
  if (!target.Create(newImage.GetWidth(), newImage.GetHeight()) || !target.GetPixels())
    return tool::Fail("out of memory");

  CFileJoin source;
  const size_t slash = pictures.find_last_of('/');
  const std::string dir = slash == std::string::npos ? "" : pictures.substr(0, slash + 1);
  const std::string base = slash == std::string::npos ? pictures : pictures.substr(slash + 1);
  source.Initialize(dir.c_str(), base.empty() ? "." : base.c_str(), ".MGD");
  CSpriteCache cache;
  cache.Initialize(&source);
  CToolWindow window;
  gpMainWindow = &window;
  window.mpSpriteCache = &cache;

  EffectParam param;
  EffectParamWriter write(&param, effect);
  for (size_t i = 0; i < syntax.size(); ++i) {
    const std::string& text = positional[i + 1];
    if (syntax[i] == 'i') {
      int32_t v = 0;
      if (!ParseInt(text, &v)) return tool::Fail("'" + text + "' is not a whole number");
      write.Int(v);
      continue;
    }
    std::string name = text;
    if (EndsWithPng(text) && !AddPngPicture(text, static_cast<int>(i), &cache, &name)) return 1;
    if (name.size() > 31) return tool::Fail("picture name '" + name + "' is longer than 31 characters");
    write.Name(name.c_str());
  }

  if (!plat::MakeDirectory(out)) return tool::Fail("cannot make folder '" + out + "'");
  plat::SRand(1);
  // The screen shows the old picture until the transition draws over it.
  oldImage.Copy(&target, 0, 0, 0, 0, oldImage.GetWidth(), oldImage.GetHeight());
  int written = 0;
  {
    CDIBOverlap overlap;
    overlap.InitEffect(&oldImage, &newImage, &param);
    while (overlap.IsRun() && written < frames) {
      if (written > 0) {
        overlap.Move(30);
        if (!overlap.IsRun()) break;
      }
      overlap.Draw(&target);
      if (!WriteFrame(target, out, written)) return 1;
      ++written;
    }
  }
  cache.Release();
  printf("%d frames in %s\n", written, out.c_str());
  return 0;
}

}  // namespace
