// Row kernels of the rules that have a vector path (fill, blend, opaque,
// tinted opaque, additive, cross-fade) and of the sampling of a quad span,
// filtered and unfiltered.
// Every set computes exactly what the rules in PixelRules.h compute; the
// vector sets only do it several values a step.
#pragma once
#include <cstddef>
#include <cstdint>

namespace pix {

struct RowKernels {
  const char* name;
  void (*fill)(uint32_t* d, size_t n, uint32_t color);
  // Blend with one colour for the whole row.
  void (*blend)(uint32_t* d, const uint32_t* s, size_t n, uint32_t m);
  // Blend with a colour per pixel (the shaded blend).
  void (*blendEach)(uint32_t* d, const uint32_t* s, const uint32_t* m, size_t n);
  void (*opaque)(uint32_t* d, const uint32_t* s, size_t n, uint32_t m);
  // The ÷255 tint of a colour that is neither black nor white.
  void (*tint)(uint32_t* d, const uint32_t* s, size_t n, uint32_t m);
  void (*fade)(uint32_t* d, const uint32_t* oldRow, const uint32_t* newRow, size_t n, uint32_t a);
  void (*add)(uint32_t* d, const uint32_t* s, size_t n, uint32_t m);
  // n samples of a sw × sh picture from 16.16 (u, v) stepping by (du, dv):
  // bilinear where the pixel right of and below the sample exists, the
  // nearest pixel in the last column and row. Positions must lie inside.
  void (*sampleBilinear)(uint32_t* out, const uint32_t* src, int sw, int sh, int64_t u, int64_t v, int64_t du,
                         int64_t dv, int n);
  // n samples as above, unfiltered: the pixel each position falls in.
  void (*sampleNearest)(uint32_t* out, const uint32_t* src, int sw, int sh, int64_t u, int64_t v, int64_t du,
                        int64_t dv, int n);
};

// Unfiltered samples that all fall on one source row (`row`): the vector
// sets' way for a span without rotation, where a load a pixel beats a
// gather and an unscaled span is a plain copy. Built without the wide
// instructions, so that the compiler cannot turn its loads back into a
// gather.
void SampleNearestAlongRow(uint32_t* out, const uint32_t* row, int64_t u, int64_t du, int n);

// The plain reference.
const RowKernels& ScalarRows();
// The vector sets; null when this build or this processor has none.
const RowKernels* Sse2Rows();
const RowKernels* Avx2Rows();
// The set every drawing operation uses: the widest vector set the processor
// reports, chosen once; the plain set where there is none.
const RowKernels& Rows();

}  // namespace pix
