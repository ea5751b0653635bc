// The extras screen with the game's own scenario screen behind its
// thumbnails: the picture viewer shows the unlocked pictures and comes back
// to the extras screen, a scene replays and its end comes back to the same
// mode and page, neither offers saving, and the room's music falls silent
// for a replay and comes back after it.
#include <gtest/gtest.h>

#include "OmakeTestKit.h"
#include "text/MesWndKit.h"

namespace {

using namespace omaketest;

constexpr uint32_t kViewA1 = 0xFFC03020u, kViewA3 = 0xFF20C030u, kSceneBack = 0xFF6040A0u;
// Where a click lands on the message text, away from the window's buttons.
constexpr int kTextX = 300, kTextY = 520;

std::string TextClick(int frame) {
  return std::to_string(frame - 2) + " move " + std::to_string(kTextX) + " " + std::to_string(kTextY) + "\n" +
         std::to_string(frame) + " down LBUTTON\n" + std::to_string(frame + 2) + " up LBUTTON\n";
}

// The extras game with the message window's data, the viewer scenario
// (each picture slot it was handed, one message each) and a scene of
// character 0.
void MakeReplayGame(const TestDir& game, const std::string& table = "") {
  MakeOmakeGame(game, table);
  mestest::WriteWindowData(game);
  game.Write("MGD/CG_A1.MGD", Picture(800, 600, {{0, 0, 800, 600, 0, 0}}, {kViewA1}));
  game.Write("MGD/CG_A3.MGD", Picture(800, 600, {{0, 0, 800, 600, 0, 0}}, {kViewA3}));
  game.Write("MGD/SCENEBG.MGD", Picture(800, 600, {{0, 0, 800, 600, 0, 0}}, {kSceneBack}));
  game.Write("MSD/CGVIEW.MSD", Table("LYIMAGE 0, 0\nOVERLAP 1, 0\nMWO\nMSG 0, -1, \"\", \"one\"\n"
                                     "LYIMAGE 0, 1\nOVERLAP 1, 0\nMSG 1, -1, \"\", \"two\"\nEND\n",
                                     "CGVIEW"));
  game.Write("MSD/S_B.MSD", Table("IMREAD 5, \"SCENEBG\"\nLYIMAGE 0, 5\nOVERLAP 1, 0\nMWO\n"
                                  "MSG 2, -1, \"\", \"scene\"\nEND\n",
                                  "S_B"));
}

TEST(OmakeReplay, TheViewerShowsTheUnlockedPicturesAndComesBackToTheExtras) {
  TestDir game;
  MakeReplayGame(game, "DEF 5, 1500, 0\n");
  // Character 1's first entry, its first and third pictures seen; then two
  // clicks through the viewer.
  std::string ours = "--real-snr --unlock-cg 1,0,0 --unlock-cg 1,0,2";
  std::string script = "32 move 700 20\n" + Click(40, 17) + Click(50, 36) + TextClick(150) + TextClick(200);
  std::string shots = "--screenshot 140:" + game.File("one.png") + " --screenshot 190:" + game.File("two.png") +
                      " --screenshot 290:" + game.File("back.png");
  GameRun r = Play(game, ours + " --bgm M03", script, 300, shots + " --audio-out " + game.File("a.wav"));
  ASSERT_EQ(r.status, 0) << r.out;
  std::string snr = r.At("snr", 300);
  ASSERT_NE(snr, "") << r.out;
  EXPECT_EQ(GameRun::Field(snr, "scenario"), "CGVIEW");
  EXPECT_EQ(GameRun::Field(snr, "pictures"), "CG_A1,CG_A3") << "the unseen second picture is left out";
  EXPECT_EQ(GameRun::Field(snr, "saves"), "dddd") << "nothing to save or load inside the viewer";
  EXPECT_TRUE(Near(Pixel(Screenshot(game, "one.png"), 100, 100), kViewA1)) << r.out;
  EXPECT_TRUE(Near(Pixel(Screenshot(game, "two.png"), 100, 100), kViewA3)) << r.out;
  EXPECT_GT(r.First("snrgone"), 200) << r.out;
  EXPECT_EQ(r.First("returned"), -1) << "the viewer's end comes back to the extras, not the title";
  EXPECT_EQ(r.State(300, "char"), "1");
  EXPECT_TRUE(Near(Pixel(Screenshot(game, "back.png"), 700, 500), kBackColor[0]));
  // The room's music plays on: the viewer neither stops nor restarts it.
  EXPECT_EQ(GameRun::Field(snr, "bgm"), "M03");
  EXPECT_FALSE(r.Has("play=0")) << r.out;
  for (int f = 10; f < 300; f += 10) EXPECT_GT(Loudest(game, "a.wav", f, f + 10), 1000) << "frames " << f;
}

TEST(OmakeReplay, ASceneReplaysInSilenceAndEndsOnTheSameModeAndPageWithTheRoomMusic) {
  TestDir game;
  // Two scenes a page: character 0's three scenes take two pages.
  MakeReplayGame(game, "DEF 5, 1101, 2\n");
  game.Write("MSD/S_C.MSD", Table("IMREAD 5, \"SCENEBG\"\nLYIMAGE 0, 5\nOVERLAP 1, 0\nMWO\n"
                                  "MSG 2, -1, \"\", \"scene\"\nEND\n",
                                  "S_C"));
  // Scenes, page 1, its one scene; a click ends it.
  std::string script = Click(40, 5) + Click(50, 7) + "56 move 700 20\n" + Click(70, 36) + TextClick(250);
  std::string shots = "--screenshot 240:" + game.File("scene.png") + " --audio-out " + game.File("a.wav");
  GameRun r = Play(game, "--real-snr --bgm M03", script, 400, shots);
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(r.State(60, "mode"), "1") << r.out;
  EXPECT_EQ(r.State(60, "page"), "1/2");
  std::string snr = r.At("snr", 400);
  ASSERT_NE(snr, "") << r.out;
  EXPECT_EQ(GameRun::Field(snr, "scenario"), "S_C");
  EXPECT_EQ(GameRun::Field(snr, "bgm"), "M03") << "the room's music to come back to";
  EXPECT_EQ(GameRun::Field(snr, "replay"), "1");
  EXPECT_EQ(GameRun::Field(snr, "saves"), "dddd") << "a replay is not a game to save";
  EXPECT_TRUE(Near(Pixel(Screenshot(game, "scene.png"), 100, 100), kSceneBack)) << "the scene plays";

  // The room's music plays, fades out on the way to the scene, is silent
  // all through it, and comes back when the scene ends.
  const long long shown = r.First("snr");
  EXPECT_GT(Loudest(game, "a.wav", 0, 70), 1000);
  EXPECT_EQ(Loudest(game, "a.wav", shown, 250), 0) << r.out;
  EXPECT_GT(Loudest(game, "a.wav", 350, 400), 1000);
  EXPECT_EQ(r.At("music", 400), "M03 play=1");

  EXPECT_GT(r.First("snrgone"), 250);
  EXPECT_EQ(r.First("returned"), -1) << "a replay's end comes back to the extras, not the title";
  EXPECT_EQ(r.State(400, "mode"), "1") << r.out;
  EXPECT_EQ(r.State(400, "page"), "1/2");
  EXPECT_EQ(r.State(400, "ctl").substr(6, 2), "ed") << "page 1 current";
  EXPECT_EQ(r.State(400, "ctl").substr(36, 2), "eh") << "its one scene";
}

}  // namespace
