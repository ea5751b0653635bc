#include "scene/DIBWater.h"

#include <algorithm>

#include "app/core/Trace.h"


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
  mRaster.Begin(target, true);
  // The source grid runs to one past the last pixel, as the mesh does on
  // the target, so a calm surface shows the picture pixel for pixel.
  std::vector<int16_t> u(static_cast<size_t>(mColumns)), v(static_cast<size_t>(mRows));
  for (int j = 0; j < mColumns; ++j) u[j] = static_cast<int16_t>(int64_t{j} * GetWidth() / (mColumns - 1));
  for (int i = 0; i < mRows; ++i) v[i] = static_cast<int16_t>(int64_t{i} * GetHeight() / (mRows - 1));
  // A row of the mesh at a time.
  std::vector<SprtVertex> band(static_cast<size_t>(mColumns - 1));
  for (int i = 0; i + 1 < mRows; ++i) {
    const SprtPoint* row = &mPoints[static_cast<size_t>(i) * mColumns];
    const SprtPoint* next = row + mColumns;
    for (int j = 0; j + 1 < mColumns; ++j) {
      SprtVertex& quad = band[static_cast<size_t>(j)];
      quad.color = mDrawColor;
      quad.dst[0] = row[j];
      quad.dst[1] = row[j + 1];
      quad.dst[2] = next[j + 1];
      quad.dst[3] = next[j];
      quad.src[0] = SprtTexel{u[j], v[i]};
      quad.src[1] = SprtTexel{u[j + 1], v[i]};
      quad.src[2] = SprtTexel{u[j + 1], v[i + 1]};
      quad.src[3] = SprtTexel{u[j], v[i + 1]};
    }
    mRaster.BlendOnce(*this, band.data(), mColumns - 1);
  }
}

void CDIBWater::BltWater(CDIBImage* target, const SprtVertex& vertex) {
  Trace("CDIBWater::BltWater");
  if (!target || !target->GetPixels() || !GetPixels()) return;
  // A quad drawn on its own, or on another target, starts a fresh mesh.
  if (!mRaster.IsOn(target)) mRaster.Begin(target, true);
  mRaster.BlendOnce(*this, &vertex, 1);
}
