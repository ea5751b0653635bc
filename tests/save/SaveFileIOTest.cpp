#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "TestDir.h"
#include "platform/FileReplace.h"
#include "save/SaveFileIO.h"
#include "save/SaveFolder.h"

namespace {

TEST(SaveFileIO, ReadsOnlyRegularFilesWithinTheLimit) {
  TestDir dir;
  std::string path = dir.File("GAME00.SAV");
  dir.Write("GAME00.SAV", "second!");
  std::vector<uint8_t> got;
  ASSERT_TRUE(save::ReadWholeFile(path, 100, got));
  EXPECT_EQ(std::string(got.begin(), got.end()), "second!");
  EXPECT_FALSE(save::ReadWholeFile(path, 6, got));  // larger than allowed
  EXPECT_FALSE(save::ReadWholeFile(dir.File("missing"), 100, got));
  EXPECT_FALSE(save::ReadWholeFile(dir.path(), 100, got));  // a folder
  ASSERT_EQ(mkfifo(dir.File("pipe").c_str(), 0600), 0);
  EXPECT_FALSE(save::ReadWholeFile(dir.File("pipe"), 100, got));  // returns at once
}

// A save killed between writing its temporary and renaming it leaves the
// temporary; the next start clears those of our own naming once they are
// old enough that no other run can still be writing them.
TEST(SaveFileIO, StartUpRemovesWhatKilledSavesLeftBehind) {
  TestDir dir;
  dir.Write("SAVE/GAME03.SAV.tmpAb12Cd", std::string(1000, 'x'));
  dir.Write("SAVE/CONFIG.SAV.tmp0Z9y8X", "x");
  dir.Write("SAVE/GAME04.SAV.tmpyoung", "x");   // not six letters: not ours
  dir.Write("SAVE/GAME05.SAV.tmpQwErTy", "x");  // young: another run may be writing it
  dir.Write("SAVE/notes.txt.tmpAAAAAA", "x");   // not a file we replace
  dir.Write("SAVE/GAME06.SAV", "keep");
  dir.Write("Novel.ini.tmpK3k3k3", "x");
  save::SetSaveLocation(save::SaveLocation{dir.path(), {dir.path()}, false});
  auto age = [&](const std::string& name) {
    std::filesystem::last_write_time(dir.File(name),
                                     std::filesystem::file_time_type::clock::now() - std::chrono::minutes(5));
  };
  for (const char* old : {"SAVE/GAME03.SAV.tmpAb12Cd", "SAVE/CONFIG.SAV.tmp0Z9y8X", "SAVE/GAME04.SAV.tmpyoung",
                          "SAVE/notes.txt.tmpAAAAAA", "SAVE/GAME06.SAV", "Novel.ini.tmpK3k3k3"})
    age(old);

  EXPECT_EQ(save::RemoveStaleSaveTemporaries(dir.File("Novel.ini")), 3);
  EXPECT_FALSE(dir.Exists("SAVE/GAME03.SAV.tmpAb12Cd"));
  EXPECT_FALSE(dir.Exists("SAVE/CONFIG.SAV.tmp0Z9y8X"));
  EXPECT_FALSE(dir.Exists("Novel.ini.tmpK3k3k3"));
  for (const char* kept :
       {"SAVE/GAME04.SAV.tmpyoung", "SAVE/GAME05.SAV.tmpQwErTy", "SAVE/notes.txt.tmpAAAAAA", "SAVE/GAME06.SAV"})
    EXPECT_TRUE(dir.Exists(kept)) << kept;
  EXPECT_TRUE(save::IsReplacedFileName("game42.sav"));
  EXPECT_FALSE(save::IsReplacedFileName("GAME4.SAV"));
  EXPECT_FALSE(save::IsReplacedFileName("GAMEXX.SAV"));
}

TEST(SaveFileIO, FileTimeCountsFrom1601) {
  TestDir dir;
  dir.Write("f", "x");
  std::filesystem::last_write_time(dir.File("f"), std::filesystem::file_time_type::clock::now());
  uint64_t t = save::FileWriteTime(dir.File("f"));
  int64_t unixNow = time(nullptr);
  EXPECT_NEAR(static_cast<double>(save::FileTimeToUnix(t)), static_cast<double>(unixNow), 5.0);
  EXPECT_GT(t, 116444736000000000ull);
  EXPECT_EQ(save::FileWriteTime(dir.File("none")), 0u);
}

}  // namespace
