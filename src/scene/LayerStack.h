// Several rectangle layers drawn onto one run of page pixels in one pass:
// each pixel is loaded once, goes through every layer's rule in order and is
// stored once, instead of once per layer. The result is exactly that of the
// image's own copy, blend and opaque blits applied one after the other.
#pragma once
#include <cstddef>
#include <cstdint>

namespace scene {

// One layer's part of a run: its pixels under the run, the rule and colour.
// A fill has no pixels: it sets the run to its colour (the page's clearing
// before its first layer); nor has an alpha step, which sets every pixel's
// alpha to the colour's (an image's FillAlpha).
struct StackSource {
  enum Op : uint8_t { kCopy, kBlend, kOpaque, kFill, kAlpha };
  const uint32_t* pPixels;
  uint32_t color;
  Op op;
};

// Layers a pass takes at most: more source streams than this at once leave
// the processor's prefetcher behind, so longer stacks go in several passes.
constexpr int kStackDepth = 4;

struct StackKernels {
  const char* name;
  void (*apply)(uint32_t* d, size_t n, const StackSource* sources, int count);
};

// Pixel by pixel with the plain rules: the reference.
const StackKernels& ScalarStack();
// Layer by layer with the image's row kernels.
const StackKernels& RowStack();
// All layers at once, eight pixels a step; null without AVX2.
const StackKernels* Avx2Stack();
// The fastest set this processor runs.
const StackKernels& Stack();

}  // namespace scene
