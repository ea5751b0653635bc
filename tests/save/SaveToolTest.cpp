#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "RunCommand.h"
#include "SaveFixture.h"

namespace {

std::string BinaryDir() { return VELTO_BINARY_DIR; }

// Runs velto-tool with `args`; returns its standard output and exit code.
std::string RunTool(const std::string& args, int* code) {
  std::string out;
  *code = RunCommand(BinaryDir() + "/tools/velto-tool " + args + " 2>/dev/null", &out);
  return out;
}

TEST_F(SaveTest, ToolInspectsSavedGamesAndConfig) {
  auto s = Fresh();
  strcpy(s->mszSubTitle, "Hello");
  strcpy(s->mszSnrName, "S01");
  s->mdwStateSize = 10;
  ASSERT_TRUE(s->SaveGame(5));
  s->SetKidokuFlag(3);
  s->SetKidokuFlag(4);
  s->mSceneFlag[0][1] = 1;
  s->mConfig.nSEVol = 7;
  ASSERT_TRUE(s->SaveConfig());
  int code = -1;
  std::string info = RunTool("save info " + mDir.File("SAVE/GAME05.SAV"), &code);
  EXPECT_EQ(code, 0);
  EXPECT_EQ(info,
            "subtitle: Hello\nthumbnail: 160x120 (76800 bytes)\nscenario: S01\nmusic: none\nstate: 10 bytes\n"
            "signature: matches\n");
  info = RunTool("save info --key OTHER " + mDir.File("SAVE/GAME05.SAV"), &code);
  EXPECT_NE(info.find("signature: does not match\n"), std::string::npos);
  std::string config = RunTool("save config " + mDir.File("SAVE/CONFIG.SAV"), &code);
  EXPECT_EQ(code, 0);
  EXPECT_NE(config.find("nSEVol: 7\n"), std::string::npos);
  EXPECT_NE(config.find("read-text records: 1 (2 messages read)\n"), std::string::npos);
  EXPECT_NE(config.find("scene flags: 1 of 400\n"), std::string::npos);
  RunTool("save thumb " + mDir.File("SAVE/GAME05.SAV") + " " + mDir.File("t.png"), &code);
  EXPECT_EQ(code, 0);
  EXPECT_EQ(mDir.Read("t.png").substr(1, 3), "PNG");
  RunTool("save config " + mDir.File("SAVE/GAME05.SAV"), &code);
  EXPECT_EQ(code, 1);
}

}  // namespace
