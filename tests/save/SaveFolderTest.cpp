#include "save/SaveFolder.h"

#include <gtest/gtest.h>

#include "TestDir.h"

namespace {

TEST(SaveFolder, WritableInstallationKeepsSavesThere) {
  save::SaveLocation loc = save::ChooseSaveLocation("/games/Velto", true, "/x", "/home/p");
  EXPECT_EQ(loc.writeRoot, "/games/Velto/");
  EXPECT_EQ(loc.readRoots, std::vector<std::string>{"/games/Velto/"});
  EXPECT_FALSE(loc.perUser);
}

TEST(SaveFolder, ReadOnlyInstallationMovesToThePerUserFolder) {
  save::SaveLocation loc = save::ChooseSaveLocation("/opt/Velto Game/", false, "/data", "/home/p");
  EXPECT_TRUE(loc.perUser);
  EXPECT_EQ(loc.writeRoot, "/data/veltogame/Velto Game/");
  EXPECT_EQ(loc.readRoots, (std::vector<std::string>{"/data/veltogame/Velto Game/", "/opt/Velto Game/"}));
  // Without XDG_DATA_HOME (or with a relative one) the home folder's share.
  EXPECT_EQ(save::ChooseSaveLocation("/opt/G", false, nullptr, "/home/p").writeRoot,
            "/home/p/.local/share/veltogame/G/");
  EXPECT_EQ(save::ChooseSaveLocation("/opt/G", false, "rel", "/home/p").writeRoot,
            "/home/p/.local/share/veltogame/G/");
}

TEST(SaveFolder, FilesAreFoundInReadOrderIgnoringCase) {
  TestDir user, inst;
  inst.Write("save/GAME01.SAV", "installed");
  inst.Write("save/GAME02.SAV", "installed");
  user.Write("SAVE/game02.sav", "user");
  save::SetSaveLocation({user.path(), {user.path(), inst.path()}, true});
  EXPECT_EQ(save::FindSaveFile("GAME02.SAV"), user.File("SAVE/game02.sav"));
  EXPECT_EQ(save::FindSaveFile("GAME01.SAV"), inst.File("save/GAME01.SAV"));
  EXPECT_EQ(save::FindSaveFile("GAME03.SAV"), "");
  EXPECT_EQ(save::SaveFolderForWrite(), user.File("SAVE"));

  // The settings file is copied to the per-user folder once and used there.
  inst.Write("Novel.ini", "[System]\nNoneEffect=1\n");
  EXPECT_EQ(save::SetupIniPath(inst.path()), user.File("Novel.ini"));
  EXPECT_EQ(user.Read("Novel.ini"), "[System]\nNoneEffect=1\n");
  save::SetSaveLocation({inst.path(), {inst.path()}, false});
  EXPECT_EQ(save::SetupIniPath(inst.path()), inst.File("Novel.ini"));
  EXPECT_TRUE(save::CanWriteInstallDir(inst.path()));
}

}  // namespace
