#include "platform/Profile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "TestDir.h"

namespace {

TEST(Profile, MissingFileSectionOrKeyGivesTheDefault) {
  TestDir dir;
  std::string ini = dir.File("Novel.ini");
  EXPECT_EQ(plat::GetProfileValue("System", "NoneEffect", "7", ini), "7");
  dir.Write("Novel.ini", "[Other]\nNoneEffect=1\n");
  EXPECT_EQ(plat::GetProfileValue("System", "NoneEffect", "7", ini), "7");
  dir.Write("Novel.ini", "[System]\nFrameSpeed=3\n");
  EXPECT_EQ(plat::GetProfileValue("System", "NoneEffect", "7", ini), "7");
}

TEST(Profile, NamesMatchWithoutCaseAndValuesAreTrimmed) {
  TestDir dir;
  dir.Write("Novel.ini", "; comment\r\n[ system ]\r\n  noneeffect =  1  \r\nPos=\"10,20\"\r\n");
  std::string ini = dir.File("Novel.ini");
  EXPECT_EQ(plat::GetProfileValue("System", "NoneEffect", "0", ini), "1");
  EXPECT_EQ(plat::GetProfileValue("SYSTEM", "pos", "", ini), "10,20");
  char small[3];
  EXPECT_EQ(plat::GetPrivateProfileString("System", "Pos", "", small, sizeof small, ini.c_str()), 2u);
  EXPECT_STREQ(small, "10");
}

TEST(Profile, WriteChangesOneKeyAndKeepsEverythingElse) {
  TestDir dir;
  dir.Write("Novel.ini", "; keep me\n[MainWindow]\nPos=1,2\n\n[System]\nNoneEffect=0\nCustom=x\n\n[Mine]\na=b\n");
  std::string ini = dir.File("Novel.ini");
  ASSERT_TRUE(plat::WritePrivateProfileString("System", "NoneEffect", "1", ini.c_str()));
  ASSERT_TRUE(plat::WritePrivateProfileString("System", "AlphaFlip", "0", ini.c_str()));
  ASSERT_TRUE(plat::WritePrivateProfileString("New", "k", "v", ini.c_str()));
  EXPECT_EQ(dir.Read("Novel.ini"),
            "; keep me\r\n[MainWindow]\r\nPos=1,2\r\n\r\n[System]\r\nNoneEffect=1\r\nCustom=x\r\nAlphaFlip=0\r\n\r\n"
            "[Mine]\r\na=b\r\n[New]\r\nk=v\r\n");
}

TEST(Profile, UnwritableFileIsReportedAsFailure) {
  TestDir dir;
  std::string missingDir = dir.File("no/such/folder/Novel.ini");
  EXPECT_FALSE(plat::WritePrivateProfileString("System", "NoneEffect", "1", missingDir.c_str()));
}

}  // namespace
