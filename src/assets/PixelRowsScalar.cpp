#include <cstdlib>
#include <cstring>

#include "assets/CpuFeatures.h"
#include "assets/PixelRows.h"
#include "assets/PixelRules.h"

// The grey level is computed in double precision; a fused multiply-add would
// round differently on some processors, so none is allowed here (GCC in ISO
// mode never contracts; clang needs telling).
#if defined(__clang__)
#pragma STDC FP_CONTRACT OFF
#endif

namespace pix {

uint32_t GrayLevel(uint32_t s) {
  double g = 0.11 * Chan(s, 0);
  g += 0.3 * Chan(s, 16);
  g += 0.59 * Chan(s, 8);
  return static_cast<uint32_t>(g);
}

namespace {

void Fill(uint32_t* d, size_t n, uint32_t c) {
  for (size_t i = 0; i < n; ++i) d[i] = c;
}

void BlendRow(uint32_t* d, const uint32_t* s, size_t n, uint32_t m) {
  for (size_t i = 0; i < n; ++i) d[i] = Blend(d[i], s[i], m);
}

void BlendEachRow(uint32_t* d, const uint32_t* s, const uint32_t* m, size_t n) {
  for (size_t i = 0; i < n; ++i) d[i] = Blend(d[i], s[i], m[i]);
}

void OpaqueRow(uint32_t* d, const uint32_t* s, size_t n, uint32_t m) {
  for (size_t i = 0; i < n; ++i) d[i] = Opaque(s[i], m);
}

void TintRow(uint32_t* d, const uint32_t* s, size_t n, uint32_t m) {
  for (size_t i = 0; i < n; ++i) d[i] = Tint(s[i], m);
}

void FadeRow(uint32_t* d, const uint32_t* o, const uint32_t* nw, size_t n, uint32_t a) {
  if (a > 255) a = 255;
  for (size_t i = 0; i < n; ++i) d[i] = Fade(o[i], nw[i], a);
}

void AddRow(uint32_t* d, const uint32_t* s, size_t n, uint32_t m) {
  for (size_t i = 0; i < n; ++i) d[i] = Add(d[i], s[i], m);
}

void SampleBilinear(uint32_t* out, const uint32_t* src, int sw, int sh, int64_t u, int64_t v, int64_t du,
                    int64_t dv, int n) {
  for (int i = 0; i < n; ++i, u += du, v += dv) {
    int ix = static_cast<int>(u >> 16), iy = static_cast<int>(v >> 16);
    out[i] = (ix < sw - 1 && iy < sh - 1) ? Bilinear(src, sw, u, v) : src[static_cast<size_t>(iy) * sw + ix];
  }
}

void SampleNearest(uint32_t* out, const uint32_t* src, int sw, int, int64_t u, int64_t v, int64_t du, int64_t dv,
                   int n) {
  for (int i = 0; i < n; ++i, u += du, v += dv)
    out[i] = src[static_cast<size_t>(v >> 16) * sw + static_cast<size_t>(u >> 16)];
}

}  // namespace

void SampleNearestAlongRow(uint32_t* out, const uint32_t* row, int64_t u, int64_t du, int n) {
  if (du == 65536) {
    if (n > 0) memcpy(out, row + (u >> 16), static_cast<size_t>(n) * 4);
    return;
  }
  for (int i = 0; i < n; ++i, u += du) out[i] = row[u >> 16];
}

namespace {
const RowKernels kScalar{"scalar", Fill,   BlendRow,       BlendEachRow, OpaqueRow,
                         TintRow,  FadeRow, AddRow, SampleBilinear, SampleNearest};

const RowKernels& Choose() {
  // VELTO_PIXEL_PATH=scalar|sse2 narrows the choice (for comparing looks and
  // speeds on one machine); it never widens it past what the processor has.
  const char* want = getenv("VELTO_PIXEL_PATH");
  bool scalarOnly = want && strcmp(want, "scalar") == 0;
  bool noAvx2 = scalarOnly || (want && strcmp(want, "sse2") == 0);
  if (!noAvx2 && CpuHasAvx2() && Avx2Rows()) return *Avx2Rows();
  if (!scalarOnly && CpuHasSse2() && Sse2Rows()) return *Sse2Rows();
  return kScalar;
}

}  // namespace

const RowKernels& ScalarRows() { return kScalar; }

const RowKernels& Rows() {
  static const RowKernels& chosen = Choose();
  return chosen;
}

}  // namespace pix
