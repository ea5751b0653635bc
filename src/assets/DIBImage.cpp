#include "assets/DIBImage.h"

#include <algorithm>
#include <cstdlib>

#include "app/core/Trace.h"

CDIBImage::~CDIBImage() { Release(); }

void CDIBImage::Release() {
  Trace("CDIBImage::Release");
  free(mpPixels);
  mpPixels = nullptr;
  mWidth = mHeight = mSize = 0;
  delete mpRgn;
  mpRgn = nullptr;
}

bool CDIBImage::Create(int width, int height) {
  Trace("CDIBImage::Create");
  Release();
  if (width <= 0 || height <= 0) return true;
  mpPixels = static_cast<uint32_t*>(calloc(static_cast<size_t>(width) * height, 4));
  if (!mpPixels) return true;
  mWidth = width;
  mHeight = height;
  mSize = width * height * 4;
  return true;
}

void CDIBImage::CreateRGN() {
  Trace("CDIBImage::CreateRGN");
  delete mpRgn;
  mpRgn = new CRegion;
}

void CDIBImage::ClearRGN() {
  Trace("CDIBImage::ClearRGN");
  if (mpRgn) mpRgn->Subtract(plat::RECT{0, 0, mWidth - 1, mHeight - 1});
}

void CDIBImage::FullRGN() {
  Trace("CDIBImage::FullRGN");
  if (mpRgn) mpRgn->Add(plat::RECT{0, 0, mWidth - 1, mHeight - 1});
}

void CDIBImage::AddRGN(int left, int top, int right, int bottom) {
  Trace("CDIBImage::AddRGN");
  if (mpRgn) mpRgn->Add(plat::RECT{left, top, right, bottom});
}

void CDIBImage::FillFull(uint32_t color) {
  Trace("CDIBImage::FillFull");
  if (mpPixels) std::fill(mpPixels, mpPixels + static_cast<size_t>(mWidth) * mHeight, color);
}
