// A screen of controls driven through the screen flow by an input script,
// frame by frame, as the headless runner drives the game.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "FlowTestKit.h"
#include "assets/DIBSprite.h"
#include "assets/SpriteCache.h"
#include "ui/DIBCheckCtrl.h"
#include "ui/DIBScrollCtrl.h"

namespace {

using namespace flowtest;

// The owner side of three controls: it polls their decisions each frame.
class ControlsScreen : public CDIBBaseScreen {
 public:
  ControlsScreen() : CDIBBaseScreen(nullptr) {}
  bool Build() {
    if (!Initialize()) return false;
    mpBackImage->FillFull(0xFF203040u);
    CtrlDef def;
    InitCtrlDef(&def);
    strcpy(def.szParts, "PARTS");
    for (int i = 0; i < 10; ++i) def.nFrame[i] = i;
    for (int d = 0; d < 5; ++d) def.Jump[0][d] = -1;
    def.x = 100;
    def.y = 100;
    def.nID = 0;
    def.Jump[0][JUMP_DOWN] = 1;
    if (!MakeControl(CTRL_BUTTON, &def)) return false;
    def.y = 200;
    def.nID = 1;
    def.Jump[0][JUMP_UP] = 0;
    def.Jump[0][JUMP_DOWN] = 2;
    if (!MakeControl(CTRL_CHECK, &def)) return false;
    def.y = 300;
    def.nID = 2;
    def.Jump[0][JUMP_UP] = 1;
    def.Jump[0][JUMP_DOWN] = -1;
    for (int i = 0; i < 5; ++i) {
      def.nFrame[i] = 10;
      def.nFrame[5 + i] = 11;
    }
    def.nMin = 0;
    def.nMax = 10;
    return MakeControl(CTRL_SCROLL, &def) != nullptr;
  }
  void Move() override {
    CDIBBaseScreen::Move();
    for (int id = 0; id < 3; ++id)
      if (GetCtrl(id)->IsDecide()) decided[id].push_back(frame);
    // Keyboard players start from the first control.
    if (gpMainWindow->mpInput->mInputType == INPUT_KEYBOARD && !IsForcusInAll()) SetForcusReq(0);
  }
  int frame = 0;
  std::map<int, std::vector<int>> decided;
};

// Scripted events by frame: "FRAME move X Y", "FRAME down KEY", "FRAME up KEY".
std::multimap<int, std::vector<std::string>> LoadScript(const std::string& path) {
  std::multimap<int, std::vector<std::string>> events;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    line = line.substr(0, line.find('#'));
    std::istringstream words(line);
    int frame;
    if (!(words >> frame)) continue;
    std::vector<std::string> args;
    for (std::string w; words >> w;) args.push_back(w);
    events.emplace(frame, args);
  }
  return events;
}

class ScriptedScreenTest : public FlowWorld {
 protected:
  void SetUp() override {
    FlowWorld::SetUp();
    window.mpSpriteCache = &cache;
    auto* parts = new CDIBSprite;
    parts->Create(128, 32);
    parts->FillFull(0xFF808080u);
    parts->InitSprtInfo(12, 4);
    for (int i = 0; i < 10; ++i) *parts->GetSprtInfoMutable(i) = SprtElement{static_cast<int16_t>(i * 10), 0, 20, 10, 0, 0};
    *parts->GetSprtInfoMutable(10) = SprtElement{0, 10, 100, 10, 0, 0};
    *parts->GetSprtInfoMutable(11) = SprtElement{100, 10, 10, 16, 0, 0};
    parts->SetName("PARTS");
    cache.Add(parts);
    cache.Free(parts);
  }
  void TearDown() override {
    flow.Release();
    cache.Release();
    FlowWorld::TearDown();
  }
  CSpriteCache cache;
};

TEST_F(ScriptedScreenTest, KeyboardAndMouseDriveTheControls) {
  plat::ClearScriptedInput();  // no pointer until the script moves it
  auto* screen = new ControlsScreen;
  ASSERT_TRUE(screen->Build());
  EffectParam blt = Effect(EFFECT_BLT, 60);
  flow.ChangeScreen(&blt, nullptr, nullptr, screen, false);

  auto script = LoadScript(std::string(VELTO_SOURCE_DIR) + "/tests/app/flow/data/controls.input");
  ASSERT_FALSE(script.empty());
  auto* check = static_cast<CDIBCheckCtrl*>(screen->GetCtrl(1));
  auto* slider = static_cast<CDIBScrollCtrl*>(screen->GetCtrl(2));
  for (int frame = 1; frame <= 80; ++frame) {
    auto [from, to] = script.equal_range(frame);
    for (auto it = from; it != to; ++it) {
      const auto& a = it->second;
      if (a[0] == "move") plat::SetScriptedCursor(std::stoi(a[1]), std::stoi(a[2]));
      if (a[0] == "down" || a[0] == "up") plat::SetScriptedKey(plat::VirtualKeyFromName(a[1].c_str()), a[0] == "down");
    }
    screen->frame = frame;
    Frame();
    if (frame == 25) {
      EXPECT_TRUE(check->IsForcus());
    }
    if (frame == 33) {
      EXPECT_TRUE(slider->IsForcus());
    }
  }
  EXPECT_EQ(flow.GetScreen(), screen);
  EXPECT_EQ(screen->decided[1], std::vector<int>{29});
  EXPECT_TRUE(check->IsCheck());
  EXPECT_EQ(slider->GetScrollPos(), 2);
  EXPECT_EQ(screen->decided[2], (std::vector<int>{34, 51}));
  EXPECT_EQ(screen->decided[0], std::vector<int>{63});
  EXPECT_FALSE(screen->IsCtrlLock());
}

}  // namespace
