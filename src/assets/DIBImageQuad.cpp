// The quad rasteriser: every stretched operation walks the quad's edges into
// the edge table (per destination row, leftmost and rightmost x with the
// source position there), then fills each row's span, sampling the source
// at 16.16 fixed-point steps.
#include <algorithm>
#include <cassert>
#include <cstring>

#include "app/core/Trace.h"
#include "assets/DIBImage.h"
#include "assets/PixelRows.h"
#include "assets/PixelRules.h"

namespace {

// Pixels sampled per batch before a row kernel runs over them.
constexpr int kBatch = 256;

void ResetRows(ScanEdgeRow* table, int first, int last) {
  for (int y = first; y <= last; ++y) {
    table[y].minX = 32767;
    table[y].maxX = -32768;
  }
}

void Update(ScanEdgeRow& row, int x, int u, int v, int k) {
  if (x < row.minX) {
    row.minX = static_cast<int16_t>(x);
    row.minU = static_cast<int16_t>(u);
    row.minV = static_cast<int16_t>(v);
    row.minK = k;
  }
  if (x > row.maxX) {
    row.maxX = static_cast<int16_t>(x);
    row.maxU = static_cast<int16_t>(u);
    row.maxV = static_cast<int16_t>(v);
    row.maxK = k;
  }
}

// The per-row step of one interpolated value: (lower − upper) × 65536 ÷ rows,
// truncated toward zero. 64-bit: points may lie anywhere in 16 bits.
inline int64_t Step(int upper, int lower, int rows) { return (static_cast<int64_t>(lower) - upper) * 65536 / rows; }

bool IsUnscaledRect(const SprtVertex& v) {
  const SprtPoint* p = v.dst;
  const SprtTexel* t = v.src;
  return p[0].x == p[3].x && p[0].x < p[1].x && p[1].x == p[2].x && p[0].y == p[1].y && p[1].y < p[2].y &&
         p[2].y == p[3].y && t[0].u == t[3].u && t[1].u == t[2].u && t[0].v == t[1].v && t[2].v == t[3].v &&
         t[1].u - t[0].u == p[1].x - p[0].x && t[3].v - t[0].v == p[3].y - p[0].y;
}

// True when all four points lie left of, right of, above or below the target.
bool IsOutside(const SprtVertex& v, const CDIBImage* dst) {
  bool left = true, right = true, above = true, below = true;
  for (const SprtPoint& p : v.dst) {
    left = left && p.x < 0;
    right = right && p.x > dst->GetWidth();
    above = above && p.y < 0;
    below = below && p.y > dst->GetHeight();
  }
  return left || right || above || below;
}

// Brightness of a point for the shaded blend: z clamped to 0 … 255, k = 255 − z.
int Brightness(int z) { return 255 - (z <= 0 ? 0 : z > 254 ? 255 : z); }

}  // namespace

bool CDIBImage::ScanQuad(const CDIBImage* pDst, const SprtVertex& vertex, bool shade) {
  Trace("CDIBImage::ScanQuad");
  if (!pDst || !pDst->GetPixels() || !EnsureEdgeTable()) return false;
  const plat::RECT& clip = pDst->GetClip();
  int top = clip.top, bottom = std::min<int>(clip.bottom, kEdgeRows - 1);
  if (top > bottom) return false;
  ResetRows(mpEdgeTable.get(), top, bottom);
  int k[4] = {0, 0, 0, 0};
  if (shade)
    for (int i = 0; i < 4; ++i) k[i] = Brightness(vertex.dst[i].z);
  for (int i = 0; i < 4; ++i) {
    int j = (i + 1) & 3;
    TScanEdge(vertex.dst[i], vertex.src[i], k[i], vertex.dst[j], vertex.src[j], k[j], top, bottom);
  }
  return true;
}

void CDIBImage::TScanEdge(const SprtPoint& a, const SprtTexel& ta, int ka, const SprtPoint& b, const SprtTexel& tb,
                          int kb, int clipTop, int clipBottom) {
  Trace("CDIBImage::TScanEdge");
  if ((a.y < clipTop && b.y < clipTop) || (a.y > clipBottom && b.y > clipBottom)) return;
  ScanEdgeRow* table = mpEdgeTable.get();
  if (a.y == b.y) {
    Update(table[a.y], a.x, ta.u, ta.v, ka);
    Update(table[b.y], b.x, tb.u, tb.v, kb);
    return;
  }
  bool down = a.y < b.y;
  const SprtPoint& p0 = down ? a : b;
  const SprtPoint& p1 = down ? b : a;
  const SprtTexel& t0 = down ? ta : tb;
  const SprtTexel& t1 = down ? tb : ta;
  int k0 = down ? ka : kb, k1 = down ? kb : ka;
  int rows = p1.y - p0.y;
  int64_t dx = Step(p0.x, p1.x, rows), du = Step(t0.u, t1.u, rows), dv = Step(t0.v, t1.v, rows),
          dk = Step(k0, k1, rows);
  // Rows above the clip are stepped over in one go; the sum is the same.
  int first = std::max<int>(p0.y, clipTop), last = std::min<int>(p1.y, clipBottom);
  int64_t skip = first - p0.y;
  int64_t x = p0.x * int64_t{65536} + dx * skip, u = t0.u * int64_t{65536} + du * skip,
          v = t0.v * int64_t{65536} + dv * skip, k = k0 * int64_t{65536} + dk * skip;
  for (int y = first; y <= last; ++y, x += dx, u += du, v += dv, k += dk)
    Update(table[y], static_cast<int>(x >> 16), static_cast<int>(u >> 16), static_cast<int>(v >> 16),
           static_cast<int>(k >> 16));
}

void CDIBImage::TScanEdgeForFill(const SprtPoint& a, const SprtPoint& b, int clipTop, int clipBottom) {
  Trace("CDIBImage::TScanEdgeForFill");
  if ((a.y < clipTop && b.y < clipTop) || (a.y > clipBottom && b.y > clipBottom)) return;
  ScanEdgeRow* table = mpEdgeTable.get();
  if (a.y == b.y) {
    Update(table[a.y], a.x, 0, 0, 0);
    Update(table[b.y], b.x, 0, 0, 0);
    return;
  }
  const SprtPoint& p0 = a.y < b.y ? a : b;
  const SprtPoint& p1 = a.y < b.y ? b : a;
  int64_t dx = Step(p0.x, p1.x, p1.y - p0.y);
  int first = std::max<int>(p0.y, clipTop), last = std::min<int>(p1.y, clipBottom);
  int64_t x = p0.x * int64_t{65536} + dx * (first - p0.y);
  for (int y = first; y <= last; ++y, x += dx) Update(table[y], static_cast<int>(x >> 16), 0, 0, 0);
}

void CDIBImage::DrawQuad(CDIBImage* pDst, const SprtVertex& vertex, QuadRule rule, bool filter) {
  Trace("CDIBImage::DrawQuad");
  if (!mpPixels) return;
  // Source points are the caller's to keep inside this image; clamp any
  // that are not rather than sample outside the picture.
  SprtVertex v = vertex;
  for (SprtTexel& t : v.src) {
    assert(t.u >= 0 && t.v >= 0 && t.u < mWidth && t.v < mHeight);
    t.u = static_cast<int16_t>(std::clamp<int>(t.u, 0, std::min(mWidth - 1, 32767)));
    t.v = static_cast<int16_t>(std::clamp<int>(t.v, 0, std::min(mHeight - 1, 32767)));
  }
  bool shade = false;
  if (rule == QuadRule::Shadow) {
    for (const SprtPoint& p : v.dst) shade = shade || p.z != 0;
    if (!shade) rule = QuadRule::Blend;
  }
  if (!ScanQuad(pDst, v, shade)) return;

  const pix::RowKernels& rows = pix::Rows();
  const uint32_t m = v.color;
  const uint32_t rgb = m & 0x00FFFFFFu;
  const int sw = mWidth, sh = mHeight;
  const uint32_t* src = mpPixels;
  // The blending rules step one source pixel further across a span than the
  // others do (u_max − u_min + 1 against u_max − u_min).
  const int widen = (rule == QuadRule::Copy || rule == QuadRule::Blend || rule == QuadRule::Shadow) ? 1 : 0;
  const plat::RECT& clip = pDst->GetClip();
  const int bottom = std::min<int>(clip.bottom, kEdgeRows - 1);
  const int dw = pDst->GetWidth();
  uint32_t samples[kBatch];
  uint32_t colors[kBatch];

  for (int y = clip.top; y <= bottom; ++y) {
    const ScanEdgeRow& row = mpEdgeTable[y];
    if (!(row.minX < dw || row.maxX >= 0) || row.maxX < row.minX) continue;
    int n = row.maxX - row.minX + 1;
    int64_t du = (static_cast<int64_t>(row.maxU) - row.minU + widen) * 65536 / n;
    int64_t dv = (static_cast<int64_t>(row.maxV) - row.minV + widen) * 65536 / n;
    int64_t dk = (static_cast<int64_t>(row.maxK) - row.minK) * 65536 / n;
    int64_t u = row.minU * int64_t{65536}, vv = row.minV * int64_t{65536}, k = row.minK * int64_t{65536};
    int x = row.minX;
    if (x < clip.left) {
      int64_t dist = clip.left - x;
      u += du * dist;
      vv += dv * dist;
      k += dk * dist;
      x = clip.left;
    }
    int end = std::min<int>(row.maxX, clip.right);
    uint32_t* d = pDst->GetPixels() + static_cast<size_t>(y) * dw;
    while (x <= end) {
      int count = std::min(end - x + 1, kBatch);
      if (rule == QuadRule::Fast && rgb == 0) {
        rows.fill(d + x, count, 0xFF000000u);
        u += du * count;
        vv += dv * count;
        x += count;
        continue;
      }
      (filter ? rows.sampleBilinear : rows.sampleNearest)(samples, src, sw, sh, u, vv, du, dv, count);
      u += du * count;
      vv += dv * count;
      uint32_t* out = d + x;
      switch (rule) {
        case QuadRule::Copy:
          memcpy(out, samples, static_cast<size_t>(count) * 4);
          break;
        case QuadRule::Blend:
          rows.blend(out, samples, count, m);
          break;
        case QuadRule::Shadow:
          for (int i = 0; i < count; ++i, k += dk) colors[i] = pix::Shade(m, static_cast<uint32_t>(k >> 16));
          rows.blendEach(out, samples, colors, count);
          break;
        case QuadRule::Fast:
          if (rgb == 0x00FFFFFFu)
            for (int i = 0; i < count; ++i) out[i] = samples[i] | 0xFF000000u;
          else
            rows.tint(out, samples, count, m);
          break;
        case QuadRule::Add:
          rows.add(out, samples, count, m);
          break;
        case QuadRule::Xor:
          for (int i = 0; i < count; ++i) out[i] = pix::Xor(out[i], samples[i], m);
          break;
        case QuadRule::One:
          for (int i = 0; i < count; ++i) out[i] = pix::One(out[i], samples[i], m);
          break;
        case QuadRule::Gray:
          for (int i = 0; i < count; ++i) out[i] = pix::Gray(out[i], samples[i], m);
          break;
      }
      x += count;
    }
  }
}

void CDIBImage::StretchFillBox(const SprtVertex& vertex) {
  Trace("CDIBImage::StretchFillBox");
  const SprtPoint* p = vertex.dst;
  if (p[0].x == p[3].x && p[0].x < p[1].x && p[1].x == p[2].x && p[0].y == p[1].y && p[1].y < p[2].y &&
      p[2].y == p[3].y) {
    FillBox(vertex.color, p[0].x, p[0].y, p[1].x - p[0].x + 1, p[3].y - p[0].y + 1);
    return;
  }
  if (!mpPixels || !EnsureEdgeTable()) return;
  int top = mClip.top, bottom = std::min<int>(mClip.bottom, kEdgeRows - 1);
  ResetRows(mpEdgeTable.get(), top, bottom);
  for (int i = 0; i < 4; ++i) TScanEdgeForFill(p[i], p[(i + 1) & 3], top, bottom);
  const pix::RowKernels& rows = pix::Rows();
  for (int y = top; y <= bottom; ++y) {
    const ScanEdgeRow& row = mpEdgeTable[y];
    int x0 = std::max<int>(row.minX, mClip.left), x1 = std::min<int>(row.maxX, mClip.right);
    if (x0 <= x1) rows.fill(mpPixels + static_cast<size_t>(y) * mWidth + x0, x1 - x0 + 1, vertex.color);
  }
}

void CDIBImage::StretchBltCopy(CDIBImage* pDst, const SprtVertex& vertex, bool filter) {
  Trace("CDIBImage::StretchBltCopy");
  if (IsUnscaledRect(vertex)) return Copy(pDst, vertex.dst[0].x, vertex.dst[0].y, vertex.src[0].u, vertex.src[0].v,
                                          vertex.dst[1].x - vertex.dst[0].x + 1, vertex.dst[3].y - vertex.dst[0].y + 1);
  DrawQuad(pDst, vertex, QuadRule::Copy, filter);
}

void CDIBImage::StretchBltBlend(CDIBImage* pDst, const SprtVertex& vertex, bool filter) {
  Trace("CDIBImage::StretchBltBlend");
  if (IsUnscaledRect(vertex))
    return BltBlend(pDst, vertex.dst[0].x, vertex.dst[0].y, vertex.src[0].u, vertex.src[0].v,
                    vertex.dst[1].x - vertex.dst[0].x + 1, vertex.dst[3].y - vertex.dst[0].y + 1, vertex.color);
  DrawQuad(pDst, vertex, QuadRule::Blend, filter);
}

void CDIBImage::StretchBltBlendShadow(CDIBImage* pDst, const SprtVertex& vertex, bool filter) {
  Trace("CDIBImage::StretchBltBlendShadow");
  if (IsUnscaledRect(vertex)) {
    // Shaded once by the first point, even when it carries no shade.
    uint32_t color = pix::Shade(vertex.color, Brightness(vertex.dst[0].z));
    return BltBlend(pDst, vertex.dst[0].x, vertex.dst[0].y, vertex.src[0].u, vertex.src[0].v,
                    vertex.dst[1].x - vertex.dst[0].x + 1, vertex.dst[3].y - vertex.dst[0].y + 1, color);
  }
  DrawQuad(pDst, vertex, QuadRule::Shadow, filter);
}

void CDIBImage::StretchBltFast(CDIBImage* pDst, const SprtVertex& vertex, bool filter) {
  Trace("CDIBImage::StretchBltFast");
  if (!pDst || IsOutside(vertex, pDst)) return;
  if (IsUnscaledRect(vertex))
    return BltFast(pDst, vertex.dst[0].x, vertex.dst[0].y, vertex.src[0].u, vertex.src[0].v,
                   vertex.dst[1].x - vertex.dst[0].x + 1, vertex.dst[3].y - vertex.dst[0].y + 1, vertex.color);
  DrawQuad(pDst, vertex, QuadRule::Fast, filter);
}

void CDIBImage::StretchBltAddBlend(CDIBImage* pDst, const SprtVertex& vertex) {
  Trace("CDIBImage::StretchBltAddBlend");
  if (!pDst || IsOutside(vertex, pDst) || vertex.color == 0) return;
  DrawQuad(pDst, vertex, QuadRule::Add, false);
}

void CDIBImage::AddPixel(uint32_t* pDst, uint32_t src, uint32_t color) {
  Trace("CDIBImage::AddPixel");
  if (pDst) *pDst = pix::Add(*pDst, src, color);
}

void CDIBImage::StretchBltXorBlend(CDIBImage* pDst, const SprtVertex& vertex) {
  Trace("CDIBImage::StretchBltXorBlend");
  if (!pDst || IsOutside(vertex, pDst)) return;
  DrawQuad(pDst, vertex, QuadRule::Xor, false);
}

void CDIBImage::StretchBltOneBlend(CDIBImage* pDst, const SprtVertex& vertex) {
  Trace("CDIBImage::StretchBltOneBlend");
  if (!pDst || IsOutside(vertex, pDst)) return;
  DrawQuad(pDst, vertex, QuadRule::One, false);
}

void CDIBImage::StretchBltGrayBlend(CDIBImage* pDst, const SprtVertex& vertex) {
  Trace("CDIBImage::StretchBltGrayBlend");
  if (!pDst || IsOutside(vertex, pDst) || vertex.color == 0) return;
  DrawQuad(pDst, vertex, QuadRule::Gray, false);
}
