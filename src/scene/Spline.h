// Natural cubic splines at unit spacing through up to 100 points, three
// channels at once (a camera path's x, y, z; or one channel of zooms).
#pragma once
#include <cstdint>

class CSpline {
 public:
  static constexpr int kMaxPoints = 100;
  static constexpr int kChannels = 3;

  CSpline() = default;

  // No points.
  void Clear();
  // Appends one point (a value per channel); false when full.
  bool Add(float v0, float v1 = 0.0f, float v2 = 0.0f);
  // Solves every channel for its segment coefficients.
  void Setup();
  // The curve at t (0 … 1 over all points): exactly the first value at 0,
  // the last one at 1 and beyond. 0 without points.
  float GetValue(int channel, float t) const;

  int GetCount() const { return mnCount; }

 protected:
  // Per channel and point: value + b u + c u² + d u³ on the segment that
  // starts at the point.
  float mA[kChannels][kMaxPoints] = {};
  float mB[kChannels][kMaxPoints] = {};
  float mC[kChannels][kMaxPoints] = {};
  float mD[kChannels][kMaxPoints] = {};
  int32_t mnCount = 0;
};
