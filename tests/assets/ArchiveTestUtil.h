// Builds archives in memory for the tests: through the writer (sorted,
// valid) or byte by byte (for damaged and hand-ordered tables).
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "assets/ArchiveWriter.h"

inline std::string BuildArchive(uint32_t kind, const std::vector<std::pair<std::string, std::string>>& files) {
  std::vector<ArchiveItem> items;
  for (const auto& [name, data] : files) items.push_back({name, data.size(), 0});
  std::vector<uint8_t> tables;
  std::string error;
  if (!MakeArchiveTables(kind, &items, &tables, &error)) return {};
  std::string out(tables.begin(), tables.end());
  for (const auto& item : items)
    for (const auto& [name, data] : files)
      if (name == item.name) out += data;
  return out;
}

inline void PutLe(std::string* s, size_t at, uint64_t v, int bytes) {
  if (s->size() < at + bytes) s->resize(at + bytes, '\0');
  for (int i = 0; i < bytes; ++i) (*s)[at + i] = static_cast<char>(v >> (8 * i));
}
