// Reading a whole sound file from a file source into memory.
#pragma once
#include <cstdint>
#include <memory>

class CFileJoin;

// Open, take the size, allocate, read, close. False when the file cannot be
// opened, is empty, cannot be allocated or reads short.
bool ReadSoundFile(CFileJoin* fileJoin, const char* name, std::unique_ptr<uint8_t[]>& data, uint32_t& size);
