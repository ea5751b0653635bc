// The mixes of two pictures with SSE2: four pixels a step, each channel
// widened to 16 bits, where every sum of two byte products fits.
#include <cstring>

#include "assets/CpuFeatures.h"
#include "assets/MixRows.h"

#if defined(__SSE2__)
#include <emmintrin.h>

namespace pix {
namespace {

inline __m128i Load(const uint32_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
inline void Store(uint32_t* p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }
inline __m128i Lo(__m128i v) { return _mm_unpacklo_epi8(v, _mm_setzero_si128()); }
inline __m128i Hi(__m128i v) { return _mm_unpackhi_epi8(v, _mm_setzero_si128()); }
inline __m128i Alpha(__m128i v16) { return _mm_shufflehi_epi16(_mm_shufflelo_epi16(v16, 0xFF), 0xFF); }
// x ÷ 255 for 0 ≤ x ≤ 255 × 255, exactly.
inline __m128i Div255(__m128i x) {
  return _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(x, _mm_srli_epi16(x, 8)), _mm_set1_epi16(1)), 8);
}
// Four weights, each copied to the four bytes of its pixel.
inline __m128i SpreadWeights(const uint8_t* w) {
  int32_t packed;
  memcpy(&packed, w, 4);
  __m128i b = _mm_cvtsi32_si128(packed);
  b = _mm_unpacklo_epi8(b, b);
  return _mm_unpacklo_epi16(b, b);
}

void MaskFadeRow(uint32_t* d, const uint32_t* o, const uint32_t* n, const uint8_t* w, size_t count) {
  const __m128i k255 = _mm_set1_epi16(255);
  const __m128i alpha = _mm_set1_epi32(static_cast<int>(0xFF000000u));
  size_t i = 0;
  for (; i + 4 <= count; i += 4) {
    __m128i ov = Load(o + i), nv = Load(n + i), wv = SpreadWeights(w + i);
    __m128i wl = Lo(wv), wh = Hi(wv);
    __m128i lo = _mm_srli_epi16(
        _mm_add_epi16(_mm_mullo_epi16(Lo(nv), wl), _mm_mullo_epi16(Lo(ov), _mm_sub_epi16(k255, wl))), 8);
    __m128i hi = _mm_srli_epi16(
        _mm_add_epi16(_mm_mullo_epi16(Hi(nv), wh), _mm_mullo_epi16(Hi(ov), _mm_sub_epi16(k255, wh))), 8);
    __m128i mixed = _mm_or_si128(_mm_packus_epi16(lo, hi), alpha);
    // A weight of 0 keeps the old pixel whole.
    __m128i keep = _mm_cmpeq_epi32(wv, _mm_setzero_si128());
    Store(d + i, _mm_or_si128(_mm_and_si128(keep, ov), _mm_andnot_si128(keep, mixed)));
  }
  for (; i < count; ++i) d[i] = MaskFade(o[i], n[i], w[i]);
}

void MaskSelectRow(uint32_t* d, const uint32_t* o, const uint32_t* n, const uint8_t* w, size_t count,
                   uint32_t threshold) {
  const __m128i limit = _mm_set1_epi32(static_cast<int>(threshold > 256 ? 256 : threshold));
  const __m128i low = _mm_set1_epi32(0xFF);
  size_t i = 0;
  for (; i + 4 <= count; i += 4) {
    // Weights and threshold are small and positive: the signed compare holds.
    __m128i keep = _mm_cmplt_epi32(_mm_and_si128(SpreadWeights(w + i), low), limit);
    Store(d + i, _mm_or_si128(_mm_and_si128(keep, Load(o + i)), _mm_andnot_si128(keep, Load(n + i))));
  }
  for (; i < count; ++i) d[i] = MaskSelect(o[i], n[i], w[i], threshold);
}

inline __m128i Fade255Half(__m128i o16, __m128i n16, __m128i inv, __m128i a16) {
  return Div255(_mm_add_epi16(_mm_mullo_epi16(o16, inv), _mm_mullo_epi16(n16, a16)));
}

void Fade255Row(uint32_t* d, const uint32_t* o, const uint32_t* n, size_t count, uint32_t a) {
  if (a > 255) a = 255;
  const __m128i a16 = _mm_set1_epi16(static_cast<short>(a));
  const __m128i inv = _mm_set1_epi16(static_cast<short>(255 - a));
  size_t i = 0;
  for (; i + 4 <= count; i += 4) {
    __m128i ov = Load(o + i), nv = Load(n + i);
    Store(d + i, _mm_packus_epi16(Fade255Half(Lo(ov), Lo(nv), inv, a16), Fade255Half(Hi(ov), Hi(nv), inv, a16)));
  }
  for (; i < count; ++i) d[i] = Fade255(o[i], n[i], a);
}

inline __m128i FlashHalf(__m128i o16, __m128i n16, __m128i f16, __m128i inv, __m128i a16, __m128i flash16) {
  const __m128i c = Fade255Half(o16, n16, inv, a16);
  const __m128i l = _mm_srli_epi16(_mm_add_epi16(Alpha(f16), flash16), 1);
  return Div255(_mm_add_epi16(_mm_mullo_epi16(c, _mm_sub_epi16(_mm_set1_epi16(255), l)), _mm_mullo_epi16(f16, l)));
}

void FlashRow(uint32_t* d, const uint32_t* o, const uint32_t* n, const uint32_t* f, size_t count, uint32_t a,
              uint32_t flash) {
  if (a > 255) a = 255;
  if (flash > 255) flash = 255;
  const __m128i a16 = _mm_set1_epi16(static_cast<short>(a));
  const __m128i inv = _mm_set1_epi16(static_cast<short>(255 - a));
  const __m128i flash16 = _mm_set1_epi16(static_cast<short>(flash));
  const __m128i alpha = _mm_set1_epi32(static_cast<int>(0xFF000000u));
  size_t i = 0;
  for (; i + 4 <= count; i += 4) {
    __m128i ov = Load(o + i), nv = Load(n + i), fv = Load(f + i);
    __m128i lo = FlashHalf(Lo(ov), Lo(nv), Lo(fv), inv, a16, flash16);
    __m128i hi = FlashHalf(Hi(ov), Hi(nv), Hi(fv), inv, a16, flash16);
    Store(d + i, _mm_or_si128(_mm_packus_epi16(lo, hi), alpha));
  }
  for (; i < count; ++i) d[i] = Flash(o[i], n[i], f[i], a, flash);
}

const MixKernels kSse2{"sse2", MaskFadeRow, MaskSelectRow, Fade255Row, FlashRow};

}  // namespace

const MixKernels* Sse2Mix() { return CpuHasSse2() ? &kSse2 : nullptr; }

}  // namespace pix

#else

namespace pix {
const MixKernels* Sse2Mix() { return nullptr; }
}  // namespace pix

#endif
