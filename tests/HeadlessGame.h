// A headless application over a small game folder in a temporary
// directory, for the fuzz targets and benchmarks that play stories outside
// the test fixtures: the folder's files are written by the caller, the
// application is made once per process and torn down at exit, and what a
// story leaves in the shared services can be cleared between runs.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/MainWindowImpl.h"
#include "app/StartScreen.h"
#include "assets/DIBDisplay.h"
#include "assets/PictureWriter.h"
#include "assets/SpriteCache.h"
#include "audio/BGMBuffer.h"
#include "audio/OggEncode.h"
#include "audio/SEBuffer.h"
#include "audio/VoiceBuffer.h"
#include "platform/AudioDevice.h"
#include "platform/MessageBox.h"
#include "platform/Timer.h"
#include "platform/Window.h"
#include "save/SaveData.h"
#include "save/SaveFolder.h"
#include "scenario/SnrCompiler.h"
#include "scenario/interp/DIBSnrBaseScreen.h"
#include "ui/Input.h"

namespace headless {

inline std::string& Dir() {
  static std::string dir;
  return dir;
}

inline void Write(const std::string& name, const void* data, size_t size) {
  std::filesystem::create_directories(std::filesystem::path(Dir() + name).parent_path());
  std::ofstream(Dir() + name, std::ios::binary).write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
}

// An "MGD/NAME.MGD" picture of one colour, speckled so blends are not flat.
inline void Picture(const char* name, int w, int h, uint32_t color,
                    const std::vector<SprtElement>& elements = {{0, 0, 0, 0, 0, 0}}) {
  std::vector<uint32_t> px(static_cast<size_t>(w) * h, color);
  for (int i = 0; i < w * h; i += 7) px[static_cast<size_t>(i)] ^= 0x00FF00FFu;
  std::vector<uint8_t> out;
  std::string error;
  if (!BuildPictureFile(px.data(), w, h, kPictureRaw, elements, 4, &out, &error)) abort();
  Write(std::string("MGD/") + name + ".MGD", out.data(), out.size());
}

// An "MGD/NAME.MGD" picture of opaque-ish noise from a seed.
inline void NoisePicture(const char* name, int w, int h, uint32_t seed) {
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

inline void Tone(const char* folder, const char* name, uint32_t ms) {
  std::vector<uint8_t> out;
  if (!EncodeOggTone(330, ms, 22050, 1, out)) abort();
  Write(std::string(folder) + "/" + name + ".OGG", out.data(), out.size());
}

inline void Scenario(const char* name, const char* source) {
  snr::CompileResult r = snr::CompileScenario(source, name, snr::BuildTextEncoding());
  if (!r.ok) {
    fprintf(stderr, "%s: %s\n", name, r.error.c_str());
    abort();
  }
  Write(std::string("MSD/") + name + ".MSD", r.file.data(), r.file.size());
}

inline void TearDown() {
  if (gpMainWindow && plat::IsWindow(gpMainWindow->GetHWnd())) {
    gpMainWindow->mbForceClose = true;
    plat::DestroyWindow(gpMainWindow->GetHWnd());  // deletes the application with its window
  }
  std::error_code ec;
  std::filesystem::remove_all(Dir(), ec);
}

// Makes the game folder (its files written by `fill`) and the application
// over it, on the fixed step with silent sound and every box answered OK.
inline CMainWindowImpl* Start(const char* name, void (*fill)()) {
  std::string tmpl = "/tmp/velto-" + std::string(name) + "-XXXXXX";
  if (!mkdtemp(tmpl.data())) abort();
  Dir() = tmpl + "/";
  for (const char* f : {"DATA", "MGD", "MSD", "SE", "BGM", "VOICE", "SAVE"})
    std::filesystem::create_directories(Dir() + f);
  fill();

  plat::SetHeadless(true);
  plat::SetVirtualClock(true, 0x10000);
  plat::SetAudioBackend(plat::AudioBackend::Null);
  plat::SetMessageBoxHook([](const char*, const char*, uint32_t) { return plat::IDOK; });
  snprintf(gszInstallDir, sizeof gszInstallDir, "%s", Dir().c_str());
  snprintf(gszIniPath, sizeof gszIniPath, "%sNovel.ini", Dir().c_str());
  save::SetSaveLocation(save::SaveLocation{Dir(), {Dir()}, false});
  // A plain first screen for the flow; each input drives its own screen.
  SetStartScreenFactory([]() -> CDIBBaseScreen* {
    auto* plain = new CDIBBaseScreen(nullptr);
    plain->Initialize();
    return plain;
  });
  RunOptions options;
  options.headless = true;
  options.fixedStep = true;
  auto* app = new CMainWindowImpl(options);
  gpMainWindow = app;
  if (!app->Create()) abort();
  // Registered after everything the application made, so it runs first at
  // exit: the sound workers stop before the objects they wait on go.
  atexit(TearDown);
  return app;
}

// Frames of a screen outside the screen flow, as the frame loop runs them,
// until the screen ends on an error.
inline void Frames(CMainWindowImpl* app, CDIBSnrBaseScreen* screen, int n) {
  CDIBDisplay* display = app->mpDisplay;
  app->mFrameTime = 30;
  for (int frame = 0; frame < n && !screen->IsErrorEnd(); ++frame) {
    plat::AdvanceVirtualClock(30);
    app->mpInput->Poll();
    display->BeginFrame();
    app->mpSEBuffer->Move(30);
    app->mpBGMBuffer->Move(30);
    app->mpVoiceBuffer->Move(30);
    screen->Move();
    screen->Update();
    display->BuildDirtyRects();
    screen->Draw(display->GetBackImage());
  }
}

// What a story leaves in the shared services is cleared between inputs.
inline void Reset(CMainWindowImpl* app) {
  CSaveData* save = app->mpSaveData;
  for (CDIBSprite*& picture : save->mpPicture) {
    if (picture) app->mpSpriteCache->Free(picture);
    picture = nullptr;
  }
  for (int32_t& handle : save->mSEHandle) {
    if (handle > 0) app->mpSEBuffer->Free(handle);
    handle = 0;
  }
  app->mpBGMBuffer->Stop(0);
  app->mpVoiceBuffer->Stop(0);
  for (int i = 0; i < 60; ++i) app->mpSEBuffer->Move(100);
  // An error box asked the window to close: the request is dropped.
  plat::MSG msg;
  while (plat::PeekMessage(msg)) {
  }
  app->mbForceClose = false;
}

}  // namespace headless
