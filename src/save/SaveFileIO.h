// Whole-file reading and replacing for the save files. A file is replaced
// by writing a temporary file next to it, flushing it to the disk and
// renaming it over the old one, so a crash, a kill or a full disk in the
// middle of a save leaves the previous file as it was.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace save {

// Reads the file whole. False when it cannot be opened or read, or is larger
// than `maxSize`.
bool ReadWholeFile(const std::string& path, size_t maxSize, std::vector<uint8_t>& out);

// The size of a regular file, 0 when there is none.
uint64_t FileSize(const std::string& path);

// Replaces `path` with `size` bytes. False (the old file untouched, no
// temporary left behind) when any step fails.
bool WriteFileReplacing(const std::string& path, const void* data, size_t size);

// Tests stand in for a kill between writing and renaming: when the hook
// returns false the replacement stops there.
using BeforeRenameHook = bool (*)(const std::string& tempPath);
void SetBeforeRenameHook(BeforeRenameHook hook);

// Last-write time as a 64-bit file time: 100-nanosecond steps since
// 1601-01-01 UTC. 0 when the file cannot be examined.
uint64_t FileWriteTime(const std::string& path);
// The same time as seconds since 1970-01-01 UTC.
int64_t FileTimeToUnix(uint64_t fileTime);

}  // namespace save
