// The fire's rows with AVX2, eight cells a step.
#include <algorithm>

#include "assets/CpuFeatures.h"
#include "scene/FireRows.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>

#define VELTO_AVX2 __attribute__((target("avx2")))

namespace scene {
namespace {

VELTO_AVX2 inline __m256i Load(const int32_t* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }
VELTO_AVX2 inline void Store(void* p, __m256i v) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v); }

VELTO_AVX2 void Carry(int32_t* up, const int32_t* row, const int32_t* below, int width, bool coolCold) {
  const __m256i seven = _mm256_set1_epi32(7), zero = _mm256_setzero_si256();
  int x = 1;
  for (; x + 8 <= width - 1; x += 8) {
    const __m256i sum = _mm256_add_epi32(_mm256_add_epi32(Load(below + x), Load(row + x - 1)),
                                         _mm256_add_epi32(Load(row + x + 1), Load(row + x)));
    // A shift rounds a negative sum down where division rounds it toward
    // zero; either way its average is below 8 and the cell goes cold.
    const __m256i average = _mm256_srai_epi32(sum, 2);
    __m256i out = _mm256_and_si256(_mm256_cmpgt_epi32(average, seven), _mm256_sub_epi32(average, seven));
    if (!coolCold) out = _mm256_blendv_epi8(out, Load(up + x), _mm256_cmpeq_epi32(sum, zero));
    Store(up + x, out);
  }
  for (; x <= width - 2; ++x) {
    const int64_t sum = static_cast<int64_t>(below[x]) + row[x - 1] + row[x + 1] + row[x];
    if (sum == 0 && !coolCold) continue;
    const int64_t average = sum / 4;
    up[x] = average < 8 ? 0 : static_cast<int32_t>(average - 7);
  }
}

VELTO_AVX2 inline __m256i Clamp(__m256i v, __m256i lo, __m256i hi) {
  return _mm256_min_epi32(_mm256_max_epi32(v, lo), hi);
}

VELTO_AVX2 void Pixels(uint32_t* out, const int32_t* heat, size_t n, bool add, int addRed, int addGreen,
                       int addBlue) {
  const __m256i zero = _mm256_setzero_si256(), full = _mm256_set1_epi32(255);
  const __m256i top = _mm256_set1_epi32(767), green0 = _mm256_set1_epi32(256), blue0 = _mm256_set1_epi32(512);
  // h × 128 ÷ 767 for every h of 0 … 767 is (h × 10937) >> 16.
  const __m256i third = _mm256_set1_epi32(10937);
  const __m256i addR = _mm256_set1_epi32(addRed), addG = _mm256_set1_epi32(addGreen),
                addB = _mm256_set1_epi32(addBlue);
  size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    const __m256i raw = Load(heat + i);
    const __m256i h = _mm256_min_epi32(raw, top);
    __m256i r = _mm256_min_epi32(h, full);
    __m256i g = Clamp(_mm256_sub_epi32(h, green0), zero, full);
    __m256i b = Clamp(_mm256_sub_epi32(h, blue0), zero, full);
    __m256i a;
    if (add) {
      r = Clamp(_mm256_add_epi32(r, addR), zero, full);
      g = Clamp(_mm256_add_epi32(g, addG), zero, full);
      b = Clamp(_mm256_add_epi32(b, addB), zero, full);
      a = full;
    } else {
      a = _mm256_mulhi_epu16(_mm256_max_epi32(h, zero), third);
    }
    __m256i p = _mm256_or_si256(_mm256_or_si256(_mm256_slli_epi32(a, 24), _mm256_slli_epi32(r, 16)),
                                _mm256_or_si256(_mm256_slli_epi32(g, 8), b));
    Store(out + i, _mm256_and_si256(p, _mm256_cmpgt_epi32(raw, zero)));
  }
  if (i < n) ScalarFire().pixels(out + i, heat + i, n - i, add, addRed, addGreen, addBlue);
}

}  // namespace

const FireKernels* Avx2Fire() {
  static const FireKernels set{"avx2", Carry, Pixels};
  return pix::CpuHasAvx2() ? &set : nullptr;
}

}  // namespace scene

#else

namespace scene {
const FireKernels* Avx2Fire() { return nullptr; }
}  // namespace scene

#endif
