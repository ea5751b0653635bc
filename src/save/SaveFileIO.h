// Whole-file reading for the save files, their times, and the clean-up of
// what interrupted saves left behind. Files are written whole with
// plat::WriteFileReplacing (platform/FileReplace.h).
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

// The files the game replaces whole: "GAME00.SAV" to "GAME99.SAV",
// "CONFIG.SAV" and "Novel.ini" (names compared without regard to case).
bool IsReplacedFileName(const std::string& name);

// Removes the temporaries that saves killed half-way left in the folders
// the game writes (the "SAVE" folder in use and the folder of `iniPath`).
// Only a temporary at least a minute old goes: a younger one may be a save
// of another run under way. Returns how many were removed.
int RemoveStaleSaveTemporaries(const std::string& iniPath);

// Last-write time as a 64-bit file time: 100-nanosecond steps since
// 1601-01-01 UTC. 0 when the file cannot be examined.
uint64_t FileWriteTime(const std::string& path);
// The same time as seconds since 1970-01-01 UTC.
int64_t FileTimeToUnix(uint64_t fileTime);

// The calendar of a run on the virtual clock (fixed-step runs): it starts
// at 2000-01-01 00:00:00 UTC and moves with the run's clock, in seconds
// since 1970-01-01 UTC. A file written in such a run is given this time
// (StampRunTime), so that the time a saved game shows is the same on every
// run and every machine.
constexpr int64_t kRunCalendarStart = 946684800;
// Sets the file's last-write time from the run's virtual clock. Real runs
// leave the system's time alone; true then, and when the time was set.
bool StampRunTime(const std::string& path);

}  // namespace save
