// Effect 5, Rotate: the new picture grows from the centre of the screen
// over the old one while turning once around (direction 0 one way,
// direction 1 the other).
#include <algorithm>
#include <cmath>
#include <numbers>

#include "app/core/Trace.h"
#include "assets/DIBImage.h"
#include "scene/DIBOverlap.h"
#include "scene/OverlapArea.h"
#include "ui/EffectParam.h"

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;

int16_t Point(int64_t v) { return static_cast<int16_t>(std::clamp<int64_t>(v, -32000, 32000)); }

}  // namespace

void CDIBOverlap::InitRotate(const EffectParam* param) {
  Trace("CDIBOverlap::InitRotate");
  EffectParamReader read(param);
  const int32_t span = read.Int();
  const int32_t direction = read.Int();
  StartEffect(EFFECT_ROTATE, span);
  OverlapArea& area = NewArea();
  area.nMode = direction == 1 ? 1 : 0;
  const bool have = mpNewImage && mpNewImage->GetPixels();
  const double w = have ? mpNewImage->GetWidth() : 800, h = have ? mpNewImage->GetHeight() : 600;
  // The corners' angles seen from the centre, y upwards, in 0 … 2π.
  const double corner[4][2] = {{0, 0}, {w, 0}, {w, h}, {0, h}};
  for (int i = 0; i < 4; ++i) {
    double angle = std::atan2(-(corner[i][1] - h / 2), corner[i][0] - w / 2);
    if (angle < 0) angle += kTwoPi;
    area.fCorner[i] = angle;
  }
}

void CDIBOverlap::MoveRotate() { Trace("CDIBOverlap::MoveRotate"); }

void CDIBOverlap::DrawRotate(CDIBImage* target) {
  Trace("CDIBOverlap::DrawRotate");
  if (!mpArea || !target || !target->GetPixels()) return;
  CopyOld(target);
  if (!mpNewImage || !mpNewImage->GetPixels()) return;
  const int nw = mpNewImage->GetWidth(), nh = mpNewImage->GetHeight();
  const int64_t w = mnSpan > 0 ? int64_t{mnTime} * nw / mnSpan : nw;
  const int64_t h = mnSpan > 0 ? int64_t{mnTime} * nh / mnSpan : nh;
  if (w <= 0 || h <= 0) return;
  const double t = Progress();
  const double turn = (mpArea->nMode == 1 ? 1.0 - t : t) * kTwoPi;
  const int64_t hw = w / 2, hh = h / 2;
  const double r = std::sqrt(static_cast<double>(hw * hw + hh * hh));
  const int64_t left = (target->GetWidth() - w) / 2, top = (target->GetHeight() - h) / 2;
  SprtVertex v;
  mpNewImage->SetStretchVertex(v, 0, 0, nw, nh, 0xFFFFFFFFu);
  for (int i = 0; i < 4; ++i) {
    double angle = turn + mpArea->fCorner[i];
    if (angle > kTwoPi) angle -= kTwoPi;
    v.dst[i].x = Point(hw + static_cast<int64_t>(std::cos(angle) * r) + left);
    v.dst[i].y = Point(hh + top - static_cast<int64_t>(std::sin(angle) * r));
  }
  mpNewImage->StretchBltCopy(target, v, false);
}

void CDIBOverlap::ReleaseRotate() {
  Trace("CDIBOverlap::ReleaseRotate");
  ReleaseArea();
}
