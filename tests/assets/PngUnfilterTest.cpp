// The vector unfiltering against the plain rules: every filter type, both
// pixel sizes, random rows above and below (so every Paeth tie and every
// carry of the average shows up), many lengths.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "assets/PngUnfilter.h"

namespace {

TEST(PngUnfilter, VectorRowsMatchThePlainRules) {
  std::mt19937 rng(2718);
  for (int trial = 0; trial < 6000; ++trial) {
    const size_t bpp = trial % 2 ? 4 : 3, pixels = 1 + rng() % 90, bytes = pixels * bpp;
    const uint8_t type = static_cast<uint8_t>(trial % 5);
    // Small values make ties and equal neighbours common.
    const unsigned range = trial % 3 == 0 ? 4 : 256;
    std::vector<uint8_t> prior(bytes), row(bytes);
    for (auto& b : prior) b = static_cast<uint8_t>(rng() % range);
    for (auto& b : row) b = static_cast<uint8_t>(rng() % range);
    std::vector<uint8_t> expected = row, got = row;
    ASSERT_TRUE(png::UnfilterRowReference(type, expected.data(), prior.data(), bytes, bpp));
    ASSERT_TRUE(png::UnfilterRow(type, got.data(), prior.data(), bytes, bpp));
    ASSERT_EQ(got, expected) << "type " << int{type} << " bpp " << bpp << " pixels " << pixels;
  }
  // A type PNG does not have is refused and leaves the row alone.
  std::vector<uint8_t> prior(8, 1), row(8, 2);
  EXPECT_FALSE(png::UnfilterRow(5, row.data(), prior.data(), 8, 4));
  EXPECT_EQ(row, std::vector<uint8_t>(8, 2));
}

}  // namespace
