// Game data for the screen tests: picture files whose frames each have a
// colour of their own (so a pixel tells which frame is drawn), hit maps of
// rectangles, and an application that records the system sounds it plays.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "TestDir.h"
#include "app/MainWindowImpl.h"
#include "assets/PictureWriter.h"
#include "ui/HitMap.h"

namespace screenkit {

// The colour of frame `i` of a picture made by FramesPicture with `base`.
inline uint32_t FrameColor(uint32_t base, int i) { return 0xFF000000u | ((base + 0x1F3D5Bu * (i + 1)) & 0xFFFFFFu); }

// `frames` elements of w × h side by side, each filled with its colour.
inline std::string FramesPicture(int frames, int w, int h, uint32_t base) {
  std::vector<uint32_t> px(static_cast<size_t>(w) * frames * h);
  std::vector<SprtElement> elements;
  for (int i = 0; i < frames; ++i) {
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) px[static_cast<size_t>(y) * w * frames + i * w + x] = FrameColor(base, i);
    elements.push_back(SprtElement{static_cast<int16_t>(i * w), 0, static_cast<int16_t>(w), static_cast<int16_t>(h), 0, 0});
  }
  std::vector<uint8_t> out;
  std::string error;
  if (!BuildPictureFile(px.data(), w * frames, h, kPictureRaw, elements, 4, &out, &error)) return {};
  return std::string(out.begin(), out.end());
}

// An 800 × 600 picture, transparent but for one opaque w × h box at (x, y).
inline std::string BoxPicture(int x, int y, int w, int h, uint32_t color) {
  std::vector<uint32_t> px(800 * 600, 0);
  for (int j = y; j < y + h; ++j)
    for (int i = x; i < x + w; ++i) px[static_cast<size_t>(j) * 800 + i] = color;
  std::vector<uint8_t> out;
  std::string error;
  if (!BuildPictureFile(px.data(), 800, 600, kPictureRaw, {{0, 0, 800, 600, 0, 0}}, 4, &out, &error)) return {};
  return std::string(out.begin(), out.end());
}

struct HitRect {
  int x, y, w, h;
  uint8_t value;
};

// A hit map of the given rectangles over region 255.
inline std::string HitMapFile(const std::vector<HitRect>& rects) {
  std::vector<uint8_t> map(hitmap::kMapSize, 255);
  for (const HitRect& r : rects)
    for (int j = r.y; j < r.y + r.h; ++j)
      for (int i = r.x; i < r.x + r.w; ++i) map[static_cast<size_t>(j) * hitmap::kWidth + i] = r.value;
  std::vector<uint8_t> file = hitmap::Encode(map.data());
  return std::string(file.begin(), file.end());
}

// The application with a record of the system sounds asked for.
class CRecordingApp : public CMainWindowImpl {
 public:
  using CMainWindowImpl::CMainWindowImpl;
  void PlaySysSE(int index) override {
    sysSE.push_back(index);
    CMainWindowImpl::PlaySysSE(index);
  }
  std::vector<int> sysSE;
};

}  // namespace screenkit
