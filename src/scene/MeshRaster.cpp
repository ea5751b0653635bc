#include "scene/MeshRaster.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "app/core/Trace.h"
#include "assets/PixelRows.h"

namespace {

constexpr int kBatch = 256;

void UpdateRow(ScanEdgeRow& row, int x, int u, int v) {
  if (x < row.minX) {
    row.minX = static_cast<int16_t>(x);
    row.minU = static_cast<int16_t>(u);
    row.minV = static_cast<int16_t>(v);
  }
  if (x > row.maxX) {
    row.maxX = static_cast<int16_t>(x);
    row.maxU = static_cast<int16_t>(u);
    row.maxV = static_cast<int16_t>(v);
  }
}

inline int64_t Step(int upper, int lower, int rows) { return (static_cast<int64_t>(lower) - upper) * 65536 / rows; }

// One edge from a to b into the rows top … bottom of `table` (indexed by
// target row), as the image's edge walk.
void WalkEdge(ScanEdgeRow* table, const SprtPoint& a, const SprtTexel& ta, const SprtPoint& b, const SprtTexel& tb,
              int top, int bottom) {
  if ((a.y < top && b.y < top) || (a.y > bottom && b.y > bottom)) return;
  if (a.y == b.y) {
    UpdateRow(table[a.y], a.x, ta.u, ta.v);
    UpdateRow(table[b.y], b.x, tb.u, tb.v);
    return;
  }
  const bool down = a.y < b.y;
  const SprtPoint& p0 = down ? a : b;
  const SprtPoint& p1 = down ? b : a;
  const SprtTexel& t0 = down ? ta : tb;
  const SprtTexel& t1 = down ? tb : ta;
  const int rows = p1.y - p0.y;
  const int64_t dx = Step(p0.x, p1.x, rows), du = Step(t0.u, t1.u, rows), dv = Step(t0.v, t1.v, rows);
  const int first = std::max<int>(p0.y, top), last = std::min<int>(p1.y, bottom);
  const int64_t skip = first - p0.y;
  int64_t x = p0.x * int64_t{65536} + dx * skip, u = t0.u * int64_t{65536} + du * skip,
          v = t0.v * int64_t{65536} + dv * skip;
  for (int y = first; y <= last; ++y, x += dx, u += du, v += dv)
    UpdateRow(table[y], static_cast<int>(x >> 16), static_cast<int>(u >> 16), static_cast<int>(v >> 16));
}

// The span of one edge-table row on a target `width` wide: its first and
// last x on the target and the source position and steps at the first.
struct Span {
  int x, end;
  int64_t u, v, du, dv;
};

bool SpanOf(const ScanEdgeRow& row, int width, Span* span) {
  if (row.maxX < row.minX || row.minX >= width || row.maxX < 0) return false;
  const int n = row.maxX - row.minX + 1;
  // Copy and blend step one source pixel further across a span.
  span->du = (static_cast<int64_t>(row.maxU) - row.minU + 1) * 65536 / n;
  span->dv = (static_cast<int64_t>(row.maxV) - row.minV + 1) * 65536 / n;
  span->u = row.minU * int64_t{65536};
  span->v = row.minV * int64_t{65536};
  span->x = row.minX;
  if (span->x < 0) {
    span->u += span->du * -span->x;
    span->v += span->dv * -span->x;
    span->x = 0;
  }
  span->end = std::min<int>(row.maxX, width - 1);
  return true;
}

// Blends `count` samples onto d, leaving out covered pixels and covering
// the rest.
void BlendUncovered(uint32_t* d, const uint32_t* samples, uint8_t* cover, int count, uint32_t color,
                    const pix::RowKernels& rows) {
  for (int k = 0; k < count;) {
    if (cover[k]) {
      ++k;
      continue;
    }
    // Covered pixels are marked 1: the run ends at the next one.
    const void* hit = memchr(cover + k, 1, static_cast<size_t>(count - k));
    const int end = hit ? static_cast<int>(static_cast<const uint8_t*>(hit) - cover) : count;
    rows.blend(d + k, samples + k, static_cast<size_t>(end - k), color);
    memset(cover + k, 1, static_cast<size_t>(end - k));
    k = end;
  }
}

// One row of a quad copied, as the image's copy rule.
void CopySpan(CDIBImage* target, const ScanEdgeRow& row, int y, const CDIBImage& source) {
  Span s;
  if (!SpanOf(row, target->GetWidth(), &s)) return;
  const uint32_t* src = source.GetPixels();
  const int sw = source.GetWidth();
  uint32_t* d = target->GetPixels() + static_cast<size_t>(y) * target->GetWidth();
  for (int x = s.x; x <= s.end; ++x, s.u += s.du, s.v += s.dv)
    d[x] = src[static_cast<size_t>(s.v >> 16) * sw + static_cast<size_t>(s.u >> 16)];
}

// One row of a quad blended, as the image's blend rule, where `cover` (the
// target row's coverage) is still clear.
void BlendSpan(CDIBImage* target, uint8_t* coverRow, const ScanEdgeRow& row, int y, const CDIBImage& source,
               uint32_t color) {
  Span s;
  const int tw = target->GetWidth();
  if (!SpanOf(row, tw, &s)) return;
  const pix::RowKernels& rows = pix::Rows();
  const uint32_t* src = source.GetPixels();
  const int sw = source.GetWidth();
  const int64_t lastU = sw - 1, lastV = source.GetHeight() - 1;
  uint32_t* d = target->GetPixels() + static_cast<size_t>(y) * tw;
  uint8_t* cover = coverRow;
  // An unscaled span inside the source needs no sampling.
  const int64_t lastAt = s.u + s.du * (s.end - s.x);
  if (s.du == 65536 && s.dv == 0 && (s.v >> 16) <= lastV && (lastAt >> 16) <= lastU) {
    const uint32_t* from = src + static_cast<size_t>(s.v >> 16) * sw + (s.u >> 16);
    BlendUncovered(d + s.x, from, cover + s.x, s.end - s.x + 1, color, rows);
    return;
  }
  // The position moves in a straight line: when both ends of the span lie
  // inside the source, every sample does.
  const int64_t lastV0 = s.v + s.dv * (s.end - s.x);
  const bool inside = (s.u >> 16) <= lastU && (lastAt >> 16) <= lastU && (s.v >> 16) <= lastV && (lastV0 >> 16) <= lastV;
  uint32_t samples[kBatch];
  for (int x = s.x; x <= s.end;) {
    const int count = std::min(s.end - x + 1, kBatch);
    if (inside) {
      for (int k = 0; k < count; ++k, s.u += s.du, s.v += s.dv)
        samples[k] = src[static_cast<size_t>(s.v >> 16) * sw + static_cast<size_t>(s.u >> 16)];
    } else {
      for (int k = 0; k < count; ++k, s.u += s.du, s.v += s.dv)
        samples[k] = src[static_cast<size_t>(std::clamp<int64_t>(s.v >> 16, 0, lastV)) * sw +
                         static_cast<size_t>(std::clamp<int64_t>(s.u >> 16, 0, lastU))];
    }
    BlendUncovered(d + x, samples, cover + x, count, color, rows);
    x += count;
  }
}

}  // namespace

void CMeshRaster::Begin(CDIBImage* target, bool once) {
  Trace("CMeshRaster::Begin");
  mpTarget = target && target->GetPixels() ? target : nullptr;
  mbOnce = once;
  if (mpTarget && once) mCover.assign(static_cast<size_t>(mpTarget->GetWidth()) * mpTarget->GetHeight(), 0);
}

bool CMeshRaster::ScanBand(const SprtVertex* quads, int count, int* top, int* bottom) {
  Trace("CMeshRaster::ScanBand");
  const int lastRow = std::min(mpTarget->GetHeight() - 1, CDIBImage::kEdgeRows - 1);
  mQuads.clear();
  size_t rows = 0;
  *top = lastRow + 1;
  *bottom = -1;
  for (int i = 0; i < count; ++i) {
    int first = quads[i].dst[0].y, last = quads[i].dst[0].y;
    for (const SprtPoint& p : quads[i].dst) {
      first = std::min<int>(first, p.y);
      last = std::max<int>(last, p.y);
    }
    first = std::max(first, 0);
    last = std::min(last, lastRow);
    // A quad off the target keeps its place in the order but has no rows.
    mQuads.push_back(QuadRows{first, last, rows, quads[i].color});
    if (first > last) continue;
    rows += static_cast<size_t>(last - first + 1);
    *top = std::min(*top, first);
    *bottom = std::max(*bottom, last);
  }
  if (*top > *bottom) return false;
  if (mEdges.size() < rows) mEdges.resize(rows);
  for (int i = 0; i < count; ++i) {
    const QuadRows& q = mQuads[static_cast<size_t>(i)];
    if (q.top > q.bottom) continue;
    // Indexed by target row: row y of this quad is mEdges[first + y − top].
    ScanEdgeRow* table = mEdges.data() + q.first - q.top;
    for (int y = q.top; y <= q.bottom; ++y) {
      table[y].minX = 32767;
      table[y].maxX = -32768;
    }
    for (int k = 0; k < 4; ++k) {
      const int j = (k + 1) & 3;
      WalkEdge(table, quads[i].dst[k], quads[i].src[k], quads[i].dst[j], quads[i].src[j], q.top, q.bottom);
    }
  }
  return true;
}

void CMeshRaster::Copy(const CDIBImage& source, const SprtVertex* quads, int count) {
  Trace("CMeshRaster::Copy");
  if (!mpTarget || !source.GetPixels() || !quads || count <= 0) return;
  // Source points inside the picture, as the image's rasteriser holds them.
  for (int start = 0; start < count; start += kChunk) {
    const int n = std::min(count - start, kChunk);
    mClamped.assign(quads + start, quads + start + n);
    for (SprtVertex& q : mClamped)
      for (SprtTexel& t : q.src) {
        t.u = static_cast<int16_t>(std::clamp<int>(t.u, 0, source.GetWidth() - 1));
        t.v = static_cast<int16_t>(std::clamp<int>(t.v, 0, source.GetHeight() - 1));
      }
    DrawChunk(source, false);
  }
}

void CMeshRaster::BlendOnce(const CDIBImage& source, const SprtVertex* quads, int count) {
  Trace("CMeshRaster::BlendOnce");
  if (!mpTarget || !source.GetPixels() || !quads || count <= 0) return;
  if (!IsOn(mpTarget)) Begin(mpTarget, true);
  for (int start = 0; start < count; start += kChunk) {
    const int n = std::min(count - start, kChunk);
    mClamped.assign(quads + start, quads + start + n);
    for (SprtVertex& q : mClamped)
      for (SprtTexel& t : q.src) {
        t.u = static_cast<int16_t>(std::clamp<int>(t.u, 0, source.GetWidth()));
        t.v = static_cast<int16_t>(std::clamp<int>(t.v, 0, source.GetHeight()));
      }
    DrawChunk(source, true);
  }
}

void CMeshRaster::DrawChunk(const CDIBImage& source, bool blend) {
  Trace("CMeshRaster::DrawChunk");
  int top, bottom;
  if (!ScanBand(mClamped.data(), static_cast<int>(mClamped.size()), &top, &bottom)) return;
  // Which quads start and end on each row: a row is then drawn by the quads
  // covering it, in their order, so that the result is that of drawing the
  // quads one after another (a later copy overwrites, the first blend
  // wins), visiting the target a row at a time.
  const size_t rows = static_cast<size_t>(bottom - top + 1);
  mStarts.assign(rows, 0);
  mEnds.assign(rows, 0);
  for (size_t i = 0; i < mQuads.size(); ++i) {
    const QuadRows& q = mQuads[i];
    if (q.top > q.bottom) continue;
    mStarts[static_cast<size_t>(q.top - top)] |= uint64_t{1} << i;
    mEnds[static_cast<size_t>(q.bottom - top)] |= uint64_t{1} << i;
  }
  uint64_t active = 0;
  const size_t tw = static_cast<size_t>(mpTarget->GetWidth());
  for (int y = top; y <= bottom; ++y) {
    const size_t at = static_cast<size_t>(y - top);
    active |= mStarts[at];
    for (uint64_t left = active; left; left &= left - 1) {
      const QuadRows& q = mQuads[static_cast<size_t>(std::countr_zero(left))];
      const ScanEdgeRow& row = mEdges[q.first + static_cast<size_t>(y - q.top)];
      if (blend)
        BlendSpan(mpTarget, mCover.data() + static_cast<size_t>(y) * tw, row, y, source, q.color);
      else
        CopySpan(mpTarget, row, y, source);
    }
    active &= ~mEnds[at];
  }
}
