// Scenario source text: the compiler never fails but by a message, and what
// it compiles decompiles to text that compiles to the same bytes.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "scenario/SnrCompiler.h"
#include "scenario/SnrDecompiler.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  for (auto encoding : {snr::TextEncoding::kSjis, snr::TextEncoding::kGbk}) {
    snr::CompileResult first = snr::CompileScenario(text, "fuzz.txt", encoding);
    if (!first.ok) {
      if (first.error.empty()) abort();
      continue;
    }
    snr::DecompileResult d = snr::DecompileScenario(first.file.data(), first.file.size(), "KEY", encoding);
    if (!d.ok) abort();
    snr::CompileResult second = snr::CompileScenario(d.text, "again.txt", encoding);
    if (!second.ok || second.file != first.file) abort();
  }
  return 0;
}
