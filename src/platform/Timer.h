// The millisecond clock of the frame loop. Real runs read a monotonic clock;
// fixed-step runs read a virtual clock that only moves when the loop waits,
// so every frame is exactly one frame period of game time and nothing sleeps.
#pragma once
#include <cstdint>

namespace plat {

// Milliseconds, 32 bits, wrapping like the multimedia timer.
uint32_t timeGetTime();

// Switches the clock to virtual time starting at `start` (fixed-step runs and
// tests); `false` returns to the real clock.
void SetVirtualClock(bool on, uint32_t start = 0);
bool IsVirtualClock();
// Moves virtual time forward; ignored on the real clock.
void AdvanceVirtualClock(uint32_t ms);

// Sleeps for `ms` on the real clock, advances the virtual clock otherwise.
void Sleep(uint32_t ms);

}  // namespace plat
