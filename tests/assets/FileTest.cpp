#include "assets/File.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "TestDir.h"

namespace {

TEST(File, WritesReadsSeeksAndSizes) {
  TestDir dir;
  CFile f;
  ASSERT_TRUE(f.Open(dir.File("a.bin").c_str(), GENERIC_WRITE, CREATE_ALWAYS));
  EXPECT_EQ(f.Write("hello world", 11), 11u);
  EXPECT_EQ(f.Size(), 11u);
  f.Close();
  EXPECT_EQ(f.GetHandle(), kInvalidFileHandle);

  ASSERT_TRUE(f.Open(dir.File("a.bin").c_str(), GENERIC_READ, OPEN_EXISTING));
  char buf[16] = {};
  EXPECT_EQ(f.Seek(6, FILE_BEGIN), 6u);
  EXPECT_EQ(f.Read(buf, 5), 5u);
  EXPECT_STREQ(buf, "world");
  // A read that cannot be satisfied in full reports nothing.
  EXPECT_EQ(f.Seek(-3, FILE_END), 8u);
  EXPECT_EQ(f.Read(buf, 4), 0u);
  EXPECT_EQ(f.Seek(0, FILE_CURRENT), 11u);
  // Writing to a file opened for reading fails.
  EXPECT_EQ(f.Write("x", 1), 0u);
}

TEST(File, CreationDispositions) {
  TestDir dir;
  CFile f;
  EXPECT_FALSE(f.Open(dir.File("missing").c_str(), GENERIC_READ, OPEN_EXISTING));
  EXPECT_EQ(f.GetHandle(), kInvalidFileHandle);
  ASSERT_TRUE(f.Open(dir.File("n").c_str(), GENERIC_WRITE, CREATE_NEW));
  f.Write("abc", 3);
  EXPECT_FALSE(f.Open(dir.File("n").c_str(), GENERIC_WRITE, CREATE_NEW));
  ASSERT_TRUE(f.Open(dir.File("n").c_str(), GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS));
  EXPECT_EQ(f.Size(), 3u);
  ASSERT_TRUE(f.Open(dir.File("n").c_str(), GENERIC_WRITE, CREATE_ALWAYS));
  EXPECT_EQ(f.Size(), 0u);
  // A folder is not a file.
  EXPECT_FALSE(f.Open(dir.path().c_str(), GENERIC_READ, OPEN_EXISTING));
}

TEST(File, FindsFilesWhoseCaseDiffersAndTakesBackslashes) {
  TestDir dir;
  dir.Write("save/game01.sav", "data");
  CFile f;
  ASSERT_TRUE(f.Open((dir.path() + "SAVE\\GAME01.SAV").c_str(), GENERIC_READ, OPEN_EXISTING));
  EXPECT_EQ(f.Size(), 4u);
  // Creating goes into the folder that exists, whatever its case.
  ASSERT_TRUE(f.Open((dir.path() + "SAVE\\CONFIG.SAV").c_str(), GENERIC_WRITE, CREATE_ALWAYS));
  f.Close();
  EXPECT_TRUE(dir.Exists("save/CONFIG.SAV"));
}

TEST(File, HandleHelpersReadAtOffsets) {
  TestDir dir;
  dir.Write("h.bin", "0123456789");
  FileHandle h = FileOpenRead(dir.File("H.BIN"));
  ASSERT_GT(h, 0);
  char buf[8] = {};
  EXPECT_EQ(FileReadAt(h, buf, 4, 3), 4u);
  EXPECT_EQ(std::string(buf, 4), "3456");
  EXPECT_EQ(FileReadAt(h, buf, 8, 7), 3u);
  EXPECT_EQ(FileSize64(h), 10u);
  FileCloseHandle(h);
  EXPECT_EQ(FileOpenRead(dir.File("none")), kInvalidFileHandle);
  EXPECT_EQ(FileReadAt(kInvalidFileHandle, buf, 1, 0), 0u);
}

}  // namespace
