// Compiled scenarios run by the interpreter: each input is a scenario file
// (plain or scrambled) played for a few hundred frames on a headless
// application whose game folder holds a few pictures, sounds and a second
// scenario to load. Nothing may crash, hang or read out of bounds; the
// error boxes a damaged story raises are answered silently.
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
#include "platform/Random.h"
#include "platform/Timer.h"
#include "platform/Window.h"
#include "save/SaveData.h"
#include "save/SaveFolder.h"
#include "scenario/SnrCompiler.h"
#include "scenario/interp/DIBSnrBaseScreen.h"
#include "ui/Input.h"

namespace {

constexpr int kFrames = 200;
// A story that loops without waiting stops after this many commands a
// frame here, so that an input costs milliseconds, not seconds.
constexpr int kCommandsPerFrame = 2000;

class CFuzzScreen : public CDIBSnrBaseScreen {
 public:
  CFuzzScreen() : CDIBSnrBaseScreen(nullptr) { mnRunCommandLimit = kCommandsPerFrame; }
};

std::string gDir;

void Write(const std::string& name, const void* data, size_t size) {
  std::filesystem::create_directories(std::filesystem::path(gDir + name).parent_path());
  std::ofstream(gDir + name, std::ios::binary).write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
}

void Picture(const char* name, int w, int h, uint32_t color) {
  std::vector<uint32_t> px(static_cast<size_t>(w) * h, color);
  for (int i = 0; i < w * h; i += 7) px[static_cast<size_t>(i)] ^= 0x00FF00FFu;
  std::vector<uint8_t> out;
  std::string error;
  if (!BuildPictureFile(px.data(), w, h, kPictureRaw, {{0, 0, 0, 0, 0, 0}}, 4, &out, &error)) abort();
  Write(std::string("MGD/") + name + ".MGD", out.data(), out.size());
}

void Tone(const char* folder, const char* name, uint32_t ms) {
  std::vector<uint8_t> out;
  if (!EncodeOggTone(330, ms, 22050, 1, out)) abort();
  Write(std::string(folder) + "/" + name + ".OGG", out.data(), out.size());
}

void Scenario(const char* name, const char* source) {
  snr::CompileResult r = snr::CompileScenario(source, name, snr::BuildTextEncoding());
  if (!r.ok) abort();
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

CMainWindowImpl* Setup() {
  char tmpl[] = "/tmp/velto-fuzz-interp-XXXXXX";
  if (!mkdtemp(tmpl)) abort();
  gDir = std::string(tmpl) + "/";
  for (const char* f : {"DATA", "MGD", "MSD", "SE", "BGM", "VOICE"}) std::filesystem::create_directories(gDir + f);
  Scenario("START", "END\n");
  Scenario("NEXT", "*a:\nMOV $1, ($1 + 1)\nATIMES 60\nAWAIT 1, 2, 3, 4, 5, 6\nIF $1, \"<\", 3, *a\nLS \"START\"\n");
  Picture("BG01", 800, 600, 0xFF336699u);
  Picture("CH01", 200, 300, 0x80FFCC00u);
  Picture("DROP", 4, 16, 0xC0FFFFFFu);
  Picture("MASK", 64, 48, 0xFF808080u);
  Tone("BGM", "BGM01", 600);
  Tone("SE", "SE01", 200);
  Tone("VOICE", "V0001", 300);

  plat::SetHeadless(true);
  plat::SetVirtualClock(true, 0x10000);
  plat::SetAudioBackend(plat::AudioBackend::Null);
  plat::SetMessageBoxHook([](const char*, const char*, uint32_t) { return plat::IDOK; });
  snprintf(gszInstallDir, sizeof gszInstallDir, "%s", gDir.c_str());
  snprintf(gszIniPath, sizeof gszIniPath, "%sNovel.ini", gDir.c_str());
  save::SetSaveLocation(save::SaveLocation{gDir, {gDir}, false});
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

// What a story leaves in the shared services is cleared between inputs.
void Reset(CMainWindowImpl* app) {
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static CMainWindowImpl* app = Setup();
  Write("MSD/FUZZ.MSD", data, size);
  plat::SRand(1);
  auto* screen = new CFuzzScreen;
  if (screen->Initialize(nullptr) && screen->ReadScenario("FUZZ")) {
    CDIBDisplay* display = app->mpDisplay;
    app->mFrameTime = 30;
    for (int frame = 0; frame < kFrames && !screen->IsErrorEnd(); ++frame) {
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
  delete screen;
  Reset(app);
  return 0;
}
