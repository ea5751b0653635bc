// Every vector row kernel against the plain reference, over many lengths,
// offsets and colours; the division trick of the tint over its whole range.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "assets/PixelRows.h"
#include "assets/PixelRules.h"

namespace {

std::vector<const pix::RowKernels*> VectorSets() {
  std::vector<const pix::RowKernels*> sets;
  if (pix::Sse2Rows()) sets.push_back(pix::Sse2Rows());
  if (pix::Avx2Rows()) sets.push_back(pix::Avx2Rows());
  return sets;
}

// Pixels that hit the rules' corners often: alpha 0 and 255, black, white.
uint32_t Pixel(std::mt19937& rng) {
  switch (rng() % 6) {
    case 0:
      return rng() & 0x00FFFFFFu;
    case 1:
      return rng() | 0xFF000000u;
    case 2:
      return 0xFFFFFFFFu;
    case 3:
      return 0;
    default:
      return rng();
  }
}

std::vector<uint32_t> Row(std::mt19937& rng, size_t n) {
  std::vector<uint32_t> row(n);
  for (auto& p : row) p = Pixel(rng);
  return row;
}

TEST(BlendKernel, TheChosenSetIsOneOfTheKnownSets) {
  const pix::RowKernels& chosen = pix::Rows();
  bool known = &chosen == &pix::ScalarRows() || &chosen == pix::Sse2Rows() || &chosen == pix::Avx2Rows();
  EXPECT_TRUE(known) << chosen.name;
#if defined(__x86_64__)
  EXPECT_NE(pix::Sse2Rows(), nullptr);
#endif
}

TEST(BlendKernel, DivisionBy255TrickIsExactOverEveryProductOfTwoBytes) {
  for (uint32_t s = 0; s < 256; ++s)
    for (uint32_t m = 0; m < 256; ++m) {
      uint32_t src = s | (s << 8) | (s << 16) | (s << 24);
      uint32_t mod = m | (m << 8) | (m << 16);
      uint32_t want = pix::Tint(src, mod);
      for (const pix::RowKernels* set : VectorSets()) {
        uint32_t in[8] = {src, src, src, src, src, src, src, src}, out[8];
        set->tint(out, in, 8, mod);
        ASSERT_EQ(out[0], want) << set->name << " s=" << s << " m=" << m;
        ASSERT_EQ(out[7], want) << set->name;
      }
    }
}

TEST(BlendKernel, EveryVectorKernelMatchesTheReference) {
  const pix::RowKernels& ref = pix::ScalarRows();
  std::mt19937 rng(20260608);
  for (const pix::RowKernels* set : VectorSets()) {
    for (int trial = 0; trial < 3000; ++trial) {
      size_t n = rng() % 70;
      size_t off = rng() % 9;  // unaligned starts
      std::vector<uint32_t> src = Row(rng, n + off), dst = Row(rng, n + off), other = Row(rng, n + off);
      std::vector<uint32_t> colors = Row(rng, n + off);
      uint32_t m = Pixel(rng), a = rng() % 256;
      const uint32_t* s = src.data() + off;

      auto a1 = dst, a2 = dst;
      ref.blend(a1.data() + off, s, n, m);
      set->blend(a2.data() + off, s, n, m);
      ASSERT_EQ(a1, a2) << set->name << " blend n=" << n << " m=" << std::hex << m;

      a1 = a2 = dst;
      ref.blendEach(a1.data() + off, s, colors.data() + off, n);
      set->blendEach(a2.data() + off, s, colors.data() + off, n);
      ASSERT_EQ(a1, a2) << set->name << " blendEach n=" << n;

      a1 = a2 = dst;
      ref.opaque(a1.data() + off, s, n, m);
      set->opaque(a2.data() + off, s, n, m);
      ASSERT_EQ(a1, a2) << set->name << " opaque n=" << n;

      a1 = a2 = dst;
      ref.tint(a1.data() + off, s, n, m);
      set->tint(a2.data() + off, s, n, m);
      ASSERT_EQ(a1, a2) << set->name << " tint n=" << n;

      a1 = a2 = dst;
      ref.fade(a1.data() + off, s, other.data() + off, n, a);
      set->fade(a2.data() + off, s, other.data() + off, n, a);
      ASSERT_EQ(a1, a2) << set->name << " fade n=" << n << " a=" << a;

      a1 = a2 = dst;
      ref.add(a1.data() + off, s, n, m);
      set->add(a2.data() + off, s, n, m);
      ASSERT_EQ(a1, a2) << set->name << " add n=" << n << " m=" << std::hex << m;

      a1 = a2 = dst;
      ref.fill(a1.data() + off, n, m);
      set->fill(a2.data() + off, n, m);
      ASSERT_EQ(a1, a2) << set->name << " fill n=" << n;
    }
  }
}

TEST(BlendKernel, SamplingMatchesTheReferenceFilteredAndUnfiltered) {
  const pix::RowKernels& ref = pix::ScalarRows();
  std::mt19937 rng(4242);
  for (const pix::RowKernels* set : VectorSets()) {
    for (int trial = 0; trial < 4000; ++trial) {
      int sw = 1 + rng() % 9, sh = 1 + rng() % 9;
      std::vector<uint32_t> src = Row(rng, static_cast<size_t>(sw) * sh);
      int n = 1 + rng() % 40;
      // Start and end anywhere inside the picture, fractions included, in
      // either direction.
      auto pos = [&](int size) { return static_cast<int64_t>(rng() % (static_cast<uint32_t>(size) << 16)); };
      int64_t u0 = pos(sw), v0 = pos(sh), u1 = pos(sw), v1 = pos(sh);
      int64_t du = (u1 - u0) / n, dv = (v1 - v0) / n;
      std::vector<uint32_t> a(n), b(n);
      ref.sampleBilinear(a.data(), src.data(), sw, sh, u0, v0, du, dv, n);
      set->sampleBilinear(b.data(), src.data(), sw, sh, u0, v0, du, dv, n);
      ASSERT_EQ(a, b) << set->name << " filtered " << sw << "x" << sh << " trial " << trial;
      ref.sampleNearest(a.data(), src.data(), sw, sh, u0, v0, du, dv, n);
      set->sampleNearest(b.data(), src.data(), sw, sh, u0, v0, du, dv, n);
      ASSERT_EQ(a, b) << set->name << " unfiltered " << sw << "x" << sh << " trial " << trial;
    }
  }
}

// Spans that stay on one source row (a stretch or a shift without
// rotation), which the vector sets read without a gather: every scale,
// shrinking, enlarging, unscaled (a copy) and mirrored.
TEST(BlendKernel, SamplingAlongOneRowMatchesTheReference) {
  const pix::RowKernels& ref = pix::ScalarRows();
  std::mt19937 rng(99);
  for (const pix::RowKernels* set : VectorSets()) {
    for (int trial = 0; trial < 3000; ++trial) {
      int sw = 1 + rng() % 300, sh = 1 + rng() % 5;
      std::vector<uint32_t> src = Row(rng, static_cast<size_t>(sw) * sh);
      int n = 1 + rng() % 200;
      int64_t v = rng() % (static_cast<uint32_t>(sh) << 16);
      int64_t du;
      switch (trial % 4) {
        case 0: du = 65536; break;
        case 1: du = rng() % 65536; break;
        case 2: du = 65536 + rng() % (65536 * 3); break;
        default: du = -static_cast<int64_t>(rng() % (65536 * 2)); break;
      }
      // A start from which every sample stays inside the row.
      int64_t span = du * (n - 1), limit = int64_t{sw} << 16;
      int64_t lo = std::max<int64_t>(0, -span), hi = std::min<int64_t>(limit, limit - span);
      if (hi <= lo) continue;
      int64_t u = lo + static_cast<int64_t>(rng() % static_cast<uint64_t>(hi - lo));
      std::vector<uint32_t> a(n), b(n);
      ref.sampleNearest(a.data(), src.data(), sw, sh, u, v, du, 0, n);
      set->sampleNearest(b.data(), src.data(), sw, sh, u, v, du, 0, n);
      ASSERT_EQ(a, b) << set->name << " du=" << du << " n=" << n << " trial " << trial;
    }
  }
}

// The widest pictures a quad can address (32768 pixels, the 16-bit corners'
// reach): positions up to 2^31 − 1 and steps of any size in 32-bit lanes
// must give the same samples as the 64-bit reference.
TEST(BlendKernel, SamplingMatchesTheReferenceAcrossTheWidestPictures) {
  const pix::RowKernels& ref = pix::ScalarRows();
  std::mt19937 rng(7);
  for (auto [sw, sh] : {std::pair{32768, 2}, {2, 32768}, {32767, 3}}) {
    std::vector<uint32_t> src = Row(rng, static_cast<size_t>(sw) * sh);
    for (const pix::RowKernels* set : VectorSets()) {
      for (int trial = 0; trial < 200; ++trial) {
        int n = 8 + rng() % 300;
        int64_t limitU = int64_t{sw} << 16, limitV = int64_t{sh} << 16;
        int64_t u0 = rng() % limitU, v0 = rng() % limitV;
        int64_t u1 = trial % 4 == 0 ? limitU - 1 : rng() % limitU, v1 = trial % 4 == 1 ? limitV - 1 : rng() % limitV;
        int64_t du = (u1 - u0) / n, dv = (v1 - v0) / n;
        std::vector<uint32_t> a(n), b(n);
        ref.sampleNearest(a.data(), src.data(), sw, sh, u0, v0, du, dv, n);
        set->sampleNearest(b.data(), src.data(), sw, sh, u0, v0, du, dv, n);
        ASSERT_EQ(a, b) << set->name << " unfiltered " << sw << "x" << sh;
        ref.sampleBilinear(a.data(), src.data(), sw, sh, u0, v0, du, dv, n);
        set->sampleBilinear(b.data(), src.data(), sw, sh, u0, v0, du, dv, n);
        ASSERT_EQ(a, b) << set->name << " filtered " << sw << "x" << sh;
      }
    }
  }
}

TEST(BlendKernel, KernelsTouchOnlyTheirRow) {
  for (const pix::RowKernels* set : VectorSets()) {
    for (size_t n = 0; n < 40; ++n) {
      std::vector<uint32_t> src(n + 2, 0xFF808080u), dst(n + 2, 0x12345678u);
      set->blend(dst.data() + 1, src.data() + 1, n, 0xFFFFFFFFu);
      set->opaque(dst.data() + 1, src.data() + 1, n, 0xFFFFFFFFu);
      set->fill(dst.data() + 1, n, 0);
      EXPECT_EQ(dst.front(), 0x12345678u) << set->name << " n=" << n;
      EXPECT_EQ(dst.back(), 0x12345678u) << set->name << " n=" << n;
    }
  }
}

}  // namespace
