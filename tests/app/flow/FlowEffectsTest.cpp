// Every transition carries a screen switch: the screen flow hands its two
// captured screens to the effect, the switch completes when the effect has
// drawn its last frame, and the player's hurry ends any of them at once.
#include <gtest/gtest.h>

#include <vector>

#include "FlowTestKit.h"
#include "assets/DIBSprite.h"
#include "assets/SpriteCache.h"
#include "platform/Random.h"

namespace {

using namespace flowtest;

// One record of each effect, with the pictures the game would name.
std::vector<EffectParam> EveryEffect(int32_t duration) {
  std::vector<EffectParam> records;
  auto add = [&](int32_t effect, std::vector<int32_t> rest, const char* name = nullptr, size_t nameAt = 0) {
    EffectParam p;
    EffectParamWriter write(&p, effect);
    write.Int(duration);
    for (size_t i = 0; i <= rest.size(); ++i) {
      if (name && i == nameAt) write.Name(name);
      if (i < rest.size()) write.Int(rest[i]);
    }
    records.push_back(p);
  };
  add(EFFECT_BLT, {});
  add(EFFECT_FADE, {});
  add(EFFECT_ALPHA, {0, 255}, "MASK", 1);
  add(EFFECT_WIPE, {1}, "MASK", 1);
  add(EFFECT_ROTATE, {1});
  add(EFFECT_LENSFLARE, {0, duration, 0}, "FLARE", 0);
  add(EFFECT_TWIST, {0});
  add(EFFECT_BOUND, {11, 3, 0, 120});
  add(EFFECT_KACCHIN, {1});
  add(EFFECT_GLASS, {2});
  add(EFFECT_FIRE, {});
  add(EFFECT_WATER, {});
  EffectParam film;
  EffectParamWriter(&film, EFFECT_FILM).Name("").Name("").Int(duration / 3).Int(duration / 3).Int(duration / 3);
  records.push_back(film);
  add(EFFECT_ROTDOOR, {2});
  add(EFFECT_BLUR, {12});
  return records;
}

class FlowEffectsTest : public FlowWorld {
 protected:
  void SetUp() override {
    FlowWorld::SetUp();
    cache.Initialize(nullptr);
    window.mpSpriteCache = &cache;
    auto* mask = new CDIBSprite;
    ASSERT_TRUE(mask->Create(80, 60));
    for (int i = 0; i < 80 * 60; ++i) mask->GetPixels()[i] = 0xFF000000u | (i * 7 & 0xFF);
    mask->SetName("MASK");
    ASSERT_TRUE(cache.Add(mask));
    auto* flare = new CDIBSprite;
    ASSERT_TRUE(flare->Create(800, 600));
    flare->FillFull(0x80FFEECCu);
    flare->SetName("FLARE");
    ASSERT_TRUE(cache.Add(flare));
    plat::SRand(1);
  }

  CSpriteCache cache;
};

TEST_F(FlowEffectsTest, EveryEffectCarriesASwitchToTheNewScreen) {
  const std::vector<EffectParam> records = EveryEffect(150);
  ASSERT_EQ(records.size(), 15u);
  uint32_t colors[2] = {0xFF204080u, 0xFFC08040u};
  for (size_t i = 0; i < records.size(); ++i) {
    SCOPED_TRACE(records[i].nEffect);
    const uint32_t color = colors[i % 2];
    flow.ChangeScreen(&records[i], nullptr, nullptr, NewScreen("screen", color), false);
    ASSERT_TRUE(flow.GetOverlap()->IsRun());
    // Five frames of 30 ms, the last at the full duration drawn once; the
    // switch completes in the sixth.
    EXPECT_EQ(FramesToSwitch(), 6);
    EXPECT_EQ(Shown(), color);
    EXPECT_EQ(Shown(0, 0), color);
    Frame();
    EXPECT_EQ(Shown(799, 599), color);
  }
  EXPECT_TRUE(boxes.empty());
}

TEST_F(FlowEffectsTest, ThePlayerHurriesAnyEffectToItsEnd) {
  Go(NewScreen("first", 0xFF112233u));
  FramesToSwitch();
  for (const EffectParam& record : EveryEffect(20000)) {
    SCOPED_TRACE(record.nEffect);
    flow.ChangeScreen(&record, nullptr, nullptr, NewScreen("next", 0xFF445566u), false);
    Frame();
    Frame();
    plat::SetScriptedKey(plat::VK_RETURN, true);
    Frame();
    plat::SetScriptedKey(plat::VK_RETURN, false);
    EXPECT_EQ(flow.GetOverlap()->GetTime(), flow.GetOverlap()->GetSpan());
    EXPECT_EQ(FramesToSwitch(), 1);
    EXPECT_EQ(Shown(), 0xFF445566u);
  }
}

TEST_F(FlowEffectsTest, ATwoStageSwitchRunsOneEffectToBlackAndAnotherFromIt) {
  Go(NewScreen("title", 0xFF0000FFu));
  FramesToSwitch();
  const std::vector<EffectParam> records = EveryEffect(90);
  flow.ChangeScreen(&records[11], &records[9], nullptr, NewScreen("game", 0xFF00FF00u), false);  // water, glass
  for (int i = 0; i < 4; ++i) Frame();
  EXPECT_EQ(flow.GetOverlap()->GetEffect(), EFFECT_GLASS);
  EXPECT_FALSE(Seen("game 2nd"));
  EXPECT_GT(FramesToSwitch(), 0);
  EXPECT_TRUE(Seen("game 2nd"));
  EXPECT_EQ(Shown(), 0xFF00FF00u);
}

}  // namespace
