#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/MessageBox.h"
#include "platform/Window.h"

namespace {

// With a window system that has no way to show a box (here SDL's dummy
// driver and no display server), a question is answered by no button at
// all: 0, never a "No" the caller would take for the player's choice.
TEST(MessageBoxDeathTest, AQuestionThatCannotBeShownAnswersNoButton) {
  EXPECT_EXIT(
      {
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        plat::SetHeadless(false);
        if (!plat::InitVideo()) exit(90);
        int answer = plat::MessageBox(nullptr, "quit?", "title", plat::MB_YESNO | plat::MB_ICONQUESTION);
        plat::ShutdownVideo();
        exit(answer == 0 ? 0 : 10 + answer);
      },
      ::testing::ExitedWithCode(0), "quit\\?");
}

}  // namespace
