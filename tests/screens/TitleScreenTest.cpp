// The title screen through the whole program, driven by input scripts: the
// opening, the two title pictures and the name, the menu and its buttons,
// the idle replay of the opening and the end of the game.
#include <gtest/gtest.h>

#include "ScreensKit.h"
#include "app/flow/RootFlow.h"
#include "screens/DIBMovieScreen.h"
#include "screens/DIBTitleScreen.h"

namespace screenstest {
namespace {

class TitleScreenTest : public ScreensFixture {
 protected:
  // Runs until the title shows its menu; the frame it first did.
  long long RunToMenu(long long limit = 400) {
    while (Frame() < limit) {
      RunTo(Frame() + 1);
      auto* title = Current<CDIBTitleScreen>();
      if (title && title->GetPhase() == TITLE_PHASE_MENU && !app->mpRootFlow->IsChanging()) return Frame();
    }
    return -1;
  }
};

TEST_F(TitleScreenTest, TheOpeningPicturesAndNameLeadToTheMenu) {
  Run("");
  long long shown = -1, movie = -1, first = -1, second = -1, name = -1;
  while (Frame() < 400) {
    RunTo(Frame() + 1);
    if (shown < 0 && Current<CDIBTitleScreen>() && !app->mpRootFlow->IsChanging()) shown = Frame();
    if (movie < 0 && Current<CDIBMovieScreen>()) movie = Frame();
    auto* title = Current<CDIBTitleScreen>();
    if (!title || app->mpRootFlow->IsChanging()) continue;
    if (first < 0 && title->GetPhase() == TITLE_PHASE_NAME && title->GetStep() == 1) first = Frame();
    if (second < 0 && title->GetStep() == 2) second = Frame();
    if (name < 0 && title->GetStep() == 11) name = Frame();
    if (title->GetPhase() == TITLE_PHASE_MENU) break;
  }
  ASSERT_GT(movie, 0) << "the opening movie is shown";
  // The switch waits a few frames for the music; a fade of a second would
  // take more than thirty.
  EXPECT_LE(movie - shown, 8) << "the first opening starts without a visible fade";
  ASSERT_GT(first, movie);
  // Each title picture transition takes a second, the name zoom another.
  EXPECT_NEAR(second - first, 34, 2);
  EXPECT_NEAR(name - second, 34, 2);
  EXPECT_NEAR(Frame() - name, 34, 2);
  // The menu: background, name, the five buttons in their normal frames.
  RunTo(Frame() + 2);
  EXPECT_EQ(Pixel(400, 300), kTitleBack);
  EXPECT_TRUE(Near(Pixel(14 + 100, 9 + 30), FrameColor(0), 4)) << std::hex << Pixel(14 + 100, 9 + 30) << " the name";
  for (int i = 0; i < 5; ++i) EXPECT_EQ(FrameAt(TitleButton(i).x + 50, TitleButton(i).y + 15), 1 + 5 * i) << i;
}

}  // namespace
}  // namespace screenstest
