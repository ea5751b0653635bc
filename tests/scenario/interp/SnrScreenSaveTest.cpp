// Saved games through the scenario screen: a quick save at a load point
// loaded back with the window's quick-load button gives the same picture,
// variables, text settings, music and wait; the record is laid out as the
// saved-game format stores it; and a saved game that cannot be restored is
// reported and never half-run.
#include <cstring>
#include <string>

#include "SnrScreenFixture.h"
#include "app/StartScreen.h"
#include "audio/BGMBuffer.h"
#include "save/SaveData.h"
#include "scenario/SnrBuffer.h"
#include "scene/DIBSnrVVram.h"
#include "text/MesTextBuffer.h"
#include "video/MovieTestKit.h"

namespace {

using namespace snrtest;

const char kStory[] =
    "BGMLIST 0, \"BGM01\"\nBGMPLAY 0, 0, 1, 0\n"
    "IMREAD 0, \"BG01\"\nLYIMAGE 0, 0\nLYIMAGE 1, \"CH01\"\nLYPOS 1, 300, 200, 0\nOVERLAP 1, 0\n"
    "MESFTSIZE 30\nMESFTCOLOR 0, 255, 64, 64\nMESFTSHADOW 1\nMESTXKINSOKU 1\nMOV $3, 42\nATIMES 7000\n"
    "LPT 5\nMWO\nMSG 0, -1, \"\", \"Line one\"\n"
    "MOV $3, 99\nLYPOS 1, 100, 100, 0\nOVERLAP 1, 0\nMESFTSIZE 16\nBGMSTOP 0, 0\n"
    "MSG 1, -1, \"\", \"Line two\"\n";

class SnrSaveTest : public SnrScreenTest {
 protected:
  // The shown picture without the window's button panel: which button
  // keeps the focus after a click is the player's, not the story's.
  std::vector<uint32_t> StoryPicture() const {
    std::vector<uint32_t> out = Screenshot();
    for (int y = 470; y < 600; ++y)
      for (int x = 655; x < 800; ++x) out[y * 800 + x] = 0;
    return out;
  }
  void SetUp() override {
    SnrScreenTest::SetUp();
    Picture("BG01", 800, 600, 0xFF204060u);
    Picture("CH01", 200, 300, 0xFFE0A040u);
    Sound("BGM", "BGM01", 3000);
    Scenario("STORY", std::string(kStory) + kIdle);
  }
};

TEST_F(SnrSaveTest, AQuickSaveAtALoadPointLoadsBackToTheSamePictureAndState) {
  const std::string script = Click(50, BtnX(MESBTN_QSAVE), BtnY(MESBTN_QSAVE)) + "53 move 400 100\n" +
                             Click(70, kTextX, kTextY) + Click(100, BtnX(MESBTN_QLOAD), BtnY(MESBTN_QLOAD)) +
                             "103 move 400 100\n";
  Start("STORY", script);
  FramesUntil([&] { return FrameNo() == 60; });
  ASSERT_TRUE(Waiting());
  const std::vector<uint32_t> saved = StoryPicture();
  CDIBSnrScreen* first = Snr();
  FramesUntil([&] { return Var(3) == 99; });
  FramesUntil([&] { return Snr() && Snr() != first; }, 200);
  ASSERT_NE(Snr(), nullptr);
  EXPECT_EQ(Snr()->GetWaitTime(), 7000u) << "the wait of the load point";
  const CMesTextBuffer* text = Wnd()->GetTextBuffer();
  EXPECT_EQ(text->mnFontSize, 30);
  EXPECT_EQ(text->mdwColor, 0xFFFF4040u);
  EXPECT_TRUE(text->mbShadow);
  EXPECT_EQ(Var(3), 42);
  EXPECT_TRUE(app->mpBGMBuffer->CheckPlaying("BGM01"));
  FramesUntil([&] { return Waiting(); }, 300);
  Frames(10);
  EXPECT_TRUE(StoryPicture() == saved) << "the story resumes at the load point as it was";
  EXPECT_TRUE(boxes.empty());
}

TEST_F(SnrSaveTest, ALoadedGameIsRestoredOnceNotAgainAfterAMovie) {
  ASSERT_EQ(movietest::MakeMovie(game, "DATA/OP.MPG", 320, 240, 3, 3), 0);
  Scenario("FILM", "LPT 1\nMWO\nMSG 0, -1, \"\", \"Film\"\nMOVIE \"OP.MPG\", \"\", 1\nMOV $4, ($4 + 1)\n" +
                       std::string(kIdle));
  // Quick save at the message, on past the movie, quick load, and past the
  // movie again: the screen comes back from it as it was left.
  const std::string script = Click(40, BtnX(MESBTN_QSAVE), BtnY(MESBTN_QSAVE)) + Click(60, kTextX, kTextY) +
                             Click(200, BtnX(MESBTN_QLOAD), BtnY(MESBTN_QLOAD)) + Click(320, kTextX, kTextY);
  Start("FILM", script);
  FramesUntil([&] { return Var(4) == 1; }, 200);
  ASSERT_EQ(Var(4), 1);
  CDIBSnrScreen* first = Snr();
  FramesUntil([&] { return Snr() && Snr() != first; }, 150);
  ASSERT_NE(Snr(), nullptr);
  EXPECT_EQ(Var(4), 0) << "the variables of the save point";
  FramesUntil([&] { return Var(4) == 1; }, 250);
  ASSERT_EQ(Var(4), 1);
  Frames(40);
  EXPECT_EQ(Var(4), 1) << "the story goes on after the movie instead of loading again";
  EXPECT_FALSE(Wnd()->IsRun());
}

TEST_F(SnrSaveTest, ALoadPointInsideTheOpenWindowLoadsBackWithTheMessageShown) {
  // Stories often save at each message, after the window opened: the
  // loaded game starts with the window closed, and the message opens it
  // again rather than waiting for clicks on text nobody sees.
  Scenario("INSIDE", "IMREAD 0, \"BG01\"\nLYIMAGE 0, 0\nOVERLAP 1, 0\nMWO\nLPT 1\nMSG 0, -1, \"\", \"Line one\"\n"
                     "MOV $3, 1\nLPT 2\nMSG 1, -1, \"\", \"Line two\"\nMOV $3, 2\n" +
                         std::string(kIdle));
  const std::string script = Click(50, BtnX(MESBTN_QSAVE), BtnY(MESBTN_QSAVE)) + "53 move 400 100\n" +
                             Click(70, kTextX, kTextY) + Click(100, BtnX(MESBTN_QLOAD), BtnY(MESBTN_QLOAD)) +
                             "103 move 400 100\n";
  Start("INSIDE", script);
  FramesUntil([&] { return FrameNo() == 60; });
  ASSERT_TRUE(Waiting());
  const std::vector<uint32_t> saved = StoryPicture();
  CDIBSnrScreen* first = Snr();
  FramesUntil([&] { return Var(3) == 1; });
  FramesUntil([&] { return Snr() && Snr() != first; }, 200);
  ASSERT_NE(Snr(), nullptr);
  FramesUntil([&] { return Waiting(); }, 300);
  EXPECT_TRUE(Wnd()->IsOpen());
  EXPECT_EQ(Var(3), 0) << "back before the first message's click";
  Frames(10);
  EXPECT_TRUE(StoryPicture() == saved) << "the window and its message show as they did";
  EXPECT_TRUE(boxes.empty());
}

TEST_F(SnrSaveTest, TheRecordFollowsTheVirtualScreensRecord) {
  Start("STORY");
  FramesUntil([&] { return Waiting(); });
  CSaveData* save = app->mpSaveData;
  const uint8_t* state = save->mpStateBuf;
  // Nothing on the pages has changed since the load point.
  std::vector<uint8_t> vvram(CDIBSnrVVram::kSaveSizeMax);
  const size_t vvramSize = Snr()->GetVVram()->Save(vvram.data()) - vvram.data();
  ASSERT_GT(save->mdwStateSize, vvramSize + CDIBSnrScreen::kTailSize);
  EXPECT_EQ(memcmp(state, vvram.data(), vvramSize), 0);
  EXPECT_STREQ(reinterpret_cast<const char*>(state + vvramSize), "STORY") << "then the scenario position";
  const uint8_t* tail = state + save->mdwStateSize - CDIBSnrScreen::kTailSize;
  auto i32 = [&](int at) {
    int32_t v;
    memcpy(&v, tail + at, 4);
    return v;
  };
  EXPECT_EQ(i32(0), 5) << "load point";
  EXPECT_EQ(i32(4), 7000) << "wait time";
  EXPECT_EQ(tail[12], 1) << "kinsoku";
  EXPECT_EQ(i32(30 + 4 * 3), 30) << "font size";
  EXPECT_EQ(static_cast<uint32_t>(i32(46)), 0xFFFF4040u) << "colour";
  EXPECT_EQ(tail[54], 0) << "bold";
  EXPECT_EQ(tail[55], 1) << "shadow";
}

TEST_F(SnrSaveTest, ASavedGameThatCannotBeRestoredIsReportedAndNotRun) {
  // A slot that holds no game, then a game whose record does not parse.
  for (int slot : {3, 4}) {
    if (slot == 4) {
      SetStartScreenFactory({});
      Start("STORY");
      FramesUntil([&] { return Waiting(); });
      CSaveData* save = app->mpSaveData;
      memset(save->mpStateBuf, 0xA5, 300);
      save->mdwStateSize = 300;
      ASSERT_TRUE(save->SaveGame(slot));
      Stop();
    }
    const std::string before = game.Read("SAVE/GAME04.SAV");
    SetStartScreenFactory([slot] {
      SnrStartBlock block{};
      block.nLoad = 1;
      block.nSlot = slot;
      return CDIBSnrScreen::Make(nullptr, &block);
    });
    Start("");
    Frames(20);
    ASSERT_FALSE(boxes.empty()) << slot;
    EXPECT_EQ(boxes, std::vector<std::string>{"セーブデータの読み込みに失敗しました。"}) << "nothing ran";
    EXPECT_TRUE(Closed()) << "without a title screen the program ends";
    EXPECT_EQ(game.Read("SAVE/GAME04.SAV"), before);
    Stop();
  }

  // With the title screen the failed load goes to it, at its menu.
  static TitleStartBlock titleBlock;
  static CDIBBaseScreen* title;
  RegisterScreen(SCREEN_TITLE, [](CBaseGame*, const void* block) -> CDIBBaseScreen* {
    titleBlock = *static_cast<const TitleStartBlock*>(block);
    return title = new CPlainScreen(0xFF808080u);
  });
  Start("");
  FramesUntil([&] { return title && app->mpRootFlow->GetScreen() == title; }, 200);
  EXPECT_EQ(app->mpRootFlow->GetScreen(), title);
  EXPECT_EQ(titleBlock.bAfterGame, 1);
  EXPECT_EQ(boxes.size(), 1u);
}

}  // namespace
