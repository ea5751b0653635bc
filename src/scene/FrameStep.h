// The frame's step in milliseconds, which every animation of the scene
// advances by (a plain 30 when no application object exists, as in tools).
#pragma once
#include <algorithm>
#include <cstdint>

#include "app/core/MainWindow.h"

namespace scene {

inline int32_t FrameStep() { return gpMainWindow ? std::max(gpMainWindow->mFrameTime, 0) : 30; }

// a + b held within 32 bits.
inline int32_t AddClamped(int32_t a, int64_t b) {
  return static_cast<int32_t>(std::clamp<int64_t>(int64_t{a} + b, INT32_MIN, INT32_MAX));
}

}  // namespace scene
