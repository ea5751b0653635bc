// The extras screen's table "OMAKE": the built-in layout, the printed
// source that reads back to it, and tables that are damaged or ask for
// more than the screen can hold.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "RunCommand.h"
#include "TestDir.h"
#include "scenario/SnrBuffer.h"
#include "scenario/SnrCompiler.h"
#include "scenario/TextCodec.h"
#include "screens/DIBOmakeScreen.h"

namespace {

std::unique_ptr<OmakeLayout> ReadTable(const std::string& source) {
  auto layout = CDIBOmakeScreen::DefaultLayout();
  snr::CompileResult r = snr::CompileScenario(source, "OMAKE.txt", snr::BuildTextEncoding());
  EXPECT_TRUE(r.ok) << r.error;
  CSnrBuffer table;
  EXPECT_TRUE(table.ReadMemory("OMAKE", r.file.data(), r.file.size()));
  CDIBOmakeScreen::ReadLayout(table, *layout);
  return layout;
}

void ExpectControl(const OmakeModeLayout& m, int id, int hit, int x, int y, std::vector<int> frames) {
  SCOPED_TRACE("control " + std::to_string(id));
  EXPECT_EQ(m.nHitNo[id], hit);
  EXPECT_EQ(m.nPos[id][0], x);
  EXPECT_EQ(m.nPos[id][1], y);
  EXPECT_EQ(std::vector<int>(m.nFrame[id], m.nFrame[id] + 5), frames);
  EXPECT_EQ(m.nJump[id][0][0], -1);
}

TEST(OmakeLayout, BuiltInLayout) {
  auto s = CDIBOmakeScreen::DefaultLayout();
  EXPECT_STREQ(s->szPlate, "MUSIC_P");
  EXPECT_STREQ(s->szMusic[0], "M02");
  EXPECT_EQ(CDIBOmakeScreen::MusicCount(*s), 10);
  for (int mode = 0; mode < 2; ++mode) {
    const OmakeModeLayout& m = s->mode[mode];
    EXPECT_STREQ(m.szBack, mode ? "SCENE_B" : "CG_B");
    EXPECT_STREQ(m.szParts, "OMAKE_P");
    EXPECT_STREQ(m.szHitMap, "OMAKE_C.BMP");
    ExpectControl(m, 0, 4, 30, 540, {25, 26, 27, 28, 29});
    ExpectControl(m, 4, 8, 450, 75, {45, 46, 47, 48, 49});
    ExpectControl(m, 5, 3, 30, 490, mode ? std::vector<int>{20, 21, 22, 23, 24} : std::vector<int>{15, 16, 17, 18, 19});
    ExpectControl(m, 8, 2, 740, 130, {10, 11, 12, 13, 14});
    ExpectControl(m, 9, 0, 0, 0, {0, 0, 0, 0, 0});
    ExpectControl(m, 22, 31, 30, 425, {80, 81, 82, 83, 84});
    ExpectControl(m, 23, 0, 0, 0, {0, 0, 0, 0, 0});
    ExpectControl(m, 41, 14, 360, 280, {17, 18, 19, 0, 1});
    ExpectControl(m, 52, 0, 500, 270, {50, 51, 52, 0, 1});
    ExpectControl(m, 57, 0, 350, 370, {65, 66, 67, 0, 1});
    ExpectControl(m, 61, 0, 0, 0, {0, 0, 0, 0, 0});
    EXPECT_EQ(m.nSumPerPage, 16);
    EXPECT_EQ(m.nChars, 7);
    EXPECT_EQ(m.nPlate[0], 500);
    EXPECT_EQ(m.nPlate[1], 50);
  }
  EXPECT_EQ(s->nReturnFade, 300);
  EXPECT_EQ(s->nViewerFade, 500);
  EXPECT_EQ(s->nReplayFade[0], 1000);
  EXPECT_EQ(s->nReplayFade[1], 1000);
  EXPECT_STREQ(s->szViewer, "CGVIEW");
  EXPECT_EQ(s->nViewerVar[2], 2);
  EXPECT_TRUE(s->bAllOpen);
}

TEST(OmakeLayout, ThePrintedSourceReadsBackToTheSameLayout) {
  auto s = CDIBOmakeScreen::DefaultLayout();
  // Something beyond the defaults in every kind of record.
  snprintf(s->mode[1].szSum[3][2], 64, "SUM \"3\" {2}");
  s->mode[0].nJump[40][7][JUMP_TAB] = 41;
  snprintf(s->szMusic[10], 64, "M12");
  s->bAllOpen = false;
  const std::string source = CDIBOmakeScreen::LayoutSource(*s);
  EXPECT_NE(source.find("# music list"), std::string::npos);
  EXPECT_NE(source.find("DEF 5, 1500, 0"), std::string::npos);
  auto back = ReadTable(source);
  EXPECT_EQ(memcmp(back.get(), s.get(), sizeof(OmakeLayout)), 0);
}

TEST(OmakeLayout, TheToolPrintsEveryRecordAtItsDefault) {
  TestDir dir;
  std::string out;
  ASSERT_EQ(RunCommand(std::string(VELTO_TOOL_PATH) + " setup defaults OMAKE " + dir.File("OMAKE.txt") + " 2>&1", &out),
            0)
      << out;
  ASSERT_EQ(RunCommand(std::string(VELTO_TOOL_PATH) + " snr compile " + dir.File("OMAKE.txt") + " " +
                           dir.File("OMAKE.MSD") + " 2>&1",
                       &out),
            0)
      << out;
  const std::string source = dir.Read("OMAKE.txt");
  EXPECT_NE(source.find("DEF 5, 605, 20, 21, 22, 23, 24"), std::string::npos) << "the scenes' mode switch";
  EXPECT_NE(source.find("# fade of the return to the title (ms)\nDEF 5, 1000, 300"), std::string::npos);
  // Read over a blank layout, the printed table alone gives the defaults:
  // no record is left out.
  auto blank = std::make_unique<OmakeLayout>();
  for (OmakeModeLayout& m : blank->mode)
    for (auto& control : m.nJump)
      for (auto& row : control)
        for (int32_t& id : row) id = -1;
  CSnrBuffer table;
  const std::string msd = dir.Read("OMAKE.MSD");
  ASSERT_TRUE(table.ReadMemory("OMAKE", msd.data(), msd.size()));
  CDIBOmakeScreen::ReadLayout(table, *blank);
  EXPECT_EQ(memcmp(blank.get(), CDIBOmakeScreen::DefaultLayout().get(), sizeof(OmakeLayout)), 0);
}

TEST(OmakeLayout, DamagedAndOversizedRecordsAreRefusedOrBroughtIntoRange) {
  auto s = ReadTable(
      "DEF 5, 1, 0, \"A\"\nDEF 5, 1, 1, \"B\"\nDEF 5, 1, 500, \"C\"\n"  // a list of two; 500 is beyond it
      "DEF 5, 300, \"x\", 5\n"                                            // wrong types: the default stays
      "DEF 5, 301, 99999, -99999\n"
      "DEF 5, 1100, 99\nDEF 5, 1101, -4\nDEF 5, 1200, 50\nDEF 5, 1201, -1\n"
      "DEF 5, 1001, -20\nDEF 5, 1400, \"VIEW\", 5000, -1, 1999\n"
      "DEF 5, 13, 20, 0, \"BEYOND\"\nDEF 5, 13, 19, 9, \"LAST\"\n");
  EXPECT_EQ(CDIBOmakeScreen::MusicCount(*s), 2) << "a table's own list replaces the built-in one";
  EXPECT_STREQ(s->szMusic[1], "B");
  EXPECT_EQ(s->mode[0].nPos[0][0], 30);
  EXPECT_EQ(s->mode[0].nPos[1][0], 1600);
  EXPECT_EQ(s->mode[0].nPos[1][1], -1600);
  EXPECT_EQ(s->mode[0].nSumPerPage, 30);
  EXPECT_EQ(s->mode[1].nSumPerPage, 0);
  EXPECT_EQ(s->mode[0].nChars, 20);
  EXPECT_EQ(s->mode[1].nChars, 0);
  EXPECT_EQ(s->nViewerFade, 0);
  EXPECT_STREQ(s->szViewer, "VIEW");
  EXPECT_EQ(s->nViewerVar[0], -1) << "no such variable: not written";
  EXPECT_EQ(s->nViewerVar[1], -1);
  EXPECT_EQ(s->nViewerVar[2], 1999);
  EXPECT_STREQ(s->mode[0].szSum[19][9], "LAST");

  // A table without a music list keeps the built-in one.
  EXPECT_EQ(CDIBOmakeScreen::MusicCount(*ReadTable("DEF 5, 1000, 10\n")), 10);
}

}  // namespace
