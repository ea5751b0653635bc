#include "assets/CpuFeatures.h"

namespace pix {

#if defined(__x86_64__) || defined(__i386__)

bool CpuHasSse2() {
  static const bool has = __builtin_cpu_supports("sse2");
  return has;
}

bool CpuHasAvx2() {
  static const bool has = __builtin_cpu_supports("avx2");
  return has;
}

#else

bool CpuHasSse2() { return false; }
bool CpuHasAvx2() { return false; }

#endif

}  // namespace pix
