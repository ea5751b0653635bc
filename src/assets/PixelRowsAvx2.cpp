// The vector row kernels with AVX2: eight pixels a step, chosen at run time
// when the processor reports AVX2. The arithmetic is that of the SSE2 set;
// the 256-bit unpack and pack work within each 128-bit half, so the pixels
// come back in their places.
#include "assets/CpuFeatures.h"
#include "assets/PixelRows.h"
#include "assets/PixelRules.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>

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

}  // namespace

// Filtered sampling gathers one pixel at a time and uses the SSE2 form.
void SampleBilinearSse2(uint32_t* out, const uint32_t* src, int sw, int sh, int64_t u, int64_t v, int64_t du,
                        int64_t dv, int n);

namespace {
const RowKernels kAvx2{"avx2", Fill, BlendRow, BlendEachRow, OpaqueRow, TintRow, FadeRow, AddRow, SampleBilinearSse2};

}  // namespace

const RowKernels* Avx2Rows() { return CpuHasAvx2() ? &kAvx2 : nullptr; }

}  // namespace pix

#else

namespace pix {
const RowKernels* Avx2Rows() { return nullptr; }
}  // namespace pix

#endif
