#include "app/Config.h"

#include <gtest/gtest.h>

#include "TestDir.h"

namespace {

const plat::POINT kCentred{560, 240};

TEST(Config, MissingOrGarbledFileGivesTheDefaults) {
  TestDir dir;
  for (const char* text : {"", "\x01\x02garbage\n[[[\n=\n", "[System\nNoneEffect=1\n"}) {
    dir.Write("Novel.ini", text);
    IniSettings s = ReadIniSettings(dir.File("Novel.ini"), kCentred);
    EXPECT_FALSE(s.bNoneEffect);
    EXPECT_EQ(s.nFrameSpeed, 1);
    EXPECT_TRUE(s.bSystemSE);
    EXPECT_EQ(s.pos.x, kCentred.x);
    EXPECT_EQ(s.pos.y, kCentred.y);
  }
  IniSettings none = ReadIniSettings(dir.File("absent.ini"), kCentred);
  EXPECT_TRUE(none.bSystemSE);
}

TEST(Config, SwitchesParseAsDecimalAndUnparsableMeansOff) {
  TestDir dir;
  dir.Write("Novel.ini",
            "[System]\nSystemSE=yes\nNoneEffect=-2\nAltAndEnter= 1 \nNonePause=0x1\nBGMSmallVolume=12abc\n"
            "FrameSpeed=fast\nAlphaFlip=\n[MainWindow]\nDebugWndAttach=1\n");
  IniSettings s = ReadIniSettings(dir.File("Novel.ini"), kCentred);
  EXPECT_FALSE(s.bSystemSE) << "an unparsable switch is off whatever its default";
  EXPECT_TRUE(s.bNoneEffect);
  EXPECT_TRUE(s.bAltAndEnter);
  EXPECT_FALSE(s.bNonePause) << "hexadecimal is not decimal: 0 then junk";
  EXPECT_TRUE(s.bBGMSmallVolume);
  EXPECT_EQ(s.nFrameSpeed, 1) << "an unparsable FrameSpeed leaves 1";
  EXPECT_FALSE(s.bAlphaFlip);
  EXPECT_TRUE(s.bDebugWndAttach);
}

TEST(Config, FrameSpeedIsRaisedToOne) {
  TestDir dir;
  dir.Write("Novel.ini", "[System]\nFrameSpeed=-5\n");
  EXPECT_EQ(ReadIniSettings(dir.File("Novel.ini"), kCentred).nFrameSpeed, 1);
  dir.Write("Novel.ini", "[System]\nFrameSpeed=4\n");
  EXPECT_EQ(ReadIniSettings(dir.File("Novel.ini"), kCentred).nFrameSpeed, 4);
}

TEST(Config, PositionIsTwoIntegersElseCentred) {
  TestDir dir;
  dir.Write("Novel.ini", "[MainWindow]\nPos=-3000,99999\n");
  IniSettings far = ReadIniSettings(dir.File("Novel.ini"), kCentred);
  EXPECT_EQ(far.pos.x, -3000) << "a position outside the desktop is used unchanged";
  EXPECT_EQ(far.pos.y, 99999);
  dir.Write("Novel.ini", "[MainWindow]\nPos=12\n");
  IniSettings bad = ReadIniSettings(dir.File("Novel.ini"), kCentred);
  EXPECT_EQ(bad.pos.x, kCentred.x);
  EXPECT_EQ(bad.pos.y, kCentred.y);
  plat::POINT c = CentredWindowPos(0, 0, 1025, 769);
  EXPECT_EQ(c.x, 112);
  EXPECT_EQ(c.y, 84);
  plat::POINT small = CentredWindowPos(0, 0, 799, 599);  // rounds toward zero
  EXPECT_EQ(small.x, 0);
  EXPECT_EQ(small.y, 0);
}

TEST(Config, WriteBackOrderIsPosThenTheSystemKeys) {
  TestDir dir;
  IniSettings s;
  s.pos = plat::POINT{5, 6};
  s.nFrameSpeed = 3;
  s.bAlphaFlip = true;
  ASSERT_TRUE(WriteIniSettings(dir.File("Novel.ini"), s));
  EXPECT_EQ(dir.Read("Novel.ini"),
            "[MainWindow]\r\nPos=5,6\r\n[System]\r\nNoneEffect=0\r\nFrameSpeed=3\r\nAltAndEnter=0\r\nSystemSE=1\r\n"
            "NonePause=0\r\nBGMSmallVolume=0\r\nAlphaFlip=1\r\n");
  EXPECT_FALSE(WriteIniSettings(dir.File("missing/Novel.ini"), s));
}

}  // namespace
