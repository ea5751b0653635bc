// Effect 3, Alpha: the change runs through a mask picture whose blue byte
// says when each pixel turns. Mode 0 fades through an intermediate picture
// that is already mixed by the mask, mode 1 switches each pixel at its
// threshold, mode 2 fades each pixel over a soft band that sweeps through
// the mask's values.
#include <algorithm>

#include "app/core/MainWindow.h"
#include "app/core/Trace.h"
#include "assets/DIBImage.h"
#include "assets/DIBSprite.h"
#include "assets/MixRows.h"
#include "assets/PixelRows.h"
#include "scene/DIBOverlap.h"
#include "scene/OverlapArea.h"
#include "ui/EffectParam.h"

namespace {

enum { kAlphaBlend = 0, kAlphaThreshold = 1, kAlphaSoft = 2 };

// The mask's blue byte for every pixel of a width × height screen; a mask
// of another size is stretched to it, nearest pixel.
void SampleMask(const CDIBImage& picture, int width, int height, std::vector<uint8_t>* out) {
  out->resize(static_cast<size_t>(width) * height);
  const int mw = picture.GetWidth(), mh = picture.GetHeight();
  const uint32_t* pixels = picture.GetPixels();
  std::vector<int> column(static_cast<size_t>(width));
  for (int x = 0; x < width; ++x) column[x] = static_cast<int>(int64_t{x} * mw / width);
  for (int y = 0; y < height; ++y) {
    const uint32_t* row = pixels + static_cast<size_t>(int64_t{y} * mh / height) * mw;
    uint8_t* dst = out->data() + static_cast<size_t>(y) * width;
    for (int x = 0; x < width; ++x) dst[x] = static_cast<uint8_t>(row[column[x]] & 0xFF);
  }
}

}  // namespace

void CDIBOverlap::InitAlpha(const EffectParam* param) {
  Trace("CDIBOverlap::InitAlpha");
  EffectParamReader read(param);
  const int32_t span = read.Int();
  const int32_t mode = read.Int();
  char name[256];
  read.Name(name);
  const int32_t softness = std::clamp(read.Int(), 0, 255);
  StartEffect(EFFECT_ALPHA, span);

  OverlapArea& area = NewArea();
  // A soft band of no width would divide by zero: it is the hard threshold.
  area.nMode = (mode == kAlphaBlend || (mode == kAlphaSoft && softness > 0)) ? mode : kAlphaThreshold;
  area.nSoftness = softness;
  CDIBSprite* mask = ReadPicture(name, 0);
  if (!mask) {
    if (gpMainWindow) gpMainWindow->ErrorRead("CDIBOverlap", name);
    area.bMissing = true;
    return;
  }
  if (!mpNewImage || !mpNewImage->GetPixels()) {
    area.bMissing = true;
    return;
  }
  area.nMaskWidth = mpNewImage->GetWidth();
  area.nMaskHeight = mpNewImage->GetHeight();
  SampleMask(*mask, area.nMaskWidth, area.nMaskHeight, &area.mask);
  if (area.nMode != kAlphaBlend) return;

  // The intermediate picture: old and new mixed by the mask, opaque.
  if (!mpOldImage || !mpOldImage->GetPixels()) {
    area.bMissing = true;
    return;
  }
  const int width = std::min(mpOldImage->GetWidth(), area.nMaskWidth);
  const int height = std::min(mpOldImage->GetHeight(), area.nMaskHeight);
  area.pWork[0] = std::make_unique<CDIBImage>();
  if (!area.pWork[0]->Create(width, height) || !area.pWork[0]->GetPixels()) {
    area.bMissing = true;
    return;
  }
  for (int y = 0; y < height; ++y) {
    const uint32_t* o = mpOldImage->GetPixels() + static_cast<size_t>(y) * mpOldImage->GetWidth();
    const uint32_t* n = mpNewImage->GetPixels() + static_cast<size_t>(y) * mpNewImage->GetWidth();
    const uint8_t* m = area.mask.data() + static_cast<size_t>(y) * area.nMaskWidth;
    uint32_t* d = area.pWork[0]->GetPixels() + static_cast<size_t>(y) * width;
    for (int x = 0; x < width; ++x) {
      uint32_t out = 0xFF000000u;
      for (int sh = 0; sh < 24; sh += 8)
        out |= ((((n[x] >> sh) & 0xFF) * m[x] + ((o[x] >> sh) & 0xFF) * (255u - m[x])) / 255) << sh;
      d[x] = out;
    }
  }
}

void CDIBOverlap::MoveAlpha() { Trace("CDIBOverlap::MoveAlpha"); }

void CDIBOverlap::DrawAlpha(CDIBImage* target) {
  Trace("CDIBOverlap::DrawAlpha");
  // Without its mask, or without a duration, the effect shows the new
  // picture.
  if (!mpArea || mpArea->bMissing || mnSpan <= 0) {
    CopyNew(target);
    return;
  }
  switch (mpArea->nMode) {
    case kAlphaBlend: DrawAlpha00(target); break;
    case kAlphaSoft: DrawAlpha02(target); break;
    default: DrawAlpha01(target); break;
  }
}

void CDIBOverlap::DrawAlpha00(CDIBImage* target) {
  Trace("CDIBOverlap::DrawAlpha00");
  const CDIBImage* inter = mpArea->pWork[0].get();
  if (AtEnd()) {
    CopyNew(target);
    return;
  }
  int width, height;
  if (!inter || !CommonSize(target, &width, &height)) return;
  width = std::min(width, inter->GetWidth());
  height = std::min(height, inter->GetHeight());
  // Old to the intermediate over the first half, the intermediate to new
  // over the second.
  const int64_t c = int64_t{mnTime} * 510 / mnSpan;
  const bool first = c <= 254;
  const CDIBImage* from = first ? mpOldImage : inter;
  const CDIBImage* to = first ? inter : mpNewImage;
  const uint32_t a = static_cast<uint32_t>(first ? c : std::min<int64_t>(c - 255, 255));
  const pix::RowKernels& rows = pix::Rows();
  for (int y = 0; y < height; ++y)
    rows.fade(target->GetPixels() + static_cast<size_t>(y) * target->GetWidth(),
              from->GetPixels() + static_cast<size_t>(y) * from->GetWidth(),
              to->GetPixels() + static_cast<size_t>(y) * to->GetWidth(), static_cast<size_t>(width), a);
}

void CDIBOverlap::DrawAlpha01(CDIBImage* target) {
  Trace("CDIBOverlap::DrawAlpha01");
  int width, height;
  if (!CommonSize(target, &width, &height)) return;
  width = std::min(width, mpArea->nMaskWidth);
  height = std::min(height, mpArea->nMaskHeight);
  // High mask values switch first: a pixel shows new once m ≥ 255 − a.
  const uint32_t threshold = 255 - Alpha255();
  const pix::MixKernels& mix = pix::Mix();
  for (int y = 0; y < height; ++y)
    mix.maskSelect(target->GetPixels() + static_cast<size_t>(y) * target->GetWidth(),
                   mpOldImage->GetPixels() + static_cast<size_t>(y) * mpOldImage->GetWidth(),
                   mpNewImage->GetPixels() + static_cast<size_t>(y) * mpNewImage->GetWidth(),
                   mpArea->mask.data() + static_cast<size_t>(y) * mpArea->nMaskWidth, static_cast<size_t>(width),
                   threshold);
}

void CDIBOverlap::DrawAlpha02(CDIBImage* target) {
  Trace("CDIBOverlap::DrawAlpha02");
  int width, height;
  if (!CommonSize(target, &width, &height)) return;
  width = std::min(width, mpArea->nMaskWidth);
  height = std::min(height, mpArea->nMaskHeight);
  // The weight depends only on the mask value: one table a frame.
  const int64_t s = mpArea->nSoftness;
  const int64_t b = (s + 255) * mnTime / mnSpan;
  uint8_t weight[256];
  for (int m = 0; m < 256; ++m) {
    const int64_t c = (m + b - 255) * 255 / s;
    weight[m] = static_cast<uint8_t>(c <= 0 ? 0 : std::min<int64_t>(c, 255));
  }
  std::vector<uint8_t> row(static_cast<size_t>(width));
  const pix::MixKernels& mix = pix::Mix();
  for (int y = 0; y < height; ++y) {
    const uint8_t* m = mpArea->mask.data() + static_cast<size_t>(y) * mpArea->nMaskWidth;
    for (int x = 0; x < width; ++x) row[x] = weight[m[x]];
    mix.maskFade(target->GetPixels() + static_cast<size_t>(y) * target->GetWidth(),
                 mpOldImage->GetPixels() + static_cast<size_t>(y) * mpOldImage->GetWidth(),
                 mpNewImage->GetPixels() + static_cast<size_t>(y) * mpNewImage->GetWidth(), row.data(),
                 static_cast<size_t>(width));
  }
}

void CDIBOverlap::ReleaseAlpha() {
  Trace("CDIBOverlap::ReleaseAlpha");
  ReleaseArea();
}
