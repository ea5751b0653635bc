// Feeds arbitrary bytes to the readers of "CONFIG.SAV" and of saved games.
// Valid files are tens of kilobytes, so besides the raw input the target
// also reads a valid file of each kind with the input patched into it: an
// offset, a new length and the bytes to write there.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "FuzzInput.h"
#include "save/ConfigFile.h"
#include "save/GameFile.h"

namespace {

// The readers' bounds do not depend on the key; a fixed one keeps runs fast.
std::string FixedDigest(const std::string&) { return "0123456789abcdef0123456789abcdef"; }

std::vector<uint8_t> BaseConfig() {
  auto d = std::make_unique<ConfigFileData>();
  d->kidoku.push_back({"S01", std::vector<uint8_t>(16, 0x11)});
  d->kidoku.push_back({"S02", std::vector<uint8_t>(8, 0x22)});
  return BuildConfigFile(*d);
}

std::vector<uint8_t> BaseGame() {
  auto g = std::make_unique<SavedGame>();
  g->sumWidth = 4;
  g->sumHeight = 4;
  g->sumPixels.assign(16, 0xFF102030u);
  g->state.assign(40, 7);
  strcpy(g->se[0].name, "SE");
  return BuildGameFile(*g, "", &FixedDigest);
}

std::vector<uint8_t> Patched(const std::vector<uint8_t>& base, const uint8_t* data, size_t size) {
  return fuzzin::Patched(base, data, size, 64, false);
}

void ReadConfig(const uint8_t* data, size_t size) {
  static auto config = std::make_unique<ConfigFileData>();
  if (ParseConfigFile(data, size, *config)) {
    // What was read writes back to a file that reads again.
    std::vector<uint8_t> again = BuildConfigFile(*config);
    if (!ParseConfigFile(again.data(), again.size(), *config)) __builtin_trap();
  }
}

void ReadGame(const uint8_t* data, size_t size) {
  static auto game = std::make_unique<SavedGame>();
  // Skip the signature so that the layout checks behind it are reached.
  if (ParseGameFile(data, size, "", &FixedDigest, *game, false) == GameFileError::kNone) {
    std::vector<uint8_t> again = BuildGameFile(*game, "", &FixedDigest);
    if (ParseGameFile(again.data(), again.size(), "", &FixedDigest, *game) != GameFileError::kNone) __builtin_trap();
  }
  GameHead head;
  ParseGameHead(data, size, "", &FixedDigest, true, head);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::vector<uint8_t> config = BaseConfig();
  static const std::vector<uint8_t> game = BaseGame();
  ReadConfig(data, size);
  ReadGame(data, size);
  std::vector<uint8_t> c = Patched(config, data, size);
  ReadConfig(c.data(), c.size());
  std::vector<uint8_t> g = Patched(game, data, size);
  ReadGame(g.data(), g.size());
  return 0;
}
