// Scroll: the picture travels a path of up to 16 points over one period,
// along straight segments at an even speed or along a smooth curve, once
// or looping.
#include <cmath>

#include "app/core/Trace.h"
#include "assets/SprtVertex.h"
#include "scene/DIBSnrAction.h"
#include "scene/FrameStep.h"
#include "scene/RecordIO.h"
#include "scene/SceneQuad.h"
#include "scene/Spline.h"

namespace {

struct PathPoint {
  double x, y, z;
};

// The point at arc length `s` along the straight segments; past the end,
// the last point.
PathPoint AlongSegments(const int32_t* xs, const int32_t* ys, const int32_t* zs, int count, double t) {
  double total = 0.0;
  double lengths[SnrActionParam::kMaxScrollPoints] = {};
  for (int i = 0; i + 1 < count; ++i) {
    const double dx = static_cast<double>(xs[i + 1]) - xs[i], dy = static_cast<double>(ys[i + 1]) - ys[i],
                 dz = static_cast<double>(zs[i + 1]) - zs[i];
    lengths[i] = std::sqrt(dx * dx + dy * dy + dz * dz);
    total += lengths[i];
  }
  const double s = t * total;
  double before = 0.0;
  for (int i = 0; i + 1 < count; ++i) {
    if (before + lengths[i] > s) {
      const double k = (s - before) / lengths[i];
      return PathPoint{xs[i] + (static_cast<double>(xs[i + 1]) - xs[i]) * k,
                       ys[i] + (static_cast<double>(ys[i + 1]) - ys[i]) * k,
                       zs[i] + (static_cast<double>(zs[i + 1]) - zs[i]) * k};
    }
    before += lengths[i];
  }
  return PathPoint{static_cast<double>(xs[count - 1]), static_cast<double>(ys[count - 1]),
                   static_cast<double>(zs[count - 1])};
}

int64_t Whole(double v) {
  if (!std::isfinite(v)) return 0;
  return static_cast<int64_t>(std::trunc(std::fmax(std::fmin(v, 1e12), -1e12)));
}

}  // namespace

bool CDIBSnrAction::SetupScroll() {
  Trace("CDIBSnrAction::SetupScroll");
  mnScrollTime = 0;
  return true;
}

void CDIBSnrAction::ReleaseScroll() { Trace("CDIBSnrAction::ReleaseScroll"); }

void CDIBSnrAction::MoveScroll() {
  Trace("CDIBSnrAction::MoveScroll");
  BeginMove();
  const int32_t period = mParam.scroll.nPeriod;
  const bool loop = mParam.scroll.bLoop != 0;
  if (!loop && mnScrollTime >= period) return;
  mnScrollTime = scene::AddClamped(mnScrollTime, scene::FrameStep());
  if (mnScrollTime >= period) {
    mnScrollTime = loop && period > 0 ? mnScrollTime - period : period;
  }
  mbChange = 1;
}

void CDIBSnrAction::DrawScroll(const LayerDrawParam* param) {
  Trace("CDIBSnrAction::DrawScroll");
  const auto& p = mParam.scroll;
  const int count = p.nCount;
  if (count < 1 || count > SnrActionParam::kMaxScrollPoints) return;
  // Without a positive period the path is over at once.
  const double t = p.nPeriod > 0 ? static_cast<double>(mnScrollTime) / p.nPeriod : 1.0;
  PathPoint at;
  if (count == 1) {
    at = PathPoint{static_cast<double>(p.nX[0]), static_cast<double>(p.nY[0]), static_cast<double>(p.nZ[0])};
  } else if (p.bSmooth) {
    CSpline spline;
    for (int i = 0; i < count; ++i)
      spline.Add(static_cast<float>(p.nX[i]), static_cast<float>(p.nY[i]), static_cast<float>(p.nZ[i]));
    spline.Setup();
    const float tf = static_cast<float>(t);
    at = PathPoint{spline.GetValue(0, tf), spline.GetValue(1, tf), spline.GetValue(2, tf)};
  } else {
    at = AlongSegments(p.nX, p.nY, p.nZ, count, t);
  }
  SprtVertex quad;
  PlainQuad(param, Whole(at.x), Whole(at.y), Whole(at.z), quad);
  DrawQuads(param, param->pImage, &quad, 1);
}

void CDIBSnrAction::SaveScroll(uint8_t*& dst) const {
  Trace("CDIBSnrAction::SaveScroll");
  CRecordWriter out(dst);
  out.I32(mnScrollTime);
  dst = out.End();
}

void CDIBSnrAction::LoadScroll(const uint8_t*& src) {
  Trace("CDIBSnrAction::LoadScroll");
  CRecordReader in(src, 4);
  mnScrollTime = in.I32();
  src = in.Here();
}
