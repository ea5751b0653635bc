// The demo is the engine's worked example: its story, as compiled into the
// game, uses every transition, every kind of layer action, camera moves,
// music changes, voices, effects, both kinds of choice, save points and a
// movie. A change to the story that drops one fails here.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>

#include "DemoPlay.h"

namespace {

// Command name → the parameters of each use, as the tool's dump writes them.
std::map<std::string, std::vector<std::string>> StoryCommands() {
  std::map<std::string, std::vector<std::string>> uses;
  for (const char* scene : {"START", "S01", "S02", "R_TOKO", "R_SHIZU", "S_END"}) {
    std::string out;
    EXPECT_EQ(RunCommand(std::string("'") + VELTO_TOOL_PATH + "' snr dump '" + VELTO_BINARY_DIR + "/demo-work/MSD/" +
                             scene + ".MSD' 2>&1",
                         &out),
              0)
        << scene << ": " << out;
    std::istringstream lines(out);
    std::string line;
    while (std::getline(lines, line)) {
      std::istringstream words(line);
      std::string offset, id, name, params;
      if (!(words >> offset >> id >> name)) continue;
      std::getline(words, params);
      size_t start = params.find_first_not_of(' ');
      uses[name].push_back(start == std::string::npos ? "" : params.substr(start));
    }
  }
  return uses;
}

int Param(const std::string& params, int index) {
  std::istringstream in(params);
  std::string field;
  for (int i = 0; i <= index; ++i)
    if (!std::getline(in, field, ',')) return -1000;
  return atoi(field.c_str());
}

TEST(DemoCoverage, TheStoryUsesEveryTransitionActionAndKindOfSound) {
  auto uses = StoryCommands();
  // OVERLAP's first parameter is the transition's number less one.
  std::set<int> effects, kinds;
  for (const std::string& p : uses["OVERLAP"]) effects.insert(Param(p, 0) + 1);
  for (int e = 1; e <= 15; ++e) EXPECT_EQ(effects.count(e), 1u) << "transition " << e << " unused";
  for (const std::string& p : uses["ACTMAKE"]) kinds.insert(Param(p, 1));
  for (int k = 0; k <= 4; ++k) EXPECT_EQ(kinds.count(k), 1u) << "action kind " << k << " unused";
  for (const char* command : {"CAMMOVE", "SCREENACT", "BGMPLAY", "BGMSTOP", "SEPLAY", "SESTOP", "SEREAD", "VOICEPLAY",
                              "MESVPLAY", "SELECT", "SELRUN", "LPT", "MOVIE", "SETCGFLAG", "SETSCENEFLAG", "MESNAME",
                              "LYBLEND", "LYCOLOR", "LYANTI", "LYCAMSTATE", "RANDOM", "ONJP", "AWAIT", "CURSOR"})
    EXPECT_FALSE(uses[command].empty()) << command << " unused";
  // Music changes: several pieces are played.
  std::set<std::string> music;
  for (const std::string& p : uses["BGMPLAY"]) music.insert(p.substr(0, p.find(',')));
  EXPECT_GE(music.size(), 3u);
  // About ten minutes of reading; every line of the three speakers with a
  // name plate (1-3) is spoken.
  EXPECT_GT(uses["MSG"].size(), 100u);
  for (const std::string& p : uses["MSG"]) {
    int plate = Param(p, 1);
    if (plate >= 1 && plate <= 3) {
      EXPECT_NE(p.find(", \"V"), std::string::npos) << p;
    }
  }
  EXPECT_GE(uses["LPT"].size(), uses["MSG"].size());
}

}  // namespace
