// velto-tool transition: the frames it writes are those the engine's
// transition draws at the 30 ms step, pictures come from a picture folder
// or a PNG, and bad requests are refused with a message.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestDir.h"
#include "assets/PictureWriter.h"
#include "assets/PngEncode.h"
#include "assets/ToolRunner.h"

namespace {

void WritePng(const TestDir& dir, const std::string& name, int w, int h, uint32_t color) {
  std::vector<uint32_t> pixels(static_cast<size_t>(w) * h, color);
  std::vector<uint8_t> png;
  ASSERT_TRUE(EncodePngPixels(pixels.data(), w, h, true, &png));
  dir.Write(name, std::string(png.begin(), png.end()));
}

std::vector<uint32_t> ReadPng(const TestDir& dir, const std::string& name) {
  const std::string bytes = dir.Read(name);
  std::vector<uint32_t> pixels;
  int w = 0, h = 0;
  if (!LoadPngImage(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), &pixels, &w, &h)) return {};
  return pixels;
}

class TransitionToolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (VeltoToolPath().empty()) GTEST_SKIP() << "velto-tool not built";
    WritePng(dir, "black.png", 80, 60, 0xFF000000u);
    WritePng(dir, "white.png", 80, 60, 0xFFFFFFFFu);
  }
  std::string Pictures() const { return " --from '" + dir.File("black.png") + "' --to '" + dir.File("white.png") + "' "; }
  TestDir dir;
};

TEST_F(TransitionToolTest, WritesEveryFrameTheTransitionDraws) {
  std::string out;
  ASSERT_EQ(RunTool("transition fade 90" + Pictures() + "'" + dir.File("fade") + "'", &out), 0);
  EXPECT_EQ(out, "4 frames in " + dir.File("fade") + "\n");
  // Elapsed 0, 30, 60 and 90 ms: black, a = 85, a = 170, white.
  EXPECT_EQ(ReadPng(dir, "fade/frame0000.png").at(0), 0xFF000000u);
  EXPECT_EQ(ReadPng(dir, "fade/frame0001.png").at(77), 0xFF545454u);
  EXPECT_EQ(ReadPng(dir, "fade/frame0002.png").at(4799), 0xFFA9A9A9u);
  EXPECT_EQ(ReadPng(dir, "fade/frame0003.png").at(1234), 0xFFFFFFFFu);
  EXPECT_FALSE(dir.Exists("fade/frame0004.png"));

  // By number, limited to two frames.
  ASSERT_EQ(RunTool("transition 2 900 --frames 2" + Pictures() + "'" + dir.File("two") + "'", &out), 0);
  EXPECT_EQ(out, "2 frames in " + dir.File("two") + "\n");
}

TEST_F(TransitionToolTest, PicturesComeFromAPictureFolderOrAPng) {
  // A mask as a picture file: left half 255, right half 0.
  std::vector<uint32_t> mask(80 * 60);
  for (int i = 0; i < 80 * 60; ++i) mask[i] = (i % 80) < 40 ? 0xFF0000FFu : 0xFF000000u;
  std::vector<uint8_t> file;
  std::string error;
  ASSERT_TRUE(BuildPictureFile(mask.data(), 80, 60, kPictureRaw, {SprtElement{0, 0, 80, 60, 0, 0}}, 4, &file, &error));
  dir.Write("MGD/HALF.MGD", std::string(file.begin(), file.end()));
  ASSERT_EQ(RunTool("transition alpha 300 1 HALF 0 --pictures '" + dir.File("MGD") + "'" + Pictures() + "'" +
                    dir.File("a") + "'"),
            0);
  // The masked half has switched after the first step, the other not yet.
  const std::vector<uint32_t> second = ReadPng(dir, "a/frame0001.png");
  ASSERT_EQ(second.size(), 80u * 60u);
  EXPECT_EQ(second[10], 0xFFFFFFFFu);
  EXPECT_EQ(second[70], 0xFF000000u);

  std::vector<uint8_t> png;
  ASSERT_TRUE(EncodePngPixels(mask.data(), 80, 60, true, &png));
  dir.Write("half.png", std::string(png.begin(), png.end()));
  ASSERT_EQ(RunTool("transition wipe 300 1 '" + dir.File("half.png") + "'" + Pictures() + "'" + dir.File("w") + "'"), 0);
  EXPECT_TRUE(dir.Exists("w/frame0010.png"));

  // A picture that cannot be read is said, and the transition still runs.
  std::string out;
  ASSERT_EQ(RunCommand("'" + VeltoToolPath() + "' transition alpha 60 0 NONE 0" + Pictures() + "'" + dir.File("n") +
                           "' 2>&1",
                       &out),
            0);
  EXPECT_NE(out.find("OBJECT:CDIBOverlap FILE:NONE"), std::string::npos) << out;
  EXPECT_EQ(ReadPng(dir, "n/frame0000.png").at(0), 0xFFFFFFFFu);
}

TEST_F(TransitionToolTest, RefusesWhatItCannotPlay) {
  const std::string out = "'" + dir.File("x") + "'";
  EXPECT_EQ(RunTool("transition sparkle 300" + Pictures() + out), 1);
  EXPECT_EQ(RunTool("transition 16 300" + Pictures() + out), 1);
  EXPECT_EQ(RunTool("transition rotate 300" + Pictures() + out), 1);  // its direction is missing
  EXPECT_EQ(RunTool("transition fade ten" + Pictures() + out), 1);
  EXPECT_EQ(RunTool("transition fade 300 --frames 0" + Pictures() + out), 1);
  EXPECT_EQ(RunTool("transition fade 300 --from '" + dir.File("black.png") + "' " + out), 2);
  WritePng(dir, "small.png", 8, 6, 0xFF00FF00u);
  EXPECT_EQ(RunTool("transition fade 300 --from '" + dir.File("black.png") + "' --to '" + dir.File("small.png") +
                    "' " + out),
            1);
  EXPECT_EQ(RunTool("transition fade 300 --from '" + dir.File("nothing.png") + "' --to '" + dir.File("small.png") +
                    "' " + out),
            1);
  EXPECT_FALSE(dir.Exists("x/frame0000.png"));
}

}  // namespace
