#include "assets/ArchiveWriter.h"

#include <algorithm>
#include <cstring>

#include "assets/ArchiveName.h"
#include "assets/FileJoin.h"

namespace {

void Put32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}
void Put64(uint8_t* p, uint64_t v) {
  Put32(p, static_cast<uint32_t>(v));
  Put32(p + 4, static_cast<uint32_t>(v >> 32));
}

bool Refuse(std::string* error, const std::string& message) {
  if (error) *error = message;
  return false;
}

}  // namespace

uint32_t ArchiveKindByName(const std::string& name) {
  if (name == "fjsys") return CFileJoin::kKindFJSYS;
  if (name == "sm2mpx10") return CFileJoin::kKindSM2MPX10;
  if (name == "mgcfile") return CFileJoin::kKindMGCFILE;
  return CFileJoin::kKindNone;
}

bool MakeArchiveTables(uint32_t kind, std::vector<ArchiveItem>* items, std::vector<uint8_t>* tables,
                       std::string* error) {
  size_t headerSize, entrySize, nameLimit;
  switch (kind) {
    case CFileJoin::kKindFJSYS: headerSize = 84, entrySize = 16, nameLimit = SIZE_MAX; break;
    case CFileJoin::kKindSM2MPX10: headerSize = 32, entrySize = 20, nameLimit = 12; break;
    case CFileJoin::kKindMGCFILE: headerSize = 32, entrySize = 32, nameLimit = 19; break;
    default: return Refuse(error, "unknown archive kind");
  }
  if (items->empty()) return Refuse(error, "an archive needs at least one file");
  if (items->size() > 0x7FFFFFFF) return Refuse(error, "too many files");
  for (const auto& item : *items) {
    if (item.name.empty() || item.name.find('\0') != std::string::npos)
      return Refuse(error, "empty file name");
    if (item.name.size() > nameLimit)
      return Refuse(error, "name '" + item.name + "' does not fit the archive's name field (at most " +
                               std::to_string(nameLimit) + " bytes)");
    if (item.size > UINT32_MAX) return Refuse(error, "file '" + item.name + "' is 4 GiB or larger");
  }
  std::stable_sort(items->begin(), items->end(), [](const ArchiveItem& a, const ArchiveItem& b) {
    return CompareArchiveName(a.name.c_str(), b.name.c_str()) < 0;
  });
  for (size_t i = 1; i < items->size(); ++i)
    if (CompareArchiveName((*items)[i - 1].name.c_str(), (*items)[i].name.c_str()) == 0)
      return Refuse(error, "names '" + (*items)[i - 1].name + "' and '" + (*items)[i].name +
                               "' are the same to lookup");

  size_t count = items->size();
  size_t nameTable = 0;
  if (kind == CFileJoin::kKindFJSYS)
    for (const auto& item : *items) nameTable += item.name.size() + 1;
  if (nameTable > UINT32_MAX) return Refuse(error, "name table too large");
  tables->assign(headerSize + count * entrySize + nameTable, 0);
  uint8_t* head = tables->data();
  uint64_t offset = tables->size();
  for (auto& item : *items) {
    item.offset = offset;
    offset += item.size;
  }
  if (kind == CFileJoin::kKindSM2MPX10 && items->back().offset > UINT32_MAX)
    return Refuse(error, "archive too large for SM2MPX10 offsets");

  uint8_t* entry = head + headerSize;
  if (kind == CFileJoin::kKindFJSYS) {
    memcpy(head, "FJSYS\0\0\0", 8);
    Put32(head + 12, static_cast<uint32_t>(nameTable));
    Put32(head + 16, static_cast<uint32_t>(count));
    char* names = reinterpret_cast<char*>(entry + count * entrySize);
    uint32_t at = 0;
    for (const auto& item : *items) {
      Put32(entry, at);
      Put32(entry + 4, static_cast<uint32_t>(item.size));
      Put64(entry + 8, item.offset);
      memcpy(names + at, item.name.c_str(), item.name.size() + 1);
      at += static_cast<uint32_t>(item.name.size() + 1);
      entry += entrySize;
    }
  } else if (kind == CFileJoin::kKindSM2MPX10) {
    memcpy(head, "SM2MPX10", 8);
    Put32(head + 8, static_cast<uint32_t>(count));
    for (const auto& item : *items) {
      memcpy(entry, item.name.data(), item.name.size());
      Put32(entry + 12, static_cast<uint32_t>(item.offset));
      Put32(entry + 16, static_cast<uint32_t>(item.size));
      entry += entrySize;
    }
  } else {
    memcpy(head, "MGCFILE\0", 8);
    Put32(head + 12, static_cast<uint32_t>(count));
    for (const auto& item : *items) {
      memcpy(entry, item.name.data(), item.name.size());
      Put32(entry + 20, static_cast<uint32_t>(item.size));
      Put64(entry + 24, item.offset);
      entry += entrySize;
    }
  }
  return true;
}
