// The spoken lines of a scenario: every MSG with a voice file, and every
// "# voice NAME PLATE "TEXT"" comment (for voices started by other
// commands), as lines "NAME<TAB>PLATE<TAB>TEXT" for velto-tool voice batch.
#pragma once
#include <string>
#include <vector>

#include "gen/Preprocess.h"

namespace gen {

struct VoiceLine {
  std::string name;  // voice file name without extension
  int plate = -1;    // name plate number: who speaks
  std::string text;  // UTF-8, as the player reads it
};

// Collects the spoken lines of preprocessed scenario source. False with a
// message when a MSG line with a voice cannot be read.
bool CollectVoiceLines(const std::vector<SourceLine>& lines, std::vector<VoiceLine>* out, std::string* error);
// Reads a list written by WriteVoiceList.
bool ReadVoiceList(const std::string& path, std::vector<VoiceLine>* out, std::string* error);
std::string FormatVoiceList(const std::vector<VoiceLine>& lines);

}  // namespace gen
