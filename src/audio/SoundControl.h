// Main-thread control rules the sound classes share: nested pause requests
// and the frame-by-frame stepping of fades (mode 1 fades in, mode 2 fades
// out, 0 is none).
#pragma once
#include <algorithm>
#include <cstdint>

// Counts a pause request (`on`) or its release. True when `paused` changes:
// at the first request, and at the release of the last one.
inline bool StepPauseCount(int32_t& count, bool& paused, bool on) {
  if (on ? ++count > 1 : --count > 0) return false;
  if (paused == on) return false;
  paused = on;
  return true;
}

// The step `level` (0..255) at `count` of a fade of `time` milliseconds:
// rising over a fade-in, falling over a fade-out; unchanged without a time.
inline uint64_t FadedLevel(uint64_t level, int32_t mode, uint32_t count, uint32_t time) {
  if (time != 0) {
    if (mode == 1) level = level * count / time;
    if (mode == 2) level = level - level * count / time;
  }
  return level;
}

// One frame of a fade. `apply` sets the volume for the count reached so
// far; then the count moves on by `elapsed`, held at the time. A fade that
// had already reached its time is over: mode 0, and a fade-out calls
// `finish` (which stops the sound) first.
template <class Apply, class Finish>
void StepFade(int32_t& mode, uint32_t& count, uint32_t time, uint32_t elapsed, Apply apply, Finish finish) {
  if (mode != 1 && mode != 2) return;
  apply();
  if (count < time) {
    count = std::min(count + elapsed, time);
    return;
  }
  if (mode == 2) finish();
  mode = 0;
}
