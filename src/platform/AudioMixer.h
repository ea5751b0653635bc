// Mixing one buffer into the output: linear resampling to the output rate,
// the buffer's gain, and the sum into a 32-bit accumulator that is saturated
// to 16 bits at the end. Integer arithmetic only, so the output is the same
// on every machine.
#pragma once
#include <cstdint>

namespace plat {

// The part of a playing buffer the mixer reads and moves.
struct MixCursor {
  const int16_t* samples = nullptr;  // interleaved
  uint32_t frames = 0;               // sample frames in the buffer
  uint32_t channels = 1;
  uint64_t step = 0;                 // source frames per output frame, 32.32
  int32_t gain = 0;                  // 16.16; 65536 is unity
  bool looping = false;
  uint32_t pos = 0;                  // current frame
  uint32_t frac = 0;                 // fraction of the next frame, 0.32
};

// 32.32 step from a source rate to the output rate.
uint64_t MixStep(uint32_t sourceRate, uint32_t outputRate);
// 16.16 gain for a volume in hundredths of a decibel: 10^(v/2000); the
// minimum, -10000, is silence.
int32_t MixGain(int32_t volume);

struct MixResult {
  uint64_t consumed = 0;  // whole source frames passed
  bool ended = false;     // a buffer playing once reached its end
};

// Adds `outFrames` stereo frames of `c` into `acc` (2 × outFrames entries)
// and advances the cursor. A buffer playing once stops at its end; a looping
// one wraps.
MixResult MixInto(int32_t* acc, uint32_t outFrames, MixCursor& c);

// Saturates the accumulator into 16-bit output.
void MixSaturate(const int32_t* acc, int16_t* out, uint32_t samples);

}  // namespace plat
