#include "platform/AudioMixer.h"

#include <cmath>

namespace plat {

uint64_t MixStep(uint32_t sourceRate, uint32_t outputRate) {
  if (outputRate == 0) return 0;
  return (static_cast<uint64_t>(sourceRate) << 32) / outputRate;
}

int32_t MixGain(int32_t volume) {
  if (volume <= -10000) return 0;
  if (volume >= 0) return 65536;
  return static_cast<int32_t>(std::lround(std::pow(10.0, volume / 2000.0) * 65536.0));
}

MixResult MixInto(int32_t* acc, uint32_t outFrames, MixCursor& c) {
  MixResult r;
  if (c.frames == 0 || !c.samples) {
    r.ended = !c.looping;
    return r;
  }
  const uint32_t stepInt = static_cast<uint32_t>(c.step >> 32);
  const uint32_t stepFrac = static_cast<uint32_t>(c.step);
  const uint32_t ch = c.channels;
  const uint32_t right = ch > 1 ? 1 : 0;  // mono feeds both sides
  const int64_t gain = c.gain;
  uint32_t pos = c.pos;
  uint32_t frac = c.frac;
  for (uint32_t i = 0; i < outFrames; ++i) {
    uint32_t next = pos + 1;
    if (next >= c.frames) next = c.looping ? 0 : pos;
    const int16_t* a = c.samples + static_cast<size_t>(pos) * ch;
    const int16_t* b = c.samples + static_cast<size_t>(next) * ch;
    const int64_t f = frac >> 16;
    int64_t l = a[0] + (((b[0] - a[0]) * f) >> 16);
    int64_t rt = a[right] + (((b[right] - a[right]) * f) >> 16);
    acc[2 * i] += static_cast<int32_t>((l * gain) >> 16);
    acc[2 * i + 1] += static_cast<int32_t>((rt * gain) >> 16);

    uint32_t old = frac;
    frac += stepFrac;
    uint64_t advance = static_cast<uint64_t>(stepInt) + (frac < old ? 1 : 0);
    r.consumed += advance;
    uint64_t p = pos + advance;
    if (p >= c.frames) {
      if (!c.looping) {
        r.consumed -= p - c.frames;  // nothing exists past the end
        r.ended = true;
        pos = 0;
        frac = 0;
        break;
      }
      p %= c.frames;
    }
    pos = static_cast<uint32_t>(p);
  }
  c.pos = pos;
  c.frac = frac;
  return r;
}

void MixSaturate(const int32_t* acc, int16_t* out, uint32_t samples) {
  for (uint32_t i = 0; i < samples; ++i) {
    int32_t v = acc[i];
    out[i] = static_cast<int16_t>(v > 32767 ? 32767 : (v < -32768 ? -32768 : v));
  }
}

}  // namespace plat
