// The program among the system's processes: a termination signal ends it
// the way a normal exit does, without a question; a second start brings the
// running one forward and stands down.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "AppFixture.h"
#include "ChildProcess.h"
#include "text/profile/TextProfile.h"

namespace {

std::string Game() { return std::string(VELTO_BINARY_DIR) + "/tests/app/controls_game"; }

TEST(ProcessLife, ATerminationSignalSavesAndEndsWithoutAsking) {
  for (int sig : {SIGTERM, SIGINT}) {
    TestDir game;
    MakeGameFolders(game);
    game.Write("Novel.ini", "[Mine]\nkept=1\n");
    ChildProcess run(Game() + " --headless --game " + game.path() + " --screenshot 3:" + game.File("up.png"),
                     game.File("log.txt"));
    ASSERT_TRUE(run.Started());
    ASSERT_TRUE(WaitFor([&] { return game.Exists("up.png"); }, 30)) << game.Read("log.txt");
    run.Signal(sig);
    EXPECT_EQ(run.Wait(30), 128 + sig) << game.Read("log.txt");
    std::string log = game.Read("log.txt");
    EXPECT_EQ(log.find(profile::BuildProfile().szCloseTextUtf8), std::string::npos) << log;
    EXPECT_NE(game.Read("Novel.ini").find("FrameSpeed=1"), std::string::npos) << "settings written";
    EXPECT_NE(game.Read("Novel.ini").find("kept=1"), std::string::npos);
    EXPECT_TRUE(game.Exists("SAVE/CONFIG.SAV"));
  }
}

TEST(ProcessLife, ASecondStartBringsTheRunningGameForward) {
  if (!getenv("DISPLAY")) GTEST_SKIP() << "no display: headless runs take no lock";
  TestDir game;
  MakeGameFolders(game);
  // See ControlsGame.TheSameScriptDrivesTheRealWindow for the environment.
  std::string env = "env SDL_RENDER_DRIVER=software ASAN_OPTIONS=detect_leaks=0 VELTO_LOCK_DIR=" + game.path() + " ";
  ChildProcess first(env + Game() + " --game " + game.path() + " --screenshot 3:" + game.File("up.png"),
                     game.File("first.txt"));
  ASSERT_TRUE(WaitFor([&] { return game.Exists("up.png"); }, 30)) << game.Read("first.txt");
  ChildProcess second(env + Game() + " --game " + game.path(), game.File("second.txt"));
  EXPECT_EQ(second.Wait(30), 0);
  EXPECT_NE(game.Read("second.txt").find("its window was brought forward"), std::string::npos)
      << game.Read("second.txt");
  first.Signal(SIGTERM);
  EXPECT_EQ(first.Wait(30), 128 + SIGTERM) << game.Read("first.txt");
}

}  // namespace
