// The per-pixel rules of the image buffer, written plainly: the reference the
// vector row kernels must match bit for bit, and the code the quad paths use
// for the rules that have no vector form. S is the source sample, D the
// destination pixel, M the modulation colour; all words are 0xAARRGGBB.
#pragma once
#include <algorithm>
#include <cstdint>

namespace pix {

inline uint32_t Chan(uint32_t p, int shift) { return (p >> shift) & 0xFFu; }
inline uint32_t Pack(uint32_t b, uint32_t g, uint32_t r, uint32_t a) { return b | (g << 8) | (r << 16) | (a << 24); }

// Blend: skipped when S.A = 0; s = S × M ÷256 per channel, a = s.A, then
// D = (D × (255 − a) + s × a) ÷256 for all four channels.
inline uint32_t Blend(uint32_t d, uint32_t s, uint32_t m) {
  if ((s >> 24) == 0) return d;
  uint32_t out = 0;
  uint32_t a = (Chan(s, 24) * Chan(m, 24)) >> 8;
  for (int sh = 0; sh < 32; sh += 8) {
    uint32_t sc = (Chan(s, sh) * Chan(m, sh)) >> 8;
    out |= ((Chan(d, sh) * (255 - a) + sc * a) >> 8) << sh;
  }
  return out;
}

// Opaque: every pixel written, D = S × M ÷256 for B, G, R and alpha 255.
inline uint32_t Opaque(uint32_t s, uint32_t m) {
  uint32_t out = 0xFF000000u;
  for (int sh = 0; sh < 24; sh += 8) out |= ((Chan(s, sh) * Chan(m, sh)) >> 8) << sh;
  return out;
}

// Tinted opaque with a colour that is neither black nor white:
// D = S × M ÷255 for B, G, R and D.A = S.A.
inline uint32_t Tint(uint32_t s, uint32_t m) {
  uint32_t out = s & 0xFF000000u;
  for (int sh = 0; sh < 24; sh += 8) out |= ((Chan(s, sh) * Chan(m, sh)) / 255) << sh;
  return out;
}

// The tinted opaque rule with its two special colours.
inline uint32_t TintedOpaque(uint32_t s, uint32_t m) {
  uint32_t rgb = m & 0x00FFFFFFu;
  if (rgb == 0) return 0xFF000000u;
  if (rgb == 0x00FFFFFFu) return s | 0xFF000000u;
  return Tint(s, m);
}

// Additive: D.c = min(D.c + e × s.c ÷255, 255), D.A = min(D.A + e, 255).
inline uint32_t Add(uint32_t d, uint32_t s, uint32_t m) {
  if (m == 0) return d;
  bool plain = m == 0xFFFFFFFFu;
  uint32_t e = plain ? Chan(s, 24) : Chan(m, 24) * Chan(s, 24) / 255;
  if (e == 0) return d;
  uint32_t out = std::min(Chan(d, 24) + e, 255u) << 24;
  for (int sh = 0; sh < 24; sh += 8) {
    uint32_t sc = plain ? Chan(s, sh) : Chan(m, sh) * Chan(s, sh) / 255;
    out |= std::min(Chan(d, sh) + e * sc / 255, 255u) << sh;
  }
  return out;
}

// Invert: the blend, then B, G and R of the result inverted.
inline uint32_t Xor(uint32_t d, uint32_t s, uint32_t m) {
  if ((s >> 24) == 0) return d;
  return Blend(d, s, m) ^ 0x00FFFFFFu;
}

// Single colour: the source gives only its alpha, c = S.A × M.A ÷255.
inline uint32_t One(uint32_t d, uint32_t s, uint32_t m) {
  uint32_t c = Chan(s, 24) * Chan(m, 24) / 255;
  uint32_t out = std::min(Chan(d, 24) + c, 255u) << 24;
  for (int sh = 0; sh < 24; sh += 8) out |= ((Chan(d, sh) * (255 - c) + Chan(m, sh) * c) / 255) << sh;
  return out;
}

// Grey tint: g = truncation of 0.11 B + 0.3 R + 0.59 G in floating point.
uint32_t GrayLevel(uint32_t s);

inline uint32_t Gray(uint32_t d, uint32_t s, uint32_t m) {
  if (m == 0) return d;
  uint32_t g = GrayLevel(s);
  uint32_t dd = Chan(m, 24) * Chan(s, 24) / 255;
  uint32_t out = std::min(Chan(d, 24) + dd, 255u) << 24;
  for (int sh = 0; sh < 24; sh += 8) {
    uint32_t t = Chan(m, sh) * g / 255;
    out |= ((t * dd + Chan(d, sh) * (255 - dd)) / 255) << sh;
  }
  return out;
}

// Cross-fade of two pictures by a (0 … 255), all four bytes:
// (old × (255 − a) + new × a) ÷256.
inline uint32_t Fade(uint32_t o, uint32_t n, uint32_t a) {
  uint32_t out = 0;
  for (int sh = 0; sh < 32; sh += 8) out |= ((Chan(o, sh) * (255 - a) + Chan(n, sh) * a) >> 8) << sh;
  return out;
}

// The colour of the shaded blend at brightness k: B, G, R scaled by k ÷256,
// alpha kept.
inline uint32_t Shade(uint32_t m, uint32_t k) {
  return Pack(Chan(m, 0) * k >> 8, Chan(m, 8) * k >> 8, Chan(m, 16) * k >> 8, Chan(m, 24));
}

// Bilinear sample at 16.16 (u, v) of a picture with the given row stride;
// the caller makes sure (ix + 1, iy + 1) lies inside.
inline uint32_t Bilinear(const uint32_t* pixels, int stride, int64_t u, int64_t v) {
  const uint32_t* p = pixels + (v >> 16) * stride + (u >> 16);
  uint32_t fx = (u >> 8) & 0xFF, fy = (v >> 8) & 0xFF;
  uint32_t w00 = (255 - fx) * (255 - fy), w10 = fx * (255 - fy), w01 = (255 - fx) * fy, w11 = fx * fy;
  uint32_t p00 = p[0], p10 = p[1], p01 = p[stride], p11 = p[stride + 1];
  uint32_t out = 0;
  for (int sh = 0; sh < 32; sh += 8)
    out |= ((w00 * Chan(p00, sh) + w10 * Chan(p10, sh) + w01 * Chan(p01, sh) + w11 * Chan(p11, sh)) >> 16) << sh;
  return out;
}

}  // namespace pix
