// Saved games whose state record is damaged: a story is played to a save
// point once, and each input patches the record it wrote (an offset, a new
// length or 0 to keep it, and the bytes to write there). The patched
// record is saved into a saved game with a valid signature, so the damage
// reaches the scenario screen's records when a load-mode scenario screen
// restores it and plays a few frames. Nothing may crash, hang or read out
// of bounds.
#include <cstring>

#include "FuzzInput.h"
#include "HeadlessGame.h"
#include "platform/Random.h"
#include "scenario/interp/DIBSnrScreen.h"

namespace {

constexpr int kSlot = 7;
constexpr int kFrames = 4;

std::vector<uint8_t> gState;  // the record a real save point wrote

void FillGame() {
  using namespace headless;
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
  Picture("BG01", 800, 600, 0xFF336699u);
  Picture("CH01", 200, 300, 0xC0FFCC00u);
  // The message window's parts (the window and its buttons) and name plates.
  std::vector<SprtElement> parts{{0, 0, 770, 130, 0, 0}};
  for (int k = 1; k <= 80; ++k) parts.push_back(SprtElement{0, 140, 20, 12, 0, 0});
  Picture("GAME_P", 800, 160, 0xFF203040u, parts);
  Picture("NAME_P", 360, 30, 0xFF804020u, {{0, 0, 120, 30, 0, 0}, {120, 0, 120, 30, 0, 0}});
  Tone("BGM", "BGM01", 400);
}

CMainWindowImpl* Setup() {
  CMainWindowImpl* app = headless::Start("fuzz-snrstate", FillGame);
  // The story once to its second save point, for a real record.
  SnrStartBlock block{};
  snprintf(block.szScenario, sizeof block.szScenario, "STORY");
  auto* screen = new CDIBSnrScreen(nullptr);
  if (!screen->Initialize(&block)) abort();
  headless::Frames(app, screen, 40);
  CSaveData* save = app->mpSaveData;
  if (save->mdwStateSize == 0) abort();
  gState.assign(save->mpStateBuf, save->mpStateBuf + save->mdwStateSize);
  delete screen;
  headless::Reset(app);
  return app;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static CMainWindowImpl* app = Setup();
  CSaveData* save = app->mpSaveData;
  std::vector<uint8_t> state = fuzzin::Patched(gState, data, size, 256, true);
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
    headless::Frames(app, screen, kFrames);
  }
  delete screen;
  headless::Reset(app);
  return 0;
}
