// The pictures, hit maps and tables of a test game for the title,
// save/load, option and confirmation screens: plain pictures in telling
// colours, parts pictures whose every frame has its own colour (so a pixel
// tells which frame a control shows), hit maps with one region per control
// at the default places.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "TestDir.h"
#include "app/AppFixture.h"
#include "assets/DIBSprite.h"
#include "assets/PictureWriter.h"
#include "scenario/SnrCompiler.h"
#include "ui/HitMap.h"

namespace screenstest {

constexpr uint32_t kTitle01 = 0xFF800000u, kTitle02 = 0xFF008000u, kTitleBack = 0xFF000080u;

// Frame k of any parts picture.
inline uint32_t FrameColor(int k) {
  return 0xFF000000u | static_cast<uint32_t>(k * 5 % 256) << 16 | static_cast<uint32_t>(255 - k * 3 % 256) << 8 | 0x30u;
}

// Colours equal but for the rounding of a blend.
inline bool Near(uint32_t a, uint32_t b, int tolerance = 2) {
  for (int shift = 0; shift < 32; shift += 8) {
    const int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
    if (d > tolerance || d < -tolerance) return false;
  }
  return true;
}

struct Size {
  int w, h;
};

// A parts picture of frames 0 … n-1 (sizes[k]), each filled with its colour.
inline std::string PartsPicture(const std::vector<Size>& sizes, uint32_t (*color)(int) = FrameColor) {
  int cw = 1, ch = 1;
  for (const Size& s : sizes) cw = std::max(cw, s.w), ch = std::max(ch, s.h);
  const int perRow = 5, rows = (static_cast<int>(sizes.size()) + perRow - 1) / perRow;
  const int w = cw * perRow, h = ch * rows;
  std::vector<uint32_t> px(static_cast<size_t>(w) * h, 0);
  std::vector<SprtElement> elements;
  for (size_t k = 0; k < sizes.size(); ++k) {
    const int x0 = static_cast<int>(k % perRow) * cw, y0 = static_cast<int>(k / perRow) * ch;
    for (int y = 0; y < sizes[k].h; ++y)
      for (int x = 0; x < sizes[k].w; ++x) px[static_cast<size_t>(y0 + y) * w + x0 + x] = color(static_cast<int>(k));
    SprtElement e;
    e.x = static_cast<int16_t>(x0);
    e.y = static_cast<int16_t>(y0);
    e.w = static_cast<int16_t>(sizes[k].w);
    e.h = static_cast<int16_t>(sizes[k].h);
    elements.push_back(e);
  }
  std::vector<uint8_t> out;
  std::string error;
  EXPECT_TRUE(BuildPictureFile(px.data(), w, h, kPictureRaw, elements, 6, &out, &error)) << error;
  return std::string(out.begin(), out.end());
}

inline std::string PlainPicture(uint32_t color, int w = 800, int h = 600) {
  std::vector<uint32_t> px(static_cast<size_t>(w) * h, color);
  std::vector<uint8_t> out;
  std::string error;
  SprtElement e;
  e.w = static_cast<int16_t>(w);
  e.h = static_cast<int16_t>(h);
  EXPECT_TRUE(BuildPictureFile(px.data(), w, h, kPictureRaw, {e}, 6, &out, &error)) << error;
  return std::string(out.begin(), out.end());
}

struct Region {
  int value, x, y, w, h;
};

inline std::string HitMapFile(const std::vector<Region>& regions) {
  std::vector<uint8_t> map(hitmap::kMapSize, 255);
  for (const Region& r : regions)
    for (int y = std::max(r.y, 0); y < std::min(r.y + r.h, hitmap::kHeight); ++y)
      for (int x = std::max(r.x, 0); x < std::min(r.x + r.w, hitmap::kWidth); ++x)
        map[static_cast<size_t>(y) * hitmap::kWidth + x] = static_cast<uint8_t>(r.value);
  std::vector<uint8_t> bmp = hitmap::Encode(map.data());
  return std::string(bmp.begin(), bmp.end());
}

// Control sizes of the test game.
constexpr Size kTitleButton{100, 30}, kSlot{380, 44}, kBackButton{60, 30}, kPageButton{30, 30};
constexpr Size kOptionButton{60, 30}, kBar{200, 10}, kKnob{10, 20}, kConfButton{100, 40};

// The title buttons' places (the layout's defaults).
inline Region TitleButton(int i) { return {i, 621, 373 + 45 * i, kTitleButton.w, kTitleButton.h}; }
inline Region SlotButton(int k) { return {6 + k, k < 10 ? 18 : 414, 99 + 46 * (k % 10), kSlot.w, kSlot.h}; }
inline Region PageButton(int p) {
  static const int x[5] = {313, 348, 383, 416, 449};
  return {1 + p, x[p], 54, kPageButton.w, kPageButton.h};
}
inline Region OptionControl(int id) {
  static const int pos[19][2] = {{54, 182},  {205, 182}, {54, 305},  {205, 305}, {54, 431},  {54, 528},  {535, 145},
                                 {609, 145}, {468, 187}, {535, 268}, {609, 268}, {683, 268}, {468, 308}, {535, 391},
                                 {609, 391}, {683, 391}, {468, 431}, {457, 512}, {637, 512}};
  const bool slider = id == 4 || id == 5 || id == 8 || id == 12 || id == 16;
  return {id, pos[id][0], pos[id][1], slider ? kBar.w : kOptionButton.w, slider ? kKnob.h : kOptionButton.h};
}
inline Region ConfButton(int i) { return {i, i == 0 ? 240 : 420, 280, kConfButton.w, kConfButton.h}; }

// Writes a setup table (or any scenario) as MSD/NAME.MSD.
inline void WriteTable(const TestDir& game, const std::string& name, const std::string& source) {
  snr::CompileResult table = snr::CompileScenario(source, name + ".txt", snr::BuildTextEncoding());
  ASSERT_FALSE(table.file.empty()) << source;
  game.Write("MSD/" + name + ".MSD", std::string(table.file.begin(), table.file.end()));
}

inline void MakeScreensGame(const TestDir& game) {
  MakeGameFolders(game);
  game.Write("MGD/TITLE01.MGD", PlainPicture(kTitle01));
  game.Write("MGD/TITLE02.MGD", PlainPicture(kTitle02));
  game.Write("MGD/TITLE.MGD", PlainPicture(kTitleBack));
  std::vector<Size> title{{200, 60}};
  for (int i = 0; i < 25; ++i) title.push_back(kTitleButton);
  game.Write("MGD/TITLE_P.MGD", PartsPicture(title));
  std::vector<Region> regions;
  for (int i = 0; i < 5; ++i) regions.push_back(TitleButton(i));
  game.Write("DATA/TITLE_C.BMP", HitMapFile(regions));

  game.Write("MGD/SL_B.MGD", PlainPicture(0xFF405060u));
  std::vector<Size> sl(45, Size{1, 1});
  for (int k = 10; k < 15; ++k) sl[k] = kBackButton;
  for (int k = 15; k < 40; ++k) sl[k] = kPageButton;
  for (int k = 40; k < 45; ++k) sl[k] = kSlot;
  game.Write("MGD/SL_P.MGD", PartsPicture(sl));
  regions = {{0, 319, 5, kBackButton.w, kBackButton.h}};
  for (int p = 0; p < 5; ++p) regions.push_back(PageButton(p));
  for (int k = 0; k < 20; ++k) regions.push_back(SlotButton(k));
  game.Write("DATA/SL_C.BMP", HitMapFile(regions));

  game.Write("MGD/OPTION_B.MGD", PlainPicture(0xFF304030u));
  std::vector<Size> op(56, kOptionButton);
  op[0] = {1, 1};
  for (int k = 46; k < 51; ++k) op[k] = kBar;
  for (int k = 51; k < 56; ++k) op[k] = kKnob;
  game.Write("MGD/OPTION_P.MGD", PartsPicture(op));
  regions.clear();
  for (int id = 0; id < 19; ++id) regions.push_back(OptionControl(id));
  game.Write("DATA/OPTION_C.BMP", HitMapFile(regions));

  for (int m = 1; m <= 5; ++m) game.Write("MGD/CONF0" + std::to_string(m) + "_B.MGD", PlainPicture(0x80FFFFFFu));
  game.Write("MGD/CONF_P.MGD", PartsPicture(std::vector<Size>(11, kConfButton)));
  game.Write("DATA/CONF_C.BMP", HitMapFile({ConfButton(0), ConfButton(1)}));
}

}  // namespace screenstest
