// velto-tool setup placeholders: plain stand-in pictures and hit maps for
// the title, save/load, option and confirmation screens at their default
// names and places, so that a game folder runs before its artist has drawn
// them. Files already there are kept.
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "Command.h"
#include "ToolFiles.h"
#include "app/core/Trace.h"
#include "assets/PictureWriter.h"
#include "screens/DIBOptionScreen.h"
#include "screens/DIBSaveLoadScreen.h"
#include "screens/DIBTitleScreen.h"
#include "ui/HitMap.h"

namespace {

struct Box {
  int w, h;
};

// The five looks of a control: normal, focused, pressed, disabled,
// focused-disabled; a hue per control family.
uint32_t StateColor(uint32_t hue, int state) {
  static const int kLight[5] = {150, 210, 255, 70, 100};
  auto channel = [&](int shift) {
    return static_cast<uint32_t>(((hue >> shift) & 0xFF) * kLight[state] / 255) << shift;
  };
  return 0xFF000000u | channel(16) | channel(8) | channel(0);
}

// A box with a light frame.
void FillBox(std::vector<uint32_t>& px, int stride, int x0, int y0, Box b, uint32_t color) {
  for (int y = 0; y < b.h; ++y)
    for (int x = 0; x < b.w; ++x) {
      const bool edge = x == 0 || y == 0 || x == b.w - 1 || y == b.h - 1;
      px[static_cast<size_t>(y0 + y) * stride + x0 + x] = edge ? 0xFFE0E0E0u : color;
    }
}

struct Frame {
  Box box;
  uint32_t color;
};

// A parts picture: frame k of `frames` as element k.
std::vector<uint8_t> Parts(const std::vector<Frame>& frames) {
  int cw = 1, ch = 1;
  for (const Frame& f : frames) cw = std::max(cw, f.box.w), ch = std::max(ch, f.box.h);
  const int perRow = 5, rows = (static_cast<int>(frames.size()) + perRow - 1) / perRow;
  const int w = cw * perRow, h = ch * rows;
  std::vector<uint32_t> px(static_cast<size_t>(w) * h, 0);
  std::vector<SprtElement> elements;
  for (size_t k = 0; k < frames.size(); ++k) {
    const int x0 = static_cast<int>(k % perRow) * cw, y0 = static_cast<int>(k / perRow) * ch;
    FillBox(px, w, x0, y0, frames[k].box, frames[k].color);
    SprtElement e;
    e.x = static_cast<int16_t>(x0);
    e.y = static_cast<int16_t>(y0);
    e.w = static_cast<int16_t>(frames[k].box.w);
    e.h = static_cast<int16_t>(frames[k].box.h);
    elements.push_back(e);
  }
  std::vector<uint8_t> out;
  std::string error;
  BuildPictureFile(px.data(), w, h, kPictureRaw, elements, 6, &out, &error);
  return out;
}

// A full-screen picture: a vertical gradient, or a panel of `panel` in the
// middle over transparency.
std::vector<uint8_t> Screen(uint32_t top, uint32_t bottom, Box panel = {800, 600}) {
  std::vector<uint32_t> px(800 * 600, 0);
  const int x0 = (800 - panel.w) / 2, y0 = (600 - panel.h) / 2;
  for (int y = 0; y < panel.h; ++y) {
    uint32_t c = 0;
    for (int shift = 0; shift < 32; shift += 8) {
      const int a = static_cast<int>((top >> shift) & 0xFF), b = static_cast<int>((bottom >> shift) & 0xFF);
      c |= static_cast<uint32_t>(a + (b - a) * y / panel.h) << shift;
    }
    for (int x = 0; x < panel.w; ++x) px[static_cast<size_t>(y0 + y) * 800 + x0 + x] = c;
  }
  SprtElement e;
  e.w = 800;
  e.h = 600;
  std::vector<uint8_t> out;
  std::string error;
  BuildPictureFile(px.data(), 800, 600, kPictureRaw, {e}, 6, &out, &error);
  return out;
}

struct Region {
  int value, x, y;
  Box box;
};

std::vector<uint8_t> HitMap(const std::vector<Region>& regions) {
  std::vector<uint8_t> map(hitmap::kMapSize, 255);
  for (const Region& r : regions)
    for (int y = std::max(r.y, 0); y < std::min(r.y + r.box.h, hitmap::kHeight); ++y)
      for (int x = std::max(r.x, 0); x < std::min(r.x + r.box.w, hitmap::kWidth); ++x)
        map[static_cast<size_t>(y) * hitmap::kWidth + x] = static_cast<uint8_t>(r.value);
  return hitmap::Encode(map.data());
}

// Sets the five frames of a control family from its layout frames.
void SetFrames(std::vector<Frame>& frames, const int32_t* first, int count, Box box, uint32_t hue) {
  for (int s = 0; s < count; ++s) {
    const int32_t k = first[s];
    if (k < 0 || k > 255) continue;
    if (static_cast<size_t>(k) >= frames.size()) frames.resize(static_cast<size_t>(k) + 1, Frame{{1, 1}, 0});
    frames[static_cast<size_t>(k)] = Frame{box, StateColor(hue, s % 5)};
  }
}

class CWriter {
 public:
  explicit CWriter(std::string game) : mGame(std::move(game)) {}
  // Writes `folder/name` unless it exists; false when it cannot be written.
  bool Put(const char* folder, std::string name, const std::vector<uint8_t>& bytes, const char* extension) {
    Trace("CWriter::Put");
    if (name.empty()) return true;
    if (name.find('.') == std::string::npos) name += extension;
    const std::string dir = mGame + "/" + folder, path = dir + "/" + name;
    mkdir(dir.c_str(), 0755);
    struct stat st;
    if (stat(path.c_str(), &st) == 0) {
      printf("kept    %s/%s\n", folder, name.c_str());
      return true;
    }
    if (!tool::WriteWholeFile(path, bytes)) return false;
    printf("made    %s/%s\n", folder, name.c_str());
    return true;
  }

 private:
  std::string mGame;
};

bool TitlePictures(CWriter& out) {
  Trace("TitlePictures");
  const TitleLayout& s = CDIBTitleScreen::DefaultLayout();
  const Box button{120, 36};
  std::vector<Frame> frames{{{360, 80}, 0xFFF0D060u}};
  std::vector<Region> regions;
  for (int i = 0; i < TitleLayout::kButtons; ++i) {
    SetFrames(frames, s.nFrame[i], 5, button, 0xFF80A0FFu);
    regions.push_back({s.nHitNo[i], s.nPos[i][0], s.nPos[i][1], button});
  }
  return out.Put("MGD", s.szPicture[0], Screen(0xFF102040u, 0xFF000000u), ".MGD") &&
         out.Put("MGD", s.szPicture[1], Screen(0xFF403010u, 0xFF000000u), ".MGD") &&
         out.Put("MGD", s.szPicture[2], Screen(0xFF203050u, 0xFF101020u), ".MGD") &&
         out.Put("MGD", s.szParts, Parts(frames), ".MGD") && out.Put("DATA", s.szHitMap, HitMap(regions), ".BMP");
}

bool SaveLoadPictures(CWriter& out) {
  Trace("SaveLoadPictures");
  const SaveLoadLayout& s = CDIBSaveLoadScreen::DefaultLayout();
  std::vector<Frame> frames;
  std::vector<Region> regions;
  for (int i = 0; i < SaveLoadLayout::kControls; ++i) {
    const Box box = i == SAVELOAD_BACK ? Box{60, 36} : i < SAVELOAD_SLOT ? Box{30, 36} : Box{370, 44};
    SetFrames(frames, s.nFrame[i], 5, box, i < SAVELOAD_SLOT ? 0xFF80A0FFu : 0xFFE0E0F0u);
    regions.push_back({s.nHitNo[i], s.nPos[i][0], s.nPos[i][1], box});
  }
  return out.Put("MGD", s.szBack[0], Screen(0xE0102030u, 0xE0000010u), ".MGD") &&
         out.Put("MGD", s.szBack[1], Screen(0xE0102030u, 0xE0000010u), ".MGD") &&
         out.Put("MGD", s.szParts, Parts(frames), ".MGD") && out.Put("DATA", s.szHitMap, HitMap(regions), ".BMP");
}

bool OptionPictures(CWriter& out) {
  Trace("OptionPictures");
  const OptionLayout& s = CDIBOptionScreen::DefaultLayout();
  std::vector<Frame> frames;
  std::vector<Region> regions;
  for (int i = 0; i < OptionLayout::kControls; ++i) {
    const bool slider = CDIBOptionScreen::IsSlider(i);
    const Box box = slider ? Box{240, 12} : Box{70, 30};
    SetFrames(frames, s.nFrame[i], 5, box, 0xFF80A0FFu);
    if (slider) SetFrames(frames, s.nFrame[i] + 5, 5, Box{12, 24}, 0xFFFFC080u);
    regions.push_back({s.nHitNo[i], s.nPos[i][0], s.nPos[i][1] - (slider ? 6 : 0), slider ? Box{240, 24} : box});
  }
  return out.Put("MGD", s.szBack, Screen(0xE0203020u, 0xE0001000u), ".MGD") &&
         out.Put("MGD", s.szParts, Parts(frames), ".MGD") && out.Put("DATA", s.szHitMap, HitMap(regions), ".BMP");
}

bool ConfPictures(CWriter& out) {
  Trace("ConfPictures");
  // The confirmation screen's built-in names and places.
  const Box button{100, 40};
  std::vector<Frame> frames{{{1, 1}, 0}};
  for (int i = 0; i < 10; ++i) frames.push_back({button, StateColor(i < 5 ? 0xFF80FF80u : 0xFFFF8080u, i % 5)});
  bool ok = out.Put("MGD", "CONF_P", Parts(frames), ".MGD") &&
            out.Put("DATA", "CONF_C.BMP", HitMap({{0, 240, 280, button}, {1, 420, 280, button}}), ".BMP");
  for (int m = 1; m <= 5 && ok; ++m)
    ok = out.Put("MGD", "CONF0" + std::to_string(m) + "_B", Screen(0xD0303040u, 0xD0101018u, {420, 180}), ".MGD");
  return ok;
}

int PlaceholdersMain(const tool::Args& args);

VELTO_TOOL_COMMAND("setup-pictures", "write stand-in pictures and hit maps for the game's screens",
                   "usage: velto-tool setup-pictures GAME_DIR\n"
                   "\n"
                   "Writes plain stand-in pictures (MGD/) and hit maps (DATA/) for the title,\n"
                   "save/load, option and confirmation screens under their default names, at\n"
                   "the places of the default layouts: coloured boxes for the controls in their\n"
                   "five looks, gradients for the backgrounds. Files that exist are kept, so\n"
                   "the game's own pictures always win.\n",
                   &PlaceholdersMain);

int PlaceholdersMain(const tool::Args& args) {
  Trace("PlaceholdersMain");
  if (args.size() != 1) return tool::Usage("setup-pictures");
  CWriter out(args[0]);
  if (!TitlePictures(out) || !SaveLoadPictures(out) || !OptionPictures(out) || !ConfPictures(out))
    return tool::Fail("cannot write into " + args[0]);
  return 0;
}

}  // namespace
