// The interpreter inside a headless application: commands per second for a
// stretch of MOV and IF with expressions, and the cost of whole frames of a
// scene that puts four pictures on layers and fades between the pages. The
// baseline is copying one 800 × 600 frame.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "HeadlessGame.h"

namespace {

void FillGame() {
  using namespace headless;
  Scenario("START", "END\n");
  Scenario("CALC",
           "*a:\n"
           "MOV $1, ($1 + 1)\n"
           "MOV $2, ($1 * 3 - $2 / 2)\n"
           "MOV $[$3], ($1 % 7)\n"
           "IF $1, \"<\", 2000000000, $2, \"<>\", 7, *b\n"
           "MOV $4, 1\n"
           "*b:\n"
           "IF $1, \">=\", 0, *a\n"
           "JP *a\n");
  Scenario("SCENE",
           "*a:\n"
           "LYIMAGE 0, \"BG01\"\nLYIMAGE 1, \"CH01\"\nLYIMAGE 2, \"CH02\"\nLYIMAGE 3, \"CH03\"\n"
           "LYPOS 1, 40, 100, 0\nLYPOS 2, 300, 80, 0\nLYPOS 3, 560, 120, 0\n"
           "OVERLAP 1, 300\n"
           "LYIMAGE 0, \"BG02\"\nLYIMAGE 1, \"CH03\"\nLYIMAGE 2, \"CH01\"\nLYIMAGE 3, \"CH02\"\n"
           "LYPOS 1, 60, 90, 0\nLYPOS 2, 320, 100, 0\nLYPOS 3, 540, 110, 0\n"
           "OVERLAP 1, 300\n"
           "JP *a\n");
  NoisePicture("BG01", 800, 600, 1);
  NoisePicture("BG02", 800, 600, 2);
  NoisePicture("CH01", 220, 480, 3);
  NoisePicture("CH02", 220, 480, 4);
  NoisePicture("CH03", 220, 480, 5);
}

CMainWindowImpl* App() {
  static CMainWindowImpl* app = headless::Start("bench-interp", FillGame);
  return app;
}

CDIBSnrBaseScreen* Start(const char* scenario) {
  App();
  auto* screen = new CDIBSnrBaseScreen(nullptr);
  if (!screen->Initialize(nullptr) || !screen->ReadScenario(scenario)) abort();
  return screen;
}

void BM_FrameCopyBaseline(benchmark::State& state) {
  std::vector<uint32_t> a(800 * 600, 0x12345678u), b(800 * 600);
  for (auto _ : state) {
    memcpy(b.data(), a.data(), a.size() * 4);
    benchmark::DoNotOptimize(b.data());
  }
}
BENCHMARK(BM_FrameCopyBaseline);

// One frame's run is the command limit: the clock stands still.
void BM_MovAndIfCommands(benchmark::State& state) {
  CDIBSnrBaseScreen* screen = Start("CALC");
  uint64_t before = screen->GetCommandCount();
  for (auto _ : state) screen->Move();
  double commands = static_cast<double>(screen->GetCommandCount() - before);
  state.counters["commands/s"] = benchmark::Counter(commands, benchmark::Counter::kIsRate);
  state.counters["ns/command"] =
      benchmark::Counter(commands, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  delete screen;
}
BENCHMARK(BM_MovAndIfCommands)->Unit(benchmark::kMillisecond);

// Whole frames as the application runs them, from input to the drawn
// picture (without presenting it to a window).
void BM_SceneFrame(benchmark::State& state) {
  CDIBSnrBaseScreen* screen = Start("SCENE");
  CMainWindowImpl* app = App();
  CDIBDisplay* display = app->mpDisplay;
  app->mFrameTime = 30;
  for (auto _ : state) {
    plat::AdvanceVirtualClock(30);
    app->mpInput->Poll();
    display->BeginFrame();
    screen->Move();
    display->BuildDirtyRects();
    screen->Draw(display->GetBackImage());
  }
  delete screen;
}
BENCHMARK(BM_SceneFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
