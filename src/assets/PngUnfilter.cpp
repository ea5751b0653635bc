#include "assets/PngUnfilter.h"

#include <cstdlib>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace png {

namespace {

uint8_t Paeth(int a, int b, int c) {
  const int p = a + b - c;
  const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  return static_cast<uint8_t>(pa <= pb && pa <= pc ? a : pb <= pc ? b : c);
}

#if defined(__SSE2__)
// One pixel of 3 or 4 bytes in the low lanes of a register, and back.
template <size_t bpp>
inline __m128i LoadPixel(const uint8_t* p) {
  uint32_t v = 0;
  memcpy(&v, p, bpp);
  return _mm_cvtsi32_si128(static_cast<int>(v));
}
template <size_t bpp>
inline void StorePixel(uint8_t* p, __m128i x) {
  const uint32_t v = static_cast<uint32_t>(_mm_cvtsi128_si32(x));
  memcpy(p, &v, bpp);
}

inline __m128i Abs16(__m128i x) { return _mm_max_epi16(x, _mm_sub_epi16(_mm_setzero_si128(), x)); }
inline __m128i Pick(__m128i mask, __m128i yes, __m128i no) {
  return _mm_or_si128(_mm_and_si128(mask, yes), _mm_andnot_si128(mask, no));
}

// The vector rows: each pixel depends on the one before it, so the channels
// of one pixel go side by side in 16-bit lanes.
template <size_t bpp>
void SubRow(uint8_t* row, size_t bytes) {
  __m128i a = _mm_setzero_si128();
  for (size_t i = 0; i < bytes; i += bpp) {
    a = _mm_add_epi8(LoadPixel<bpp>(row + i), a);
    StorePixel<bpp>(row + i, a);
  }
}

template <size_t bpp>
void AverageRow(uint8_t* row, const uint8_t* prior, size_t bytes) {
  // (a + b) >> 1 is the rounded-up average less the carry of the low bits.
  const __m128i one = _mm_set1_epi8(1);
  __m128i a = _mm_setzero_si128();
  for (size_t i = 0; i < bytes; i += bpp) {
    const __m128i b = LoadPixel<bpp>(prior + i);
    const __m128i avg = _mm_sub_epi8(_mm_avg_epu8(a, b), _mm_and_si128(_mm_xor_si128(a, b), one));
    a = _mm_add_epi8(LoadPixel<bpp>(row + i), avg);
    StorePixel<bpp>(row + i, a);
  }
}

template <size_t bpp>
void PaethRow(uint8_t* row, const uint8_t* prior, size_t bytes) {
  const __m128i zero = _mm_setzero_si128();
  __m128i a = zero, c = zero;  // 16-bit lanes
  for (size_t i = 0; i < bytes; i += bpp) {
    const __m128i b = _mm_unpacklo_epi8(LoadPixel<bpp>(prior + i), zero);
    // p = a + b − c: |p − a| = |b − c|, |p − b| = |a − c|, |p − c| = |b − c + a − c|.
    const __m128i bc = _mm_sub_epi16(b, c), ac = _mm_sub_epi16(a, c);
    const __m128i pa = Abs16(bc), pb = Abs16(ac), pc = Abs16(_mm_add_epi16(bc, ac));
    const __m128i smallest = _mm_min_epi16(pc, _mm_min_epi16(pa, pb));
    // Ties go to a, then b, then c.
    const __m128i nearest = Pick(_mm_cmpeq_epi16(smallest, pa), a, Pick(_mm_cmpeq_epi16(smallest, pb), b, c));
    const __m128i x = _mm_add_epi8(LoadPixel<bpp>(row + i), _mm_packus_epi16(nearest, zero));
    StorePixel<bpp>(row + i, x);
    a = _mm_unpacklo_epi8(x, zero);
    c = b;
  }
}
#endif

}  // namespace

bool UnfilterRowReference(uint8_t type, uint8_t* row, const uint8_t* prior, size_t bytes, size_t bpp) {
  switch (type) {
    case 0: return true;
    case 1:
      for (size_t i = bpp; i < bytes; ++i) row[i] = static_cast<uint8_t>(row[i] + row[i - bpp]);
      return true;
    case 2:
      for (size_t i = 0; i < bytes; ++i) row[i] = static_cast<uint8_t>(row[i] + prior[i]);
      return true;
    case 3:
      for (size_t i = 0; i < bpp && i < bytes; ++i) row[i] = static_cast<uint8_t>(row[i] + (prior[i] >> 1));
      for (size_t i = bpp; i < bytes; ++i) row[i] = static_cast<uint8_t>(row[i] + ((row[i - bpp] + prior[i]) >> 1));
      return true;
    case 4:
      for (size_t i = 0; i < bpp && i < bytes; ++i) row[i] = static_cast<uint8_t>(row[i] + prior[i]);
      for (size_t i = bpp; i < bytes; ++i)
        row[i] = static_cast<uint8_t>(row[i] + Paeth(row[i - bpp], prior[i], prior[i - bpp]));
      return true;
    default: return false;
  }
}

bool UnfilterRow(uint8_t type, uint8_t* row, const uint8_t* prior, size_t bytes, size_t bpp) {
#if defined(__SSE2__)
  // Whole pixels only; the up filter has no chain and the compiler widens
  // it by itself.
  if ((bpp == 3 || bpp == 4) && bytes % bpp == 0) {
    switch (type) {
      case 1: bpp == 4 ? SubRow<4>(row, bytes) : SubRow<3>(row, bytes); return true;
      case 3: bpp == 4 ? AverageRow<4>(row, prior, bytes) : AverageRow<3>(row, prior, bytes); return true;
      case 4: bpp == 4 ? PaethRow<4>(row, prior, bytes) : PaethRow<3>(row, prior, bytes); return true;
      default: break;
    }
  }
#endif
  return UnfilterRowReference(type, row, prior, bytes, bpp);
}

}  // namespace png
