#include "ui/HitMap.h"

#include <cstring>

#include "app/core/Trace.h"

namespace hitmap {
namespace {

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
int32_t S32(const uint8_t* p) {
  return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                              (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24));
}
void Put16(std::vector<uint8_t>& out, size_t at, uint32_t v) {
  out[at] = static_cast<uint8_t>(v);
  out[at + 1] = static_cast<uint8_t>(v >> 8);
}
void Put32(std::vector<uint8_t>& out, size_t at, uint32_t v) {
  Put16(out, at, v);
  Put16(out, at + 2, v >> 16);
}

}  // namespace

bool Decode(const uint8_t* data, size_t size, uint8_t* map) {
  Trace("hitmap::Decode");
  if (!data || !map || size < kPixelOffset + kMapSize) return false;
  if (data[0] != 'B' || data[1] != 'M') return false;
  const uint8_t* info = data + 14;
  int32_t width = S32(info + 4);
  int32_t height = S32(info + 8);
  uint16_t bitCount = U16(info + 14);
  if (bitCount != 8 || width != kWidth || (height != kHeight && height != -kHeight)) return false;
  const uint8_t* pixels = data + kPixelOffset;
  if (height < 0) {
    memcpy(map, pixels, kMapSize);
  } else {
    for (int j = 0; j < kHeight; ++j) memcpy(map + (kHeight - 1 - j) * kWidth, pixels + j * kWidth, kWidth);
  }
  return true;
}

std::vector<uint8_t> Encode(const uint8_t* map) {
  Trace("hitmap::Encode");
  std::vector<uint8_t> out(kPixelOffset + kMapSize, 0);
  out[0] = 'B';
  out[1] = 'M';
  Put32(out, 2, static_cast<uint32_t>(out.size()));
  Put32(out, 10, static_cast<uint32_t>(kPixelOffset));
  Put32(out, 14, 40);
  Put32(out, 18, kWidth);
  Put32(out, 22, kHeight);
  Put16(out, 26, 1);
  Put16(out, 28, 8);
  Put32(out, 34, static_cast<uint32_t>(kMapSize));
  Put32(out, 38, 2835);  // 72 dpi
  Put32(out, 42, 2835);
  Put32(out, 46, 256);
  for (uint32_t i = 0; i < 256; ++i) Put32(out, 54 + i * 4, i | (i << 8) | (i << 16));
  for (int j = 0; j < kHeight; ++j) memcpy(out.data() + kPixelOffset + j * kWidth, map + (kHeight - 1 - j) * kWidth, kWidth);
  return out;
}

}  // namespace hitmap
