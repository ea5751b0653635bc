// The demo in a real window (a virtual display under Xvfb): the same input
// script as a headless run drives title, options, a new game, a save and
// the end, and every screenshot matches the headless run's pixel for
// pixel, so what the other demo tests check headless is what a player sees.
#include <gtest/gtest.h>

#include <cstdlib>

#include "DemoPlay.h"

namespace {

using namespace demo;

TEST(DemoWindow, TheMenusAndAStoryInARealWindowLookAsTheyDoHeadless) {
  if (!getenv("DISPLAY")) GTEST_SKIP() << "no display";
  Script script;
  script.Move(1, kText)
      .Click(30, kText)  // skips the opening movie
      .Click(410, kTitleOptions)
      .Click(600, kOptionsOk)
      .Click(810, kTitleNew)
      .Click(1000, kText)
      .Click(1100, kText)
      .Move(1150, kText)
      .Click(1190, kWndSave)
      .Click(1260, SlotButton(2))
      .Click(1330, kYes)
      .Click(1410, kSaveLoadBack)
      .Click(1510, kWndTitle)
      .Click(1580, kYes)
      .Click(1810, kTitleEnd)
      .Click(1880, kYes);
  const std::vector<int> shots = {300, 500, 1050, 1300, 1450, 1700};

  TestDir headless;
  CopyGame(headless);
  std::string out;
  ASSERT_EQ(PlayScript(headless, script, 2400, shots, "shot", "", &out), 0) << out;

  // The window's run: the same program and script without --headless. The
  // software renderer keeps it independent of the display's GL, and no
  // sound device is needed.
  TestDir window;
  CopyGame(window);
  window.Write("play.input", script.Text());
  std::string args = "--fixed-step --frames 2400 --game '" + window.path() + "game' --input '" +
                     window.File("play.input") + "'";
  for (int f : shots) args += " --screenshot " + std::to_string(f) + ":'" + window.File("shot" + std::to_string(f) + ".png") + "'";
  // Closing the display unloads the X libraries, after which the leak
  // checker of sanitizer builds can no longer tell their leftovers from ours.
  const std::string env = "SDL_RENDER_DRIVER=software SDL_AUDIODRIVER=dummy ASAN_OPTIONS=detect_leaks=0 VELTO_LOCK_DIR='" +
                          window.path() + "' ";
  ASSERT_EQ(RunCommand(env + "'" + VELTO_GAME_PATH + "' " + args + " 2>&1", &out), 0) << out;

  for (int f : shots) {
    Image a = Shot(headless, "shot", f), b = Shot(window, "shot", f);
    ASSERT_TRUE(a.Valid() && b.Valid()) << "frame " << f;
    EXPECT_TRUE(a.pixels == b.pixels) << "frame " << f << " differs between the window and the headless run";
  }
  // The save the window's run wrote is there, as in the headless run.
  EXPECT_TRUE(headless.Exists("game/SAVE/GAME01.SAV"));
  EXPECT_TRUE(window.Exists("game/SAVE/GAME01.SAV")) << "no save from the window's run";
}

}  // namespace
