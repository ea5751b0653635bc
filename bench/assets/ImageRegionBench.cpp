// A screen's dirty region over one frame: cleared, then dozens of control
// quads added, then read back as rectangles.
#include <benchmark/benchmark.h>

#include "assets/DIBImage.h"

namespace {

void BM_RegionFrame(benchmark::State& state) {
  CDIBImage img;
  img.Create(800, 600);
  img.CreateRGN();
  const int controls = static_cast<int>(state.range(0));
  for (auto _ : state) {
    img.ClearRGN();
    for (int i = 0; i < controls; ++i) {
      // Staggered, partly overlapping buttons.
      int x = (i * 97) % 720, y = (i * 53) % 560;
      img.AddRGN(x, y, x + 80, y + 30);
    }
    img.UpdateRegionData();
    benchmark::DoNotOptimize(img.GetRegionData());
  }
}

BENCHMARK(BM_RegionFrame)->Arg(12)->Arg(48)->Arg(96)->Unit(benchmark::kMicrosecond);

}  // namespace
