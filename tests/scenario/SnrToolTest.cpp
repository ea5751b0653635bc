// velto-tool snr, run as the game maker runs it.
#include "RunCommand.h"
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "TestDir.h"

namespace {

std::string Tool() { return VELTO_TOOL_PATH; }

// Runs the tool; returns its exit status and standard output (and error).
int RunTool(const std::string& args, std::string* out = nullptr) {
  return RunCommand(Tool() + " snr " + args + " 2>&1", out);
}

TEST(SnrTool, ScrambledFilesRoundTripThroughTheTool) {
  TestDir dir;
  dir.Write("in.txt", "*top:\nMSG 1, 0, \"\", \"星の回廊\"\nJP *top\nEND\n");
  std::string d = dir.path();
  for (const char* enc : {"sjis", "gbk"}) {
    std::string e = std::string(" --encoding ") + enc;
    ASSERT_EQ(RunTool("compile" + e + " --scramble --key 鍵 " + d + "in.txt " + d + "a.msd"), 0);
    EXPECT_NE(RunTool("decompile" + e + " " + d + "a.msd " + d + "wrong.txt"), 0);  // the build's own key
    ASSERT_EQ(RunTool("decompile" + e + " --key 鍵 " + d + "a.msd " + d + "out.txt"), 0);
    ASSERT_EQ(RunTool("compile" + e + " --scramble --key 鍵 " + d + "out.txt " + d + "b.msd"), 0);
    EXPECT_EQ(dir.Read("a.msd"), dir.Read("b.msd")) << enc;
    EXPECT_NE(dir.Read("out.txt").find("MSG 1, 0, \"\", \"星の回廊\""), std::string::npos) << dir.Read("out.txt");
    std::string dump;
    ASSERT_EQ(RunTool("dump" + e + " --key 鍵 " + d + "a.msd", &dump), 0);
    EXPECT_EQ(dump,
              "00000000  1000 MSG           1, 0, \"\", \"星の回廊\"\n"
              "0000001a     3 JP            *L0\n"
              "00000023 10000 END\n");
  }
}

TEST(SnrTool, ErrorsAndUsage) {
  TestDir dir;
  dir.Write("bad.txt", "END\nMOV $1, (2 +)\n");
  std::string out;
  EXPECT_EQ(RunTool("compile " + dir.File("bad.txt") + " " + dir.File("x.msd"), &out), 1);
  EXPECT_EQ(out, dir.File("bad.txt") + ":2:13: expected a number, a variable or '(' in the expression\n");
  EXPECT_FALSE(dir.Exists("x.msd"));
  EXPECT_EQ(RunTool("compile --encoding latin1 a b", &out), 1);
  EXPECT_EQ(RunTool("frob", &out), 2);
  EXPECT_EQ(RunTool("decompile --scramble a b", &out), 1);
  EXPECT_EQ(RunTool("dump " + dir.File("missing.msd"), &out), 1);
}

}  // namespace
