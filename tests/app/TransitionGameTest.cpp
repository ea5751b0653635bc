// The whole program driven by an input script through all fifteen screen
// transitions: the switches come on the frames the clicks ask for, and two
// headless runs on the fixed step draw the same pictures.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "AppFixture.h"
#include "RunCommand.h"

namespace {

int RunGame(const std::string& args, std::string* output) {
  return RunCommand(std::string(VELTO_BINARY_DIR) + "/tests/app/transition_game " + args + " 2>&1", output);
}

TEST(TransitionGame, AnInputScriptRunsEveryTransitionTheSameWayTwice) {
  TestDir game;
  MakeGameFolders(game);
  std::string expected;
  for (int effect = 1; effect <= 15; ++effect)
    expected += "switch " + std::to_string(effect) + " " + std::to_string(10 + effect * 20) + "\n";
  const std::string script = std::string(VELTO_SOURCE_DIR) + "/tests/app/flow/data/transitions.input";
  std::string shots[2];
  for (int run = 0; run < 2; ++run) {
    std::string args = "--headless --fixed-step --frames 340 --game " + game.path() + " --input " + script;
    // Half way through each transition, and once after the last.
    for (int effect = 1; effect <= 15; ++effect) {
      const int frame = 10 + effect * 20 + 5;
      args += " --screenshot " + std::to_string(frame) + ":" + game.File("r" + std::to_string(run) + "_" + std::to_string(effect) + ".png");
    }
    args += " --screenshot 335:" + game.File("r" + std::to_string(run) + "_end.png");
    std::string out;
    ASSERT_EQ(RunGame(args, &out), 0) << out;
    EXPECT_EQ(out, expected);
  }
  std::set<std::string> middles;
  for (int effect = 1; effect <= 15; ++effect) {
    const std::string name = "_" + std::to_string(effect) + ".png";
    const std::string first = game.Read("r0" + name);
    ASSERT_FALSE(first.empty()) << effect;
    EXPECT_EQ(first, game.Read("r1" + name)) << "effect " << effect << ": same input, same pixels";
    middles.insert(first);
  }
  EXPECT_EQ(middles.size(), 15u) << "every transition looks different half way";
  EXPECT_EQ(game.Read("r0_end.png"), game.Read("r1_end.png"));
}

}  // namespace
