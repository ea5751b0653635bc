#include "gen/Voice.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "GenTestUtil.h"
#include "gen/VoiceList.h"

namespace {

gen::Speaker Girl() {
  gen::Speaker s;
  EXPECT_TRUE(gen::SpeakerPreset("girl", &s));
  return s;
}

double Loudness(const std::vector<int16_t>& s) {
  double e = 0;
  for (int16_t v : s) e += std::abs(v);
  return s.empty() ? 0 : e / s.size();
}

TEST(Voice, SpeechFollowsTheTextAndRepeatsExactly) {
  gen::Speaker girl = Girl();
  std::vector<int16_t> a = gen::RenderVoice("「ねえ、湊くん！」", girl, 22050);
  EXPECT_EQ(a, gen::RenderVoice("「ねえ、湊くん！」", girl, 22050));
  EXPECT_GT(Loudness(a), 500);
  // More syllables take longer; a long vowel mark and a pause do too.
  size_t ka = gen::RenderVoice("か", girl, 22050).size();
  EXPECT_GT(gen::RenderVoice("かー", girl, 22050).size(), ka);
  EXPECT_GT(gen::RenderVoice("かかかか", girl, 22050).size(), ka + 3 * 22050 / 20);
  EXPECT_GT(gen::RenderVoice("か、か", girl, 22050).size(), gen::RenderVoice("かか", girl, 22050).size() + 22050 / 20);
  // A slower speaker takes longer for the same line.
  gen::Speaker slow = girl;
  slow.speed = 0.5;
  EXPECT_GT(gen::RenderVoice("こんにちは", slow, 22050).size(), gen::RenderVoice("こんにちは", girl, 22050).size());
  // Chinese is read with tones; odd input still gives a short sound.
  EXPECT_GT(Loudness(gen::RenderVoice("“你好，阿湊。”", girl, 22050)), 500);
  EXPECT_FALSE(gen::RenderVoice("", girl, 22050).empty());
  EXPECT_FALSE(gen::RenderVoice(std::string("\xFF\xFE\x80"), girl, 8000).empty());
  gen::Speaker none;
  EXPECT_FALSE(gen::SpeakerPreset("robot", &none));
}

TEST(Voice, SpokenLinesAreCollectedFromScenarioSource) {
  std::vector<gen::SourceLine> lines = {
      {"s.txt", 1, "LPT 1"},
      {"s.txt", 2, "MSG 1, 2, \"V11001\", \"「こんにちは{$s3}」\""},
      {"s.txt", 3, "MSG 2, -1, \"\", \"narration, no voice\""},
      {"s.txt", 4, "  # voice V11004 1 \"みーなーと\\\"くん\""},
      {"s.txt", 5, "msg 3, 1, \"V11003\", \"a, b\" # trailing comment"},
  };
  std::vector<gen::VoiceLine> spoken;
  std::string error;
  ASSERT_TRUE(gen::CollectVoiceLines(lines, &spoken, &error)) << error;
  ASSERT_EQ(spoken.size(), 3u);
  EXPECT_EQ(spoken[0].name, "V11001");
  EXPECT_EQ(spoken[0].plate, 2);
  EXPECT_EQ(spoken[0].text, "「こんにちは」");
  EXPECT_EQ(spoken[1].name, "V11004");
  EXPECT_EQ(spoken[1].text, "みーなーと\"くん");
  EXPECT_EQ(spoken[2].text, "a, b");
  lines.push_back({"s.txt", 9, "MSG 4, 1, \"V1\""});
  EXPECT_FALSE(gen::CollectVoiceLines(lines, &spoken, &error));
  EXPECT_NE(error.find("s.txt:9:"), std::string::npos);
}

TEST(Voice, BatchSpeaksEveryLineWithItsSpeaker) {
  TestDir dir;
  dir.Write("cast.txt", "# plate preset options\n1 girl pitch=300\n3 old speed=0.8\n");
  dir.Write("list.txt", "VA\t1\t「はい」\nVB\t3\t「ほう」\n");
  std::string out;
  ASSERT_EQ(Tool("voice batch --cast '" + dir.File("cast.txt") + "' '" + dir.File("list.txt") + "' '" + dir.path() + "'", &out),
            0) << out;
  EXPECT_TRUE(dir.Exists("VA.OGG"));
  EXPECT_TRUE(dir.Exists("VB.OGG"));
  dir.Write("list2.txt", "VC\t2\t「え？」\n");
  EXPECT_EQ(Tool("voice batch --cast '" + dir.File("cast.txt") + "' '" + dir.File("list2.txt") + "' '" + dir.path() + "'", &out),
            1);
  EXPECT_NE(out.find("no speaker for name plate 2"), std::string::npos) << out;
  dir.Write("cast2.txt", "1 martian\n");
  EXPECT_EQ(Tool("voice batch --cast '" + dir.File("cast2.txt") + "' '" + dir.File("list.txt") + "' '" + dir.path() + "'", &out),
            1);
  EXPECT_NE(out.find("cast2.txt:1:"), std::string::npos) << out;
}

}  // namespace
