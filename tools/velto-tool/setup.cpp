// velto-tool setup: the screens' layout tables for game makers. `defaults
// SCREEN` prints the source of a table holding every record at the value
// the program uses without one, each with a comment on what it sets, ready
// to edit and compile with `velto-tool snr compile`. A screen is one entry
// of the table below.
#include <cstdio>
#include <cstring>
#include <string>

#include "Command.h"
#include "ToolFiles.h"
#include "app/core/Trace.h"
#include "screens/DIBOmakeScreen.h"
#include "screens/DIBOptionScreen.h"
#include "screens/DIBSaveLoadScreen.h"
#include "screens/DIBTitleScreen.h"
#include "screens/SetupSchema.h"
#include "text/MesWnd.h"

namespace {

// The confirmation screen's table (section 1): its layout is small and
// fixed, so it is described here.
std::string ConfSource() {
  Trace("ConfSource");
  struct {
    char szPicture[5][64] = {"CONF01_B", "CONF02_B", "CONF03_B", "CONF04_B", "CONF05_B"};
    char szParts[64] = "CONF_P";
    int32_t nHitNo[2] = {0, 1};
    int32_t nPos[2][2] = {{240, 280}, {420, 280}};
    int32_t nFrame[2][5] = {{1, 2, 3, 4, 5}, {6, 7, 8, 9, 10}};
    int32_t nJump[2][kJumpRows][5];
  } s;
  for (auto& button : s.nJump)
    for (auto& row : button)
      for (int32_t& id : row) id = -1;
  static const char* const kMessages[5] = {"end the game", "return to the title", "save into the slot",
                                           "load the slot", "end the scene replay"};
  setup::CSetupPrinter p(1);
  for (int m = 0; m < 5; ++m)
    p.Record(m, ("message picture " + std::to_string(m) + ": \"" + kMessages[m] + "?\"").c_str(), s.szPicture[m]);
  p.Record(5, "parts picture of both buttons (the hit map is always \"CONF_C.BMP\")", s.szParts);
  for (int i = 0; i < 2; ++i) {
    const std::string what = i == 0 ? "OK button (ID 0)" : "cancel button (ID 1)";
    p.Record(10 + i, (what + ": its value in the hit map").c_str(), s.nHitNo[i]);
    p.Record(20 + i, (what + ": x, y").c_str(), s.nPos[i][0], s.nPos[i][1]);
    p.Record(30 + i, (what + ": frames normal, focused, pressed, disabled, focused-disabled").c_str(), s.nFrame[i][0],
             s.nFrame[i][1], s.nFrame[i][2], s.nFrame[i][3], s.nFrame[i][4]);
    p.JumpRows(40 + i, (what + ": keyboard rows: row, then the IDs for Up, Down, Left, Right, Tab (-1 none)").c_str(),
               s.nJump[i]);
  }
  return p.Text();
}

// The message window's table (section 3), from the window's own defaults.
std::string MesWndSource() {
  Trace("MesWndSource");
  MesWndSetup s = CDIBMesWnd::Setup();
  static const char* const kButtons[MESBTN_COUNT] = {
      "voice replay button",   "backlog back button", "backlog forward button", "quick save button",
      "quick load button",     "save button",         "load button",            "skip check box",
      "auto-advance check box", "options button",     "title button",           "exit button"};
  setup::CSetupPrinter p(3);
  p.Record(0, "window parts picture (frame 0 is the window)", s.szParts);
  p.Record(1, "hit map of the buttons", s.szHitMap);
  p.Record(2, "name plate picture (\"\" = no name plates)", s.szNameParts);
  for (int i = 0; i < MESBTN_COUNT; ++i) {
    const std::string what = std::string(kButtons[i]) + " (ID " + std::to_string(i) + ")";
    int32_t* f = s.nFrame[i];
    int32_t* j = s.nJump[i];
    p.Heading(what.c_str());
    p.Record(10 + i, "its value in the hit map", s.nHitNo[i]);
    p.Record(30 + i, "x, y", s.nPos[i][0], s.nPos[i][1]);
    if (i == MESBTN_SKIP || i == MESBTN_AUTO)
      p.Record(50 + i, "frames normal, focused, pressed, disabled, focused-disabled; then the same ticked", f[0], f[1],
               f[2], f[3], f[4], f[5], f[6], f[7], f[8], f[9]);
    else
      p.Record(50 + i, "frames normal, focused, pressed, disabled, focused-disabled", f[0], f[1], f[2], f[3], f[4]);
    p.Record(70 + i, "keyboard row: row (0), then the IDs for Up, Down, Left, Right, Tab (-1 none)", j[0], j[1], j[2],
             j[3], j[4], j[5]);
  }
  p.Heading("times and text");
  p.Record(90, "open and close animation (ms)", s.nOpenCloseSpan);
  p.Record(91, "page change scroll (ms)", s.nPageScrollTime);
  p.Record(92, "auto-advance: ms per character, least ms, most ms", s.nAutoPerChar, s.nAutoMin, s.nAutoMax);
  static const char* const kScreens[4] = {"save", "load", "option", "confirmation"};
  for (int i = 0; i < 4; ++i)
    p.Record(93 + i, ("fade to the " + std::string(kScreens[i]) + " screen (ms)").c_str(), s.nScreenTrans[i]);
  p.Record(97, "to the title (and quick load): fade out, fade in; the return when declined (ms)", s.nTitleTrans[0],
           s.nTitleTrans[1], s.nTitleTrans[2]);
  p.Record(98, "exit: fade out; the return when declined (ms)", s.nExitTrans[0], s.nExitTrans[1]);
  p.Record(110, "text area in the window picture: left, top, right, bottom", s.nTextArea[0], s.nTextArea[1],
           s.nTextArea[2], s.nTextArea[3]);
  p.Record(111, "line spacing (pixels)", s.nLineSpace);
  p.Record(112, "character spacing (pixels)", s.nCharSpace);
  p.Record(113, "font size (pixels)", s.nFontSize);
  p.Record(114, "window x, y on the screen", s.nWndPos[0], s.nWndPos[1]);
  p.Record(115, "slide of the open and close animation (pixels)", s.nSlide);
  p.Record(116, "name plate x, y", s.nNamePos[0], s.nNamePos[1]);
  p.Record(117, "click-wait icon: frame, x, y", s.nIcon[0], s.nIcon[1], s.nIcon[2]);
  return p.Text();
}

std::string TitleSource() { return CDIBTitleScreen::LayoutSource(CDIBTitleScreen::DefaultLayout()); }
std::string SaveLoadSource() { return CDIBSaveLoadScreen::LayoutSource(CDIBSaveLoadScreen::DefaultLayout()); }
std::string OptionSource() { return CDIBOptionScreen::LayoutSource(CDIBOptionScreen::DefaultLayout()); }
std::string OmakeSource() { return CDIBOmakeScreen::LayoutSource(*CDIBOmakeScreen::DefaultLayout()); }

struct Table {
  const char* name;    // the table's file name, as the screen reads it
  const char* screen;  // what it lays out
  std::string (*source)();
};

// Adding a screen is adding its line.
const Table kTables[] = {
    {"TITLE", "the title screen", &TitleSource},
    {"CONF", "the confirmation screen", &ConfSource},
    {"OPTION", "the option screen", &OptionSource},
    {"MESWND", "the message window", &MesWndSource},
    {"SAVELOAD", "the save/load screen", &SaveLoadSource},
    {"OMAKE", "the extras screen", &OmakeSource},
};

const Table* Find(const std::string& name) {
  for (const Table& t : kTables)
    if (strcasecmp(t.name, name.c_str()) == 0) return &t;
  return nullptr;
}

std::string Names() {
  std::string names;
  for (const Table& t : kTables) names += std::string(names.empty() ? "" : ", ") + t.name;
  return names;
}

int SetupMain(const tool::Args& args);

VELTO_TOOL_COMMAND("setup", "print the screens' layout tables with their defaults, to edit and compile",
                   "usage: velto-tool setup defaults SCREEN [OUT.txt]\n"
                   "       velto-tool setup list\n"
                   "\n"
                   "defaults  prints the source of the layout table SCREEN (TITLE, SAVELOAD,\n"
                   "          OPTION, CONF, MESWND, OMAKE) with every record at the value the\n"
                   "          game uses when the table lacks it, one comment a record; compile\n"
                   "          the edited file into the game's MSD folder under the table's\n"
                   "          name with `velto-tool snr compile IN.txt MSD/SCREEN.MSD`\n"
                   "list      names the tables and the screens they lay out\n",
                   &SetupMain);

int SetupMain(const tool::Args& args) {
  Trace("SetupMain");
  if (args.size() == 1 && args[0] == "list") {
    for (const Table& t : kTables) printf("%-9s %s\n", t.name, t.screen);
    return 0;
  }
  if (args.size() < 2 || args.size() > 3 || args[0] != "defaults") return tool::Usage("setup");
  const Table* table = Find(args[1]);
  if (!table) return tool::Fail("no layout table " + args[1] + " (there are " + Names() + ")");
  std::string text = "# The layout table " + std::string(table->name) + " of " + table->screen +
                     ", every record at its built-in\n# default. Records left out keep their defaults.\n" +
                     table->source() + "END\n";
  if (args.size() == 3) {
    if (!tool::WriteWholeFile(args[2], text.data(), text.size())) return tool::Fail("cannot write " + args[2]);
    return 0;
  }
  fwrite(text.data(), 1, text.size(), stdout);
  return 0;
}

}  // namespace
