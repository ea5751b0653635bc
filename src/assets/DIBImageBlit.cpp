// Rectangle blits: whole rows, clipped to the destination.
#include <cassert>
#include <cstring>

#include "app/core/Trace.h"
#include "assets/DIBImage.h"
#include "assets/PixelRows.h"

namespace {

struct BlitArea {
  int dx, dy, sx, sy, w, h;
};

// Clips one axis: the destination run [d, d + n) to [lo, hi], moving the
// source start by the amount cut at the front.
bool ClipAxis(long long& d, long long& s, long long& n, long long lo, long long hi) {
  if (d < lo) {
    s += lo - d;
    n -= lo - d;
    d = lo;
  }
  if (d + n - 1 > hi) n = hi - d + 1;
  return n > 0;
}

// The destination clipped to its image. The source rectangle is the
// caller's to get right; should it still stick out, the run is cut to the
// source too rather than read outside the picture.
bool ClipBlit(const CDIBImage* src, const CDIBImage* dst, int dx, int dy, int sx, int sy, int w, int h,
              BlitArea& out) {
  if (!dst || !src->GetPixels() || !dst->GetPixels()) return false;
  long long x = dx, y = dy, u = sx, v = sy, cw = w, ch = h;
  const plat::RECT& clip = dst->GetClip();
  if (!ClipAxis(x, u, cw, clip.left, clip.right) || !ClipAxis(y, v, ch, clip.top, clip.bottom)) return false;
  assert(u >= 0 && v >= 0 && u + cw <= src->GetWidth() && v + ch <= src->GetHeight());
  if (!ClipAxis(u, x, cw, 0, src->GetWidth() - 1) || !ClipAxis(v, y, ch, 0, src->GetHeight() - 1)) return false;
  out = BlitArea{static_cast<int>(x), static_cast<int>(y), static_cast<int>(u), static_cast<int>(v),
                 static_cast<int>(cw), static_cast<int>(ch)};
  return true;
}

// Row pointers of the area, bottom row first when copying within one image
// downwards would otherwise read rows already overwritten.
template <typename RowFn>
void ForEachRow(const CDIBImage* src, CDIBImage* dst, const BlitArea& a, RowFn fn) {
  const uint32_t* s = src->GetPixels() + static_cast<size_t>(a.sy) * src->GetWidth() + a.sx;
  uint32_t* d = dst->GetPixels() + static_cast<size_t>(a.dy) * dst->GetWidth() + a.dx;
  if (src == dst && a.dy > a.sy) {
    for (int row = a.h - 1; row >= 0; --row)
      fn(d + static_cast<size_t>(row) * dst->GetWidth(), s + static_cast<size_t>(row) * src->GetWidth());
    return;
  }
  for (int row = 0; row < a.h; ++row, s += src->GetWidth(), d += dst->GetWidth()) fn(d, s);
}

}  // namespace

void CDIBImage::Copy(CDIBImage* pDst, int dx, int dy, int sx, int sy, int w, int h) {
  Trace("CDIBImage::Copy");
  BlitArea a;
  if (!ClipBlit(this, pDst, dx, dy, sx, sy, w, h, a)) return;
  size_t bytes = static_cast<size_t>(a.w) * 4;
  ForEachRow(this, pDst, a, [bytes](uint32_t* d, const uint32_t* s) { memmove(d, s, bytes); });
}

void CDIBImage::Copy(CDIBImage* pDst, const SprtVertex& vertex) {
  Trace("CDIBImage::Copy");
  Copy(pDst, vertex.dst[0].x, vertex.dst[0].y, vertex.src[0].u, vertex.src[0].v,
       vertex.src[1].u - vertex.src[0].u + 1, vertex.src[3].v - vertex.src[0].v + 1);
}

void CDIBImage::BltBlend(CDIBImage* pDst, int dx, int dy, int sx, int sy, int w, int h, uint32_t color) {
  Trace("CDIBImage::BltBlend");
  BlitArea a;
  if (!ClipBlit(this, pDst, dx, dy, sx, sy, w, h, a)) return;
  auto blend = pix::Rows().blend;
  size_t n = static_cast<size_t>(a.w);
  ForEachRow(this, pDst, a, [=](uint32_t* d, const uint32_t* s) { blend(d, s, n, color); });
}

void CDIBImage::BltBlend(CDIBImage* pDst, const SprtVertex& vertex) {
  Trace("CDIBImage::BltBlend");
  BltBlend(pDst, vertex.dst[0].x, vertex.dst[0].y, vertex.src[0].u, vertex.src[0].v,
           vertex.src[1].u - vertex.src[0].u + 1, vertex.src[3].v - vertex.src[0].v + 1, vertex.color);
}

void CDIBImage::BltFast(CDIBImage* pDst, int dx, int dy, int sx, int sy, int w, int h, uint32_t color) {
  Trace("CDIBImage::BltFast");
  BlitArea a;
  if (!ClipBlit(this, pDst, dx, dy, sx, sy, w, h, a)) return;
  auto opaque = pix::Rows().opaque;
  size_t n = static_cast<size_t>(a.w);
  ForEachRow(this, pDst, a, [=](uint32_t* d, const uint32_t* s) { opaque(d, s, n, color); });
}

void CDIBImage::BltFast(CDIBImage* pDst, const SprtVertex& vertex) {
  Trace("CDIBImage::BltFast");
  BltFast(pDst, vertex.dst[0].x, vertex.dst[0].y, vertex.src[0].u, vertex.src[0].v,
          vertex.src[1].u - vertex.src[0].u + 1, vertex.src[3].v - vertex.src[0].v + 1, vertex.color);
}
