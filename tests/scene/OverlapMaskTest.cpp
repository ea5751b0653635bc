// The transitions that read a picture (Alpha's and Wipe's masks,
// LensFlare's flare), pixel by pixel against the rules worked out here, and
// what they do when the picture cannot be read.
#include <gtest/gtest.h>

#include <algorithm>

#include "OverlapWorld.h"

namespace {

using namespace overlaptest;

uint32_t FadeByHand(uint32_t o, uint32_t n, uint32_t a) {
  uint32_t out = 0;
  for (int sh = 0; sh < 32; sh += 8) out |= ((Chan(o, sh) * (255 - a) + Chan(n, sh) * a) / 256) << sh;
  return out;
}

class OverlapMaskTest : public OverlapWorld {};

TEST_F(OverlapMaskTest, AlphaThresholdSwitchesHighMaskValuesFirst) {
  AddPicture("FULL", 4, 4, [](int, int) { return 0xFF0000FFu; });
  Start(Record(EFFECT_ALPHA, {300, 1, 0}, {{2, "FULL"}}));
  overlap.Move(30);  // a = 25
  overlap.Draw(&target);
  EXPECT_TRUE(ShowsNew()) << "a mask of 255 switches everything once a > 0";

  AddPicture("RAMP", kW, kH, [](int x, int) { return 0xFF000000u | (x & 0xFF); });
  Start(Record(EFFECT_ALPHA, {1000, 1, 0}, {{2, "RAMP"}}));
  overlap.Move(600);  // a = 153: pixels with m ≥ 102 show new
  overlap.Draw(&target);
  for (int x : {0, 101, 102, 255, 256, 357, 358, 799}) {
    const bool turned = (x & 0xFF) >= 102;
    EXPECT_EQ(Out(x, 77), turned ? New(x, 77) : Old(x, 77)) << x;
  }
}

TEST_F(OverlapMaskTest, AlphaBlendFadesThroughThePictureTheMaskMixes) {
  auto m = [](int x, int y) { return static_cast<uint32_t>((x * 7 + y * 3) & 0xFF); };
  AddPicture("MIX", kW, kH, [&](int x, int y) { return 0x80000000u | m(x, y); });
  Start(Record(EFFECT_ALPHA, {1000, 0, 0}, {{2, "MIX"}}));
  auto intermediate = [&](int x, int y) {
    uint32_t out = 0xFF000000u;
    for (int sh = 0; sh < 24; sh += 8)
      out |= ((Chan(New(x, y), sh) * m(x, y) + Chan(Old(x, y), sh) * (255 - m(x, y))) / 255) << sh;
    return out;
  };
  const int points[][2] = {{0, 0}, {13, 200}, {400, 300}, {799, 599}, {555, 12}};
  overlap.Move(250);  // c = 127: old towards the intermediate
  overlap.Draw(&target);
  for (auto& p : points) EXPECT_EQ(Out(p[0], p[1]), FadeByHand(Old(p[0], p[1]), intermediate(p[0], p[1]), 127));
  overlap.Move(500);  // c = 382: the intermediate towards new by 127
  overlap.Draw(&target);
  for (auto& p : points) EXPECT_EQ(Out(p[0], p[1]), FadeByHand(intermediate(p[0], p[1]), New(p[0], p[1]), 127));
  overlap.Move(250);
  overlap.Draw(&target);
  EXPECT_TRUE(ShowsNew());
}

TEST_F(OverlapMaskTest, AlphaSoftBandRampsEachPixelAndSoftnessZeroIsTheThreshold) {
  AddPicture("RAMP", kW, kH, [](int x, int) { return 0xFF000000u | (x & 0xFF); });
  const int s = 64;
  Start(Record(EFFECT_ALPHA, {1000, 2, s}, {{2, "RAMP"}}));
  overlap.Move(500);
  overlap.Draw(&target);
  const int b = (s + 255) * 500 / 1000;
  for (int x : {0, 90, 96, 97, 100, 120, 160, 161, 200, 255}) {
    const int c = (x + b - 255) * 255 / s;
    uint32_t want = Old(x, 9);
    if (c > 0) {
      const uint32_t l = static_cast<uint32_t>(std::min(c, 255));
      want = 0xFF000000u;
      for (int sh = 0; sh < 24; sh += 8) want |= ((Chan(New(x, 9), sh) * l + Chan(Old(x, 9), sh) * (255 - l)) / 256) << sh;
    }
    EXPECT_EQ(Out(x, 9), want) << "m = " << x;
  }

  // A band of no width is the hard threshold.
  Start(Record(EFFECT_ALPHA, {1000, 2, 0}, {{2, "RAMP"}}));
  overlap.Move(600);
  overlap.Draw(&target);
  const uint64_t soft = Digest();
  Start(Record(EFFECT_ALPHA, {1000, 1, 0}, {{2, "RAMP"}}));
  overlap.Move(600);
  overlap.Draw(&target);
  EXPECT_EQ(Digest(), soft);
}

TEST_F(OverlapMaskTest, AlphaWithoutItsMaskSaysSoAndShowsTheNewPicture) {
  Start(Record(EFFECT_ALPHA, {300, 0, 255}, {{2, "NOMASK"}}));
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0], "読み込みエラー\nOBJECT:CDIBOverlap\nFILE:NOMASK");
  for (int i = 0; i < 11; ++i) {
    overlap.Draw(&target);
    ASSERT_TRUE(ShowsNew()) << i;
    overlap.Move(30);
  }
  EXPECT_FALSE(overlap.IsRun());

  // A one-pixel mask covers the screen.
  AddPicture("DOT", 1, 1, [](int, int) { return 0xFF0000C8u; });
  Start(Record(EFFECT_ALPHA, {1000, 1, 0}, {{2, "DOT"}}));
  overlap.Move(200);  // a = 51: 200 ≥ 204 is not yet reached
  overlap.Draw(&target);
  EXPECT_EQ(Out(799, 599), Old(799, 599));
  overlap.Move(30);  // a = 58
  overlap.Draw(&target);
  EXPECT_TRUE(ShowsNew());
  EXPECT_EQ(boxes.size(), 1u);
}

TEST_F(OverlapMaskTest, WipeGrowsTheShapeOverTheScreenOrShrinksItAway) {
  // A disc in the middle of a 100 × 100 mask.
  AddPicture("DISC", 100, 100, [](int x, int y) {
    return (x - 50) * (x - 50) + (y - 50) * (y - 50) < 40 * 40 ? 0xFF0000FFu : 0xFF000000u;
  });
  Start(Record(EFFECT_WIPE, {900, 0}, {{2, "DISC"}}));
  overlap.Draw(&target);  // nothing grown yet
  for (int i = 0; i < kW * kH; i += 997) ASSERT_EQ(target.GetPixels()[i], oldImage.GetPixels()[i]);
  overlap.Move(900);
  overlap.Draw(&target);  // one and a half screens: the corners lie outside the disc
  EXPECT_EQ(Out(400, 300), New(400, 300));
  EXPECT_EQ(Out(0, 0), Old(0, 0));
  EXPECT_EQ(Out(799, 599), Old(799, 599));

  Start(Record(EFFECT_WIPE, {900, 1}, {{2, "DISC"}}));
  overlap.Draw(&target);  // the full shape holds the old picture
  EXPECT_EQ(Out(400, 300), Old(400, 300));
  EXPECT_EQ(Out(0, 0), New(0, 0));
  overlap.Move(900);
  overlap.Draw(&target);
  EXPECT_TRUE(ShowsNew());

  // Without its mask: the new picture, and no box.
  Start(Record(EFFECT_WIPE, {900, 0}, {{2, "GONE"}}));
  overlap.Draw(&target);
  EXPECT_TRUE(ShowsNew());
  EXPECT_TRUE(boxes.empty());
}

TEST_F(OverlapMaskTest, LensFlareFlashesOverTheCrossFadeAndDrawsItsDiscs) {
  auto flash = [](int x, int y) {
    return static_cast<uint32_t>(((x + y) & 0xFF) << 24 | (x * 5 & 0xFF) << 16 | (y & 0xFF) << 8 | 0x40);
  };
  // Only the flash: a flare picture of one element has no discs.
  AddPicture("FLASH", kW, kH, flash);
  Start(Record(EFFECT_LENSFLARE, {1000, 0, 1000, 0}, {{1, "FLASH"}}));
  overlap.Move(450);  // p = 0.45: in the flash
  overlap.Draw(&target);
  const uint32_t a = 450 * 255 / 1000;
  const uint32_t strength = static_cast<uint32_t>((0.45 - 0.3) * 3.3333333 * 510);
  auto byHand = [&](int x, int y) {
    const uint32_t f = flash(x, y), l = (Chan(f, 24) + strength) / 2;
    uint32_t out = 0xFF000000u;
    for (int sh = 0; sh < 24; sh += 8) {
      const uint32_t c = (Chan(Old(x, y), sh) * (255 - a) + Chan(New(x, y), sh) * a) / 255;
      out |= ((c * (255 - l) + Chan(f, sh) * l) / 255) << sh;
    }
    return out;
  };
  for (auto [x, y] : {std::pair{0, 0}, {1, 599}, {400, 300}, {798, 3}, {123, 456}}) EXPECT_EQ(Out(x, y), byHand(x, y));

  // Outside the flash: the plain cross-fade, ÷255 on all four bytes.
  Start(Record(EFFECT_LENSFLARE, {1000, 0, 1000, 0}, {{1, "FLASH"}}));
  overlap.Move(100);
  overlap.Draw(&target);
  auto crossFade = [&](int x, int y) {
    uint32_t out = 0;
    for (int sh = 0; sh < 32; sh += 8) out |= ((Chan(Old(x, y), sh) * 230 + Chan(New(x, y), sh) * 25) / 255) << sh;
    return out;
  };
  EXPECT_EQ(Out(198, 21), crossFade(198, 21));
  EXPECT_EQ(Out(700, 500), crossFade(700, 500));

  // With its eleven discs the first one lands 200 pixels down the line.
  std::vector<SprtElement> elements{{0, 0, 800, 600, 0, 0}};
  for (int i = 0; i < 11; ++i) elements.push_back(SprtElement{static_cast<int16_t>(i * 40), 0, 40, 40, 0, 0});
  AddPicture("FLARE", kW, kH, [](int x, int y) { return y < 40 && x < 440 ? 0xFFFFFFFFu : 0u; }, elements);
  Start(Record(EFFECT_LENSFLARE, {1000, 0, 1000, 0}, {{1, "FLARE"}}));
  overlap.Move(100);
  overlap.Draw(&target);
  EXPECT_NE(Out(198, 21), crossFade(198, 21));
  EXPECT_EQ(Out(700, 500), crossFade(700, 500));
  // Direction 1 starts from the top-right corner instead.
  Start(Record(EFFECT_LENSFLARE, {1000, 0, 1000, 1}, {{1, "FLARE"}}));
  overlap.Move(100);
  overlap.Draw(&target);
  EXPECT_EQ(Out(198, 21), crossFade(198, 21));
  EXPECT_NE(Out(800 - 198, 21), crossFade(800 - 198, 21));

  // A flare that starts and ends at the same moment never shows (its
  // progress would divide by zero).
  Start(Record(EFFECT_LENSFLARE, {1000, 100, 100, 0}, {{1, "FLARE"}}));
  overlap.Move(100);
  overlap.Draw(&target);
  EXPECT_EQ(Out(198, 21), crossFade(198, 21));

  // Without its picture: the new picture, and no box.
  Start(Record(EFFECT_LENSFLARE, {1000, 0, 1000, 0}, {{1, "GONE"}}));
  overlap.Move(450);
  overlap.Draw(&target);
  EXPECT_TRUE(ShowsNew());
  EXPECT_TRUE(boxes.empty());
}

TEST_F(OverlapMaskTest, ThePicturesAreGivenBackWhenTheEffectEnds) {
  AddPicture("MASK", kW, kH, [](int x, int) { return 0xFF000000u | (x & 0xFF); });
  Start(Record(EFFECT_ALPHA, {60, 2, 30}, {{2, "MASK"}}));
  EXPECT_EQ(Refs("MASK"), 2);
  while (overlap.IsRun()) overlap.Move(30);
  EXPECT_EQ(Refs("MASK"), 1);
  // A new effect over a running one gives the first one's picture back.
  Start(Record(EFFECT_WIPE, {600, 0}, {{2, "MASK"}}));
  Start(Record(EFFECT_FADE, {600}));
  EXPECT_EQ(Refs("MASK"), 1);
}

}  // namespace
