// The generators' source preprocessor and picture language on hostile
// descriptions: errors, never a crash, a hang or a huge allocation.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "gen/DrawScript.h"
#include "gen/Preprocess.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 4096) return 0;
  std::string text(reinterpret_cast<const char*>(data), size);
  gen::CTextTable texts;
  texts.Set("a", "x\"y");
  gen::CPreprocessor pre;
  pre.SetTexts(&texts);
  std::vector<gen::SourceLine> lines;
  std::string error;
  if (!pre.RunText("fuzz.pic", text, &lines, &error) || lines.size() > 2000) return 0;
  gen::CDrawScript script;
  script.SetMaxPixels(64 * 64);
  gen::PictureResult picture;
  script.Run(lines, &picture, &error);
  return 0;
}
