// Effect 7, Twist: the old picture, cut into a 49 × 49 mesh, spirals into
// the centre of the screen and uncovers the new picture.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "app/core/Trace.h"
#include "assets/DIBImage.h"
#include "scene/DIBOverlap.h"
#include "scene/OverlapArea.h"
#include "ui/EffectParam.h"

namespace {

constexpr int kPoints = 50;
constexpr double kStepX = 15.98, kStepY = 11.98;
// The distance of a corner point of the mesh from its centre: the spiral
// turns twice at the rim by the end.
constexpr double kRim = 35.35534;

int16_t Point(double v) { return static_cast<int16_t>(std::clamp(v, -32000.0, 32000.0)); }

}  // namespace

void CDIBOverlap::InitTwist(const EffectParam* param) {
  Trace("CDIBOverlap::InitTwist");
  EffectParamReader read(param);
  const int32_t span = read.Int();
  const int32_t direction = read.Int();
  StartEffect(EFFECT_TWIST, span);
  NewArea().nMode = direction;
}

void CDIBOverlap::MoveTwist() { Trace("CDIBOverlap::MoveTwist"); }

void CDIBOverlap::DrawTwist(CDIBImage* target) {
  Trace("CDIBOverlap::DrawTwist");
  CopyNew(target);
  if (!mpArea || AtEnd() || !target || !target->GetPixels() || !mpOldImage || !mpOldImage->GetPixels()) return;
  const double t = Progress();
  const bool turn = mpArea->nMode == 0 || mpArea->nMode == 1;
  const int maxU = mpOldImage->GetWidth() - 1, maxV = mpOldImage->GetHeight() - 1;
  SprtPoint at[kPoints][kPoints];
  SprtTexel from[kPoints][kPoints];
  for (int i = 0; i < kPoints; ++i) {
    for (int j = 0; j < kPoints; ++j) {
      const double x = i - 25.5, y = j - 25.5;
      const double r = std::sqrt(x * x + y * y);
      double angle = std::atan2(y, x);
      if (angle < 0) angle += 2 * std::numbers::pi;
      if (turn) angle += r / kRim * 4 * std::numbers::pi * t;
      at[i][j] = SprtPoint{Point(r * std::cos(angle) * kStepX * (1 - t) + 400),
                           Point(r * std::sin(angle) * kStepY * (1 - t) + 300), 0};
      from[i][j] = SprtTexel{static_cast<int16_t>(std::min(static_cast<int>(i * kStepX), maxU)),
                             static_cast<int16_t>(std::min(static_cast<int>(j * kStepY), maxV))};
    }
  }
  // The cells are drawn as StretchBltCopy draws them, a row of cells at a
  // time.
  CMeshRaster& raster = mpArea->raster;
  raster.Begin(target, false);
  SprtVertex band[kPoints - 1];
  for (int j = 0; j + 1 < kPoints; ++j) {
    for (int i = 0; i + 1 < kPoints; ++i) {
      SprtVertex& v = band[i];
      v.dst[0] = at[i][j];
      v.dst[1] = at[i + 1][j];
      v.dst[2] = at[i + 1][j + 1];
      v.dst[3] = at[i][j + 1];
      v.src[0] = from[i][j];
      v.src[1] = from[i + 1][j];
      v.src[2] = from[i + 1][j + 1];
      v.src[3] = from[i][j + 1];
    }
    raster.Copy(*mpOldImage, band, kPoints - 1);
  }
}

void CDIBOverlap::ReleaseTwist() {
  Trace("CDIBOverlap::ReleaseTwist");
  ReleaseArea();
}
