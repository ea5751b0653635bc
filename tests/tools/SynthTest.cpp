#include "gen/Synth.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "GenTestUtil.h"

namespace {

gen::Song Parse(const TestDir& dir, const std::string& text) {
  dir.Write("s.score", text);
  gen::CPreprocessor pre;
  std::vector<gen::SourceLine> lines;
  std::string error;
  gen::Song song;
  EXPECT_TRUE(pre.Run(dir.File("s.score"), &lines, &error) && gen::ParseScore(lines, &song, &error)) << error;
  return song;
}

std::vector<int16_t> Render(const gen::Song& song) {
  std::vector<int16_t> out;
  std::string error;
  EXPECT_TRUE(gen::RenderSong(song, &out, &error)) << error;
  return out;
}

double Energy(const std::vector<int16_t>& s, size_t from, size_t to) {
  double e = 0;
  for (size_t i = from; i < to && i < s.size(); ++i) e += std::abs(s[i]);
  return e;
}

TEST(Synth, ALoopingSongEndsWhereItBegins) {
  TestDir dir;
  // One bar of 2 s; a long note starts on the last beat and rings over the
  // end of the bar.
  const char* score =
      "song tempo=120 bars=1 reverb=0 channels=1 peak=0.5 loop=%s\n"
      "instrument tone wave=sine attack=5 decay=10 sustain=1 release=400\n"
      "track tone\n| r2. o4 a2\n";
  char text[512];
  snprintf(text, sizeof text, score, "on");
  std::vector<int16_t> looped = Render(Parse(dir, text));
  ASSERT_EQ(looped.size(), 88200u);  // exactly the bar: the player restarts at sample 0
  // The second half of the note and its release sound at the start.
  EXPECT_GT(Energy(looped, 0, 4410), 1e6);
  EXPECT_GT(Energy(looped, 22050 + 4410, 22050 + 8820), 0);
  EXPECT_EQ(Energy(looped, 44100, 66150), 0);  // the quiet middle stays quiet
  // Across the seam the tone goes on: no jump bigger than one step of the wave.
  int maxStep = 0;
  for (size_t i = 1; i < looped.size(); ++i) maxStep = std::max(maxStep, std::abs(looped[i] - looped[i - 1]));
  EXPECT_LE(std::abs(looped.front() - looped.back()), maxStep);
  snprintf(text, sizeof text, score, "off");
  std::vector<int16_t> once = Render(Parse(dir, text));
  EXPECT_GT(once.size(), 88200u);  // the tail follows the bar
  EXPECT_EQ(Energy(once, 0, 4410), 0);
}

TEST(Synth, TheLoudestSampleIsThePeakAndRenderingRepeats) {
  TestDir dir;
  gen::Song song = Parse(dir,
                         "song tempo=140 bars=2 reverb=0.3 peak=0.8\n"
                         "instrument a wave=pad cutoff=2000\n"
                         "instrument b wave=noise decay=50 sustain=0 highpass=500\n"
                         "instrument c wave=pluck\n"
                         "track a pan=-0.5\n| o3 {ceg}1 {dfa}1\n"
                         "track b pan=0.7\n| [c8]16\n"
                         "track c\n| o4 l4 c e g > c\n");
  std::vector<int16_t> a = Render(song), b = Render(song);
  EXPECT_EQ(a, b);
  ASSERT_EQ(a.size() % 2, 0u);
  int peak = 0;
  for (int16_t s : a) peak = std::max(peak, std::abs(static_cast<int>(s)));
  EXPECT_EQ(peak, static_cast<int>(std::lround(0.8 * 32767)));
  // The noise track is panned right: more on the right channel.
  double left = 0, right = 0;
  for (size_t i = 0; i + 1 < a.size(); i += 2) {
    left += std::abs(a[i]);
    right += std::abs(a[i + 1]);
  }
  EXPECT_GT(left, 0);
  EXPECT_GT(right, 0);
}

TEST(Synth, EveryInstrumentSoundsAndStaysFinite) {
  for (gen::Wave w : {gen::Wave::kSine, gen::Wave::kTriangle, gen::Wave::kSquare, gen::Wave::kSaw, gen::Wave::kNoise,
                      gen::Wave::kFM, gen::Wave::kPluck, gen::Wave::kKick, gen::Wave::kSnare, gen::Wave::kHat,
                      gen::Wave::kPad}) {
    gen::Instrument in;
    in.wave = w;
    in.cutoff = 3000;
    in.highpass = 60;
    in.vibrato = 20;
    in.tremolo = 0.3;
    in.glide = 5;
    std::vector<float> note = gen::RenderNote(in, 64, 1.0, 11025, 44100);
    ASSERT_GT(note.size(), 11025u) << static_cast<int>(w);
    double energy = 0;
    for (float s : note) {
      ASSERT_TRUE(std::isfinite(s)) << static_cast<int>(w);
      energy += std::fabs(s);
    }
    EXPECT_GT(energy, 1.0) << static_cast<int>(w);
  }
}

TEST(Synth, MusicToolWritesPlayableOggAndRefusesBadScores) {
  TestDir dir;
  dir.Write("m.score", "song tempo=120 bars=1\ninstrument t wave=tri\ntrack t\n| c d e f\n");
  std::string out;
  ASSERT_EQ(Tool("music '" + dir.File("m.score") + "' '" + dir.File("M.OGG") + "'", &out), 0) << out;
  ASSERT_EQ(Tool("ogg info '" + dir.File("M.OGG") + "'", &out), 0) << out;
  EXPECT_NE(out.find("frames: 88200"), std::string::npos) << out;
  EXPECT_NE(out.find("playable: yes"), std::string::npos) << out;
  ASSERT_EQ(Tool("music '" + dir.File("m.score") + "' '" + dir.File("M2.OGG") + "'", &out), 0) << out;
  EXPECT_EQ(dir.Read("M.OGG"), dir.Read("M2.OGG"));
  dir.Write("bad.score", "song\ntrack nobody\n");
  EXPECT_EQ(Tool("music '" + dir.File("bad.score") + "' '" + dir.File("B.OGG") + "'", &out), 1);
  EXPECT_NE(out.find("bad.score:2: no instrument 'nobody'"), std::string::npos) << out;
  EXPECT_EQ(Tool("music '" + dir.File("m.score") + "' '" + dir.File("M.mp3") + "'", &out), 1);
}

}  // namespace
