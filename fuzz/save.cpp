// Feeds arbitrary bytes to the readers of "CONFIG.SAV" and of saved games.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "save/ConfigFile.h"
#include "save/GameFile.h"

namespace {

// The readers' bounds do not depend on the key; a fixed one keeps runs fast.
std::string FixedDigest(const std::string&) { return "0123456789abcdef0123456789abcdef"; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static auto config = std::make_unique<ConfigFileData>();
  if (ParseConfigFile(data, size, *config)) {
    // What was read writes back to a file that reads again.
    std::vector<uint8_t> again = BuildConfigFile(*config);
    if (!ParseConfigFile(again.data(), again.size(), *config)) __builtin_trap();
  }
  static auto game = std::make_unique<SavedGame>();
  // Skip the signature so that the layout checks behind it are reached.
  if (ParseGameFile(data, size, "", &FixedDigest, *game, false) == GameFileError::kNone) {
    std::vector<uint8_t> again = BuildGameFile(*game, "", &FixedDigest);
    if (ParseGameFile(again.data(), again.size(), "", &FixedDigest, *game) != GameFileError::kNone) __builtin_trap();
  }
  GameHead head;
  ParseGameHead(data, size, "", &FixedDigest, true, head);
  return 0;
}
