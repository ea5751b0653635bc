// The demo played from the program's start as a player drives it with the
// pointer: the opening skipped, a new game, a few messages, a save from the
// message window's button into the first slot, back to the title, the slot
// loaded again at the same page, the options and the extras opened and
// closed, and the game ended from the title's menu.
#include <gtest/gtest.h>

#include <map>

#include "DemoPlay.h"

namespace {

using namespace demo;

constexpr Point kFirstSlot = SlotButton(1);

TEST(DemoPlaythrough, SaveLoadOptionsExtrasAndEndFromTheTitleAsAPlayerDrivesThem) {
  TestDir dir;
  demo::CopyGame(dir);
  Script script;
  script.Move(1, kText)
      .Click(30, Point{400, 300})  // skips the opening movie
      .Click(410, kTitleNew)
      .Click(600, kText)
      .Click(700, kText)
      .Click(800, kText)
      .Move(850, kText)
      .Click(890, kWndSave)
      .Click(960, kFirstSlot)
      .Click(1030, kYes)
      .Click(1110, kSaveLoadBack)
      .Click(1210, kWndTitle)
      .Click(1280, kYes)
      .Click(1510, kTitleLoad)
      .Click(1610, kFirstSlot)
      .Click(1680, kYes)
      .Move(1700, kText)
      .Click(1910, kWndTitle)
      .Click(1980, kYes)
      .Click(2210, kTitleOptions)
      .Click(2400, kOptionsOk)
      .Click(2610, kTitleExtras)
      .Click(2800, kExtrasBack)
      .Click(3010, kTitleEnd)
      .Click(3080, kYes);
  dir.Write("play.input", script.Text());

  // What each screenshot must show: a picture of the game, the gold title
  // bar of the save, load, options and extras screens, or the confirmation
  // panel.
  const std::string kBar = "bar", kPanel = "panel";
  const std::map<int, std::string> expected = {
      {300, "TITLE"},       // the opening skipped
      {875, "BG_STATION"},  // the page saved
      {950, kBar},          // the save screen
      {1000, kPanel},       // "save here?"
      {1500, "TITLE"},      {1600, kBar},       // the load screen
      {1800, "BG_STATION"}, {2300, kBar},       // the options
      {2590, "TITLE"},      {2780, "CG_B"},     // the extras
      {2990, "TITLE"},      {3060, kPanel},     // "end the game?"
  };
  const int frames = 3400;
  std::string args = "--frames " + std::to_string(frames) + " --input " + dir.File("play.input");
  for (const auto& [frame, name] : expected)
    args += " --screenshot " + std::to_string(frame) + ":" + dir.File("p" + std::to_string(frame) + ".png");
  args += " --screenshot " + std::to_string(frames) + ":" + dir.File("last.png");
  std::string out;
  const int status = demo::Play(dir, args, &out);
  EXPECT_EQ(status, 0) << out;
  EXPECT_EQ(out, "") << "an error box";
  EXPECT_FALSE(dir.Exists("last.png")) << "the program ended when the end was confirmed";

  std::map<int, Image> shots;
  for (const auto& [frame, name] : expected) {
    SCOPED_TRACE(frame);
    shots[frame] = demo::LoadPng(dir.File("p" + std::to_string(frame) + ".png"));
    ASSERT_TRUE(shots[frame].Valid());
    const Image& shot = shots[frame];
    if (name == kBar)
      EXPECT_TRUE(MenuScreenShows(shot) && demo::Near(shot.At(400, 300), 0xFF1A2540u, 48))
          << "no screen of the menu";
    else if (name == kPanel)
      EXPECT_TRUE(demo::Near(shot.At(300, 200), 0xFFF6F2E9u, 8) && demo::Near(shot.At(500, 200), 0xFFF6F2E9u, 8))
          << "no confirmation";
    else
      EXPECT_TRUE(demo::Shows(shot, demo::GamePicture(dir, name))) << name << " does not show";
  }

  // The save went into the game's own save folder, in the first slot.
  EXPECT_TRUE(std::filesystem::is_regular_file(dir.path() + "game/SAVE/GAME00.SAV"));
  // The loaded game shows the page as it was when it was saved: the
  // picture, the window and its message.
  int differ = 0;
  EXPECT_TRUE(SamePage(shots[1800], shots[875], &differ)) << differ << " pixels differ";
}

}  // namespace
