#include "scene/DIBCamera.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "app/core/Trace.h"
#include "assets/SprtVertex.h"
#include "scene/FrameStep.h"
#include "scene/Spline.h"

namespace {

// The projection every page uses: a quarter turn of view, far at the eye's
// distance, near 0.1, square.
constexpr float kFov = 1.5707964f;
constexpr float kNear = 0.1f;

// A projected coordinate as a 16-bit point: false when it is not a finite
// number; values beyond 16 bits are held at its ends. Rounded down rather
// than toward zero, so that points left of or above the screen land where
// they belong too (the untouched view maps every point to itself).
bool ToPoint(float v, int16_t* out) {
  if (!std::isfinite(v)) return false;
  const float t = std::floor(v);
  *out = static_cast<int16_t>(t < -32768.0f ? -32768 : t > 32767.0f ? 32767 : static_cast<int32_t>(t));
  return true;
}

}  // namespace

CDIBCamera::~CDIBCamera() { Trace("CDIBCamera::~CDIBCamera"); }

bool CDIBCamera::Initialize() {
  Trace("CDIBCamera::Initialize");
  Reset();
  return true;
}

void CDIBCamera::Reset() {
  Trace("CDIBCamera::Reset");
  mbCamera = 1;
  mbBillboard = 0;
  mfXYRate = 1.0f;
  mfWRate = 1.0f;
  mEye = CVector(0.0f, 0.0f, -kEyeDistance, 0.0f);
  mLookAt = CVector(0.0f, 0.0f, 0.0f, 0.0f);
  mUp = CVector(0.0f, 1.0f, 0.0f, 0.0f);
  mfZoom = 0.0f;
  mbChange = 0;
  mbMove = 0;
  mnDuration = 0;
  mnElapsed = 0;
  ResetMove();
}

void CDIBCamera::ResetMove() {
  Trace("CDIBCamera::ResetMove");
  mnKeyCount = 0;
  for (int i = 0; i < kMaxKeys; ++i) {
    mfKeyZoom[i] = 0.0f;
    mKeyPos[i] = CVector();
  }
}

bool CDIBCamera::AddMove(float x, float y, float z, float zoom) {
  Trace("CDIBCamera::AddMove");
  if (mnKeyCount < 0 || mnKeyCount >= kMaxKeys) return false;
  mKeyPos[mnKeyCount] = CVector(x, y, z, 0.0f);
  mfKeyZoom[mnKeyCount] = zoom * 10.0f;
  ++mnKeyCount;
  return true;
}

void CDIBCamera::StartMove(int32_t duration) {
  Trace("CDIBCamera::StartMove");
  mnDuration = duration;
  mnElapsed = 0;
  mbMove = 1;
}

void CDIBCamera::Move(bool hurried) {
  Trace("CDIBCamera::Move");
  if (!mbMove) {
    mbChange = 0;
    return;
  }
  if (hurried) {
    mnElapsed = mnDuration;
  } else if (mnElapsed < mnDuration) {
    mnElapsed = static_cast<int32_t>(std::min<int64_t>(int64_t{mnElapsed} + scene::FrameStep(), mnDuration));
  }
  if (mnElapsed >= mnDuration) {
    mnElapsed = mnDuration;
    mbMove = 0;
  }
  mbChange = 1;
  const float t = mnDuration > 0 ? static_cast<float>(mnElapsed) / static_cast<float>(mnDuration) : 1.0f;
  if (mnKeyCount <= 0) return;

  CSpline pos, zoom;
  const int keys = std::min(mnKeyCount, int32_t{kMaxKeys});
  for (int i = 0; i < keys; ++i) {
    pos.Add(mKeyPos[i].x - 400.0f, mKeyPos[i].y - 300.0f, mKeyPos[i].z);
    zoom.Add(mfKeyZoom[i]);
  }
  // A single key is a path that stays where it is.
  if (keys == 1) {
    pos.Add(mKeyPos[0].x - 400.0f, mKeyPos[0].y - 300.0f, mKeyPos[0].z);
    zoom.Add(mfKeyZoom[0]);
  }
  pos.Setup();
  zoom.Setup();
  mEye.x = pos.GetValue(0, t);
  mEye.y = pos.GetValue(1, t);
  mEye.z = pos.GetValue(2, t);
  mfZoom = zoom.GetValue(0, t) * 0.001f;
}

void CDIBCamera::SetLayerState(bool camera, bool billboard, float xyRate, float wRate) {
  Trace("CDIBCamera::SetLayerState");
  mbCamera = camera ? 1 : 0;
  mbBillboard = billboard ? 1 : 0;
  mfXYRate = xyRate;
  mfWRate = wRate;
}

bool CDIBCamera::IsCleared(const SprtVertex& quad) {
  Trace("CDIBCamera::IsCleared");
  if (quad.color != 0) return false;
  for (int i = 0; i < 4; ++i) {
    const SprtPoint& p = quad.dst[i];
    const SprtTexel& t = quad.src[i];
    if (p.x || p.y || p.z || t.u || t.v) return false;
  }
  return true;
}

void CDIBCamera::Transform(SprtVertex* quads, int count) {
  Trace("CDIBCamera::Transform");
  if (!mbCamera || !quads || count <= 0) return;
  CMatrix projection, view, m;
  projection.CreateProjectionMat(kFov, kEyeDistance, kNear, 1.0f);
  view.CreateViewMat(mEye, mLookAt, mUp);
  m.MulMatrix(view, projection);
  m.m[3][0] = m.m[3][0] * mfXYRate;
  m.m[3][1] = m.m[3][1] * mfXYRate;
  m.m[3][2] = m.m[3][2] * (1.0f - mfZoom * mfWRate);
  const CMatrix billboard = view.Transpose3();

  for (int n = 0; n < count; ++n) {
    SprtVertex& quad = quads[n];
    const float x0 = quad.dst[0].x, y0 = quad.dst[0].y, z0 = quad.dst[0].z;
    SprtPoint out[4];
    bool cleared = false;
    for (int i = 0; i < 4 && !cleared; ++i) {
      const SprtPoint& p = quad.dst[i];
      CVector q;
      if (mbBillboard) {
        const CVector d = billboard.MulVector(CVector(p.x - x0, p.y - y0, p.z - z0, 0.0f));
        q = CVector(x0 - 400.0f + d.x, y0 - 300.0f + d.y, z0 + d.z, 1.0f);
      } else {
        q = CVector(p.x - 400.0f, p.y - 300.0f, static_cast<float>(p.z), 1.0f);
      }
      const CVector r = m.MulVector(q);
      const float g = r.z / kEyeDistance;
      if (r.z == 0.0f || !(g > kNear)) {
        cleared = true;
        break;
      }
      // A point that does not come out as a finite number cannot be drawn
      // either.
      if (!ToPoint(r.x / g + 400.5f, &out[i].x) || !ToPoint(r.y / g + 300.5f, &out[i].y) ||
          !ToPoint(g, &out[i].z))
        cleared = true;
    }
    if (cleared) {
      quad = SprtVertex();
      quad.color = 0;
      continue;
    }
    for (int i = 0; i < 4; ++i) quad.dst[i] = out[i];
  }
}
