// The frame-time report of a headless run: every frame is counted once
// under the screen that ran it, the figures are in order, and a report
// that cannot be written is said so without failing the run.
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "DemoPlay.h"

namespace {

struct Row {
  long long frames = 0;
  double median = 0, p99 = 0, max = 0, first = 0;
};

TEST(DemoStats, TheReportCountsEveryFrameOfEachScreen) {
  TestDir dir;
  demo::CopyGame(dir);
  std::string out;
  ASSERT_EQ(demo::Play(dir, "--start S01 --frames 250 --stats " + dir.File("stats.txt"), &out), 0) << out;
  std::istringstream report(dir.Read("stats.txt"));
  std::string line;
  std::map<std::string, Row> rows;
  double heaviest = -1, memory = -1;
  while (std::getline(report, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream words(line);
    std::string name;
    words >> name;
    if (name == "heaviest-frame-ms") {
      words >> heaviest;
    } else if (name == "peak-memory-mb") {
      words >> memory;
    } else {
      Row r;
      ASSERT_TRUE(words >> r.frames >> r.median >> r.p99 >> r.max >> r.first) << line;
      rows[name] = r;
    }
  }
  // The story runs on the scenario screen (whichever class plays it).
  bool story = false;
  for (const auto& row : rows) story = story || row.first.rfind("CDIBSnr", 0) == 0;
  EXPECT_TRUE(story) << dir.Read("stats.txt");
  long long frames = 0;
  double max = 0;
  for (const auto& [name, r] : rows) {
    SCOPED_TRACE(name);
    frames += r.frames;
    EXPECT_LE(r.median, r.p99);
    EXPECT_LE(r.p99, r.max);
    EXPECT_GT(r.first, 0);
    max = std::max(max, r.max);
  }
  EXPECT_EQ(frames, 250);
  EXPECT_DOUBLE_EQ(heaviest, max);
  EXPECT_GT(memory, 1.0);

  // Without a file name the command line is refused; an unwritable report
  // is named, and the run still ends normally.
  EXPECT_NE(demo::Play(dir, "--frames 1 --stats", &out), 0);
  EXPECT_NE(out.find("--stats needs a value"), std::string::npos) << out;
  ASSERT_EQ(demo::Play(dir, "--frames 2 --stats " + dir.File("no/such/folder/stats.txt"), &out), 0) << out;
  EXPECT_NE(out.find("cannot write the frame-time report"), std::string::npos) << out;
}

}  // namespace
