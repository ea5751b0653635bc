// Effect 8, Bound: the new picture bounces along a vector, back and forth a
// given number of times, and comes to rest in place; modes 1 and 11 stretch
// it by the offset instead of moving it, modes 10 and 11 let the bounces
// die down.
#include <algorithm>
#include <cmath>

#include "app/core/Trace.h"
#include "assets/DIBImage.h"
#include "scene/DIBOverlap.h"
#include "scene/OverlapArea.h"
#include "ui/EffectParam.h"

namespace {

// Offsets beyond this many pixels are off the screen anyway; quads keep
// their points in 16 bits.
constexpr double kFar = 8000;

int16_t Point(int64_t v) { return static_cast<int16_t>(std::clamp<int64_t>(v, -32000, 32000)); }

}  // namespace

void CDIBOverlap::InitBound(const EffectParam* param) {
  Trace("CDIBOverlap::InitBound");
  EffectParamReader read(param);
  const int32_t span = read.Int();
  const int32_t mode = read.Int();
  const int32_t bounce = read.Int();
  const int32_t vx = read.Int();
  const int32_t vy = read.Int();
  StartEffect(EFFECT_BOUND, span);
  OverlapArea& area = NewArea();
  area.nMode = mode;
  area.nBounce = std::max(bounce, 0);
  area.nVectorX = vx;
  area.nVectorY = vy;
}

void CDIBOverlap::MoveBound() { Trace("CDIBOverlap::MoveBound"); }

void CDIBOverlap::DrawBound(CDIBImage* target) {
  Trace("CDIBOverlap::DrawBound");
  if (!mpArea || !target || !target->GetPixels() || !mpNewImage || !mpNewImage->GetPixels()) return;
  const bool stretch = mpArea->nMode == 1 || mpArea->nMode == 11;
  const bool damp = mpArea->nMode == 10 || mpArea->nMode == 11;
  const double t = Progress();
  const double vx = mpArea->nVectorX, vy = mpArea->nVectorY;
  const double length = std::hypot(vx, vy);
  // The distance travelled folds back at each end of the vector: an even
  // number of lengths leaves the picture moving out, an odd one coming back.
  double ox = 0, oy = 0;
  if (length > 0) {
    const double d = mpArea->nBounce * length * 2 * t;
    double rest = std::fmod(d, length);
    if (std::fmod(std::floor(d / length), 2.0) == 1.0) rest = length - rest;
    const double scale = rest / length * (damp ? 1 - t / 2 : 1);
    ox = std::clamp(vx * scale, -kFar, kFar);
    oy = std::clamp(vy * scale, -kFar, kFar);
  }
  const int64_t x = static_cast<int64_t>(ox), y = static_cast<int64_t>(oy);
  const int w = mpNewImage->GetWidth(), h = mpNewImage->GetHeight();
  SprtVertex v;
  if (!stretch) {
    // Unscaled at the offset; what it leaves uncovered keeps the last frame.
    mpNewImage->SetVertex(v, static_cast<int>(x), static_cast<int>(y), 0, 0, w, h, 0xFFFFFFFFu);
    mpNewImage->StretchBltCopy(target, v, false);
    return;
  }
  mpNewImage->SetStretchVertex(v, 0, 0, w, h, 0xFFFFFFFFu);
  const int16_t left = Point(-x / 2), right = Point(w - 1 + x / 2);
  const int16_t top = Point(-y / 2), bottom = Point(h - 1 + y / 2);
  v.dst[0] = SprtPoint{left, top, 0};
  v.dst[1] = SprtPoint{right, top, 0};
  v.dst[2] = SprtPoint{right, bottom, 0};
  v.dst[3] = SprtPoint{left, bottom, 0};
  mpNewImage->StretchBltCopy(target, v, false);
}

void CDIBOverlap::ReleaseBound() {
  Trace("CDIBOverlap::ReleaseBound");
  ReleaseArea();
}
