#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "assets/CpuFeatures.h"
#include "assets/MixRows.h"

namespace pix {
namespace {

void MaskFadeRow(uint32_t* d, const uint32_t* o, const uint32_t* n, const uint8_t* w, size_t count) {
  for (size_t i = 0; i < count; ++i) d[i] = MaskFade(o[i], n[i], w[i]);
}

void MaskSelectRow(uint32_t* d, const uint32_t* o, const uint32_t* n, const uint8_t* w, size_t count,
                   uint32_t threshold) {
  for (size_t i = 0; i < count; ++i) d[i] = MaskSelect(o[i], n[i], w[i], threshold);
}

void Fade255Row(uint32_t* d, const uint32_t* o, const uint32_t* n, size_t count, uint32_t a) {
  a = std::min(a, 255u);
  for (size_t i = 0; i < count; ++i) d[i] = Fade255(o[i], n[i], a);
}

void FlashRow(uint32_t* d, const uint32_t* o, const uint32_t* n, const uint32_t* f, size_t count, uint32_t a,
              uint32_t flash) {
  a = std::min(a, 255u);
  flash = std::min(flash, 255u);
  for (size_t i = 0; i < count; ++i) d[i] = Flash(o[i], n[i], f[i], a, flash);
}

const MixKernels kScalar{"scalar", MaskFadeRow, MaskSelectRow, Fade255Row, FlashRow};

const MixKernels& Choose() {
  const char* want = getenv("VELTO_PIXEL_PATH");
  bool scalarOnly = want && strcmp(want, "scalar") == 0;
  bool noAvx2 = scalarOnly || (want && strcmp(want, "sse2") == 0);
  if (!noAvx2 && CpuHasAvx2() && Avx2Mix()) return *Avx2Mix();
  if (!scalarOnly && CpuHasSse2() && Sse2Mix()) return *Sse2Mix();
  return kScalar;
}

}  // namespace

const MixKernels& ScalarMix() { return kScalar; }

const MixKernels& Mix() {
  static const MixKernels& chosen = Choose();
  return chosen;
}

}  // namespace pix
