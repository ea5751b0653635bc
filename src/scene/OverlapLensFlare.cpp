// Effect 6, LensFlare: a cross-fade from old to new while a lens flare
// sweeps in from a top corner: a row of eleven discs along a line that
// swings down, and a full-screen flash in the middle of the sweep.
#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "app/core/Trace.h"
#include "assets/DIBImage.h"
#include "assets/DIBSprite.h"
#include "assets/MixRows.h"
#include "scene/DIBOverlap.h"
#include "scene/OverlapArea.h"
#include "ui/EffectParam.h"

namespace {

constexpr int kDiscs = 11;
// How far along the line each disc sits, before the sweep stretches it.
constexpr int kDiscDistance[kDiscs] = {0, 14, 25, 77, 125, 196, 231, 240, 246, 291, 297};

int16_t Point(double v) { return static_cast<int16_t>(std::clamp(v, -32000.0, 32000.0)); }

}  // namespace

void CDIBOverlap::InitLensFlare(const EffectParam* param) {
  Trace("CDIBOverlap::InitLensFlare");
  EffectParamReader read(param);
  const int32_t span = read.Int();
  char name[256];
  read.Name(name);
  const int32_t start = read.Int();
  const int32_t end = read.Int();
  const int32_t direction = read.Int();
  StartEffect(EFFECT_LENSFLARE, span);
  OverlapArea& area = NewArea();
  area.nFlareStart = start;
  area.nFlareEnd = end;
  area.nMode = direction == 1 ? 1 : 0;
  // Without its flare picture the effect shows the new picture until it ends.
  area.bMissing = ReadPicture(name, 0) == nullptr;
}

void CDIBOverlap::MoveLensFlare() { Trace("CDIBOverlap::MoveLensFlare"); }

void CDIBOverlap::DrawLensFlare(CDIBImage* target) {
  Trace("CDIBOverlap::DrawLensFlare");
  int width, height;
  if (!mpArea || mpArea->bMissing || mnSpan <= 0) {
    CopyNew(target);
    return;
  }
  if (!CommonSize(target, &width, &height)) return;
  CDIBSprite& flare = *mpArea->pPicture[0];
  const uint32_t a = Alpha255();
  double p = 0;
  if (mpArea->nFlareStart < mpArea->nFlareEnd && mnTime >= mpArea->nFlareStart && mnTime <= mpArea->nFlareEnd)
    p = static_cast<double>(mnTime - mpArea->nFlareStart) / (static_cast<double>(mpArea->nFlareEnd) - mpArea->nFlareStart);

  const pix::MixKernels& mix = pix::Mix();
  const SprtElement flash = flare.DrawableElement(0);
  if (p > 0.3 && p < 0.6 && flash.w > 0) {
    const double k = (p - 0.3) * 3.3333333;
    const double f = k < 0.5 ? k * 510 : 255 - (k - 0.5) * 510;
    const uint32_t strength = static_cast<uint32_t>(std::clamp(f, 0.0, 255.0));
    // Screen row y takes the flash picture's row y from the element's x
    // onward; where the picture ends, the flash is transparent black.
    const std::vector<uint32_t> none(static_cast<size_t>(width), 0);
    const int across = std::clamp(flare.GetWidth() - flash.x, 0, width);
    for (int y = 0; y < height; ++y) {
      uint32_t* d = target->GetPixels() + static_cast<size_t>(y) * target->GetWidth();
      const uint32_t* o = mpOldImage->GetPixels() + static_cast<size_t>(y) * mpOldImage->GetWidth();
      const uint32_t* n = mpNewImage->GetPixels() + static_cast<size_t>(y) * mpNewImage->GetWidth();
      const bool inside = y < flare.GetHeight();
      const int part = inside ? across : 0;
      if (part > 0)
        mix.flash(d, o, n, flare.GetPixels() + static_cast<size_t>(y) * flare.GetWidth() + flash.x,
                  static_cast<size_t>(part), a, strength);
      if (part < width)
        mix.flash(d + part, o + part, n + part, none.data(), static_cast<size_t>(width - part), a, strength);
    }
  } else {
    for (int y = 0; y < height; ++y)
      mix.fade255(target->GetPixels() + static_cast<size_t>(y) * target->GetWidth(),
                  mpOldImage->GetPixels() + static_cast<size_t>(y) * mpOldImage->GetWidth(),
                  mpNewImage->GetPixels() + static_cast<size_t>(y) * mpNewImage->GetWidth(),
                  static_cast<size_t>(width), a);
  }
  if (p <= 0) return;

  // The discs, along a line from the top-left (direction 0) or top-right
  // (direction 1) corner that swings down as the flare goes on.
  const double e = p * 0.7853982 + 0.03141593;
  const double angle = mpArea->nMode == 1 ? e + std::numbers::pi : 2 * std::numbers::pi - e;
  const double ux = std::cos(angle), uy = -std::sin(angle);
  const double originX = mpArea->nMode == 1 ? target->GetWidth() : 0;
  uint32_t color = 0xFFFFFFFFu;
  if (p > 0.8) color = static_cast<uint32_t>(std::clamp((1 - (p - 0.8) * 5) * 255, 0.0, 255.0)) << 24 | 0xFFFFFFu;
  for (int i = 1; i <= kDiscs; ++i) {
    const SprtElement disc = flare.DrawableElement(i);
    if (disc.w <= 0 || disc.h <= 0) continue;
    const double k = ((i - 1) * 0.01 + 1.5) * p + 0.5;
    const double distance = kDiscDistance[i - 1] * k + 200;
    const double cx = std::trunc(ux * distance + originX), cy = std::trunc(uy * distance);
    const double s = ((i - 1) * 0.03 + 0.5) * p + 1;
    const double hw = std::trunc(disc.w * s / 2), hh = std::trunc(disc.h * s / 2);
    SprtVertex v;
    flare.SetStretchVertex(v, i, 0, 0, 1, 1, color);
    v.dst[0] = SprtPoint{Point(cx - hw), Point(cy - hh), 0};
    v.dst[1] = SprtPoint{Point(cx + hw), Point(cy - hh), 0};
    v.dst[2] = SprtPoint{Point(cx + hw), Point(cy + hh), 0};
    v.dst[3] = SprtPoint{Point(cx - hw), Point(cy + hh), 0};
    flare.StretchBltAddBlend(target, v);
  }
}

void CDIBOverlap::ReleaseLensFlare() {
  Trace("CDIBOverlap::ReleaseLensFlare");
  ReleaseArea();
}
