// The demo's saves as a player makes them: the route chosen on the choice
// screen, a quick save, a look back in the backlog, a save into slot No.3
// from the save screen, back to the title and the program ended; then a
// second start loads No.3 from the title at the page it was saved on. The
// files are read back with the tool.
#include <gtest/gtest.h>

#include <map>

#include "DemoPlay.h"

namespace {

using namespace demo;

// What `velto-tool save info` says of a saved game, line by line.
std::map<std::string, std::string> SaveInfo(const TestDir& dir, const std::string& file) {
  std::string out;
  std::map<std::string, std::string> info;
  if (Tool("save info '" + dir.path() + "game/SAVE/" + file + "'", &out) != 0) return info;
  for (size_t at = 0; at < out.size();) {
    size_t end = out.find('\n', at);
    if (end == std::string::npos) end = out.size();
    std::string line = out.substr(at, end - at);
    size_t colon = line.find(": ");
    if (colon != std::string::npos) info[line.substr(0, colon)] = line.substr(colon + 2);
    at = end + 1;
  }
  return info;
}

TEST(DemoSaves, ARouteChosenQuickSavedLookedBackSavedToSlotThreeAndLoadedFromTheTitle) {
  TestDir dir;
  CopyGame(dir);
  Script play;
  play.Move(1, kText)
      .Click(30, kText)  // skips the opening movie
      .Click(410, kTitleNew)
      .Move(500, kText)
      // The skip key up to the message window's choice, and past it up to
      // the choice screen's: the lighthouse's route.
      .Hold(620, 680, "CONTROL")
      .Click(700, kWndChoice[1])
      .Move(720, kText)
      .Hold(740, 900, "CONTROL")
      .Click(920, kScreenChoice[0])
      .Move(940, kText)
      .Click(1100, kText)
      .Click(1320, kWndQuickSave)
      // The backlog: one page back, and forward to the live page again.
      .Click(1400, kWndBacklogPrev)
      .Click(1480, kWndBacklogNext)
      .Click(1560, kWndSave)
      .Click(1630, SlotButton(3))
      .Click(1700, kYes)
      .Click(1780, kSaveLoadBack)
      .Click(1880, kWndTitle)
      .Click(1950, kYes)
      .Click(2200, kTitleEnd)
      .Click(2270, kYes);
  // The quick save and No.3 hold the lighthouse's second page, which
  // stands still (the lens starts turning on the third).
  const std::vector<int> shots = {900, 1030, 1090, 1300, 1450, 1530, 1650, 1860, 2190};
  std::string out;
  EXPECT_EQ(PlayScript(dir, play, 2500, shots, "p", "", &out), 0) << out;
  EXPECT_EQ(out, "") << "an error box";
  EXPECT_FALSE(dir.Exists("p2500.png")) << "the program did not end when the end was confirmed";
  auto shot = [&](int frame) { return Shot(dir, "p", frame); };

  // The choice screen, then the lighthouse's first page (the cinema's
  // would show its projection room).
  EXPECT_TRUE(Near(shot(900).At(170, 240), 0xFF0C1121u, 24) && Near(shot(900).At(170, 324), 0xFF0C1121u, 24))
      << "no choice screen";
  EXPECT_TRUE(Shows(shot(1030), GamePicture(dir, "BG_LAMP"))) << "the chosen route does not show";
  EXPECT_FALSE(Shows(shot(1030), GamePicture(dir, "BG_PROJ")));

  // The backlog shows the page before, in grey, and then the live page.
  const int backlog = TextOverlap(shot(1450), shot(1090)), other = TextOverlap(shot(1450), shot(1300));
  EXPECT_GT(backlog, 70) << "the backlog does not show the page before";
  EXPECT_LT(other, 40) << "the backlog still shows the live page";
  EXPECT_FALSE(SameText(shot(1450), shot(1090))) << "the backlog's page is not greyed";
  EXPECT_TRUE(SameText(shot(1530), shot(1300))) << "the live page does not come back";
  EXPECT_TRUE(Near(shot(1650).At(300, 200), 0xFFF6F2E9u, 8)) << "no confirmation over the save screen";
  int differ = 0;
  EXPECT_TRUE(SamePage(shot(1860), shot(1300), &differ)) << differ << " pixels differ after saving";
  EXPECT_TRUE(Shows(shot(2190), GamePicture(dir, "TITLE")));

  // The quick save is file 0, No.3 is file 2: both of this route's chapter,
  // with the game's signature and a thumbnail; nothing else was saved.
  const auto quick = SaveInfo(dir, "GAME00.SAV"), third = SaveInfo(dir, "GAME02.SAV");
  for (const auto* info : {&quick, &third}) {
    EXPECT_EQ(info->count("scenario") ? info->at("scenario") : "", "R_TOKO");
    EXPECT_EQ(info->count("signature") ? info->at("signature") : "", "matches");
    EXPECT_EQ((info->count("thumbnail") ? info->at("thumbnail") : "").rfind("none", 0), std::string::npos);
    EXPECT_NE(info->count("subtitle") ? info->at("subtitle") : "", "");
  }
  EXPECT_FALSE(dir.Exists("game/SAVE/GAME01.SAV"));
  EXPECT_FALSE(dir.Exists("game/SAVE/GAME03.SAV"));

  // A second start loads No.3 from the title: the same page.
  Script load;
  load.Move(1, kText).Click(30, kText).Click(410, kTitleLoad).Click(510, SlotButton(3)).Click(580, kYes).Move(600, kText);
  EXPECT_EQ(PlayScript(dir, load, 800, {800}, "l", "", &out), 0) << out;
  EXPECT_EQ(out, "") << "an error box";
  EXPECT_TRUE(SamePage(Shot(dir, "l", 800), shot(1300), &differ)) << differ << " pixels differ after loading";
}

}  // namespace
