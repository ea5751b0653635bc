#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PictureTestUtil.h"
#include "TestDir.h"
#include "ToolRunner.h"
#include "assets/DIBSprite.h"
#include "assets/PngEncode.h"

namespace {

TEST(MgdTool, EncodeDecodeRoundTripsEveryEncoding) {
  if (VeltoToolPath().empty()) GTEST_SKIP() << "velto-tool not built";
  TestDir dir;
  std::vector<uint32_t> px = MixedPixels(31, 9);
  std::vector<uint8_t> png;
  ASSERT_TRUE(EncodePngPixels(px.data(), 31, 9, true, &png));
  dir.Write("in.png", std::string(png.begin(), png.end()));
  for (const char* enc : {"raw", "sgd", "png"}) {
    std::string mgd = dir.File(std::string("P_") + enc + ".MGD");
    ASSERT_EQ(RunTool(std::string("mgd encode --encoding ") + enc + " --element 1,2,3,4 --element 5,6,7,8,-9,10 '" +
                      dir.File("in.png") + "' '" + mgd + "'"),
              0);
    std::string info;
    ASSERT_EQ(RunTool("mgd info '" + mgd + "'", &info), 0);
    EXPECT_EQ(info, std::string("31x9 encoding=") + enc + " elements=2\n1 2 3 4 0 0\n5 6 7 8 -9 10\n");
    ASSERT_EQ(RunTool("mgd decode '" + mgd + "' '" + dir.File("out.png") + "'"), 0);
    std::string back = dir.Read("out.png");
    std::vector<uint32_t> decoded;
    int w = 0, h = 0;
    ASSERT_TRUE(LoadPngImage(Bytes(back), back.size(), &decoded, &w, &h));
    EXPECT_EQ(decoded, px) << enc;
  }
  // The default is SGD with one element covering the picture.
  ASSERT_EQ(RunTool("mgd encode '" + dir.File("in.png") + "' '" + dir.File("D.MGD") + "'"), 0);
  std::string info;
  ASSERT_EQ(RunTool("mgd info '" + dir.File("D.MGD") + "'", &info), 0);
  EXPECT_EQ(info, "31x9 encoding=sgd elements=1\n0 0 31 9 0 0\n");
}

TEST(MgdTool, RefusesBadArguments) {
  if (VeltoToolPath().empty()) GTEST_SKIP() << "velto-tool not built";
  TestDir dir;
  std::vector<uint32_t> px(4, 0xFF000000);
  std::vector<uint8_t> png;
  ASSERT_TRUE(EncodePngPixels(px.data(), 2, 2, true, &png));
  dir.Write("in.png", std::string(png.begin(), png.end()));
  std::string in = "'" + dir.File("in.png") + "' '" + dir.File("o.MGD") + "'";
  EXPECT_NE(RunTool("mgd encode --element 1,2,3 " + in), 0);
  EXPECT_NE(RunTool("mgd encode --element 1,2,3,40000 " + in), 0);
  EXPECT_NE(RunTool("mgd encode --encoding jpeg " + in), 0);
  dir.Write("bad.MGD", "short");
  EXPECT_NE(RunTool("mgd info '" + dir.File("bad.MGD") + "'"), 0);
  EXPECT_NE(RunTool("mgd decode '" + dir.File("in.png") + "' '" + dir.File("x.png") + "'"), 0);
}

}  // namespace
