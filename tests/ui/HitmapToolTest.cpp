// velto-tool hitmap, run as the game maker runs it.
#include "RunCommand.h"
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "TestDir.h"
#include "assets/PngEncode.h"
#include "ui/HitMap.h"

namespace {

int RunTool(const std::string& args, std::string* out = nullptr) {
  return RunCommand(std::string(VELTO_TOOL_PATH) + " hitmap " + args + " 2>&1", out);
}

std::string Png(const std::vector<uint32_t>& pixels, int width, int height) {
  std::vector<uint8_t> png;
  EXPECT_TRUE(EncodePngPixels(pixels.data(), width, height, false, &png));
  return std::string(png.begin(), png.end());
}

TEST(HitmapTool, GreyLevelsBecomeRegionsAndComeBack) {
  TestDir dir;
  std::vector<uint32_t> grey(hitmap::kMapSize);
  for (size_t i = 0; i < grey.size(); ++i) grey[i] = 0xFF000000u | ((i / 800 + i % 800) % 256) * 0x010101u;
  dir.Write("in.png", Png(grey, 800, 600));
  ASSERT_EQ(RunTool(dir.File("in.png") + " " + dir.File("x"), nullptr), 2);  // no verb
  ASSERT_EQ(RunTool("encode " + dir.File("in.png") + " " + dir.File("HIT.BMP")), 0);

  std::string bmp = dir.Read("HIT.BMP");
  ASSERT_EQ(bmp.size(), hitmap::kPixelOffset + hitmap::kMapSize);
  std::vector<uint8_t> map(hitmap::kMapSize);
  ASSERT_TRUE(hitmap::Decode(reinterpret_cast<const uint8_t*>(bmp.data()), bmp.size(), map.data()));
  EXPECT_EQ(map[0], 0);
  EXPECT_EQ(map[10 * 800 + 20], 30);
  EXPECT_EQ(map[599 * 800 + 799], (599 + 799) % 256);

  ASSERT_EQ(RunTool("decode " + dir.File("HIT.BMP") + " " + dir.File("out.png")), 0);
  std::string png = dir.Read("out.png");
  std::vector<uint32_t> back;
  int w = 0, h = 0;
  ASSERT_TRUE(LoadPngImage(reinterpret_cast<const uint8_t*>(png.data()), png.size(), &back, &w, &h));
  EXPECT_EQ(w, 800);
  EXPECT_EQ(h, 600);
  EXPECT_EQ(back, grey);
}

TEST(HitmapTool, PicturesThatAreNotGreyOrNotScreenSizedAreRefused) {
  TestDir dir;
  std::vector<uint32_t> small(20 * 10, 0xFF050505u);
  dir.Write("small.png", Png(small, 20, 10));
  std::string out;
  EXPECT_EQ(RunTool("encode " + dir.File("small.png") + " " + dir.File("a.bmp"), &out), 1);
  EXPECT_NE(out.find("20x10"), std::string::npos) << out;

  std::vector<uint32_t> colour(hitmap::kMapSize, 0xFF000000u);
  colour[5 * 800 + 7] = 0xFF010203u;
  dir.Write("colour.png", Png(colour, 800, 600));
  EXPECT_EQ(RunTool("encode " + dir.File("colour.png") + " " + dir.File("a.bmp"), &out), 1);
  EXPECT_NE(out.find("pixel 7,5 is not grey"), std::string::npos) << out;
  EXPECT_FALSE(dir.Exists("a.bmp"));

  dir.Write("bad.bmp", "BM not a hit map");
  EXPECT_EQ(RunTool("decode " + dir.File("bad.bmp") + " " + dir.File("b.png"), &out), 1);
  EXPECT_NE(out.find("not an 8-bit 800x600 hit map"), std::string::npos) << out;
  EXPECT_EQ(RunTool("decode " + dir.File("none.bmp") + " " + dir.File("b.png"), &out), 1);
}

}  // namespace
