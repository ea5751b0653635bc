#include "assets/DIBImage.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

#include "app/core/Trace.h"
#include "assets/PixelRows.h"

using plat::RECT;

CDIBImage::~CDIBImage() {
  Trace("CDIBImage::~CDIBImage");
  Release();
}

void CDIBImage::Release() {
  Trace("CDIBImage::Release");
  free(mpPixels);
  mpPixels = nullptr;
  mWidth = mHeight = mSize = 0;
  mClip = RECT{0, 0, -1, -1};
  delete mpRgn;
  mpRgn = nullptr;
  mpRgnData.reset();
  mpEdgeTable.reset();
}

bool CDIBImage::Create(int width, int height) {
  Trace("CDIBImage::Create");
  Release();
  // Callers do not test the result; a refused size leaves an empty image
  // that every operation treats as nothing to draw.
  if (width <= 0 || height <= 0) return true;
  if (static_cast<long long>(width) * height > 0x1FFFFFFF) return true;
  mpPixels = static_cast<uint32_t*>(calloc(static_cast<size_t>(width) * height, 4));
  if (!mpPixels) return true;
  mWidth = width;
  mHeight = height;
  mSize = width * height * 4;
  mClip = RECT{0, 0, width - 1, height - 1};
  return true;
}

bool CDIBImage::EnsureEdgeTable() {
  Trace("CDIBImage::EnsureEdgeTable");
  if (!mpEdgeTable) mpEdgeTable.reset(new (std::nothrow) ScanEdgeRow[kEdgeRows]);
  return mpEdgeTable != nullptr;
}

void CDIBImage::CreateRGN() {
  Trace("CDIBImage::CreateRGN");
  delete mpRgn;
  mpRgn = new CRegion;
}

void CDIBImage::ClearRGN() {
  Trace("CDIBImage::ClearRGN");
  if (mpRgn) mpRgn->Subtract(RECT{0, 0, mWidth - 1, mHeight - 1});
}

void CDIBImage::MergeRGN(const CRegion* pRgn) {
  Trace("CDIBImage::MergeRGN");
  if (mpRgn && pRgn) mpRgn->Add(*pRgn);
}

void CDIBImage::FullRGN() {
  Trace("CDIBImage::FullRGN");
  if (mpRgn) mpRgn->Add(RECT{0, 0, mWidth - 1, mHeight - 1});
}

void CDIBImage::AddRGN(const SprtVertex& vertex) {
  Trace("CDIBImage::AddRGN");
  if (!mpRgn) return;
  int minX = vertex.dst[0].x, maxX = minX, minY = vertex.dst[0].y, maxY = minY;
  for (int i = 1; i < 4; ++i) {
    minX = std::min<int>(minX, vertex.dst[i].x);
    maxX = std::max<int>(maxX, vertex.dst[i].x);
    minY = std::min<int>(minY, vertex.dst[i].y);
    maxY = std::max<int>(maxY, vertex.dst[i].y);
  }
  mpRgn->Add(RECT{minX, minY, maxX + 1, maxY + 1});
}

void CDIBImage::AddRGN(int left, int top, int right, int bottom) {
  Trace("CDIBImage::AddRGN");
  if (mpRgn) mpRgn->Add(RECT{left, top, right, bottom});
}

void CDIBImage::UpdateRegionData() {
  Trace("CDIBImage::UpdateRegionData");
  if (!mpRgn) return;
  auto data = std::make_unique<RegionData>();
  data->bound = mpRgn->Bounds();
  data->rects = mpRgn->Rects();
  mpRgnData = std::move(data);
}

void CDIBImage::FillFull(uint32_t color) {
  Trace("CDIBImage::FillFull");
  if (mpPixels) pix::Rows().fill(mpPixels, static_cast<size_t>(mWidth) * mHeight, color);
}

void CDIBImage::FillBox(uint32_t color, int x, int y, int w, int h) {
  Trace("CDIBImage::FillBox");
  if (!mpPixels || w <= 0 || h <= 0) return;
  long long left = std::max<long long>(x, mClip.left), top = std::max<long long>(y, mClip.top);
  long long right = std::min<long long>(static_cast<long long>(x) + w - 1, mClip.right);
  long long bottom = std::min<long long>(static_cast<long long>(y) + h - 1, mClip.bottom);
  if (left > right || top > bottom) return;
  const pix::RowKernels& rows = pix::Rows();
  for (long long row = top; row <= bottom; ++row)
    rows.fill(mpPixels + row * mWidth + left, static_cast<size_t>(right - left + 1), color);
}

void CDIBImage::FillAlpha(uint8_t alpha) {
  Trace("CDIBImage::FillAlpha");
  if (!mpPixels) return;
  uint32_t a = static_cast<uint32_t>(alpha) << 24;
  for (size_t i = 0, n = static_cast<size_t>(mWidth) * mHeight; i < n; ++i) mpPixels[i] = (mpPixels[i] & 0x00FFFFFFu) | a;
}

void CDIBImage::Copy(void* pMemory) {
  Trace("CDIBImage::Copy");
  if (mpPixels && pMemory) memcpy(pMemory, mpPixels, static_cast<size_t>(mWidth) * mHeight * 4);
}

void CDIBImage::SetVertex(SprtVertex& out, int x, int y, int sx, int sy, int w, int h, uint32_t color) {
  Trace("CDIBImage::SetVertex");
  auto p = [](int v) { return static_cast<int16_t>(v); };
  out.dst[0] = SprtPoint{p(x), p(y), 0};
  out.dst[1] = SprtPoint{p(x + w - 1), p(y), 0};
  out.dst[2] = SprtPoint{p(x + w - 1), p(y + h - 1), 0};
  out.dst[3] = SprtPoint{p(x), p(y + h - 1), 0};
  out.src[0] = SprtTexel{p(sx), p(sy)};
  out.src[1] = SprtTexel{p(sx + w - 1), p(sy)};
  out.src[2] = SprtTexel{p(sx + w - 1), p(sy + h - 1)};
  out.src[3] = SprtTexel{p(sx), p(sy + h - 1)};
  out.color = color;
}

void CDIBImage::SetStretchVertex(SprtVertex& out, int x, int y, int w, int h, uint32_t color) {
  Trace("CDIBImage::SetStretchVertex");
  SetVertex(out, x, y, 0, 0, w, h, color);
  auto p = [](int v) { return static_cast<int16_t>(v); };
  out.src[0] = SprtTexel{0, 0};
  out.src[1] = SprtTexel{p(mWidth - 1), 0};
  out.src[2] = SprtTexel{p(mWidth - 1), p(mHeight - 1)};
  out.src[3] = SprtTexel{0, p(mHeight - 1)};
}
