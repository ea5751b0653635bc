// The demo's options as a player sets them from the title: the music and
// the effects turned down to nothing (heard at once in the sound the run
// wrote, with the effect test before and after), the text speed to the
// fastest; the settings file keeps them, and the next start plays its
// first message typed at once and its music and effects silent.
#include <gtest/gtest.h>

#include <map>

#include "DemoPlay.h"

namespace {

using namespace demo;

// The frame period of the fixed step is 30 ms: a second is about 33
// frames. The loudness of second `s` of a run's sound, or -1 past its end.
int Loudness(const std::vector<int>& seconds, size_t s) { return s < seconds.size() ? seconds[s] : -1; }

TEST(DemoOptions, TextSpeedAndVolumesTakeEffectAtOnceAndAreKeptForTheNextStart) {
  TestDir dir;
  CopyGame(dir);
  Script set;
  set.Move(1, kText)
      .Click(30, kText)  // skips the opening movie; the title's music plays
      .Click(410, kTitleOptions)
      .Click(530, kMusicVolumeMin)   // second 16
      .Click(640, kTextSpeedMax)
      .Click(700, kEffectTest)       // second 21
      .Click(800, kEffectVolumeMin)
      .Click(830, kEffectTest)       // second 25
      .Click(900, kOptionsOk)
      .Click(1000, kTitleEnd)
      .Click(1070, kYes);
  std::string out;
  EXPECT_EQ(PlayScript(dir, set, 1300, {880, 960}, "o", "--audio-out '" + dir.File("o.wav") + "'", &out), 0) << out;
  EXPECT_EQ(out, "") << "an error box";
  EXPECT_TRUE(MenuScreenShows(Shot(dir, "o", 880))) << "no options screen";
  EXPECT_TRUE(Shows(Shot(dir, "o", 960), GamePicture(dir, "TITLE"))) << "OK does not return to the title";

  const std::vector<int> sound = LoudnessPerSecond(dir.File("o.wav"));
  for (size_t s : {12u, 14u}) EXPECT_GT(Loudness(sound, s), 300) << "the title's music is not heard in second " << s;
  for (size_t s : {17u, 19u}) EXPECT_EQ(Loudness(sound, s), 0) << "the music is still heard in second " << s;
  EXPECT_GT(Loudness(sound, 21), 300) << "the effect test is not heard";
  EXPECT_EQ(Loudness(sound, 25), 0) << "the effect test is heard at volume 0";

  // The settings file keeps what was set, and only that.
  EXPECT_EQ(Tool("save config '" + dir.path() + "game/SAVE/CONFIG.SAV'", &out), 0) << out;
  for (const char* line : {"nMesSpeed: 255\n", "nBGMVol: 0\n", "nSEVol: 0\n", "nAutoSpeed: 128\n", "nVoiceVol: 128\n",
                           "bBGM: 1\n", "bSE: 1\n"})
    EXPECT_NE(out.find(line), std::string::npos) << line << out;

  // The next start: the first message, which at the default speed types
  // from frame 553 to about 590, stands whole from its first frames on, and
  // neither the title's music nor the story's music and effects are heard.
  Script play;
  play.Move(1, kText).Click(30, kText).Click(410, kTitleNew).Move(500, kText);
  const std::vector<int> shots = {556, 558, 560, 566, 600};
  EXPECT_EQ(PlayScript(dir, play, 600, shots, "n", "--audio-out '" + dir.File("n.wav") + "'", &out), 0) << out;
  EXPECT_EQ(out, "") << "an error box";
  for (int f : shots) EXPECT_TRUE(SameText(Shot(dir, "n", f), Shot(dir, "n", 600))) << "not whole at frame " << f;
  const std::vector<int> quiet = LoudnessPerSecond(dir.File("n.wav"));
  for (size_t s = 10; s < 18; ++s) EXPECT_EQ(Loudness(quiet, s), 0) << "sound in second " << s;
}

}  // namespace
