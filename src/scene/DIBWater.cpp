#include "scene/DIBWater.h"

#include <algorithm>
#include <cstring>

#include "app/core/Trace.h"
#include "assets/PixelRows.h"

namespace {

// The edge walk of the quad rasteriser, for the rows one quad covers only:
// a mesh of small quads would otherwise reset and scan every row of the
// target once per quad.
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

}  // namespace

CDIBWater::~CDIBWater() { Trace("CDIBWater::~CDIBWater"); }

bool CDIBWater::Initialize(int width, int height) {
  Trace("CDIBWater::Initialize");
  Release();
  if (width <= 0 || height <= 0 || !Create(width, height) || !GetPixels()) return false;
  // The longer side has the full number of points, the shorter side as many
  // as its share of the longer; never fewer than two, so every side has a
  // quad.
  if (width >= height) {
    mColumns = kGridPoints;
    mRows = static_cast<int>(int64_t{kGridPoints} * height / width);
  } else {
    mRows = kGridPoints;
    mColumns = static_cast<int>(int64_t{kGridPoints} * width / height);
  }
  mColumns = std::max(mColumns, 2);
  mRows = std::max(mRows, 2);
  mBufferWidth = mColumns * 2;
  mBufferHeight = mRows * 2;
  for (std::vector<int32_t>& heights : mHeights) heights.assign(static_cast<size_t>(mBufferWidth) * mBufferHeight, 0);
  mCurrent = 0;
  mPoints.assign(static_cast<size_t>(mColumns) * mRows, SprtPoint{});
  SetDrawParam(0, 0, width, height, 0xFFFFFFFFu);
  return true;
}

void CDIBWater::Release() {
  Trace("CDIBWater::Release");
  for (std::vector<int32_t>& heights : mHeights) heights.clear();
  mPoints.clear();
  mCover.clear();
  mEdges.clear();
  mCoverWidth = mCoverHeight = 0;
  mColumns = mRows = mBufferWidth = mBufferHeight = 0;
  mbRun = false;
  mCarry = 0;
  CDIBImage::Release();
}

void CDIBWater::SetMove(bool run, bool clear) {
  Trace("CDIBWater::SetMove");
  mbRun = run;
  if (!run) mCarry = 0;
  if (clear)
    for (std::vector<int32_t>& heights : mHeights) std::fill(heights.begin(), heights.end(), 0);
}

void CDIBWater::SetDrawParam(int x, int y, int width, int height, uint32_t color) {
  Trace("CDIBWater::SetDrawParam");
  mDrawX = x;
  mDrawY = y;
  mDrawWidth = width;
  mDrawHeight = height;
  mDrawColor = color;
}

int CDIBWater::Cell(int row, int column) const {
  Trace("CDIBWater::Cell");
  const int by = row + mRows / 2, bx = column + mColumns / 2;
  if (by < 0 || by >= mBufferHeight || bx < 0 || bx >= mBufferWidth) return -1;
  return by * mBufferWidth + bx;
}

int32_t CDIBWater::GetHeightAt(int row, int column) const {
  Trace("CDIBWater::GetHeightAt");
  const int cell = Cell(row, column);
  return cell < 0 ? 0 : mHeights[mCurrent][static_cast<size_t>(cell)];
}

void CDIBWater::SetHeightAt(int row, int column, int32_t height) {
  Trace("CDIBWater::SetHeightAt");
  const int cell = Cell(row, column);
  if (cell >= 0) mHeights[mCurrent][static_cast<size_t>(cell)] = std::clamp(height, 0, kMaxHeight);
}

void CDIBWater::Drop(int x, int y, int width, int height, int32_t strength) {
  Trace("CDIBWater::Drop");
  if (mHeights[mCurrent].empty() || width <= 0 || height <= 0) return;
  // The grid point under a picture point, rounded down (also left of and
  // above the picture).
  auto toGrid = [](int64_t at, int points, int size) {
    const int64_t scaled = at * (points - 1);
    return static_cast<int>(scaled >= 0 ? scaled / size : -((-scaled + size - 1) / size));
  };
  const int column0 = toGrid(int64_t{x} - width / 2, mColumns, GetWidth());
  const int row0 = toGrid(int64_t{y} - height / 2, mRows, GetHeight());
  // The block is never larger than the buffers.
  const int rows = std::min(height, mBufferHeight), columns = std::min(width, mBufferWidth);
  std::vector<int32_t>& heights = mHeights[mCurrent];
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < columns; ++c) {
      const int cell = Cell(row0 + r, column0 + c);
      if (cell < 0) continue;
      const int64_t raised = int64_t{heights[static_cast<size_t>(cell)]} + strength;
      heights[static_cast<size_t>(cell)] = static_cast<int32_t>(std::clamp<int64_t>(raised, 0, kMaxHeight));
    }
}

void CDIBWater::Tick() {
  Trace("CDIBWater::Tick");
  if (mHeights[0].empty()) return;
  const int w = mBufferWidth, h = mBufferHeight;
  const int32_t* cur = mHeights[mCurrent].data();
  int32_t* next = mHeights[1 - mCurrent].data();
  for (int y = 1; y <= h - 2; ++y) {
    const int32_t* above = cur + (y - 1) * w;
    const int32_t* row = cur + y * w;
    const int32_t* below = cur + (y + 1) * w;
    int32_t* out = next + y * w;
    for (int x = 1; x <= w - 2; ++x) {
      const int64_t around = int64_t{above[x - 1]} + above[x] + above[x + 1] + row[x - 1] + row[x + 1] + below[x - 1] +
                             below[x] + below[x + 1];
      int64_t v = around / 4 - out[x];
      v -= v / kDamping;
      out[x] = static_cast<int32_t>(std::clamp<int64_t>(v, 0, kMaxHeight));
    }
  }
  // The rim of the buffers stays calm.
  std::fill(next, next + w, 0);
  std::fill(next + (h - 1) * w, next + h * w, 0);
  for (int y = 0; y < h; ++y) next[y * w] = next[y * w + w - 1] = 0;
  mCurrent = 1 - mCurrent;
}

void CDIBWater::Move(int32_t ms) {
  Trace("CDIBWater::Move");
  if (!mbRun) {
    mCarry = 0;
    return;
  }
  const int64_t total = int64_t{mCarry} + std::max(ms, 0);
  const int64_t ticks = total / kTickMs;
  mCarry = static_cast<int32_t>(total % kTickMs);
  // Long before this many ticks every ripple has died down.
  for (int64_t i = 0; i < std::min<int64_t>(ticks, kMaxTicksPerMove); ++i) Tick();
}

void CDIBWater::UpdatePoints() {
  Trace("CDIBWater::UpdatePoints");
  // A point moves by the slope of the surface at it, at most this far.
  const int cap = GetWidth() > GetHeight() ? mDrawHeight / mRows : mDrawWidth / mColumns;
  auto lift = [&](int row, int column) { return std::min(GetHeightAt(row, column), cap); };
  auto clamp16 = [](int64_t v) { return static_cast<int16_t>(std::clamp<int64_t>(v, -32000, 32000)); };
  for (int i = 0; i < mRows; ++i)
    for (int j = 0; j < mColumns; ++j) {
      const int32_t here = lift(i, j);
      int64_t x = mDrawX, y = mDrawY;
      if (j > 0) x += int64_t{j} * mDrawWidth / (mColumns - 1) + lift(i, j + 1) - here;
      if (i > 0) y += int64_t{i} * mDrawHeight / (mRows - 1) + lift(i + 1, j) - here;
      mPoints[static_cast<size_t>(i) * mColumns + j] = SprtPoint{clamp16(x), clamp16(y), 0};
    }
}

void CDIBWater::Draw(CDIBImage* target) {
  Trace("CDIBWater::Draw");
  if (!mbRun || !target || !target->GetPixels() || !GetPixels() || mPoints.empty()) return;
  UpdatePoints();
  const size_t area = static_cast<size_t>(target->GetWidth()) * target->GetHeight();
  mCoverWidth = target->GetWidth();
  mCoverHeight = target->GetHeight();
  mCover.assign(area, 0);
  // The source grid runs to one past the last pixel, as the mesh does on
  // the target, so a calm surface shows the picture pixel for pixel.
  std::vector<int16_t> u(static_cast<size_t>(mColumns)), v(static_cast<size_t>(mRows));
  for (int j = 0; j < mColumns; ++j) u[j] = static_cast<int16_t>(int64_t{j} * GetWidth() / (mColumns - 1));
  for (int i = 0; i < mRows; ++i) v[i] = static_cast<int16_t>(int64_t{i} * GetHeight() / (mRows - 1));
  SprtVertex quad;
  quad.color = mDrawColor;
  for (int i = 0; i + 1 < mRows; ++i)
    for (int j = 0; j + 1 < mColumns; ++j) {
      const SprtPoint* row = &mPoints[static_cast<size_t>(i) * mColumns];
      const SprtPoint* next = row + mColumns;
      quad.dst[0] = row[j];
      quad.dst[1] = row[j + 1];
      quad.dst[2] = next[j + 1];
      quad.dst[3] = next[j];
      quad.src[0] = SprtTexel{u[j], v[i]};
      quad.src[1] = SprtTexel{u[j + 1], v[i]};
      quad.src[2] = SprtTexel{u[j + 1], v[i + 1]};
      quad.src[3] = SprtTexel{u[j], v[i + 1]};
      BltWater(target, quad);
    }
}

void CDIBWater::BltWater(CDIBImage* target, const SprtVertex& vertex) {
  Trace("CDIBWater::BltWater");
  if (!target || !target->GetPixels() || !GetPixels()) return;
  const int tw = target->GetWidth(), th = target->GetHeight();
  if (mCoverWidth != tw || mCoverHeight != th) {
    mCoverWidth = tw;
    mCoverHeight = th;
    mCover.assign(static_cast<size_t>(tw) * th, 0);
  }
  // Source points may reach one past the picture (the mesh's far edge);
  // every sample is held inside it.
  SprtVertex q = vertex;
  for (SprtTexel& t : q.src) {
    t.u = static_cast<int16_t>(std::clamp<int>(t.u, 0, GetWidth()));
    t.v = static_cast<int16_t>(std::clamp<int>(t.v, 0, GetHeight()));
  }
  int top = q.dst[0].y, bottom = q.dst[0].y;
  for (const SprtPoint& p : q.dst) {
    top = std::min<int>(top, p.y);
    bottom = std::max<int>(bottom, p.y);
  }
  top = std::max(top, 0);
  bottom = std::min({bottom, th - 1, kEdgeRows - 1});
  if (top > bottom) return;
  if (mEdges.size() < static_cast<size_t>(kEdgeRows)) mEdges.resize(kEdgeRows);
  ScanEdgeRow* table = mEdges.data();
  for (int y = top; y <= bottom; ++y) {
    table[y].minX = 32767;
    table[y].maxX = -32768;
  }
  for (int i = 0; i < 4; ++i) {
    const int j = (i + 1) & 3;
    WalkEdge(table, q.dst[i], q.src[i], q.dst[j], q.src[j], top, bottom);
  }

  const pix::RowKernels& rows = pix::Rows();
  const uint32_t* src = GetPixels();
  const int sw = GetWidth();
  const int64_t lastU = GetWidth() - 1, lastV = GetHeight() - 1;
  uint32_t samples[256];
  for (int y = top; y <= bottom; ++y) {
    const ScanEdgeRow& row = table[y];
    if (row.maxX < row.minX || row.minX >= tw || row.maxX < 0) continue;
    const int n = row.maxX - row.minX + 1;
    // The blend's span steps one source pixel further, as StretchBltBlend.
    const int64_t du = (static_cast<int64_t>(row.maxU) - row.minU + 1) * 65536 / n;
    const int64_t dv = (static_cast<int64_t>(row.maxV) - row.minV + 1) * 65536 / n;
    int64_t u = row.minU * int64_t{65536}, v = row.minV * int64_t{65536};
    int x = row.minX;
    if (x < 0) {
      u += du * -x;
      v += dv * -x;
      x = 0;
    }
    const int end = std::min(static_cast<int>(row.maxX), tw - 1);
    uint32_t* d = target->GetPixels() + static_cast<size_t>(y) * tw;
    uint8_t* cover = mCover.data() + static_cast<size_t>(y) * tw;
    while (x <= end) {
      const int count = std::min(end - x + 1, 256);
      for (int k = 0; k < count; ++k, u += du, v += dv)
        samples[k] = src[static_cast<size_t>(std::clamp<int64_t>(v >> 16, 0, lastV)) * sw +
                         static_cast<size_t>(std::clamp<int64_t>(u >> 16, 0, lastU))];
      // Runs of pixels not yet blended this draw.
      for (int k = 0; k < count;) {
        if (cover[x + k]) {
          ++k;
          continue;
        }
        int run = k;
        while (run < count && !cover[x + run]) ++run;
        rows.blend(d + x + k, samples + k, static_cast<size_t>(run - k), q.color);
        memset(cover + x + k, 1, static_cast<size_t>(run - k));
        k = run;
      }
      x += count;
    }
  }
}
