// The vector row kernels with AVX2: eight pixels a step, chosen at run time
// when the processor reports AVX2. The arithmetic is that of the SSE2 set;
// the 256-bit unpack and pack work within each 128-bit half, so the pixels
// come back in their places. The sampling of quad spans, filtered and not,
// works out eight positions at a time as well.
#include "assets/CpuFeatures.h"
#include "assets/PixelRows.h"
#include "assets/PixelRules.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>

#include <cstring>

#define VELTO_AVX2 __attribute__((target("avx2")))

namespace pix {
namespace {

VELTO_AVX2 inline __m256i Load(const uint32_t* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }
VELTO_AVX2 inline void Store(uint32_t* p, __m256i v) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v); }
VELTO_AVX2 inline __m256i Lo(__m256i v) { return _mm256_unpacklo_epi8(v, _mm256_setzero_si256()); }
VELTO_AVX2 inline __m256i Hi(__m256i v) { return _mm256_unpackhi_epi8(v, _mm256_setzero_si256()); }
VELTO_AVX2 inline __m256i Alpha(__m256i v16) {
  return _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(v16, 0xFF), 0xFF);
}

VELTO_AVX2 inline __m256i BlendHalf(__m256i d16, __m256i s16, __m256i m16) {
  __m256i sc = _mm256_srli_epi16(_mm256_mullo_epi16(s16, m16), 8);
  __m256i a = Alpha(sc);
  __m256i inv = _mm256_sub_epi16(_mm256_set1_epi16(255), a);
  return _mm256_srli_epi16(_mm256_add_epi16(_mm256_mullo_epi16(d16, inv), _mm256_mullo_epi16(sc, a)), 8);
}

VELTO_AVX2 inline __m256i Blend8(__m256i d, __m256i s, __m256i mLo, __m256i mHi) {
  __m256i r = _mm256_packus_epi16(BlendHalf(Lo(d), Lo(s), mLo), BlendHalf(Hi(d), Hi(s), mHi));
  __m256i keep = _mm256_cmpeq_epi32(_mm256_srli_epi32(s, 24), _mm256_setzero_si256());
  return _mm256_blendv_epi8(r, d, keep);
}

VELTO_AVX2 void Fill(uint32_t* d, size_t n, uint32_t c) {
  __m256i v = _mm256_set1_epi32(static_cast<int>(c));
  size_t i = 0;
  for (; i + 16 <= n; i += 16) {
    Store(d + i, v);
    Store(d + i + 8, v);
  }
  for (; i + 8 <= n; i += 8) Store(d + i, v);
  for (; i < n; ++i) d[i] = c;
}

VELTO_AVX2 void BlendRow(uint32_t* d, const uint32_t* s, size_t n, uint32_t m) {
  __m256i m16 = Lo(_mm256_set1_epi32(static_cast<int>(m)));
  size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    __m256i sv = Load(s + i);
    __m256i clear = _mm256_cmpeq_epi32(_mm256_srli_epi32(sv, 24), _mm256_setzero_si256());
    if (_mm256_movemask_epi8(clear) == -1) continue;
    Store(d + i, Blend8(Load(d + i), sv, m16, m16));
  }
  for (; i < n; ++i) d[i] = Blend(d[i], s[i], m);
}

VELTO_AVX2 void BlendEachRow(uint32_t* d, const uint32_t* s, const uint32_t* m, size_t n) {
  size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    __m256i mv = Load(m + i);
    Store(d + i, Blend8(Load(d + i), Load(s + i), Lo(mv), Hi(mv)));
  }
  for (; i < n; ++i) d[i] = Blend(d[i], s[i], m[i]);
}

VELTO_AVX2 void OpaqueRow(uint32_t* d, const uint32_t* s, size_t n, uint32_t m) {
  __m256i m16 = Lo(_mm256_set1_epi32(static_cast<int>(m)));
  __m256i alpha = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
  size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    __m256i sv = Load(s + i);
    __m256i lo = _mm256_srli_epi16(_mm256_mullo_epi16(Lo(sv), m16), 8);
    __m256i hi = _mm256_srli_epi16(_mm256_mullo_epi16(Hi(sv), m16), 8);
    Store(d + i, _mm256_or_si256(_mm256_packus_epi16(lo, hi), alpha));
  }
  for (; i < n; ++i) d[i] = Opaque(s[i], m);
}

VELTO_AVX2 inline __m256i Div255(__m256i x) {
  return _mm256_srli_epi16(_mm256_add_epi16(_mm256_add_epi16(x, _mm256_srli_epi16(x, 8)), _mm256_set1_epi16(1)), 8);
}

VELTO_AVX2 void TintRow(uint32_t* d, const uint32_t* s, size_t n, uint32_t m) {
  __m256i m16 = Lo(_mm256_set1_epi32(static_cast<int>(m | 0xFF000000u)));
  size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    __m256i sv = Load(s + i);
    __m256i lo = Div255(_mm256_mullo_epi16(Lo(sv), m16));
    __m256i hi = Div255(_mm256_mullo_epi16(Hi(sv), m16));
    Store(d + i, _mm256_packus_epi16(lo, hi));
  }
  for (; i < n; ++i) d[i] = Tint(s[i], m);
}

VELTO_AVX2 void FadeRow(uint32_t* d, const uint32_t* o, const uint32_t* nw, size_t n, uint32_t a) {
  if (a > 255) a = 255;
  __m256i a16 = _mm256_set1_epi16(static_cast<short>(a));
  __m256i inv = _mm256_set1_epi16(static_cast<short>(255 - a));
  size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    __m256i ov = Load(o + i), nv = Load(nw + i);
    __m256i lo =
        _mm256_srli_epi16(_mm256_add_epi16(_mm256_mullo_epi16(Lo(ov), inv), _mm256_mullo_epi16(Lo(nv), a16)), 8);
    __m256i hi =
        _mm256_srli_epi16(_mm256_add_epi16(_mm256_mullo_epi16(Hi(ov), inv), _mm256_mullo_epi16(Hi(nv), a16)), 8);
    Store(d + i, _mm256_packus_epi16(lo, hi));
  }
  for (; i < n; ++i) d[i] = Fade(o[i], nw[i], a);
}

VELTO_AVX2 inline __m256i AddHalf(__m256i s16, __m256i m16) {
  __m256i sc = Div255(_mm256_mullo_epi16(s16, m16));
  __m256i e = Alpha(sc);
  __m256i alpha255 = _mm256_set_epi16(255, 0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0);
  return Div255(_mm256_mullo_epi16(e, _mm256_or_si256(sc, alpha255)));
}

VELTO_AVX2 void AddRow(uint32_t* d, const uint32_t* s, size_t n, uint32_t m) {
  if (m == 0) return;
  __m256i m16 = Lo(_mm256_set1_epi32(static_cast<int>(m)));
  size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    __m256i sv = Load(s + i);
    __m256i add = _mm256_packus_epi16(AddHalf(Lo(sv), m16), AddHalf(Hi(sv), m16));
    Store(d + i, _mm256_adds_epu8(Load(d + i), add));
  }
  for (; i < n; ++i) d[i] = Add(d[i], s[i], m);
}

// Sampling a quad span eight pixels at a time. A span's positions are 16.16
// fixed point inside the picture, and pictures the quads address are at most
// 32768 pixels a side (their corners are 16-bit), so every position lies in
// [0, 2^31): 32-bit lanes that wrap as they step hold them exactly.
VELTO_AVX2 inline __m256i Positions(int64_t start, int64_t step) {
  const __m256i lanes = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
  return _mm256_add_epi32(_mm256_set1_epi32(static_cast<int>(static_cast<uint32_t>(start))),
                          _mm256_mullo_epi32(_mm256_set1_epi32(static_cast<int>(static_cast<uint32_t>(step))), lanes));
}

VELTO_AVX2 inline __m256i Step8(int64_t step) {
  return _mm256_set1_epi32(static_cast<int>(static_cast<uint32_t>(step * 8)));
}

inline bool LanesHold(int sw, int sh) { return sw <= 32768 && sh <= 32768; }

VELTO_AVX2 void SampleNearest(uint32_t* out, const uint32_t* src, int sw, int sh, int64_t u, int64_t v, int64_t du,
                              int64_t dv, int n) {
  int i = 0;
  // A row that stays on one source row (any stretch without rotation):
  // plain loads from it beat a gather, and an unscaled one is a copy.
  if (dv == 0) return SampleNearestAlongRow(out, src + static_cast<size_t>(v >> 16) * sw, u, du, n);
  if (n >= 8 && LanesHold(sw, sh)) {
    __m256i uu = Positions(u, du), vv = Positions(v, dv);
    const __m256i du8 = Step8(du), dv8 = Step8(dv), stride = _mm256_set1_epi32(sw);
    const int* base = reinterpret_cast<const int*>(src);
    for (; i + 8 <= n; i += 8) {
      __m256i idx = _mm256_add_epi32(_mm256_mullo_epi32(_mm256_srli_epi32(vv, 16), stride), _mm256_srli_epi32(uu, 16));
      Store(out + i, _mm256_i32gather_epi32(base, idx, 4));
      uu = _mm256_add_epi32(uu, du8);
      vv = _mm256_add_epi32(vv, dv8);
    }
    u += du * i;
    v += dv * i;
  }
  for (; i < n; ++i, u += du, v += dv) out[i] = src[static_cast<size_t>(v >> 16) * sw + static_cast<size_t>(u >> 16)];
}

// Four pixels filtered from their pixel pairs: `top` holds the (left,
// right) pairs of the upper row for pixels a, b | c, d, `bottom` those of
// the lower row. The horizontal step multiplies each channel's left and
// right bytes by (255 − fx, fx) and adds them in one go (at most 255 × 255,
// exact in 32 bits); the vertical step is ((255 − fy) × top + fy × bottom)
// ÷ 65536, the reference's sum regrouped. The weights come spread over the
// lanes of pixels a | c (`…A`) and b | d (`…B`); the result is pixels a, b |
// c, d in 16-bit channels.
VELTO_AVX2 inline __m256i FilterPairs(__m256i top, __m256i bottom, __m256i wxA, __m256i wxB, __m256i fyA,
                                      __m256i fyB) {
  const __m256i interleave = _mm256_setr_epi8(0, 4, 1, 5, 2, 6, 3, 7, 8, 12, 9, 13, 10, 14, 11, 15, 0, 4, 1, 5, 2, 6,
                                              3, 7, 8, 12, 9, 13, 10, 14, 11, 15);
  const __m256i zero = _mm256_setzero_si256(), c255 = _mm256_set1_epi32(255);
  top = _mm256_shuffle_epi8(top, interleave);
  bottom = _mm256_shuffle_epi8(bottom, interleave);
  __m256i topA = _mm256_madd_epi16(_mm256_unpacklo_epi8(top, zero), wxA);
  __m256i topB = _mm256_madd_epi16(_mm256_unpackhi_epi8(top, zero), wxB);
  __m256i bottomA = _mm256_madd_epi16(_mm256_unpacklo_epi8(bottom, zero), wxA);
  __m256i bottomB = _mm256_madd_epi16(_mm256_unpackhi_epi8(bottom, zero), wxB);
  __m256i a = _mm256_add_epi32(_mm256_mullo_epi32(topA, _mm256_sub_epi32(c255, fyA)), _mm256_mullo_epi32(bottomA, fyA));
  __m256i b = _mm256_add_epi32(_mm256_mullo_epi32(topB, _mm256_sub_epi32(c255, fyB)), _mm256_mullo_epi32(bottomB, fyB));
  return _mm256_packs_epi32(_mm256_srli_epi32(a, 16), _mm256_srli_epi32(b, 16));
}

inline uint32_t BilinearOrNearest(const uint32_t* src, int sw, int sh, int64_t u, int64_t v) {
  int ix = static_cast<int>(u >> 16), iy = static_cast<int>(v >> 16);
  return (ix < sw - 1 && iy < sh - 1) ? Bilinear(src, sw, u, v) : src[static_cast<size_t>(iy) * sw + ix];
}

// Eight samples a step. The pixel pairs are read with plain 64-bit loads:
// on the processors measured they beat the gather instructions here. A step
// with a sample in the last column or row, where there is no pair to read,
// is done one sample at a time.
VELTO_AVX2 void SampleBilinear(uint32_t* out, const uint32_t* src, int sw, int sh, int64_t u, int64_t v, int64_t du,
                               int64_t dv, int n) {
  int i = 0;
  if (n >= 8 && LanesHold(sw, sh)) {
    __m256i uu = Positions(u, du), vv = Positions(v, dv);
    const __m256i du8 = Step8(du), dv8 = Step8(dv), stride = _mm256_set1_epi32(sw);
    const __m256i lastX = _mm256_set1_epi32(sw - 1), lastY = _mm256_set1_epi32(sh - 1);
    const __m256i fraction = _mm256_set1_epi32(0xFF), c255 = _mm256_set1_epi32(255);
    // Lanes of the weights for pixels 0 | 2, 1 | 3, 4 | 6 and 5 | 7, and the
    // order that puts the packed pixels 0, 1, 4, 5 | 2, 3, 6, 7 back.
    const __m256i pick02 = _mm256_setr_epi32(0, 0, 0, 0, 2, 2, 2, 2), pick13 = _mm256_setr_epi32(1, 1, 1, 1, 3, 3, 3, 3);
    const __m256i pick46 = _mm256_setr_epi32(4, 4, 4, 4, 6, 6, 6, 6), pick57 = _mm256_setr_epi32(5, 5, 5, 5, 7, 7, 7, 7);
    const __m256i order = _mm256_setr_epi32(0, 1, 4, 5, 2, 3, 6, 7);
    for (; i + 8 <= n; i += 8, u += du * 8, v += dv * 8) {
      __m256i ix = _mm256_srli_epi32(uu, 16), iy = _mm256_srli_epi32(vv, 16);
      __m256i inner = _mm256_and_si256(_mm256_cmpgt_epi32(lastX, ix), _mm256_cmpgt_epi32(lastY, iy));
      if (_mm256_movemask_ps(_mm256_castsi256_ps(inner)) != 0xFF) {
        int64_t su = u, sv = v;
        for (int k = 0; k < 8; ++k, su += du, sv += dv) out[i + k] = BilinearOrNearest(src, sw, sh, su, sv);
      } else {
        alignas(32) int32_t at[8];
        _mm256_store_si256(reinterpret_cast<__m256i*>(at), _mm256_add_epi32(_mm256_mullo_epi32(iy, stride), ix));
        auto pair = [&](int k, int below) {
          long long p;
          memcpy(&p, src + at[k] + below, 8);
          return p;
        };
        __m256i top0 = _mm256_setr_epi64x(pair(0, 0), pair(1, 0), pair(2, 0), pair(3, 0));
        __m256i top1 = _mm256_setr_epi64x(pair(4, 0), pair(5, 0), pair(6, 0), pair(7, 0));
        __m256i bottom0 = _mm256_setr_epi64x(pair(0, sw), pair(1, sw), pair(2, sw), pair(3, sw));
        __m256i bottom1 = _mm256_setr_epi64x(pair(4, sw), pair(5, sw), pair(6, sw), pair(7, sw));
        __m256i fx = _mm256_and_si256(_mm256_srli_epi32(uu, 8), fraction);
        __m256i fy = _mm256_and_si256(_mm256_srli_epi32(vv, 8), fraction);
        __m256i wx = _mm256_or_si256(_mm256_sub_epi32(c255, fx), _mm256_slli_epi32(fx, 16));
        __m256i low = FilterPairs(top0, bottom0, _mm256_permutevar8x32_epi32(wx, pick02),
                                  _mm256_permutevar8x32_epi32(wx, pick13), _mm256_permutevar8x32_epi32(fy, pick02),
                                  _mm256_permutevar8x32_epi32(fy, pick13));
        __m256i high = FilterPairs(top1, bottom1, _mm256_permutevar8x32_epi32(wx, pick46),
                                   _mm256_permutevar8x32_epi32(wx, pick57), _mm256_permutevar8x32_epi32(fy, pick46),
                                   _mm256_permutevar8x32_epi32(fy, pick57));
        Store(out + i, _mm256_permutevar8x32_epi32(_mm256_packus_epi16(low, high), order));
      }
      uu = _mm256_add_epi32(uu, du8);
      vv = _mm256_add_epi32(vv, dv8);
    }
  }
  for (; i < n; ++i, u += du, v += dv) out[i] = BilinearOrNearest(src, sw, sh, u, v);
}

const RowKernels kAvx2{"avx2",  Fill,   BlendRow, BlendEachRow,   OpaqueRow,
                       TintRow, FadeRow, AddRow,  SampleBilinear, SampleNearest};

}  // namespace

const RowKernels* Avx2Rows() { return CpuHasAvx2() ? &kAvx2 : nullptr; }

}  // namespace pix

#else

namespace pix {
const RowKernels* Avx2Rows() { return nullptr; }
}  // namespace pix

#endif
