// The pixel rules of text drawing, one pixel at a time.
#pragma once
#include <cstdint>

namespace textpx {

// A smooth glyph pixel of grey level v (1 … 64) in colour over `old`: the
// level becomes an opacity a = v × 4 + 63, at most 255 (levels 48 and above
// are opaque); each of red, green and blue mixes by a / 255, rounded down,
// and the pixel becomes opaque.
inline uint32_t GlyphPixel(uint32_t old, uint32_t color, uint32_t level) {
  uint32_t a = level * 4 + 63;
  if (a > 255) a = 255;
  const uint32_t b = 255 - a;
  uint32_t r = (((color >> 16) & 0xFF) * a + ((old >> 16) & 0xFF) * b) / 255;
  uint32_t g = (((color >> 8) & 0xFF) * a + ((old >> 8) & 0xFF) * b) / 255;
  uint32_t l = ((color & 0xFF) * a + (old & 0xFF) * b) / 255;
  return 0xFF000000u | r << 16 | g << 8 | l;
}

// A hard-edged text pixel: the colour's own alpha byte mixes it over `old`,
// divided by 256 (a shift); the pixel becomes opaque.
inline uint32_t HardTextPixel(uint32_t old, uint32_t color) {
  const uint32_t a = color >> 24, b = 255 - a;
  uint32_t r = (((color >> 16) & 0xFF) * a + ((old >> 16) & 0xFF) * b) >> 8;
  uint32_t g = (((color >> 8) & 0xFF) * a + ((old >> 8) & 0xFF) * b) >> 8;
  uint32_t l = ((color & 0xFF) * a + (old & 0xFF) * b) >> 8;
  return 0xFF000000u | r << 16 | g << 8 | l;
}

}  // namespace textpx
