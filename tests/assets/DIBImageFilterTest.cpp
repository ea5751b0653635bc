// The mosaic and the fog.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <vector>

#include "DIBImageTestUtil.h"
#include "platform/Random.h"

namespace {

void SetBlues(CDIBImage& img, const std::vector<int>& blues, uint32_t alpha) {
  img.Create(static_cast<int>(blues.size()), 1);
  for (size_t i = 0; i < blues.size(); ++i) img.GetPixels()[i] = (alpha << 24) | static_cast<uint32_t>(blues[i]);
}

std::vector<int> Blues(const CDIBImage& img) {
  std::vector<int> out;
  for (int i = 0; i < img.GetWidth() * img.GetHeight(); ++i) out.push_back(img.GetPixels()[i] & 0xFF);
  return out;
}

TEST(DIBImageMozaiku, CellsAverageTheirPixelsAndKeepAlpha) {
  CDIBImage img;
  SetBlues(img, {0, 40, 80, 120, 4, 8, 12}, 0x33);
  img.Mozaiku(4, false, false);
  EXPECT_EQ(Blues(img), (std::vector<int>{60, 60, 60, 60, 8, 8, 8}));
  EXPECT_EQ(img.GetPixels()[6] >> 24, 0x33u);
  // Nothing for a cell size below 1.
  img.Mozaiku(0, true, true);
  EXPECT_EQ(Blues(img), (std::vector<int>{60, 60, 60, 60, 8, 8, 8}));
}

TEST(DIBImageMozaiku, CentredCellsStartBeforeTheImageAndOverlap) {
  CDIBImage img;
  // 7 mod 4 = 3: the grid starts at −1 and cells are 5 wide, so the second
  // cell (columns 3 … 6) averages the first cell's result in column 3.
  SetBlues(img, {0, 40, 80, 120, 4, 8, 12}, 0xFF);
  img.Mozaiku(4, false, true);
  EXPECT_EQ(Blues(img), (std::vector<int>{60, 60, 60, 21, 21, 21, 21}));
}

TEST(DIBImageMozaiku, TwoDimensionalCellsRowByRow) {
  CDIBImage img;
  img.Create(3, 3);
  for (int i = 0; i < 9; ++i) img.GetPixels()[i] = 0xFF000000u | static_cast<uint32_t>(i * 10) << 16;
  img.Mozaiku(2, false, false);
  // Cells: {0,1,3,4} → 20, {2,5} → 35, {6,7} → 65, {8} → 80 (red channel).
  const int want[9] = {20, 20, 35, 20, 20, 35, 65, 65, 80};
  for (int i = 0; i < 9; ++i) EXPECT_EQ(static_cast<int>((img.GetPixels()[i] >> 16) & 0xFF), want[i]) << i;
}

TEST(DIBImageMozaiku, NoiseDrawsRedGreenBlueAndClamps) {
  plat::SRand(77);
  int r1 = plat::Rand(), g1 = plat::Rand(), b1 = plat::Rand();
  int r2 = plat::Rand(), g2 = plat::Rand(), b2 = plat::Rand();
  CDIBImage img;
  img.Create(4, 1);
  img.GetPixels()[0] = img.GetPixels()[1] = 0x80649632u;  // R 100, G 150, B 50
  img.GetPixels()[2] = img.GetPixels()[3] = 0x80FFFF00u;  // R 255, G 255, B 0
  plat::SRand(77);
  img.Mozaiku(2, true, false);
  auto clamp = [](int v) { return v < 0 ? 0 : v > 255 ? 255 : v; };
  uint32_t want1 = 0x80000000u | clamp(100 + r1 % 96 - 48) << 16 | clamp(150 + g1 % 96 - 48) << 8 |
                   clamp(50 + b1 % 96 - 48);
  uint32_t want2 = 0x80000000u | clamp(255 + r2 % 96 - 48) << 16 | clamp(255 + g2 % 96 - 48) << 8 |
                   clamp(0 + b2 % 96 - 48);
  EXPECT_EQ(img.GetPixels()[0], want1);
  EXPECT_EQ(img.GetPixels()[1], want1);
  EXPECT_EQ(img.GetPixels()[3], want2);
}

// The fog exactly as the rule reads: every pixel in raster order, each of
// B, G, R the mean of the 7 × 7 window (positions with 0 < x < w and
// 0 < y < h) with itself, reading the values already changed.
void ReferenceFog(std::vector<uint32_t>& t, int w, int h, int passes) {
  for (int pass = 0; pass < passes; ++pass)
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        for (int sh = 0; sh < 24; sh += 8) {
          int sum = 0, count = 0;
          for (int yy = y - 3; yy <= y + 3; ++yy)
            for (int xx = x - 3; xx <= x + 3; ++xx)
              if (xx > 0 && xx < w && yy > 0 && yy < h) {
                sum += (t[yy * w + xx] >> sh) & 0xFF;
                ++count;
              }
          uint32_t& p = t[y * w + x];
          int now = (sum / count + static_cast<int>((p >> sh) & 0xFF)) / 2;
          p = (p & ~(0xFFu << sh)) | static_cast<uint32_t>(now) << sh;
        }
}

TEST(DIBImageBefog, MatchesThePlainRuleOnManySizes) {
  std::mt19937 rng(31);
  const int sizes[][2] = {{2, 2}, {3, 7}, {8, 8}, {9, 4}, {17, 13}, {40, 3}};
  for (auto [w, h] : sizes)
    for (int passes = 1; passes <= 2; ++passes) {
      CDIBImage img;
      MakeRandom(img, w, h, rng);
      std::vector<uint32_t> want(img.GetPixels(), img.GetPixels() + w * h);
      ReferenceFog(want, w, h, passes);
      img.Befog(passes);
      ASSERT_EQ(std::vector<uint32_t>(img.GetPixels(), img.GetPixels() + w * h), want)
          << w << "x" << h << " passes " << passes;
    }
}

TEST(DIBImageBefog, AHugePassCountEndsOnceNothingChanges) {
  CDIBImage img;
  std::mt19937 rng(8);
  MakeRandom(img, 12, 10, rng);
  CDIBImage copy;
  copy.Create(12, 10);
  img.Copy(&copy, 0, 0, 0, 0, 12, 10);
  img.Befog(2000000000);
  copy.Befog(400);
  EXPECT_EQ(std::vector<uint32_t>(img.GetPixels(), img.GetPixels() + 120),
            std::vector<uint32_t>(copy.GetPixels(), copy.GetPixels() + 120));
}

TEST(DIBImageBefog, ColumnZeroAndRowZeroNeverContribute) {
  CDIBImage img;
  img.Create(5, 5);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 5; ++x) Px(img, x, y) = (x == 0 || y == 0) ? 0x40FFFFFFu : 0x40000000u;
  img.Befog(1);
  EXPECT_EQ(Px(img, 0, 0), 0x407F7F7Fu);  // (0 + 255) ÷ 2: its own mean ignores it
  EXPECT_EQ(Px(img, 1, 1), 0x40000000u);  // white neighbours do not count
  EXPECT_EQ(Px(img, 4, 4), 0x40000000u);
}

TEST(DIBImageBefog, OnePixelWideOrHighPicturesStayAsTheyAre) {
  for (auto [w, h] : {std::pair{1, 1}, std::pair{1, 9}, std::pair{9, 1}}) {
    CDIBImage img;
    std::mt19937 rng(w * 10 + h);
    MakeRandom(img, w, h, rng);
    std::vector<uint32_t> before(img.GetPixels(), img.GetPixels() + w * h);
    img.Befog(3);
    EXPECT_EQ(std::vector<uint32_t>(img.GetPixels(), img.GetPixels() + w * h), before) << w << "x" << h;
  }
}

}  // namespace
