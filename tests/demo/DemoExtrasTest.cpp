// The demo's extras as a player uses them after reading the lighthouse's
// route: the music room stopped, played and stopped again (heard in the
// sound the run wrote), a gallery picture stepped through its two variants
// in the viewer, a scene replayed to its end and back to the extras, and
// the game ended from the title.
#include <gtest/gtest.h>

#include "DemoPlay.h"

namespace {

using namespace demo;

// True when the two shots differ inside the first thumbnail's box.
bool FirstThumbnailDiffers(const Image& a, const Image& b) {
  if (!a.Valid() || !b.Valid()) return false;
  for (int y = 182; y < 270; y += 2)
    for (int x = 222; x < 346; x += 2)
      if (!Near(a.At(x, y), b.At(x, y), 8)) return true;
  return false;
}

TEST(DemoExtras, MusicRoomGalleryPictureAndSceneReplayAfterTheRouteWasRead) {
  TestDir dir;
  CopyGame(dir);
  // The lighthouse's route read with the skip key, from the scenario on:
  // its pictures and scenes unlock in the configuration save.
  Script read;
  read.Move(1, kText).Hold(5, 300, "CONTROL");
  std::string out;
  EXPECT_EQ(PlayScript(dir, read, 300, {}, "r", "--start R_TOKO", &out), 0) << out;
  EXPECT_EQ(out, "") << "an error box";

  Script play;
  play.Move(1, kText)
      .Click(30, kText)  // skips the opening movie; the title's music plays
      .Click(410, kTitleExtras)
      // The music room takes the title's music as its first piece, playing.
      .Click(500, kMusicStop)  // seconds 16 and 17 silent
      .Click(600, kMusicPlay)  // 19 and 20 heard
      .Click(700, kMusicStop)  // 22 on silent
      // The first picture of the first character, and its second variant.
      .Click(760, Thumbnail(0))
      .Move(780, kText)
      .Click(870, kText)
      .Click(940, kText)
      // The scenes: the route's chapter replayed under the skip key.
      .Click(1060, kExtrasMode)
      .Click(1120, Thumbnail(1))
      .Move(1140, kText)
      .Hold(1260, 1420, "CONTROL")
      .Click(1500, kExtrasBack)
      .Click(1600, kTitleEnd)
      .Click(1670, kYes);
  const std::vector<int> shots = {480, 850, 920, 1040, 1100, 1240, 1480, 1580};
  EXPECT_EQ(PlayScript(dir, play, 1830, shots, "e", "--audio-out '" + dir.File("e.wav") + "'", &out), 0) << out;
  EXPECT_EQ(out, "") << "an error box";
  EXPECT_FALSE(dir.Exists("e1830.png")) << "the program did not end when the end was confirmed";
  auto shot = [&](int frame) { return Shot(dir, "e", frame); };

  const std::vector<int> sound = LoudnessPerSecond(dir.File("e.wav"));
  ASSERT_GT(sound.size(), 24u);
  for (size_t s : {12u, 14u}) EXPECT_GT(sound[s], 300) << "the title's music is not heard in second " << s;
  for (size_t s : {16u, 17u, 22u, 23u}) EXPECT_EQ(sound[s], 0) << "music after stop, second " << s;
  for (size_t s : {19u, 20u}) EXPECT_GT(sound[s], 300) << "the music room's piece is not heard in second " << s;

  const Image gallery = GamePicture(dir, "CG_B");
  EXPECT_TRUE(Shows(shot(480), gallery)) << "no gallery";
  // The viewer shows the picture's variants in turn, then the gallery again.
  const Image first = GamePicture(dir, "CG_T01A"), second = GamePicture(dir, "CG_T01B");
  EXPECT_TRUE(ShowsRather(shot(850), first, second)) << "the viewer does not show the picture's first variant";
  EXPECT_TRUE(ShowsRather(shot(920), second, first)) << "the viewer does not show the second variant";
  EXPECT_FALSE(ShowsRather(shot(850), second, first));
  EXPECT_TRUE(Shows(shot(1040), gallery)) << "the viewer does not return to the gallery";
  // The scenes: the first thumbnail (a chapter not read) looks locked
  // where the gallery's showed a picture.
  EXPECT_TRUE(FirstThumbnailDiffers(shot(1040), shot(1100))) << "the mode did not change";
  EXPECT_TRUE(Shows(shot(1240), GamePicture(dir, "BG_LAMP"))) << "the replay does not play the chapter";
  int differ = 0;
  EXPECT_TRUE(SamePage(shot(1480), shot(1100), &differ))
      << "the replay does not return to the scenes (" << differ << " pixels differ)";
  EXPECT_TRUE(Shows(shot(1580), GamePicture(dir, "TITLE")));
}

}  // namespace
