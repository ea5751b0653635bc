// A failure that escapes a frame is caught once by the main loop: the trace
// log is written, the player is told where it is, and the process ends -1.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "AppFixture.h"
#include "app/Entry.h"
#include "app/core/Trace.h"
#include "save/SaveFolder.h"

namespace {

class CFailingWindow : public CMainWindowImpl {
 public:
  enum Kind { kThrow, kSegv };
  CFailingWindow(Kind kind) : CMainWindowImpl(RunOptions()), mKind(kind) {}
  bool OnIdle() override {
    Trace("CFailingWindow::OnIdle");
    if (++mTurns < 3) return CMainWindowImpl::OnIdle();
    if (mKind == kThrow) throw std::runtime_error("broken");
    raise(SIGSEGV);
    return false;
  }

 private:
  Kind mKind;
  int mTurns = 0;
};

class Failure : public AppFixture {
 protected:
  // Runs the main loop over a failing application object; only returns in
  // the child process through exit.
  void RunFailing(CFailingWindow::Kind kind) {
    plat::SetMessageBoxHook([](const char* text, const char*, uint32_t) {
      fprintf(stderr, "BOX:%s\n", plat::ToUtf8(text).c_str());
      return plat::IDOK;
    });
    InstallFatalSignalHandlers();
    gpMainWindow = new CFailingWindow(kind);
    if (!gpMainWindow->Create()) exit(3);
    TraceInit();
    exit(RunMainLoop() & 0xFF);
  }
  std::string Log() {
    std::ifstream in(game.File("VQLog.txt"), std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }
};

TEST_F(Failure, AThrownErrorIsLoggedAndEndsWithMinusOne) {
  EXPECT_EXIT(RunFailing(CFailingWindow::kThrow), ::testing::ExitedWithCode(255),
              "予期せぬエラーが発生しました。\nエラーログを出力しました。\n.*VQLog.txt");
  std::string log = Log();
  EXPECT_EQ(log.rfind("【実行ログ】\nOld\n0001:", 0), 0u) << log;
  EXPECT_NE(log.find(":CFailingWindow::OnIdle\nNew\n"), std::string::npos) << log;
}

TEST_F(Failure, ASegmentationFaultIsLoggedAndEndsWithMinusOne) {
  EXPECT_EXIT(RunFailing(CFailingWindow::kSegv), ::testing::ExitedWithCode(255), "予期せぬエラー");
  EXPECT_NE(Log().find("CFailingWindow::OnIdle\n"), std::string::npos);
}

// An installation that cannot take the log (installed read-only; here the
// name is taken by a folder, which stops even the superuser) leaves it in
// the player's own folder of the game, and the box names that folder.
TEST_F(Failure, TheLogGoesToThePlayersFolderWhereTheGameCannotBeWritten) {
  TestDir data;
  game.Write("VQLog.txt/.keep", "");
  setenv("XDG_DATA_HOME", data.path().c_str(), 1);
  const std::string user = save::PerUserFolder(game.path());
  ASSERT_EQ(user.rfind(data.path() + "veltogame/", 0), 0u) << user;
  EXPECT_EXIT(RunFailing(CFailingWindow::kThrow), ::testing::ExitedWithCode(255),
              "エラーログを出力しました。\n" + user + "VQLog.txt");
  unsetenv("XDG_DATA_HOME");
  std::ifstream in(user + "VQLog.txt", std::ios::binary);
  std::stringstream log;
  log << in.rdbuf();
  EXPECT_NE(log.str().find("CFailingWindow::OnIdle\n"), std::string::npos);
}

}  // namespace
