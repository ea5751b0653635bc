// The engine's one random generator: the classic C-runtime sequence
// (state × 214013 + 2531011, result bits 16–30), so that every draw the game
// makes (weather, transitions, the scenario's RANDOM) comes from one stream
// that is the same on every machine and C library. Seeded once at start-up;
// main thread only.
#pragma once
#include <cstdint>

namespace plat {

constexpr int kRandMax = 0x7FFF;

// Restarts the sequence; the C runtime's initial state is seed 1.
void SRand(uint32_t seed);
// The next value, 0 … 32767.
int Rand();

}  // namespace plat
