// The program run as a player or a script would run it: headless, fixed
// step, with input scripts and screenshots.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "AppFixture.h"
#include "RunCommand.h"
#include "TestDir.h"

namespace {

std::string Program() { return std::string(VELTO_BINARY_DIR) + "/src/app/veltogame"; }

void MakeGame(const TestDir& dir) { MakeGameFolders(dir); }

int RunProgram(const std::string& args, std::string* output = nullptr) {
  return RunCommand(Program() + " " + args + " 2>&1", output);
}

TEST(HeadlessRun, WritesScreenshotsAndTheIniAndIsReproducible) {
  TestDir game;
  MakeGame(game);
  game.Write("in.txt", "1 move 100 100\n3 down LBUTTON\n4 up LBUTTON\n5 wheel -120\n6 char x\n");
  std::string common = "--headless --fixed-step --frames 30 --game " + game.path() + " --input " +
                       game.File("in.txt");
  ASSERT_EQ(RunProgram(common + " --screenshot 10:" + game.File("a.png") + " --screenshot 30:" + game.File("c.png")), 0);
  ASSERT_EQ(RunProgram(common + " --screenshot 10:" + game.File("b.png")), 0);
  std::string a = game.Read("a.png");
  ASSERT_GT(a.size(), 24u);
  EXPECT_EQ(a.substr(1, 3), "PNG");
  // Width and height in the header: 800 × 600.
  EXPECT_EQ(a.substr(16, 8), std::string("\0\0\x03\x20\0\0\x02\x58", 8));
  EXPECT_EQ(a, game.Read("b.png"));
  EXPECT_TRUE(game.Exists("c.png"));
  EXPECT_NE(game.Read("Novel.ini").find("FrameSpeed=1"), std::string::npos);
}

TEST(HeadlessRun, AMalformedInputScriptStopsBeforeTheRun) {
  TestDir game;
  MakeGame(game);
  game.Write("in.txt", "1 move 1 1\n2 down NOSUCHKEY\n");
  std::string out;
  EXPECT_NE(RunProgram("--headless --fixed-step --frames 5 --game " + game.path() + " --input " + game.File("in.txt"), &out),
            0);
  EXPECT_NE(out.find("in.txt:2: unknown key 'NOSUCHKEY'"), std::string::npos) << out;
  EXPECT_FALSE(game.Exists("Novel.ini")) << "the run never started";
}

TEST(HeadlessRun, RecordsTheInputItWasGiven) {
  TestDir game;
  MakeGame(game);
  game.Write("in.txt", "2 wheel 120\n3 char q\n");
  ASSERT_EQ(RunProgram("--headless --fixed-step --frames 5 --game " + game.path() + " --input " + game.File("in.txt") +
                " --record " + game.File("rec.txt")),
            0);
  // Replayed events are the script's, not the player's: nothing is recorded.
  std::string rec = game.Read("rec.txt");
  EXPECT_EQ(rec.find("wheel"), std::string::npos) << rec;
}

TEST(HeadlessRun, AMissingFileSourceIsNamedAndStartFails) {
  TestDir game;
  MakeGame(game);
  std::filesystem::remove_all(game.File("BGM"));
  std::string out;
  EXPECT_EQ(RunProgram("--headless --fixed-step --frames 3 --game " + game.path(), &out), 255);
  EXPECT_NE(out.find("MainWindow:FileJoin\n連結ファイル BGM を読み込めません。"), std::string::npos) << out;
}

TEST(HeadlessRun, ConfigurationSaveIsWrittenAtShutdownAndReadBackTheSame) {
  TestDir game;
  MakeGame(game);
  std::string run = "--headless --fixed-step --frames 3 --game " + game.path();
  ASSERT_EQ(RunProgram(run), 0);
  std::string first = game.Read("SAVE/CONFIG.SAV");
  ASSERT_FALSE(first.empty());
  ASSERT_EQ(RunProgram(run), 0);
  EXPECT_EQ(game.Read("SAVE/CONFIG.SAV"), first);
}

TEST(HeadlessRun, AudioOutWritesTheMixOfEveryFrame) {
  TestDir game;
  MakeGame(game);
  ASSERT_EQ(RunProgram("--headless --fixed-step --frames 100 --audio-out " + game.File("out.wav") + " --game " +
                       game.path()),
            0);
  std::string wav = game.Read("out.wav");
  ASSERT_GE(wav.size(), 44u);
  EXPECT_EQ(wav.substr(0, 4), "RIFF");
  EXPECT_EQ(wav.substr(8, 4), "WAVE");
  // 100 frames of 30 ms at 44100 Hz, 16-bit stereo: 3 s of sound, silent
  // since nothing plays.
  size_t data = wav.size() - 44;
  EXPECT_EQ(data, 3u * 44100 * 4);
  EXPECT_EQ(wav.find_first_not_of('\0', 44), std::string::npos);
}

TEST(HeadlessRun, FilesThatCannotBeWrittenAreReportedNotFatal) {
  // Even as root these cannot be written: a folder where Novel.ini goes and
  // a file where the SAVE folder goes.
  TestDir game;
  MakeGame(game);
  game.Write("Novel.ini/keep", "");
  game.Write("SAVE", "not a folder");
  std::string out;
  EXPECT_EQ(RunProgram("--headless --fixed-step --frames 3 --game " + game.path(), &out), 0) << out;
  EXPECT_NE(out.find("Novel.ini"), std::string::npos) << out;
  EXPECT_NE(out.find("CONFIG.SAV"), std::string::npos) << out;
  EXPECT_EQ(game.Read("SAVE"), "not a folder");
}

TEST(HeadlessRun, StartsOnArchiveSourcesOfEachKind) {
  TestDir game;
  TestDir loose;
  MakeGameFolders(loose);  // START.MSD to pack
  loose.Write("CURSOR.DAT", "x");
  loose.Write("A.MGD", "x");
  loose.Write("A.OGG", "x");
  std::string tool = std::string(VELTO_BINARY_DIR) + "/tools/velto-tool arc create --kind ";
  struct Source {
    const char* name;
    const char* kind;
    std::string file;
  } sources[] = {
      {"DATA", "fjsys", loose.File("CURSOR.DAT")}, {"MGD", "sm2mpx10", loose.File("A.MGD")},
      {"MSD", "mgcfile", loose.File("MSD/START.MSD")}, {"SE", "fjsys", loose.File("A.OGG")},
      {"BGM", "sm2mpx10", loose.File("A.OGG")},        {"VOICE", "mgcfile", loose.File("A.OGG")},
  };
  for (const auto& s : sources)
    ASSERT_EQ(RunCommand(tool + s.kind + " " + game.File(s.name) + " " + s.file), 0) << s.name;
  std::string out;
  EXPECT_EQ(RunProgram("--headless --fixed-step --frames 3 --game " + game.path(), &out), 0) << out;
  EXPECT_EQ(out.find("FileJoin"), std::string::npos) << out;
  EXPECT_EQ(out.find(plat::ToUtf8(plat::LocalText("データを読み込めませんでした。"))), std::string::npos) << out;
  EXPECT_TRUE(game.Exists("Novel.ini"));
}

TEST(HeadlessRun, CommandLineErrorsAndHelp) {
  std::string out;
  EXPECT_EQ(RunProgram("--help", &out), 0);
  EXPECT_NE(out.find("--headless"), std::string::npos);
  EXPECT_EQ(RunProgram("--version", &out), 0);
  EXPECT_NE(out.find("veltogame"), std::string::npos);
  EXPECT_EQ(RunProgram("--frames many", &out), 2);
  EXPECT_EQ(RunProgram("--screenshot nocolon.png", &out), 2);
  EXPECT_EQ(RunProgram("--bogus", &out), 2);
}

TEST(HeadlessRun, UnwritableGameFolderDoesNotCrash) {
  TestDir game;
  MakeGame(game);
  std::string folder = game.File("ro/");
  MakeGameFolders(game, "ro/");
  ASSERT_EQ(system(("chmod 555 " + folder).c_str()), 0);
  std::string out;
  int code = RunProgram("--headless --fixed-step --frames 3 --game " + folder, &out);
  system(("chmod 755 " + folder).c_str());
  EXPECT_EQ(code, 0) << out;
}

// A long installation path is held whole or refused; a cut one would name
// another file (at 255 bytes "Novel.ini" became a stray "Nove").
TEST(HeadlessRun, LongInstallationPathsAreHeldWholeOrRefused) {
  TestDir top;
  std::string rel;
  while (top.path().size() + rel.size() < 300) rel += std::string(60, 'd') + "/";
  MakeGameFolders(top, rel);
  top.Write(rel + "Novel.ini", "[System]\nNoneEffect=1\n");
  const std::string dir = top.File(rel);
  ASSERT_GT(dir.size(), 300u);
  ASSERT_EQ(RunProgram("--headless --fixed-step --frames 3 --game " + dir), 0);
  std::string ini = top.Read(rel + "Novel.ini");
  EXPECT_NE(ini.find("NoneEffect=1"), std::string::npos) << "the player's settings were read and kept";
  EXPECT_NE(ini.find("FrameSpeed=1"), std::string::npos) << "and written back to the same file";
  for (const auto& e : std::filesystem::directory_iterator(dir))
    EXPECT_FALSE(e.path().filename().string().rfind("Nove", 0) == 0 && e.path().filename() != "Novel.ini") << e.path();

  std::string out;
  std::string tooLong = "/tmp/" + std::string(5000, 'x') + "/";
  EXPECT_EQ(RunProgram("--headless --fixed-step --frames 3 --game " + tooLong, &out), 255);
  EXPECT_NE(out.find("path is too long"), std::string::npos) << out;
}

}  // namespace
