// The confirmation screen inside the running application: its picture over
// the opener's, the answers handed to the receiver with the opener's code,
// the cancel sound, the layout table "CONF" over the built-in defaults, and
// the read error of a missing message picture.
#include <gtest/gtest.h>

#include <algorithm>

#include "scenario/SnrCompiler.h"
#include "screens/DIBConfScreen.h"
#include "screens/OpenerFixture.h"
#include "ui/DIBBaseCtrl.h"

namespace {

using namespace screenkit;

constexpr uint32_t kParts = 0x602040u;
constexpr uint32_t kMessage = 0xFFE0E0E0u;

class ConfScreenTest : public OpenerFixture {
 protected:
  void SetUp() override {
    OpenerFixture::SetUp();
    // Frames 1–5 of the OK button, 6–10 of the cancel button, 100 × 40.
    game.Write("MGD/CONF_P.MGD", FramesPicture(11, 100, 40, kParts));
    for (const char* name : {"CONF01_B", "CONF02_B", "CONF04_B", "CONF05_B"})
      game.Write(std::string("MGD/") + name + ".MGD", BoxPicture(200, 200, 400, 160, kMessage));
    game.Write("DATA/CONF_C.BMP", HitMapFile({{240, 280, 100, 40, 0}, {420, 280, 100, 40, 1}}));
  }

  void WriteTable(const std::string& source) {
    snr::CompileResult table = snr::CompileScenario(source, "CONF.txt", snr::BuildTextEncoding());
    ASSERT_TRUE(table.ok) << table.error;
    game.Write("MSD/CONF.MSD", std::string(table.file.begin(), table.file.end()));
  }

  CDIBBaseScreen* Ask(int32_t message, int32_t code) {
    ConfStartBlock block{message, opener, code};
    return CreateScreen(SCREEN_CONF, opener, &block);
  }
};

TEST_F(ConfScreenTest, AnswersGoToTheReceiverWithItsCodeAndCancelSounds) {
  StartApp();
  CDIBBaseScreen* screen = Ask(1, 7);
  ASSERT_TRUE(Open(screen));
  EXPECT_EQ(Pixel(100, 100), kOpenerColor);
  EXPECT_EQ(Pixel(210, 210), Over(kOpenerColor, kMessage)) << "the message picture lies over the opener";
  EXPECT_EQ(Pixel(250, 290), Over(Over(kOpenerColor, kMessage), FrameColor(kParts, 1))) << "blended buttons";
  EXPECT_EQ(Pixel(430, 290), Over(Over(kOpenerColor, kMessage), FrameColor(kParts, 6)));

  // Escape, also while a button has focus: cancel, with the cancel sound.
  Move(260, 300);
  EXPECT_TRUE(screen->GetCtrl(0)->IsForcus());
  rec->sysSE.clear();
  Key(plat::VK_ESCAPE);
  ASSERT_TRUE(BackAtOpener());
  EXPECT_EQ(opener->answers, (std::vector<std::pair<int32_t, int32_t>>{{7, CONF_ANSWER_CANCEL}}));
  EXPECT_EQ(rec->sysSE, std::vector<int>{SYSSE_CANCEL});

  opener->answers.clear();
  ASSERT_TRUE(Open(Ask(0, 3)));
  Click(300, 300);
  ASSERT_TRUE(BackAtOpener());
  EXPECT_EQ(opener->answers, (std::vector<std::pair<int32_t, int32_t>>{{3, CONF_ANSWER_OK}}));

  // The cancel button sounds as cancel, a right click too.
  for (int key : {plat::VK_LBUTTON, plat::VK_RBUTTON}) {
    opener->answers.clear();
    ASSERT_TRUE(Open(Ask(4, 1)));
    rec->sysSE.clear();
    Click(460, 300, key);
    ASSERT_TRUE(BackAtOpener());
    EXPECT_EQ(opener->answers, (std::vector<std::pair<int32_t, int32_t>>{{1, CONF_ANSWER_CANCEL}})) << key;
    EXPECT_NE(std::find(rec->sysSE.begin(), rec->sysSE.end(), SYSSE_CANCEL), rec->sysSE.end()) << key;
    EXPECT_EQ(std::find(rec->sysSE.begin(), rec->sysSE.end(), SYSSE_DECIDE), rec->sysSE.end()) << key;
  }
}

TEST_F(ConfScreenTest, WithoutJumpRowsTheKeyboardStaysOnItsButton) {
  StartApp();
  CDIBBaseScreen* screen = Ask(0, 0);
  ASSERT_TRUE(Open(screen));
  Move(260, 300);
  Move(260, 300);
  ASSERT_TRUE(screen->GetCtrl(0)->IsForcus());
  for (int key : {plat::VK_RIGHT, plat::VK_TAB, plat::VK_DOWN}) Key(key);
  EXPECT_TRUE(screen->GetCtrl(0)->IsForcus());
  EXPECT_FALSE(screen->GetCtrl(1)->IsForcus());
}

TEST_F(ConfScreenTest, TheLayoutTableOverridesTheDefaults) {
  // Pictures, hit values, positions, frames and jump rows; the hit map keeps
  // its built-in name even where the parts record could be taken for it.
  WriteTable(
      "DEF 1, 2, \"CONF02_B\"\n"
      "DEF 1, 3, \"ASKSAVE\"\n"
      "DEF 1, 5, \"OTHER_P\"\n"
      "DEF 1, 10, 5\n"
      "DEF 1, 11, 6\n"
      "DEF 1, 20, 100, 400\n"
      "DEF 1, 21, 500, 400\n"
      "DEF 1, 30, 0, 1, 2, 3, 4\n"
      "DEF 1, 41, 0, -1, -1, 0, -1, 0\n"
      "DEF 1, 40, 0, -1, -1, -1, 1, 1\n"
      "DEF 1, 40, 300, 1, 1, 1, 1, 1\n");
  game.Write("MGD/OTHER_P.MGD", FramesPicture(11, 100, 40, kParts));
  game.Write("MGD/ASKSAVE.MGD", BoxPicture(0, 0, 10, 10, kMessage));
  game.Write("DATA/CONF_C.BMP", HitMapFile({{100, 400, 100, 40, 5}, {500, 400, 100, 40, 6}}));
  StartApp();
  const ConfLayout& layout = CDIBConfScreen::Layout();
  EXPECT_STREQ(layout.szMessage[2], "CONF02_B");
  EXPECT_STREQ(layout.szMessage[3], "ASKSAVE");
  EXPECT_STREQ(layout.szMessage[0], "CONF01_B");
  EXPECT_STREQ(layout.szHitMap, "CONF_C.BMP");
  EXPECT_EQ(layout.nJump[0][0][JUMP_RIGHT], 1);
  EXPECT_EQ(layout.nJump[1][0][JUMP_LEFT], 0);
  EXPECT_EQ(layout.nJump[0][1][JUMP_RIGHT], -1) << "rows not in the table keep -1";

  CDIBBaseScreen* screen = Ask(3, 2);
  ASSERT_TRUE(Open(screen));
  EXPECT_EQ(Pixel(105, 405), Over(kOpenerColor, FrameColor(kParts, 0)));
  EXPECT_EQ(Pixel(505, 405), Over(kOpenerColor, FrameColor(kParts, 6)));
  Move(150, 420);
  Move(150, 420);
  ASSERT_TRUE(screen->GetCtrl(0)->IsForcus());
  Key(plat::VK_RIGHT);
  Frames(1);
  EXPECT_TRUE(screen->GetCtrl(1)->IsForcus());
  Key(plat::VK_RETURN);
  ASSERT_TRUE(BackAtOpener());
  EXPECT_EQ(opener->answers, (std::vector<std::pair<int32_t, int32_t>>{{2, CONF_ANSWER_CANCEL}}));
}

TEST_F(ConfScreenTest, AMissingPictureFailsWithTheReadError) {
  StartApp();
  EXPECT_EQ(Ask(2, 0), nullptr) << "no CONF03_B";
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].find("OBJECT:CDIBConfScreen"), std::string::npos) << boxes[0];
  EXPECT_NE(boxes[0].find("FILE:CONF03_B"), std::string::npos) << boxes[0];

  EXPECT_EQ(Ask(5, 0), nullptr) << "no such message";
  EXPECT_EQ(Ask(-1, 0), nullptr);
  EXPECT_EQ(Current(), opener);
}

}  // namespace
