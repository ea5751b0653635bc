// The demo's story played headless from its scenes, as the build made it:
// every scene runs to the end without an error box, its pages show the
// pictures the build drew, the music and effects sound, and two runs give
// the same pictures and the same sound.
#include <gtest/gtest.h>

#include <set>

#include "DemoPlay.h"

namespace {

using demo::Image;

struct Route {
  const char* start;
  int frames;                         // more than the route needs to reach its END
  std::vector<const char*> pictures;  // pages that must show on the way
};

// Screenshots every `step` frames up to `frames`; what the run printed.
std::vector<Image> PlaySampled(const TestDir& dir, const std::string& start, int frames, int step,
                               std::string* out, int* status, bool* ended) {
  std::string args = "--start " + start + " --frames " + std::to_string(frames);
  for (int f = step; f <= frames; f += step) args += " --screenshot " + std::to_string(f) + ":" + dir.File("s" + std::to_string(f) + ".png");
  *status = demo::Play(dir, args, out);
  std::vector<Image> shots;
  for (int f = step; f <= frames; f += step)
    if (dir.Exists("s" + std::to_string(f) + ".png")) shots.push_back(demo::LoadPng(dir.File("s" + std::to_string(f) + ".png")));
  *ended = !dir.Exists("s" + std::to_string(frames) + ".png");
  return shots;
}

TEST(DemoStory, BothRoutesRunToTheEndShowingTheirPagesWithoutAnErrorBox) {
  // From the first chapter the story runs on by itself through the
  // lighthouse's route (the choice left at its first item) to the end; the
  // cinema's route is started at its own chapter, with the old film.
  const std::vector<Route> routes = {
      {"S01", 3000, {"BG_STATION", "BG_SEA", "BG_LIGHT", "BG_CINEMA", "BG_LOBBY", "BG_GALLERY", "CG_T01B", "CG_ENDA"}},
      {"R_SHIZU", 1600, {"BG_PROJ", "CG_S01A", "CG_S01B", "BG_FEST"}},
  };
  for (const Route& route : routes) {
    SCOPED_TRACE(route.start);
    TestDir dir;
    demo::CopyGame(dir);
    std::string out;
    int status = 0;
    bool ended = false;
    std::vector<Image> shots = PlaySampled(dir, route.start, route.frames, 40, &out, &status, &ended);
    EXPECT_EQ(status, 0) << out;
    EXPECT_EQ(out, "") << "an error box";
    EXPECT_TRUE(ended) << "the story did not reach its END";
    ASSERT_FALSE(shots.empty());
    for (const char* name : route.pictures) {
      Image picture = demo::GamePicture(dir, name);
      ASSERT_TRUE(picture.Valid()) << name;
      bool seen = false;
      for (const Image& shot : shots) seen = seen || demo::Shows(shot, picture);
      EXPECT_TRUE(seen) << name << " never shows";
    }
    // The story ends on a black page.
    const Image& last = shots.back();
    for (const demo::Probe& p : demo::BackgroundProbes()) EXPECT_EQ(last.At(p.x, p.y) & 0xFFFFFF, 0u);
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
