// Building the quads the scene draws: coordinates worked out in 64 bits and
// held within the 16 bits a quad point has.
#pragma once
#include <algorithm>
#include <cstdint>

#include "assets/DIBImage.h"
#include "assets/SprtVertex.h"

namespace scene {

inline int16_t Clamp16(int64_t v) { return static_cast<int16_t>(std::clamp<int64_t>(v, -32768, 32767)); }

inline void SetPoint(SprtPoint& p, int64_t x, int64_t y, int64_t z) {
  p.x = Clamp16(x);
  p.y = Clamp16(y);
  p.z = Clamp16(z);
}

// The whole of `src` as its source points.
inline void SetWholeSource(SprtVertex& v, const CDIBImage* src) {
  const int16_t right = Clamp16(int64_t{src->GetWidth()} - 1), bottom = Clamp16(int64_t{src->GetHeight()} - 1);
  v.src[0] = SprtTexel{0, 0};
  v.src[1] = SprtTexel{right, 0};
  v.src[2] = SprtTexel{right, bottom};
  v.src[3] = SprtTexel{0, bottom};
}

// The whole of `src` drawn as a width × height rectangle at (x, y), every
// point at depth z.
inline void SetRectQuad(SprtVertex& v, const CDIBImage* src, int64_t x, int64_t y, int64_t z, int64_t width,
                        int64_t height, uint32_t color) {
  SetPoint(v.dst[0], x, y, z);
  SetPoint(v.dst[1], x + width - 1, y, z);
  SetPoint(v.dst[2], x + width - 1, y + height - 1, z);
  SetPoint(v.dst[3], x, y + height - 1, z);
  SetWholeSource(v, src);
  v.color = color;
}

// Whether the quad is an axis-aligned rectangle drawn from a source
// rectangle of the same size and corner order: the quad operations then
// come down to their rectangle forms.
inline bool IsUnscaledRect(const SprtVertex& v) {
  const SprtPoint* p = v.dst;
  const SprtTexel* t = v.src;
  return p[0].x == p[3].x && p[0].x < p[1].x && p[1].x == p[2].x && p[0].y == p[1].y && p[1].y < p[2].y &&
         p[2].y == p[3].y && t[0].u == t[3].u && t[1].u == t[2].u && t[0].v == t[1].v && t[2].v == t[3].v &&
         t[1].u - t[0].u == p[1].x - p[0].x && t[3].v - t[0].v == p[3].y - p[0].y;
}

// Draws a quad by a layer's rule: the blend (filtered when `anti`) when
// `blend` is set, else a copy for the plain colour, else the tinted
// opaque rule.
inline void DrawByRule(CDIBImage* src, CDIBImage* target, const SprtVertex& v, bool blend, bool anti) {
  if (blend) src->StretchBltBlend(target, v, anti);
  else if (v.color == 0xFFFFFFFFu) src->StretchBltCopy(target, v, false);
  else src->StretchBltFast(target, v, false);
}

}  // namespace scene
