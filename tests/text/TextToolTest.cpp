// velto-tool text: the layout a writer checks, in either encoding, and the
// font preview.
#include <gtest/gtest.h>

#include <string>

#include "RunCommand.h"
#include "TestDir.h"

namespace {

int Tool(const std::string& args, std::string* out) {
  return RunCommand(std::string(VELTO_TOOL_PATH) + " text " + args + " 2>&1", out);
}

TEST(TextTool, LayoutPrintsTheRecordsWithTheLineBreaksOfEitherEncoding) {
  TestDir dir;
  // Four characters fit in 0..100 at size 24 + 1; "。" would begin the
  // second line, so "え" goes with it.
  dir.Write("in.txt", "T あいうえ。\nF 3\n\nF 1\nT か\n");
  for (const char* encoding : {"sjis", "gbk"}) {
    std::string out;
    ASSERT_EQ(Tool(std::string("layout --encoding ") + encoding + " --area 0,0,100,200 --kinsoku 1 " +
                       dir.File("in.txt"),
                   &out),
              0)
        << out;
    EXPECT_EQ(out,
              "2 0 0 あ\n2 25 0 い\n2 50 0 う\n2 0 28 え\n2 25 28 。\n4 0 0 -\n2 0 56 か\n0 0 0 -\n")
        << encoding;
  }
  std::string out;
  ASSERT_EQ(Tool("layout --area 0,0,100,200 --down 1 --size 10 --line-space 0 --char-space 0 " + dir.File("in.txt"),
                 &out),
            0);
  EXPECT_EQ(out.substr(0, 10), "2 0 0 　\n") << "the page-start space";
}

TEST(TextTool, LayoutNamesTheBadLine) {
  TestDir dir;
  std::string out;
  dir.Write("bad.txt", "T ok\nX what\n");
  EXPECT_EQ(Tool("layout --area 0,0,100,100 " + dir.File("bad.txt"), &out), 1);
  EXPECT_NE(out.find("bad.txt:2:"), std::string::npos) << out;
  dir.Write("long.txt", "T " + std::string(600, 'a') + "\n");
  EXPECT_EQ(Tool("layout --area 0,0,100,100 " + dir.File("long.txt"), &out), 1);
  EXPECT_NE(out.find("at most 511"), std::string::npos) << out;
  dir.Write("gbk.txt", "T ﾃｽﾄ\n");  // half-width katakana: not in GBK
  EXPECT_EQ(Tool("layout --encoding gbk --area 0,0,100,100 " + dir.File("gbk.txt"), &out), 1);
  EXPECT_EQ(Tool("layout " + dir.File("gbk.txt"), &out), 2) << "no area";
}

TEST(TextTool, RenderDrawsAPictureAndNamesTheFont) {
  TestDir dir;
  std::string out;
  ASSERT_EQ(Tool("render --size 32 --weight 700 --shadow FF404040 '中文 and かな' " + dir.File("a.png"), &out), 0)
      << out;
  EXPECT_NE(out.find(".tt"), std::string::npos) << out;
  const std::string png = dir.Read("a.png");
  ASSERT_GT(png.size(), 100u);
  EXPECT_EQ(png.substr(1, 3), "PNG");
  EXPECT_EQ(Tool("render --hard --face 'No Such Face' x " + dir.File("b.png"), &out), 0) << out;
  EXPECT_EQ(Tool("render --color zz x " + dir.File("c.png"), &out), 1);
}

}  // namespace
