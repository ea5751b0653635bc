#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "ArchiveTestUtil.h"
#include "TestDir.h"
#include "assets/FileJoin.h"

namespace {

using Files = std::vector<std::pair<std::string, std::string>>;

const Files kFiles = {
    {"B.MGD", "bee"},         {"A1.MGD", "a-one"},     {"A_B.MGD", "a-under-b"}, {"A.MGD", "a"},
    {"_X.MGD", "under-x"},    {"TITLE01.MGD", "title"}, {"README", "no dot"},    {"ZZ.MGD", ""},
};

std::string Slurp(CFileJoin& join, const char* name) {
  if (!join.Open(name)) return "<missing>";
  std::string data(join.GetSize(), '\0');
  uint32_t got = join.Read(data.data(), static_cast<uint32_t>(data.size()));
  join.Close();
  return got == data.size() ? data : "<short>";
}

class ArchiveKinds : public ::testing::TestWithParam<uint32_t> {
 protected:
  void Make(const Files& files) {
    std::string bytes = BuildArchive(GetParam(), files);
    ASSERT_FALSE(bytes.empty());
    dir.Write("MGD", bytes);
    ASSERT_TRUE(join.Initialize(dir.path().c_str(), "MGD", ".MGD"));
  }
  TestDir dir;
  CFileJoin join;
};

TEST_P(ArchiveKinds, EveryEntryIsFoundByEveryCaseWithOrWithoutExtension) {
  Make(kFiles);
  EXPECT_EQ(join.GetMode(), CFileJoin::kModeArchive);
  EXPECT_EQ(join.GetKind(), GetParam());
  EXPECT_EQ(join.GetEntryCount(), static_cast<int>(kFiles.size()));
  for (const auto& [name, data] : kFiles) {
    if (name == "README") continue;
    EXPECT_EQ(Slurp(join, name.c_str()), data) << name;
    std::string lower = name;
    for (char& c : lower) c = static_cast<char>(tolower(c));
    EXPECT_EQ(Slurp(join, lower.c_str()), data) << lower;
  }
  EXPECT_EQ(Slurp(join, "title01"), "title");
  EXPECT_EQ(Slurp(join, "a_b"), "a-under-b");
  // "README" has no dot: asking for it adds ".MGD", which is not stored.
  EXPECT_EQ(Slurp(join, "README"), "<missing>");
  EXPECT_EQ(Slurp(join, "README."), "<missing>");
}

TEST_P(ArchiveKinds, KeysOutsideTheTableAreNotFound) {
  Make(kFiles);
  for (const char* key : {"", "!", "..", "0", "ZZZ.MGD", "~~~~", "\xFF\xFF"}) {
    EXPECT_FALSE(join.Open(key)) << key;
    EXPECT_EQ(join.GetSize(), 0u);
    EXPECT_EQ(join.FileSearch(key, false), -1);
  }
}

TEST_P(ArchiveKinds, SeekIsRelativeToTheEntry) {
  Make(kFiles);
  ASSERT_TRUE(join.Open("A_B"));
  char buf[5];
  join.Seek(2);
  ASSERT_EQ(join.Read(buf, 5), 5u);
  EXPECT_EQ(std::string(buf, 5), "under");
  join.Close();
  EXPECT_EQ(join.GetSize(), 0u);
}

TEST_P(ArchiveKinds, MultiTokensAreOneBasedEntryNumbers) {
  Make(kFiles);
  EXPECT_EQ(join.OpenMulti("_X"), 1);
  EXPECT_EQ(join.OpenMulti("missing"), 0);
  intptr_t token = join.OpenMulti("title01");
  ASSERT_GT(token, 0);
  ArchiveEntryInfo info;
  ASSERT_TRUE(join.GetEntryInfo(static_cast<int>(token - 1), &info));
  EXPECT_EQ(info.name, "TITLE01.MGD");
  EXPECT_EQ(join.GetSizeMulti(token), 5u);
  EXPECT_EQ(join.GetBeginOffsetMulti64(token), info.offset);
  FileHandle h = join.GetHandleMulti(token);
  ASSERT_GT(h, 0);
  // The streaming handle reads independently of Open/Read on the object.
  ASSERT_TRUE(join.Open("B"));
  char buf[5];
  EXPECT_EQ(FileReadAt(h, buf, 5, join.GetBeginOffsetMulti64(token)), 5u);
  EXPECT_EQ(std::string(buf, 5), "title");
  char bee[3];
  EXPECT_EQ(join.Read(bee, 3), 3u);
  EXPECT_EQ(std::string(bee, 3), "bee");
  join.Close();
  FileCloseHandle(h);
  EXPECT_EQ(join.GetHandleMulti(0), kInvalidFileHandle);
  EXPECT_EQ(join.GetSizeMulti(1000), 0u);
}

TEST_P(ArchiveKinds, EntriesAreStoredInLookupOrder) {
  Make(kFiles);
  std::vector<std::string> stored;
  ArchiveEntryInfo info;
  for (int i = 0; join.GetEntryInfo(i, &info); ++i) stored.push_back(info.name);
  std::vector<std::string> expected = {"_X.MGD", "A.MGD",  "A_B.MGD", "A1.MGD",
                                       "B.MGD",  "README", "TITLE01.MGD", "ZZ.MGD"};
  EXPECT_EQ(stored, expected);
  EXPECT_FALSE(join.GetEntryInfo(-1, &info));
  EXPECT_FALSE(join.GetEntryInfo(8, &info));
}

TEST_P(ArchiveKinds, ZeroEntriesFailInitialisation) {
  std::string bytes = BuildArchive(GetParam(), {{"A.MGD", "x"}});
  size_t countAt = GetParam() == CFileJoin::kKindFJSYS ? 16 : GetParam() == CFileJoin::kKindMGCFILE ? 12 : 8;
  for (int64_t count : {0, -1}) {
    PutLe(&bytes, countAt, static_cast<uint32_t>(count), 4);
    dir.Write("MGD", bytes);
    EXPECT_FALSE(join.Initialize(dir.path().c_str(), "MGD", ".MGD"));
    EXPECT_EQ(join.GetMode(), CFileJoin::kModeNone);
    EXPECT_FALSE(join.Open("A"));
  }
}

TEST_P(ArchiveKinds, CountsTheFileCannotHoldAndTruncatedTablesFail) {
  std::string bytes = BuildArchive(GetParam(), kFiles);
  size_t countAt = GetParam() == CFileJoin::kKindFJSYS ? 16 : GetParam() == CFileJoin::kKindMGCFILE ? 12 : 8;
  std::string huge = bytes;
  PutLe(&huge, countAt, 0x7FFFFFFF, 4);
  dir.Write("MGD", huge);
  EXPECT_FALSE(join.Initialize(dir.path().c_str(), "MGD", ".MGD"));
  for (size_t cut : {size_t{4}, size_t{8}, size_t{31}, size_t{40}, size_t{100}}) {
    dir.Write("MGD", bytes.substr(0, cut));
    EXPECT_FALSE(join.Initialize(dir.path().c_str(), "MGD", ".MGD")) << cut;
  }
}

TEST_P(ArchiveKinds, EntryDataBeyondTheArchiveIsNotOpened) {
  std::string bytes = BuildArchive(GetParam(), {{"A.MGD", "aaaa"}, {"B.MGD", "bbbb"}});
  dir.Write("MGD", bytes.substr(0, bytes.size() - 2));
  ASSERT_TRUE(join.Initialize(dir.path().c_str(), "MGD", ".MGD"));
  EXPECT_EQ(Slurp(join, "A"), "aaaa");
  EXPECT_FALSE(join.Open("B"));
  EXPECT_EQ(join.GetSize(), 0u);
  EXPECT_EQ(join.OpenMulti("B"), 0);
}

INSTANTIATE_TEST_SUITE_P(Kinds, ArchiveKinds,
                         ::testing::Values(CFileJoin::kKindFJSYS, CFileJoin::kKindSM2MPX10, CFileJoin::kKindMGCFILE),
                         [](const auto& info) {
                           return std::string(info.param == CFileJoin::kKindFJSYS      ? "FJSYS"
                                              : info.param == CFileJoin::kKindSM2MPX10 ? "SM2MPX10"
                                                                                       : "MGCFILE");
                         });

TEST(ArchiveSM2MPX10, TwelveByteNamesHaveNoTerminator) {
  TestDir dir;
  dir.Write("MGD", BuildArchive(CFileJoin::kKindSM2MPX10,
                                {{"ABCDEFGH.MGD", "full"}, {"ABCDEFGI.MGD", "next"}, {"ABCDEFG.MGD", "short"}}));
  CFileJoin join;
  ASSERT_TRUE(join.Initialize(dir.path().c_str(), "MGD", ".MGD"));
  EXPECT_EQ(Slurp(join, "ABCDEFGH"), "full");
  EXPECT_EQ(Slurp(join, "abcdefgi.mgd"), "next");
  EXPECT_EQ(Slurp(join, "ABCDEFG"), "short");
  // A longer key that starts with a full 12-byte name is another name.
  EXPECT_EQ(Slurp(join, "ABCDEFGH.MGDX"), "<missing>");
}

TEST(ArchiveFJSYS, NameOffsetsOutsideTheNameTableOrUnterminatedFail) {
  TestDir dir;
  std::string bytes = BuildArchive(CFileJoin::kKindFJSYS, {{"A.MGD", "1"}, {"B.MGD", "2"}});
  CFileJoin join;
  std::string bad = bytes;
  PutLe(&bad, 84 + 16, 1000, 4);  // second entry's name offset
  dir.Write("MGD", bad);
  EXPECT_FALSE(join.Initialize(dir.path().c_str(), "MGD", ".MGD"));
  // The name table's last NUL overwritten: the last name runs off the table.
  bad = bytes;
  bad[84 + 32 + 11] = 'X';
  dir.Write("MGD", bad);
  EXPECT_FALSE(join.Initialize(dir.path().c_str(), "MGD", ".MGD"));
  dir.Write("MGD", bytes);
  EXPECT_TRUE(join.Initialize(dir.path().c_str(), "MGD", ".MGD"));
}

TEST(ArchiveMGCFILE, NameFillingTheFieldStopsAtTheField) {
  TestDir dir;
  std::string bytes = BuildArchive(CFileJoin::kKindMGCFILE, {{"A.MGD", "1"}});
  const std::string full = "QQQQQQQQQQQQQQQQ.QQQ";
  for (int i = 0; i < 20; ++i) bytes[32 + i] = full[i];
  dir.Write("MGD", bytes);
  CFileJoin join;
  ASSERT_TRUE(join.Initialize(dir.path().c_str(), "MGD", ".MGD"));
  EXPECT_EQ(Slurp(join, full.c_str()), "1");
  EXPECT_EQ(Slurp(join, (full + "Q").c_str()), "<missing>");
}

TEST(ArchiveMagic, UnknownOrShortMagicIsNotAnArchive) {
  TestDir dir;
  CFileJoin join;
  for (std::string head : {std::string("FJSYS\0\0X", 8), std::string("SM2MPX1"), std::string("MGCFILE"), std::string()}) {
    dir.Write("MSD", head + std::string(200, '\0'));
    if (head.size() < 8) dir.Write("MSD", head);
    EXPECT_FALSE(join.Initialize(dir.path().c_str(), "MSD", ".MSD"));
    EXPECT_EQ(join.GetKind(), CFileJoin::kKindNone);
  }
}

TEST(ArchiveWriter, RefusesNamesThatDoNotFitAndDuplicates) {
  std::vector<uint8_t> tables;
  std::string error;
  std::vector<ArchiveItem> items = {{"ABCDEFGHI.MGD", 1, 0}};
  EXPECT_FALSE(MakeArchiveTables(CFileJoin::kKindSM2MPX10, &items, &tables, &error));
  EXPECT_NE(error.find("ABCDEFGHI.MGD"), std::string::npos);
  items = {{std::string(20, 'N'), 1, 0}};
  EXPECT_FALSE(MakeArchiveTables(CFileJoin::kKindMGCFILE, &items, &tables, &error));
  items = {{std::string(19, 'N'), 1, 0}};
  EXPECT_TRUE(MakeArchiveTables(CFileJoin::kKindMGCFILE, &items, &tables, &error));
  items = {{"a.mgd", 1, 0}, {"A.MGD", 2, 0}};
  EXPECT_FALSE(MakeArchiveTables(CFileJoin::kKindFJSYS, &items, &tables, &error));
  items = {};
  EXPECT_FALSE(MakeArchiveTables(CFileJoin::kKindFJSYS, &items, &tables, &error));
  items = {{"", 1, 0}};
  EXPECT_FALSE(MakeArchiveTables(CFileJoin::kKindFJSYS, &items, &tables, &error));
  items = {{"A", 1, 0}};
  EXPECT_FALSE(MakeArchiveTables(7, &items, &tables, &error));
}

}  // namespace
