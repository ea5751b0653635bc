// The fire's per-cell work a row at a time: carrying heat up one row, and
// turning heat into pixels. The vector set computes exactly what the plain
// one does.
#pragma once
#include <cstddef>
#include <cstdint>

namespace scene {

struct FireKernels {
  const char* name;
  // Cells 1 … width − 2 of the row above `row`: (below + left + right +
  // itself) ÷ 4 − 7, or 0 below an average of 8; with `coolCold` clear a
  // cell whose four sources sum to 0 keeps its value. The vector set needs
  // every heat within ±2^28 (four of them must add up in 32 bits).
  void (*carry)(int32_t* up, const int32_t* row, const int32_t* below, int width, bool coolCold);
  // Pixels of n heat values: 0 for no heat, else the palette colour of the
  // heat (at most 767) with alpha heat × 128 ÷ 767, or with the adds added
  // (each channel held to 0 … 255) and alpha 255 when `add` is set.
  void (*pixels)(uint32_t* out, const int32_t* heat, size_t n, bool add, int addRed, int addGreen, int addBlue);
};

// Heats the vector carry takes.
constexpr int64_t kFireVectorHeat = int64_t{1} << 28;

const FireKernels& ScalarFire();
// Null without AVX2.
const FireKernels* Avx2Fire();
const FireKernels& Fire();

}  // namespace scene
