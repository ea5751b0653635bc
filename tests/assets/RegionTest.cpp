// Regions: the same pixels as a set of rectangles would cover, in one
// canonical banded list; the image's dirty-region operations.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "assets/DIBImage.h"
#include "assets/Region.h"

using plat::RECT;

namespace {

constexpr int kGrid = 24;

struct Model {
  std::vector<bool> on = std::vector<bool>(kGrid * kGrid, false);
  void Set(const RECT& r, bool value) {
    for (int y = std::max(r.top, 0); y < std::min(r.bottom, kGrid); ++y)
      for (int x = std::max(r.left, 0); x < std::min(r.right, kGrid); ++x) on[y * kGrid + x] = value;
  }
};

// Disjoint, sorted by band, bands with one top and bottom, no touching spans
// in a band, and no two touching bands with the same columns.
void ExpectBanded(const std::vector<RECT>& rects) {
  for (size_t i = 0; i < rects.size(); ++i) {
    const RECT& r = rects[i];
    ASSERT_LT(r.left, r.right);
    ASSERT_LT(r.top, r.bottom);
    if (i == 0) continue;
    const RECT& p = rects[i - 1];
    if (p.top == r.top) {
      ASSERT_EQ(p.bottom, r.bottom);
      ASSERT_LT(p.right, r.left);
    } else {
      ASSERT_LE(p.bottom, r.top);
    }
  }
}

TEST(Region, UnionAndSubtractionCoverWhatTheRectanglesCover) {
  std::mt19937 rng(17);
  for (int trial = 0; trial < 300; ++trial) {
    CRegion region;
    Model model;
    for (int step = 0; step < 30; ++step) {
      int l = rng() % kGrid - 2, t = rng() % kGrid - 2;
      RECT r{l, t, l + static_cast<int>(rng() % 12), t + static_cast<int>(rng() % 12)};
      bool sub = rng() % 3 == 0;
      if (sub)
        region.Subtract(r);
      else
        region.Add(r);
      model.Set(r, !sub);
    }
    ExpectBanded(region.Rects());
    long long area = 0;
    for (int y = -3; y < kGrid + 12; ++y)
      for (int x = -3; x < kGrid + 12; ++x) {
        bool want = x >= 0 && y >= 0 && x < kGrid && y < kGrid && model.on[y * kGrid + x];
        // The model only tracks the grid; the region may hold more outside.
        if (x >= 0 && y >= 0 && x < kGrid && y < kGrid) {
          ASSERT_EQ(region.Contains(x, y), want) << trial;
        }
        area += region.Contains(x, y);
      }
    ASSERT_EQ(area, region.Area());
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
