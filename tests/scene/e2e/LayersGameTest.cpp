// The whole program driven by an input script over a screen that owns a
// virtual screen: the page swaps, the camera flight, the save and reload,
// and a transition cut short by a click happen on the frames the rules put
// them on, the pictures are those the pixel rules give, and two runs are
// the same to the pixel.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RunCommand.h"
#include "TestDir.h"
#include "assets/PictureTestUtil.h"
#include "assets/PngDecode.h"
#include "scenario/SnrCompiler.h"
#include "scene/SceneTestKit.h"

namespace {

int RunGame(const std::string& args, std::string* output) {
  return RunCommand(std::string(VELTO_BINARY_DIR) + "/tests/scene/layers_game " + args + " 2>&1", output);
}

void MakeGame(const TestDir& game) {
  for (const char* name : {"DATA", "MGD", "MSD", "SE", "BGM", "VOICE"}) game.Write(std::string(name) + "/.keep", "");
  // The scenario the program checks its data with.
  snr::CompileResult start = snr::CompileScenario("END\n", "START.txt", snr::BuildTextEncoding());
  game.Write("MSD/START.MSD", std::string(start.file.begin(), start.file.end()));
  game.Write("MGD/BG.MGD", PictureFile(scenetest::Pattern(800, 600, 1, true), 800, 600, kPictureRaw));
  game.Write("MGD/CHR.MGD", PictureFile(scenetest::Pattern(120, 200, 2), 120, 200, kPictureRaw));
  game.Write("MGD/ITEM.MGD", PictureFile(scenetest::Pattern(40, 40, 3), 40, 40, kPictureRaw));
  game.Write("MGD/DROP.MGD", PictureFile(scenetest::Pattern(4, 12, 4, true), 4, 12, kPictureRaw));
  // Input is dead for the first 500 ms of the run.
  game.Write("in.txt",
             "40 down CONTROL     # skip held: the camera lands at once\n"
             "41 up CONTROL\n"
             "50 down Z           # save and reload everything\n"
             "51 up Z\n"
             "60 down X           # a plain page behind a one-minute transition\n"
             "61 up X\n"
             "69 move 400 300\n"
             "70 down LBUTTON     # a click finishes it\n"
             "71 up LBUTTON\n");
}

std::vector<uint32_t> Screenshot(const TestDir& game, const std::string& name) {
  const std::string png = game.Read(name);
  std::vector<uint32_t> px(800 * 600);
  if (DecodePngPixels(reinterpret_cast<const uint8_t*>(png.data()), png.size(), px.data(), 800, 600) == 0) px.clear();
  return px;
}

TEST(LayersGame, AScriptedRunComposesSwapsSavesAndIsTheSameEveryTime) {
  TestDir game;
  MakeGame(game);
  const std::string args = "--headless --fixed-step --frames 80 --game " + game.path() + " --input " +
                           game.File("in.txt");
  std::string first, second;
  ASSERT_EQ(RunGame(args + " --screenshot 30:" + game.File("a30.png") + " --screenshot 80:" + game.File("a80.png"),
                    &first),
            0)
      << first;
  // The screen's frames start two program frames in (after the opening
  // switch to it), so script frame F is screen frame F − 2.
  EXPECT_EQ(first,
            "swap 12\n"            // a 300 ms fade from frame 2: its last frame drawn on 11
            "camera 38\n"          // skip held on script frame 40
            "saveload same 48\n"   // the record written, read back, and written the same again
            "transition 58\n"
            "swap 69\n");          // the click on 70 (68) finishes it; it ends a frame later
  ASSERT_EQ(RunGame(args + " --screenshot 30:" + game.File("b30.png") + " --screenshot 80:" + game.File("b80.png"),
                    &second),
            0)
      << second;
  EXPECT_EQ(first, second);
  EXPECT_EQ(game.Read("a30.png"), game.Read("b30.png")) << "same input, same pixels";
  EXPECT_EQ(game.Read("a80.png"), game.Read("b80.png"));

  // The plain page shown last: the background tinted by the opaque rule,
  // and the character at half size sampling every other pixel.
  const std::vector<uint32_t> shot = Screenshot(game, "a80.png");
  ASSERT_EQ(shot.size(), 800u * 600u);
  const std::vector<uint32_t> bg = scenetest::Pattern(800, 600, 1, true);
  const std::vector<uint32_t> chr = scenetest::Pattern(120, 200, 2);
  for (int y = 0; y < 600; y += 11)
    for (int x = 0; x < 800; x += 13) {
      if (x >= 100 && x < 160 && y >= 100 && y < 200) continue;
      ASSERT_EQ(shot[y * 800 + x] & 0xFFFFFFu, scenetest::OpaqueRule(bg[y * 800 + x], 0xFF8040C8u) & 0xFFFFFFu)
          << x << "," << y;
    }
  for (int x = 0; x < 60; ++x) EXPECT_EQ(shot[100 * 800 + 100 + x] & 0xFFFFFFu, chr[2 * x] & 0xFFFFFFu) << x;
}

}  // namespace
