#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "TestDir.h"
#include "platform/FileReplace.h"
#include "platform/Profile.h"

namespace {

bool RefuseRename(const std::string&) { return false; }

int RegularFiles(const std::string& dir) {
  int files = 0;
  for (auto& e : std::filesystem::directory_iterator(dir)) files += e.is_regular_file();
  return files;
}

TEST(FileReplace, ReplacesWholeFilesAndLeavesNoTemporary) {
  TestDir dir;
  std::string path = dir.File("GAME00.SAV");
  ASSERT_TRUE(plat::WriteFileReplacing(path, "first", 5));
  ASSERT_TRUE(plat::WriteFileReplacing(path, "second!", 7));
  EXPECT_EQ(dir.Read("GAME00.SAV"), "second!");
  EXPECT_EQ(RegularFiles(dir.path()), 1);
  // A folder that does not exist cannot take the file.
  EXPECT_FALSE(plat::WriteFileReplacing(dir.File("nowhere/x"), "x", 1));
  // A link keeps pointing at the file it names, which gets the contents.
  dir.Write("real/Novel.ini", "old");
  ASSERT_EQ(symlink(dir.File("real/Novel.ini").c_str(), dir.File("Novel.ini").c_str()), 0);
  ASSERT_TRUE(plat::WriteFileReplacing(dir.File("Novel.ini"), "new", 3));
  EXPECT_TRUE(std::filesystem::is_symlink(dir.File("Novel.ini")));
  EXPECT_EQ(dir.Read("real/Novel.ini"), "new");
}

// The settings file goes through the same replacement as the saves: a kill
// between writing and renaming keeps the player's old file whole.
TEST(FileReplace, AnInterruptedWriteKeepsTheOldFileOfSavesAndSettings) {
  TestDir dir;
  std::string save = dir.File("CONFIG.SAV");
  ASSERT_TRUE(plat::WriteFileReplacing(save, "old", 3));
  dir.Write("Novel.ini", "[System]\r\nNoneEffect=0\r\n");
  plat::SetBeforeRenameHook(&RefuseRename);
  EXPECT_FALSE(plat::WriteFileReplacing(save, "new contents", 12));
  EXPECT_FALSE(plat::WritePrivateProfileString("System", "NoneEffect", "1", dir.File("Novel.ini").c_str()));
  plat::SetBeforeRenameHook(nullptr);
  EXPECT_EQ(dir.Read("CONFIG.SAV"), "old");
  EXPECT_EQ(dir.Read("Novel.ini"), "[System]\r\nNoneEffect=0\r\n");
  EXPECT_EQ(RegularFiles(dir.path()), 2) << "no temporary is left behind";

  ASSERT_TRUE(plat::WritePrivateProfileString("System", "NoneEffect", "1", dir.File("Novel.ini").c_str()));
  EXPECT_EQ(dir.Read("Novel.ini"), "[System]\r\nNoneEffect=1\r\n");
  EXPECT_EQ(RegularFiles(dir.path()), 2);
}

TEST(FileReplace, TemporariesAreKnownByTheirExactNaming) {
  EXPECT_TRUE(plat::IsReplacementTemporary("GAME01.SAV.tmpa1B2c3", "GAME01.SAV"));
  EXPECT_FALSE(plat::IsReplacementTemporary("GAME01.SAV.tmpa1B2c", "GAME01.SAV"));
  EXPECT_FALSE(plat::IsReplacementTemporary("GAME01.SAV.tmpa1B2c3d", "GAME01.SAV"));
  EXPECT_FALSE(plat::IsReplacementTemporary("GAME01.SAV.tmpa1B-c3", "GAME01.SAV"));
  EXPECT_FALSE(plat::IsReplacementTemporary("GAME02.SAV.tmpa1B2c3", "GAME01.SAV"));
  EXPECT_FALSE(plat::IsReplacementTemporary(".tmpa1B2c3", ""));
}

}  // namespace
