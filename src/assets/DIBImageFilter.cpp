// Whole-image filters: the mosaic and the fog.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "app/core/Trace.h"
#include "assets/DIBImage.h"
#include "assets/PixelRules.h"
#include "platform/Random.h"

namespace {

// One channel, stored as one byte of every pixel word.
struct Channel {
  int shift;
  uint32_t Get(uint32_t p) const { return (p >> shift) & 0xFFu; }
  uint32_t Set(uint32_t p, uint32_t c) const { return (p & ~(0xFFu << shift)) | (c << shift); }
};

// One fog pass over a w × h picture in place, every pixel in raster order
// taking the mean of its 7 × 7 neighbourhood (column 0 and row 0 never
// count) with itself: (mean + value) ÷ 2. Pixels already changed feed later
// ones, so the running sums follow every change: C holds each column's sum
// over the window's rows, S the sum of the window's columns. True when some
// value changed.
bool FogPass(uint32_t* t, int w, int h, Channel ch, std::vector<int>& c) {
  bool changed = false;
  auto at = [&](int x, int y) -> uint32_t& { return t[static_cast<size_t>(y) * w + x]; };
  auto span = [](int i, int n) { return std::min(n - 1, i + 3) - std::max(1, i - 3) + 1; };
  for (int x = 0; x < w; ++x) {
    c[x] = 0;
    for (int y = 1; y <= std::min(h - 1, 3); ++y) c[x] += ch.Get(at(x, y));
  }
  for (int y = 0; y < h; ++y) {
    if (y > 0) {
      int in = y + 3, out = y - 4;
      for (int x = 0; x < w; ++x) {
        if (in <= h - 1) c[x] += ch.Get(at(x, in));
        if (out >= 1) c[x] -= ch.Get(at(x, out));
      }
    }
    int rows = span(y, h);
    int s = 0;
    for (int x = 1; x <= std::min(w - 1, 3); ++x) s += c[x];
    for (int x = 0; x < w; ++x) {
      int count = rows * span(x, w);
      uint32_t& p = at(x, y);
      int old = static_cast<int>(ch.Get(p));
      int now = (s / count + old) / 2;
      p = ch.Set(p, static_cast<uint32_t>(now));
      changed = changed || now != old;
      if (y >= 1 && x >= 1) {
        c[x] += now - old;
        s += now - old;
      }
      if (x - 3 >= 1) s -= c[x - 3];
      if (x + 4 <= w - 1) s += c[x + 4];
    }
  }
  return changed;
}

}  // namespace

void CDIBImage::Mozaiku(int size, bool noise, bool center) {
  Trace("CDIBImage::Mozaiku");
  if (size < 1 || !mpPixels) return;
  int cols = mWidth / size + (mWidth % size ? 1 : 0);
  int rows = mHeight / size + (mHeight % size ? 1 : 0);
  // Centred, the grid starts half the leftover before the image and every
  // cell is that much wider and taller, overlapping the next one.
  int ox = center ? (mWidth % size) / 2 : 0;
  int oy = center ? (mHeight % size) / 2 : 0;
  for (int j = 0; j < rows; ++j) {
    int y0 = std::max(0, j * size - oy), y1 = std::min(mHeight - 1, j * size - oy + size + oy - 1);
    for (int i = 0; i < cols; ++i) {
      int x0 = std::max(0, i * size - ox), x1 = std::min(mWidth - 1, i * size - ox + size + ox - 1);
      if (x0 > x1 || y0 > y1) continue;
      uint64_t b = 0, g = 0, r = 0;
      for (int y = y0; y <= y1; ++y) {
        const uint32_t* p = mpPixels + static_cast<size_t>(y) * mWidth;
        for (int x = x0; x <= x1; ++x) {
          b += p[x] & 0xFF;
          g += (p[x] >> 8) & 0xFF;
          r += (p[x] >> 16) & 0xFF;
        }
      }
      uint64_t n = static_cast<uint64_t>(x1 - x0 + 1) * (y1 - y0 + 1);
      int rr = static_cast<int>(r / n), gg = static_cast<int>(g / n), bb = static_cast<int>(b / n);
      if (noise) {
        rr = std::clamp(rr + plat::Rand() % 96 - 48, 0, 255);
        gg = std::clamp(gg + plat::Rand() % 96 - 48, 0, 255);
        bb = std::clamp(bb + plat::Rand() % 96 - 48, 0, 255);
      }
      uint32_t colour = static_cast<uint32_t>(bb | (gg << 8) | (rr << 16));
      for (int y = y0; y <= y1; ++y) {
        uint32_t* p = mpPixels + static_cast<size_t>(y) * mWidth;
        for (int x = x0; x <= x1; ++x) p[x] = (p[x] & 0xFF000000u) | colour;
      }
    }
  }
}

void CDIBImage::Befog(int passes) {
  Trace("CDIBImage::Befog");
  // A picture one pixel wide or high has no neighbour that counts (column 0
  // and row 0 never do): there is no mean to take, so it stays as it is.
  if (!mpPixels || passes <= 0 || mWidth < 2 || mHeight < 2) return;
  size_t n = static_cast<size_t>(mWidth) * mHeight;
  std::unique_ptr<uint32_t[]> scratch(new (std::nothrow) uint32_t[n]);
  if (!scratch) return;
  std::vector<int> columns;
  try {
    columns.resize(mWidth);
  } catch (const std::bad_alloc&) {
    return;
  }
  memcpy(scratch.get(), mpPixels, n * 4);
  // A pass that changes nothing leaves the picture where every later pass
  // leaves it too, so the rest are skipped: a huge count cannot hang.
  for (int pass = 0; pass < passes; ++pass) {
    bool changed = false;
    for (int shift : {0, 8, 16}) changed = FogPass(scratch.get(), mWidth, mHeight, Channel{shift}, columns) || changed;
    if (!changed) break;
  }
  memcpy(mpPixels, scratch.get(), n * 4);
}
