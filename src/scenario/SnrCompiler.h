// The scenario compiler: source text (UTF-8, one command a line) to a
// compiled scenario file. The source language is described in
// docs/scenario-language.md.
#pragma once
#include <string>
#include <string_view>

#include "scenario/SnrImage.h"
#include "scenario/TextCodec.h"

namespace snr {

struct CompileResult {
  bool ok = false;
  Bytes file;         // the compiled file, unscrambled
  std::string error;  // "FILE:LINE:COLUMN: message" when not ok
};

// `fileName` only names the source in error messages.
CompileResult CompileScenario(std::string_view source, const std::string& fileName, TextEncoding encoding);

}  // namespace snr
