// The README's walk-through "Making a game", run as it stands: every shell
// block of the section, in order, from an empty folder, must make a game
// that plays and that the game check finds complete, unpacked and packed.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "DemoPlay.h"

namespace {

// The shell blocks of the README section `title`, joined.
std::string SectionScript(const std::string& title) {
  std::ifstream in(std::string(VELTO_SOURCE_DIR) + "/README.md");
  std::string line, script;
  bool inSection = false, inBlock = false;
  while (std::getline(in, line)) {
    if (line.rfind("## ", 0) == 0) inSection = line == "## " + title;
    if (!inSection) continue;
    if (!inBlock && line == "```sh") {
      inBlock = true;
    } else if (inBlock && line == "```") {
      inBlock = false;
    } else if (inBlock) {
      script += line + "\n";
    }
  }
  return script;
}

TEST(MakingAGame, TheWalkThroughMakesAGameThatPlays) {
  std::string script = SectionScript("Making a game");
  ASSERT_NE(script.find("velto-tool draw"), std::string::npos) << "the section is gone";
  // The walk-through starts at the top of the repository after a build.
  TestDir dir;
  std::filesystem::create_directories(dir.File("repo"));
  std::filesystem::create_directories(dir.File("home"));
  std::filesystem::create_directory_symlink(VELTO_BINARY_DIR, dir.File("repo/build"));
  std::filesystem::create_directory_symlink(std::string(VELTO_SOURCE_DIR) + "/demo", dir.File("repo/demo"));
  dir.Write("walk.sh", "set -e\n" + script);
  std::string out;
  ASSERT_EQ(RunCommand("cd '" + dir.File("repo") + "' && HOME='" + dir.File("home") + "' bash '" +
                           dir.File("walk.sh") + "' 2>&1",
                       &out),
            0)
      << out;
  EXPECT_NE(out.find("game: "), std::string::npos) << out;
  EXPECT_NE(out.find("dist: "), std::string::npos) << out;
  EXPECT_EQ(out.find("missing"), std::string::npos) << out;
  EXPECT_EQ(out.find("エラー"), std::string::npos) << "an error box: " << out;
  // The screenshot shows the drawn room round the character.
  demo::Image shot = demo::LoadPng(dir.File("home/mygame/room.png"));
  std::string png = dir.File("room-picture.png");
  ASSERT_EQ(RunCommand(std::string("'") + VELTO_TOOL_PATH + "' mgd decode '" + dir.File("home/mygame/game/MGD/BG_ROOM.MGD") +
                           "' '" + png + "'"),
            0);
  EXPECT_TRUE(demo::Shows(shot, demo::LoadPng(png)));
}

}  // namespace
