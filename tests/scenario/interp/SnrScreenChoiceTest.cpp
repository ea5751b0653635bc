// Choices as the player meets them: the choice screen over the story for
// SELECT, answered by a click or cancelled, and the choice buttons inside
// the message window for SELRUN; and the SELECT blocks no screen can show.
#include <string>

#include "SnrScreenFixture.h"
#include "screens/DIBSelectScreen.h"

namespace {

using namespace snrtest;

TEST_F(SnrScreenTest, ASelectOfThreeStoresTheClickedIDOrMinusOneOnEscape) {
  Picture("BG01", 800, 600, 0xFF405060u);
  Scenario("S", SelItems() + "IMREAD 0, \"BG01\"\nLYIMAGE 0, 0\nLYBLEND 0, 0\nOVERLAP 1, 0\nMOV $5, 77\n" +
                    "SELECT 5, \"\", 3, 0, 1, 2\nMOV $1, 1\n" + kIdle);
  for (const std::string& script : {Click(40, 400, 220), Key(40, "ESCAPE")}) {
    Start("S", script);
    FramesUntil([&] { return dynamic_cast<CDIBSelectScreen*>(app->mpRootFlow->GetScreen()) != nullptr; });
    EXPECT_EQ(Var(1), 0) << "the story waits for the choice";
    // Before the pointer arrives over the second choice.
    FramesUntil([&] { return FrameNo() == 37; });
    EXPECT_EQ(Pixel(310, 210), screenkit::FrameColor(kSelParts, 0));
    EXPECT_EQ(Pixel(100, 550), 0xFF405060u) << "over the story's picture";
    FramesUntil([&] { return Var(1) == 1; });
    EXPECT_EQ(Var(5), script[3] == 'm' ? 1 : -1) << script;
    EXPECT_NE(Snr(), nullptr);
    EXPECT_TRUE(boxes.empty());
    Stop();
  }
}

TEST_F(SnrScreenTest, SelrunOffersTheChoicesInsideTheWindow) {
  Scenario("S", std::string("MWO\nSELMAKE 0, 1, 100, 150, 0, 1, 2, 3, 4\nSELMAKE 1, 1, 100, 250, 0, 1, 2, 3, 4\n"
                            "SELMAKE 2, 0, 100, 350, 0, 1, 2, 3, 4\nSELRUN 6, 3, \"SELP\", \"\"\nMOV $1, 1\n") +
                    kIdle);
  // The disabled third choice is clicked first and takes nothing.
  Start("S", Click(60, 150, 360) + Click(70, 150, 260));
  FramesUntil([&] { return FrameNo() == 69; });
  EXPECT_EQ(Var(1), 0);
  EXPECT_TRUE(Wnd()->IsRun());
  FramesUntil([&] { return Var(1) == 1; });
  EXPECT_LE(FrameNo(), 75);
  EXPECT_EQ(Var(6), 1);
}

TEST_F(SnrScreenTest, SelectBlocksThatCannotBeShownEndTheGame) {
  const struct {
    std::string source, box;
  } cases[] = {
      // No choice at all: the choice screen refuses it and the window closes.
      {"SELECT 5, \"\", 0, 0\n", "エラー\nOBJECT:CDIBSelectScreen\nNAME:CDIBBaseScreen::Initialize()"},
      {"SELECT 5, \"\", 2, 0, 256\n", "【SELECT】パラメータが不正エラー(パラメータ：5番)"},
      {"SELECT 5, \"\", 3, 0, 1\n", "【SELECT】パラメータが不正エラー(パラメータ：3番)"},
      {"SELECT 2000, \"\", 1, 0\n", "【SELECT】パラメータが不正エラー(パラメータ：1番)"},
      {"SELECT 5, \"\", 1\n", "【SELECT】パラメータ数が不正エラー(パラメータ数：3個)"},
      {"SELECT 5, 1, 1, 0\n", "【SELECT】パラメータタイプが不正エラー(パラメータ：2番)"},
      {"SELMAKE 10, 1, 0, 0, 0, 1, 2, 3, 4\n", "【SELMAKE】パラメータが不正エラー(パラメータ：1番)"},
  };
  for (const auto& c : cases) {
    Scenario("BAD", SelItems() + c.source + "MOV $1, 1\n" + kIdle);
    Start("BAD");
    Frames(20);
    EXPECT_TRUE(Closed()) << c.source;
    ASSERT_EQ(boxes.size(), 1u) << c.source;
    EXPECT_EQ(boxes[0], c.box);
    Stop();
  }
}

}  // namespace
