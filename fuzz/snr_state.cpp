// Saved games whose state record is damaged: a story is played to a save
// point once, and each input patches the record it wrote (an offset, a new
// length or 0 to keep it, and the bytes to write there). The patched
// record is saved into a saved game with a valid signature, so the damage
// reaches the scenario screen's records when a load-mode scenario screen
// restores it and plays a few frames. Nothing may crash, hang or read out
// of bounds.
#include <unistd.h>

#include <cstdint>
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
#include "scenario/interp/DIBSnrScreen.h"
#include "ui/Input.h"

namespace {

constexpr int kSlot = 7;
constexpr int kFrames = 4;

std::string gDir;
std::vector<uint8_t> gState;  // the record a real save point wrote

void Write(const std::string& name, const void* data, size_t size) {
  std::filesystem::create_directories(std::filesystem::path(gDir + name).parent_path());
  std::ofstream(gDir + name, std::ios::binary).write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
}

void Picture(const char* name, int w, int h, uint32_t color, const std::vector<SprtElement>& elements) {
  std::vector<uint32_t> px(static_cast<size_t>(w) * h, color);
  std::vector<uint8_t> out;
  std::string error;
  if (!BuildPictureFile(px.data(), w, h, kPictureRaw, elements, 4, &out, &error)) abort();
  Write(std::string("MGD/") + name, out.data(), out.size());
}

void Scenario(const char* name, const char* source) {
  snr::CompileResult r = snr::CompileScenario(source, name, snr::BuildTextEncoding());
  if (!r.ok) abort();
  Write(std::string("MSD/") + name + ".MSD", r.file.data(), r.file.size());
}

// Frames of a screen outside the screen flow, as the frame loop runs them.
void Frames(CMainWindowImpl* app, CDIBSnrScreen* screen, int n) {
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

void TearDown() {
  if (gpMainWindow && plat::IsWindow(gpMainWindow->GetHWnd())) {
    gpMainWindow->mbForceClose = true;
    plat::DestroyWindow(gpMainWindow->GetHWnd());
  }
  std::error_code ec;
  std::filesystem::remove_all(gDir, ec);
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
  plat::MSG msg;
  while (plat::PeekMessage(msg)) {
  }
  app->mbForceClose = false;
}

CMainWindowImpl* Setup() {
  char tmpl[] = "/tmp/velto-fuzz-snrstate-XXXXXX";
  if (!mkdtemp(tmpl)) abort();
  gDir = std::string(tmpl) + "/";
  for (const char* f : {"DATA", "MGD", "MSD", "SE", "BGM", "VOICE", "SAVE"}) std::filesystem::create_directories(gDir + f);
  Scenario("START", "END\n");
  // Layers, an action, the camera, music, text settings and a wait: every
  // record of the state has something in it.
  Scenario("STORY",
           "BGMLIST 0, \"BGM01\"\nBGMPLAY 0, 0, 1, 300\n"
           "IMREAD 0, \"BG01\"\nLYIMAGE 0, 0\nLYBLEND 0, 0\n"
           "LYIMAGE 1, \"CH01\"\nLYPOS 1, 300, 200, 0\nLYCOLOR 1, 200, 255, 255, 255\n"
           "ACTMAKE 0, 0, 600, 0, 0\nLYACTION 1, 0\nOVERLAP 1, 0\nACTPLAY 0\n"
           "CAMMOVE 0, 400, 400, 300, -1000, 0, 450, 320, -1000, 0\n"
           "MESFTSIZE 20\nMESFTCOLOR 0, 10, 20, 30\nMESFTBLOD 1\nMESFTSHADOW 1\nMESTXKINSOKU 0\n"
           "MOV $3, 42\nATIMES 5000\n"
           "LPT 0\n*a:\nMWO\nMSG 0, -1, \"\", \"Hello\"\nLPT 1\nJP *a\nEND\n");
  Picture("BG01.MGD", 800, 600, 0xFF336699u, {{0, 0, 0, 0, 0, 0}});
  Picture("CH01.MGD", 200, 300, 0xC0FFCC00u, {{0, 0, 0, 0, 0, 0}});
  // The message window's parts (the window and its buttons) and name plates.
  std::vector<SprtElement> parts{{0, 0, 770, 130, 0, 0}};
  for (int k = 1; k <= 80; ++k) parts.push_back(SprtElement{0, 140, 20, 12, 0, 0});
  Picture("GAME_P.MGD", 800, 160, 0xFF203040u, parts);
  Picture("NAME_P.MGD", 360, 30, 0xFF804020u, {{0, 0, 120, 30, 0, 0}, {120, 0, 120, 30, 0, 0}});
  std::vector<uint8_t> tone;
  if (!EncodeOggTone(330, 400, 22050, 1, tone)) abort();
  Write("BGM/BGM01.OGG", tone.data(), tone.size());

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
  auto* app = new CMainWindowImpl(options);
  gpMainWindow = app;
  if (!app->Create()) abort();
  atexit(TearDown);

  // The story once to its second save point, for a real record.
  SnrStartBlock block{};
  snprintf(block.szScenario, sizeof block.szScenario, "STORY");
  auto* screen = new CDIBSnrScreen(nullptr);
  if (!screen->Initialize(&block)) abort();
  Frames(app, screen, 40);
  CSaveData* save = app->mpSaveData;
  if (save->mdwStateSize == 0) abort();
  gState.assign(save->mpStateBuf, save->mpStateBuf + save->mdwStateSize);
  delete screen;
  Reset(app);
  return app;
}

std::vector<uint8_t> Patched(const uint8_t* data, size_t size) {
  std::vector<uint8_t> out = gState;
  if (size < 8) return out;
  uint32_t at, len;
  memcpy(&at, data, 4);
  memcpy(&len, data + 4, 4);
  at %= static_cast<uint32_t>(gState.size());
  // Length 0 keeps the record's own length: the damage is in the bytes.
  if (len != 0) out.resize(len % (gState.size() + 256));
  for (size_t i = 8; i < size && at + i - 8 < out.size(); ++i) out[at + i - 8] = data[i];
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static CMainWindowImpl* app = Setup();
  CSaveData* save = app->mpSaveData;
  std::vector<uint8_t> state = Patched(data, size);
  memcpy(save->mpStateBuf, state.data(), state.size());
  save->mdwStateSize = static_cast<uint32_t>(state.size());
  if (!save->SaveGame(kSlot)) abort();
  memset(save->mpStateBuf, 0, kStateBufSize);
  save->mdwStateSize = 0;

  plat::SRand(1);
  SnrStartBlock block{};
  block.nLoad = 1;
  block.nSlot = kSlot;
  auto* screen = new CDIBSnrScreen(nullptr);
  if (screen->Initialize(&block)) {
    screen->OnChangeScreen1st();
    Frames(app, screen, kFrames);
  }
  delete screen;
  Reset(app);
  return 0;
}
