// Building archives (velto-tool arc create, tests): the header and entry
// tables of an archive whose entries are sorted in the order lookup needs.
// The caller writes the entries' data after the tables, in the sorted order.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct ArchiveItem {
  std::string name;
  uint64_t size = 0;
  uint64_t offset = 0;  // filled in by MakeArchiveTables
};

// Sorts `items` into lookup order, fills in their offsets and puts the
// header and tables into `tables`. `kind` is a CFileJoin::Kind. Refuses
// (false and a message) an empty list, empty or duplicate names, names that
// do not fit the kind's name field and sizes or offsets it cannot hold.
bool MakeArchiveTables(uint32_t kind, std::vector<ArchiveItem>* items, std::vector<uint8_t>* tables,
                       std::string* error);

// The kind named "fjsys", "sm2mpx10" or "mgcfile"; 0 for any other text.
uint32_t ArchiveKindByName(const std::string& name);
