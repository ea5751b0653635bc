#include <gtest/gtest.h>

#include <cstring>

#include "SaveFixture.h"

namespace {

TEST_F(SaveTest, ReadTextFlagsSurviveARestartAndAGameSaveDoesNotWriteThem) {
  {
    auto s = Fresh();
    strcpy(s->mszSnrName, "S01.MSD");
    EXPECT_FALSE(s->CheckKidokuFlag(5));
    s->SetKidokuFlag(5);
    s->mVariable[1500] = 77;
    s->mCGFlag[1][2][3] = 1;
    s->mSceneFlag[4][5] = 1;
    s->mConfig.nAutoSpeed = 9;
    ASSERT_TRUE(s->SaveConfig());
    std::string config = mDir.Read("SAVE/CONFIG.SAV");
    EXPECT_EQ(config.size(), 44436u + 260 + 1024);
    s->SetKidokuFlag(6);
    ASSERT_TRUE(s->SaveGame(0));
    EXPECT_EQ(mDir.Read("SAVE/CONFIG.SAV"), config);
  }
  auto t = Fresh();
  strcpy(t->mszSnrName, "s01");
  EXPECT_TRUE(t->CheckKidokuFlag(5));
  EXPECT_FALSE(t->CheckKidokuFlag(6));
  EXPECT_EQ(t->mVariable[1500], 77);
  EXPECT_EQ(t->mCGFlag[1][2][3], 1);
  EXPECT_EQ(t->mSceneFlag[4][5], 1);
  EXPECT_EQ(t->mConfig.nAutoSpeed, 9);
  // Written back unchanged, byte for byte.
  std::string first = mDir.Read("SAVE/CONFIG.SAV");
  ASSERT_TRUE(t->SaveConfig());
  EXPECT_EQ(mDir.Read("SAVE/CONFIG.SAV"), first);
}

TEST_F(SaveTest, DamagedConfigGivesDefaultsAndIsKeptAside) {
  {
    auto s = Fresh();
    s->mConfig.nMesSpeed = 3;
    ASSERT_TRUE(s->SaveConfig());
  }
  std::string good = mDir.Read("SAVE/CONFIG.SAV");
  std::string bad = good;
  bad[4000] = 5;  // five records that are not there
  mDir.Write("SAVE/CONFIG.SAV", bad);
  auto t = Fresh();
  EXPECT_EQ(t->mConfig.nMesSpeed, 128);
  EXPECT_EQ(mDir.Read("SAVE/CONFIG.SAV.bad"), bad);
  EXPECT_FALSE(mDir.Exists("SAVE/CONFIG.SAV"));
  ASSERT_TRUE(t->SaveConfig());
  EXPECT_EQ(mDir.Read("SAVE/CONFIG.SAV.bad"), bad);
  EXPECT_TRUE(mDir.Exists("SAVE/CONFIG.SAV"));
}

TEST_F(SaveTest, ReadTextBlockGrowsInStepsWithHeadroom) {
  auto s = Fresh();
  strcpy(s->mszSnrName, "LONG");
  s->SetKidokuFlag(8191);
  KidokuData* k = s->SearchKidokuBuff("LONG");
  ASSERT_NE(k, nullptr);
  EXPECT_EQ(k->dwSize, 1024u);
  EXPECT_EQ(k->pFlags[1023], 0x80);
  s->SetKidokuFlag(8192);
  EXPECT_EQ(k->dwSize, 3072u);
  EXPECT_EQ(k->pFlags[1023], 0x80);  // old bits kept
  EXPECT_EQ(k->pFlags[1024], 0x01);
  EXPECT_TRUE(s->CheckKidokuFlag(8191));
  EXPECT_FALSE(s->CheckKidokuFlag(8193));
  EXPECT_FALSE(s->SetupKidoku(k, -1));
  EXPECT_FALSE(s->SetupKidoku(nullptr, 0));
}

TEST_F(SaveTest, ReadTextRecordsRunOut) {
  auto s = Fresh();
  char name[16];
  for (int i = 0; i < 1000; ++i) {
    snprintf(name, sizeof name, "F%d", i);
    strcpy(s->mszSnrName, name);
    s->SetKidokuFlag(0);
  }
  // Names are cut at the first dot and compared ignoring case.
  EXPECT_EQ(s->SearchKidokuBuff("f999.msd"), &s->mKidoku[999]);
  EXPECT_EQ(s->SearchKidokuBuff("NEW"), nullptr);
  strcpy(s->mszSnrName, "NEW");
  s->SetKidokuFlag(1);
  EXPECT_FALSE(s->CheckKidokuFlag(1));
}

}  // namespace
