// The command line of the program.
#pragma once
#include <map>
#include <string>

struct RunOptions {
  std::string gameDir;                       // --game DIR
  bool headless = false;                     // --headless
  bool fixedStep = false;                    // --fixed-step
  long long frames = -1;                     // --frames N (-1: run until closed)
  std::string inputFile;                     // --input FILE
  std::string recordFile;                    // --record FILE
  std::multimap<long long, std::string> screenshots;  // --screenshot N:FILE.png
  std::string audioOut;                      // --audio-out FILE.wav
  std::string startScenario;                 // --start SCENARIO: a new game from that file at once
  std::string statsFile;                     // --stats FILE: the frame-time report, written at exit
  bool showHelp = false;
  bool showVersion = false;
};

// Parses argv. False with a message in `error` for a bad command line.
bool ParseRunOptions(int argc, char** argv, RunOptions& options, std::string& error);
const char* RunUsage();
