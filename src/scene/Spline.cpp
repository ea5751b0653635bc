#include "scene/Spline.h"

#include <algorithm>
#include <cmath>

#include "app/core/Trace.h"

namespace {
// The float nearest one third, which the curve's cubic terms are built with.
constexpr float kThird = 0.33333334f;
}  // namespace

void CSpline::Clear() {
  Trace("CSpline::Clear");
  mnCount = 0;
}

bool CSpline::Add(float v0, float v1, float v2) {
  Trace("CSpline::Add");
  if (mnCount >= kMaxPoints) return false;
  mA[0][mnCount] = v0;
  mA[1][mnCount] = v1;
  mA[2][mnCount] = v2;
  ++mnCount;
  return true;
}

void CSpline::Setup() {
  Trace("CSpline::Setup");
  const int n = mnCount;
  for (int ch = 0; ch < kChannels; ++ch) {
    const float* y = mA[ch];
    float* b = mB[ch];
    float* c = mC[ch];
    float* d = mD[ch];
    for (int i = 0; i < n; ++i) b[i] = c[i] = d[i] = 0.0f;
    if (n < 2) continue;
    // c(i−1) + 4 c(i) + c(i+1) = 3 (y(i−1) − 2 y(i) + y(i+1)) for the inner
    // points, c at both ends 0: forward elimination with pivots
    // 1 ÷ (4 − previous pivot), then back substitution.
    float pivot[kMaxPoints] = {};
    float g[kMaxPoints] = {};
    float previous = 0.0f, gPrevious = 0.0f;
    for (int i = 1; i <= n - 2; ++i) {
      const float r = ((y[i - 1] - 2.0f * y[i]) + y[i + 1]) * 3.0f;
      pivot[i] = 1.0f / (4.0f - previous);
      g[i] = (r - gPrevious) * pivot[i];
      previous = pivot[i];
      gPrevious = g[i];
    }
    c[0] = 0.0f;
    c[n - 1] = 0.0f;
    for (int i = n - 2; i >= 1; --i) c[i] = g[i] - pivot[i] * c[i + 1];
    for (int i = 0; i <= n - 2; ++i) {
      d[i] = (c[i + 1] - c[i]) * kThird;
      b[i] = ((y[i + 1] - y[i]) - c[i]) - d[i];
    }
  }
}

float CSpline::GetValue(int channel, float t) const {
  Trace("CSpline::GetValue");
  if (channel < 0 || channel >= kChannels || mnCount <= 0) return 0.0f;
  const int n = mnCount;
  if (!(t < 1.0f) || n == 1) return mA[channel][n - 1];
  const float x = t * static_cast<float>(n - 1);
  // The segment, kept inside the curve for any t (a negative one
  // extrapolates the first segment).
  int s = x < 1.0f ? 0 : static_cast<int>(std::floor(x));
  s = std::clamp(s, 0, n - 2);
  const float u = x - static_cast<float>(s);
  return mA[channel][s] + u * (mB[channel][s] + u * (mC[channel][s] + u * mD[channel][s]));
}
