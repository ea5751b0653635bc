// Layer actions: each kind's clock, its resting rule after Stop, its
// drawing where the result can be worked out exactly, and its record.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "SceneTestKit.h"
#include "scene/DIBFire.h"
#include "scene/DIBSnrAction.h"

namespace {

using scenetest::BlendRule;

SnrActionParam Rot(int32_t period, int32_t turns, int32_t direction) {
  SnrActionParam p{};
  p.nKind = SNRACT_2DROT;
  p.rot.nPeriod = period;
  p.rot.nTurns = turns;
  p.rot.nDirection = direction;
  return p;
}

SnrActionParam Scroll(int32_t period, bool loop, bool smooth, std::vector<std::array<int32_t, 3>> points) {
  SnrActionParam p{};
  p.nKind = SNRACT_SCROLL;
  p.scroll.nPeriod = period;
  p.scroll.bLoop = loop;
  p.scroll.bSmooth = smooth;
  p.scroll.nCount = static_cast<int32_t>(points.size());
  for (size_t i = 0; i < points.size() && i < 16; ++i) {
    p.scroll.nX[i] = points[i][0];
    p.scroll.nY[i] = points[i][1];
    p.scroll.nZ[i] = points[i][2];
  }
  return p;
}

SnrActionParam Raster(int32_t fadeIn, int32_t fadeOut, int32_t period, int32_t amplitude, int32_t mode) {
  SnrActionParam p{};
  p.nKind = SNRACT_RASTER;
  p.raster.nFadeIn = fadeIn;
  p.raster.nFadeOut = fadeOut;
  p.raster.nPeriod = period;
  p.raster.nAmplitude = amplitude;
  p.raster.nMode = mode;
  return p;
}

SnrActionParam Rain(int32_t fall, int32_t count, int32_t sway, int32_t wind, const char* drop) {
  SnrActionParam p{};
  p.nKind = SNRACT_RAIN;
  p.rain.nFallTime = fall;
  p.rain.nCount = count;
  p.rain.nSway = sway;
  p.rain.nWind = wind;
  strcpy(p.rain.szDrop, drop);
  return p;
}

SnrActionParam Fire(int32_t front) {
  SnrActionParam p{};
  p.nKind = SNRACT_FIRE;
  p.fire.nBaseHeat = 10000;
  p.fire.nCentre = 400;
  p.fire.nWidth = 800;
  p.fire.nFront = front;
  return p;
}

class ActionTest : public scenetest::SceneWorld {
 protected:
  void SetUp() override {
    SceneWorld::SetUp();
    ASSERT_TRUE(target.Create(800, 600));
    target.FillFull(0);
    ASSERT_TRUE(picture.Create(200, 100));
    px = scenetest::Pattern(200, 100, 21, true);
    memcpy(picture.GetPixels(), px.data(), px.size() * 4);
    AddPattern("DROP", 4, 16, 5, true);
  }
  LayerDrawParam Param(int x, int y, bool blend = false, uint32_t color = 0xFFFFFFFFu) {
    LayerDrawParam p;
    p.pTarget = &target;
    p.nX = x;
    p.nY = y;
    p.pImage = &picture;
    p.nWidth = picture.GetWidth();
    p.nHeight = picture.GetHeight();
    p.dwColor = color;
    p.bBlend = blend;
    return p;
  }
  uint32_t At(int x, int y) const { return target.GetPixels()[y * 800 + x]; }
  uint32_t Src(int x, int y) const { return px[y * 200 + x]; }

  CDIBImage target, picture;
  std::vector<uint32_t> px;
  CDIBSnrAction action;
};

TEST_F(ActionTest, TwoTurnsEndWithTimeZeroAndNoMoreChanges) {
  SnrActionParam p = Rot(300, 2, 0);
  ASSERT_TRUE(action.Setup(&p));
  EXPECT_TRUE(action.IsUse());
  EXPECT_FALSE(action.IsActive());
  action.Move(false);  // resting: nothing moves
  EXPECT_EQ(action.GetRotTime(), 0);
  action.Play();
  int frames = 0;
  while (action.GetRotTurns() < 2 && frames < 100) {
    action.Move(false);
    ++frames;
    EXPECT_TRUE(action.IsUpdate());
    EXPECT_TRUE(action.IsStart());
  }
  EXPECT_EQ(frames, 20);  // 600 ms of 30 ms frames
  EXPECT_EQ(action.GetRotTime(), 0);
  action.Move(false);
  EXPECT_FALSE(action.IsUpdate());
  EXPECT_EQ(action.GetRotTime(), 0);
  EXPECT_TRUE(action.IsActive());  // still playing, only done turning
}

TEST_F(ActionTest, AHalfTurnShowsThePictureUpsideDown) {
  // Left half one colour, right half another.
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 200; ++x) picture.GetPixels()[y * 200 + x] = x < 100 ? 0xFFFF0000u : 0xFF0000FFu;
  SnrActionParam p = Rot(600, 0, 0);
  ASSERT_TRUE(action.Setup(&p));
  action.Play();
  for (int i = 0; i < 10; ++i) action.Move(false);  // 300 of 600 ms
  LayerDrawParam d = Param(300, 250);
  action.Draw(&d);
  EXPECT_EQ(At(320, 300), 0xFF0000FFu);
  EXPECT_EQ(At(480, 300), 0xFFFF0000u);
  // The other direction at the same time is the same half turn.
  SnrActionParam q = Rot(600, 0, 1);
  ASSERT_TRUE(action.Setup(&q));
  action.Play();
  for (int i = 0; i < 10; ++i) action.Move(false);
  target.FillFull(0);
  action.Draw(&d);
  EXPECT_EQ(At(320, 300), 0xFF0000FFu);
  EXPECT_EQ(At(480, 300), 0xFFFF0000u);
}

TEST_F(ActionTest, StopGivesExactlyOneMoreMoveThenRestsStillReportingAChange) {
  SnrActionParam params[] = {Rot(1000, 0, 0), Scroll(1000, true, false, {{0, 0, 0}, {50, 0, 0}}),
                             Rain(1000, 8, 10, 0, "DROP"), Fire(0)};
  for (SnrActionParam& p : params) {
    SCOPED_TRACE(p.nKind);
    ASSERT_TRUE(action.Setup(&p));
    action.Play();
    action.Move(false);
    action.Stop();
    EXPECT_TRUE(action.IsActive());
    EXPECT_FALSE(action.IsStop());
    const int32_t before = p.nKind == SNRACT_2DROT ? action.GetRotTime() : action.GetScrollTime();
    action.Move(false);
    EXPECT_FALSE(action.IsActive());
    EXPECT_TRUE(action.IsStop());
    EXPECT_TRUE(action.IsUpdate());
    if (p.nKind == SNRACT_2DROT) {
      EXPECT_EQ(action.GetRotTime(), before + 30);
    }
    if (p.nKind == SNRACT_SCROLL) {
      EXPECT_EQ(action.GetScrollTime(), before + 30);
    }
    const int32_t rested = action.GetRotTime() + action.GetScrollTime();
    for (int i = 0; i < 3; ++i) action.Move(false);
    EXPECT_EQ(action.GetRotTime() + action.GetScrollTime(), rested);
    EXPECT_TRUE(action.IsUpdate());
    action.Release();
    EXPECT_FALSE(action.IsUpdate());
    EXPECT_FALSE(action.IsUse());
  }
}

TEST_F(ActionTest, AScrollWithoutLoopHoldsItsLastPointAndWalksSegmentsByLength) {
  SnrActionParam p = Scroll(300, false, false, {{0, 0, 0}, {100, 0, 0}, {100, 50, 0}});
  ASSERT_TRUE(action.Setup(&p));
  action.Play();
  for (int i = 0; i < 5; ++i) action.Move(false);  // half the time: 75 of 150 units
  LayerDrawParam d = Param(999, 999);                // the layer's own position is not used
  action.Draw(&d);
  EXPECT_EQ(At(75, 0), Src(0, 0));
  EXPECT_EQ(At(74, 0), 0u);
  for (int i = 0; i < 30; ++i) action.Move(false);
  EXPECT_EQ(action.GetScrollTime(), 300);
  EXPECT_FALSE(action.IsUpdate());
  target.FillFull(0);
  action.Draw(&d);
  EXPECT_EQ(At(100, 50), Src(0, 0));
  EXPECT_EQ(At(299, 149), Src(199, 99));

  // Looping, the clock comes round again; smooth paths start and end on
  // their points too.
  SnrActionParam loop = Scroll(90, true, true, {{10, 20, 0}, {300, 40, 0}, {20, 400, 0}});
  ASSERT_TRUE(action.Setup(&loop));
  action.Play();
  target.FillFull(0);
  action.Draw(&d);
  EXPECT_EQ(At(10, 20), Src(0, 0));
  for (int i = 0; i < 4; ++i) action.Move(false);
  EXPECT_EQ(action.GetScrollTime(), 30);
  EXPECT_TRUE(action.IsUpdate());
}

TEST_F(ActionTest, RasterWithoutFadesWavesAtFullAmplitudeAtOnce) {
  SnrActionParam p = Raster(0, 0, 1000, 12, 0);
  ASSERT_TRUE(action.Setup(&p));
  EXPECT_EQ(action.GetParam().raster.nPeriod, 2000);  // doubled
  action.Play();
  action.Move(false);
  EXPECT_TRUE(action.IsStart());
  EXPECT_EQ(action.GetRasterPhase(), 30);
  LayerDrawParam d = Param(100, 50);
  action.Draw(&d);
  // Each grid row r is shifted by trunc(sin(f r + q) × 12), f = 2π ÷ 51
  // (the float nearest) and q = (1 − 30 ÷ 2000) × 2π; on the row's own line
  // the picture is copied unscaled.
  const double f = 2.0 * M_PI * 0.019607844, q = (1.0 - 30.0 / 2000.0) * 2.0 * M_PI;
  int shifted = 0;
  for (int r = 0; r < 50; ++r) {
    const int t = static_cast<int>(std::trunc(std::sin(f * r + q) * 12.0));
    shifted += t != 0;
    const int y = r * 100 / 50;
    for (int x = 0; x < 200; x += 9) ASSERT_EQ(At(100 + x + t, 50 + y), Src(x, y)) << r << " " << x;
  }
  EXPECT_GT(shifted, 30);
}

TEST_F(ActionTest, RasterFadesInAfterPlayAndOutAfterStop) {
  SnrActionParam p = Raster(90, 60, 1000, 8, 2);
  ASSERT_TRUE(action.Setup(&p));
  action.Play();
  action.Move(false);
  EXPECT_EQ(action.GetRasterFadeIn(), 30);
  EXPECT_FALSE(action.IsStart());
  action.Move(false);
  action.Move(false);
  EXPECT_TRUE(action.IsStart());
  EXPECT_EQ(action.GetRasterFadeIn(), 90);
  // Speed k = 1 + fade-in share, each frame's step truncated.
  int phase = 0;
  for (int fadeIn : {30, 60, 90}) phase += static_cast<int>(std::trunc((static_cast<double>(fadeIn) / 90 + 1) * 30));
  EXPECT_EQ(action.GetRasterPhase(), phase);
  action.Stop();
  action.Move(false);
  EXPECT_TRUE(action.IsActive());
  action.Move(false);
  EXPECT_FALSE(action.IsActive());
  EXPECT_TRUE(action.IsStop());
  EXPECT_TRUE(action.IsUpdate());
}

TEST_F(ActionTest, BlendedRasterCellsBlendEachPixelOnce) {
  // Flat waves: the cells tile the picture exactly, and their shared edges
  // must not be blended twice.
  for (uint32_t color : {0x80FFFFFFu, 0xFFFFFFFFu, 0xC0406080u}) {
    SnrActionParam p = Raster(0, 0, 1000, 0, 2);
    ASSERT_TRUE(action.Setup(&p));
    const uint32_t ground = 0xFF204060u;
    target.FillFull(ground);
    LayerDrawParam d = Param(37, 41, true, color);
    action.Draw(&d);
    for (int y = 0; y < 100; y += 3)
      for (int x = 0; x < 200; x += 7) ASSERT_EQ(At(37 + x, 41 + y), BlendRule(ground, Src(x, y), color)) << x << "," << y;
    // Drawn again, from a clear mask.
    target.FillFull(ground);
    action.Draw(&d);
    EXPECT_EQ(At(37 + 100, 41 + 50), BlendRule(ground, Src(100, 50), color));
  }
}

TEST_F(ActionTest, RainNeedsItsPictureAndASaneCount) {
  SnrActionParam missing = Rain(1000, 10, 0, 0, "NODROP");
  EXPECT_FALSE(action.Setup(&missing));
  EXPECT_FALSE(action.IsUse());
  SnrActionParam many = Rain(1000, 4097, 0, 0, "DROP");
  EXPECT_FALSE(action.Setup(&many));
  SnrActionParam still = Rain(0, 10, 0, 0, "DROP");
  EXPECT_FALSE(action.Setup(&still));
  SnrActionParam none = Rain(1000, 0, 0, 0, "DROP");
  EXPECT_TRUE(action.Setup(&none));
  SnrActionParam most = Rain(1000, 4096, 5, -20, "DROP");
  EXPECT_TRUE(action.Setup(&most));
  EXPECT_EQ(Refs("DROP"), 1);
  action.Release();
  EXPECT_EQ(Refs("DROP"), 0);
}

TEST_F(ActionTest, RainDropsStartAboveFallAndComeBack) {
  SnrActionParam p = Rain(600, 40, 20, 30, "DROP");
  ASSERT_TRUE(action.Setup(&p));
  for (int i = 0; i < action.GetDropCount(); ++i) {
    const auto* d = action.GetDrop(i);
    EXPECT_EQ(d->nY, -1000);
    EXPECT_GE(d->nX, -500);  // shifted left for wind from the left
    EXPECT_LT(d->nX, 500);
    EXPECT_GT(d->nZ, -100);
    EXPECT_LE(d->nZ, 100);
    EXPECT_LE(d->nTime, 0);
    EXPECT_GT(d->nTime, -600);
  }
  action.Play();
  // A drop has fallen 1601 units after 0.5337 fall times; by then every
  // drop has been made afresh at least once (its wait below 500 ms).
  for (int i = 0; i < 60; ++i) action.Move(false);
  LayerDrawParam plain = Param(300, 200);
  action.Draw(&plain);  // drops over the copied picture
  int drops = 0;
  for (int y = 0; y < 600; y += 2)
    for (int x = 0; x < 800; x += 2) drops += At(x, y) != 0 && !(x >= 300 && x < 500 && y >= 200 && y < 300);
  EXPECT_GT(drops, 0);
  action.Stop();
  action.Move(false);
  target.FillFull(0);
  action.Draw(&plain);  // not playing: the picture alone
  for (int y = 0; y < 600; y += 3)
    for (int x = 0; x < 800; x += 3) {
      const bool in = x >= 300 && x < 500 && y >= 200 && y < 300;
      ASSERT_EQ(At(x, y), in ? Src(x - 300, y - 200) : 0u) << x << "," << y;
    }
}

TEST_F(ActionTest, FireBurnsUnderOrOverThePicture) {
  // The picture stretched over the bottom band, without flames.
  CDIBImage plain;
  ASSERT_TRUE(plain.Create(800, 600));
  plain.FillFull(0);
  SprtVertex band;
  picture.SetStretchVertex(band, 0, 450, 800, 150, 0xFFFFFFFFu);
  picture.StretchBltCopy(&plain, band, false);
  for (int32_t front : {0, 1}) {
    SnrActionParam p = Fire(front);
    ASSERT_TRUE(action.Setup(&p));
    ASSERT_NE(action.GetFire(), nullptr);
    action.Play();
    action.Move(false);
    target.FillFull(0);
    LayerDrawParam d = Param(0, 450);
    d.nWidth = 800;
    d.nHeight = 150;
    action.Draw(&d);
    int differs = 0;
    for (int i = 0; i < 800 * 600; ++i) differs += target.GetPixels()[i] != plain.GetPixels()[i];
    if (front == 0) {
      EXPECT_EQ(differs, 0) << "the opaque picture hides the flames";
    } else {
      EXPECT_GT(differs, 800 * 150 / 20) << "the flames burn over the picture";
    }
  }
}

TEST_F(ActionTest, EveryKindSavesAndLoadsToTheSameRecord) {
  const SnrActionParam params[] = {Rot(500, 3, 1), Scroll(700, true, true, {{1, 2, 3}, {4, 5, 6}}),
                                   Raster(100, 200, 300, 4, 1), Rain(800, 12, 9, -15, "DROP"), Fire(1),
                                   SnrActionParam{}};
  const size_t lengths[] = {225, 221, 229, 285, 217, 217};
  for (size_t k = 0; k < 6; ++k) {
    SCOPED_TRACE(k);
    CDIBSnrAction a;
    if (params[k].nKind != SNRACT_NONE) {
      ASSERT_TRUE(a.Setup(&params[k]));
    }
    a.Play();
    for (int i = 0; i < 7; ++i) a.Move(false);
    std::vector<uint8_t> record(CDIBSnrAction::kSaveSizeMax + 16, 0xEE);
    const size_t n = static_cast<size_t>(a.Save(record.data()) - record.data());
    EXPECT_EQ(n, lengths[k]);
    EXPECT_EQ(CDIBSnrAction::CheckRecord(record.data(), n), n);
    CDIBSnrAction b;
    ASSERT_EQ(b.Load(record.data(), n), record.data() + n);
    std::vector<uint8_t> again(record.size(), 0xEE);
    ASSERT_EQ(static_cast<size_t>(b.Save(again.data()) - again.data()), n);
    EXPECT_EQ(memcmp(record.data(), again.data(), n), 0);
    EXPECT_EQ(b.IsUpdate(), a.IsUpdate());
  }
}

TEST_F(ActionTest, AReloadedRainStartsWithNewRandomDrops) {
  SnrActionParam p = Rain(1000, 20, 0, 0, "DROP");
  ASSERT_TRUE(action.Setup(&p));
  uint8_t record[CDIBSnrAction::kSaveSizeMax];
  action.Save(record);
  CDIBSnrAction other;
  ASSERT_NE(other.Load(record, sizeof record), nullptr);
  ASSERT_EQ(other.GetDropCount(), 20);
  int same = 0;
  for (int i = 0; i < 20; ++i) same += other.GetDrop(i)->nX == action.GetDrop(i)->nX;
  EXPECT_LT(same, 5);
  EXPECT_EQ(Refs("DROP"), 2);
}

TEST_F(ActionTest, ADamagedRecordIsRefusedAndChangesNothing) {
  SnrActionParam p = Rain(1000, 5, 0, 0, "DROP");
  ASSERT_TRUE(action.Setup(&p));
  std::vector<uint8_t> good(CDIBSnrAction::kSaveSizeMax);
  const size_t n = static_cast<size_t>(action.Save(good.data()) - good.data());
  SnrActionParam r = Rot(100, 0, 0);
  CDIBSnrAction victim;
  ASSERT_TRUE(victim.Setup(&r));
  victim.Play();
  victim.Move(false);
  std::vector<uint8_t> before(CDIBSnrAction::kSaveSizeMax);
  victim.Save(before.data());

  auto damaged = [&](auto change) {
    std::vector<uint8_t> bad = good;
    change(bad);
    return bad;
  };
  std::vector<std::vector<uint8_t>> bad = {
      damaged([](auto& b) { b[2] = 6; }),                              // no such kind
      damaged([](auto& b) { b[9] = 3; }),                              // the block's kind differs
      damaged([](auto& b) { b[9 + 8] = 0x01; b[9 + 9] = 0x10; }),      // 4097 drops
      damaged([](auto& b) { b[9 + 4] = 0; b[9 + 5] = 0; }),            // no fall time
      damaged([](auto& b) { memset(b.data() + 9 + 20, 'x', 188); }),   // endless name in the block
      damaged([](auto& b) { memset(b.data() + 221, 'x', 64); }),       // endless saved name
  };
  for (size_t i = 0; i < bad.size(); ++i) EXPECT_EQ(victim.Load(bad[i].data(), n), nullptr) << i;
  EXPECT_EQ(victim.Load(good.data(), n - 1), nullptr);
  EXPECT_EQ(victim.Load(good.data(), 100), nullptr);
  std::vector<uint8_t> scroll(CDIBSnrAction::kSaveSizeMax);
  SnrActionParam s = Scroll(100, false, false, {{0, 0, 0}});
  CDIBSnrAction sa;
  ASSERT_TRUE(sa.Setup(&s));
  const size_t sn = static_cast<size_t>(sa.Save(scroll.data()) - scroll.data());
  scroll[9 + 12] = 17;
  EXPECT_EQ(victim.Load(scroll.data(), sn), nullptr);
  scroll[9 + 12] = 0;
  EXPECT_EQ(victim.Load(scroll.data(), sn), nullptr);

  std::vector<uint8_t> after(CDIBSnrAction::kSaveSizeMax);
  victim.Save(after.data());
  EXPECT_EQ(before, after);
  EXPECT_EQ(victim.GetRotTime(), 30);
}

TEST_F(ActionTest, UnknownKindsAndOddParametersAreSafe) {
  SnrActionParam p{};
  p.nKind = 9;
  EXPECT_FALSE(action.Setup(&p));
  EXPECT_FALSE(action.Setup(nullptr));
  // Periods of 0 and below hold still; nothing divides by them.
  SnrActionParam odd[] = {Rot(0, 0, 0), Rot(-5, 2, 1), Scroll(0, true, false, {{0, 0, 0}, {9, 9, 9}}),
                          Raster(-1, -1, 0, 0, 7), Raster(10, 10, INT32_MAX, INT32_MAX, 2)};
  for (SnrActionParam& q : odd) {
    ASSERT_TRUE(action.Setup(&q));
    action.Play();
    for (int i = 0; i < 3; ++i) action.Move(i == 1);
    LayerDrawParam d = Param(-50, 580);
    action.Draw(&d);
    action.Stop();
    action.Move(false);
    action.Draw(&d);
  }
  LayerDrawParam none = Param(0, 0);
  none.pImage = nullptr;
  action.Draw(&none);
}

}  // namespace
