// The interpreter's control flow and data commands, run as a game maker's
// --start runs a story: timed and input waits, conditions, jumps, random
// numbers, the per-frame run and its limits, and the error boxes that end
// the game.
#include <filesystem>
#include <string>

#include "InterpFixture.h"
#include "platform/Cursor.h"
#include "scenario/SnrBuffer.h"

namespace {

using Interp = InterpTest;

TEST_F(Interp, ATimesThenAWaitWaitsTheTimeOnTheFrameStep) {
  Scenario("S", std::string("MOV $1, 1\nATIMES 1000\nAWAIT 0, $10, $11, $12, $13, $14\nMOV $2, 1\n") + kIdle);
  Run("S");
  app->mpSaveData->mVariable[10] = 7;
  FramesUntil([&] { return Var(1) == 1; });
  long long started = FrameNo();
  FramesUntil([&] { return Var(2) == 1; });
  // 30 ms a frame: the wait passes 1000 ms on its 34th frame, the next
  // command runs on the frame after.
  EXPECT_EQ(FrameNo() - started, 35);
  for (int v = 10; v <= 14; ++v) EXPECT_EQ(Var(v), 0) << v;
  EXPECT_TRUE(boxes.empty());
}

TEST_F(Interp, AnEndlessWaitEndsOnAClickOrKeyAndLatchesWhichOne) {
  Scenario("S", std::string("ATIMES -1\nAWAIT 1, $10, $11, $12, $13, $14\nMOV $1, 1\n"
                            "ATIMES -1\nAWAIT 1, $20, $21, $22, $23, $24\nMOV $2, 1\n"
                            "ATIMES -1\nAWAIT 0, $30, $31, $32, $33, $34\nMOV $3, 1\n") +
                kIdle);
  Run("S", "40 move 400 300\n40 down LBUTTON\n41 up LBUTTON\n60 down SPACE\n61 up SPACE\n80 down ESCAPE\n81 up ESCAPE\n");
  int n = FramesUntil([&] { return Var(1) == 1; });
  EXPECT_EQ(FrameNo(), 41) << n;
  EXPECT_EQ(Var(10), 1);
  for (int v = 11; v <= 14; ++v) EXPECT_EQ(Var(v), 0) << v;
  FramesUntil([&] { return Var(2) == 1; });
  EXPECT_EQ(FrameNo(), 61);
  EXPECT_EQ(Var(24), 1);
  EXPECT_EQ(Var(20), 0);
  // Mode 0 ignores input: without a time limit it waits on.
  Frames(100);
  EXPECT_EQ(Var(3), 0);
  EXPECT_EQ(Screen()->GetWaitTime(), CDIBSnrBaseScreen::kWaitForever);
}

TEST_F(Interp, ConditionOperatorsAsTextsAndCodes) {
  Scenario("S", std::string("IF 5, \">=\", 5, *a\nMOV $1, 99\n*a:\n"
                            "IF -1, \"<\", 0, -1, \"<>\", 0, *b\nMOV $2, 99\n*b:\n"
                            "IF -1, \"≧\", 0, *c\nMOV $3, 1\n*c:\n"
                            "IF 2, \"≦\", 2, 3, \"＞\", 2, *d\nMOV $4, 99\n*d:\n"
                            "IF 1, 9, 1, *e\nMOV $5, 1\n*e:\n"      // codes outside 0-5 never hold
                            "IF 1, 1, 2, *f\nMOV $6, 99\n*f:\n"     // code 1: not equal
                            "IF 2, \"==\", 2, 1, \"=\", 0, *g\nMOV $7, 1\n*g:\n") +  // the second fails
                kIdle);
  Run("S");
  Frames(10);
  ASSERT_FALSE(Closed());
  EXPECT_EQ(Var(1), 0);
  EXPECT_EQ(Var(2), 0);
  EXPECT_EQ(Var(3), 1);
  EXPECT_EQ(Var(4), 0);
  EXPECT_EQ(Var(5), 1);
  EXPECT_EQ(Var(6), 0);
  EXPECT_EQ(Var(7), 1);
  EXPECT_TRUE(boxes.empty()) << boxes[0];
}

TEST_F(Interp, ConditionParameterCountsAndKinds) {
  for (auto [source, box] : std::vector<std::pair<std::string, std::string>>{
           {"IF 1, \"=>\", 1, *a", "【IF】パラメータタイプが不正エラー(パラメータ：2番)"},
           {"IF 1, \"=\", 1, 2, *a", "【IF】パラメータ数が不正エラー(パラメータ数：5個)"},
           {"IF 1, \"=\", 1", "【IF】パラメータ数が不正エラー(パラメータ数：3個)"},
           {"IF 1, \"=\", \"1\", *a", "【IF】パラメータタイプが不正エラー(パラメータ：3番)"},
           {"IF 1, \"=\", 1, \"a\"", "【IF】パラメータタイプが不正エラー(パラメータ：4番)"},
           {"IF 1, \"=\", 1, 7", "【IF】パラメータが不正エラー(パラメータ：4番)"},  // no label 7
       }) {
    SCOPED_TRACE(source);
    boxes.clear();
    Scenario("S", source + "\n*a:\n" + kIdle);
    Run("S");
    Frames(10);
    EXPECT_TRUE(Closed());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], box);
    TearDown();
    SetUp();
  }
}

TEST_F(Interp, OnJumpPicksALabelByPositionOrStepsOn) {
  Scenario("S", std::string("ONJP 3, *a, *b\nMOV $1, 1\n"
                            "ONJP -1, *a, *b\nMOV $2, 1\n"
                            "ONJP 1, *a, *b\n*a:\nMOV $3, 1\n*b:\nMOV $4, 1\n") + kIdle);
  Run("S");
  Frames(10);
  EXPECT_EQ(Var(1), 1);
  EXPECT_EQ(Var(2), 1);
  EXPECT_EQ(Var(3), 0);
  EXPECT_EQ(Var(4), 1);
}

TEST_F(Interp, RandomDrawsTheClassicSequenceWithinItsBounds) {
  Scenario("S", std::string("RANDOM $1, 0, 32767\nRANDOM $2, 32767, 0\nRANDOM $3, 10, 1\nRANDOM $4, 5, 5\n"
                            "RANDOM $5, -2147483648, 2147483647\nRANDOM $[$6], 1, 1\n") + kIdle);
  Run("S");
  app->mpSaveData->mVariable[6] = 7;  // the indirect destination: variable 7
  Frames(10);
  // After seed 1: 41, 18467, 6334, 26500, …
  EXPECT_EQ(Var(1), 41);
  EXPECT_EQ(Var(2), 18467);
  EXPECT_EQ(Var(3), 1 + 6334 % 10);
  EXPECT_EQ(Var(4), 5);  // equal bounds draw nothing
  EXPECT_EQ(Var(5), -2147483648 + 26500);
  EXPECT_EQ(Var(7), 1);
  EXPECT_EQ(Var(6), 7);
}

TEST_F(Interp, ThousandsOfMovesCompleteAndALoopWithoutAWaitYields) {
  std::string source;
  for (int i = 0; i < 5000; ++i) source += "MOV $" + std::to_string(i % 1000) + ", " + std::to_string(i) + "\n";
  source += "*loop:\nMOV $1000, ($1000 + 1)\nJP *loop\n";
  Scenario("S", source);
  Run("S");
  FramesUntil([&] { return Screen() != nullptr; });
  ASSERT_NE(Screen(), nullptr);
  uint64_t before = Screen()->GetCommandCount();
  Frame();
  // The moves run back to back; a frame's run stops after its command limit.
  EXPECT_EQ(Screen()->GetCommandCount() - before, static_cast<uint64_t>(CDIBSnrBaseScreen::kRunCommandLimit));
  for (int i = 0; i < 1000; ++i) ASSERT_EQ(Var(i), 4000 + i) << i;
  int32_t after = Var(1000);
  Frame();
  EXPECT_EQ(Var(1000) - after, CDIBSnrBaseScreen::kRunCommandLimit / 2);
  // The window still answers: a close request ends the program.
  gpMainWindow->ForceClose();
  Frames(2);
  EXPECT_TRUE(Closed());
}

TEST_F(Interp, CompareTextsIgnoringTheCaseOfSingleByteLettersOnly) {
  Scenario("S", std::string("CMPSTR \"Abc\", \"aBC\", *a\nMOV $1, 99\n*a:\nMOV $2, 1\n"
                            "CMPSTR \"abc\", \"abcd\", *b\nMOV $3, 1\n*b:\n"
                            // two double-byte characters whose second bytes differ only as A and a
                            "CMPSTR \"\\x83\\x41\", \"\\x83\\x61\", *c\nMOV $4, 1\n*c:\n") +
                kIdle);
  Run("S");
  Frames(10);
  EXPECT_EQ(Var(1), 0);
  EXPECT_EQ(Var(2), 1);
  EXPECT_EQ(Var(3), 1);
  EXPECT_EQ(Var(4), 1);
}

TEST_F(Interp, LoadingAnotherFileAndCursors) {
  Scenario("S", "CURSOR 3, 5\nCURSOR 4, \"NOCURSOR\"\nLS \"SECOND\"\n");
  Scenario("SECOND", std::string("MOV $1, 2\n") + kIdle);
  Run("S");
  Frames(10);
  EXPECT_EQ(Var(1), 2);
  EXPECT_STREQ(app->mpSaveData->mszSnrName, "SECOND");
  EXPECT_STREQ(Screen()->GetBuffer()->GetName(), "SECOND");
  EXPECT_TRUE(app->mCursor[3].bSystem);
  EXPECT_EQ(app->mCursor[3].id, plat::SystemCursorId(5));
  EXPECT_FALSE(app->mCursor[4].bSystem);
  EXPECT_STREQ(app->mCursor[4].name, "NOCURSOR");
}

TEST_F(Interp, ErrorsThatEndTheGameShowTheirBoxAndClose) {
  for (auto [source, box] : std::vector<std::pair<std::string, std::string>>{
           {"CMD 555", "【未知のコマンド】コマンドシークエラー"},
           {"MOV 1", "【MOVE】パラメータ数が不正エラー(パラメータ数：1個)"},
           {"MOV \"a\", 1", "【MOV】パラメータタイプが不正エラー(パラメータ：1番)"},
           {"MOV 2000, 1", "【MOV】パラメータが不正エラー(パラメータ：1番)"},
           {"LS \"NOPE\"", "【LS】読み込みエラー(ファイル名：NOPE)"},
           {"JP 12", "【JP】パラメータが不正エラー(パラメータ：1番)"},
           {"ATIMES 1, 2", "【ATIMES】パラメータ数が不正エラー(パラメータ数：2個)"},
           {"AWAIT 0, 1, 2, 3, 4, \"x\"", "【AWAIT】パラメータタイプが不正エラー(パラメータ：6番)"},
           {"RANDOM -1, 1, 2", "【RANDOM】パラメータが不正エラー(パラメータ：1番)"},
           {"BLOGSAVEBEGIN 1", "【BLOGSAVEBEGIN】パラメータ数が不正エラー(パラメータ数：1個)"},
           {"MOV $1, 1", "【未知のコマンド】コマンドシークエラー"},  // running off the end of the file
       }) {
    SCOPED_TRACE(source);
    boxes.clear();
    std::filesystem::remove(game.File("Novel.ini"));
    std::filesystem::remove(game.File("SAVE/CONFIG.SAV"));
    Scenario("S", source + "\n");
    Run("S");
    Frames(10);
    EXPECT_TRUE(Closed());
    ASSERT_EQ(boxes.size(), 1u) << "one box, then nothing runs";
    EXPECT_EQ(boxes[0], box);
    // Closed as at any normal exit: the settings and the configuration save.
    EXPECT_TRUE(game.Exists("Novel.ini"));
    EXPECT_TRUE(game.Exists("SAVE/CONFIG.SAV"));
    TearDown();
    SetUp();
  }
}

TEST_F(Interp, StoredVariablesAreReportedToTheDebugger) {
  std::filesystem::copy_file(std::string(VELTO_BINARY_DIR) + "/tests/app/libVQDebug.so", game.File("libVQDebug.so"));
  setenv("VELTO_VQDEBUG_LOG", game.File("calls.txt").c_str(), 1);
  Scenario("S", std::string("MOV $5, 42\nRANDOM $6, 1, 1\nCHKSCEXEC $7\nATIMES 0\nAWAIT 0, 8, 9, 10, 11, 12\n") + kIdle);
  Run("S");
  Frames(10);
  unsetenv("VELTO_VQDEBUG_LOG");
  std::string calls = game.Read("calls.txt");
  EXPECT_NE(calls.find("VQDOnUpdateValue 5 42\nVQDOnUpdateValue 7 0\n"), std::string::npos) << calls;
  EXPECT_NE(calls.find("VQDOnUpdateValue 8 0\nVQDOnUpdateValue 9 0\n"), std::string::npos) << calls;
  EXPECT_EQ(calls.find("VQDOnUpdateValue 6 "), std::string::npos) << "RANDOM is not reported";
}

TEST_F(Interp, TheEndClosesAndGlobalVariablesReachTheConfigurationSave) {
  Scenario("S", "MOV $1500, 77\nMOV $1999, -5\nMOV $3, 3\nEND\n");
  Run("S");
  Frames(10);
  ASSERT_TRUE(Closed());
  EXPECT_TRUE(boxes.empty());
  auto* save = new CSaveData;
  ASSERT_TRUE(save->LoadConfig());
  EXPECT_EQ(save->mVariable[1500], 77);
  EXPECT_EQ(save->mVariable[1999], -5);
  EXPECT_EQ(save->mVariable[3], 0) << "game variables are not global";
  delete save;
}

}  // namespace
