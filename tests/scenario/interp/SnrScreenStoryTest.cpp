// Whole stories: one with messages, name plates, voices, both kinds of
// choice, save points and a confirmation plays the same from --start under
// an input script on every run; a movie plays between two commands; the
// confirmation screen answers the window's exit button; and the end of a
// story goes to the title or back from a replay with its music change.
#include <algorithm>
#include <string>

#include "RunCommand.h"
#include "SnrScreenFixture.h"
#include "app/flow/BGMChangeParam.h"
#include "audio/BGMBuffer.h"
#include "save/SaveData.h"
#include "screens/DIBConfScreen.h"
#include "screens/DIBMovieScreen.h"
#include "scene/DIBOverlap.h"
#include "ui/EffectParam.h"
#include "video/MovieTestKit.h"

namespace {

using namespace snrtest;

void WriteConfData(const TestDir& game) {
  game.Write("MGD/CONF_P.MGD", screenkit::FramesPicture(11, 100, 40, 0x602040u));
  game.Write("MGD/CONF01_B.MGD", screenkit::BoxPicture(200, 200, 400, 160, 0xFFE0E0E0u));
  game.Write("DATA/CONF_C.BMP", screenkit::HitMapFile({{240, 280, 100, 40, 0}, {420, 280, 100, 40, 1}}));
}

TEST_F(SnrScreenTest, AStoryPlaysTheSameFromStartUnderAnInputScript) {
  Picture("BG01", 800, 600, 0xFF204060u);
  Sound("VOICE", "V0001", 600);
  WriteConfData(game);
  Scenario("STORY", SelItems() +
                        "IMREAD 0, \"BG01\"\nLYIMAGE 0, 0\nOVERLAP 1, 0\nLPT 0\nMWO\n"
                        "MESVPLAY 0, \"V0001\"\nMSG 0, 1, \"\", \"The first line.\"\nMESVSTOP\n"
                        "SELECT 10, \"\", 3, 0, 1, 2\nLPT 1\n"
                        "SELMAKE 0, 1, 100, 150, 0, 1, 2, 3, 4\nSELMAKE 1, 1, 100, 250, 0, 1, 2, 3, 4\n"
                        "SELRUN 11, 2, \"SELP\", \"\"\n"
                        "MSG 1, 2, \"\", \"The last line.\"\nEND\n");
  const std::string script = Click(40, kTextX, kTextY) + Click(70, 400, 220) + Click(110, 150, 260) +
                             Click(130, BtnX(MESBTN_EXIT), BtnY(MESBTN_EXIT)) + Key(150, "ESCAPE") +
                             Click(180, kTextX, kTextY);
  game.Write("story.input", script);
  const std::string program = std::string(VELTO_BINARY_DIR) + "/src/app/veltogame --headless --fixed-step --game " +
                              game.path() + " --start STORY --input " + game.File("story.input") + " --frames 400";
  std::string out;
  for (const char* run : {"a", "b"}) {
    std::string shots;
    for (int f : {39, 100, 140, 175})
      shots += " --screenshot " + std::to_string(f) + ":" + game.File(run + std::to_string(f) + ".png");
    EXPECT_EQ(RunCommand(program + shots + " 2>&1", &out), 0);
    EXPECT_TRUE(out.empty()) << out;
  }
  for (int f : {39, 100, 140, 175}) {
    const std::string a = game.Read("a" + std::to_string(f) + ".png");
    EXPECT_FALSE(a.empty()) << f << ": the story ended early";
    EXPECT_TRUE(a == game.Read("b" + std::to_string(f) + ".png")) << f;
  }
  // The same story in this process, to read the choices.
  Start("STORY", script);
  FramesUntil([&] { return Var(11) != 0 || Closed(); }, 400);
  EXPECT_EQ(Var(10), 1);
  EXPECT_EQ(Var(11), 1);
  FramesUntil([&] { return Closed(); }, 400);
  EXPECT_TRUE(Closed()) << "END without a title screen ends the program";
}

TEST_F(SnrScreenTest, AMoviePlaysBetweenTwoCommands) {
  ASSERT_EQ(movietest::MakeMovie(game, "DATA/OP.MPG", 320, 240, 3, 3), 0);
  Scenario("S", std::string("MOV $1, 1\nMOVIE \"OP.MPG\", \"\", 1\nMOV $1, 2\n") + kIdle);
  Start("S");
  FramesUntil([&] { return dynamic_cast<CDIBMovieScreen*>(app->mpRootFlow->GetScreen()) != nullptr; }, 200);
  ASSERT_NE(dynamic_cast<CDIBMovieScreen*>(app->mpRootFlow->GetScreen()), nullptr);
  EXPECT_EQ(Var(1), 1);
  FramesUntil([&] { return Var(1) == 2; }, 400);
  EXPECT_EQ(Var(1), 2);
  EXPECT_NE(Snr(), nullptr);
}

TEST_F(SnrScreenTest, TheConfirmationAnswersTheWindowsExitButton) {
  WriteConfData(game);
  Scenario("S", std::string("MWO\nMSG 0, -1, \"\", \"Hello\"\n") + kIdle);
  const std::string exit = Click(40, BtnX(MESBTN_EXIT), BtnY(MESBTN_EXIT));
  // The pointer leaves the button in between, so that it takes the focus again.
  Start("S", exit + Key(60, "ESCAPE") + "80 move 400 100\n" + Click(100, BtnX(MESBTN_EXIT), BtnY(MESBTN_EXIT)) +
                 Click(120, 290, 300));
  FramesUntil([&] { return dynamic_cast<CDIBConfScreen*>(app->mpRootFlow->GetScreen()) != nullptr; }, 60);
  ASSERT_NE(dynamic_cast<CDIBConfScreen*>(app->mpRootFlow->GetScreen()), nullptr);
  rec->sysSE.clear();
  FramesUntil([&] { return Snr() != nullptr && !app->mpRootFlow->IsChanging(); }, 40);
  EXPECT_LE(FrameNo(), 90) << "Escape declines";
  EXPECT_NE(std::find(rec->sysSE.begin(), rec->sysSE.end(), SYSSE_CANCEL), rec->sysSE.end()) << "the cancel sound";
  FramesUntil([&] { return Closed(); }, 100);
  EXPECT_TRUE(Closed()) << "OK ends the program";
}

TEST_F(SnrScreenTest, TheEndGoesToTheTitleOrBackFromAReplay) {
  static TitleStartBlock titleBlock;
  static CDIBBaseScreen* title = nullptr;
  RegisterScreen(SCREEN_TITLE, [](CBaseGame*, const void* block) -> CDIBBaseScreen* {
    titleBlock = *static_cast<const TitleStartBlock*>(block);
    return title = new CPlainScreen(0xFF808080u);
  });
  Sound("BGM", "M01", 4000);
  Sound("BGM", "M02", 4000);
  Scenario("S", "BGMLIST 0, \"M02\"\nBGMPLAY 0, 0, 1, 0\nEND\n");
  SetStartScreenFactory([] {
    SnrStartBlock block{};
    snprintf(block.szScenario, sizeof block.szScenario, "S");
    snprintf(block.szReturnBGM, sizeof block.szReturnBGM, "M01");
    return CDIBSnrScreen::Make(nullptr, &block);
  });
  Start("");
  FramesUntil([&] { return title && app->mpRootFlow->GetScreen() == title; }, 200);
  ASSERT_EQ(app->mpRootFlow->GetScreen(), title);
  EXPECT_EQ(titleBlock.bAfterGame, 1);
  FramesUntil([&] { return app->mpBGMBuffer->CheckPlaying("M01"); }, 100);
  EXPECT_TRUE(app->mpBGMBuffer->CheckPlaying("M01")) << "the return music follows";
  Stop();

  // A replay opened over another screen returns to it; without return music
  // the story's music stops.
  static CDIBBaseScreen* opener = nullptr;
  SetStartScreenFactory([] { return opener = new CPlainScreen(0xFF202020u); });
  Start("");
  Frames(5);
  app->mpSaveData->mbReplay = true;
  SnrStartBlock block{};
  snprintf(block.szScenario, sizeof block.szScenario, "S");
  CDIBBaseScreen* replay = CreateScreen(SCREEN_SNR, opener, &block);
  ASSERT_NE(replay, nullptr);
  EffectParam fade;
  EffectParamWriter(&fade, EFFECT_FADE).Int(100);
  app->mpRootFlow->ChangeScreen(&fade, nullptr, nullptr, replay, true);
  FramesUntil([&] { return app->mpRootFlow->GetScreen() == replay; }, 50);
  FramesUntil([&] { return app->mpRootFlow->GetScreen() == opener && !app->mpRootFlow->IsChanging(); }, 200);
  EXPECT_EQ(app->mpRootFlow->GetScreen(), opener);
  EXPECT_FALSE(app->mpBGMBuffer->mbPlay);
  EXPECT_TRUE(boxes.empty());
}

}  // namespace
