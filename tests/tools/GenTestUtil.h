// Helpers of the generator tests: running a source through the
// preprocessor from a string, and running velto-tool.
#pragma once
#include <string>
#include <vector>

#include "RunCommand.h"
#include "TestDir.h"
#include "gen/Preprocess.h"

// Preprocesses `text` written to a file of `dir`; the lines' texts, or
// the error as the only element prefixed "error: ".
inline std::vector<std::string> Prep(const TestDir& dir, const std::string& text, gen::CTextTable* texts = nullptr,
                                     const char* name = "in.txt") {
  dir.Write(name, text);
  gen::CPreprocessor pre;
  if (texts) pre.SetTexts(texts);
  std::vector<gen::SourceLine> lines;
  std::string error;
  if (!pre.Run(dir.File(name), &lines, &error)) return {"error: " + error};
  std::vector<std::string> out;
  for (const auto& l : lines) out.push_back(l.text);
  return out;
}

// Runs velto-tool with `args` (quoted by the caller); its exit status, and
// its standard output and error in `out`.
inline int Tool(const std::string& args, std::string* out = nullptr) {
  return RunCommand(std::string("'") + VELTO_TOOL_PATH + "' " + args + " 2>&1", out);
}
