// The program on the test game of the title, save/load, option and
// confirmation screens, run on the virtual clock with its input from an
// input script; and the script lines a player's clicks and keys make.
#pragma once
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "ScreensGameFolder.h"
#include "app/AppFixture.h"
#include "app/RegisterScreens.h"
#include "app/flow/ScreenBlocks.h"
#include "app/flow/ScreenFactory.h"

namespace screenstest {

// Input script lines. A click comes with a move onto the control, also
// when the mouse is already there: a screen that has just become current
// again takes its focus from a move.
inline std::string Click(long long frame, const Region& r) {
  const int x = r.x + r.w / 2, y = r.y + r.h / 2;
  auto at = [](long long f) { return std::to_string(f); };
  return at(frame) + " move " + std::to_string(x + 1) + " " + std::to_string(y) + "\n" + at(frame + 1) + " move " +
         std::to_string(x) + " " + std::to_string(y) + "\n" + at(frame + 2) + " down LBUTTON\n" + at(frame + 3) +
         " up LBUTTON\n";
}
inline std::string Key(long long frame, const char* key) {
  return std::to_string(frame) + " down " + key + "\n" + std::to_string(frame + 1) + " up " + key + "\n";
}

// What the stand-in screens saw.
struct Seen {
  int snrMade = 0;
  SnrStartBlock snr{};
  int confMade = 0;
  ConfStartBlock conf{};
};
Seen& Log();

// The whole program on the title, run frame by frame under an input
// script. Without the real scenario and confirmation screens, stand-ins
// take their kinds: the scenario stand-in records its start block, the
// confirmation stand-in answers like the real one (button 0 yes, button 1
// and the cancel keys no).
class ScreensFixture : public AppFixture {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Starts the program with `script` as its input.
  void Run(const std::string& script);
  // Closes the program, so that a test can run it again.
  void Stop();
  // The game's own scenario screen instead of the stand-in, from the next
  // run on.
  void UseRealScenarioScreen();
  // Makes the next run start on the title's menu, as after a game, and
  // gives the frame from which the menu takes input.
  long long MenuFrame();
  // Runs frames until frame `frame` has been shown.
  void RunTo(long long frame);
  long long Frame() const;
  // The program runs: its window (and with it the application object) is
  // still there.
  bool Alive() const;
  CDIBBaseScreen* Current() const;
  template <class T>
  T* Current() const {
    return dynamic_cast<T*>(Current());
  }
  uint32_t Pixel(int x, int y) const;
  // The frame index a control shows, from the colour at (x, y); -1 when none.
  int FrameAt(int x, int y) const;

  plat::HWND mWnd = nullptr;
};

}  // namespace screenstest
