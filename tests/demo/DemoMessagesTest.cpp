// The demo's messages as a player reads them: typed out at the text speed,
// auto mode turning the pages on its own until it is switched off, the
// skip key racing to the first choice, and, in a second game, the skip box
// racing over the text already read and stopping at the first unread line.
#include <gtest/gtest.h>

#include "DemoPlay.h"

namespace {

using namespace demo;

// True when the message window's choice plates are up (their dark left
// ends, where no letter is drawn).
bool ChoiceShows(const Image& shot) {
  return shot.Valid() && Near(shot.At(215, 276), 0xFF1D1720u, 24) && Near(shot.At(215, 346), 0xFF1D1720u, 24);
}

TEST(DemoMessages, TypedAutoAdvancedSkippedWithTheKeyAndOverReadTextWithTheBox) {
  TestDir dir;
  CopyGame(dir);
  Script script;
  script.Move(1, kText)
      .Click(30, kText)  // skips the opening movie
      .Click(410, kTitleNew)
      .Move(500, kText)
      // The first message types from about frame 553; auto mode from 650
      // turns the pages without a click until it is switched off at 1000.
      .Click(650, kWndAuto)
      .Click(1000, kWndAuto)
      .Move(1020, kText)
      // The skip key races to the first choice, which waits for the player.
      .Hold(1310, 1380, "CONTROL")
      .Click(1400, kWndChoice[0])
      .Click(1450, kWndTitle)
      .Click(1520, kYes)
      // A second game: the skip box skips what the first one read.
      .Click(1760, kTitleNew)
      .Click(1950, kWndSkip)
      .Move(1970, kText)
      .Click(2040, kWndChoice[1]);
  const std::vector<int> shots = {560, 566, 600, 640, 700, 900, 1100, 1300, 1380, 1945, 2020, 2100, 2250};
  std::string out;
  EXPECT_EQ(PlayScript(dir, script, 2250, shots, "m", "", &out), 0) << out;
  EXPECT_EQ(out, "") << "an error box";
  auto shot = [&](int frame) { return Shot(dir, "m", frame); };

  // Typed out: a part of the first message, then all of it, then it waits.
  const int partial = MessageText(shot(566)).count, typed = MessageText(shot(600)).count;
  EXPECT_GT(MessageText(shot(560)).count, 0);
  EXPECT_GT(partial, MessageText(shot(560)).count) << "the typing does not go on";
  EXPECT_LT(partial, typed * 3 / 4) << "the message is not typed out";
  EXPECT_TRUE(SameText(shot(600), shot(640))) << "the typed message does not wait for the player";

  // Auto mode: the page turns by itself, twice, and no more once it is off.
  EXPECT_TRUE(SameText(shot(640), shot(700))) << "auto mode turns the page before its time";
  EXPECT_FALSE(SameText(shot(640), shot(900))) << "auto mode does not turn the page";
  EXPECT_FALSE(SameText(shot(900), shot(1100))) << "auto mode does not go on";
  EXPECT_TRUE(SameText(shot(1100), shot(1300))) << "the page turns with auto mode off";

  // The skip key stops at the choice.
  EXPECT_FALSE(ChoiceShows(shot(1300)));
  EXPECT_TRUE(ChoiceShows(shot(1380))) << "the skip key did not reach the choice";

  // The second game: the skip box goes over everything the first game
  // read, up to the same choice; the line the other answer gives has not
  // been read, so it waits for the player although the box is still on.
  EXPECT_TRUE(SameText(shot(1945), shot(600))) << "the second game does not start at the first message";
  EXPECT_TRUE(ChoiceShows(shot(2020))) << "the skip box did not reach the choice over read text";
  EXPECT_FALSE(ChoiceShows(shot(2100)));
  EXPECT_GT(MessageText(shot(2100)).count, 0);
  EXPECT_TRUE(SameText(shot(2100), shot(2250))) << "the skip box went over an unread line";
}

}  // namespace
