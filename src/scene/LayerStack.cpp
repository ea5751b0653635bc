#include "scene/LayerStack.h"

#include <cstring>

#include "assets/CpuFeatures.h"
#include "assets/PixelRows.h"
#include "assets/PixelRules.h"

namespace scene {
namespace {

void ApplyScalar(uint32_t* d, size_t n, const StackSource* sources, int count) {
  for (size_t i = 0; i < n; ++i) {
    uint32_t p = d[i];
    for (int k = 0; k < count; ++k) {
      const StackSource& s = sources[k];
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
}

void ApplyRows(uint32_t* d, size_t n, const StackSource* sources, int count) {
  const pix::RowKernels& rows = pix::Rows();
  for (int k = 0; k < count; ++k) {
    const StackSource& s = sources[k];
    switch (s.op) {
      case StackSource::kCopy: memcpy(d, s.pPixels, n * 4); break;
      case StackSource::kBlend: rows.blend(d, s.pPixels, n, s.color); break;
      case StackSource::kOpaque: rows.opaque(d, s.pPixels, n, s.color); break;
      case StackSource::kFill: rows.fill(d, n, s.color); break;
      case StackSource::kAlpha:
        for (size_t i = 0; i < n; ++i) d[i] = (d[i] & 0x00FFFFFFu) | (s.color & 0xFF000000u);
        break;
    }
  }
}

}  // namespace

const StackKernels& ScalarStack() {
  static const StackKernels set{"scalar", ApplyScalar};
  return set;
}

const StackKernels& RowStack() {
  static const StackKernels set{"rows", ApplyRows};
  return set;
}

const StackKernels& Stack() {
  static const StackKernels& set = Avx2Stack() ? *Avx2Stack() : RowStack();
  return set;
}

}  // namespace scene
