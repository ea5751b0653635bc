// Recomposing pages of the virtual screen and drawing the layer actions at
// 800 × 600. Each result also carries "x_memcpy": its time as a multiple of
// a memcpy of one 800 × 600 × 4 frame measured in the same run (the median
// of many), so figures from different machines compare. Both are measured
// in the thread's processor time, which a busy shared machine disturbs
// least.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "app/core/MainWindow.h"
#include "assets/DIBSprite.h"
#include "assets/SpriteCache.h"
#include "scene/DIBCamera.h"
#include "scene/DIBSnrAction.h"
#include "scene/DIBSnrLayer.h"
#include "scene/DIBSnrVVram.h"

namespace {

constexpr int kW = 800, kH = 600;
constexpr size_t kPixels = static_cast<size_t>(kW) * kH;

double CpuSeconds() {
  timespec t;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double MemcpySeconds() {
  static const double seconds = [] {
    std::vector<uint32_t> a(kPixels, 0x80402010u), b(kPixels);
    std::vector<double> runs;
    for (int i = 0; i < 101; ++i) {
      const double t0 = CpuSeconds();
      for (int k = 0; k < 10; ++k) {
        memcpy(b.data(), a.data(), kPixels * 4);
        benchmark::DoNotOptimize(b.data());
        benchmark::ClobberMemory();
      }
      runs.push_back((CpuSeconds() - t0) / 10.0);
    }
    std::nth_element(runs.begin(), runs.begin() + 50, runs.end());
    return runs[50];
  }();
  return seconds;
}

// Times the loop and sets the ratio counter.
template <typename Body>
void Measure(benchmark::State& state, Body body) {
  const double base = MemcpySeconds();
  const double t0 = CpuSeconds();
  for (auto _ : state) body();
  const double each = (CpuSeconds() - t0) / static_cast<double>(state.iterations());
  state.counters["x_memcpy"] = each / base;
}

// The application object with a picture cache holding full-screen pictures
// like the game's: some pixels transparent, some opaque, the rest partly
// see-through.
struct World {
  CMainWindow window;
  CSpriteCache cache;
  World() {
    gpMainWindow = &window;
    window.mpSpriteCache = &cache;
    cache.Initialize(nullptr);
    std::mt19937 rng(7);
    for (int n = 0; n < 16; ++n) AddPicture("FULL" + std::to_string(n), kW, kH, rng);
    AddPicture("SMALL", 8, 24, rng);
  }
  void AddPicture(const std::string& name, int w, int h, std::mt19937& rng) {
    auto* sprite = new CDIBSprite;
    sprite->Create(w, h);
    for (size_t i = 0; i < static_cast<size_t>(w) * h; ++i) {
      uint32_t p = rng() & 0x00FFFFFFu;
      switch ((i / 37) % 3) {
        case 0: break;
        case 1: p |= 0xFF000000u; break;
        default: p |= (rng() & 0xFF) << 24; break;
      }
      sprite->GetPixels()[i] = p;
    }
    sprite->SetName(name.c_str());
    cache.Add(sprite);
  }
};

World& TheWorld() {
  static World world;
  return world;
}

// A page of `count` full-screen layers and its camera.
struct Page {
  CDIBImage image;
  std::unique_ptr<CDIBSnrAction[]> actions = std::make_unique<CDIBSnrAction[]>(256);
  CDIBSnrLayer layers[16];
  CDIBCamera camera;
  int count;
  explicit Page(int n, bool blend = true) : count(n) {
    TheWorld();
    image.Create(kW, kH);
    camera.Initialize();
    for (int i = 0; i < n; ++i) {
      layers[i].Initialize(actions.get());
      layers[i].SetImage(("FULL" + std::to_string(i)).c_str());
      layers[i].SetBlend(blend);
    }
  }
  void Compose() {
    image.FillFull(0);
    for (int i = 0; i < count; ++i) layers[i].Draw(&image, &camera);
  }
};

void BM_FrameMemcpy(benchmark::State& state) {
  std::vector<uint32_t> a(kPixels, 1), b(kPixels);
  Measure(state, [&] {
    memcpy(b.data(), a.data(), kPixels * 4);
    benchmark::ClobberMemory();
  });
}

// For reference: one full-screen picture blended onto a page by the image
// buffer, the step a blended layer comes down to.
void BM_FrameBltBlend(benchmark::State& state) {
  TheWorld();
  CDIBSprite* picture = TheWorld().cache.Read("FULL0");
  CDIBImage page;
  page.Create(kW, kH);
  page.FillFull(0);
  Measure(state, [&] { picture->BltBlend(&page, 0, 0, 0, 0, kW, kH, 0xFFFFFFFFu); });
  TheWorld().cache.Free(picture);
}

// The back page of a virtual screen with `count` full-screen layers,
// recomposed in each frame because one of them is touched.
struct Screen {
  CDIBSnrVVram vvram;
  explicit Screen(int count, bool blend = true) {
    TheWorld();
    vvram.Initialize();
    for (int i = 0; i < count; ++i) {
      CDIBSnrLayer* layer = vvram.GetBackLayer(i);
      layer->SetImage(("FULL" + std::to_string(i)).c_str());
      layer->SetBlend(blend);
    }
  }
  void Frame() {
    vvram.GetBackLayer(0)->SetPos(0, 0, 0);
    vvram.Move(false);
  }
};

void BM_ComposeBlendedPage(benchmark::State& state) {
  Screen screen(static_cast<int>(state.range(0)));
  Measure(state, [&] { screen.Frame(); });
}

void BM_ComposeCopiedPage(benchmark::State& state) {
  Screen screen(static_cast<int>(state.range(0)), false);
  Measure(state, [&] { screen.Frame(); });
}

// Four blended layers seen by a camera that has flown aside and zoomed:
// every quad takes the general rasteriser.
void BM_ComposeCameraPage(benchmark::State& state) {
  Screen screen(4);
  CDIBCamera* camera = screen.vvram.GetBackCamera();
  camera->AddMove(400, 300, -1000, 0);
  camera->AddMove(520, 260, -900, 2);
  camera->StartMove(0);
  screen.Frame();
  Measure(state, [&] { screen.Frame(); });
}

// One full-screen blended layer drawn by an action of the given kind, set
// up and played for a second first.
void BM_ActionDraw(benchmark::State& state) {
  const int kind = static_cast<int>(state.range(0));
  Page page(1);
  SnrActionParam p{};
  p.nKind = kind;
  const char* names[] = {"", "2DRot", "Scroll", "Raster", "Rain", "Fire"};
  state.SetLabel(names[kind]);
  switch (kind) {
    case SNRACT_2DROT: p.rot.nPeriod = 7000; break;
    case SNRACT_SCROLL:
      p.scroll.nPeriod = 4000;
      p.scroll.bSmooth = 1;
      p.scroll.nCount = 3;
      p.scroll.nX[1] = 40;
      p.scroll.nY[2] = 30;
      break;
    case SNRACT_RASTER:
      p.raster.nPeriod = 1000;
      p.raster.nAmplitude = 10;
      p.raster.nMode = 2;
      break;
    case SNRACT_RAIN:
      p.rain.nFallTime = 1500;
      p.rain.nCount = 400;
      p.rain.nSway = 20;
      p.rain.nWind = 10;
      strcpy(p.rain.szDrop, "SMALL");
      break;
    case SNRACT_FIRE:
      p.fire.nBaseHeat = 10000;
      p.fire.nCentre = 400;
      p.fire.nWidth = 800;
      break;
  }
  CDIBSnrAction& action = page.actions[9];
  if (!action.Setup(&p)) {
    state.SkipWithError("setup failed");
    return;
  }
  action.Play();
  for (int i = 0; i < 33; ++i) action.Move(false);
  page.layers[0].SetAction(10);
  Measure(state, [&] { page.Compose(); });
}

// One frame of an action's own animation (the fire's simulation, the rain's
// drops).
void BM_ActionMove(benchmark::State& state) {
  const int kind = static_cast<int>(state.range(0));
  TheWorld();
  SnrActionParam p{};
  p.nKind = kind;
  state.SetLabel(kind == SNRACT_RAIN ? "Rain" : "Fire");
  if (kind == SNRACT_RAIN) {
    p.rain.nFallTime = 1500;
    p.rain.nCount = 400;
    strcpy(p.rain.szDrop, "SMALL");
  } else {
    p.fire.nBaseHeat = 10000;
    p.fire.nCentre = 400;
    p.fire.nWidth = 800;
  }
  CDIBSnrAction action;
  action.Setup(&p);
  action.Play();
  Measure(state, [&] { action.Move(false); });
}

BENCHMARK(BM_FrameMemcpy)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FrameBltBlend)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ComposeBlendedPage)->ArgName("layers")->Arg(4)->Arg(16)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ComposeCopiedPage)->ArgName("layers")->Arg(4)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ComposeCameraPage)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ActionDraw)->ArgName("kind")->DenseRange(1, 5)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ActionMove)->ArgName("kind")->Arg(SNRACT_RAIN)->Arg(SNRACT_FIRE)->Unit(benchmark::kMicrosecond);

}  // namespace
