// Image buffer speed on 800 × 600 pictures. Every result is also printed as
// a ratio to a memcpy of one 800 × 600 × 4 picture measured in the same run,
// so numbers from different machines compare.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "RatioReport.h"
#include "assets/DIBImage.h"
#include "assets/PixelRows.h"

namespace {

constexpr int kW = 800, kH = 600;
constexpr size_t kPixels = static_cast<size_t>(kW) * kH;

// A picture like the game's sprites: a third transparent, a third opaque,
// the rest partly see-through.
void MakeSprite(CDIBImage& img, uint32_t seed) {
  img.Create(kW, kH);
  std::mt19937 rng(seed);
  for (size_t i = 0; i < kPixels; ++i) {
    uint32_t p = rng() & 0x00FFFFFFu;
    switch ((i / 37) % 3) {
      case 0: break;
      case 1: p |= 0xFF000000u; break;
      default: p |= (rng() & 0xFF) << 24; break;
    }
    img.GetPixels()[i] = p;
  }
}

struct Pictures {
  CDIBImage src, dst, other;
  Pictures() {
    MakeSprite(src, 1);
    MakeSprite(dst, 2);
    MakeSprite(other, 3);
  }
};

Pictures& Pics() {
  static Pictures p;
  return p;
}

void BM_Memcpy(benchmark::State& state) {
  Pictures& p = Pics();
  for (auto _ : state) {
    memcpy(p.dst.GetPixels(), p.src.GetPixels(), kPixels * 4);
    benchmark::ClobberMemory();
  }
}

void BM_FillFull(benchmark::State& state) {
  for (auto _ : state) {
    Pics().dst.FillFull(0xFF102030u);
    benchmark::ClobberMemory();
  }
}

void BM_Copy(benchmark::State& state) {
  Pictures& p = Pics();
  for (auto _ : state) {
    p.src.Copy(&p.dst, 0, 0, 0, 0, kW, kH);
    benchmark::ClobberMemory();
  }
}

void BM_BltBlend(benchmark::State& state) {
  Pictures& p = Pics();
  for (auto _ : state) {
    p.src.BltBlend(&p.dst, 0, 0, 0, 0, kW, kH, 0xFFFFFFFFu);
    benchmark::ClobberMemory();
  }
}

void BM_BltFast(benchmark::State& state) {
  Pictures& p = Pics();
  for (auto _ : state) {
    p.src.BltFast(&p.dst, 0, 0, 0, 0, kW, kH, 0xFFFFFFFFu);
    benchmark::ClobberMemory();
  }
}

// The whole source onto a quad: half size at the centre, or full size
// turned 30° about the centre.
SprtVertex Placed(bool rotated) {
  SprtVertex v;
  Pics().src.SetStretchVertex(v, 200, 150, 400, 300, 0xFFFFFFFFu);
  if (rotated) {
    const double a = 30.0 * 3.14159265358979 / 180.0, c = std::cos(a), s = std::sin(a);
    const double hx = kW / 2.0, hy = kH / 2.0;
    const double corners[4][2] = {{-hx, -hy}, {hx, -hy}, {hx, hy}, {-hx, hy}};
    for (int i = 0; i < 4; ++i) {
      v.dst[i].x = static_cast<int16_t>(std::lround(hx + corners[i][0] * c - corners[i][1] * s));
      v.dst[i].y = static_cast<int16_t>(std::lround(hy + corners[i][0] * s + corners[i][1] * c));
    }
  }
  return v;
}

void BM_StretchBltBlend(benchmark::State& state) {
  Pictures& p = Pics();
  SprtVertex v = Placed(state.range(0) != 0);
  bool filter = state.range(1) != 0;
  for (auto _ : state) {
    p.src.StretchBltBlend(&p.dst, v, filter);
    benchmark::ClobberMemory();
  }
}

// Full screen, one pixel narrower than the picture so that no shortcut is
// taken.
SprtVertex FullScreen() {
  SprtVertex v;
  Pics().src.SetStretchVertex(v, 0, 0, kW - 1, kH, 0xFFFFFFFFu);
  return v;
}

void BM_StretchBltAddBlend(benchmark::State& state) {
  Pictures& p = Pics();
  SprtVertex v = FullScreen();
  v.color = 0x80FFFFFFu;
  for (auto _ : state) {
    p.src.StretchBltAddBlend(&p.dst, v);
    benchmark::ClobberMemory();
  }
}

void BM_StretchBltBlendShadow(benchmark::State& state) {
  Pictures& p = Pics();
  SprtVertex v = FullScreen();
  v.dst[0].z = 0;
  v.dst[1].z = 64;
  v.dst[2].z = 128;
  v.dst[3].z = 200;
  for (auto _ : state) {
    p.src.StretchBltBlendShadow(&p.dst, v, false);
    benchmark::ClobberMemory();
  }
}

void BM_Mozaiku(benchmark::State& state) {
  Pictures& p = Pics();
  for (auto _ : state) {
    p.dst.Mozaiku(12, true, true);
    benchmark::ClobberMemory();
  }
}

void BM_Befog(benchmark::State& state) {
  Pictures& p = Pics();
  for (auto _ : state) {
    p.dst.Befog(1);
    benchmark::ClobberMemory();
  }
}

// The transitions' Fade: (old × (255 − a) + new × a) ÷256 over the screen.
void BM_CrossFade(benchmark::State& state) {
  Pictures& p = Pics();
  auto fade = pix::Rows().fade;
  uint32_t a = 0;
  for (auto _ : state) {
    fade(p.dst.GetPixels(), p.src.GetPixels(), p.other.GetPixels(), kPixels, a);
    a = (a + 17) & 0xFF;
    benchmark::ClobberMemory();
  }
}

// The blend and fade kernels of each set, to show what each vector path
// buys.
const pix::RowKernels* Set(int index) {
  return index == 0 ? &pix::ScalarRows() : index == 1 ? pix::Sse2Rows() : pix::Avx2Rows();
}

// The set range(0) names, labelled; null (the run skipped) when this
// processor lacks it.
const pix::RowKernels* KernelSet(benchmark::State& state) {
  const pix::RowKernels* set = Set(static_cast<int>(state.range(0)));
  if (!set) {
    state.SkipWithError("not on this processor");
    return nullptr;
  }
  state.SetLabel(set->name);
  return set;
}

void BM_BlendKernel(benchmark::State& state) {
  const pix::RowKernels* set = KernelSet(state);
  if (!set) return;
  Pictures& p = Pics();
  for (auto _ : state) {
    set->blend(p.dst.GetPixels(), p.src.GetPixels(), kPixels, 0xFFFFFFFFu);
    benchmark::ClobberMemory();
  }
}

void BM_FadeKernel(benchmark::State& state) {
  const pix::RowKernels* set = KernelSet(state);
  if (!set) return;
  Pictures& p = Pics();
  for (auto _ : state) {
    set->fade(p.dst.GetPixels(), p.src.GetPixels(), p.other.GetPixels(), kPixels, 100);
    benchmark::ClobberMemory();
  }
}

// Unfiltered sampling of a whole 800 × 600 picture by each set: range(1) =
// 0 a 90 % zoom (rows without rotation), 1 unscaled, 2 turned a little (a
// new source row along each span).
void BM_SampleNearestKernel(benchmark::State& state) {
  const pix::RowKernels* set = KernelSet(state);
  if (!set) return;
  Pictures& p = Pics();
  const int mode = static_cast<int>(state.range(1));
  const int64_t du = mode == 1 ? 65536 : 58982, dv = mode == 2 ? 3000 : 0;
  for (auto _ : state) {
    for (int y = 0; y < kH; ++y)
      set->sampleNearest(p.dst.GetPixels() + static_cast<size_t>(y) * kW, p.src.GetPixels(), kW, kH, 1000,
                         (static_cast<int64_t>(y) * 9 / 10) << 16, du, mode == 2 ? dv * (y % 2) : dv,
                         mode == 2 ? 700 : kW - 1);
    benchmark::ClobberMemory();
  }
}

BENCHMARK(BM_Memcpy)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FillFull)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Copy)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BltBlend)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BltFast)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StretchBltBlend)
    ->ArgNames({"rotated", "filter"})
    ->Args({0, 0})
    ->Args({0, 1})
    ->Args({1, 0})
    ->Args({1, 1})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StretchBltAddBlend)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StretchBltBlendShadow)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Mozaiku)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Befog)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CrossFade)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BlendKernel)->ArgName("set")->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FadeKernel)->ArgName("set")->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SampleNearestKernel)
    ->ArgNames({"set", "mode"})
    ->ArgsProduct({{0, 1, 2}, {0, 1, 2}})
    ->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  printf("pixel path: %s\n", pix::Rows().name);
  return benchreport::RunWithRatios(argc, argv, "operation (800 x 600)", "us", 1.0);
}
