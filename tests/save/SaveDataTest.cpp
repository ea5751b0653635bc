#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "SaveFixture.h"
#include "assets/DIBImage.h"
#include "save/GameFile.h"
#include "save/SaveDigest.h"

namespace {

constexpr size_t T = 76800;

bool RefuseRename(const std::string&) { return false; }

TEST_F(SaveTest, NewInstallationStartsFromDefaultsAndTheFirstSaveMakesTheFolders) {
  UseRoot(mDir.path() + "not/yet/");
  auto s = Fresh();
  EXPECT_EQ(s->mConfig.nSkipMode, 1);
  EXPECT_EQ(s->mConfig.nMesSpeed, 128);
  EXPECT_TRUE(s->mConfig.bVoice);
  EXPECT_FALSE(s->mConfig.bFullScreen);
  EXPECT_FALSE(mDir.Exists("not"));
  EXPECT_EQ(s->GetSumValue(), 0xFFFFFFFFu);
  char sub[64] = "x";
  EXPECT_FALSE(CSaveData::GetSubTitle(0, sub, nullptr, nullptr));
  EXPECT_FALSE(s->LoadGame(0));
  ASSERT_TRUE(s->SaveGame(0));
  EXPECT_TRUE(mDir.Exists("not/yet/SAVE/GAME00.SAV"));
}

TEST_F(SaveTest, GameRoundTripKeepsGlobalsOutOfTheGame) {
  auto s = Fresh();
  strcpy(s->mszSubTitle, "Act 2");
  strcpy(s->mszSnrName, "S02");
  s->mVariable[0] = 11;
  s->mVariable[999] = 12;
  s->mVariable[1000] = 13;
  strcpy(s->mStrVariable[3], "Name");
  strcpy(s->mBGMList[7], "M07");
  strcpy(s->mVoiceList[8], "V08");
  s->mpSumImage->FillFull(0xFF112233u);
  for (uint32_t i = 0; i < 100; ++i) s->mpStateBuf[i] = static_cast<uint8_t>(i);
  s->mdwStateSize = 100;
  ASSERT_TRUE(s->SaveGame(12));
  EXPECT_EQ(mDir.Read("SAVE/GAME12.SAV").size(), 78678 + T + 100);

  auto t = Fresh();
  t->mVariable[1000] = 99;
  t->mpSumImage->FillFull(0);
  ASSERT_TRUE(t->LoadGame(12));
  EXPECT_STREQ(t->mszSubTitle, "Act 2");
  EXPECT_STREQ(t->mszSnrName, "S02");
  EXPECT_EQ(t->mVariable[0], 11);
  EXPECT_EQ(t->mVariable[999], 12);
  EXPECT_EQ(t->mVariable[1000], 99);  // global: not part of a game
  EXPECT_STREQ(t->mStrVariable[3], "Name");
  EXPECT_STREQ(t->mBGMList[7], "M07");
  EXPECT_STREQ(t->mVoiceList[8], "V08");
  EXPECT_EQ(t->mpSumImage->GetPixels()[159 * 120], 0xFF112233u);
  ASSERT_EQ(t->mdwStateSize, 100u);
  EXPECT_EQ(t->mpStateBuf[99], 99);

  char sub[64];
  CDIBImage* image = nullptr;
  uint64_t time = 0;
  ASSERT_TRUE(CSaveData::GetSubTitle(12, sub, &image, &time));
  EXPECT_STREQ(sub, "Act 2");
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->GetWidth(), 160);
  EXPECT_EQ(image->GetHeight(), 120);
  EXPECT_EQ(image->GetPixels()[0], 0xFF112233u);
  delete image;
  EXPECT_GT(time, 0u);
}

TEST_F(SaveTest, AnotherProductsSaveIsRefusedAndNothingChanges) {
  auto other = std::make_unique<SavedGame>();
  strcpy(other->subTitle, "Other");
  other->variable[0] = 555;
  std::vector<uint8_t> f = BuildGameFile(*other, "SOME OTHER TITLE", &SaveHexDigest);
  mDir.Write("SAVE/GAME01.SAV", std::string(f.begin(), f.end()));
  auto s = Fresh();
  s->mVariable[0] = 1;
  strcpy(s->mszSubTitle, "Mine");
  EXPECT_FALSE(s->LoadGame(1));
  EXPECT_EQ(s->mVariable[0], 1);
  EXPECT_STREQ(s->mszSubTitle, "Mine");
  char sub[64] = "stale";
  CDIBImage* image = reinterpret_cast<CDIBImage*>(1);
  uint64_t time = 5;
  EXPECT_FALSE(CSaveData::GetSubTitle(1, sub, &image, &time));
  EXPECT_STREQ(sub, "");
  EXPECT_EQ(image, nullptr);
  EXPECT_EQ(time, 0u);
}

TEST_F(SaveTest, DamagedSaveShowsAsEmptyAndIsNeverHalfLoaded) {
  auto s = Fresh();
  strcpy(s->mszSubTitle, "Good");
  s->mdwStateSize = 40;
  ASSERT_TRUE(s->SaveGame(3));
  std::string bytes = mDir.Read("SAVE/GAME03.SAV");
  mDir.Write("SAVE/GAME03.SAV", bytes.substr(0, bytes.size() - 1));
  strcpy(s->mszSubTitle, "Now");
  s->mVariable[5] = 5;
  EXPECT_FALSE(s->LoadGame(3));
  EXPECT_STREQ(s->mszSubTitle, "Now");
  EXPECT_EQ(s->mVariable[5], 5);
  char sub[64];
  EXPECT_FALSE(CSaveData::GetSubTitle(3, sub, nullptr, nullptr));
}

TEST_F(SaveTest, StateOf33BytesIsStoredAsTwoScrambledBlocks) {
  auto s = Fresh();
  memset(s->mpStateBuf, 0, 33);
  s->mdwStateSize = 33;
  ASSERT_TRUE(s->SaveGame(4));
  std::string f = mDir.Read("SAVE/GAME04.SAV");
  ASSERT_EQ(f.size(), 78678 + T + 33);
  std::string k0 = SaveHexDigest(std::string(SavePhrase()) + "0");
  std::string k1 = SaveHexDigest(std::string(SavePhrase()) + "1");
  EXPECT_EQ(f.substr(78678 + T, 32), k0);
  EXPECT_EQ(f[78678 + T + 32], k1[0]);
  EXPECT_EQ(f.substr(0, 32), SaveHexDigest(std::string(SavePhrase()) + "SaveData"));
}

TEST_F(SaveTest, KilledSaveKeepsTheOldFile) {
  auto s = Fresh();
  strcpy(s->mszSubTitle, "Before");
  ASSERT_TRUE(s->SaveGame(2));
  std::string before = mDir.Read("SAVE/GAME02.SAV");
  strcpy(s->mszSubTitle, "After");
  plat::SetBeforeRenameHook(&RefuseRename);
  EXPECT_FALSE(s->SaveGame(2));
  EXPECT_FALSE(s->SaveConfig());
  plat::SetBeforeRenameHook(nullptr);
  EXPECT_EQ(mDir.Read("SAVE/GAME02.SAV"), before);
  EXPECT_FALSE(mDir.Exists("SAVE/CONFIG.SAV"));
  int files = 0;
  for (auto& e : std::filesystem::directory_iterator(mDir.File("SAVE"))) files += e.is_regular_file();
  EXPECT_EQ(files, 1);
}

TEST_F(SaveTest, UnwritableFolderFailsTheSave) {
  mDir.Write("blocked", "a file where the folder should be");
  UseRoot(mDir.path() + "blocked/");
  auto s = Fresh();
  EXPECT_FALSE(s->SaveGame(0));
  EXPECT_FALSE(s->SaveConfig());
}

TEST_F(SaveTest, CreateDirectoryMakesEveryMissingFolder) {
  std::string deep = mDir.path() + "a/b\\c";
  EXPECT_TRUE(CSaveData::CreateDirectoryA(deep.c_str()));
  EXPECT_TRUE(CSaveData::IsExistFile((mDir.path() + "a/b/c").c_str()));
  EXPECT_TRUE(CSaveData::CreateDirectoryA(deep.c_str()));  // already there
  mDir.Write("a/file", "x");
  EXPECT_FALSE(CSaveData::CreateDirectoryA((mDir.path() + "a/file/d").c_str()));
  EXPECT_FALSE(CSaveData::IsExistFile((mDir.path() + "a/file").c_str()));
  EXPECT_FALSE(CSaveData::IsExistFile((mDir.path() + "none").c_str()));
}

TEST_F(SaveTest, SignatureIsTheDigestOfThePhrase) {
  EXPECT_EQ(SaveHexDigest("abc"), "900150983cd24fb0d6963f7d28e17f72");
  EXPECT_EQ(SaveHexDigest(""), "d41d8cd98f00b204e9800998ecf8427e");
}

}  // namespace
