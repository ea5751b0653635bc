// The scenario screen's message commands played as a player plays them:
// messages typed out and clicked through with name plates, the window's
// opening and closing, name plates the picture lacks, the count and kind
// errors of MESRUN, and voices that auto mode lets finish.
#include <filesystem>
#include <string>

#include "SnrScreenFixture.h"
#include "audio/BGMBuffer.h"
#include "audio/VoiceBuffer.h"
#include "save/SaveData.h"

namespace {

using namespace snrtest;

// Pixels of the text area brighter than the window: typed characters.
int TextPixels(const std::vector<uint32_t>& picture) {
  int n = 0;
  for (int y = 477; y < 585; ++y)
    for (int x = 23; x < 660; ++x) n += ((picture[y * 800 + x] >> 16) & 0xFF) > 0xC0;
  return n;
}

TEST_F(SnrScreenTest, MessagesAreTypedOutAndClickedThrough) {
  Scenario("S",
           "MWO\nMOV $1, 1\nMSG 0, -1, \"\", \"Hello\"\nMOV $1, 2\n"
           "MSG 1, 0, \"\", \"World, and more\"\nMOV $1, 3\nEND\n");
  Start("S", Click(40, kTextX, kTextY) + Click(60, kTextX, kTextY));
  FramesUntil([&] { return Var(1) == 1; });
  EXPECT_GE(FrameNo(), 10) << "the window slides open first";
  FramesUntil([&] { return FrameNo() == 39; });
  EXPECT_TRUE(Waiting());
  EXPECT_GT(TextPixels(Screenshot()), 20) << "the message is on screen";
  EXPECT_EQ(Var(1), 1);
  EXPECT_EQ(Pixel(20, 440), 0xFF000000u) << "no name plate";
  FramesUntil([&] { return Var(1) == 2; });
  EXPECT_EQ(FrameNo(), 41);
  EXPECT_TRUE(app->mpSaveData->CheckKidokuFlag(0));
  FramesUntil([&] { return FrameNo() == 59; });
  EXPECT_TRUE(Waiting());
  EXPECT_NE(Pixel(20, 440), 0xFF000000u) << "name plate 0";
  FramesUntil([&] { return Var(1) == 3; });
  // Without a title screen the end of the story ends the program.
  Frames(5);
  EXPECT_TRUE(Closed());
  EXPECT_TRUE(boxes.empty());
}

TEST_F(SnrScreenTest, OpeningAnOpenWindowAndClosingAClosedOneDoNotWait) {
  Scenario("S", std::string("MWO\nMOV $1, 1\nMWO\nMOV $2, 1\nMWC\nMOV $3, 1\nMWC\nMOV $4, 1\n") + kIdle);
  Start("S");
  const int opened = FramesUntil([&] { return Var(1) == 1; });
  EXPECT_GE(opened, 10);
  EXPECT_EQ(Var(2), 1) << "MWO on an open window goes on in the same frame";
  EXPECT_EQ(Var(3), 0);
  const int closed = FramesUntil([&] { return Var(3) == 1; });
  EXPECT_GE(closed, 10);
  EXPECT_EQ(Var(4), 1);
  EXPECT_FALSE(Wnd()->IsOpen());
}

TEST_F(SnrScreenTest, ANamePlateThePictureLacksIsReportedAndTheStoryGoesOn) {
  Scenario("S", std::string("MWO\nMESNAME 3\nMOV $1, 1\nMESNAME 2\nMOV $2, 1\nMESTXAREA\nMOV $3, 1\n") + kIdle);
  Start("S");
  FramesUntil([&] { return Var(2) == 1; });
  EXPECT_EQ(boxes, std::vector<std::string>{"【MESNAME】不正な名札Ｎｏです。"});
  EXPECT_EQ(Var(1), 1);
  const long long at = FrameNo();
  FramesUntil([&] { return Var(3) == 1; });
  EXPECT_EQ(FrameNo(), at + 1) << "MESTXAREA ends the frame's run";
  EXPECT_FALSE(Closed());
}

TEST_F(SnrScreenTest, MesrunCountKindAndClosedWindowErrorsEndTheGame) {
  std::string items;
  for (int i = 0; i < 24; ++i) items += i % 2 ? ", 10" : ", \"x\"";
  // Twenty-five parameters are a message (texts and backlog marks, no click
  // wait); twenty-six are not.
  Scenario("OK", std::string("MWO\nMESRUN 0") + items + "\nMOV $1, 1\n" + kIdle);
  Start("OK");
  FramesUntil([&] { return Var(1) == 1; }, 200);
  EXPECT_EQ(Var(1), 1);
  EXPECT_TRUE(boxes.empty());
  Stop();

  const struct {
    std::string source, box;
  } cases[] = {
      {"MWO\nMESRUN 0" + items + ", 3\n", "【MESRUN】パラメータ数が不正エラー(パラメータ数：26個)"},
      {"MWO\nMESRUN \"0\", \"x\"\n", "【MESRUN】パラメータタイプが不正エラー(パラメータ：1番)"},
      {"MESRUN 0, \"x\"\n", "【MESRUN】メッセージウィンドウが開いている時のみ有効です。"},
      {"SELRUN 5, 2, \"SELP\", \"\"\n", "【SELRUN】メッセージウィンドウが開いている時のみ有効です。"},
      {"MWO\nMSG 0, 0, \"\"\n", "【MSG】パラメータ数が不正エラー(パラメータ数：3個)"},
  };
  for (const auto& c : cases) {
    Scenario("BAD", c.source + "MOV $1, 1\n" + kIdle);
    Start("BAD");
    Frames(40);
    EXPECT_TRUE(Closed()) << c.source;
    ASSERT_EQ(boxes.size(), 1u) << c.source;
    EXPECT_EQ(boxes[0], c.box);
    Stop();
  }
}

TEST_F(SnrScreenTest, AutoModeLetsTheVoiceFinishAtMesvstop) {
  Sound("VOICE", "V0001", 4000);
  Scenario("S", std::string("MWO\nATIMES 300\nAWAIT 0, 1990, 1991, 1992, 1993, 1994\n"
                            "MESVPLAY 0, \"V0001\"\nMSG 0, -1, \"\", \"A\"\nMESVSTOP\nMOV $1, 1\n") + kIdle);
  // The AUTO box is ticked before the line starts.
  const std::string autoOn = Click(24, BtnX(MESBTN_AUTO), BtnY(MESBTN_AUTO));
  Start("S", autoOn);
  const int spoken = FramesUntil([&] { return Var(1) == 1; }, 300);
  EXPECT_TRUE(Wnd()->IsAuto());
  EXPECT_GE(spoken, 130) << "the four-second line is heard out";
  EXPECT_FALSE(app->mpVoiceBuffer->mbPlay);
  EXPECT_FALSE(app->mpBGMBuffer->mbSmallReq);
  Stop();

  // A click past the line in auto mode, or without auto mode, cuts it.
  for (const std::string& script : {autoOn + Click(50, kTextX, kTextY), Click(50, kTextX, kTextY)}) {
    // The configuration keeps auto mode: start afresh.
    std::filesystem::remove_all(game.File("SAVE"));
    Start("S", script);
    FramesUntil([&] { return Var(1) == 1; }, 300);
    EXPECT_LE(FrameNo(), 53) << script;
    EXPECT_FALSE(app->mpVoiceBuffer->mbPlay);
    // The button is let go before the next run.
    Frames(5);
    Stop();
  }
}

}  // namespace
