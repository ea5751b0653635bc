// The transitions that move pictures about (Rotate, Bound, Kacchin, Glass,
// Twist): where the pictures land at chosen moments, worked out from the
// geometry here.
#include <gtest/gtest.h>

#include <cmath>

#include "OverlapWorld.h"

namespace {

using namespace overlaptest;

constexpr uint32_t kRed = 0xFFFF0000u, kGreen = 0xFF00FF00u, kBlue = 0xFF0000FFu, kWhite = 0xFFFFFFFFu;
constexpr uint32_t kMark = 0x11223344u;

class OverlapMotionTest : public OverlapWorld {
 protected:
  // The new picture in four coloured quarters: red, green above; blue,
  // white below.
  void QuarterNew() {
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x)
        newImage.GetPixels()[y * kW + x] = y < kH / 2 ? (x < kW / 2 ? kRed : kGreen) : (x < kW / 2 ? kBlue : kWhite);
  }
  // Whether the target shows the new picture moved down by `dy`, with the
  // rows above it keeping the previous frame.
  bool NewMovedDown(int dy) const {
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; x += 53) {
        const uint32_t want = y < dy ? kMark : New(x, y - dy);
        if (Out(x, y) != want) return false;
      }
    return true;
  }
};

TEST_F(OverlapMotionTest, RotateGrowsTheNewPictureTurningOneWayOrTheOther) {
  QuarterNew();
  Start(Record(EFFECT_ROTATE, {1000, 0}));
  overlap.Draw(&target);  // nothing grown yet
  for (int i = 0; i < kW * kH; i += 331) ASSERT_EQ(target.GetPixels()[i], oldImage.GetPixels()[i]);

  // A quarter of the way the picture is a quarter of its size, turned a
  // quarter: direction 0 turns the red corner down (anticlockwise on the
  // screen), direction 1 up.
  overlap.Move(250);
  overlap.Draw(&target);
  EXPECT_EQ(Out(380, 330), kRed);
  EXPECT_EQ(Out(420, 270), kWhite);
  EXPECT_EQ(Out(250, 300), Old(250, 300));  // outside the picture
  const uint64_t one = Digest();

  Start(Record(EFFECT_ROTATE, {1000, 1}));
  overlap.Move(250);
  overlap.Draw(&target);
  EXPECT_EQ(Out(420, 270), kRed);
  EXPECT_EQ(Out(380, 330), kWhite);
  EXPECT_NE(Digest(), one);
}

TEST_F(OverlapMotionTest, BoundFoldsTheTravelBackAtEachEndOfItsVector) {
  // Two bounces of 100 pixels down over 1000 ms: 400 pixels of travel.
  const int times[] = {125, 250, 375, 500, 1000};
  const int offsets[] = {50, 100, 50, 0, 0};
  for (int i = 0; i < 5; ++i) {
    Start(Record(EFFECT_BOUND, {1000, 0, 2, 0, 100}));
    overlap.Move(times[i]);
    target.FillFull(kMark);
    overlap.Draw(&target);
    EXPECT_TRUE(NewMovedDown(offsets[i])) << times[i];
  }
  // Mode 10 lets the bounces die down: 50 × (1 − 0.125 ÷ 2).
  Start(Record(EFFECT_BOUND, {1000, 10, 2, 0, 100}));
  overlap.Move(125);
  target.FillFull(kMark);
  overlap.Draw(&target);
  EXPECT_TRUE(NewMovedDown(46));

  // Mode 1 stretches instead of moving: the middle row stays, the top edge
  // goes up by half the offset.
  QuarterNew();
  Start(Record(EFFECT_BOUND, {1000, 1, 2, 0, 100}));
  overlap.Move(250);
  target.FillFull(kMark);
  overlap.Draw(&target);
  EXPECT_EQ(Out(100, 0), kRed);
  EXPECT_EQ(Out(100, 320), kBlue);
  EXPECT_EQ(Out(100, 275), kRed);
  EXPECT_EQ(Out(700, 599), kWhite);
}

TEST_F(OverlapMotionTest, BoundWithoutAVectorOrWithHugeCountsStaysInPlace) {
  for (auto [mode, count, vx, vy] : {std::tuple{0, 5, 0, 0}, {1, 5, 0, 0}, {11, 3, 0, 0}, {0, 0x7FFFFFFF, 0x7FFFFFFF, -0x7FFFFFFF},
                                     {1, 0x7FFFFFFF, 3, 4}, {10, -5, 30, 40}}) {
    Start(Record(EFFECT_BOUND, {997, mode, count, vx, vy}));
    for (int step = 0; step < 40 && overlap.IsRun(); ++step) {
      overlap.Draw(&target);
      overlap.Move(30);
    }
    if (vx == 0 && vy == 0) {
      EXPECT_TRUE(ShowsNew()) << mode;
    }
  }
}

TEST_F(OverlapMotionTest, KacchinClosesTheHalvesOverTheOldPictureAndRestsOnNew) {
  Start(Record(EFFECT_KACCHIN, {1000, 0}));
  overlap.Move(240);
  overlap.Draw(&target);
  // The halves have come in by 300 × 0.8 (less the truncation).
  const int moved = static_cast<int>(300 * (0.24 * 3.3333333));
  ASSERT_GE(moved, 239);
  for (int x : {0, 399, 799}) {
    EXPECT_EQ(Out(x, 0), New(x, 300 - moved));
    EXPECT_EQ(Out(x, moved - 1), New(x, 299));
    EXPECT_EQ(Out(x, moved), Old(x, moved));
    EXPECT_EQ(Out(x, 599 - moved), Old(x, 599 - moved));
    EXPECT_EQ(Out(x, 600 - moved), New(x, 300));
    EXPECT_EQ(Out(x, 599), New(x, 299 + moved));
  }
  // Mode 1: left and right halves.
  Start(Record(EFFECT_KACCHIN, {1000, 1}));
  overlap.Move(240);
  overlap.Draw(&target);
  const int across = static_cast<int>(400 * (0.24 * 3.3333333));
  EXPECT_EQ(Out(0, 10), New(400 - across, 10));
  EXPECT_EQ(Out(across, 10), Old(across, 10));
  EXPECT_EQ(Out(799, 10), New(399 + across, 10));
  // Rattling: the halves run into each other, then rest on new.
  overlap.Move(300);
  overlap.Draw(&target);
  EXPECT_FALSE(ShowsNew());
  overlap.Move(460);
  overlap.Draw(&target);
  EXPECT_TRUE(ShowsNew());
}

TEST_F(OverlapMotionTest, GlassStartsWholeAndItsPiecesFlyOffTheScreen) {
  Start(Record(EFFECT_GLASS, {1000, 1}));
  overlap.Draw(&target);
  // Whole: every sampled pixel is the old one (made opaque) or one of its
  // near neighbours: the opaque quad rule spreads a piece's pixels a little
  // where the cuts fall between pixels.
  int same = 0, total = 0;
  for (int y = 5; y < kH; y += 37)
    for (int x = 5; x < kW; x += 41, ++total) {
      bool near = false;
      for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx) near = near || Out(x, y) == (Old(x + dx, y + dy) | 0xFF000000u);
      same += near;
    }
  EXPECT_GT(same, total * 9 / 10);
  overlap.Move(500);
  overlap.Draw(&target);
  EXPECT_FALSE(ShowsNew());
  overlap.Move(500);  // flown up, out of sight
  overlap.Draw(&target);
  EXPECT_TRUE(ShowsNew());
}

TEST_F(OverlapMotionTest, TwistSpiralsTheOldPictureIntoTheCentre) {
  Start(Record(EFFECT_TWIST, {1000, 0}));
  overlap.Move(900);
  overlap.Draw(&target);
  // Near the end the old picture is a small whirl in the middle.
  EXPECT_EQ(Out(10, 10), New(10, 10));
  EXPECT_EQ(Out(790, 590), New(790, 590));
  EXPECT_NE(Out(400, 300), New(400, 300));
  const uint64_t turning = Digest();
  Start(Record(EFFECT_TWIST, {1000, 7}));  // no turn for other directions
  overlap.Move(900);
  overlap.Draw(&target);
  EXPECT_NE(Digest(), turning);
  overlap.Move(100);
  overlap.Draw(&target);
  EXPECT_TRUE(ShowsNew());
}

}  // namespace
