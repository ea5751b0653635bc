// The drawing surface of the picture generator: premultiplied floating
// RGBA pixels, so that many soft shapes can be laid over each other without
// rounding at every step; turned into the engine's 8-bit 0xAARRGGBB pixels
// once at the end. Every operation is plain arithmetic in a fixed order, so
// the same description gives the same bytes on every run.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace gen {

struct Rgba {
  float r = 0, g = 0, b = 0, a = 0;  // premultiplied by a
};

// Straight (not premultiplied) colour from 0xAARRGGBB.
Rgba StraightFromArgb(uint32_t argb);
// Premultiplied colour from 0xAARRGGBB.
Rgba PremulFromArgb(uint32_t argb);

enum class BlendMode {
  kOver,      // the usual layering
  kAdd,       // light: colours add up
  kMultiply,  // shade: the colour multiplies what is under it, alpha kept
  kErase,     // cut: alpha is taken away by the coverage
  kReplace,   // exact: the pixel becomes the colour where covered (hit maps)
};

// Lays the premultiplied colour `c` over `d` with coverage k.
void BlendPixel(Rgba& d, const Rgba& c, float k, BlendMode mode);

class CCanvas {
 public:
  bool Create(int width, int height);
  int Width() const { return mWidth; }
  int Height() const { return mHeight; }
  Rgba* Row(int y) { return mPixels.data() + static_cast<size_t>(y) * mWidth; }
  const Rgba* Row(int y) const { return mPixels.data() + static_cast<size_t>(y) * mWidth; }
  // Lays a premultiplied colour over one pixel with `coverage` (0 … 1).
  void Blend(int x, int y, const Rgba& premul, float coverage, BlendMode mode) {
    if (x >= 0 && y >= 0 && x < mWidth && y < mHeight && coverage > 0)
      BlendPixel(mPixels[static_cast<size_t>(y) * mWidth + x], premul, coverage, mode);
  }
  void Fill(const Rgba& premul);
  // 8-bit straight 0xAARRGGBB pixels, rows top-down, rounded to nearest.
  std::vector<uint32_t> ToArgb() const;
  // Replaces the canvas with 8-bit straight pixels.
  void FromArgb(const uint32_t* pixels, int width, int height);

 private:
  int mWidth = 0, mHeight = 0;
  std::vector<Rgba> mPixels;
};

}  // namespace gen
