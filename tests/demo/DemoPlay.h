// Helpers of the demo tests: a fresh copy of the built demo game, the
// program run headless on the fixed step, its screenshots read back for
// pixel probes, the pictures of the game decoded for comparison, and the
// sound it wrote measured.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "RunCommand.h"
#include "TestDir.h"
#include "assets/PngEncode.h"

namespace demo {

const std::string kGame = std::string(VELTO_BINARY_DIR) + "/game";
const std::string kPictures = std::string(VELTO_BINARY_DIR) + "/demo-work/MGD/";

// The demo game copied into `dir` (the program writes Novel.ini and saves).
inline void CopyGame(const TestDir& dir) {
  std::filesystem::copy(kGame, dir.path() + "game",
                        std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
}

// Runs the program headless on the fixed step on the copied game; its exit
// status, and what it printed (error boxes come out on standard error).
inline int Play(const TestDir& dir, const std::string& args, std::string* out) {
  return RunCommand(std::string("'") + VELTO_GAME_PATH + "' --headless --fixed-step --game '" + dir.path() +
                        "game' " + args + " 2>&1",
                    out);
}

struct Image {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;  // 0xAARRGGBB
  bool Valid() const { return width > 0 && !pixels.empty(); }
  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

inline Image LoadPng(const std::string& path) {
  Image image;
  std::string data = [&] {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }();
  if (data.empty() || !LoadPngImage(reinterpret_cast<const uint8_t*>(data.data()), data.size(), &image.pixels,
                                    &image.width, &image.height))
    return Image();
  return image;
}

// A picture of the game, as the build made it, decoded by the tool.
inline Image GamePicture(const TestDir& dir, const std::string& name) {
  std::string png = dir.File(name + ".png");
  std::string out;
  if (RunCommand(std::string("'") + VELTO_TOOL_PATH + "' mgd decode '" + kPictures + name + ".MGD' '" + png + "' 2>&1",
                 &out) != 0)
    return Image();
  return LoadPng(png);
}

// True when the two colours differ by at most `tolerance` in each of red,
// green and blue.
inline bool Near(uint32_t a, uint32_t b, int tolerance) {
  for (int shift : {0, 8, 16})
    if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > tolerance)
      return false;
  return true;
}

// The places a background shows through on every page: the top row, where
// no character's head reaches, and the corners.
struct Probe {
  int x, y;
};
inline const std::vector<Probe>& BackgroundProbes() {
  static const std::vector<Probe> probes = {{6, 6}, {200, 6}, {600, 6}, {793, 6}};
  return probes;
}

// True when the screenshot shows `picture` (an 800 × 600 page picture) at
// every probe.
inline bool Shows(const Image& shot, const Image& picture) {
  if (!shot.Valid() || !picture.Valid() || shot.width != 800 || picture.width < 800 || picture.height < 600) return false;
  for (const Probe& p : BackgroundProbes())
    if (!Near(shot.At(p.x, p.y), picture.At(p.x, p.y), 3)) return false;
  return true;
}

// The loudness (root mean square of 16-bit samples) of each second of a
// WAV file the program wrote; empty when it is not one.
inline std::vector<int> LoudnessPerSecond(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string data(std::istreambuf_iterator<char>(in), {});
  std::vector<int> seconds;
  if (data.size() < 12 || data.compare(0, 4, "RIFF") != 0 || data.compare(8, 4, "WAVE") != 0) return seconds;
  auto u32 = [&](size_t at) {
    return static_cast<uint32_t>(static_cast<uint8_t>(data[at])) | static_cast<uint8_t>(data[at + 1]) << 8 |
           static_cast<uint8_t>(data[at + 2]) << 16 | static_cast<uint32_t>(static_cast<uint8_t>(data[at + 3])) << 24;
  };
  uint32_t rate = 0, channels = 0;
  for (size_t at = 12; at + 8 <= data.size();) {
    uint32_t size = u32(at + 4);
    std::string id = data.substr(at, 4);
    if (id == "fmt " && at + 8 + 16 <= data.size()) {
      channels = u32(at + 8) >> 16;
      rate = u32(at + 12);
    } else if (id == "data" && rate && channels) {
      size_t end = std::min(data.size(), at + 8 + static_cast<size_t>(size));
      size_t perSecond = static_cast<size_t>(rate) * channels * 2;
      for (size_t s = at + 8; s + perSecond <= end; s += perSecond) {
        double sum = 0;
        for (size_t i = s; i < s + perSecond; i += 2) {
          int v = static_cast<int16_t>(static_cast<uint8_t>(data[i]) | static_cast<uint8_t>(data[i + 1]) << 8);
          sum += static_cast<double>(v) * v;
        }
        seconds.push_back(static_cast<int>(std::sqrt(sum / (perSecond / 2))));
      }
      break;
    }
    at += 8 + size + (size & 1);
  }
  return seconds;
}

}  // namespace demo
