// The fire's vector rows against the plain ones: random rows of heat near
// the rules' edges (cold, barely warm, negative, beyond the palette, near
// the vector's limit), every add, and both cooling kinds.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "scene/DIBFire.h"
#include "scene/FireRows.h"

namespace {

int32_t Heat(std::mt19937& rng) {
  switch (rng() % 8) {
    case 0: return 0;
    case 1: return static_cast<int32_t>(rng() % 40);  // around the cooling threshold
    case 2: return -static_cast<int32_t>(rng() % 50);
    case 3: return static_cast<int32_t>(rng() % 800);
    case 4: return static_cast<int32_t>(rng() % 20000);
    case 5: return static_cast<int32_t>(rng() % (1 << 28)) - (1 << 27);
    default: return static_cast<int32_t>(rng() % 1000) + 10000;
  }
}

TEST(FireRowsTest, TheVectorRowsCarryAndColourExactlyAsThePlainOnes) {
  const scene::FireKernels* vec = scene::Avx2Fire();
  if (!vec) GTEST_SKIP() << "no vector set on this processor";
  const scene::FireKernels& plain = scene::ScalarFire();
  std::mt19937 rng(3);
  for (int round = 0; round < 2000; ++round) {
    const int width = 3 + static_cast<int>(rng() % 60);
    std::vector<int32_t> row(width), below(width), up(width);
    for (int x = 0; x < width; ++x) {
      row[x] = Heat(rng);
      below[x] = Heat(rng);
      up[x] = Heat(rng);
    }
    // Cells whose sources cancel out to 0 exercise the shaped fire's rule.
    if (round % 3 == 0)
      for (int x = 1; x + 1 < width; x += 2) below[x] = -(row[x - 1] + row[x + 1] + row[x]);
    for (bool cool : {true, false}) {
      std::vector<int32_t> a = up, b = up;
      plain.carry(a.data(), row.data(), below.data(), width, cool);
      vec->carry(b.data(), row.data(), below.data(), width, cool);
      ASSERT_EQ(a, b) << "round " << round << " cool " << cool;
    }
    const bool add = rng() % 2 == 0;
    const int r = add ? static_cast<int>(rng() % 511) - 255 : 0, g = add ? static_cast<int>(rng() % 511) - 255 : 0,
              bl = add ? static_cast<int>(rng() % 511) - 255 : 0;
    std::vector<uint32_t> pa(width), pb(width);
    plain.pixels(pa.data(), row.data(), row.size(), add, r, g, bl);
    vec->pixels(pb.data(), row.data(), row.size(), add, r, g, bl);
    ASSERT_EQ(pa, pb) << "round " << round;
  }
  // Every heat of the palette and beyond, without adds: the alpha's
  // division by 767 done by multiplication.
  std::vector<int32_t> all(900);
  for (int h = 0; h < 900; ++h) all[h] = h - 10;
  std::vector<uint32_t> pa(all.size()), pb(all.size());
  plain.pixels(pa.data(), all.data(), all.size(), false, 0, 0, 0);
  vec->pixels(pb.data(), all.data(), all.size(), false, 0, 0, 0);
  EXPECT_EQ(pa, pb);
}

// A grid holding heats too large for the vector carry still runs, on the
// plain rows, with the plain results.
TEST(FireRowsTest, HugeHeatsFallBackToThePlainCarry) {
  CDIBFire fire;
  ASSERT_TRUE(fire.Initialize());
  fire.SetBaseHeat(0);
  fire.SetHeat(10, 5, 2000000000);
  fire.SetHeat(11, 5, 2000000000);
  fire.SetHeat(12, 5, 2000000000);
  fire.SetHeat(11, 6, 2000000000);
  fire.SetMove(true, false);
  fire.Tick();
  // (2e9 × 4) ÷ 4 − 7, without wrapping around in 32 bits.
  EXPECT_EQ(fire.GetHeat(11, 4), 2000000000 - 7);
}

}  // namespace
