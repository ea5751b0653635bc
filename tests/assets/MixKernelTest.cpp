// The mixes of two pictures: every vector set against the plain rules over
// many lengths, offsets, weights and strengths, and the plain rules against
// the arithmetic written out once more.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "assets/MixRows.h"

namespace {

std::vector<const pix::MixKernels*> VectorSets() {
  std::vector<const pix::MixKernels*> sets;
  if (pix::Sse2Mix()) sets.push_back(pix::Sse2Mix());
  if (pix::Avx2Mix()) sets.push_back(pix::Avx2Mix());
  return sets;
}

// Pixels and weights that hit the rules' corners often.
uint32_t Pixel(std::mt19937& rng) {
  switch (rng() % 5) {
    case 0: return 0;
    case 1: return 0xFFFFFFFFu;
    case 2: return rng() | 0xFF000000u;
    default: return rng();
  }
}

uint8_t Weight(std::mt19937& rng) {
  switch (rng() % 4) {
    case 0: return 0;
    case 1: return 255;
    default: return static_cast<uint8_t>(rng());
  }
}

TEST(MixKernel, ThePlainRulesFollowTheirArithmetic) {
  // Weight 0 keeps the old pixel whole; any other mixes colour by ÷256 and
  // makes it opaque.
  EXPECT_EQ(pix::MaskFade(0x12345678u, 0xFFFFFFFFu, 0), 0x12345678u);
  EXPECT_EQ(pix::MaskFade(0x00000000u, 0x00FFFFFFu, 255), 0xFFFEFEFEu);
  EXPECT_EQ(pix::MaskFade(0x00000000u, 0x00804020u, 128), 0xFF402010u);
  // ÷255 reaches both pictures exactly at the ends.
  EXPECT_EQ(pix::Fade255(0x12345678u, 0x9ABCDEF0u, 0), 0x12345678u);
  EXPECT_EQ(pix::Fade255(0x12345678u, 0x9ABCDEF0u, 255), 0x9ABCDEF0u);
  EXPECT_EQ(pix::Fade255(0x00000000u, 0xFFFFFFFFu, 51), 0x33333333u);
  // A fully opaque flash at full strength covers the cross-fade.
  EXPECT_EQ(pix::Flash(0x11111111u, 0x22222222u, 0xFF808080u, 0, 255), 0xFF808080u);
  // l = (0 + 100) ÷ 2 = 50 of a white flash over black.
  EXPECT_EQ(pix::Flash(0, 0, 0x00FFFFFFu, 0, 100), 0xFF323232u);
}

TEST(MixKernel, EveryVectorSetMatchesThePlainRules) {
  const pix::MixKernels& ref = pix::ScalarMix();
  std::mt19937 rng(77);
  for (const pix::MixKernels* set : VectorSets()) {
    for (int trial = 0; trial < 3000; ++trial) {
      const size_t n = rng() % 70, off = rng() % 9;  // unaligned starts
      std::vector<uint32_t> o(n + off), nw(n + off), f(n + off), d(n + off);
      std::vector<uint8_t> w(n + off);
      for (size_t i = 0; i < n + off; ++i) {
        o[i] = Pixel(rng);
        nw[i] = Pixel(rng);
        f[i] = Pixel(rng);
        d[i] = Pixel(rng);
        w[i] = Weight(rng);
      }
      const uint32_t a = rng() % 300, strength = rng() % 300;  // above 255 counts as 255
      auto want = d, got = d;
      ref.maskFade(want.data() + off, o.data() + off, nw.data() + off, w.data() + off, n);
      set->maskFade(got.data() + off, o.data() + off, nw.data() + off, w.data() + off, n);
      ASSERT_EQ(want, got) << set->name << " maskFade n=" << n;
      want = got = d;
      const uint32_t threshold = rng() % 300;
      ref.maskSelect(want.data() + off, o.data() + off, nw.data() + off, w.data() + off, n, threshold);
      set->maskSelect(got.data() + off, o.data() + off, nw.data() + off, w.data() + off, n, threshold);
      ASSERT_EQ(want, got) << set->name << " maskSelect n=" << n << " threshold=" << threshold;
      want = got = d;
      ref.fade255(want.data() + off, o.data() + off, nw.data() + off, n, a);
      set->fade255(got.data() + off, o.data() + off, nw.data() + off, n, a);
      ASSERT_EQ(want, got) << set->name << " fade255 n=" << n << " a=" << a;
      want = got = d;
      ref.flash(want.data() + off, o.data() + off, nw.data() + off, f.data() + off, n, a, strength);
      set->flash(got.data() + off, o.data() + off, nw.data() + off, f.data() + off, n, a, strength);
      ASSERT_EQ(want, got) << set->name << " flash n=" << n << " a=" << a << " strength=" << strength;
    }
  }
}

TEST(MixKernel, TheChosenSetIsOneOfTheKnownSets) {
  const pix::MixKernels& chosen = pix::Mix();
  EXPECT_TRUE(&chosen == &pix::ScalarMix() || &chosen == pix::Sse2Mix() || &chosen == pix::Avx2Mix()) << chosen.name;
}

}  // namespace
