// The movie screen through the whole program, driven by input scripts as a
// player drives it: opened through the screen factory, played to its end or
// skipped, silent with music off, paused by losing focus, its last picture
// held during the return, and the same pictures and sound on every run.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "RunCommand.h"
#include "TestDir.h"
#include "app/AppFixture.h"
#include "assets/PngEncode.h"
#include "video/MovieTestKit.h"

namespace {

using namespace movietest;

struct GameRun {
  int status = -1;
  std::string out;
  long long opened = -1, returned = -1;
};

class MovieScreenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MakeGameFolders(game);
    // Six pictures of 100 ms with their sound.
    ASSERT_EQ(MakeMovie(game, "DATA/OP.MPG", 320, 240, 6, 3, 600), 0);
  }

  GameRun Play(const std::string& ours, const std::string& input = "", const std::string& extra = "", int frames = 160) {
    // The opener asks for the movie once input is live (half a second after
    // the window became active).
    std::string args = "--at 20 " + ours + " -- --headless --fixed-step --frames " + std::to_string(frames) + " --game " + game.path();
    if (!input.empty()) {
      game.Write("script.input", input);
      args += " --input " + game.File("script.input");
    }
    GameRun r;
    r.status = RunCommand(std::string(MOVIE_GAME_PATH) + " " + args + " " + extra + " 2>&1", &r.out);
    for (const char* key : {"opened ", "returned "}) {
      size_t at = r.out.find(key);
      long long v = at == std::string::npos ? -1 : atoll(r.out.c_str() + at + strlen(key));
      (key[0] == 'o' ? r.opened : r.returned) = v;
    }
    return r;
  }

  std::vector<uint32_t> Screenshot(const std::string& name) {
    std::string png = game.Read(name);
    std::vector<uint32_t> pixels;
    int w = 0, h = 0;
    LoadPngImage(reinterpret_cast<const uint8_t*>(png.data()), png.size(), &pixels, &w, &h);
    return w == 800 && h == 600 ? pixels : std::vector<uint32_t>(800 * 600, 0);
  }

  // Loudness (largest sample) of the captured sound between two frames.
  int Loudest(const std::string& wav, long long fromFrame, long long toFrame) {
    std::string data = game.Read(wav);
    if (data.size() < 44) return -1;
    size_t from = 44 + static_cast<size_t>(fromFrame) * 1323 * 4, to = 44 + static_cast<size_t>(toFrame) * 1323 * 4;
    int loudest = 0;
    for (size_t i = from; i + 1 < std::min(to, data.size()); i += 2) {
      int16_t v;
      memcpy(&v, data.data() + i, 2);
      loudest = std::max(loudest, std::abs(static_cast<int>(v)));
    }
    return loudest;
  }

  TestDir game;
};

TEST_F(MovieScreenTest, PlaysToTheEndWithSoundAndTheSameEveryRun) {
  GameRun a = Play("--movie OP.MPG --grab", "", "--screenshot 35:" + game.File("a35.png") + " --audio-out " + game.File("a.wav"));
  ASSERT_EQ(a.status, 0) << a.out;
  ASSERT_EQ(a.opened, 20) << a.out;
  // The movie (600 ms) and the return (two fades of a second) take their time.
  EXPECT_GT(a.returned, a.opened + 20 + 60) << a.out;
  EXPECT_EQ(a.out.find("cannot play"), std::string::npos) << a.out;
  EXPECT_GE(PictureAt(Screenshot("a35.png").data(), 6), 0) << "a movie picture fills the window";
  EXPECT_GT(Loudest("a.wav", a.opened + 10, a.opened + 20), 1000) << "the movie's sound plays";
  EXPECT_EQ(Loudest("a.wav", a.returned - 20, a.returned), 0);

  GameRun b = Play("--movie OP.MPG --grab", "", "--screenshot 35:" + game.File("b35.png") + " --audio-out " + game.File("b.wav"));
  EXPECT_EQ(b.returned, a.returned);
  EXPECT_EQ(game.Read("a35.png"), game.Read("b35.png"));
  EXPECT_EQ(game.Read("a.wav"), game.Read("b.wav"));
}

TEST_F(MovieScreenTest, WithMusicOffTheMovieIsSilent) {
  GameRun r = Play("--movie OP.MPG --music-off", "", "--audio-out " + game.File("off.wav"));
  ASSERT_GT(r.returned, 0) << r.out;
  EXPECT_EQ(Loudest("off.wav", 0, r.returned), 0);
}

TEST_F(MovieScreenTest, ASkippedMoviesLastPictureStaysDuringTheReturn) {
  GameRun whole = Play("--movie OP.MPG --skip --grab");
  ASSERT_GT(whole.returned, 0) << whole.out;
  // A click while the second picture shows.
  const long long click = whole.opened + 12;
  std::string script = std::to_string(click) + " move 400 300\n" + std::to_string(click) + " down LBUTTON\n" +
                       std::to_string(click + 1) + " up LBUTTON\n";
  std::string shots;
  for (long long f : {click - 1, click + 2, click + 12}) shots += " --screenshot " + std::to_string(f) + ":" + game.File("s" + std::to_string(f) + ".png");
  GameRun skipped = Play("--movie OP.MPG --skip --grab", script, shots);
  EXPECT_LT(skipped.returned, whole.returned - 5) << skipped.out;
  std::vector<uint32_t> before = Screenshot("s" + std::to_string(click - 1) + ".png");
  int shown = PictureAt(before.data(), 6);
  ASSERT_GE(shown, 0);
  EXPECT_TRUE(ShowsStretched(Screenshot("s" + std::to_string(click + 2) + ".png").data(), shown))
      << "the last picture is held";
  // Fading out, it is still that picture, darker.
  std::vector<uint32_t> fading = Screenshot("s" + std::to_string(click + 12) + ".png");
  uint32_t red = fading[150 * 800 + 600];
  EXPECT_GT((red >> 16) & 0xFF, 60u);
  EXPECT_LT((red >> 16) & 0xFF, 240u);
  EXPECT_LT((red >> 8) & 0xFF, 24u);

  // In window mode the held picture is black.
  GameRun window = Play("--movie OP.MPG --skip", script, " --screenshot " + std::to_string(click + 2) + ":" + game.File("w.png"));
  EXPECT_EQ(Screenshot("w.png")[300 * 800 + 400] & 0xFFFFFF, 0u);
}

TEST_F(MovieScreenTest, ANonSkippableMovieIgnoresClicksAndKeys) {
  GameRun whole = Play("--movie OP.MPG");
  std::string script;
  for (long long f = whole.opened + 6; f < whole.opened + 20; f += 3)
    script += std::to_string(f) + " down LBUTTON\n" + std::to_string(f) + " down ESCAPE\n" + std::to_string(f + 1) +
              " up LBUTTON\n" + std::to_string(f + 1) + " up ESCAPE\n";
  GameRun clicked = Play("--movie OP.MPG", script);
  EXPECT_EQ(clicked.returned, whole.returned) << clicked.out;
}

TEST_F(MovieScreenTest, LosingFocusPausesTheMovie) {
  GameRun whole = Play("--movie OP.MPG --grab");
  const long long away = whole.opened + 10;
  std::string script = std::to_string(away) + " activate 0\n" + std::to_string(away + 20) + " activate 1\n";
  GameRun paused = Play("--movie OP.MPG --grab", script,
                    "--screenshot " + std::to_string(away + 2) + ":" + game.File("p1.png") + " --screenshot " +
                        std::to_string(away + 18) + ":" + game.File("p2.png"));
  EXPECT_EQ(paused.returned, whole.returned + 20) << paused.out;
  EXPECT_GE(PictureAt(Screenshot("p1.png").data(), 6), 0);
  EXPECT_EQ(game.Read("p1.png"), game.Read("p2.png")) << "the paused picture stays";
}

TEST_F(MovieScreenTest, AMovieThatCannotBePlayedReturnsAtOnceAndSaysWhyOnce) {
  GameRun r = Play("--movie MISSING.MPG --grab");
  ASSERT_GT(r.returned, 0) << r.out;
  EXPECT_LT(r.returned, r.opened + 90);
  size_t first = r.out.find("cannot play the movie MISSING.MPG");
  ASSERT_NE(first, std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("cannot play", first + 1), std::string::npos) << "once";
}

TEST_F(MovieScreenTest, TheReturnStartsTheNamedMusic) {
  ASSERT_EQ(RunCommand(std::string(VELTO_TOOL_PATH) + " ogg tone --freq 330 --ms 8000 " + game.File("BGM/TITLE.OGG")), 0);
  ASSERT_EQ(MakeMovie(game, "DATA/QUIET.MPG", 320, 240, 2, 3), 0);
  GameRun r = Play("--movie QUIET.MPG --bgm TITLE", "", "--audio-out " + game.File("m.wav"), 200);
  ASSERT_GT(r.returned, 0) << r.out;
  EXPECT_EQ(Loudest("m.wav", 0, r.opened + 8), 0);
  EXPECT_GT(Loudest("m.wav", r.returned, r.returned + 20), 500) << "the return music plays";
}

}  // namespace
