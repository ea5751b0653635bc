// The vector row kernels with SSE2, the x86-64 baseline: four pixels a step,
// each channel widened to 16 bits, where every product of two bytes fits.
#include "assets/CpuFeatures.h"
#include "assets/PixelRows.h"
#include "assets/PixelRules.h"

#if defined(__SSE2__)
#include <emmintrin.h>

namespace pix {
namespace {

inline __m128i Load(const uint32_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
inline void Store(uint32_t* p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }
inline __m128i Lo(__m128i v) { return _mm_unpacklo_epi8(v, _mm_setzero_si128()); }
inline __m128i Hi(__m128i v) { return _mm_unpackhi_epi8(v, _mm_setzero_si128()); }
// Each pixel's alpha lane copied to its four lanes.
inline __m128i Alpha(__m128i v16) { return _mm_shufflehi_epi16(_mm_shufflelo_epi16(v16, 0xFF), 0xFF); }

// The blend of one pixel pair, widened: s = S × M ÷256, then
// (D × (255 − s.A) + s × s.A) ÷256.
inline __m128i BlendHalf(__m128i d16, __m128i s16, __m128i m16) {
  __m128i sc = _mm_srli_epi16(_mm_mullo_epi16(s16, m16), 8);
  __m128i a = Alpha(sc);
  __m128i inv = _mm_sub_epi16(_mm_set1_epi16(255), a);
  return _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(d16, inv), _mm_mullo_epi16(sc, a)), 8);
}

inline __m128i Blend4(__m128i d, __m128i s, __m128i mLo, __m128i mHi) {
  __m128i r = _mm_packus_epi16(BlendHalf(Lo(d), Lo(s), mLo), BlendHalf(Hi(d), Hi(s), mHi));
  // Transparent source pixels leave the destination as it is.
  __m128i keep = _mm_cmpeq_epi32(_mm_srli_epi32(s, 24), _mm_setzero_si128());
  return _mm_or_si128(_mm_and_si128(keep, d), _mm_andnot_si128(keep, r));
}

void Fill(uint32_t* d, size_t n, uint32_t c) {
  __m128i v = _mm_set1_epi32(static_cast<int>(c));
  size_t i = 0;
  for (; i + 16 <= n; i += 16) {
    Store(d + i, v);
    Store(d + i + 4, v);
    Store(d + i + 8, v);
    Store(d + i + 12, v);
  }
  for (; i + 4 <= n; i += 4) Store(d + i, v);
  for (; i < n; ++i) d[i] = c;
}

void BlendRow(uint32_t* d, const uint32_t* s, size_t n, uint32_t m) {
  __m128i m16 = Lo(_mm_set1_epi32(static_cast<int>(m)));
  size_t i = 0;
  for (; i + 4 <= n; i += 4) {
    __m128i sv = Load(s + i);
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(_mm_srli_epi32(sv, 24), _mm_setzero_si128())) == 0xFFFF) continue;
    Store(d + i, Blend4(Load(d + i), sv, m16, m16));
  }
  for (; i < n; ++i) d[i] = Blend(d[i], s[i], m);
}

void BlendEachRow(uint32_t* d, const uint32_t* s, const uint32_t* m, size_t n) {
  size_t i = 0;
  for (; i + 4 <= n; i += 4) {
    __m128i mv = Load(m + i);
    Store(d + i, Blend4(Load(d + i), Load(s + i), Lo(mv), Hi(mv)));
  }
  for (; i < n; ++i) d[i] = Blend(d[i], s[i], m[i]);
}

void OpaqueRow(uint32_t* d, const uint32_t* s, size_t n, uint32_t m) {
  __m128i m16 = Lo(_mm_set1_epi32(static_cast<int>(m)));
  __m128i alpha = _mm_set1_epi32(static_cast<int>(0xFF000000u));
  size_t i = 0;
  for (; i + 4 <= n; i += 4) {
    __m128i sv = Load(s + i);
    __m128i lo = _mm_srli_epi16(_mm_mullo_epi16(Lo(sv), m16), 8);
    __m128i hi = _mm_srli_epi16(_mm_mullo_epi16(Hi(sv), m16), 8);
    Store(d + i, _mm_or_si128(_mm_packus_epi16(lo, hi), alpha));
  }
  for (; i < n; ++i) d[i] = Opaque(s[i], m);
}

// x ÷ 255 for 0 ≤ x ≤ 255 × 255, exactly: (x + (x >> 8) + 1) >> 8.
inline __m128i Div255(__m128i x) {
  return _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(x, _mm_srli_epi16(x, 8)), _mm_set1_epi16(1)), 8);
}

void TintRow(uint32_t* d, const uint32_t* s, size_t n, uint32_t m) {
  // Alpha multiplied by 255 and divided by 255 is kept as it was.
  __m128i m16 = Lo(_mm_set1_epi32(static_cast<int>(m | 0xFF000000u)));
  size_t i = 0;
  for (; i + 4 <= n; i += 4) {
    __m128i sv = Load(s + i);
    __m128i lo = Div255(_mm_mullo_epi16(Lo(sv), m16));
    __m128i hi = Div255(_mm_mullo_epi16(Hi(sv), m16));
    Store(d + i, _mm_packus_epi16(lo, hi));
  }
  for (; i < n; ++i) d[i] = Tint(s[i], m);
}

void FadeRow(uint32_t* d, const uint32_t* o, const uint32_t* nw, size_t n, uint32_t a) {
  if (a > 255) a = 255;
  __m128i a16 = _mm_set1_epi16(static_cast<short>(a));
  __m128i inv = _mm_set1_epi16(static_cast<short>(255 - a));
  size_t i = 0;
  for (; i + 4 <= n; i += 4) {
    __m128i ov = Load(o + i), nv = Load(nw + i);
    __m128i lo = _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(Lo(ov), inv), _mm_mullo_epi16(Lo(nv), a16)), 8);
    __m128i hi = _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(Hi(ov), inv), _mm_mullo_epi16(Hi(nv), a16)), 8);
    Store(d + i, _mm_packus_epi16(lo, hi));
  }
  for (; i < n; ++i) d[i] = Fade(o[i], nw[i], a);
}

}  // namespace

// One bilinear sample. The sum of the four weighted pixels is regrouped as
// (255 − fy) × h0 + fy × h1 with h = (255 − fx) × left + fx × right, the top
// row's h in the low half of a register and the bottom row's in the high
// half: each h is at most 255 × 255 and fits 16 bits exactly, and only the
// last products need 32 bits.
static inline uint32_t BilinearSse2(const uint32_t* p, int stride, uint32_t fx, uint32_t fy) {
  const __m128i zero = _mm_setzero_si128();
  // Bytes: top-left, bottom-left, top-right, bottom-right.
  __m128i px = _mm_unpacklo_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)),
                                  _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p + stride)));
  __m128i left = _mm_unpacklo_epi8(px, zero), right = _mm_unpackhi_epi8(px, zero);
  __m128i wx = _mm_set1_epi16(static_cast<short>(fx));
  __m128i h = _mm_add_epi16(_mm_mullo_epi16(left, _mm_sub_epi16(_mm_set1_epi16(255), wx)), _mm_mullo_epi16(right, wx));
  __m128i wy = _mm_unpacklo_epi64(_mm_set1_epi16(static_cast<short>(255 - fy)), _mm_set1_epi16(static_cast<short>(fy)));
  __m128i lo = _mm_mullo_epi16(h, wy), hi = _mm_mulhi_epu16(h, wy);
  __m128i sum = _mm_add_epi32(_mm_unpacklo_epi16(lo, hi), _mm_unpackhi_epi16(lo, hi));
  __m128i c = _mm_packs_epi32(_mm_srli_epi32(sum, 16), zero);
  return static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(c, zero)));
}

void SampleBilinearSse2(uint32_t* out, const uint32_t* src, int sw, int sh, int64_t u, int64_t v, int64_t du,
                        int64_t dv, int n) {
  for (int i = 0; i < n; ++i, u += du, v += dv) {
    int ix = static_cast<int>(u >> 16), iy = static_cast<int>(v >> 16);
    const uint32_t* p = src + static_cast<size_t>(iy) * sw + ix;
    out[i] = (ix < sw - 1 && iy < sh - 1)
                 ? BilinearSse2(p, sw, static_cast<uint32_t>(u >> 8) & 0xFF, static_cast<uint32_t>(v >> 8) & 0xFF)
                 : *p;
  }
}

namespace {
// The additive rule needs no special cases in vector form: with M white,
// M × S ÷255 is S; with e = 0 or M = 0 nothing is added. The alpha lane of
// the colour term is raised to 255 so that e × 255 ÷255 adds e itself.
inline __m128i AddHalf(__m128i s16, __m128i m16) {
  __m128i sc = Div255(_mm_mullo_epi16(s16, m16));
  __m128i e = Alpha(sc);
  __m128i alpha255 = _mm_set_epi16(255, 0, 0, 0, 255, 0, 0, 0);
  return Div255(_mm_mullo_epi16(e, _mm_or_si128(sc, alpha255)));
}

void AddRow(uint32_t* d, const uint32_t* s, size_t n, uint32_t m) {
  if (m == 0) return;
  __m128i m16 = Lo(_mm_set1_epi32(static_cast<int>(m)));
  size_t i = 0;
  for (; i + 4 <= n; i += 4) {
    __m128i sv = Load(s + i);
    __m128i add = _mm_packus_epi16(AddHalf(Lo(sv), m16), AddHalf(Hi(sv), m16));
    Store(d + i, _mm_adds_epu8(Load(d + i), add));
  }
  for (; i < n; ++i) d[i] = Add(d[i], s[i], m);
}

// Without a gather instruction, unfiltered sampling is one load a pixel
// whatever the register width.
void SampleNearestSse2(uint32_t* out, const uint32_t* src, int sw, int, int64_t u, int64_t v, int64_t du,
                       int64_t dv, int n) {
  if (dv == 0) return SampleNearestAlongRow(out, src + static_cast<size_t>(v >> 16) * sw, u, du, n);
  for (int i = 0; i < n; ++i, u += du, v += dv)
    out[i] = src[static_cast<size_t>(v >> 16) * sw + static_cast<size_t>(u >> 16)];
}

const RowKernels kSse2{"sse2",  Fill,   BlendRow, BlendEachRow,       OpaqueRow,
                       TintRow, FadeRow, AddRow,  SampleBilinearSse2, SampleNearestSse2};
}  // namespace

const RowKernels* Sse2Rows() { return CpuHasSse2() ? &kSse2 : nullptr; }

}  // namespace pix

#else

namespace pix {
const RowKernels* Sse2Rows() { return nullptr; }
}  // namespace pix

#endif
