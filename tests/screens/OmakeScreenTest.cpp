// The extras screen through the whole program, driven by input scripts as a
// player drives it: pages and tabs, locked and unlocked thumbnails, the
// music room, the picture viewer and scene replays, and the return to the
// title with its music.
#include <gtest/gtest.h>

#include "OmakeTestKit.h"

namespace {

using namespace omaketest;

// The screen is open and drawn from this frame on.
constexpr int kOpen = 30;

TEST(OmakeScreen, PagesAndTabsShowTheEntriesOfTheCharacter) {
  TestDir game;
  MakeOmakeGame(game, "", false);
  std::string script = Click(40, 7) + Click(50, 18) + Click(60, 17) + "66 move 700 20\n";
  GameRun r = Play(game, "", script, 72, "--screenshot 70:" + game.File("a.png"));
  ASSERT_EQ(r.status, 0) << r.out;
  // Seventeen entries, sixteen a page: two pages, the first current.
  EXPECT_EQ(r.State(kOpen, "page"), "0/2") << r.out;
  EXPECT_EQ(r.State(kOpen, "sums"), "17");
  EXPECT_EQ(r.State(kOpen, "ctl").substr(6, 30), "dehhhhhhhhdeeeeee-------------") << "pages, then tabs";
  EXPECT_EQ(r.State(kOpen, "ctl").substr(36), std::string(16, 'e') + std::string(14, '-'))
      << "with every entry shown as unlocked, all sixteen can be chosen";
  // The second page shows the seventeenth entry alone.
  EXPECT_EQ(r.State(48, "page"), "1/2");
  EXPECT_EQ(r.State(48, "ctl").substr(6, 2), "ed");
  EXPECT_EQ(r.State(48, "ctl").substr(36, 16), "e" + std::string(15, 'h'));
  // A character without entries has no pages and no thumbnails.
  EXPECT_EQ(r.State(58, "char"), "2");
  EXPECT_EQ(r.State(58, "page"), "0/0");
  EXPECT_EQ(r.State(58, "ctl").substr(6, 10), std::string(10, 'h'));
  EXPECT_EQ(r.State(58, "ctl").substr(36, 16), std::string(16, 'h'));
  // Character 1: its own page picture, its tab disabled.
  EXPECT_EQ(r.State(68, "char"), "1");
  EXPECT_EQ(r.State(68, "ctl").substr(16, 3), "ede");
  std::vector<uint32_t> shot = Screenshot(game, "a.png");
  EXPECT_TRUE(Near(Pixel(shot, 225, 185), SumColor(2, 0))) << "thumbnail 0 from character 1's page picture";
  EXPECT_TRUE(Near(Pixel(shot, 365, 185), SumColor(2, 1)));
  EXPECT_TRUE(Near(Pixel(shot, 505, 185), kBackColor[0])) << "no third thumbnail";
  EXPECT_TRUE(Near(Pixel(shot, 35, 205), PartsColor(58))) << "tab 1 disabled: its fourth frame";
}

TEST(OmakeScreen, LockedEntriesLookLockedAndTheViewerGetsOnlyUnlockedPictures) {
  TestDir game;
  MakeOmakeGame(game, "DEF 5, 1500, 0\n", false);
  // Character 0: entry 1 seen; character 1: pictures 0 and 2 of entry 0.
  std::string ours = "--test-snr 10 --unlock-cg 0,1,0 --unlock-cg 1,0,0 --unlock-cg 1,0,2";
  std::string script = "32 move 700 20\n" + Click(40, 36) + Click(60, 17) + Click(70, 36) + Click(130, 0);
  GameRun r = Play(game, ours, script, 160, "--screenshot 34:" + game.File("a.png"));
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(r.State(kOpen, "ctl").substr(36, 4), "dedd") << r.out;
  std::vector<uint32_t> shot = Screenshot(game, "a.png");
  EXPECT_TRUE(Near(Pixel(shot, 225, 185), kLocked)) << "the locked look";
  EXPECT_TRUE(Near(Pixel(shot, 365, 185), SumColor(0, 1)));
  EXPECT_EQ(r.At("snr", 60), "") << "a locked thumbnail opens nothing";

  EXPECT_EQ(r.State(68, "ctl").substr(36, 2), "ed");
  std::string snr = r.At("snr", 120);
  EXPECT_EQ(GameRun::Field(snr, "scenario"), "CGVIEW") << r.out;
  EXPECT_EQ(GameRun::Field(snr, "pictures"), "CG_A1,CG_A3") << "the unseen second picture is left out";
  EXPECT_EQ(GameRun::Field(snr, "vars"), "2,1,0") << "count, character, entry";
  EXPECT_EQ(GameRun::Field(snr, "parent"), "omake");
  EXPECT_EQ(GameRun::Field(snr, "bgm"), "-") << "the room plays nothing";
  EXPECT_EQ(GameRun::Field(snr, "replay"), "1") << "the viewer's end comes back here";
  // Back from the viewer on the same character, then back to the title.
  EXPECT_EQ(r.State(128, "char"), "1");
  EXPECT_GT(r.First("returned"), 130) << "only the back button returns to the title: " << r.out;
}

TEST(OmakeScreen, WithEverythingShownAsUnlockedTheViewerGetsEveryPicture) {
  TestDir game;
  MakeOmakeGame(game, "DEF 5, 1400, \"VIEWER\", 7, 8, 9\n", false);
  GameRun r = Play(game, "--test-snr 100", Click(40, 17) + Click(50, 36), 80);
  ASSERT_EQ(r.status, 0) << r.out;
  std::string snr = r.At("snr", 80);
  EXPECT_EQ(GameRun::Field(snr, "scenario"), "VIEWER") << r.out;
  EXPECT_EQ(GameRun::Field(snr, "pictures"), "CG_A1,CG_A2,CG_A3");
  EXPECT_EQ(GameRun::Field(snr, "vars"), "0,0,0") << "the variables the table names, not 0..2";
}

TEST(OmakeScreen, TheMusicRoomWrapsBothWaysPlaysStopsAndTheTitleMusicComesBack) {
  TestDir game;
  MakeOmakeGame(game);
  std::string script = "32 move 700 20\n" + Click(40, 4) + Click(50, 4) + Click(60, 4) + Click(70, 1) +
                       "76 move 700 20\n" + Click(80, 2) + Click(90, 4) + Click(100, 3) + Key(110, "ESCAPE");
  std::string shots = "--screenshot 34:" + game.File("a.png") + " --screenshot 78:" + game.File("b.png");
  GameRun r = Play(game, "--bgm M01", script, 150, shots);
  ASSERT_EQ(r.status, 0) << r.out;
  // The title's music is not in the room's list: it stops.
  EXPECT_EQ(r.At("music", kOpen), "M01 play=0") << r.out;
  EXPECT_EQ(r.State(kOpen, "bgm"), "0/3");
  EXPECT_EQ(r.State(kOpen, "ctl").substr(1, 4), "eede") << "play enabled, stop disabled";
  EXPECT_EQ(r.State(48, "bgm"), "1/3");
  EXPECT_EQ(r.State(58, "bgm"), "2/3");
  EXPECT_EQ(r.State(68, "bgm"), "0/3") << "next on the last wraps to the first";
  EXPECT_EQ(r.State(78, "bgm"), "2/3") << "previous on the first wraps to the last";
  EXPECT_EQ(r.State(78, "play"), "0");
  EXPECT_TRUE(Near(Pixel(Screenshot(game, "a.png"), 510, 60), kPlateColor[0]));
  EXPECT_TRUE(Near(Pixel(Screenshot(game, "b.png"), 510, 60), kPlateColor[2])) << "the plate of the piece";
  EXPECT_EQ(r.At("music", 78), "M04 play=0") << "the piece is selected at once, silent";
  // Play, then next while playing, then stop.
  EXPECT_EQ(r.State(88, "play"), "1");
  EXPECT_EQ(r.State(88, "ctl").substr(1, 4), "edee");
  EXPECT_EQ(r.At("music", 88), "M04 play=1");
  EXPECT_EQ(r.At("music", 98), "M02 play=1") << "next plays the next piece";
  EXPECT_EQ(r.State(108, "play"), "0");
  EXPECT_EQ(r.State(108, "ctl").substr(1, 4), "eede");
  EXPECT_EQ(r.At("music", 108), "M02 play=0");
  // Escape returns, and the title music starts again.
  ASSERT_GT(r.First("returned"), 110) << r.out;
  EXPECT_EQ(r.At("music", 150), "M01 play=1") << r.out;
}

TEST(OmakeScreen, MusicOfTheListThatPlaysGoesOnAndIsNotRestartedOnReturn) {
  TestDir game;
  MakeOmakeGame(game);
  GameRun r = Play(game, "--bgm M03", Click(40, 0), 80);
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(r.State(kOpen, "bgm"), "1/3") << r.out;
  EXPECT_EQ(r.State(kOpen, "play"), "1");
  EXPECT_EQ(r.State(kOpen, "ctl").substr(1, 4), "edee") << "play disabled, stop enabled";
  ASSERT_GT(r.First("returned"), 40) << r.out;
  EXPECT_FALSE(r.Has("play=0")) << "the music never stopped: " << r.out;

  // Selected but silent: the room counts as stopped, so play can start it.
  GameRun silent = Play(game, "--bgm M03 --bgm-silent", Click(40, 2), 60);
  EXPECT_EQ(silent.State(kOpen, "bgm"), "1/3") << silent.out;
  EXPECT_EQ(silent.State(kOpen, "play"), "0");
  EXPECT_EQ(silent.State(kOpen, "ctl").substr(1, 4), "eede");
  EXPECT_EQ(silent.At("music", 60), "M03 play=1");
}

TEST(OmakeScreen, AReplayStartsTheSceneStopsTheMusicAndComesBackToItsMode) {
  TestDir game;
  MakeOmakeGame(game);
  std::string script = Click(40, 5) + "46 move 700 20\n" + Click(60, 37);
  GameRun r = Play(game, "--bgm M03 --test-snr 10", script, 200, "--screenshot 50:" + game.File("a.png"));
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(r.State(48, "mode"), "1") << r.out;
  EXPECT_EQ(r.State(48, "sums"), "3");
  EXPECT_EQ(r.State(48, "ctl").substr(36, 4), "eeeh");
  std::vector<uint32_t> shot = Screenshot(game, "a.png");
  EXPECT_TRUE(Near(Pixel(shot, 700, 500), kBackColor[1])) << "the scenes' background";
  EXPECT_TRUE(Near(Pixel(shot, 35, 495), PartsColor(20))) << "the mode switch in the scenes' look";
  EXPECT_TRUE(Near(Pixel(shot, 225, 185), SumColor(0, 0)));

  std::string snr = r.At("snr", 200);
  EXPECT_EQ(GameRun::Field(snr, "scenario"), "S_B") << r.out;
  EXPECT_EQ(GameRun::Field(snr, "bgm"), "M03") << "the room's music to come back to";
  EXPECT_EQ(GameRun::Field(snr, "replay"), "1");
  EXPECT_EQ(GameRun::Field(snr, "parent"), "omake");
  // The music stops for the replay and plays again after it.
  const long long shown = r.First("snr");
  EXPECT_EQ(r.At("music", shown), "M03 play=0") << r.out;
  EXPECT_EQ(r.At("music", 200), "M03 play=1") << r.out;
  EXPECT_EQ(r.State(200, "mode"), "1") << r.out;
  EXPECT_EQ(r.First("returned"), -1) << "still on the extras screen";
}

TEST(OmakeScreen, MissingPicturesFailWithTheirNameAndADamagedTableFallsBack) {
  TestDir game;
  MakeOmakeGame(game, "", false);
  const std::string back = game.Read("MGD/CG_B.MGD");
  std::remove(game.File("MGD/CG_B.MGD").c_str());
  GameRun noBack = Play(game, "", "", 30);
  EXPECT_TRUE(noBack.Has("no extras screen")) << noBack.out;
  EXPECT_TRUE(noBack.Has("CG_B")) << "the box names the picture: " << noBack.out;

  game.Write("MGD/CG_B.MGD", back);
  std::remove(game.File("MGD/THUMB0_0.MGD").c_str());
  GameRun noThumb = Play(game, "", "", 30);
  EXPECT_TRUE(noThumb.Has("no extras screen")) << noThumb.out;
  EXPECT_TRUE(noThumb.Has("THUMB0_0")) << noThumb.out;

  // A mode whose background is missing: named, and the gallery stays.
  std::remove(game.File("MGD/SCENE_B.MGD").c_str());
  game.Write("MGD/THUMB0_0.MGD", Picture(800, 560, {{0, 0, 100, 80, 0, 0}}, {kLocked}));
  GameRun noScenes = Play(game, "", Click(40, 5), 60);
  EXPECT_EQ(noScenes.State(kOpen, "mode"), "0") << noScenes.out;
  EXPECT_TRUE(noScenes.Has("SCENE_B")) << noScenes.out;
  EXPECT_EQ(noScenes.State(60, "mode"), "0");
  EXPECT_EQ(noScenes.State(60, "ctl").substr(36, 16), std::string(16, 'e')) << "the gallery's thumbnails are back";

  // A table that is not a table: the built-in layout and music list.
  game.Write("MSD/OMAKE.MSD", std::string(300, '\x5A'));
  GameRun damaged = Play(game, "", "", 30);
  EXPECT_EQ(damaged.State(kOpen, "bgm"), "0/10") << damaged.out;
  EXPECT_EQ(damaged.State(kOpen, "sums"), "17");
  EXPECT_EQ(damaged.State(kOpen, "ctl").substr(36, 16), std::string(16, 'e'))
      << "without page pictures the thumbnails use the parts picture";
}

TEST(OmakeScreen, TheSameInputGivesTheSamePictures) {
  TestDir game;
  MakeOmakeGame(game, "", false);
  std::string script = Click(40, 7) + Click(50, 5) + Click(60, 4);
  GameRun a = Play(game, "", script, 70, "--screenshot 68:" + game.File("a.png"));
  GameRun b = Play(game, "", script, 70, "--screenshot 68:" + game.File("b.png"));
  EXPECT_EQ(a.out, b.out);
  EXPECT_EQ(game.Read("a.png"), game.Read("b.png"));
}

}  // namespace
