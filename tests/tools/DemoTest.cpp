// The demo game is made the same every time: each kind of generated file,
// made again by the tool as the build makes it, has the same bytes. And its
// two languages have the same texts.
#include <gtest/gtest.h>

#include <fstream>

#include "GenTestUtil.h"
#include "gen/TextTable.h"

namespace {

const std::string kSrc = std::string(VELTO_SOURCE_DIR) + "/demo";
const std::string kWork = std::string(VELTO_BINARY_DIR) + "/demo-work";

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string Options() {
  return std::string(" --text '") + kSrc + "/text/" + VELTO_DEMO_LANG + ".txt' --var lang=" + VELTO_DEMO_LANG +
         " -I '" + kSrc + "/common' -I '" + kWork + "/MGD' ";
}

TEST(Demo, BothLanguagesHaveTheSameTexts) {
  gen::CTextTable ja, zh;
  std::string error;
  ASSERT_TRUE(ja.Load(kSrc + "/text/ja.txt", &error)) << error;
  ASSERT_TRUE(zh.Load(kSrc + "/text/zh.txt", &error)) << error;
  EXPECT_EQ(ja.Size(), zh.Size());
  // Every key of each is in the other: read the keys back from the files.
  for (const char* lang : {"ja", "zh"}) {
    std::ifstream in(kSrc + "/text/" + lang + ".txt");
    std::string line;
    while (std::getline(in, line)) {
      size_t eq = line.find(" = ");
      if (line.empty() || line[0] == '#' || eq == std::string::npos) continue;
      std::string key = line.substr(0, eq);
      EXPECT_NE(ja.Find(key), nullptr) << key;
      EXPECT_NE(zh.Find(key), nullptr) << key;
    }
  }
}

#ifdef VELTO_DEMO_BUILT
TEST(Demo, EveryKindOfFileIsMadeAgainByteForByte) {
  TestDir dir;
  std::string out;
  // A picture drawn from other pictures, with figures.
  ASSERT_EQ(Tool("draw" + Options() + "--var which=T01A '" + kSrc + "/pictures/cg.pic' '" + dir.File("CG.MGD") + "'", &out),
            0) << out;
  EXPECT_EQ(dir.Read("CG.MGD"), ReadFile(kWork + "/MGD/CG_T01A.MGD"));
  // A hit map.
  ASSERT_EQ(Tool("draw" + Options() + "'" + kSrc + "/hitmaps/omake.pic' '" + dir.File("H.BMP") + "'", &out), 0) << out;
  EXPECT_EQ(dir.Read("H.BMP"), ReadFile(kWork + "/DATA/OMAKE_C.BMP"));
  // A piece of music.
  ASSERT_EQ(Tool("music -I '" + kSrc + "/common' -I '" + kSrc + "/music' '" + kSrc + "/music/m04.score' '" +
                     dir.File("M.OGG") + "'", &out),
            0) << out;
  EXPECT_EQ(dir.Read("M.OGG"), ReadFile(kWork + "/BGM/M04.OGG"));
  // A scene: its scrambled scenario and its voices.
  ASSERT_EQ(Tool("prep" + Options() + "--voices '" + dir.File("v.list") + "' '" + kSrc + "/story/S02.txt' '" +
                     dir.File("s.txt") + "'", &out),
            0) << out;
  ASSERT_EQ(Tool("snr compile --scramble '" + dir.File("s.txt") + "' '" + dir.File("S.MSD") + "'", &out), 0) << out;
  EXPECT_EQ(dir.Read("S.MSD"), ReadFile(kWork + "/MSD/S02.MSD"));
  ASSERT_EQ(Tool("voice batch --cast '" + kSrc + "/story/cast.txt' '" + dir.File("v.list") + "' '" + dir.path() + "'",
                 &out),
            0) << out;
  EXPECT_EQ(dir.Read("V21004.OGG"), ReadFile(kWork + "/VOICE/V21004.OGG"));
  EXPECT_FALSE(dir.Read("V21004.OGG").empty());
}
#endif

}  // namespace
