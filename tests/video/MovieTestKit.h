// Test movies made the way a game maker makes them (velto-tool movie make),
// and reading back which of their pictures a window shows.
#pragma once
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "RunCommand.h"
#include "TestDir.h"
#include "assets/PngEncode.h"
#include "platform/AudioWav.h"

namespace movietest {

// Picture i is split into four solid quadrants; the top left one tells the
// pictures apart, the other three are red, blue and white.
inline uint32_t TopLeft(int picture) {
  auto r = static_cast<uint32_t>((picture * 50) % 256), g = static_cast<uint32_t>(255 - (picture * 50) % 256);
  return 0xFF000000u | r << 16 | g << 8 | 0x80u;
}
constexpr uint32_t kTopRight = 0xFFFF0000u;
constexpr uint32_t kBottomLeft = 0xFF0000FFu;
constexpr uint32_t kBottomRight = 0xFFFFFFFFu;

inline bool Near(uint32_t a, uint32_t b, int tolerance = 24) {
  for (int shift = 0; shift < 24; shift += 8)
    if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > tolerance)
      return false;
  return true;
}

inline std::vector<uint32_t> QuadrantPicture(int picture, int w, int h) {
  std::vector<uint32_t> pixels(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      bool right = x >= w / 2, bottom = y >= h / 2;
      pixels[static_cast<size_t>(y) * w + x] =
          bottom ? (right ? kBottomRight : kBottomLeft) : (right ? kTopRight : TopLeft(picture));
    }
  return pixels;
}

inline void WritePng(const TestDir& dir, const std::string& name, const std::vector<uint32_t>& pixels, int w, int h) {
  std::vector<uint8_t> png;
  EncodePngPixels(pixels.data(), w, h, false, &png);
  dir.Write(name, std::string(png.begin(), png.end()));
}

// A sine tone as a WAV file, 44100 Hz stereo.
inline void WriteTone(const std::string& path, uint32_t ms, double freq = 440.0) {
  plat::WavWriter wav;
  wav.Open(path, 44100, 2);
  std::vector<int16_t> samples;
  const uint32_t frames = 44100 * ms / 1000;
  for (uint32_t i = 0; i < frames; ++i) {
    auto v = static_cast<int16_t>(12000 * std::sin(2 * M_PI * freq * i / 44100.0));
    samples.push_back(v);
    samples.push_back(v);
  }
  wav.Write(samples.data(), frames);
  wav.Close();
}

// Makes `name` in `dir` from `pictures` quadrant pictures of w × h, each
// held `hold` frames at 30 frames a second, with a tone of `soundMs` when
// it is not 0. Returns the tool's exit status.
inline int MakeMovie(const TestDir& dir, const std::string& name, int w, int h, int pictures, int hold,
                     uint32_t soundMs = 0, std::string* output = nullptr) {
  std::string args = " movie make --hold " + std::to_string(hold);
  if (soundMs) {
    WriteTone(dir.File(name + ".wav"), soundMs);
    args += " --sound " + dir.File(name + ".wav");
  }
  args += " " + dir.File(name);
  for (int i = 0; i < pictures; ++i) {
    std::string png = name + "_" + std::to_string(i) + ".png";
    WritePng(dir, png, QuadrantPicture(i, w, h), w, h);
    args += " " + dir.File(png);
  }
  std::string out;
  int status = RunCommand(std::string(VELTO_TOOL_PATH) + args + " 2>&1", &out);
  if (output) *output = out;
  return status;
}

// The picture (index below `count`) whose top left quadrant is at (x, y)
// of an 800 × 600 picture; -1 when none matches.
inline int PictureAt(const uint32_t* pixels, int count, int x = 200, int y = 150) {
  for (int i = 0; i < count; ++i)
    if (Near(pixels[y * 800 + x], TopLeft(i))) return i;
  return -1;
}

// True when an 800 × 600 picture shows picture `index` stretched over all
// of it: the quadrants meet in the middle and reach the corners.
inline bool ShowsStretched(const uint32_t* p, int index) {
  auto at = [p](int x, int y) { return p[y * 800 + x]; };
  return Near(at(4, 4), TopLeft(index)) && Near(at(388, 288), TopLeft(index)) && Near(at(412, 288), kTopRight) &&
         Near(at(795, 4), kTopRight) && Near(at(388, 312), kBottomLeft) && Near(at(4, 595), kBottomLeft) &&
         Near(at(412, 312), kBottomRight) && Near(at(795, 595), kBottomRight);
}

}  // namespace movietest
