#include "gen/Score.h"

#include <gtest/gtest.h>

#include "GenTestUtil.h"

namespace {

constexpr int Q = gen::kTicksPerQuarter;

gen::Track Mml(const std::string& text, std::string* error = nullptr) {
  gen::Track track;
  gen::MmlState state;
  std::string e;
  bool ok = gen::ParseMml(text, &state, &track, &e);
  if (error) *error = ok ? "" : e;
  else EXPECT_TRUE(ok) << text << ": " << e;
  return track;
}

TEST(Score, NotesLengthsOctavesAndRests) {
  gen::Track t = Mml("o4 c d8 e+16 f-4. r4 > g < a l16 b b32 | q4 c2");
  ASSERT_EQ(t.notes.size(), 9u);
  EXPECT_EQ(t.notes[0].midi, 60);  // middle C
  EXPECT_EQ(t.notes[0].length, Q);
  EXPECT_EQ(t.notes[1].tick, Q);
  EXPECT_EQ(t.notes[1].length, Q / 2);
  EXPECT_EQ(t.notes[2].midi, 65);  // e sharp
  EXPECT_EQ(t.notes[3].midi, 64);  // f flat
  EXPECT_EQ(t.notes[3].length, Q + Q / 2);
  EXPECT_EQ(t.notes[4].tick, Q + Q / 2 + Q / 4 + Q + Q + Q / 2);  // after the rest
  EXPECT_EQ(t.notes[4].midi, 79);  // g an octave up
  EXPECT_EQ(t.notes[5].midi, 69);
  EXPECT_EQ(t.notes[6].length, Q / 4);
  EXPECT_EQ(t.notes[7].length, Q / 8);
  EXPECT_EQ(t.notes[8].length, 2 * Q * 4 / 8);  // gate 4 of 8
  EXPECT_EQ(t.end, t.notes[8].tick + 2 * Q);
}

TEST(Score, ChordsTiesRepeatsAndVelocity) {
  gen::Track t = Mml("v127 {c e g}2 c4 & c4 [d8 e8]3 v0 f");
  ASSERT_EQ(t.notes.size(), 3u + 1 + 6 + 1);
  EXPECT_EQ(t.notes[0].tick, t.notes[2].tick);
  EXPECT_EQ(t.notes[2].midi, 67);
  EXPECT_EQ(t.notes[0].length, 2 * Q);
  EXPECT_EQ(t.notes[0].velocity, 1.0);
  EXPECT_EQ(t.notes[3].length, 2 * Q);  // tied
  EXPECT_EQ(t.notes[4].tick, 4 * Q);
  EXPECT_EQ(t.notes[9].tick, 4 * Q + 5 * Q / 2);
  EXPECT_EQ(t.notes[10].velocity, 0.0);
  EXPECT_EQ(t.end, 4 * Q + 3 * Q + Q);
}

TEST(Score, BadNotesAreNamed) {
  std::string e;
  Mml("c7", &e);
  EXPECT_NE(e.find("divide a whole note"), std::string::npos);
  Mml("[c d", &e);
  EXPECT_NE(e.find("'[' without ']'"), std::string::npos);
  Mml("c ] d", &e);
  EXPECT_NE(e.find("']' without '['"), std::string::npos);
  Mml("{c x}4", &e);
  EXPECT_NE(e.find("inside { }"), std::string::npos);
  Mml("o12 c", &e);
  EXPECT_NE(e.find("octave"), std::string::npos);
  Mml("& c", &e);
  EXPECT_NE(e.find("'&'"), std::string::npos);
  Mml("c % d", &e);
  EXPECT_NE(e.find("unknown '%'"), std::string::npos);
  // A repeat that would make a huge track stops instead of eating memory.
  Mml("[[[[c1]99]99]99]99", &e);
  EXPECT_NE(e.find("too long"), std::string::npos);
}

TEST(Score, SongsReadInstrumentsTracksAndTheirLength) {
  TestDir dir;
  dir.Write("s.score",
            "song tempo=90 reverb=0 beats=3\n"
            "instrument lead wave=square attack=10 width=0.25\n"
            "track lead vol=0.5 pan=-1 transpose=12\n"
            "| c2. d4\n"
            "| e4\n");
  gen::CPreprocessor pre;
  std::vector<gen::SourceLine> lines;
  std::string error;
  ASSERT_TRUE(pre.Run(dir.File("s.score"), &lines, &error)) << error;
  gen::Song song;
  ASSERT_TRUE(gen::ParseScore(lines, &song, &error)) << error;
  EXPECT_EQ(song.tempo, 90);
  EXPECT_EQ(song.instruments["lead"].wave, gen::Wave::kSquare);
  EXPECT_EQ(song.instruments["lead"].pulseWidth, 0.25);
  ASSERT_EQ(song.tracks.size(), 1u);
  EXPECT_EQ(song.tracks[0].notes[0].midi, 72);
  EXPECT_EQ(song.tracks[0].notes[2].tick, 4 * Q);  // the second line goes on
  EXPECT_EQ(song.length, 6 * Q);                    // two bars of three beats
  auto fails = [&](const std::string& text) {
    dir.Write("bad.score", text);
    lines.clear();
    gen::Song s;
    EXPECT_TRUE(pre.Run(dir.File("bad.score"), &lines, &error));
    EXPECT_FALSE(gen::ParseScore(lines, &s, &error)) << text;
    return error;
  };
  EXPECT_NE(fails("track piano\n").find("no instrument 'piano'"), std::string::npos);
  EXPECT_NE(fails("| c\n").find("notes before any track"), std::string::npos);
  EXPECT_NE(fails("instrument x wave=organ\n").find("wave="), std::string::npos);
  EXPECT_NE(fails("instrument x sustain=2\n").find("sustain must be"), std::string::npos);
  EXPECT_NE(fails("song tempo=1000\n").find("not allowed"), std::string::npos);
  EXPECT_NE(fails("instrument x\n").find("no tracks"), std::string::npos);
  EXPECT_NE(fails("instrument x\ntrack x\n| c9\n").find(":3: "), std::string::npos);
}

}  // namespace
