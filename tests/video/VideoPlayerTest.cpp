// The movie player inside the running application (headless, on the frame
// clock): pictures by the movie clock, stretched to the window, the last
// one kept, movies from plain files and from archive entries, pausing.
#include <gtest/gtest.h>

#include "MovieTestKit.h"
#include "app/AppFixture.h"
#include "assets/ArchiveTestUtil.h"
#include "assets/FileJoin.h"
#include "video/VideoPlayer.h"

namespace {

using namespace movietest;

class VideoPlayerTest : public AppFixture {
 protected:
  void SetUp() override {
    AppFixture::SetUp();
    Start();
    player = app->mpVideoPlayer;
    ASSERT_NE(player, nullptr);
  }

  const uint32_t* Shown() {
    int w = 0, h = 0;
    return plat::GetPresentedPicture(app->GetHWnd(), w, h).data();
  }

  // Frames until the player reports the end, at most `limit`.
  int RunToEnd(int limit = 400) {
    int frames = 0;
    while (!player->mbEnd && frames < limit) {
      Idle(30);
      ++frames;
    }
    return frames;
  }

  CVideoPlayer* player = nullptr;
};

TEST_F(VideoPlayerTest, ShowsEachPictureByTheMovieClockStretchedAndKeepsTheLast) {
  // Four pictures of 100 ms each.
  ASSERT_EQ(MakeMovie(game, "DATA/OP.MPG", 320, 240, 4, 3), 0);
  ASSERT_TRUE(player->Play("OP.MPG", true));
  EXPECT_TRUE(player->mbPlay);
  std::vector<int> shown;
  for (int frame = 1; frame <= 11; ++frame) {
    Idle(30);
    shown.push_back(PictureAt(Shown(), 4));
  }
  // Frame k shows the picture of 30 k ms.
  EXPECT_EQ(shown, (std::vector<int>{0, 0, 0, 1, 1, 1, 2, 2, 2, 3, 3}));
  EXPECT_TRUE(ShowsStretched(Shown(), 3));
  EXPECT_LE(RunToEnd(), 3);
  EXPECT_TRUE(player->mbEnd);
  EXPECT_EQ(player->mlEventCode, 1);

  player->Stop();
  EXPECT_FALSE(player->mbPlay);
  const uint32_t* last = player->mpFrame->GetPixels();
  EXPECT_TRUE(ShowsStretched(last, 3));
  for (int i = 0; i < 800 * 600; i += 997) ASSERT_EQ(last[i] >> 24, 0xFFu) << "the kept picture is opaque";
  player->Cleanup();
  EXPECT_FALSE(player->mbReady);
  EXPECT_EQ(player->mhFile, kInvalidFileHandle);
}

TEST_F(VideoPlayerTest, WindowModeShowsThePicturesButKeepsNone) {
  ASSERT_EQ(MakeMovie(game, "DATA/OP.MPG", 320, 240, 2, 2), 0);
  ASSERT_TRUE(player->Play("OP.MPG", false));
  Idle(30);
  EXPECT_TRUE(ShowsStretched(Shown(), 0));
  RunToEnd();
  player->Stop();
  EXPECT_TRUE(ShowsStretched(Shown(), 1)) << "the window still shows the last picture";
  EXPECT_EQ(player->mpFrame->GetPixels()[300 * 800 + 400], 0u) << "window mode leaves the frame image black";
}

TEST_F(VideoPlayerTest, ANameOutsideTheDataSourceIsOpenedAsAPath) {
  ASSERT_EQ(MakeMovie(game, "movies/Intro.mpg", 320, 240, 1, 2), 0);
  // Absolute, and relative to the game folder.
  for (std::string name : {game.File("movies/Intro.mpg"), std::string("movies/Intro.mpg")}) {
    ASSERT_TRUE(player->Play(name.c_str(), true)) << name;
    Idle(30);
    EXPECT_EQ(PictureAt(Shown(), 1), 0) << name;
    player->Stop();
    player->Cleanup();
  }
  EXPECT_FALSE(player->Play("NOWHERE.MPG", true));
  EXPECT_FALSE(player->mbPlay);
  EXPECT_EQ(player->GetLastError(), "no such file");
}

// The data source is an archive whose entry A is followed by another movie,
// B: reading past A's end would show B's pictures.
class VideoArchiveTest : public VideoPlayerTest {
 protected:
  void SetUp() override {
    AppFixture::SetUp();
    TestDir src;
    ASSERT_EQ(MakeMovie(src, "A.MPG", 320, 240, 2, 3), 0);
    ASSERT_EQ(MakeMovie(src, "B.MPG", 320, 240, 5, 3), 0);
    archive = BuildArchive(CFileJoin::kKindFJSYS, {{"A.MPG", src.Read("A.MPG")}, {"B.MPG", src.Read("B.MPG")}});
    ASSERT_FALSE(archive.empty());
    std::filesystem::remove_all(game.File("DATA"));
    game.Write("DATA", archive);
    Start();
    player = app->mpVideoPlayer;
    ASSERT_EQ(app->mpFileJoin[kJoinData]->GetMode(), CFileJoin::kModeArchive);
  }
  std::string archive;
};

TEST_F(VideoArchiveTest, AMovieInAnArchiveEntryPlaysFromItsByteRangeOnly) {
  ASSERT_TRUE(player->Play("A.MPG", true));
  EXPECT_GT(player->mqwBegin, 0u);
  EXPECT_LT(player->mqwBegin + player->mdwSize, archive.size());
  int maxSeen = -1;
  for (int i = 0; i < 40 && !player->mbEnd; ++i) {
    Idle(30);
    maxSeen = std::max(maxSeen, PictureAt(Shown(), 5));
  }
  EXPECT_TRUE(player->mbEnd);
  EXPECT_EQ(maxSeen, 1) << "only A's two pictures";
  player->Stop();
  player->Cleanup();

  ASSERT_TRUE(player->Play("B.MPG", true));
  RunToEnd();
  EXPECT_EQ(PictureAt(Shown(), 5), 4);
}

TEST_F(VideoPlayerTest, LosingFocusPausesOnTheShownPictureAndRegainingItResumes) {
  ASSERT_EQ(MakeMovie(game, "DATA/OP.MPG", 320, 240, 4, 3), 0);
  ASSERT_TRUE(player->Play("OP.MPG", true));
  for (int i = 0; i < 4; ++i) Idle(30);
  ASSERT_EQ(PictureAt(Shown(), 4), 1);
  plat::SendMessage(app->GetHWnd(), plat::WM_ACTIVATE, plat::WA_INACTIVE, 0);
  EXPECT_TRUE(player->mbPause);
  EXPECT_TRUE(ShowsStretched(player->mpFrame->GetPixels(), 1)) << "pausing keeps the picture";
  for (int i = 0; i < 20; ++i) Idle(30);
  EXPECT_EQ(PictureAt(Shown(), 4), 1) << "the paused picture stays";
  EXPECT_FALSE(player->mbEnd);

  plat::SendMessage(app->GetHWnd(), plat::WM_ACTIVATE, plat::WA_ACTIVE, 0);
  EXPECT_FALSE(player->mbPause);
  std::vector<int> shown;
  for (int i = 0; i < 7; ++i) {
    Idle(30);
    shown.push_back(PictureAt(Shown(), 4));
  }
  // The movie goes on from 120 ms.
  EXPECT_EQ(shown, (std::vector<int>{1, 1, 2, 2, 2, 3, 3}));
}

TEST_F(VideoPlayerTest, PausesNestAndTheGamesPauseHoldsTheMovie) {
  ASSERT_EQ(MakeMovie(game, "DATA/OP.MPG", 320, 240, 4, 3), 0);
  ASSERT_TRUE(player->Play("OP.MPG", true));
  Idle(30);
  player->SetPause(true);
  player->SetPause(true);
  player->SetPause(false);
  EXPECT_TRUE(player->mbPause) << "two pauses need two resumes";
  player->SetPause(false);
  EXPECT_FALSE(player->mbPause);

  app->PauseGame(true);
  EXPECT_TRUE(player->mbPause);
  app->PauseGame(false);
  EXPECT_FALSE(player->mbPause);
  EXPECT_LE(RunToEnd(), 15);
}

TEST_F(VideoPlayerTest, TheSameMovieGivesTheSamePicturesEveryTime) {
  ASSERT_EQ(MakeMovie(game, "DATA/OP.MPG", 320, 240, 3, 2), 0);
  std::vector<std::vector<uint32_t>> runs[2];
  for (auto& run : runs) {
    ASSERT_TRUE(player->Play("OP.MPG", true));
    for (int i = 0; i < 8; ++i) {
      Idle(30);
      run.emplace_back(Shown(), Shown() + 800 * 600);
    }
    player->Stop();
    player->Cleanup();
  }
  EXPECT_TRUE(runs[0] == runs[1]);
}

}  // namespace
