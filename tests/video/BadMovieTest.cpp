// Damaged and hostile movie files: each is refused at once or plays to a
// clean end within a bounded number of frames, without a crash.
#include <gtest/gtest.h>

#include <random>

#include "MovieTestKit.h"
#include "app/AppFixture.h"
#include "video/VideoPlayer.h"

namespace {

using namespace movietest;

class BadMovieTest : public AppFixture {
 protected:
  void SetUp() override {
    AppFixture::SetUp();
    ASSERT_EQ(MakeMovie(source, "GOOD.MPG", 320, 240, 4, 3, 400), 0);
    good = source.Read("GOOD.MPG");
    ASSERT_GT(good.size(), 4096u);
    Start();
    player = app->mpVideoPlayer;
  }

  // Plays `bytes` as "DATA/BAD.MPG": true when it was refused or ended
  // within `limit` frames.
  bool RefusedOrEnds(const std::string& bytes, int limit = 200) {
    game.Write("DATA/BAD.MPG", bytes);
    if (!player->Play("BAD.MPG", true)) return !player->mbPlay && !player->mbReady;
    for (int i = 0; i < limit && !player->mbEnd; ++i) Idle(30);
    bool ended = player->mbEnd;
    player->Stop();
    player->Cleanup();
    return ended;
  }

  const uint32_t* Shown() {
    int w = 0, h = 0;
    return plat::GetPresentedPicture(app->GetHWnd(), w, h).data();
  }

  TestDir source;
  std::string good;
  CVideoPlayer* player = nullptr;
};

TEST_F(BadMovieTest, EmptyGarbageAndHeadOnlyFilesAreRefused) {
  EXPECT_FALSE(player->Play("EMPTY.MPG", true));
  game.Write("DATA/EMPTY.MPG", "");
  EXPECT_FALSE(player->Play("EMPTY.MPG", true));
  EXPECT_EQ(player->GetLastError(), "the file is empty");
  EXPECT_EQ(player->mhFile, kInvalidFileHandle) << "a refused movie leaves nothing open";

  std::mt19937 rng(5);
  std::string garbage(200000, '\0');
  for (char& c : garbage) c = static_cast<char>(rng());
  EXPECT_TRUE(RefusedOrEnds(garbage));
  EXPECT_TRUE(RefusedOrEnds(good.substr(0, 64)));
  EXPECT_TRUE(RefusedOrEnds(std::string(100000, '\0')));
}

TEST_F(BadMovieTest, ATruncatedMovieShowsWhatItHasAndEnds) {
  for (size_t cut : {good.size() / 4, good.size() / 2, good.size() - 1000}) {
    game.Write("DATA/BAD.MPG", good.substr(0, cut));
    ASSERT_TRUE(player->Play("BAD.MPG", true)) << cut;
    int frames = 0;
    while (!player->mbEnd && frames < 100) {
      Idle(30);
      ++frames;
    }
    EXPECT_TRUE(player->mbEnd) << cut;
    EXPECT_GE(PictureAt(Shown(), 4), 0) << "a picture of the movie, not garbage";
    player->Stop();
    player->Cleanup();
  }
}

TEST_F(BadMovieTest, DamagedBytesAnywhereNeverStopTheGame) {
  std::mt19937 rng(11);
  for (int round = 0; round < 12; ++round) {
    std::string bytes = good;
    // Scattered damage, then a damaged block.
    for (int i = 0; i < 40; ++i) bytes[rng() % bytes.size()] = static_cast<char>(rng());
    size_t at = rng() % bytes.size();
    for (size_t i = at; i < std::min(bytes.size(), at + 2048); ++i) bytes[i] = static_cast<char>(rng());
    EXPECT_TRUE(RefusedOrEnds(bytes)) << round;
  }
}

// Every MPEG-1 sequence header of the movie declares `w` × `h`.
std::string Redeclare(std::string bytes, int w, int h) {
  for (size_t i = 0; i + 7 < bytes.size(); ++i) {
    if (bytes[i] == 0 && bytes[i + 1] == 0 && bytes[i + 2] == 1 && static_cast<uint8_t>(bytes[i + 3]) == 0xB3) {
      bytes[i + 4] = static_cast<char>(w >> 4);
      bytes[i + 5] = static_cast<char>((w & 15) << 4 | (h >> 8));
      bytes[i + 6] = static_cast<char>(h & 0xFF);
    }
  }
  return bytes;
}

TEST_F(BadMovieTest, HostileDeclaredSizesAreRefusedOrEnd) {
  EXPECT_TRUE(RefusedOrEnds(Redeclare(good, 4095, 4095)));
  EXPECT_TRUE(RefusedOrEnds(Redeclare(good, 0, 0)));
  EXPECT_TRUE(RefusedOrEnds(Redeclare(good, 1, 4095)));
}

TEST_F(BadMovieTest, APictureSizeThatChangesMidwayIsStretchedToo) {
  // Two movies one after the other: the second's pictures are smaller and
  // its time starts again at 0.
  ASSERT_EQ(MakeMovie(source, "SMALL.MPG", 160, 120, 2, 3), 0);
  game.Write("DATA/BAD.MPG", good + source.Read("SMALL.MPG"));
  ASSERT_TRUE(player->Play("BAD.MPG", true));
  int frames = 0;
  while (!player->mbEnd && frames < 200) {
    Idle(30);
    ++frames;
  }
  EXPECT_TRUE(player->mbEnd);
  EXPECT_GT(frames, 14) << "both parts play";
  EXPECT_TRUE(ShowsStretched(Shown(), 1)) << "the small movie's last picture, stretched";
}

}  // namespace
