// Regions: the same pixels as a set of rectangles would cover, in one
// canonical banded list; the image's dirty-region operations.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "assets/DIBImage.h"
#include "assets/Region.h"

using plat::RECT;

namespace {

// Every pixel the random rectangles can reach: [kLow, kHigh) on both axes.
constexpr int kLow = -4, kHigh = 40, kSide = kHigh - kLow;

struct Model {
  std::vector<bool> on = std::vector<bool>(kSide * kSide, false);
  bool At(int x, int y) const { return on[(y - kLow) * kSide + (x - kLow)]; }
  void Set(const RECT& r, bool value) {
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) on[(y - kLow) * kSide + (x - kLow)] = value;
  }
  // The one banded list of these pixels: runs of each row, rows with the
  // same runs joined.
  std::vector<RECT> Bands() const {
    std::vector<RECT> out;
    std::vector<RECT> last;
    for (int y = kLow; y < kHigh; ++y) {
      std::vector<RECT> row;
      for (int x = kLow; x < kHigh; ++x)
        if (At(x, y) && (x == kLow || !At(x - 1, y))) {
          int e = x;
          while (e < kHigh && At(e, y)) ++e;
          row.push_back(RECT{x, y, e, y + 1});
        }
      bool same = !last.empty() && row.size() == last.size() && last[0].bottom == y;
      for (size_t i = 0; same && i < row.size(); ++i) same = row[i].left == last[i].left && row[i].right == last[i].right;
      if (same) {
        for (RECT& r : last) r.bottom = y + 1;
        for (size_t i = 0; i < row.size(); ++i) out[out.size() - row.size() + i].bottom = y + 1;
      } else {
        out.insert(out.end(), row.begin(), row.end());
        last = row;
      }
    }
    return out;
  }
};

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(Region, UnionAndSubtractionGiveTheOneBandedListOfTheirPixels) {
  std::mt19937 rng(17);
  for (int trial = 0; trial < 300; ++trial) {
    CRegion region;
    Model model;
    for (int step = 0; step < 30; ++step) {
      int l = static_cast<int>(rng() % 30) - 4, t = static_cast<int>(rng() % 30) - 4;
      RECT r{l, t, l + static_cast<int>(rng() % 10), t + static_cast<int>(rng() % 10)};
      bool sub = rng() % 3 == 0;
      if (sub)
        region.Subtract(r);
      else
        region.Add(r);
      model.Set(r, !sub);
    }
    std::vector<RECT> want = model.Bands();
    const std::vector<RECT>& got = region.Rects();
    ASSERT_EQ(got.size(), want.size()) << "trial " << trial;
    for (size_t i = 0; i < want.size(); ++i) ASSERT_TRUE(SameRect(got[i], want[i])) << "trial " << trial << " rect " << i;
    long long area = 0;
    for (bool b : model.on) area += b;
    ASSERT_EQ(region.Area(), area);
  }
}

TEST(Region, TheSameAreaGivesTheSameListWhateverTheOrder) {
  const RECT parts[] = {{0, 0, 10, 5}, {10, 0, 20, 5}, {0, 5, 20, 10}, {5, 2, 15, 8}};
  CRegion a, b;
  for (const RECT& r : parts) a.Add(r);
  for (int i = 3; i >= 0; --i) b.Add(parts[i]);
  ASSERT_EQ(a.Rects().size(), 1u);
  EXPECT_EQ(a.Rects()[0].right, 20);
  EXPECT_EQ(a.Rects()[0].bottom, 10);
  ASSERT_EQ(b.Rects().size(), 1u);
  // A hole in the middle: three bands, the middle one in two pieces.
  a.Subtract(RECT{5, 3, 8, 6});
  ASSERT_EQ(a.Rects().size(), 4u);
  EXPECT_EQ(a.Rects()[1].right, 5);
  EXPECT_EQ(a.Rects()[2].left, 8);
  EXPECT_EQ(a.Bounds().right, 20);
  CRegion c = a;
  c.Subtract(a);
  EXPECT_TRUE(c.IsEmpty());
  c.Add(a);
  c.Subtract(c);
  EXPECT_TRUE(c.IsEmpty());
}

TEST(Region, DozensOfRectanglesAFrameStayFewAndExact) {
  CRegion region;
  // A screen's controls: a grid of buttons added every frame.
  for (int frame = 0; frame < 50; ++frame) {
    region.Subtract(RECT{0, 0, 799, 599});
    for (int i = 0; i < 40; ++i) {
      int x = (i % 8) * 100, y = (i / 8) * 110;
      region.Add(RECT{x, y, x + 90, y + 40});
    }
  }
  EXPECT_EQ(region.Area(), 40LL * 90 * 40);
  EXPECT_EQ(region.Rects().size(), 40u);
}

TEST(DIBImageRegion, FullRegionOfAnEmptyRegionIsOneRectangleShortOfTheEdges) {
  CDIBImage img;
  img.Create(800, 600);
  img.UpdateRegionData();
  EXPECT_EQ(img.GetRegionData(), nullptr);  // no region made yet
  img.FullRGN();
  img.CreateRGN();
  img.FullRGN();
  img.UpdateRegionData();
  const RegionData* data = img.GetRegionData();
  ASSERT_NE(data, nullptr);
  ASSERT_EQ(data->rects.size(), 1u);
  EXPECT_EQ(data->rects[0].left, 0);
  EXPECT_EQ(data->rects[0].top, 0);
  EXPECT_EQ(data->rects[0].right, 799);
  EXPECT_EQ(data->rects[0].bottom, 599);
  EXPECT_EQ(data->bound.right, 799);
}

TEST(DIBImageRegion, ClearLeavesTheLastColumnAndRow) {
  CDIBImage img;
  img.Create(10, 8);
  img.CreateRGN();
  img.AddRGN(0, 0, 10, 8);
  img.ClearRGN();
  CRegion* rgn = img.GetRGN();
  EXPECT_EQ(rgn->Area(), 10 + 8 - 1);
  EXPECT_TRUE(rgn->Contains(9, 0));
  EXPECT_TRUE(rgn->Contains(0, 7));
  EXPECT_FALSE(rgn->Contains(8, 6));
}

TEST(DIBImageRegion, QuadAddsItsBoundingBoxOnePastTheLargestPoint) {
  CDIBImage img;
  img.Create(100, 100);
  img.CreateRGN();
  SprtVertex v;
  v.dst[0] = SprtPoint{10, 20, 0};
  v.dst[1] = SprtPoint{30, 5, 0};
  v.dst[2] = SprtPoint{25, 40, 0};
  v.dst[3] = SprtPoint{-4, 22, 0};
  img.AddRGN(v);
  img.UpdateRegionData();
  const RegionData* data = img.GetRegionData();
  ASSERT_EQ(data->rects.size(), 1u);
  EXPECT_EQ(data->rects[0].left, -4);
  EXPECT_EQ(data->rects[0].top, 5);
  EXPECT_EQ(data->rects[0].right, 31);
  EXPECT_EQ(data->rects[0].bottom, 41);
  // A later update replaces the block; merging another region adds to it.
  CRegion other;
  other.Add(RECT{50, 50, 60, 60});
  img.MergeRGN(&other);
  img.MergeRGN(nullptr);
  img.UpdateRegionData();
  EXPECT_EQ(img.GetRegionData()->rects.size(), 2u);
  EXPECT_EQ(img.GetRegionData()->bound.right, 60);
}

TEST(DIBImageRegion, WithoutARegionNothingHappens) {
  CDIBImage img;
  img.Create(4, 4);
  img.AddRGN(0, 0, 2, 2);
  img.ClearRGN();
  CRegion other;
  img.MergeRGN(&other);
  EXPECT_EQ(img.GetRGN(), nullptr);
}

}  // namespace
