#include <gtest/gtest.h>

#include <cstdlib>

#include "TestDir.h"
#include "save/SaveFolder.h"

namespace {

TEST(SaveFolder, WritableInstallationKeepsSavesThere) {
  save::SaveLocation loc = save::ChooseSaveLocation("/games/Velto", true, "/x", "/home/p");
  EXPECT_EQ(loc.writeRoot, "/games/Velto/");
  EXPECT_EQ(loc.readRoots, std::vector<std::string>{"/games/Velto/"});
  EXPECT_FALSE(loc.perUser);
}

TEST(SaveFolder, ReadOnlyInstallationMovesToThePerUserFolder) {
  save::SaveLocation loc = save::ChooseSaveLocation("/opt/Velto Game/", false, "/data", "/home/p");
  const std::string key = save::InstallationKey("/opt/Velto Game/");
  EXPECT_TRUE(loc.perUser);
  EXPECT_EQ(key.substr(0, 11), "Velto Game-");
  EXPECT_EQ(key.size(), 19u);
  EXPECT_EQ(loc.writeRoot, "/data/veltogame/" + key + "/");
  EXPECT_EQ(loc.readRoots, (std::vector<std::string>{"/data/veltogame/" + key + "/", "/opt/Velto Game/"}));
  // Without XDG_DATA_HOME (or with a relative one) the home folder's share.
  const std::string g = save::InstallationKey("/opt/G");
  EXPECT_EQ(save::ChooseSaveLocation("/opt/G", false, nullptr, "/home/p").writeRoot,
            "/home/p/.local/share/veltogame/" + g + "/");
  EXPECT_EQ(save::ChooseSaveLocation("/opt/G", false, "rel", "/home/p").writeRoot,
            "/home/p/.local/share/veltogame/" + g + "/");
}

// Two games in folders of the same name must not share their settings,
// read-text memory and unlocks; and a missing home never means /tmp.
TEST(SaveFolder, GamesOfTheSameFolderNameKeepApartAndNothingGoesToTmp) {
  std::string a = save::ChooseSaveLocation("/opt/a/GAME/", false, nullptr, "/home/p").writeRoot;
  std::string b = save::ChooseSaveLocation("/usr/share/b/GAME/", false, nullptr, "/home/p").writeRoot;
  EXPECT_NE(a, b);
  EXPECT_EQ(a.rfind("/home/p/.local/share/veltogame/GAME-", 0), 0u) << a;
  EXPECT_EQ(b.rfind("/home/p/.local/share/veltogame/GAME-", 0), 0u) << b;
  // The key is the same for the same place, written with or without the
  // trailing separator.
  EXPECT_EQ(save::InstallationKey("/opt/a/GAME"), save::InstallationKey("/opt/a/GAME/"));

  save::SaveLocation none = save::ChooseSaveLocation("/opt/a/GAME/", false, nullptr, nullptr);
  EXPECT_TRUE(none.writeRoot.empty());
  EXPECT_TRUE(save::ChooseSaveLocation("/opt/a/GAME/", false, "", "relative/home").writeRoot.empty());

  // HOME unset: the account's own record gives the home folder.
  const char* saved = getenv("HOME");
  std::string keep = saved ? saved : "";
  unsetenv("HOME");
  std::string home = save::UserHome();
  if (saved) setenv("HOME", keep.c_str(), 1);
  EXPECT_FALSE(home.empty());
  EXPECT_NE(home.rfind("/tmp", 0), 0u);

  // A relative installation folder is keyed by where it really is.
  TestDir dir;
  EXPECT_EQ(save::AbsoluteInstallDir(dir.path()), save::AbsoluteInstallDir(dir.path() + "./"));
  EXPECT_EQ(save::AbsoluteInstallDir(dir.path()).front(), '/');
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
