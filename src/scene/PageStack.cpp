#include "scene/PageStack.h"

#include <algorithm>

#include "assets/DIBImage.h"

namespace scene {
namespace {

// A layer's rectangle clipped to the page's clip and to its picture, as the
// image's blits clip it: [x0, x1) × [y0, y1) on the page; the picture pixel
// under page pixel (x, y) is (x + du, y + dv).
struct Span {
  int x0, x1, y0, y1, du, dv;
  const uint32_t* pPixels;
  int pitch;
  StackSource::Op op;
  uint32_t color;
};

bool ClipAxis(long long& d, long long& s, long long& n, long long lo, long long hi) {
  if (d < lo) {
    s += lo - d;
    n -= lo - d;
    d = lo;
  }
  if (d + n - 1 > hi) n = hi - d + 1;
  return n > 0;
}

bool MakeSpan(const LayerBlit& b, const CDIBImage* page, Span* out) {
  if (b.op == LayerBlit::kNothing || !b.pSrc || !b.pSrc->GetPixels()) return false;
  long long x = b.x, y = b.y, u = b.sx, v = b.sy, w = b.w, h = b.h;
  const plat::RECT& clip = page->GetClip();
  if (!ClipAxis(x, u, w, clip.left, clip.right) || !ClipAxis(y, v, h, clip.top, clip.bottom)) return false;
  if (!ClipAxis(u, x, w, 0, b.pSrc->GetWidth() - 1) || !ClipAxis(v, y, h, 0, b.pSrc->GetHeight() - 1)) return false;
  out->x0 = static_cast<int>(x);
  out->x1 = static_cast<int>(x + w);
  out->y0 = static_cast<int>(y);
  out->y1 = static_cast<int>(y + h);
  out->du = static_cast<int>(u - x);
  out->dv = static_cast<int>(v - y);
  out->pPixels = b.pSrc->GetPixels();
  out->pitch = b.pSrc->GetWidth();
  out->op = b.op == LayerBlit::kCopy    ? StackSource::kCopy
            : b.op == LayerBlit::kBlend ? StackSource::kBlend
                                        : StackSource::kOpaque;
  out->color = b.color;
  return true;
}

}  // namespace

void DrawBlitBand(CDIBImage* page, const LayerBlit* blits, int count, int y0, int rows, bool clear,
                  const StackKernels& kernels) {
  if (!page || !page->GetPixels()) return;
  const plat::RECT& clip = page->GetClip();
  const int clipLeft = std::max<int>(clip.left, 0), clipRight = std::min<int>(clip.right + 1, page->GetWidth());
  const int clipTop = std::max<int>(clip.top, 0), clipBottom = std::min<int>(clip.bottom + 1, page->GetHeight());
  constexpr int kMax = 16;
  Span spans[kMax];
  int n = 0;
  for (int i = 0; i < count && i < kMax; ++i) {
    Span s;
    if (MakeSpan(blits[i], page, &s)) spans[n++] = s;
  }
  const int pageWidth = page->GetWidth();
  const int yEnd = y0 + rows;
  StackSource sources[kMax + 1];
  int cuts[2 * kMax + 2];
  for (int y = std::max(y0, clipTop); y < std::min(yEnd, clipBottom); ++y) {
    uint32_t* row = page->GetPixels() + static_cast<size_t>(y) * pageWidth;
    // The layers on this row, and the columns where one starts or ends.
    int active[kMax], a = 0, c = 0;
    if (clear && clipLeft < clipRight) {
      cuts[c++] = clipLeft;
      cuts[c++] = clipRight;
    }
    for (int k = 0; k < n; ++k) {
      if (y < spans[k].y0 || y >= spans[k].y1) continue;
      active[a++] = k;
      cuts[c++] = spans[k].x0;
      cuts[c++] = spans[k].x1;
    }
    if (c == 0) continue;
    std::sort(cuts, cuts + c);
    c = static_cast<int>(std::unique(cuts, cuts + c) - cuts);
    for (int j = 0; j + 1 < c; ++j) {
      const int left = cuts[j], right = cuts[j + 1];
      int m = 0;
      if (clear) sources[m++] = StackSource{nullptr, 0, StackSource::kFill};
      for (int q = 0; q < a; ++q) {
        const int k = active[q];
        if (spans[k].x0 > left || spans[k].x1 < right) continue;
        const Span& s = spans[k];
        const size_t v = static_cast<size_t>(y + s.dv), u = static_cast<size_t>(left + s.du);
        sources[m++] = StackSource{s.pPixels + v * static_cast<size_t>(s.pitch) + u, s.color, s.op};
      }
      if (m > 0) kernels.apply(row + left, static_cast<size_t>(right - left), sources, m);
    }
  }
}

}  // namespace scene
