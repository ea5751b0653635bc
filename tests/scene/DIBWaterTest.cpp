// The ripple simulation: the spreading rule worked out by hand, the tick
// carry, drops beside the picture, and the mesh blending every target pixel
// exactly once.
#include "scene/DIBWater.h"

#include <gtest/gtest.h>

#include "assets/PixelRules.h"

namespace {

TEST(DIBWater, TheGridFollowsTheLongerSide) {
  CDIBWater water;
  ASSERT_TRUE(water.Initialize(800, 600));
  EXPECT_EQ(water.GetColumns(), 50);
  EXPECT_EQ(water.GetRows(), 37);
  ASSERT_TRUE(water.Initialize(100, 400));
  EXPECT_EQ(water.GetColumns(), 12);
  EXPECT_EQ(water.GetRows(), 50);
  // A sliver still has a quad each way; nothing at all is refused.
  ASSERT_TRUE(water.Initialize(1000, 1));
  EXPECT_EQ(water.GetRows(), 2);
  EXPECT_FALSE(water.Initialize(0, 10));
}

TEST(DIBWater, EachCellTakesAQuarterOfItsNeighboursLessItsPastDamped) {
  CDIBWater water;
  ASSERT_TRUE(water.Initialize(800, 600));
  water.SetHeightAt(5, 5, 400);
  water.Tick();
  // Every neighbour of the raised cell: 400 ÷ 4 − 0, less a thirtieth.
  for (auto [r, c] : {std::pair{4, 4}, {4, 5}, {4, 6}, {5, 4}, {5, 6}, {6, 4}, {6, 5}, {6, 6}})
    EXPECT_EQ(water.GetHeightAt(r, c), 100 - 100 / 30) << r << "," << c;
  EXPECT_EQ(water.GetHeightAt(5, 5), 0);
  EXPECT_EQ(water.GetHeightAt(5, 8), 0);
  water.Tick();
  // The raised cell's past (400) outweighs its neighbours: no trough.
  EXPECT_EQ(water.GetHeightAt(5, 5), 0);
  // Three neighbours of 97: 291 ÷ 4 − 0 = 72, less 72 ÷ 30.
  EXPECT_EQ(water.GetHeightAt(5, 7), 72 - 72 / 30);
}

TEST(DIBWater, TimeRunsInTicksOf33MillisecondsWithTheRestCarried) {
  CDIBWater water, byHand;
  ASSERT_TRUE(water.Initialize(200, 200));
  ASSERT_TRUE(byHand.Initialize(200, 200));
  water.SetHeightAt(20, 20, 3000);
  byHand.SetHeightAt(20, 20, 3000);
  water.Move(45);  // not running: nothing runs, nothing carries
  EXPECT_EQ(water.GetCarry(), 0);
  EXPECT_EQ(water.GetHeightAt(20, 21), 0);

  water.SetMove(true, false);
  water.Move(45);
  EXPECT_EQ(water.GetCarry(), 12);
  byHand.Tick();
  for (int c = 15; c < 26; ++c) ASSERT_EQ(water.GetHeightAt(20, c), byHand.GetHeightAt(20, c));
  water.Move(21);  // 12 + 21: one more
  EXPECT_EQ(water.GetCarry(), 0);
  byHand.Tick();
  for (int c = 15; c < 26; ++c) ASSERT_EQ(water.GetHeightAt(21, c), byHand.GetHeightAt(21, c));
  water.SetMove(false, false);
  EXPECT_EQ(water.GetCarry(), 0);
  water.SetMove(true, true);  // calmed
  EXPECT_EQ(water.GetHeightAt(20, 21), 0);
  water.Move(0x7FFFFFFF);  // a huge step does not stall
  EXPECT_TRUE(water.IsRun());
}

TEST(DIBWater, ADropBesideThePictureStillStirsWhatShows) {
  CDIBWater water;
  ASSERT_TRUE(water.Initialize(800, 600));
  water.SetMove(true, false);
  water.Drop(-100, 300, 1, 1, 5000);  // 100 pixels left of the picture: in the margin
  water.Drop(-5000, 300, 3, 3, 5000);  // far beyond it: nothing
  water.Drop(400, 300, 4, 2, 0x7FFFFFFF);  // a hostile strength is held in range
  EXPECT_GT(water.GetHeightAt(18, 24), 0);
  EXPECT_EQ(water.GetHeightAt(18, -7), 5000);
  water.Move(33 * 12);
  bool stirred = false;
  for (int r = 0; r < water.GetRows(); ++r) stirred = stirred || water.GetHeightAt(r, 0) > 0;
  EXPECT_TRUE(stirred);
}

TEST(DIBWater, TheMeshBlendsEveryTargetPixelOnce) {
  CDIBWater water;
  ASSERT_TRUE(water.Initialize(800, 600));
  // Half transparent: a pixel blended twice would show it.
  for (int i = 0; i < 800 * 600; ++i) water.GetPixels()[i] = 0x80000000u | static_cast<uint32_t>(i * 2654435761u) >> 8;
  CDIBImage target;
  ASSERT_TRUE(target.Create(800, 600));
  target.FillFull(0xFF204060u);
  water.SetMove(true, false);
  water.Draw(&target);
  for (int i = 0; i < 800 * 600; i += 7)
    ASSERT_EQ(target.GetPixels()[i], pix::Blend(0xFF204060u, water.GetPixels()[i], 0xFFFFFFFFu)) << i;

  // Two quads that overlap, drawn directly: the shared part once.
  CDIBWater other;
  ASSERT_TRUE(other.Initialize(32, 32));
  other.FillFull(0x80FF0000u);
  CDIBImage small;
  ASSERT_TRUE(small.Create(40, 40));
  small.FillFull(0xFF0000FFu);
  SprtVertex a, b;
  other.SetVertex(a, 0, 0, 0, 0, 20, 20, 0xFFFFFFFFu);
  other.SetStretchVertex(b, 10, 10, 25, 25, 0xFFFFFFFFu);
  other.BltWater(&small, a);
  other.BltWater(&small, b);
  const uint32_t once = pix::Blend(0xFF0000FFu, 0x80FF0000u, 0xFFFFFFFFu);
  EXPECT_EQ(small.GetPixels()[15 * 40 + 15], once);
  EXPECT_EQ(small.GetPixels()[30 * 40 + 30], once);
  EXPECT_EQ(small.GetPixels()[37 * 40 + 37], 0xFF0000FFu);

  // Stopped, it draws nothing.
  water.SetMove(false, false);
  target.FillFull(0);
  water.Draw(&target);
  EXPECT_EQ(target.GetPixels()[4321], 0u);
}

}  // namespace
