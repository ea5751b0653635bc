#include "platform/Random.h"

namespace plat {
namespace {
uint32_t gState = 1;
}

void SRand(uint32_t seed) { gState = seed; }

int Rand() {
  gState = gState * 214013u + 2531011u;
  return static_cast<int>((gState >> 16) & kRandMax);
}

}  // namespace plat
