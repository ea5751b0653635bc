// The flame simulation: palette, feeding, the upward averaging and the tick
// carry, with expectations worked out from the rules.
#include "scene/DIBFire.h"

#include <gtest/gtest.h>

#include "platform/Random.h"

namespace {

TEST(DIBFire, PaletteRampsRedThenGreenThenBlueAndSaturatesAboveItsEnd) {
  EXPECT_EQ(CDIBFire::Palette(0), 0x000000u);
  EXPECT_EQ(CDIBFire::Palette(200), 0xC80000u);
  EXPECT_EQ(CDIBFire::Palette(256), 0xFF0000u);
  EXPECT_EQ(CDIBFire::Palette(300), 0xFF2C00u);
  EXPECT_EQ(CDIBFire::Palette(512), 0xFFFF00u);
  EXPECT_EQ(CDIBFire::Palette(767), 0xFFFFFFu);
  EXPECT_EQ(CDIBFire::Palette(10999), 0xFFFFFFu);
}

TEST(DIBFire, HeatBecomesPixelsWithAlphaFromTheHeatOrOpaqueWithAdds) {
  CDIBFire fire;
  ASSERT_TRUE(fire.Initialize());
  fire.SetHeat(0, 0, 0);
  fire.SetHeat(1, 0, 300);
  fire.SetHeat(2, 0, 5000);
  fire.UpdateImage();
  const uint32_t* p = fire.GetPixels();
  EXPECT_EQ(p[0], 0u);
  EXPECT_EQ(p[1], static_cast<uint32_t>(300 * 128 / 767) << 24 | 0xFF2C00u);
  EXPECT_EQ(p[2], 128u << 24 | 0xFFFFFFu);  // the whitest colour, alpha 128

  fire.SetDrawParam(0, 0, 800, 600, 0xFFFFFFFFu, -300, 20, 7);
  fire.UpdateImage();
  EXPECT_EQ(p[0], 0u);
  EXPECT_EQ(p[1], 0xFF000000u | 0x00 << 16 | 0x40 << 8 | 0x07);
}

TEST(DIBFire, EachCellAboveTakesTheAverageOfItsFourSourcesLessSeven) {
  CDIBFire fire;
  ASSERT_TRUE(fire.Initialize());
  plat::SRand(1);
  // Row 10 and 11 around column 100: sources of the cell (100, 9).
  fire.SetHeat(100, 11, 400);  // below
  fire.SetHeat(99, 10, 100);   // left
  fire.SetHeat(101, 10, 60);   // right
  fire.SetHeat(100, 10, 40);   // itself
  fire.SetHeat(300, 9, 99);    // a cell whose sources are all cold
  fire.Tick();
  EXPECT_EQ(fire.GetHeat(100, 9), (400 + 100 + 60 + 40) / 4 - 7);
  // Rows are carried top to bottom: row 8 still sees the old row 9, which is
  // then cooled from its own cold sources.
  EXPECT_EQ(fire.GetHeat(300, 8), 99 / 4 - 7);
  EXPECT_EQ(fire.GetHeat(300, 9), 0);
  // The bottom row is fed about 40 % of the time at base heat or more.
  int fed = 0;
  for (int x = 0; x < CDIBFire::kWidth; ++x) {
    int32_t h = fire.GetHeat(x, CDIBFire::kHeight - 1);
    if (h != 0) {
      ++fed;
      EXPECT_GE(h, CDIBFire::kBaseHeat);
      EXPECT_LT(h, CDIBFire::kBaseHeat + 1000);
    }
  }
  EXPECT_GT(fed, 250);
  EXPECT_LT(fed, 400);
}

TEST(DIBFireEx, FeedsOnlyWithinHalfTheWidthOfItsCentreAndKeepsColdCells) {
  CDIBFireEx fire;
  ASSERT_TRUE(fire.Initialize());
  fire.SetShape(200, 100);
  fire.SetHeat(600, 9, 99);
  plat::SRand(5);
  for (int i = 0; i < 20; ++i) fire.Tick();
  for (int x = 0; x < CDIBFire::kWidth; ++x) {
    if (x <= 150 || x >= 250) {
      EXPECT_EQ(fire.GetHeat(x, CDIBFire::kHeight - 1), 0) << x;
    }
  }
  EXPECT_EQ(fire.GetHeat(600, 9), 99);  // its sources stayed cold

  // A band of width 0 or 1 feeds nothing, without dividing by zero.
  fire.SetShape(200, 1);
  fire.Tick();
  for (int x = 0; x < CDIBFire::kWidth; ++x) EXPECT_EQ(fire.GetHeat(x, CDIBFire::kHeight - 1), 0);
}

TEST(DIBFire, TicksConsumeTenMillisecondsAndAStoppedFireKeepsNoCarryAndDrawsNothing) {
  CDIBFire fire;
  ASSERT_TRUE(fire.Initialize());
  CDIBImage target;
  ASSERT_TRUE(target.Create(64, 64));
  target.FillFull(0xFF123456u);

  fire.Move(45);
  EXPECT_EQ(fire.GetCarry(), 0);  // not running: nothing runs, nothing carries
  fire.SetHeat(400, 140, 9000);
  fire.UpdateImage();
  fire.SetDrawParam(0, 0, 64, 64, 0xFFFFFFFFu, 0, 0, 0);
  fire.Draw(&target);
  for (int i = 0; i < 64 * 64; ++i) ASSERT_EQ(target.GetPixels()[i], 0xFF123456u);

  fire.SetMove(true, false);
  fire.Move(45);
  EXPECT_EQ(fire.GetCarry(), 5);
  fire.Move(7);
  EXPECT_EQ(fire.GetCarry(), 2);
  fire.SetMove(false, false);
  EXPECT_EQ(fire.GetCarry(), 0);

  // A clearing start cools every cell.
  fire.SetMove(true, true);
  EXPECT_EQ(fire.GetHeat(400, 140), 0);
  // A huge step does not stall.
  fire.Move(0x7FFFFFFF);
  EXPECT_TRUE(fire.IsRun());
}

}  // namespace
