#include <gtest/gtest.h>

#include <string>

#include "TestDir.h"
#include "ToolRunner.h"
#include "assets/FileJoin.h"

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

}  // namespace
