// The scenario decompiler: a compiled file back to source text that
// compiles to the very same bytes, and the one-line-per-command dump.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "scenario/TextCodec.h"

namespace snr {

struct DecompileResult {
  bool ok = false;
  bool scrambled = false;  // the file was stored scrambled
  std::string text;
  std::string error;
};

// `phrase` (in `encoding`) unscrambles a scrambled file.
DecompileResult DecompileScenario(const uint8_t* data, size_t size, const char* phrase, TextEncoding encoding);

// One line per command: offset in the command area, identifier, name,
// decoded parameters.
DecompileResult DumpScenario(const uint8_t* data, size_t size, const char* phrase, TextEncoding encoding);

}  // namespace snr
