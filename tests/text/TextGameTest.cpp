// The whole program with a message window, driven by an input script:
// Japanese or Chinese text (as the build reads it) typed, clicked through,
// a click-marked message, and skip mode stopping at unread text, the same on
// every run.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "MesWndKit.h"
#include "RunCommand.h"
#include "TestDir.h"
#include "text/profile/TextProfile.h"

namespace {

int RunGame(const std::string& args, std::string* output, const std::string& env = "") {
  return RunCommand(env + " " + std::string(VELTO_BINARY_DIR) + "/tests/text/text_game " + args + " 2>&1", output);
}

std::string Messages() {
  const bool chinese = profile::BuildProfile().encoding == profile::Encoding::kGbk;
  return chinese ? "这是第一条消息。它足够长，可以在窗口里换行，并且测试标点符号的禁则处理。\n"
                   "第二条|点击之后继续\n"
                   "SKIP\n"
                   "跳过一\n跳过二\n"
                 : "これは最初のメッセージです。ウィンドウの端で折り返し、句読点の禁則処理を確かめます。\n"
                   "二つ目|クリックの後に続く\n"
                   "SKIP\n"
                   "飛ばす一\n飛ばす二\n";
}

// A message that ends on frame F is reported on frame F + 1.
const char kExpected[] =
    "message 1 63\n"   // typed, then the click at frame 62
    "message 2 93\n"   // two clicks: 82 passes the mark, 92 the end
    "message 4 101\n"  // skip is on, but only over read text: each unread
    "message 5 107\n"  // message still waits for its click
    "backlog 3\n";

std::string Script() {
  return "60 move 400 300\n62 down LBUTTON\n64 up LBUTTON\n"
         "82 down LBUTTON\n84 up LBUTTON\n92 down LBUTTON\n94 up LBUTTON\n"
         "100 down LBUTTON\n102 up LBUTTON\n106 down LBUTTON\n108 up LBUTTON\n";
}

TEST(TextGame, AnInputScriptDrivesTheMessageWindowTheSameOnEveryRun) {
  TestDir game;
  MakeGameFolders(game);
  mestest::WriteWindowData(game);
  game.Write("MESSAGES.txt", Messages());
  game.Write("input.txt", Script());
  std::string out;
  const std::string args = "--headless --fixed-step --frames 110 --game " + game.path() + " --input " +
                           game.File("input.txt");
  ASSERT_EQ(RunGame(args + " --screenshot 50:" + game.File("a.png") + " --screenshot 88:" + game.File("c.png"), &out),
            0)
      << out;
  EXPECT_EQ(out, kExpected);
  // The read-text flags went into the configuration save: without it the
  // second run starts as the first did.
  std::filesystem::remove_all(game.File("SAVE"));
  ASSERT_EQ(RunGame(args + " --screenshot 50:" + game.File("b.png"), &out), 0) << out;
  EXPECT_EQ(out, kExpected);
  EXPECT_GT(game.Read("a.png").size(), 1000u);
  EXPECT_EQ(game.Read("a.png"), game.Read("b.png")) << "same input, same pixels";
}

}  // namespace
