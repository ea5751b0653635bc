#include <gtest/gtest.h>

#include <string>

#include "TestDir.h"
#include "ToolRunner.h"
#include "assets/FileJoin.h"
#include "platform/Encoding.h"

namespace {

class ArcTool : public ::testing::Test {
 protected:
  void SetUp() override {
    if (VeltoToolPath().empty()) GTEST_SKIP() << "velto-tool not built";
    dir.Write("in/B.MGD", "bbb");
    dir.Write("in/a_1.mgd", "a");
    dir.Write("in/A.MGD", std::string(300, 'x'));
  }
  std::string In(const char* name) { return "'" + dir.File(std::string("in/") + name) + "'"; }
  TestDir dir;
};

TEST_F(ArcTool, CreateListExtractRoundTripsEachKind) {
  for (const char* kind : {"fjsys", "sm2mpx10", "mgcfile"}) {
    std::string archive = dir.File(std::string("MGD_") + kind);
    ASSERT_EQ(RunTool(std::string("arc create --kind ") + kind + " '" + archive + "' " + In("B.MGD") + " " +
                      In("a_1.mgd") + " " + In("A.MGD")),
              0)
        << kind;
    std::string listing;
    ASSERT_EQ(RunTool("arc list '" + archive + "'", &listing), 0);
    // Stored in lookup order, offsets following the tables.
    size_t tables = std::string(kind) == "fjsys" ? 84 + 3 * 16 + 6 + 8 + 6
                    : std::string(kind) == "sm2mpx10" ? 32 + 3 * 20
                                                      : 32 + 3 * 32;
    std::string expected = "A.MGD\t300\t" + std::to_string(tables) + "\n" + "a_1.mgd\t1\t" +
                           std::to_string(tables + 300) + "\n" + "B.MGD\t3\t" + std::to_string(tables + 301) + "\n";
    EXPECT_EQ(listing, expected) << kind;

    std::string out = std::string("out_") + kind;
    ASSERT_EQ(RunTool("arc extract '" + archive + "' '" + dir.File(out) + "'"), 0);
    for (const char* name : {"B.MGD", "a_1.mgd", "A.MGD"})
      EXPECT_EQ(dir.Read(out + "/" + name), dir.Read(std::string("in/") + name)) << kind << name;

    // And the engine finds every entry in it.
    CFileJoin join;
    ASSERT_TRUE(join.Initialize(dir.path().c_str(), (std::string("MGD_") + kind).c_str(), ".MGD"));
    for (const char* name : {"b", "A_1", "a"}) {
      EXPECT_TRUE(join.Open(name)) << kind << name;
      join.Close();
    }
  }
}

TEST_F(ArcTool, RefusesNamesTheKindCannotHoldAndUnreadableArchives) {
  dir.Write("in/LONGNAME9.MGD", "x");
  EXPECT_NE(RunTool("arc create --kind sm2mpx10 '" + dir.File("X") + "' " + In("LONGNAME9.MGD")), 0);
  EXPECT_FALSE(dir.Exists("X"));
  EXPECT_EQ(RunTool("arc create --kind fjsys '" + dir.File("X") + "' " + In("LONGNAME9.MGD")), 0);
  EXPECT_NE(RunTool("arc create --kind zip '" + dir.File("Y") + "' " + In("A.MGD")), 0);
  EXPECT_NE(RunTool("arc create --kind fjsys '" + dir.File("Y") + "'"), 0);
  dir.Write("junk", "not an archive");
  EXPECT_NE(RunTool("arc list '" + dir.File("junk") + "'"), 0);
}

// Names outside ASCII are stored in the game's encoding, where the engine
// looks them up, and shown and unpacked in UTF-8 again. "表" is here for
// Shift-JIS, whose second byte of it is the code of a backslash.
TEST_F(ArcTool, NamesAreStoredInTheGamesEncodingAndFoundByTheEngine) {
  dir.Write("in/画像あ.MGD", "kana");  // 13 bytes in UTF-8, at most 10 in the game's encoding
  dir.Write("in/表.MGD", "table");
  for (const char* kind : {"fjsys", "sm2mpx10", "mgcfile"}) {
    std::string archive = std::string("NAMES_") + kind;
    ASSERT_EQ(RunTool(std::string("arc create --kind ") + kind + " '" + dir.File(archive) + "' " + In("画像あ.MGD") +
                      " " + In("表.MGD")),
              0)
        << kind;
    std::string listing;
    ASSERT_EQ(RunTool("arc list '" + dir.File(archive) + "'", &listing), 0);
    EXPECT_NE(listing.find("画像あ.MGD\t4\t"), std::string::npos) << listing;
    EXPECT_NE(listing.find("表.MGD\t5\t"), std::string::npos) << listing;
    CFileJoin join;
    ASSERT_TRUE(join.Initialize(dir.path().c_str(), archive.c_str(), ".MGD"));
    for (const char* name : {"画像あ", "表"}) {
      ASSERT_TRUE(join.Open(plat::FromUtf8(name).c_str())) << kind << " " << name;
      join.Close();
    }
    std::string out = std::string("names_") + kind;
    ASSERT_EQ(RunTool("arc extract '" + dir.File(archive) + "' '" + dir.File(out) + "'"), 0) << kind;
    EXPECT_EQ(dir.Read(out + "/画像あ.MGD"), "kana");
    EXPECT_EQ(dir.Read(out + "/表.MGD"), "table");
  }
  // A name the encoding has no form for is refused, not stored as '?'.
  dir.Write("in/\xF0\x9F\x98\x80.MGD", "smile");
  EXPECT_NE(RunTool("arc create --kind fjsys '" + dir.File("SMILE") + "' " + In("\xF0\x9F\x98\x80.MGD")), 0);
  EXPECT_FALSE(dir.Exists("SMILE"));
}

}  // namespace
