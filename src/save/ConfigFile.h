// "CONFIG.SAV": the global variables, the read-text bits of every scenario
// file, the gallery and scene unlock flags and the player's settings. No
// signature and nothing scrambled; the layout is checked piece by piece so
// that a damaged file is refused whole.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "save/SaveTypes.h"

inline constexpr size_t kConfigFixedSize = 44436;  // 4000 + 4 + 40000 + 400 + 32
inline constexpr size_t kConfigRecordHead = 260;   // name field 256 + size 4

struct ConfigKidoku {
  std::string name;  // at most 63 bytes
  std::vector<uint8_t> bits;
};

// The whole file in memory.
struct ConfigFileData {
  int32_t globals[kVariableCount - kGameVariableCount] = {};
  std::vector<ConfigKidoku> kidoku;
  uint8_t cgFlag[kCGGroups][kCGEntries][kCGVariants] = {};
  uint8_t sceneFlag[kSceneGroups][kSceneEntries] = {};
  ConfigRecord config;
};

// The 32-byte settings record.
void WriteConfigRecord(const ConfigRecord& config, uint8_t out[32]);
// Reads a settings record. Values are clamped to their ranges (speeds and
// volumes 0..255, the skip mode 0 or 1) so that no caller indexes a table
// with a stored number.
ConfigRecord ReadConfigRecord(const uint8_t in[32]);

std::vector<uint8_t> BuildConfigFile(const ConfigFileData& data);
// False, with `why` set, when the file is short, its record count is above
// 1000, a record runs past the end, or the size does not match its contents.
bool ParseConfigFile(const uint8_t* bytes, size_t size, ConfigFileData& out, std::string* why = nullptr);
