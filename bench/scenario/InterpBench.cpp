// The interpreter inside a headless application: commands per second for a
// stretch of MOV and IF with expressions, and the cost of whole frames of a
// scene that puts four pictures on layers and fades between the pages. The
// baseline is copying one 800 × 600 frame.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/MainWindowImpl.h"
#include "app/StartScreen.h"
#include "assets/DIBDisplay.h"
#include "assets/PictureWriter.h"
#include "platform/AudioDevice.h"
#include "platform/MessageBox.h"
#include "platform/Timer.h"
#include "platform/Window.h"
#include "save/SaveFolder.h"
#include "scenario/SnrCompiler.h"
#include "scenario/interp/DIBSnrBaseScreen.h"
#include "ui/Input.h"

namespace {

std::string gDir;

void Write(const std::string& name, const void* data, size_t size) {
  std::filesystem::create_directories(std::filesystem::path(gDir + name).parent_path());
  std::ofstream(gDir + name, std::ios::binary).write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
}

void Picture(const char* name, int w, int h, uint32_t seed) {
  std::vector<uint32_t> px(static_cast<size_t>(w) * h);
  uint32_t s = seed;
  for (uint32_t& p : px) {
    s = s * 1664525u + 1013904223u;
    p = (s >> 8) | 0x80000000u;
  }
  std::vector<uint8_t> out;
  std::string error;
  if (!BuildPictureFile(px.data(), w, h, kPictureRaw, {{0, 0, 0, 0, 0, 0}}, 4, &out, &error)) abort();
  Write(std::string("MGD/") + name + ".MGD", out.data(), out.size());
}

void Scenario(const char* name, const char* source) {
  snr::CompileResult r = snr::CompileScenario(source, name, snr::BuildTextEncoding());
  if (!r.ok) {
    fprintf(stderr, "%s\n", r.error.c_str());
    abort();
  }
  Write(std::string("MSD/") + name + ".MSD", r.file.data(), r.file.size());
}

void TearDown() {
  if (gpMainWindow && plat::IsWindow(gpMainWindow->GetHWnd())) {
    gpMainWindow->mbForceClose = true;
    plat::DestroyWindow(gpMainWindow->GetHWnd());  // deletes the application with its window
  }
  std::error_code ec;
  std::filesystem::remove_all(gDir, ec);
}

CMainWindowImpl* App() {
  static CMainWindowImpl* app = [] {
    char tmpl[] = "/tmp/velto-bench-interp-XXXXXX";
    if (!mkdtemp(tmpl)) abort();
    gDir = std::string(tmpl) + "/";
    for (const char* f : {"DATA", "MGD", "MSD", "SE", "BGM", "VOICE"}) std::filesystem::create_directories(gDir + f);
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
    Picture("BG01", 800, 600, 1);
    Picture("BG02", 800, 600, 2);
    Picture("CH01", 220, 480, 3);
    Picture("CH02", 220, 480, 4);
    Picture("CH03", 220, 480, 5);

    plat::SetHeadless(true);
    plat::SetVirtualClock(true, 0x10000);
    plat::SetAudioBackend(plat::AudioBackend::Null);
    plat::SetMessageBoxHook([](const char*, const char*, uint32_t) { return plat::IDOK; });
    snprintf(gszInstallDir, sizeof gszInstallDir, "%s", gDir.c_str());
    snprintf(gszIniPath, sizeof gszIniPath, "%sNovel.ini", gDir.c_str());
    save::SetSaveLocation(save::SaveLocation{gDir, {gDir}, false});
    SetStartScreenFactory([]() -> CDIBBaseScreen* {
      auto* plain = new CDIBBaseScreen(nullptr);
      plain->Initialize();
      return plain;
    });
    RunOptions options;
    options.headless = true;
    options.fixedStep = true;
    auto* made = new CMainWindowImpl(options);
    gpMainWindow = made;
    if (!made->Create()) abort();
    // Registered after everything the application made, so it runs first
    // at exit: the sound workers stop before the objects they wait on go.
    atexit(TearDown);
    return made;
  }();
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
