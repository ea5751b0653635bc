// What every one of the fifteen transitions shares: it draws the frame at
// its full duration once and ends at the next move, a hurry jumps to that
// frame, it gives back what it read, two runs draw the same frames, and
// without a duration it shows the new picture at once.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "OverlapWorld.h"

namespace {

using namespace overlaptest;

struct Case {
  std::string name;
  std::function<EffectParam(int32_t)> record;  // the record for a duration
  bool endsOnNew;                              // its last frame is the new picture exactly
};

std::vector<Case> Cases() {
  std::vector<Case> cases;
  auto add = [&](std::string name, int32_t effect, std::vector<int32_t> rest, bool endsOnNew,
                 std::vector<std::pair<size_t, const char*>> names = {}) {
    cases.push_back(Case{name,
                         [=](int32_t duration) {
                           std::vector<int32_t> values{duration};
                           values.insert(values.end(), rest.begin(), rest.end());
                           return Record(effect, values, names);
                         },
                         endsOnNew});
  };
  add("blt", EFFECT_BLT, {}, true);
  add("fade", EFFECT_FADE, {}, true);
  add("alpha0", EFFECT_ALPHA, {0, 200}, true, {{2, "MASK"}});
  add("alpha1", EFFECT_ALPHA, {1, 200}, true, {{2, "MASK"}});
  add("alpha2", EFFECT_ALPHA, {2, 200}, false, {{2, "MASK"}});
  add("wipe0", EFFECT_WIPE, {0}, false, {{2, "MASK"}});
  add("wipe1", EFFECT_WIPE, {1}, true, {{2, "MASK"}});
  add("rotate0", EFFECT_ROTATE, {0}, false);
  add("rotate1", EFFECT_ROTATE, {1}, false);
  add("lensflare0", EFFECT_LENSFLARE, {30, 120, 0}, true, {{1, "FLARE"}});
  add("lensflare1", EFFECT_LENSFLARE, {0, 100, 1}, true, {{1, "FLARE"}});
  add("twist", EFFECT_TWIST, {0}, true);
  add("bound0", EFFECT_BOUND, {0, 3, 40, -30}, true);
  add("bound1", EFFECT_BOUND, {1, 3, 40, -30}, true);
  add("bound10", EFFECT_BOUND, {10, 2, 0, 90}, true);
  add("bound11", EFFECT_BOUND, {11, 2, -90, 0}, true);
  add("kacchin0", EFFECT_KACCHIN, {0}, true);
  add("kacchin1", EFFECT_KACCHIN, {1}, true);
  // Pieces flying up or down leave the screen; sideways the perspective keeps
  // an edge of the far column in sight.
  for (int mode = 0; mode <= 4; ++mode) add("glass" + std::to_string(mode), EFFECT_GLASS, {mode}, mode == 1 || mode == 2);
  add("fire", EFFECT_FIRE, {}, true);
  add("water", EFFECT_WATER, {}, true);
  for (int direction = 0; direction <= 2; ++direction)
    add("rotdoor" + std::to_string(direction), EFFECT_ROTDOOR, {direction}, false);
  for (int mode : {0, 1, 2, 3, 4, 5, 10, 11, 12, 13}) add("blur" + std::to_string(mode), EFFECT_BLUR, {mode}, false);
  cases.push_back(Case{"film",
                       [](int32_t duration) {
                         EffectParam p;
                         EffectParamWriter(&p, EFFECT_FILM)
                             .Name("FRAME")
                             .Name("SCRATCH")
                             .Int(duration / 3)
                             .Int(duration - 2 * (duration / 3))
                             .Int(duration / 3);
                         return p;
                       },
                       true});
  return cases;
}

class OverlapLifeTest : public OverlapWorld {
 protected:
  void SetUp() override {
    OverlapWorld::SetUp();
    AddPicture("MASK", kW, kH, [](int x, int y) { return 0xFF000000u | ((x + y) & 0xFF); });
    std::vector<SprtElement> flare{{0, 0, 800, 600, 0, 0}};
    for (int i = 0; i < 11; ++i) flare.push_back(SprtElement{static_cast<int16_t>(i * 60), 600, 60, 60, 0, 0});
    AddPicture("FLARE", kW, 660, [](int x, int y) { return static_cast<uint32_t>(x * 31 + y * 17) | 0x40000000u; }, flare);
    AddPicture("FRAME", 400, 300, [](int x, int y) { return (x < 20 || y < 20) ? 0xFF000000u : 0u; });
    AddPicture("SCRATCH", 30, 100, [](int, int) { return 0x80FFFFFFu; },
               {{0, 0, 10, 100, 0, 0}, {10, 0, 10, 100, 0, 0}, {20, 0, 10, 100, 0, 0}});
  }
  bool PicturesGivenBack() {
    for (const char* name : {"MASK", "FLARE", "FRAME", "SCRATCH"})
      if (Refs(name) != 1) return false;
    return true;
  }
};

TEST_F(OverlapLifeTest, EveryEffectDrawsItsLastFrameOnceThenEnds) {
  for (const Case& c : Cases()) {
    SCOPED_TRACE(c.name);
    Start(c.record(150));
    ASSERT_TRUE(overlap.IsRun());
    int lastFrames = 0;
    for (int frame = 0; frame < 20 && overlap.IsRun(); ++frame) {
      overlap.Draw(&target);
      if (overlap.GetTime() == overlap.GetSpan()) {
        ++lastFrames;
        if (c.endsOnNew) {
          EXPECT_TRUE(ShowsNew());
        }
      }
      overlap.Move(30);
    }
    EXPECT_EQ(lastFrames, 1);
    EXPECT_FALSE(overlap.IsRun());
    EXPECT_EQ(overlap.GetEffect(), EFFECT_NONE);
    EXPECT_TRUE(PicturesGivenBack());
    // Not running: drawing leaves the target alone.
    target.FillFull(0x01020304u);
    overlap.Draw(&target);
    EXPECT_EQ(Out(123, 45), 0x01020304u);
  }
}

TEST_F(OverlapLifeTest, AHurryDrawsTheLastFrameOnceAndEndsAtTheNextMove) {
  for (const Case& c : Cases()) {
    SCOPED_TRACE(c.name);
    Start(c.record(3000));
    overlap.Move(30);
    overlap.Draw(&target);
    overlap.SetFinish();
    overlap.Move(30);
    EXPECT_EQ(overlap.GetTime(), 3000);
    ASSERT_TRUE(overlap.IsRun());
    overlap.Draw(&target);
    if (c.endsOnNew) {
      EXPECT_TRUE(ShowsNew());
    }
    overlap.Move(30);
    EXPECT_FALSE(overlap.IsRun());
    EXPECT_TRUE(PicturesGivenBack());
  }
}

TEST_F(OverlapLifeTest, TwoRunsFromTheSameSeedDrawTheSameFrames) {
  // One case of each effect: the modes share their arithmetic.
  bool seen[EFFECT_COUNT] = {};
  for (const Case& c : Cases()) {
    const int32_t effect = c.record(1).nEffect;
    if (seen[effect]) continue;
    seen[effect] = true;
    SCOPED_TRACE(c.name);
    std::vector<uint64_t> runs[2];
    for (std::vector<uint64_t>& frames : runs) {
      plat::SRand(1);
      target.FillFull(0xFF000000u);
      Start(c.record(120));
      while (overlap.IsRun()) {
        overlap.Draw(&target);
        frames.push_back(Digest());
        overlap.Move(30);
      }
    }
    EXPECT_EQ(runs[0], runs[1]);
    EXPECT_EQ(runs[0].size(), 5u);
  }
}

TEST_F(OverlapLifeTest, WithoutADurationTheNewPictureShowsAndTheFirstMoveEnds) {
  for (const Case& c : Cases()) {
    for (int32_t duration : {0, -50}) {
      SCOPED_TRACE(c.name + " " + std::to_string(duration));
      target.FillFull(0);
      Start(c.record(duration));
      ASSERT_TRUE(overlap.IsRun());
      overlap.Draw(&target);
      EXPECT_TRUE(ShowsNew());
      overlap.Move(30);
      EXPECT_FALSE(overlap.IsRun());
    }
  }
  // The scenario starts a film with no parameters at all.
  EffectParam bare;
  EffectParamWriter(&bare, EFFECT_FILM);
  Start(bare);
  overlap.Draw(&target);
  EXPECT_TRUE(ShowsNew());
  overlap.Move(30);
  EXPECT_FALSE(overlap.IsRun());
}

TEST_F(OverlapLifeTest, OddPicturesAndMissingScreensDoNotUpsetAnyEffect) {
  // A flare of two elements, a frame without element 0, a scratch of one.
  AddPicture("FLARE2", 64, 64, [](int, int) { return 0xFFFFFFFFu; }, {{0, 0, 64, 64, 0, 0}, {0, 0, 8, 8, 0, 0}});
  auto* empty = new CDIBSprite;
  ASSERT_TRUE(empty->Create(8, 8));
  ASSERT_TRUE(empty->InitSprtInfo(0, 4));
  empty->SetName("NOELEMENT");
  ASSERT_TRUE(cache.Add(empty));
  Start(Record(EFFECT_LENSFLARE, {300, 0, 300, 1}, {{1, "FLARE2"}}));
  while (overlap.IsRun()) {
    overlap.Draw(&target);
    overlap.Move(30);
  }
  EffectParam film;
  EffectParamWriter(&film, EFFECT_FILM).Name("NOELEMENT").Name("NOELEMENT").Int(60).Int(60).Int(60);
  Start(film);
  while (overlap.IsRun()) {
    overlap.Draw(&target);
    overlap.Move(30);
  }
  EXPECT_TRUE(ShowsNew());

  // Screens that were never made: nothing is drawn from them.
  CDIBImage none;
  for (const Case& c : Cases()) {
    SCOPED_TRACE(c.name);
    EffectParam p = c.record(90);
    overlap.InitEffect(&none, &none, &p);
    for (int frame = 0; frame < 6 && overlap.IsRun(); ++frame) {
      overlap.Draw(&target);
      overlap.Move(30);
    }
    overlap.InitEffect(nullptr, nullptr, &p);
    overlap.Draw(&target);
    overlap.Move(30);
    overlap.Draw(nullptr);
    overlap.Release();
  }
}

}  // namespace
