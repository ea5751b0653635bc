// The frame-time report's own arithmetic: the slowest frames named by
// number in the order of their cost, as comments a reader of the table
// skips, and the first-shown times counted from the process's start (the
// start-up a player waits through), not from when the report was made.
#include <gtest/gtest.h>
#include <time.h>

#include <chrono>
#include <sstream>
#include <thread>

#include "app/FrameStats.h"

namespace {

// Spends about `ms` of this thread's processor time.
void Spin(int ms) {
  timespec start{}, now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &start);
  volatile uint64_t sink = 0;
  do {
    for (int i = 0; i < 10000; ++i) sink = sink + i;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  } while ((now.tv_sec - start.tv_sec) * 1000 + (now.tv_nsec - start.tv_nsec) / 1000000 < ms);
}

TEST(FrameStats, NamesTheSlowestFramesAndCountsFromTheProcessStart) {
  // Whatever ran before the report was made counts towards start-up.
  std::this_thread::sleep_for(std::chrono::milliseconds(60));
  CFrameStats stats;
  for (int frame = 1; frame <= 30; ++frame) {
    stats.BeginFrame();
    if (frame == 7) Spin(40);
    if (frame == 21) Spin(20);
    stats.EndFrame(frame < 15 ? "CTitle" : "CStory");
  }
  std::istringstream report(stats.Report());
  std::string line;
  std::vector<std::string> slow;
  double firstShown = -1;
  while (std::getline(report, line)) {
    if (line.rfind("# slow-frame ", 0) == 0) slow.push_back(line.substr(13));
    if (line.rfind("CTitle ", 0) == 0) {
      std::istringstream words(line.substr(7));
      double skip;
      words >> skip >> skip >> skip >> skip >> firstShown;
    }
  }
  ASSERT_EQ(slow.size(), 10u) << stats.Report();
  EXPECT_EQ(slow[0].rfind("7 CTitle ", 0), 0u) << slow[0];
  EXPECT_EQ(slow[1].rfind("21 CStory ", 0), 0u) << slow[1];
  EXPECT_GE(firstShown, 60.0);
}

}  // namespace
