// A cursor file made in memory for tests: 32 × 32, monochrome, black where
// x == y, white on the top row, transparent elsewhere, hot spot (3, 5).
#pragma once
#include <cstdint>
#include <vector>

namespace cursorfile {

inline void Put16(std::vector<uint8_t>& v, uint32_t x) {
  v.push_back(x & 0xFF);
  v.push_back((x >> 8) & 0xFF);
}
inline void Put32(std::vector<uint8_t>& v, uint32_t x) {
  Put16(v, x & 0xFFFF);
  Put16(v, x >> 16);
}

// A 32 × 32 monochrome cursor: black where x == y, white on the top row,
// transparent elsewhere; hot spot (3, 5).
inline std::vector<uint8_t> MonochromeCursor() {
  std::vector<uint8_t> dib;
  Put32(dib, 40);
  Put32(dib, 32);
  Put32(dib, 64);
  Put16(dib, 1);
  Put16(dib, 1);
  for (int i = 0; i < 6; ++i) Put32(dib, 0);
  Put32(dib, 0x000000);  // palette 0: black
  Put32(dib, 0xFFFFFF);  // palette 1: white
  // Colour rows bottom-up, 4 bytes each; mask rows bottom-up.
  for (int fileRow = 0; fileRow < 32; ++fileRow) {
    int y = 31 - fileRow;
    uint32_t bits = y == 0 ? 0xFFFFFFFFu : 0;
    for (int b = 3; b >= 0; --b) dib.push_back(static_cast<uint8_t>(bits >> (b * 8)));
  }
  for (int fileRow = 0; fileRow < 32; ++fileRow) {
    int y = 31 - fileRow;
    uint32_t transparent = 0xFFFFFFFFu;
    if (y == 0) transparent = 0;
    else transparent &= ~(0x80000000u >> y);
    for (int b = 3; b >= 0; --b) dib.push_back(static_cast<uint8_t>(transparent >> (b * 8)));
  }
  std::vector<uint8_t> file;
  Put16(file, 0);
  Put16(file, 2);
  Put16(file, 1);
  file.push_back(32);
  file.push_back(32);
  file.push_back(2);
  file.push_back(0);
  Put16(file, 3);
  Put16(file, 5);
  Put32(file, static_cast<uint32_t>(dib.size()));
  Put32(file, 22);
  file.insert(file.end(), dib.begin(), dib.end());
  return file;
}

}  // namespace cursorfile
