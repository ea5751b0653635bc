// Quads and rectangles from arbitrary bytes drawn between small images: no
// point, size or colour may make a drawing operation read or write outside
// either picture.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "FuzzInput.h"
#include "assets/DIBImage.h"

namespace {

using fuzzin::Reader;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Reader in{data, size};
  int sw = 1 + in.Take<uint8_t>() % 24, sh = 1 + in.Take<uint8_t>() % 24;
  int dw = 1 + in.Take<uint8_t>() % 40, dh = 1 + in.Take<uint16_t>() % 4200;
  CDIBImage src, dst;
  src.Create(sw, sh);
  dst.Create(dw, dh);
  for (int i = 0; i < sw * sh; ++i) src.GetPixels()[i] = in.Take<uint32_t>();
  while (in.size > 0) {
    uint8_t op = in.Take<uint8_t>();
    SprtVertex v;
    for (SprtPoint& p : v.dst) p = SprtPoint{in.Take<int16_t>(), in.Take<int16_t>(), in.Take<int16_t>()};
    // Source points inside the source, as every caller guarantees.
    for (SprtTexel& t : v.src)
      t = SprtTexel{static_cast<int16_t>(in.Take<uint8_t>() % sw), static_cast<int16_t>(in.Take<uint8_t>() % sh)};
    v.color = in.Take<uint32_t>();
    bool filter = op & 0x80;
    switch (op % 16) {
      case 0: src.StretchBltCopy(&dst, v, filter); break;
      case 1: src.StretchBltBlend(&dst, v, filter); break;
      case 2: src.StretchBltBlendShadow(&dst, v, filter); break;
      case 3: src.StretchBltFast(&dst, v, filter); break;
      case 4: src.StretchBltAddBlend(&dst, v); break;
      case 5: src.StretchBltXorBlend(&dst, v); break;
      case 6: src.StretchBltOneBlend(&dst, v); break;
      case 7: src.StretchBltGrayBlend(&dst, v); break;
      case 8: dst.StretchFillBox(v); break;
      case 9: {
        // A rectangle placed anywhere, its source inside the source image.
        int w = 1 + v.src[1].u % sw, h = 1 + v.src[1].v % sh;
        int sx = v.src[0].u % (sw - w + 1), sy = v.src[0].v % (sh - h + 1);
        src.BltBlend(&dst, v.dst[0].x, v.dst[0].y, sx, sy, w, h, v.color);
        src.BltFast(&dst, v.dst[1].x, v.dst[1].y, sx, sy, w, h, v.color);
        src.Copy(&dst, v.dst[2].x, v.dst[2].y, sx, sy, w, h);
        break;
      }
      case 10: dst.FillBox(v.color, v.dst[0].x, v.dst[0].y, v.dst[1].x, v.dst[1].y); break;
      case 11: src.Mozaiku(v.dst[0].x % 40, op & 0x40, op & 0x20); break;
      case 12: src.Befog(1); break;
      default: break;
    }
  }
  return 0;
}
