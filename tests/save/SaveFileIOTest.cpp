#include "save/SaveFileIO.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "TestDir.h"

namespace {

bool RefuseRename(const std::string&) { return false; }

TEST(SaveFileIO, ReplacesWholeFilesAndLeavesNoTemporary) {
  TestDir dir;
  std::string path = dir.File("GAME00.SAV");
  ASSERT_TRUE(save::WriteFileReplacing(path, "first", 5));
  ASSERT_TRUE(save::WriteFileReplacing(path, "second!", 7));
  std::vector<uint8_t> got;
  ASSERT_TRUE(save::ReadWholeFile(path, 100, got));
  EXPECT_EQ(std::string(got.begin(), got.end()), "second!");
  int files = 0;
  for (auto& e : std::filesystem::directory_iterator(dir.path())) files += e.is_regular_file();
  EXPECT_EQ(files, 1);
  EXPECT_FALSE(save::ReadWholeFile(path, 6, got));  // larger than allowed
  EXPECT_FALSE(save::ReadWholeFile(dir.File("missing"), 100, got));
  EXPECT_FALSE(save::ReadWholeFile(dir.path(), 100, got));  // a folder
  ASSERT_EQ(mkfifo(dir.File("pipe").c_str(), 0600), 0);
  EXPECT_FALSE(save::ReadWholeFile(dir.File("pipe"), 100, got));  // returns at once
}

TEST(SaveFileIO, InterruptedReplacementKeepsTheOldFile) {
  TestDir dir;
  std::string path = dir.File("CONFIG.SAV");
  ASSERT_TRUE(save::WriteFileReplacing(path, "old", 3));
  save::SetBeforeRenameHook(&RefuseRename);
  EXPECT_FALSE(save::WriteFileReplacing(path, "new contents", 12));
  save::SetBeforeRenameHook(nullptr);
  EXPECT_EQ(dir.Read("CONFIG.SAV"), "old");
  // A folder that does not exist cannot take the file.
  EXPECT_FALSE(save::WriteFileReplacing(dir.File("nowhere/x"), "x", 1));
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
