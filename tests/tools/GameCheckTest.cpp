// velto-tool game check on folders made for the test and on the demo game.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "GenTestUtil.h"

namespace {

// A loose-folder game: START and a TITLE table that names a few files, of
// which `missing` are left out.
void MakeGame(const TestDir& dir, bool withPicture) {
  for (const char* s : {"DATA", "MGD", "MSD", "SE", "BGM", "VOICE"}) std::filesystem::create_directories(dir.File(s));
  dir.Write("start.txt", "LYIMAGE 0, \"BG\"\nOVERLAP 2, 500, 0, \"MASK\"\nBGMPLAY \"M01\", 0, 1, 0\n"
                         "MSG 1, 5, \"V1\", \"hi\"\nSETCGFLAG \"CG_X\"\nLS \"NEXT\"\nEND\n");
  dir.Write("title.txt", "DEF 0, 0, \"BG\", \"\", \"BG\", \"\", \"BG\", \"\"\nDEF 0, 1, \"BG\"\nDEF 0, 30, 0, 1, 2, 3, 9\n");
  std::string out;
  ASSERT_EQ(Tool("snr compile '" + dir.File("start.txt") + "' '" + dir.File("MSD/START.MSD") + "'", &out), 0) << out;
  ASSERT_EQ(Tool("snr compile '" + dir.File("title.txt") + "' '" + dir.File("MSD/TITLE.MSD") + "'", &out), 0) << out;
  if (withPicture) {
    dir.Write("bg.pic", "picture 8 8\nfill #000000\ngrid 0 0 2 2 2 2\n");
    ASSERT_EQ(Tool("draw '" + dir.File("bg.pic") + "' '" + dir.File("MGD/BG.MGD") + "'", &out), 0) << out;
  }
}

TEST(GameCheck, NamesEveryMissingFileWhereItIsNamed) {
  TestDir dir;
  MakeGame(dir, true);
  std::string out;
  EXPECT_EQ(Tool("game check '" + dir.path() + "'", &out), 1);
  // Each problem once, saying where it was found.
  EXPECT_NE(out.find("START.MSD at 0000"), std::string::npos) << out;
  EXPECT_NE(out.find("picture MASK is missing from MGD"), std::string::npos) << out;
  EXPECT_NE(out.find("sound M01 is missing from BGM"), std::string::npos) << out;
  EXPECT_NE(out.find("sound V1 is missing from VOICE"), std::string::npos) << out;
  EXPECT_NE(out.find("scenario NEXT is missing from MSD"), std::string::npos) << out;
  EXPECT_NE(out.find("SETCGFLAG CG_X is not in CGLIST"), std::string::npos) << out;
  EXPECT_NE(out.find("TITLE: record 30 names frame 9 of BG, which has 4 elements"), std::string::npos) << out;
  EXPECT_NE(out.find("TITLE: hit map TITLE_C.BMP is missing from DATA"), std::string::npos) << out;
  EXPECT_NE(out.find("MESWND: picture NAME_P.MGD is missing from MGD"), std::string::npos) << out;
  EXPECT_EQ(out.find("picture BG "), std::string::npos) << out;
  std::istringstream lines(out);
  std::string line, previous;
  std::vector<std::string> all;
  while (std::getline(lines, line)) all.push_back(line);
  std::sort(all.begin(), all.end());
  EXPECT_EQ(std::adjacent_find(all.begin(), all.end()), all.end()) << out;
  // What the game needs to start is there.
  EXPECT_EQ(Tool("game check --quick '" + dir.path() + "'", &out), 0) << out;
}

TEST(GameCheck, AMissingOrDamagedFolderIsOneLine) {
  TestDir dir;
  std::string out;
  EXPECT_EQ(Tool("game check --quick '" + dir.File("nothing") + "'", &out), 1);
  EXPECT_EQ(out, dir.File("nothing") + ": no such game folder\n");
  MakeGame(dir, false);
  std::filesystem::remove_all(dir.File("VOICE"));
  EXPECT_EQ(Tool("game check --quick '" + dir.path() + "'", &out), 1);
  EXPECT_NE(out.find("no folder or archive named VOICE"), std::string::npos) << out;
  dir.Write("VOICE", "not an archive at all");
  EXPECT_EQ(Tool("game check --quick '" + dir.path() + "'", &out), 1);
  EXPECT_NE(out.find("the source VOICE is damaged"), std::string::npos) << out;
  EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << out;
  std::filesystem::remove(dir.File("VOICE"));
  std::filesystem::create_directories(dir.File("VOICE"));
  std::filesystem::remove(dir.File("MSD/START.MSD"));
  EXPECT_EQ(Tool("game check --quick '" + dir.path() + "'", &out), 1);
  EXPECT_NE(out.find("scenario START is missing"), std::string::npos) << out;
}

#ifdef VELTO_DEMO_BUILT
TEST(GameCheck, TheDemoGameIsComplete) {
  std::string game = std::string(VELTO_BINARY_DIR) + "/game";
  std::string out, help;
  Tool("game check '" + game + "'", &out);
  // Movies are made only by builds that have the movie maker.
  Tool("--help", &help);
  bool movies = help.find("  movie ") != std::string::npos;
  std::istringstream lines(out);
  std::string line;
  int problems = 0;
  while (std::getline(lines, line)) {
    if (line.find("no problems") != std::string::npos) continue;
    if (!movies && line.find(".MPG is missing from DATA") != std::string::npos) continue;
    ADD_FAILURE() << line;
    ++problems;
  }
  EXPECT_EQ(problems, 0);
}
#endif

}  // namespace
