#include "assets/FileJoin.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ArchiveTestUtil.h"
#include "TestDir.h"

namespace {

std::string ReadAll(CFileJoin& join, const char* name) {
  if (!join.Open(name)) return "<missing>";
  std::string data(join.GetSize(), '\0');
  uint32_t got = join.Read(data.data(), static_cast<uint32_t>(data.size()));
  join.Close();
  return got == data.size() ? data : "<short>";
}

TEST(FileJoinDirectory, FindsLooseFilesWhateverTheirCase) {
  TestDir dir;
  dir.Write("mgd/title01.mgd", "picture");
  dir.Write("mgd/sub/Cg.Png", "cg");
  CFileJoin join;
  ASSERT_TRUE(join.Initialize(dir.path().c_str(), "MGD", ".MGD"));
  EXPECT_EQ(join.GetMode(), CFileJoin::kModeDirectory);
  EXPECT_EQ(ReadAll(join, "TITLE01"), "picture");
  EXPECT_EQ(ReadAll(join, "TITLE01.MGD"), "picture");
  EXPECT_EQ(ReadAll(join, "sub\\CG.PNG"), "cg");
  // A name with a dot is looked for exactly; no extension is added.
  EXPECT_EQ(ReadAll(join, "title01.x"), "<missing>");
  EXPECT_EQ(join.GetSize(), 0u);
}

TEST(FileJoinDirectory, ReadSeekAndReopen) {
  TestDir dir;
  dir.Write("DATA/A.DAT", "abcdef");
  dir.Write("DATA/B.DAT", "xyz");
  CFileJoin join;
  ASSERT_TRUE(join.Initialize(dir.path().c_str(), "DATA", ".DAT"));
  ASSERT_TRUE(join.Open("A"));
  EXPECT_EQ(join.GetSize(), 6u);
  char buf[8] = {};
  join.Seek(2);
  EXPECT_EQ(join.Read(buf, 3), 3u);
  EXPECT_EQ(std::string(buf, 3), "cde");
  EXPECT_EQ(join.Read(buf, 8), 1u);
  // Opening another file closes the one left open.
  ASSERT_TRUE(join.Open("B"));
  EXPECT_EQ(join.GetSize(), 3u);
  join.Close();
  EXPECT_EQ(join.GetSize(), 0u);
  EXPECT_EQ(join.Read(buf, 1), 0u);
}

TEST(FileJoinDirectory, MultiTokensAreOwnHandles) {
  TestDir dir;
  dir.Write("VOICE/V001.OGG", "voice-data");
  CFileJoin join;
  ASSERT_TRUE(join.Initialize(dir.path().c_str(), "VOICE", ".OGG"));
  intptr_t token = join.OpenMulti("v001");
  ASSERT_GT(token, 0);
  EXPECT_EQ(join.GetSizeMulti(token), 10u);
  EXPECT_EQ(join.GetBeginOffsetMulti64(token), 0u);
  FileHandle h = join.GetHandleMulti(token);
  EXPECT_EQ(h, token);
  // The object's own handle stays free meanwhile.
  EXPECT_EQ(ReadAll(join, "V001"), "voice-data");
  char buf[5];
  EXPECT_EQ(FileReadAt(h, buf, 5, 6), 4u);
  EXPECT_EQ(std::string(buf, 4), "data");
  FileCloseHandle(h);
  EXPECT_EQ(join.OpenMulti("nothing"), 0);
  EXPECT_EQ(join.GetSizeMulti(0), 0u);
}

TEST(FileJoinSource, MissingSourceFailsAndIsUnusable) {
  TestDir dir;
  CFileJoin join;
  EXPECT_FALSE(join.Initialize(dir.path().c_str(), "SE", ".OGG"));
  EXPECT_EQ(join.GetMode(), CFileJoin::kModeNone);
  EXPECT_FALSE(join.Open("A"));
  EXPECT_EQ(join.GetSize(), 0u);
  EXPECT_EQ(join.OpenMulti("A"), 0);
  EXPECT_EQ(join.GetHandleMulti(1), kInvalidFileHandle);
}

TEST(FileJoinSource, SourceNameCaseAndFolderMakesADirectorySource) {
  TestDir dir;
  dir.Write("bgm/B01.OGG", "loose");
  CFileJoin join;
  ASSERT_TRUE(join.Initialize(dir.path().c_str(), "BGM", ".OGG"));
  EXPECT_EQ(join.GetMode(), CFileJoin::kModeDirectory);
  EXPECT_EQ(ReadAll(join, "B01"), "loose");
  // An archive beside a folder whose name differs only in case: the folder
  // makes the source, even when the archive's name is the exact one.
  dir.Write("BGM", BuildArchive(CFileJoin::kKindMGCFILE, {{"B01.OGG", "archived"}}));
  ASSERT_TRUE(join.Initialize(dir.path().c_str(), "BGM", ".OGG"));
  EXPECT_EQ(join.GetMode(), CFileJoin::kModeDirectory);
  EXPECT_EQ(ReadAll(join, "B01"), "loose");
  // An archive alone is found whatever its case.
  dir.Write("Se", BuildArchive(CFileJoin::kKindFJSYS, {{"S01.OGG", "effect"}}));
  ASSERT_TRUE(join.Initialize(dir.path().c_str(), "SE", ".OGG"));
  EXPECT_EQ(join.GetMode(), CFileJoin::kModeArchive);
  EXPECT_EQ(ReadAll(join, "s01"), "effect");
}

TEST(FileJoinSource, SixSourcesTable) {
  const char* names[6] = {"DATA", "MGD", "MSD", "SE", "BGM", "VOICE"};
  const char* exts[6] = {".DAT", ".MGD", ".MSD", ".OGG", ".OGG", ".OGG"};
  for (int i = 0; i < 6; ++i) {
    EXPECT_STREQ(kFileJoinSources[i].name, names[i]);
    EXPECT_STREQ(kFileJoinSources[i].ext, exts[i]);
  }
}

}  // namespace
