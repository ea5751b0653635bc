#include "platform/Paths.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "TestDir.h"

namespace {

TEST(Paths, FindsFilesWhateverTheirCase) {
  TestDir dir;
  dir.Write("mgd/title01.mgd", "x");
  EXPECT_EQ(plat::ResolveCaseInsensitive(dir.path(), "MGD/TITLE01.MGD"), dir.File("mgd/title01.mgd"));
  EXPECT_EQ(plat::ResolveCaseInsensitive(dir.path(), "MGD\\Title01.mgd"), dir.File("mgd/title01.mgd"));
  EXPECT_EQ(plat::ResolveCaseInsensitive(dir.path(), "MGD/TITLE02.MGD"), "");
  EXPECT_EQ(plat::ResolveCaseInsensitive(dir.path(), ""), "");
}

TEST(Paths, ExactCaseWinsOverAnotherSpelling) {
  TestDir dir;
  dir.Write("Save.dat", "upper");
  dir.Write("save.dat", "lower");
  EXPECT_EQ(plat::ResolveCaseInsensitive(dir.path(), "save.dat"), dir.File("save.dat"));
  EXPECT_EQ(plat::ResolveCaseInsensitive(dir.path(), "Save.dat"), dir.File("Save.dat"));
}

TEST(Paths, WritePathsReuseExistingFoldersOfAnyCase) {
  TestDir dir;
  dir.Write("Save/old.sav", "x");
  EXPECT_EQ(plat::ResolveForWrite(dir.path(), "SAVE/GAME01.SAV"), dir.File("Save/GAME01.SAV"));
  EXPECT_EQ(plat::ResolveForWrite(dir.path(), "NEW/GAME01.SAV"), dir.File("NEW/GAME01.SAV"));
}

TEST(Paths, InstallDirComesFromTheCommandLineThenTheEnvironment) {
  setenv("VELTO_INSTPATH", "/from/env", 1);
  EXPECT_EQ(plat::FindInstallDir("/from/args"), "/from/args/");
  EXPECT_EQ(plat::FindInstallDir(nullptr), "/from/env/");
  unsetenv("VELTO_INSTPATH");
  std::string cwd = plat::FindInstallDir(nullptr);
  EXPECT_EQ(cwd.back(), '/');
  EXPECT_EQ(plat::WithSeparator("a\\b"), "a/b/");
  EXPECT_EQ(plat::WithSeparator("a/"), "a/");
}

}  // namespace
