// `cmake --install` puts the program, the tool, the game, the desktop entry
// and the icon where a desktop finds them, and the installed program plays
// its installed game when started from anywhere.
#include <gtest/gtest.h>

#include <string>

#include "AppFixture.h"
#include "RunCommand.h"
#include "app/core/AppIcon.h"
#include "assets/PngEncode.h"

namespace {

TEST(Install, PutsEverythingWhereADesktopFindsIt) {
  TestDir prefix;
  std::string out;
  ASSERT_EQ(RunCommand(std::string("'") + VELTO_CMAKE_COMMAND + "' --install '" + VELTO_BINARY_DIR + "' --prefix '" +
                           prefix.path() + "' 2>&1",
                       &out),
            0)
      << out;
  for (const char* file : {"bin/veltogame", "bin/velto-tool", "share/applications/veltogame.desktop",
                           "share/icons/hicolor/48x48/apps/veltogame.png",
                           "share/icons/hicolor/256x256/apps/veltogame.png", "share/veltogame/game/Novel.ini",
                           // the scenarios, as a folder or an archive
                           "share/veltogame/game/MSD"})
    EXPECT_TRUE(prefix.Exists(file)) << file;

  std::string entry = prefix.Read("share/applications/veltogame.desktop");
  EXPECT_NE(entry.find("\nExec=veltogame\n"), std::string::npos) << entry;
  EXPECT_NE(entry.find("\nIcon=veltogame\n"), std::string::npos) << entry;

  // The installed icon is the one the window shows, drawn by the same code.
  std::string png = prefix.Read("share/icons/hicolor/256x256/apps/veltogame.png");
  std::vector<uint32_t> pixels;
  int w = 0, h = 0;
  ASSERT_TRUE(LoadPngImage(reinterpret_cast<const uint8_t*>(png.data()), png.size(), &pixels, &w, &h));
  EXPECT_EQ(w, 256);
  EXPECT_EQ(pixels, DrawAppIcon(256));

  // Started from a folder that is no game, it plays the installed one.
  TestDir elsewhere;
  EXPECT_EQ(RunCommand("cd '" + elsewhere.path() + "' && XDG_DATA_HOME='" + elsewhere.path() + "data' '" +
                           prefix.path() + "bin/veltogame' --headless --fixed-step --frames 3 2>&1",
                       &out),
            0)
      << out;
}

}  // namespace
