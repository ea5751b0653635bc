#include "scene/DIBOverlap.h"

#include <gtest/gtest.h>

#include "assets/DIBImage.h"
#include "ui/EffectParam.h"

namespace {

EffectParam Effect(int32_t effect, int32_t duration) {
  EffectParam p;
  EffectParamWriter(&p, effect).Int(duration);
  return p;
}

class DIBOverlapTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (CDIBImage* image : {&oldImage, &newImage, &target}) ASSERT_TRUE(image->Create(800, 600));
    // Varied bytes, so every channel's arithmetic shows.
    for (int i = 0; i < 800 * 600; ++i) {
      oldImage.GetPixels()[i] = 0x80FF40C0u ^ static_cast<uint32_t>(i * 2654435761u);
      newImage.GetPixels()[i] = 0x12345678u + static_cast<uint32_t>(i * 40503u);
    }
    target.FillFull(0xDEADBEEFu);
  }
  uint32_t Old(int i) const { return oldImage.GetPixels()[i]; }
  uint32_t New(int i) const { return newImage.GetPixels()[i]; }
  uint32_t Out(int i) const { return target.GetPixels()[i]; }

  CDIBImage oldImage, newImage, target;
  CDIBOverlap overlap;
};

uint32_t FadeByHand(uint32_t o, uint32_t n, uint32_t a) {
  uint32_t out = 0;
  for (int sh = 0; sh < 32; sh += 8) {
    uint32_t oc = (o >> sh) & 0xFF, nc = (n >> sh) & 0xFF;
    out |= ((oc * (255 - a) + nc * a) / 256) << sh;
  }
  return out;
}

TEST_F(DIBOverlapTest, FadeFollowsThePixelRuleFromOldToExactlyNew) {
  EffectParam p = Effect(EFFECT_FADE, 1000);
  overlap.InitEffect(&oldImage, &newImage, &p);
  ASSERT_TRUE(overlap.IsRun());

  overlap.Draw(&target);  // elapsed 0: old × 255 ÷256
  for (int i : {0, 1, 799, 800, 12345, 479999}) EXPECT_EQ(Out(i), FadeByHand(Old(i), New(i), 0)) << i;

  overlap.Move(300);
  overlap.Draw(&target);
  const uint32_t a = 300 * 255 / 1000;
  for (int i = 0; i < 800 * 600; i += 997) ASSERT_EQ(Out(i), FadeByHand(Old(i), New(i), a)) << i;

  overlap.Move(700);
  overlap.Draw(&target);
  for (int i = 0; i < 800 * 600; i += 991) ASSERT_EQ(Out(i), New(i)) << i;
}

TEST_F(DIBOverlapTest, BltShowsNewAtOnceAndEndsAfterTheLastFrameIsDrawn) {
  EffectParam p = Effect(EFFECT_BLT, 90);
  overlap.InitEffect(&oldImage, &newImage, &p);
  overlap.Draw(&target);
  EXPECT_EQ(Out(0), New(0));
  EXPECT_EQ(Out(479999), New(479999));

  overlap.Move(60);
  EXPECT_EQ(overlap.GetTime(), 60);
  overlap.Move(60);
  EXPECT_EQ(overlap.GetTime(), 90);  // clamped
  EXPECT_TRUE(overlap.IsRun());       // the frame at the full duration is still drawn
  overlap.Move(60);
  EXPECT_FALSE(overlap.IsRun());
  EXPECT_EQ(overlap.GetEffect(), EFFECT_NONE);

  target.FillFull(0);
  overlap.Draw(&target);  // not running: draws nothing
  EXPECT_EQ(Out(0), 0u);
}

TEST_F(DIBOverlapTest, FinishNowDrawsTheLastFrameOnceThenEnds) {
  EffectParam p = Effect(EFFECT_FADE, 5000);
  overlap.InitEffect(&oldImage, &newImage, &p);
  overlap.Move(30);
  overlap.SetFinish();
  overlap.Move(30);
  EXPECT_EQ(overlap.GetTime(), 5000);
  overlap.Draw(&target);
  EXPECT_EQ(Out(4242), New(4242));
  overlap.Move(30);
  EXPECT_FALSE(overlap.IsRun());

  // A new effect starts without the old request.
  overlap.InitEffect(&oldImage, &newImage, &p);
  overlap.Move(30);
  EXPECT_EQ(overlap.GetTime(), 30);
}

TEST_F(DIBOverlapTest, UnknownNumbersAndEmptyDurationsAreHarmless) {
  for (int32_t effect : {0, -1, 16, 99}) {
    EffectParam p = Effect(effect, 100);
    overlap.InitEffect(&oldImage, &newImage, &p);
    EXPECT_FALSE(overlap.IsRun()) << effect;
  }
  overlap.InitEffect(&oldImage, &newImage, nullptr);
  EXPECT_FALSE(overlap.IsRun());

  for (int32_t duration : {0, -50}) {
    EffectParam p = Effect(EFFECT_FADE, duration);
    overlap.InitEffect(&oldImage, &newImage, &p);
    ASSERT_TRUE(overlap.IsRun());
    overlap.Draw(&target);  // no division by the empty duration: the new picture
    EXPECT_EQ(Out(77), New(77));
    overlap.Move(30);
    EXPECT_FALSE(overlap.IsRun());
  }
}

}  // namespace
