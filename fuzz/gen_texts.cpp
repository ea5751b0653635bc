// Text tables, spoken-line collection and the voice synthesiser on hostile
// input.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "gen/TextTable.h"
#include "gen/Voice.h"
#include "gen/VoiceList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 2048) return 0;
  std::string text(reinterpret_cast<const char*>(data), size);
  gen::CTextTable table;
  std::string error;
  table.Parse("fuzz.txt", text, &error);
  std::vector<gen::SourceLine> lines;
  size_t start = 0;
  for (size_t i = 0; i <= text.size(); ++i)
    if (i == text.size() || text[i] == '\n') {
      lines.push_back(gen::SourceLine{"fuzz.txt", static_cast<int>(lines.size() + 1), text.substr(start, i - start)});
      start = i + 1;
    }
  std::vector<gen::VoiceLine> spoken;
  gen::CollectVoiceLines(lines, &spoken, &error);
  gen::Speaker speaker;
  if (size <= 64) gen::RenderVoice(text, speaker, 8000);
  return 0;
}
