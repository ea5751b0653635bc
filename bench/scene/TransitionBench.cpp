// One frame of every screen transition at 800 × 600, at the moment of the
// effect that costs the most (its move step and its drawing), each also
// printed as a multiple of a memcpy of one 800 × 600 × 4 frame measured in
// the same run. A 30 ms frame must leave room for the scenario and the
// message window: the aim is at most 25 memcpy for any effect.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <random>
#include <string>
#include <vector>

#include "RatioReport.h"
#include "app/core/MainWindow.h"
#include "assets/DIBImage.h"
#include "assets/DIBSprite.h"
#include "assets/MixRows.h"
#include "assets/PixelRows.h"
#include "assets/SpriteCache.h"
#include "platform/Random.h"
#include "scene/DIBOverlap.h"
#include "ui/EffectParam.h"

namespace {

constexpr int kW = 800, kH = 600;
constexpr size_t kPixels = static_cast<size_t>(kW) * kH;

void Fill(CDIBImage& image, uint32_t seed, uint32_t alpha) {
  std::mt19937 rng(seed);
  for (size_t i = 0; i < kPixels; ++i) image.GetPixels()[i] = (rng() & 0x00FFFFFFu) | alpha << 24;
}

// A picture for the cache, with the given elements (none: one covering it).
CDIBSprite* Picture(const char* name, int w, int h, const std::vector<SprtElement>& elements, uint32_t seed) {
  auto* sprite = new CDIBSprite;
  sprite->Create(w, h);
  std::mt19937 rng(seed);
  for (int i = 0; i < w * h; ++i) sprite->GetPixels()[i] = rng();
  if (!elements.empty()) {
    sprite->InitSprtInfo(static_cast<int>(elements.size()), 4);
    for (size_t i = 0; i < elements.size(); ++i) *sprite->GetSprtInfoMutable(static_cast<int>(i)) = elements[i];
  }
  sprite->SetName(name);
  return sprite;
}

// Screens, the picture cache with a mask, a flare, a film frame and
// scratches, and the application face that reaches the cache.
struct World {
  CDIBImage oldImage, newImage, target;
  CSpriteCache cache;
  CMainWindow window;
  World() {
    for (CDIBImage* image : {&oldImage, &newImage, &target}) image->Create(kW, kH);
    Fill(oldImage, 1, 0xFF);
    Fill(newImage, 2, 0xFE);
    target.FillFull(0);
    cache.Initialize(nullptr);
    cache.Add(Picture("MASK", kW, kH, {}, 3));
    std::vector<SprtElement> flare{{800, 0, 800, 600, 0, 0}};
    for (int i = 0; i < 11; ++i) flare.push_back(SprtElement{static_cast<int16_t>(i * 72), 0, 72, 72, 0, 0});
    cache.Add(Picture("FLARE", 1600, 600, flare, 4));
    cache.Add(Picture("FRAME", kW, kH, {}, 5));
    cache.Add(Picture("SCRATCH", 48, 600, {{0, 0, 16, 600, 0, 0}, {16, 0, 16, 600, 0, 0}, {32, 0, 16, 600, 0, 0}}, 6));
    window.mpSpriteCache = &cache;
    gpMainWindow = &window;
  }
};

World& TheWorld() {
  static World world;
  return world;
}

// Holds a transition at one moment: every iteration runs the effect's move
// step for one 30 ms frame there, then draws.
class HeldOverlap : public CDIBOverlap {
 public:
  void Frame(int32_t time) {
    mnTime = time;
    mnStepTime = 30;
    (this->*kEffects[mnEffect].move)();
    Draw(&TheWorld().target);
  }
};

void BM_Memcpy(benchmark::State& state) {
  World& w = TheWorld();
  for (auto _ : state) {
    memcpy(w.target.GetPixels(), w.oldImage.GetPixels(), kPixels * 4);
    benchmark::ClobberMemory();
  }
}

// The effect of `param` held at `time` (of 1000 ms).
void RunEffect(benchmark::State& state, const EffectParam& param, int32_t time) {
  World& w = TheWorld();
  plat::SRand(1);
  HeldOverlap overlap;
  overlap.InitEffect(&w.oldImage, &w.newImage, &param);
  // Effects that build up (fire, water, trails) run up to the moment first.
  for (int32_t t = 0; t < time; t += 30) overlap.Frame(t);
  for (auto _ : state) {
    overlap.Frame(time);
    benchmark::ClobberMemory();
  }
}

// A record of integers with a picture name before the integer at `nameAt`.
EffectParam Param(int32_t effect, std::initializer_list<int32_t> values, const char* name = nullptr,
                  size_t nameAt = 0) {
  EffectParam p;
  EffectParamWriter write(&p, effect);
  size_t i = 0;
  for (int32_t v : values) {
    if (name && i == nameAt) write.Name(name);
    write.Int(v);
    ++i;
  }
  if (name && i == nameAt) write.Name(name);
  return p;
}

void BM_Blt(benchmark::State& s) { RunEffect(s, Param(EFFECT_BLT, {1000}), 500); }
void BM_Fade(benchmark::State& s) { RunEffect(s, Param(EFFECT_FADE, {1000}), 500); }
void BM_Alpha0(benchmark::State& s) { RunEffect(s, Param(EFFECT_ALPHA, {1000, 0, 128}, "MASK", 2), 500); }
void BM_Alpha1(benchmark::State& s) { RunEffect(s, Param(EFFECT_ALPHA, {1000, 1, 128}, "MASK", 2), 500); }
void BM_Alpha2(benchmark::State& s) { RunEffect(s, Param(EFFECT_ALPHA, {1000, 2, 128}, "MASK", 2), 500); }
void BM_Wipe(benchmark::State& s) { RunEffect(s, Param(EFFECT_WIPE, {1000, 0}, "MASK", 2), 700); }
void BM_Rotate(benchmark::State& s) { RunEffect(s, Param(EFFECT_ROTATE, {1000, 0}), 990); }
void BM_LensFlare(benchmark::State& s) { RunEffect(s, Param(EFFECT_LENSFLARE, {1000, 0, 1000, 0}, "FLARE", 1), 450); }
void BM_Twist(benchmark::State& s) { RunEffect(s, Param(EFFECT_TWIST, {1000, 0}), 30); }
void BM_Bound(benchmark::State& s) { RunEffect(s, Param(EFFECT_BOUND, {1000, 1, 3, 0, 200}), 160); }
void BM_Kacchin(benchmark::State& s) { RunEffect(s, Param(EFFECT_KACCHIN, {1000, 0}), 500); }
void BM_Glass(benchmark::State& s) { RunEffect(s, Param(EFFECT_GLASS, {1000, 0}), 150); }
void BM_Fire(benchmark::State& s) { RunEffect(s, Param(EFFECT_FIRE, {1000}), 950); }
void BM_Water(benchmark::State& s) { RunEffect(s, Param(EFFECT_WATER, {1000}), 700); }
void BM_Film(benchmark::State& s) {
  EffectParam p;
  EffectParamWriter(&p, EFFECT_FILM).Name("FRAME").Name("SCRATCH").Int(300).Int(400).Int(300);
  RunEffect(s, p, 850);
}
void BM_RotDoor(benchmark::State& s) { RunEffect(s, Param(EFFECT_ROTDOOR, {1000, 0}), 100); }
void BM_Blur(benchmark::State& s) { RunEffect(s, Param(EFFECT_BLUR, {1000, 11}), 500); }

BENCHMARK(BM_Memcpy)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Blt)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Fade)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Alpha0)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Alpha1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Alpha2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Wipe)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Rotate)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LensFlare)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Twist)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Bound)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Kacchin)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Glass)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Fire)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Water)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Film)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RotDoor)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Blur)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  printf("pixel path: %s, mixes: %s\n", pix::Rows().name, pix::Mix().name);
  return benchreport::RunWithRatios(argc, argv, "frame (800 x 600)", "us", 1.0);
}
