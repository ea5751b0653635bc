#include "scene/FireRows.h"

#include <algorithm>

#include "scene/DIBFire.h"

namespace scene {
namespace {

void Carry(int32_t* up, const int32_t* row, const int32_t* below, int width, bool coolCold) {
  for (int x = 1; x <= width - 2; ++x) {
    const int64_t sum = static_cast<int64_t>(below[x]) + row[x - 1] + row[x + 1] + row[x];
    if (sum == 0 && !coolCold) continue;
    const int64_t average = sum / 4;
    up[x] = average < 8 ? 0 : static_cast<int32_t>(average - 7);
  }
}

void Pixels(uint32_t* out, const int32_t* heat, size_t n, bool add, int addRed, int addGreen, int addBlue) {
  for (size_t i = 0; i < n; ++i) {
    if (heat[i] <= 0) {
      out[i] = 0;
      continue;
    }
    const int32_t h = std::min(heat[i], CDIBFire::kMaxHeat);
    uint32_t colour = CDIBFire::Palette(h);
    uint32_t alpha = static_cast<uint32_t>(h * 128 / CDIBFire::kMaxHeat);
    if (add) {
      const int r = std::clamp(static_cast<int>((colour >> 16) & 0xFF) + addRed, 0, 255);
      const int g = std::clamp(static_cast<int>((colour >> 8) & 0xFF) + addGreen, 0, 255);
      const int b = std::clamp(static_cast<int>(colour & 0xFF) + addBlue, 0, 255);
      colour = static_cast<uint32_t>(r << 16 | g << 8 | b);
      alpha = 255;
    }
    out[i] = alpha << 24 | colour;
  }
}

}  // namespace

const FireKernels& ScalarFire() {
  static const FireKernels set{"scalar", Carry, Pixels};
  return set;
}

const FireKernels& Fire() {
  static const FireKernels& set = Avx2Fire() ? *Avx2Fire() : ScalarFire();
  return set;
}

}  // namespace scene
