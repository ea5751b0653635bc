// The movie screen inside the running application: a screen that goes
// while its movie plays (the game is closed) takes the movie with it.
#include <gtest/gtest.h>

#include "app/AppFixture.h"
#include "screens/DIBMovieScreen.h"
#include "ui/EffectParam.h"
#include "video/MovieTestKit.h"
#include "video/VideoPlayer.h"

namespace {

class MovieScreenLifeTest : public AppFixture {};

TEST_F(MovieScreenLifeTest, TheMovieStopsWhenItsScreenGoes) {
  ASSERT_EQ(movietest::MakeMovie(game, "DATA/OP.MPG", 320, 240, 3, 10, 1000), 0);
  Start();
  for (int i = 0; i < 3; ++i) Idle(30);  // the first screen is on
  MovieStartBlock block{};
  snprintf(block.szMovie, sizeof block.szMovie, "OP.MPG");
  CDIBBaseScreen* screen = CDIBMovieScreen::Make(app->mpRootFlow->GetScreen(), &block);
  ASSERT_NE(screen, nullptr);
  EffectParam effect;
  EffectParamWriter(&effect, 1).Int(1);
  app->mpRootFlow->ChangeScreen(&effect, nullptr, nullptr, screen, true);
  for (int i = 0; i < 10 && !app->mpVideoPlayer->mbPlay; ++i) Idle(30);
  ASSERT_TRUE(app->mpVideoPlayer->mbPlay);
  EXPECT_EQ(static_cast<CDIBMovieScreen*>(screen)->GetStep(), MOVIE_STEP_PLAY);

  app->EndGame();
  EXPECT_FALSE(app->mpVideoPlayer->mbPlay);
  EXPECT_FALSE(app->mpVideoPlayer->mbReady);
}

}  // namespace
