// Pictures for the tests: pixel patterns and whole picture files.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "assets/PictureWriter.h"

// A picture with smooth gradients, flat areas, noise and varied alpha: it
// exercises every SGD command.
inline std::vector<uint32_t> MixedPixels(int w, int h, uint32_t seed = 1) {
  std::vector<uint32_t> px(static_cast<size_t>(w) * h);
  uint32_t s = seed;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      s = s * 1664525u + 1013904223u;
      uint32_t a = x < w / 3 ? 0xFF : x < 2 * w / 3 ? (x * 7) & 0xFF : (s >> 24);
      uint32_t c;
      if (y % 4 == 0)
        c = 0x336699;  // flat rows
      else if (y % 4 == 1)
        c = ((x * 3) & 0xFF) << 16 | ((y * 5) & 0xFF) << 8 | ((x + y) & 0xFF);  // gradients
      else if (y % 4 == 2)
        c = (x & 1) ? 0x102030 : 0x0F1F2F;  // small alternating changes
      else
        c = s & 0xFFFFFF;  // noise
      px[static_cast<size_t>(y) * w + x] = a << 24 | c;
    }
  return px;
}

inline std::string PictureFile(const std::vector<uint32_t>& px, int w, int h, uint16_t encoding,
                               const std::vector<SprtElement>& elements = {{0, 0, 0, 0, 0, 0}}, int values = 4) {
  std::vector<uint8_t> out;
  std::string error;
  if (!BuildPictureFile(px.data(), w, h, encoding, elements, values, &out, &error)) return {};
  return std::string(out.begin(), out.end());
}

inline const uint8_t* Bytes(const std::string& s) { return reinterpret_cast<const uint8_t*>(s.data()); }
