#include "app/core/DebugHooks.h"

#include <filesystem>

#include "AppFixture.h"

namespace {

using DebugHooks = AppFixture;

std::string StubLibrary() { return std::string(VELTO_BINARY_DIR) + "/tests/app/libVQDebug.so"; }

TEST_F(DebugHooks, LibraryIsToldOfStartReportsAndRelease) {
  std::filesystem::copy_file(StubLibrary(), game.File("libVQDebug.so"));
  setenv("VELTO_VQDEBUG_LOG", game.File("calls.txt").c_str(), 1);
  game.Write("Novel.ini", "[MainWindow]\nDebugWndAttach=1\n");
  Start();
  ASSERT_NE(app->mhDebugDll, nullptr);
  DebugOnUpdateValue(12, -5);
  DebugOnLayOverlap();  // missing in the library: skipped
  app->ForceClose();
  Pump();
  EXPECT_EQ(game.Read("calls.txt"), "VQDInitialize 1\nVQDOnUpdateValue 12 -5\nVQDRelease\n");
  unsetenv("VELTO_VQDEBUG_LOG");
}

TEST_F(DebugHooks, WithoutTheAttachSwitchTheWindowIsNotHandedOver) {
  std::filesystem::copy_file(StubLibrary(), game.File("libVQDebug.so"));
  setenv("VELTO_VQDEBUG_LOG", game.File("calls.txt").c_str(), 1);
  Start();
  EXPECT_EQ(game.Read("calls.txt"), "VQDInitialize 0\n");
  unsetenv("VELTO_VQDEBUG_LOG");
}

TEST_F(DebugHooks, NoLibraryMeansNoReports) {
  Start();
  EXPECT_EQ(app->mhDebugDll, nullptr);
  DebugOnUpdateValue(1, 2);  // must simply do nothing
}

}  // namespace
