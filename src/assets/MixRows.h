// Row kernels of the whole-screen mixes of two pictures that the transitions
// need beyond the plain cross-fade: a cross-fade whose weight comes per
// pixel (a mask), a choice between the pictures by a mask's threshold, the
// ÷255 cross-fade, and a flash picture laid over that cross-fade. The rules are written plainly here; every vector set computes
// exactly what they compute.
#pragma once
#include <cstddef>
#include <cstdint>

namespace pix {

// Weight 0 keeps the old pixel as it is (all four bytes); any other weight
// w gives B, G, R = (new × w + old × (255 − w)) ÷256 and alpha 255.
inline uint32_t MaskFade(uint32_t o, uint32_t n, uint32_t w) {
  if (w == 0) return o;
  uint32_t out = 0xFF000000u;
  for (int sh = 0; sh < 24; sh += 8)
    out |= ((((n >> sh) & 0xFF) * w + ((o >> sh) & 0xFF) * (255 - w)) >> 8) << sh;
  return out;
}

// The old pixel where the weight is below the threshold, else the new one.
inline uint32_t MaskSelect(uint32_t o, uint32_t n, uint32_t w, uint32_t threshold) { return w < threshold ? o : n; }

// All four bytes: (old × (255 − a) + new × a) ÷255, a in 0 … 255.
inline uint32_t Fade255(uint32_t o, uint32_t n, uint32_t a) {
  uint32_t out = 0;
  for (int sh = 0; sh < 32; sh += 8) out |= ((((o >> sh) & 0xFF) * (255 - a) + ((n >> sh) & 0xFF) * a) / 255) << sh;
  return out;
}

// The cross-fade c = Fade255(o, n, a) with the flash pixel f over it by
// l = (f.A + flash) ÷ 2 (flash in 0 … 255): B, G, R = (c × (255 − l) + f × l)
// ÷255, alpha 255.
inline uint32_t Flash(uint32_t o, uint32_t n, uint32_t f, uint32_t a, uint32_t flash) {
  const uint32_t c = Fade255(o, n, a);
  const uint32_t l = ((f >> 24) + flash) >> 1;
  uint32_t out = 0xFF000000u;
  for (int sh = 0; sh < 24; sh += 8) out |= ((((c >> sh) & 0xFF) * (255 - l) + ((f >> sh) & 0xFF) * l) / 255) << sh;
  return out;
}

struct MixKernels {
  const char* name;
  // d[i] = MaskFade(o[i], n[i], w[i]).
  void (*maskFade)(uint32_t* d, const uint32_t* o, const uint32_t* n, const uint8_t* w, size_t count);
  // d[i] = MaskSelect(o[i], n[i], w[i], threshold).
  void (*maskSelect)(uint32_t* d, const uint32_t* o, const uint32_t* n, const uint8_t* w, size_t count,
                     uint32_t threshold);
  // d[i] = Fade255(o[i], n[i], a); a above 255 counts as 255.
  void (*fade255)(uint32_t* d, const uint32_t* o, const uint32_t* n, size_t count, uint32_t a);
  // d[i] = Flash(o[i], n[i], f[i], a, flash); both above 255 count as 255.
  void (*flash)(uint32_t* d, const uint32_t* o, const uint32_t* n, const uint32_t* f, size_t count, uint32_t a,
                uint32_t flash);
};

// The plain reference.
const MixKernels& ScalarMix();
// The vector sets; null when this build or this processor has none.
const MixKernels* Sse2Mix();
const MixKernels* Avx2Mix();
// The widest set the processor reports, chosen once (VELTO_PIXEL_PATH
// narrows the choice as it does for the image's own row kernels).
const MixKernels& Mix();

}  // namespace pix
