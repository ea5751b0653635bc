// The whole program driven by an input script over a screen of controls:
// headless and in a real window, the same decisions on the same frames.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "AppFixture.h"
#include "RunCommand.h"

namespace {

int RunGame(const std::string& args, std::string* output, const std::string& env = "") {
  return RunCommand(env + " " + std::string(VELTO_BINARY_DIR) + "/tests/app/controls_game " + args + " 2>&1", output);
}

const char kExpected[] =
    "decide 1 29\n"     // Return ticks the check box
    "decide 2 34\n"     // the slider steps when Right goes down…
    "decide 2 51\n"     // …and repeats while it is held
    "decide 0 63\n"     // a click on the button
    "final check 1 slider 2\n";

std::string Script() { return std::string(VELTO_SOURCE_DIR) + "/tests/app/flow/data/controls.input"; }

TEST(ControlsGame, AnInputScriptDrivesTheControlsHeadless) {
  TestDir game;
  MakeGameFolders(game);
  std::string out;
  std::string args = "--headless --fixed-step --frames 80 --game " + game.path() + " --input " + Script();
  ASSERT_EQ(RunGame(args + " --screenshot 80:" + game.File("a.png"), &out), 0) << out;
  EXPECT_EQ(out, kExpected);
  ASSERT_EQ(RunGame(args + " --screenshot 80:" + game.File("b.png"), &out), 0) << out;
  EXPECT_EQ(game.Read("a.png"), game.Read("b.png")) << "same input, same pixels";
}

TEST(ControlsGame, AClickLandsOnAControlThePointerNeverMovedOnto) {
  TestDir game;
  MakeGameFolders(game);
  std::string out;
  std::string script = std::string(VELTO_SOURCE_DIR) + "/tests/app/flow/data/still-pointer.input";
  ASSERT_EQ(RunGame("--headless --fixed-step --frames 70 --game " + game.path() + " --input " + script, &out,
                    "CONTROLS_SWITCH=1"),
            0)
      << out;
  EXPECT_EQ(out,
            "decide 0 23\nswitch 23\n"  // the pointer came to rest on it
            "decide 0 32\nswitch 32\n"  // after the switch, without moving
            "decide 0 49\nswitch 49\n"  // after keyboard use, without moving
            "final check 0 slider 0\n");
}

TEST(ControlsGame, TheSameScriptDrivesTheRealWindow) {
  if (!getenv("DISPLAY")) GTEST_SKIP() << "no display";
  TestDir game;
  MakeGameFolders(game);
  std::string out;
  std::string args = "--fixed-step --frames 80 --game " + game.path() + " --input " + Script();
  // Closing the display unloads the X libraries, after which the leak
  // checker of sanitizer builds can no longer tell their leftovers from
  // ours; the headless run above checks our own.
  std::string env = "SDL_RENDER_DRIVER=software ASAN_OPTIONS=detect_leaks=0 VELTO_LOCK_DIR=" + game.path();
  ASSERT_EQ(RunGame(args, &out, env), 0) << out;
  EXPECT_NE(out.find(kExpected), std::string::npos) << out;
}

}  // namespace
