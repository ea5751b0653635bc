// The program itself, as a game maker runs one scene: veltogame --headless
// --fixed-step --start NAME --frames N. A story of pictures, transitions,
// camera moves, actions, music, voices and effects with variables and
// branches gives the same picture and sound on every run; a story that
// loops without waiting still ends with --frames; errors close cleanly.
#include <string>

#include "InterpFixture.h"
#include "RunCommand.h"
#include "text/MesWndKit.h"

namespace {

std::string Program() { return std::string(VELTO_BINARY_DIR) + "/src/app/veltogame"; }

class InterpRun : public InterpTest {
 protected:
  // The program's scenario screen owns a message window: its pictures.
  void SetUp() override {
    InterpTest::SetUp();
    mestest::WriteWindowData(game);
  }
  int RunProgram(const std::string& args, std::string* out = nullptr) {
    return RunCommand(Program() + " --headless --fixed-step --game " + game.path() + " " + args + " 2>&1", out);
  }
};

const char kStory[] =
    "BGMLIST 0, \"BGM01\"\nVOICELIST 0, \"V\"\n"
    "SEREAD 1, \"SE01\"\n"
    "BGMPLAY 0, 0, 1, 300\n"
    "IMREAD 0, \"BG01\"\nLYIMAGE 0, 0\nLYBLEND 0, 0\n"
    "LYIMAGE 1, \"CH01\"\nLYPOS 1, 300, 200, 0\nLYCOLOR 1, 200, 255, 255, 255\n"
    "OVERLAP 1, 200\n"
    "VOICEPLAY 0, 27, 0\n"
    "RANDOM $1, 1, 3\n"
    "ONJP ($1 - 1), *one, *two, *three\n"
    "*one:\nMOV $2, 100\nJP *next\n"
    "*two:\nMOV $2, 200\nJP *next\n"
    "*three:\nMOV $2, 300\n"
    "*next:\n"
    "ACTMAKE 0, 0, 600, 0, 0\nLYACTION 1, 0\nLYIMAGE 0, \"BG01\"\nLYBLEND 0, 0\nLYIMAGE 1, \"CH01\"\n"
    "LYPOS 1, ($2 + 100), 200, 0\n"
    "OVERLAP 1, 300\n"
    "ACTPLAY 0\n"
    "SEPLAY 1, 0, 0, 0\n"
    "CAMMOVE 0, 400, 400, 300, -1000, 0, 450, 320, -1000, 0\n"
    "MOV $1500, ($2 + $1)\n"
    "*loop:\nATIMES 500\nAWAIT 1, $10, $11, $12, $13, $14\nIF $10, \"=\", 0, *loop\nEND\n";

TEST_F(InterpRun, AStoryRunsTheSameOnEveryRunAndItsGlobalsAreSaved) {
  Picture("BG01", 800, 600, 0xFF204060u);
  Picture("CH01", 200, 300, 0xFFE0A040u);
  Sound("BGM", "BGM01", 2000);
  Sound("VOICE", "V0027", 700);
  Sound("SE", "SE01", 300);
  Scenario("STORY", kStory);
  std::string out;
  std::string args = "--start STORY --frames 120 --screenshot 60:" + game.File("a60.png") + " --screenshot 65:" +
                     game.File("a65.png") + " --audio-out " + game.File("a.wav");
  ASSERT_EQ(RunProgram(args), 0);
  args = "--start STORY --frames 120 --screenshot 60:" + game.File("b60.png") + " --screenshot 65:" +
         game.File("b65.png") + " --audio-out " + game.File("b.wav");
  ASSERT_EQ(RunProgram(args, &out), 0);
  EXPECT_TRUE(out.empty()) << out;  // no error box
  ASSERT_FALSE(game.Read("a65.png").empty());
  EXPECT_TRUE(game.Read("a60.png") == game.Read("b60.png"));
  EXPECT_TRUE(game.Read("a65.png") == game.Read("b65.png"));
  EXPECT_TRUE(game.Read("a60.png") != game.Read("a65.png")) << "the action has turned the picture a quarter";
  EXPECT_GT(game.Read("a.wav").size(), 100000u);
  EXPECT_TRUE(game.Read("a.wav") == game.Read("b.wav"));

  // A click ends the story: its global variable reaches the configuration save.
  game.Write("click.txt", "150 move 400 300\n150 down LBUTTON\n151 up LBUTTON\n");
  ASSERT_EQ(RunProgram("--start STORY --frames 400 --input " + game.File("click.txt"), &out), 0) << out;
  auto* save = new CSaveData;
  ASSERT_TRUE(save->LoadConfig());
  // The first draw after seed 1 is 41: 1 + 41 % 3, the third branch.
  EXPECT_EQ(save->mVariable[1500], 300 + 3);
  delete save;
}

TEST_F(InterpRun, ALoopWithoutAWaitStillEndsTheRun) {
  Scenario("LOOP", "*a:\nMOV $1, ($1 + 1)\nJP *a\n");
  std::string out;
  EXPECT_EQ(RunProgram("--start LOOP --frames 10 --screenshot 10:" + game.File("l.png"), &out), 0) << out;
  EXPECT_TRUE(game.Exists("l.png"));
  EXPECT_TRUE(game.Exists("Novel.ini"));
}

TEST_F(InterpRun, ErrorsAreShownAndTheProgramClosesAsAtAnyExit) {
  Scenario("BAD", "MOV $1, 1\nLYPOS 1, 2\n");
  std::string out;
  EXPECT_EQ(RunProgram("--start BAD --frames 100", &out), 0);
  EXPECT_NE(out.find("【LYPOS】パラメータ数が不正エラー(パラメータ数：2個)"), std::string::npos) << out;
  EXPECT_TRUE(game.Exists("Novel.ini"));
  EXPECT_TRUE(game.Exists("SAVE/CONFIG.SAV"));
  EXPECT_EQ(RunProgram("--start NOSUCH --frames 100", &out), 0);
  EXPECT_NE(out.find("読み込みエラー\nOBJECT:CDIBSnrBaseScreen\nFILE:NOSUCH"), std::string::npos) << out;
  EXPECT_NE(RunProgram("--start", &out), 0);
}

}  // namespace
