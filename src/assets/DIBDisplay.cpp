#include "assets/DIBDisplay.h"

#include <algorithm>

#include "app/core/Trace.h"
#include "platform/Window.h"

using plat::RECT;

bool CDIBDisplay::Initialize() {
  Trace("CDIBDisplay::Initialize");
  mBackImage.Create(kWidth, kHeight);
  mBackImage.CreateRGN();
  mBackImage.FillFull(0xFF000000u);
  mRgn[0].Clear();
  mRgn[1].Clear();
  mRgnIndex = 0;
  return mBackImage.GetPixels() != nullptr;
}

void CDIBDisplay::BeginFrame() {
  Trace("CDIBDisplay::BeginFrame");
  mRgnIndex ^= 1;
  mRgn[mRgnIndex].Clear();
}

void CDIBDisplay::AddDirtyRect(int left, int top, int right, int bottom) {
  Trace("CDIBDisplay::AddDirtyRect");
  left = std::clamp(left, 0, kWidth - 1);
  right = std::clamp(right, 0, kWidth - 1);
  top = std::clamp(top, 0, kHeight - 1);
  bottom = std::clamp(bottom, 0, kHeight - 1);
  mRgn[mRgnIndex].Add(RECT{left, top, right + 1, bottom + 1});
}

void CDIBDisplay::AddDirtyQuad(const plat::POINT points[4]) {
  Trace("CDIBDisplay::AddDirtyQuad");
  int minX = points[0].x, maxX = points[0].x, minY = points[0].y, maxY = points[0].y;
  for (int i = 1; i < 4; ++i) {
    minX = std::min(minX, points[i].x);
    maxX = std::max(maxX, points[i].x);
    minY = std::min(minY, points[i].y);
    maxY = std::max(maxY, points[i].y);
  }
  AddDirtyRect(minX, minY, maxX, maxY);
}

void CDIBDisplay::InvalidateAll() {
  Trace("CDIBDisplay::InvalidateAll");
  mRgn[mRgnIndex].Add(RECT{0, 0, kWidth, kHeight});
}

const std::vector<RECT>& CDIBDisplay::BuildDirtyRects() {
  Trace("CDIBDisplay::BuildDirtyRects");
  CRegion both = mRgn[0];
  both.Add(mRgn[1]);
  mRects.clear();
  for (RECT r : both.SortedRects()) {
    r.left = std::clamp(r.left, 0, kWidth);
    r.right = std::clamp(r.right, 0, kWidth);
    r.top = std::clamp(r.top, 0, kHeight);
    r.bottom = std::clamp(r.bottom, 0, kHeight);
    if (r.left < r.right && r.top < r.bottom) mRects.push_back(r);
  }
  return mRects;
}

void CDIBDisplay::Present(plat::HWND hwnd) {
  Trace("CDIBDisplay::Present");
  uint32_t* pixels = mBackImage.GetPixels();
  if (!pixels) return;
  if (gbAlphaFlip) {
    for (size_t i = 0, n = static_cast<size_t>(kWidth) * kHeight; i < n; ++i) pixels[i] &= 0x00FFFFFFu;
  }
  CRegion clip = mRgn[0];
  clip.Add(mRgn[1]);
  const auto& rects = clip.Rects();
  if (rects.empty()) return;
  plat::Present(hwnd, pixels, kWidth, kHeight, rects.data(), static_cast<int>(rects.size()));
}
