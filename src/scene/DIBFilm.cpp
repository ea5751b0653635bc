#include "scene/DIBFilm.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "app/core/Trace.h"
#include "assets/DIBSprite.h"
#include "platform/Random.h"

namespace {

// Source points are 16-bit: the strip is never taller than this.
constexpr int kMaxStripHeight = 32767;

}  // namespace

CDIBFilm::~CDIBFilm() { Trace("CDIBFilm::~CDIBFilm"); }

bool CDIBFilm::Initialize(int width, int height, int cells, CDIBSprite* frame, CDIBSprite* scratch) {
  Trace("CDIBFilm::Initialize");
  Release();
  if (width <= 0 || height <= 0 || cells <= 0 || width > kMaxStripHeight || height > kMaxStripHeight) return false;
  cells = std::min(cells, kMaxStripHeight / height);
  if (!Create(width, height * cells) || !GetPixels()) return false;
  FillFull(0);
  mCellWidth = width;
  mCellHeight = height;
  mCells = cells;
  mpFrame = frame && frame->GetPixels() ? frame : nullptr;
  mpScratch = scratch && scratch->GetPixels() ? scratch : nullptr;
  mCell = 0;
  SetDrawParam(0, 0, width, height, 0xFFFFFFFFu);
  return true;
}

void CDIBFilm::Release() {
  Trace("CDIBFilm::Release");
  mCellWidth = mCellHeight = mCells = 0;
  mpFrame = mpScratch = nullptr;
  mbRun = false;
  mCell = 0;
  CDIBImage::Release();
}

bool CDIBFilm::MakeAnmCell(CDIBImage* source) {
  Trace("CDIBFilm::MakeAnmCell");
  if (!GetPixels() || !source || !source->GetPixels()) return false;
  const int w = mCellWidth, h = mCellHeight;
  CDIBImage work, speck;
  if (!work.Create(w, h) || !work.GetPixels() || !speck.Create(w, h) || !speck.GetPixels()) return false;
  const int sw = std::min(source->GetWidth(), w), sh = std::min(source->GetHeight(), h);
  for (int cell = 0; cell < mCells; ++cell) {
    // The picture, with a faint copy of itself jolted a little aside.
    work.FillFull(0);
    source->Copy(&work, 0, 0, 0, 0, sw, sh);
    const double a = (plat::Rand() % 1000) * 0.001 * 2 * std::numbers::pi;
    source->BltBlend(&work, static_cast<int>(std::cos(a) * 5), static_cast<int>(std::sin(a) * 10), 0, 0, sw, sh,
                     kGhostColor);
    // Dust: a few layers of scattered white specks.
    const int layers = plat::Rand() % 5;
    for (int layer = 0; layer < layers; ++layer) {
      uint32_t* p = speck.GetPixels();
      for (size_t i = 0, n = static_cast<size_t>(w) * h; i < n; ++i) p[i] = plat::Rand() % 100 < 5 ? 0xFFFFFFFFu : 0;
      speck.BltBlend(&work, 0, 0, 0, 0, w, h, kSpeckColor);
    }
    // One scratch down the whole cell, somewhere.
    if (mpScratch) {
      const int element = plat::Rand() % 3;
      const int x = plat::Rand() % w;
      const bool wide = plat::Rand() % 100 < 20;
      const SprtElement e = mpScratch->DrawableElement(element);
      if (e.w > 0 && e.h > 0) {
        const int scratchWidth = wide ? static_cast<int>(std::max<int64_t>(int64_t{e.w} * h / e.h, 1)) : e.w;
        SprtVertex v;
        mpScratch->SetStretchVertex(v, element, x, 0, std::min(scratchWidth, 32000), h, 0xFFFFFFFFu);
        mpScratch->StretchBltBlend(&work, v, false);
      }
    }
    // The frame's shape darkens the cell.
    if (mpFrame) {
      const SprtElement e = mpFrame->DrawableElement(0);
      if (e.w > 0 && e.h > 0) {
        SprtVertex v;
        mpFrame->SetStretchVertex(v, 0, 0, 0, w, h, 0xFF000000u);
        mpFrame->StretchBltBlend(&work, v, false);
      }
    }
    work.Copy(this, 0, cell * h, 0, 0, w, h);
  }
  FillAlpha(255);
  return true;
}

void CDIBFilm::SetMove(bool run) {
  Trace("CDIBFilm::SetMove");
  mbRun = run;
}

void CDIBFilm::SetDrawParam(int x, int y, int width, int height, uint32_t color) {
  Trace("CDIBFilm::SetDrawParam");
  mDrawX = x;
  mDrawY = y;
  mDrawWidth = width;
  mDrawHeight = height;
  mDrawColor = color;
  UpdateVertex();
}

void CDIBFilm::UpdateVertex() {
  Trace("CDIBFilm::UpdateVertex");
  if (mCells <= 0) return;
  SetVertex(mVertex, mDrawX, mDrawY, 0, mCell * mCellHeight, std::max(mDrawWidth, 1), std::max(mDrawHeight, 1),
            mDrawColor);
  mVertex.src[1].u = mVertex.src[2].u = static_cast<int16_t>(mCellWidth - 1);
  mVertex.src[2].v = mVertex.src[3].v = static_cast<int16_t>(mCell * mCellHeight + mCellHeight - 1);
}

void CDIBFilm::Move() {
  Trace("CDIBFilm::Move");
  if (!mbRun || mCells <= 0) return;
  mCell = plat::Rand() % mCells;
  UpdateVertex();
}

void CDIBFilm::Draw(CDIBImage* target) {
  Trace("CDIBFilm::Draw");
  if (!mbRun || !target || !GetPixels() || mDrawWidth <= 0 || mDrawHeight <= 0) return;
  StretchBltBlend(target, mVertex, false);
}
