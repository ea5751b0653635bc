// A screen of controls driven through the screen flow by an input script,
// frame by frame, as the headless runner drives the game.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "app/ControlsScreen.h"
#include "FlowTestKit.h"
#include "assets/DIBSprite.h"
#include "assets/SpriteCache.h"
#include "ui/DIBCheckCtrl.h"
#include "ui/DIBScrollCtrl.h"

namespace {

using namespace flowtest;

// The owner side of the controls: it notes the frame of each decision.
class ControlsScreen : public CControlsScreen {
 public:
  int frame = 0;
  std::map<int, std::vector<int>> decided;

 protected:
  void OnDecide(int id) override { decided[id].push_back(frame); }
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
    AddControlsParts(&cache);
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
