// One frame of the screen transitions at 800 × 600: the Fade against Blt,
// which is a plain copy of the new picture and serves as the baseline.
#include <benchmark/benchmark.h>

#include "assets/DIBImage.h"
#include "scene/DIBOverlap.h"
#include "ui/EffectParam.h"

namespace {

void RunEffect(benchmark::State& state, int32_t effect) {
  CDIBImage oldImage, newImage, target;
  for (CDIBImage* image : {&oldImage, &newImage, &target}) image->Create(800, 600);
  oldImage.FillFull(0xFF336699u);
  newImage.FillFull(0x80CC9933u);
  EffectParam param;
  EffectParamWriter(&param, effect).Int(1 << 30);
  CDIBOverlap overlap;
  overlap.InitEffect(&oldImage, &newImage, &param);
  overlap.Move(1 << 29);  // half way
  for (auto _ : state) {
    overlap.Draw(&target);
    benchmark::DoNotOptimize(target.GetPixels());
  }
  state.SetBytesProcessed(state.iterations() * 800 * 600 * 4);
}

void BM_OverlapBlt(benchmark::State& state) { RunEffect(state, EFFECT_BLT); }
void BM_OverlapFade(benchmark::State& state) { RunEffect(state, EFFECT_FADE); }

BENCHMARK(BM_OverlapBlt);
BENCHMARK(BM_OverlapFade);

}  // namespace

BENCHMARK_MAIN();
