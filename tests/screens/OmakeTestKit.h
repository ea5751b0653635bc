// A game folder for the extras screen's tests: its pictures, hit map and
// tables, the gallery and scene lists, music, and a way to drive the whole
// program (omake_game) with an input script and read back what it printed.
#pragma once
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "RunCommand.h"
#include "TestDir.h"
#include "app/AppFixture.h"
#include "assets/PictureWriter.h"
#include "assets/PngEncode.h"
#include "scenario/SnrCompiler.h"
#include "scenario/TextCodec.h"
#include "ui/HitMap.h"

namespace omaketest {

// Every control drawn from the parts picture is 35 × 28; thumbnails 100 × 80.
constexpr int kButtonW = 35, kButtonH = 28, kSumW = 100, kSumH = 80;
constexpr uint32_t kBackColor[2] = {0xFF102030u, 0xFF103010u};  // gallery, scenes
constexpr uint32_t kLocked = 0xFF808080u;
constexpr uint32_t kPlateColor[4] = {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFFFFFF00u};

inline uint32_t PartsColor(int frame) { return 0xFF000000u | static_cast<uint32_t>(frame * 3) << 16 | 0x4000u; }
// The normal look of thumbnail k in thumbnail picture `picture`.
inline uint32_t SumColor(int picture, int k) {
  return 0xFF000000u | static_cast<uint32_t>(40 + picture * 50) << 16 | static_cast<uint32_t>(k * 12) << 8 | 0xC0u;
}

inline std::string Picture(int w, int h, const std::vector<SprtElement>& elements,
                           const std::vector<uint32_t>& colors) {
  std::vector<uint32_t> px(static_cast<size_t>(w) * h, 0xFF000000u);
  for (size_t i = 0; i < elements.size(); ++i) {
    const SprtElement& e = elements[i];
    for (int y = e.y; y < e.y + e.h; ++y)
      for (int x = e.x; x < e.x + e.w; ++x) px[static_cast<size_t>(y) * w + x] = colors[i];
  }
  std::vector<uint8_t> out;
  std::string error;
  if (!BuildPictureFile(px.data(), w, h, kPictureRaw, elements, 4, &out, &error)) return {};
  return std::string(out.begin(), out.end());
}

inline std::string Table(const std::string& source, const std::string& name) {
  snr::CompileResult r = snr::CompileScenario(source, name + ".txt", snr::BuildTextEncoding());
  EXPECT_TRUE(r.ok) << r.error;
  return std::string(r.file.begin(), r.file.end());
}

// Where the default layout puts control `id`, for clicks and hit regions.
inline void DefaultPos(int id, int* x, int* y) {
  static const int kRoom[6][2] = {{30, 540}, {300, 75}, {350, 75}, {400, 75}, {450, 75}, {30, 490}};
  if (id < 6) {
    *x = kRoom[id][0];
    *y = kRoom[id][1];
  } else if (id < 9) {
    static const int kPageX[3] = {650, 690, 740};
    *x = kPageX[id - 6];
    *y = 130;
  } else if (id >= 16 && id < 23) {
    *x = 30;
    *y = 155 + 45 * (id - 16);
  } else {
    const int k = id - 36;
    *x = 220 + 140 * (k % 4);
    *y = 180 + 100 * (k / 4);
  }
}
inline int DefaultHit(int id) {
  static const int kRoom[6] = {4, 5, 6, 7, 8, 3};
  if (id < 6) return kRoom[id];
  if (id < 9) return id - 6;
  if (id < 23) return 25 + id - 16;
  return 9 + id - 36;
}

// The game: gallery group 0 has 17 entries (two pages of 16), group 1 two
// entries (the first with three pictures), group 2 none; scenes: group 0
// three, group 1 one. Music M01 (the title's), M02, M03, M04 (the room's).
// `table` is added to the extras screen's table.
inline void MakeOmakeGame(const TestDir& game, const std::string& table = "", bool music = true) {
  MakeGameFolders(game);
  game.Write("MGD/CG_B.MGD", Picture(800, 600, {{0, 0, 800, 600, 0, 0}}, {kBackColor[0]}));
  game.Write("MGD/SCENE_B.MGD", Picture(800, 600, {{0, 0, 800, 600, 0, 0}}, {kBackColor[1]}));
  std::vector<SprtElement> parts;
  std::vector<uint32_t> partsColors;
  for (int i = 0; i < 85; ++i) {
    parts.push_back({static_cast<int16_t>(i % 20 * 40), static_cast<int16_t>(i / 20 * 30), kButtonW, kButtonH, 0, 0});
    partsColors.push_back(PartsColor(i));
  }
  game.Write("MGD/OMAKE_P.MGD", Picture(800, 150, parts, partsColors));
  // Thumbnail pictures: frames 0 and 1 locked, then three looks for each
  // of 16 thumbnails.
  const char* kSums[3] = {"THUMB0_0", "THUMB0_1", "THUMB1_0"};
  for (int t = 0; t < 3; ++t) {
    std::vector<SprtElement> e;
    std::vector<uint32_t> c;
    for (int i = 0; i < 50; ++i) {
      e.push_back({static_cast<int16_t>(i % 8 * 100), static_cast<int16_t>(i / 8 * 80), kSumW, kSumH, 0, 0});
      c.push_back(i < 2 ? kLocked : SumColor(t, (i - 2) / 3));
    }
    game.Write(std::string("MGD/") + kSums[t] + ".MGD", Picture(800, 560, e, c));
  }
  std::vector<SprtElement> plates;
  for (int n = 0; n < 4; ++n) plates.push_back({0, static_cast<int16_t>(30 * n), 100, 30, 0, 0});
  game.Write("MGD/MUSIC_P.MGD", Picture(100, 120, plates, {kPlateColor, kPlateColor + 4}));
  for (const char* cg : {"CG_A1", "CG_A2", "CG_A3", "CG_B1"})
    game.Write(std::string("MGD/") + cg + ".MGD", Picture(16, 16, {{0, 0, 16, 16, 0, 0}}, {0xFFFFFFFFu}));

  std::vector<uint8_t> map(hitmap::kMapSize, 255);
  for (int id = 0; id < 52; ++id) {
    if ((id > 8 && id < 16) || (id > 22 && id < 36)) continue;
    int x, y;
    DefaultPos(id, &x, &y);
    const int w = id >= 36 ? kSumW : kButtonW, h = id >= 36 ? kSumH : kButtonH;
    for (int r = y; r < y + h; ++r) memset(&map[static_cast<size_t>(r) * hitmap::kWidth + x], DefaultHit(id), w);
  }
  std::vector<uint8_t> bmp = hitmap::Encode(map.data());
  game.Write("DATA/OMAKE_C.BMP", std::string(bmp.begin(), bmp.end()));

  std::string cg;
  for (int e = 0; e < 17; ++e) cg += "DEF 100, 0, 1, 0, \"CG_0_" + std::to_string(e) + "\"\n";
  cg += "DEF 100, 0, 3, 1, \"CG_A1\", \"CG_A2\", \"CG_A3\"\nDEF 100, 0, 1, 1, \"CG_B1\"\n";
  game.Write("MSD/CGLIST.MSD", Table(cg, "CGLIST"));
  game.Write("MSD/SCENELIST.MSD",
             Table("DEF 101, 0, 0, \"S_A\"\nDEF 101, 0, 0, \"S_B\"\nDEF 101, 0, 0, \"S_C\"\nDEF 101, 0, 1, \"S_D\"\n",
                   "SCENELIST"));
  std::string omake =
      "DEF 5, 1, 0, \"M02\"\nDEF 5, 1, 1, \"M03\"\nDEF 5, 1, 2, \"M04\"\n"
      "DEF 5, 13, 0, 0, \"THUMB0_0\"\nDEF 5, 13, 0, 1, \"THUMB0_1\"\nDEF 5, 13, 1, 0, \"THUMB1_0\"\n"
      "DEF 5, 23, 0, 0, \"THUMB0_0\"\nDEF 5, 23, 1, 0, \"THUMB1_0\"\n" +
      table;
  game.Write("MSD/OMAKE.MSD", Table(omake, "OMAKE"));
  if (!music) return;
  for (const char* m : {"M01", "M02", "M03", "M04"})
    EXPECT_EQ(RunCommand(std::string(VELTO_TOOL_PATH) + " ogg tone --freq 440 --ms 2000 " + game.File("BGM/") + m +
                         ".OGG"),
              0);
}

// An input script line set: a click on control `id` of the default layout
// at `frame`: the pointer arrives two frames before, the button goes down
// then and comes up two frames later.
inline std::string Click(int frame, int id) {
  int x, y;
  DefaultPos(id, &x, &y);
  return std::to_string(frame - 2) + " move " + std::to_string(x + 5) + " " + std::to_string(y + 5) + "\n" +
         std::to_string(frame) + " down LBUTTON\n" + std::to_string(frame + 2) + " up LBUTTON\n";
}
inline std::string Key(int frame, const char* key) {
  return std::to_string(frame) + " down " + key + "\n" + std::to_string(frame + 2) + " up " + key + "\n";
}

struct GameRun {
  int status = -1;
  std::string out;

  // The last line starting with `kind` printed at or before `frame`, after
  // the kind and frame.
  std::string At(const std::string& kind, long long frame) const {
    std::string found;
    size_t at = 0;
    while (at < out.size()) {
      size_t end = out.find('\n', at);
      if (end == std::string::npos) end = out.size();
      std::string line = out.substr(at, end - at);
      at = end + 1;
      if (line.compare(0, kind.size() + 1, kind + " ") != 0) continue;
      long long f = atoll(line.c_str() + kind.size() + 1);
      if (f > frame) break;
      size_t rest = line.find(' ', kind.size() + 1);
      found = rest == std::string::npos ? "" : line.substr(rest + 1);
    }
    return found;
  }
  // One field ("page=") of a state line.
  static std::string Field(const std::string& line, const std::string& name) {
    size_t at = line.find(name + "=");
    if (at == std::string::npos) return "?";
    at += name.size() + 1;
    return line.substr(at, line.find(' ', at) - at);
  }
  std::string State(long long frame, const std::string& name) const { return Field(At("omake", frame), name); }
  // The letter of control `id` in the state at `frame`.
  char Control(long long frame, int id) const {
    std::string ctl = State(frame, "ctl");
    return id < static_cast<int>(ctl.size()) ? ctl[id] : '?';
  }
  // The frame of the first line of `kind`; -1 without one.
  long long First(const std::string& kind) const {
    size_t at = out.rfind("\n" + kind + " ", 0) == 0 ? 0 : out.find("\n" + kind + " ");
    if (out.compare(0, kind.size() + 1, kind + " ") == 0) return atoll(out.c_str() + kind.size() + 1);
    return at == std::string::npos ? -1 : atoll(out.c_str() + at + kind.size() + 2);
  }
  bool Has(const std::string& text) const { return out.find(text) != std::string::npos; }
};

inline GameRun Play(const TestDir& game, const std::string& ours, const std::string& input, int frames,
                const std::string& extra = "") {
  std::string args = ours + " -- --headless --fixed-step --frames " + std::to_string(frames) + " --game " + game.path();
  if (!input.empty()) {
    game.Write("script.input", input);
    args += " --input " + game.File("script.input");
  }
  GameRun r;
  r.status = RunCommand(std::string(OMAKE_GAME_PATH) + " " + args + " " + extra + " 2>&1", &r.out);
  return r;
}

inline std::vector<uint32_t> Screenshot(const TestDir& game, const std::string& name) {
  std::string png = game.Read(name);
  std::vector<uint32_t> pixels;
  int w = 0, h = 0;
  LoadPngImage(reinterpret_cast<const uint8_t*>(png.data()), png.size(), &pixels, &w, &h);
  return w == 800 && h == 600 ? pixels : std::vector<uint32_t>(800 * 600, 0);
}
// The loudest sample of a captured sound (--audio-out) between two frames.
inline int Loudest(const TestDir& game, const std::string& wav, long long fromFrame, long long toFrame) {
  const std::string data = game.Read(wav);
  if (data.size() < 44) return -1;
  const size_t from = 44 + static_cast<size_t>(fromFrame) * 1323 * 4, to = 44 + static_cast<size_t>(toFrame) * 1323 * 4;
  int loudest = 0;
  for (size_t i = from; i + 1 < std::min(to, data.size()); i += 2) {
    int16_t v;
    memcpy(&v, data.data() + i, 2);
    loudest = std::max(loudest, std::abs(static_cast<int>(v)));
  }
  return loudest;
}
// Colours as presented may differ from the picture's by a step or two.
inline ::testing::AssertionResult Near(uint32_t got, uint32_t want) {
  for (int shift : {0, 8, 16}) {
    int a = (got >> shift) & 0xFF, b = (want >> shift) & 0xFF;
    if (a - b > 4 || b - a > 4)
      return ::testing::AssertionFailure() << std::hex << "0x" << got << " is not near 0x" << want;
  }
  return ::testing::AssertionSuccess();
}

inline uint32_t Pixel(const std::vector<uint32_t>& shot, int x, int y) { return shot[y * 800 + x] | 0xFF000000u; }

}  // namespace omaketest
