// The screens' layout tables: what `velto-tool setup defaults` prints
// compiles and reads back as the built-in layout; edits take effect record
// by record; damaged records and values out of range leave the screens a
// layout they can build.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "RunCommand.h"
#include "TestDir.h"
#include "scenario/SnrBuffer.h"
#include "scenario/SnrCompiler.h"
#include "screens/DIBOptionScreen.h"
#include "screens/DIBSaveLoadScreen.h"
#include "screens/DIBTitleScreen.h"

namespace {

bool Compile(const std::string& source, CSnrBuffer& table) {
  snr::CompileResult r = snr::CompileScenario(source, "T.txt", snr::BuildTextEncoding());
  return !r.file.empty() && table.ReadMemory("T", r.file.data(), r.file.size());
}

std::string Tool(const std::string& args, int* status) {
  std::string out;
  *status = RunCommand(std::string(VELTO_TOOL_PATH) + " " + args + " 2>&1", &out);
  return out;
}

// A layout of zeros but for the keyboard rows, which the printed table
// names only where they are used.
template <class L>
L Blank() {
  L layout{};
  for (auto& control : layout.nJump)
    for (auto& row : control)
      for (int32_t& id : row) id = -1;
  return layout;
}

template <class L>
bool Same(const L& a, const L& b) {
  return memcmp(&a, &b, sizeof a) == 0;
}

TEST(SetupTables, PrintedDefaultsCompileAndReadBackUnchanged) {
  TestDir dir;
  int status = -1;
  for (const char* name : {"TITLE", "SAVELOAD", "OPTION", "CONF", "MESWND"}) {
    const std::string txt = dir.File(std::string(name) + ".txt"), msd = dir.File(std::string(name) + ".MSD");
    Tool(std::string("setup defaults ") + name + " " + txt, &status);
    ASSERT_EQ(status, 0) << name;
    const std::string out = Tool("snr compile " + txt + " " + msd, &status);
    ASSERT_EQ(status, 0) << name << ": " << out;
  }
  const std::string title = dir.Read("TITLE.txt");
  EXPECT_NE(title.find("DEF 0, 66, 125000"), std::string::npos) << title;
  EXPECT_NE(title.find("# menu time after which the opening plays again (ms)"), std::string::npos);
  EXPECT_NE(dir.Read("SAVELOAD.txt").find("DEF 4, 210, 5, 14"), std::string::npos);
  EXPECT_NE(dir.Read("OPTION.txt").find("DEF 2, 94, 46, 47, 48, 49, 50, 51, 52, 53, 54, 55"), std::string::npos);
  EXPECT_NE(dir.Read("CONF.txt").find("DEF 1, 21, 420, 280"), std::string::npos);
  EXPECT_NE(dir.Read("MESWND.txt").find("DEF 3, 117, 67, 663, 563"), std::string::npos);

  CSnrBuffer table;
  ASSERT_TRUE(table.ReadMemory("TITLE", dir.Read("TITLE.MSD").data(), dir.Read("TITLE.MSD").size()));
  TitleLayout t = Blank<TitleLayout>();
  CDIBTitleScreen::ReadLayout(table, t);
  EXPECT_TRUE(Same(t, CDIBTitleScreen::DefaultLayout()));
  ASSERT_TRUE(table.ReadMemory("SAVELOAD", dir.Read("SAVELOAD.MSD").data(), dir.Read("SAVELOAD.MSD").size()));
  SaveLoadLayout s = Blank<SaveLoadLayout>();
  CDIBSaveLoadScreen::ReadLayout(table, s);
  EXPECT_TRUE(Same(s, CDIBSaveLoadScreen::DefaultLayout()));
  ASSERT_TRUE(table.ReadMemory("OPTION", dir.Read("OPTION.MSD").data(), dir.Read("OPTION.MSD").size()));
  OptionLayout o = Blank<OptionLayout>();
  CDIBOptionScreen::ReadLayout(table, o);
  EXPECT_TRUE(Same(o, CDIBOptionScreen::DefaultLayout()));

  Tool("setup defaults NOSUCH", &status);
  EXPECT_NE(status, 0);
}

TEST(SetupTables, EditsApplyRecordByRecordAndDamagedRecordsKeepTheirDefaults) {
  CSnrBuffer table;
  ASSERT_TRUE(Compile(
      "DEF 0, 0, \"A1\", \"MASK\", \"A2\", \"\", \"AB\", \"M2\"\n"
      "DEF 0, 22, 10, 20\n"
      "DEF 0, 42, 3, 1, 2, -1, -1, 4\n"
      "DEF 0, 66, \"soon\"\n"  // the wrong type
      "DEF 0, 61, 500\n"       // too short
      "DEF 4, 240, 1, 2, 3, 4, \"Face\", 30, 700\n"
      "DEF 2, 174, 1, 0, 0\n"
      "END\n",
      table));
  TitleLayout t = CDIBTitleScreen::DefaultLayout();
  CDIBTitleScreen::ReadLayout(table, t);
  EXPECT_STREQ(t.szPicture[0], "A1");
  EXPECT_STREQ(t.szMask[0], "MASK");
  EXPECT_STREQ(t.szPicture[2], "AB");
  EXPECT_STREQ(t.szMask[2], "M2");
  EXPECT_EQ(t.nPos[2][0], 10);
  EXPECT_EQ(t.nPos[2][1], 20);
  EXPECT_EQ(t.nJump[2][3][JUMP_UP], 1);
  EXPECT_EQ(t.nJump[2][3][JUMP_TAB], 4);
  EXPECT_EQ(t.nJump[2][0][JUMP_UP], -1);
  EXPECT_EQ(t.nIdleTime, 125000);
  EXPECT_EQ(t.nStartFade[0], 1000);
  EXPECT_EQ(t.nStartFade[1], 1000);

  SaveLoadLayout s = CDIBSaveLoadScreen::DefaultLayout();
  CDIBSaveLoadScreen::ReadLayout(table, s);
  EXPECT_EQ(s.font[0].x, 1);
  EXPECT_STREQ(s.font[0].szFace, "Face");
  EXPECT_EQ(s.font[0].nWeight, 700);
  EXPECT_EQ(s.font[1].x, 60) << "the next record keeps its default";
  OptionLayout o = CDIBOptionScreen::DefaultLayout();
  CDIBOptionScreen::ReadLayout(table, o);
  EXPECT_EQ(o.nSlider[4][0], 1) << "the voice volume slider stands up";
  EXPECT_EQ(o.nSlider[3][0], 0);
}

TEST(SetupTables, ValuesOutOfRangeAreBroughtIntoWhatTheLayoutHolds) {
  CSnrBuffer table;
  ASSERT_TRUE(Compile(
      "DEF 4, 210, 9, 40\n"
      "DEF 4, 200, -5\n"
      "DEF 4, 220, 999, -3, 128, 7\n"
      "DEF 0, 50, 1, 2, -100, 5, 99999999\n"
      "DEF 0, 66, -1\n"
      "DEF 0, 20, 70000, -70000\n"
      "END\n",
      table));
  SaveLoadLayout s = CDIBSaveLoadScreen::DefaultLayout();
  CDIBSaveLoadScreen::ReadLayout(table, s);
  EXPECT_EQ(s.nPages, 5);
  EXPECT_EQ(s.nSlots, 20) << "S + 6 controls at most 26";
  EXPECT_EQ(s.nBackFade, 0);
  EXPECT_EQ(CDIBSaveLoadScreen::ColorWord(s.nTextColor[0]), 0xFF008007u);
  TitleLayout t = CDIBTitleScreen::DefaultLayout();
  CDIBTitleScreen::ReadLayout(table, t);
  EXPECT_EQ(t.nName[2], 0) << "the name never starts smaller";
  EXPECT_EQ(t.nName[4], 600000);
  EXPECT_EQ(t.nIdleTime, 0);
  EXPECT_EQ(t.nPos[0][0], 1600);
  EXPECT_EQ(t.nPos[0][1], -1600);

  ASSERT_TRUE(Compile("DEF 4, 210, 0, -1\nEND\n", table));
  s = CDIBSaveLoadScreen::DefaultLayout();
  CDIBSaveLoadScreen::ReadLayout(table, s);
  EXPECT_EQ(s.nPages, 1);
  EXPECT_EQ(s.nSlots, 0);
}

TEST(SetupTables, StandInPicturesAreMadeOnceAndTheGamesOwnAreKept) {
  TestDir game;
  game.Write("MGD/TITLE.MGD", "the artist's");
  int status = -1;
  std::string out = Tool("setup-pictures " + game.path(), &status);
  ASSERT_EQ(status, 0) << out;
  EXPECT_NE(out.find("kept    MGD/TITLE.MGD"), std::string::npos) << out;
  EXPECT_EQ(game.Read("MGD/TITLE.MGD"), "the artist's");
  for (const char* name : {"MGD/TITLE01.MGD", "MGD/TITLE_P.MGD", "DATA/TITLE_C.BMP", "MGD/SL_B.MGD", "MGD/SL_P.MGD",
                           "DATA/SL_C.BMP", "MGD/OPTION_B.MGD", "MGD/OPTION_P.MGD", "DATA/OPTION_C.BMP",
                           "MGD/CONF05_B.MGD", "MGD/CONF_P.MGD", "DATA/CONF_C.BMP"})
    EXPECT_NE(out.find(std::string("made    ") + name), std::string::npos) << name;
  // The title's parts: the name and 25 button frames.
  out = Tool("mgd info " + game.File("MGD/TITLE_P.MGD"), &status);
  EXPECT_NE(out.find("elements=26"), std::string::npos) << out;
  out = Tool("setup-pictures " + game.path(), &status);
  EXPECT_EQ(out.find("made"), std::string::npos) << out;
}

}  // namespace
