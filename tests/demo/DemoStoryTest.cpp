// The demo's story played headless as the build made it: both routes run
// to the end under a player's clicks without an error box, their pages
// show the pictures the build drew, the music and effects sound, and two
// runs give the same pictures and the same sound.
#include <gtest/gtest.h>

#include <set>

#include "DemoPlay.h"

namespace {

using demo::Image;

struct Route {
  int clickY;                         // where the player clicks
  std::vector<const char*> pictures;  // pages that must show on the way
  const char* other;                  // a page of the other route, never shown
};

// Clicks at (400, y) every 12 frames up to `frames`.
std::string ClickScript(int y, int frames) {
  std::string script = "1 move 400 " + std::to_string(y) + "\n";
  for (int f = 12; f + 1 <= frames; f += 12)
    script += std::to_string(f) + " down LBUTTON\n" + std::to_string(f + 1) + " up LBUTTON\n";
  return script;
}

// Plays from the first chapter under the clicks, with screenshots every
// `step` frames up to `frames`; what the run printed.
std::vector<Image> PlaySampled(const TestDir& dir, int clickY, int frames, int step, std::string* out, int* status,
                               bool* ended) {
  dir.Write("clicks.input", ClickScript(clickY, frames));
  std::string args = "--start S01 --frames " + std::to_string(frames) + " --input " + dir.File("clicks.input");
  for (int f = step; f <= frames; f += step) args += " --screenshot " + std::to_string(f) + ":" + dir.File("s" + std::to_string(f) + ".png");
  *status = demo::Play(dir, args, out);
  std::vector<Image> shots;
  for (int f = step; f <= frames; f += step)
    if (dir.Exists("s" + std::to_string(f) + ".png")) shots.push_back(demo::LoadPng(dir.File("s" + std::to_string(f) + ".png")));
  // At its END the story goes back to the title (or, with no title, the
  // program closes before the last screenshot).
  *ended = !dir.Exists("s" + std::to_string(frames) + ".png") ||
           (!shots.empty() && demo::Shows(shots.back(), demo::GamePicture(dir, "TITLE")));
  return shots;
}

TEST(DemoStory, BothRoutesRunToTheEndShowingTheirPagesWithoutAnErrorBox) {
  // The player clicks through the messages at one place. High on the
  // screen that place is the first item of both kinds of choice (the
  // message window's and the choice screen's): the lighthouse's route.
  // Lower it is the second item of both: the cinema's route, with the old
  // film. Both end at the festival.
  const std::vector<Route> routes = {
      {262, {"BG_STATION", "BG_SEA", "BG_CINEMA", "BG_LOBBY", "BG_LAMP", "BG_GALLERY", "CG_T01B", "BG_FEST"}, "BG_PROJ"},
      {335, {"BG_STATION", "BG_LIGHT", "BG_CINEMA", "BG_PROJ", "CG_S01A", "CG_S01B", "BG_FEST"}, "BG_LAMP"},
  };
  for (const Route& route : routes) {
    SCOPED_TRACE(route.clickY);
    TestDir dir;
    demo::CopyGame(dir);
    std::string out;
    int status = 0;
    bool ended = false;
    std::vector<Image> shots = PlaySampled(dir, route.clickY, 9000, 50, &out, &status, &ended);
    EXPECT_EQ(status, 0) << out;
    EXPECT_EQ(out, "") << "an error box";
    EXPECT_TRUE(ended) << "the story did not reach its END";
    ASSERT_FALSE(shots.empty());
    auto seen = [&](const char* name) {
      Image picture = demo::GamePicture(dir, name);
      EXPECT_TRUE(picture.Valid()) << name;
      for (const Image& shot : shots)
        if (demo::Shows(shot, picture)) return true;
      return false;
    };
    for (const char* name : route.pictures) EXPECT_TRUE(seen(name)) << name << " never shows";
    EXPECT_FALSE(seen(route.other)) << route.other << " belongs to the other route";
  }
}

TEST(DemoStory, TheLastChapterSoundsAndPlaysTheSameTwice) {
  TestDir dir;
  demo::CopyGame(dir);
  std::string shots[2], sound[2];
  for (int run = 0; run < 2; ++run) {
    std::string out;
    std::string r = std::to_string(run);
    ASSERT_EQ(demo::Play(dir, "--start S_END --frames 900 --screenshot 300:" + dir.File("a" + r + ".png") +
                                  " --audio-out " + dir.File("s" + r + ".wav"),
                         &out),
              0)
        << out;
    EXPECT_EQ(out, "");
    shots[run] = dir.Read("a" + r + ".png");
    sound[run] = dir.Read("s" + r + ".wav");
  }
  ASSERT_FALSE(shots[0].empty());
  EXPECT_EQ(shots[0], shots[1]) << "same input, same pixels";
  EXPECT_EQ(sound[0], sound[1]) << "same input, same sound";
  // Music with the fire, the bell, the projector and the fireworks once it
  // has faded in, until it fades at the end.
  std::vector<int> loud = demo::LoudnessPerSecond(dir.File("s0.wav"));
  ASSERT_GE(loud.size(), 20u);
  for (size_t s = 3; s + 4 < loud.size(); ++s) EXPECT_GT(loud[s], 200) << "second " << s << " is silent";
}

}  // namespace
