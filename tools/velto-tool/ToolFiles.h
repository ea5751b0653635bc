// Whole-file reading and writing for the commands.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tool {

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>* out);
bool ReadWholeFile(const std::string& path, std::string* out);
// True when every byte was written and the file closed cleanly.
bool WriteWholeFile(const std::string& path, const void* data, size_t size);
inline bool WriteWholeFile(const std::string& path, const std::vector<uint8_t>& data) {
  return WriteWholeFile(path, data.data(), data.size());
}

}  // namespace tool
