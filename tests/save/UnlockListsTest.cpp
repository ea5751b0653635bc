#include "save/UnlockLists.h"

#include <gtest/gtest.h>

#include <cstring>

#include "SaveFixture.h"

namespace {

ListParam N(int32_t v) { return {false, v, {}}; }
ListParam S(const char* s) { return {true, 0, s}; }

TEST_F(SaveTest, GalleryListKeepsWellFormedRecordsAndTheFirstMatchUnlocks) {
  auto s = Fresh();
  std::vector<ListRecord> recs = {
      {N(100), N(0), N(2), N(3), S("CG01"), S("CG01B")},
      {N(100), N(0), N(1), N(3), S("cg01")},           // same picture, second entry
      {N(100), N(0), N(1), N(20), S("BAD")},           // group out of range
      {N(100), N(0), N(3), N(0), S("A"), S("B")},      // fewer names than it says
      {N(100), N(0), N(1), N(0), N(5)},                // a number where a name goes
      {N(100), N(1), N(1), N(0), S("X")},              // wrong second key
      {N(101), N(0), N(0), S("S01")},                  // a scene record
  };
  ListRecord longRec = {N(100), N(0), N(21), N(1)};
  for (int i = 0; i < 21; ++i) longRec.push_back(S("L"));
  recs.push_back(longRec);  // 25 parameters
  FillCGList(*s, recs);
  EXPECT_EQ(s->mCGCount[3], 2);
  EXPECT_EQ(s->mCGCount[0], 0);
  EXPECT_EQ(s->mCGCount[1], 0);
  EXPECT_STREQ(s->mCGList[3][0][1], "CG01B");
  EXPECT_STREQ(s->mCGList[3][1][0], "cg01");
  s->SetCGFlag("Cg01.MGD");
  EXPECT_EQ(s->mCGFlag[3][0][0], 1);
  EXPECT_EQ(s->mCGFlag[3][1][0], 0);
  s->SetCGFlag("CG01B");
  EXPECT_EQ(s->mCGFlag[3][0][1], 1);
  s->SetCGFlag("");
  EXPECT_EQ(s->mCGFlag[0][0][0], 0);
}

TEST_F(SaveTest, GalleryGroupHoldsAtMostAHundredEntries) {
  auto s = Fresh();
  std::vector<ListRecord> recs(101, ListRecord{N(100), N(0), N(1), N(7), S("P")});
  FillCGList(*s, recs);
  EXPECT_EQ(s->mCGCount[7], 100);
}

TEST_F(SaveTest, SceneListTakesExactlyFourParametersAndNamesWithExtensionsUnlock) {
  auto s = Fresh();
  std::vector<ListRecord> recs = {
      {N(101), N(0), N(2), S("S01")},
      {N(101), N(0), N(2), S("S02"), N(1)},  // five parameters
      {N(101), N(0), N(2), S("S03")},
      {N(101), N(0), N(-1), S("S04")},
  };
  for (int i = 0; i < 21; ++i) recs.push_back({N(101), N(0), N(5), S("R")});
  FillSceneList(*s, recs);
  EXPECT_EQ(s->mSceneCount[2], 2);
  EXPECT_STREQ(s->mSceneList[2][1], "S03");
  EXPECT_EQ(s->mSceneCount[5], 20);
  s->SetSceneFlag("s03.msd");
  EXPECT_EQ(s->mSceneFlag[2][1], 1);
  EXPECT_EQ(s->mSceneFlag[2][0], 0);
  // The read-text record of a file with an extension is kept under its stem.
  strcpy(s->mszSnrName, "S03.MSD");
  s->SetKidokuFlag(2);
  EXPECT_STREQ(s->SearchKidokuBuff("S03")->szName, "S03");
}

}  // namespace

#include "scenario/SnrBuffer.h"
#include "scenario/SnrImage.h"

namespace {

TEST(UnlockLists, SetupRecordsAreWalkedWithTheirParameters) {
  snr::SnrImage image;
  snr::Bytes a, b, c;
  snr::PutInt(a, 101);
  snr::PutInt(a, 0);
  snr::PutExpr(a, {{0, 1}, {0, 2}, {2, 0}});  // 1 + 2
  snr::PutStr(a, "S01");
  snr::PutRecord(image.commands, 0, a);
  snr::PutRecord(image.commands, 0, b);  // no parameters
  snr::PutInt(c, 100);
  c.push_back(4);  // an expression cut short by the end of the record
  snr::PutRecord(image.commands, 0, c);
  snr::Bytes file = image.Build();
  CSnrBuffer snr;
  ASSERT_TRUE(snr.ReadMemory("SCENELIST", file.data(), file.size(), "KEY"));
  std::vector<ListRecord> recs = ReadListRecords(snr);
  ASSERT_EQ(recs.size(), 3u);
  ASSERT_EQ(recs[0].size(), 4u);
  EXPECT_EQ(recs[0][2].value, 3);
  EXPECT_TRUE(recs[0][3].isString);
  EXPECT_EQ(recs[0][3].text, "S01");
  EXPECT_TRUE(recs[1].empty());
  EXPECT_TRUE(recs[2].empty());
}

}  // namespace
