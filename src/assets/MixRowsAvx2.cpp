// The mixes of two pictures with AVX2: eight pixels a step, chosen at run
// time when the processor reports AVX2. The arithmetic is that of the SSE2
// set; unpack and pack work within each 128-bit half, so pixels come back in
// their places.
#include "assets/CpuFeatures.h"
#include "assets/MixRows.h"

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
VELTO_AVX2 inline __m256i Div255(__m256i x) {
  return _mm256_srli_epi16(_mm256_add_epi16(_mm256_add_epi16(x, _mm256_srli_epi16(x, 8)), _mm256_set1_epi16(1)), 8);
}
// Eight weights, each copied to the four bytes of its pixel.
VELTO_AVX2 inline __m256i SpreadWeights(const uint8_t* w) {
  __m256i w32 = _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(w)));
  return _mm256_mullo_epi32(w32, _mm256_set1_epi32(0x01010101));
}

VELTO_AVX2 void MaskFadeRow(uint32_t* d, const uint32_t* o, const uint32_t* n, const uint8_t* w, size_t count) {
  const __m256i k255 = _mm256_set1_epi16(255);
  const __m256i alpha = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
  size_t i = 0;
  for (; i + 8 <= count; i += 8) {
    __m256i ov = Load(o + i), nv = Load(n + i), wv = SpreadWeights(w + i);
    __m256i wl = Lo(wv), wh = Hi(wv);
    __m256i lo = _mm256_srli_epi16(
        _mm256_add_epi16(_mm256_mullo_epi16(Lo(nv), wl), _mm256_mullo_epi16(Lo(ov), _mm256_sub_epi16(k255, wl))), 8);
    __m256i hi = _mm256_srli_epi16(
        _mm256_add_epi16(_mm256_mullo_epi16(Hi(nv), wh), _mm256_mullo_epi16(Hi(ov), _mm256_sub_epi16(k255, wh))), 8);
    __m256i mixed = _mm256_or_si256(_mm256_packus_epi16(lo, hi), alpha);
    __m256i keep = _mm256_cmpeq_epi32(wv, _mm256_setzero_si256());
    Store(d + i, _mm256_blendv_epi8(mixed, ov, keep));
  }
  for (; i < count; ++i) d[i] = MaskFade(o[i], n[i], w[i]);
}

VELTO_AVX2 void MaskSelectRow(uint32_t* d, const uint32_t* o, const uint32_t* n, const uint8_t* w, size_t count,
                              uint32_t threshold) {
  const __m256i limit = _mm256_set1_epi32(static_cast<int>(threshold > 256 ? 256 : threshold));
  size_t i = 0;
  for (; i + 8 <= count; i += 8) {
    __m256i w32 = _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(w + i)));
    __m256i keep = _mm256_cmpgt_epi32(limit, w32);
    Store(d + i, _mm256_blendv_epi8(Load(n + i), Load(o + i), keep));
  }
  for (; i < count; ++i) d[i] = MaskSelect(o[i], n[i], w[i], threshold);
}

VELTO_AVX2 inline __m256i Fade255Half(__m256i o16, __m256i n16, __m256i inv, __m256i a16) {
  return Div255(_mm256_add_epi16(_mm256_mullo_epi16(o16, inv), _mm256_mullo_epi16(n16, a16)));
}

VELTO_AVX2 void Fade255Row(uint32_t* d, const uint32_t* o, const uint32_t* n, size_t count, uint32_t a) {
  if (a > 255) a = 255;
  const __m256i a16 = _mm256_set1_epi16(static_cast<short>(a));
  const __m256i inv = _mm256_set1_epi16(static_cast<short>(255 - a));
  size_t i = 0;
  for (; i + 8 <= count; i += 8) {
    __m256i ov = Load(o + i), nv = Load(n + i);
    Store(d + i,
          _mm256_packus_epi16(Fade255Half(Lo(ov), Lo(nv), inv, a16), Fade255Half(Hi(ov), Hi(nv), inv, a16)));
  }
  for (; i < count; ++i) d[i] = Fade255(o[i], n[i], a);
}

VELTO_AVX2 inline __m256i FlashHalf(__m256i o16, __m256i n16, __m256i f16, __m256i inv, __m256i a16,
                                    __m256i flash16) {
  const __m256i c = Fade255Half(o16, n16, inv, a16);
  const __m256i l = _mm256_srli_epi16(_mm256_add_epi16(Alpha(f16), flash16), 1);
  return Div255(
      _mm256_add_epi16(_mm256_mullo_epi16(c, _mm256_sub_epi16(_mm256_set1_epi16(255), l)), _mm256_mullo_epi16(f16, l)));
}

VELTO_AVX2 void FlashRow(uint32_t* d, const uint32_t* o, const uint32_t* n, const uint32_t* f, size_t count,
                         uint32_t a, uint32_t flash) {
  if (a > 255) a = 255;
  if (flash > 255) flash = 255;
  const __m256i a16 = _mm256_set1_epi16(static_cast<short>(a));
  const __m256i inv = _mm256_set1_epi16(static_cast<short>(255 - a));
  const __m256i flash16 = _mm256_set1_epi16(static_cast<short>(flash));
  const __m256i alpha = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
  size_t i = 0;
  for (; i + 8 <= count; i += 8) {
    __m256i ov = Load(o + i), nv = Load(n + i), fv = Load(f + i);
    __m256i lo = FlashHalf(Lo(ov), Lo(nv), Lo(fv), inv, a16, flash16);
    __m256i hi = FlashHalf(Hi(ov), Hi(nv), Hi(fv), inv, a16, flash16);
    Store(d + i, _mm256_or_si256(_mm256_packus_epi16(lo, hi), alpha));
  }
  for (; i < count; ++i) d[i] = Flash(o[i], n[i], f[i], a, flash);
}

const MixKernels kAvx2{"avx2", MaskFadeRow, MaskSelectRow, Fade255Row, FlashRow};

}  // namespace

const MixKernels* Avx2Mix() { return CpuHasAvx2() ? &kAvx2 : nullptr; }

}  // namespace pix

#else

namespace pix {
const MixKernels* Avx2Mix() { return nullptr; }
}  // namespace pix

#endif
