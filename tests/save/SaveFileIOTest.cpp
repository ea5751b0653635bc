#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "TestDir.h"
#include "platform/FileReplace.h"
#include "platform/Timer.h"
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

TEST(SaveFileIO, ARunOnTheVirtualClockDatesItsFilesByThatClock) {
  TestDir dir;
  dir.Write("f", "x");
  // A real run leaves the system's time.
  EXPECT_TRUE(save::StampRunTime(dir.File("f")));
  EXPECT_NEAR(static_cast<double>(save::FileTimeToUnix(save::FileWriteTime(dir.File("f")))),
              static_cast<double>(time(nullptr)), 5.0);
  plat::SetVirtualClock(true, 0x10000);
  plat::AdvanceVirtualClock(3 * 3600 * 1000 + 250);
  EXPECT_TRUE(save::StampRunTime(dir.File("f")));
  const uint64_t t = save::FileWriteTime(dir.File("f"));
  EXPECT_EQ(save::FileTimeToUnix(t), save::kRunCalendarStart + 65 + 3 * 3600) << "0x10000 ms, then three hours";
  EXPECT_EQ(t % 10000000ull, 7860000ull) << "and the milliseconds";
  EXPECT_FALSE(save::StampRunTime(dir.File("none")));
  plat::SetVirtualClock(false);
}

}  // namespace
