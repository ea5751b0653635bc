// The layer stack with AVX2: eight page pixels kept in a register while
// every layer of the pass is applied to them.
#include "assets/CpuFeatures.h"
#include "assets/PixelRules.h"
#include "scene/LayerStack.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>

#define VELTO_AVX2 __attribute__((target("avx2")))

namespace scene {
namespace {

VELTO_AVX2 inline __m256i Load(const uint32_t* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }
VELTO_AVX2 inline __m256i Lo(__m256i v) { return _mm256_unpacklo_epi8(v, _mm256_setzero_si256()); }
VELTO_AVX2 inline __m256i Hi(__m256i v) { return _mm256_unpackhi_epi8(v, _mm256_setzero_si256()); }

// Lanes of pixels whose source alpha is 0: the blend leaves those alone.
VELTO_AVX2 inline __m256i Clear(__m256i s) {
  return _mm256_cmpeq_epi32(_mm256_srli_epi32(s, 24), _mm256_setzero_si256());
}

// (D × (255 − a) + sc × a) ÷256 for every channel, where sc is the source
// already scaled by the colour and a its alpha. Blue and red are worked in
// the low bytes of 16-bit lanes, green and alpha in the high bytes; every
// sum is at most 255 × 255 and fits.
VELTO_AVX2 inline __m256i Mix(__m256i d, __m256i sc) {
  const __m256i low = _mm256_set1_epi32(0x00FF00FF);
  const __m256i alpha = _mm256_setr_epi8(3, -1, 3, -1, 7, -1, 7, -1, 11, -1, 11, -1, 15, -1, 15, -1, 3, -1, 3, -1, 7,
                                         -1, 7, -1, 11, -1, 11, -1, 15, -1, 15, -1);
  __m256i a = _mm256_shuffle_epi8(sc, alpha);
  __m256i inv = _mm256_xor_si256(a, low);
  __m256i rb = _mm256_add_epi16(_mm256_mullo_epi16(_mm256_and_si256(d, low), inv),
                                _mm256_mullo_epi16(_mm256_and_si256(sc, low), a));
  __m256i ga = _mm256_add_epi16(_mm256_mullo_epi16(_mm256_and_si256(_mm256_srli_epi16(d, 8), low), inv),
                                _mm256_mullo_epi16(_mm256_and_si256(_mm256_srli_epi16(sc, 8), low), a));
  return _mm256_or_si256(_mm256_srli_epi16(rb, 8), _mm256_andnot_si256(low, ga));
}

// S × M ÷256 per channel. With M white that is S − 1 for every non-zero
// byte and 0 for 0: a saturating subtraction of one.
VELTO_AVX2 inline __m256i Scale(__m256i s, __m256i mLo, bool white) {
  if (white) return _mm256_subs_epu8(s, _mm256_set1_epi8(1));
  __m256i lo = _mm256_srli_epi16(_mm256_mullo_epi16(Lo(s), mLo), 8);
  __m256i hi = _mm256_srli_epi16(_mm256_mullo_epi16(Hi(s), mLo), 8);
  return _mm256_packus_epi16(lo, hi);
}

struct Prepared {
  const uint32_t* p;
  __m256i mLo;
  StackSource::Op op;
  bool white;
};

VELTO_AVX2 void Apply(uint32_t* d, size_t n, const StackSource* sources, int count) {
  Prepared prep[kStackDepth];
  int done = 0;
  // Passes of at most kStackDepth layers.
  while (done < count) {
    const int m = count - done < kStackDepth ? count - done : kStackDepth;
    for (int k = 0; k < m; ++k) {
      const StackSource& s = sources[done + k];
      const __m256i color = _mm256_set1_epi32(static_cast<int>(s.color));
      // A fill keeps its colour in place of the scale factors, an alpha step
      // its alpha.
      const __m256i kept = s.op == StackSource::kFill    ? color
                           : s.op == StackSource::kAlpha ? _mm256_set1_epi32(static_cast<int>(s.color & 0xFF000000u))
                                                         : Lo(color);
      prep[k] = Prepared{s.pPixels, kept, s.op, s.color == 0xFFFFFFFFu};
    }
    const __m256i opaqueAlpha = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
    size_t i = 0;
    for (; i + 8 <= n; i += 8) {
      // A pass that starts with a fill or a copy never needs the page's
      // pixels.
      __m256i dv = prep[0].op == StackSource::kFill || prep[0].op == StackSource::kCopy ? _mm256_setzero_si256()
                                                                                        : Load(d + i);
      for (int k = 0; k < m; ++k) {
        const Prepared& s = prep[k];
        if (s.op == StackSource::kFill) {
          dv = s.mLo;
          continue;
        }
        if (s.op == StackSource::kAlpha) {
          dv = _mm256_or_si256(_mm256_and_si256(dv, _mm256_set1_epi32(0x00FFFFFF)), s.mLo);
          continue;
        }
        __m256i sv = Load(s.p + i);
        switch (s.op) {
          case StackSource::kFill:
          case StackSource::kAlpha: break;
          case StackSource::kCopy: dv = sv; break;
          case StackSource::kOpaque: dv = _mm256_or_si256(Scale(sv, s.mLo, false), opaqueAlpha); break;
          case StackSource::kBlend: {
            __m256i clear = Clear(sv);
            if (_mm256_movemask_epi8(clear) == -1) break;
            dv = _mm256_blendv_epi8(Mix(dv, Scale(sv, s.mLo, s.white)), dv, clear);
            break;
          }
        }
      }
      _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + i), dv);
    }
    for (; i < n; ++i) {
      uint32_t p = d[i];
      for (int k = 0; k < m; ++k) {
        const StackSource& s = sources[done + k];
        switch (s.op) {
          case StackSource::kCopy: p = s.pPixels[i]; break;
          case StackSource::kBlend: p = pix::Blend(p, s.pPixels[i], s.color); break;
          case StackSource::kOpaque: p = pix::Opaque(s.pPixels[i], s.color); break;
          case StackSource::kFill: p = s.color; break;
        case StackSource::kAlpha: p = (p & 0x00FFFFFFu) | (s.color & 0xFF000000u); break;
        }
      }
      d[i] = p;
    }
    done += m;
  }
}

}  // namespace

const StackKernels* Avx2Stack() {
  static const StackKernels set{"avx2", Apply};
  return pix::CpuHasAvx2() ? &set : nullptr;
}

}  // namespace scene

#else

namespace scene {
const StackKernels* Avx2Stack() { return nullptr; }
}  // namespace scene

#endif
