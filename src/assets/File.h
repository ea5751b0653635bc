// One ordinary file on disk, for the data the game writes as well as reads
// (saves, configuration, log). The access and creation values are the
// classic desktop ones so that callers read like the rest of the engine.
#pragma once
#include <cstdint>
#include <string>

// A platform file handle: a file descriptor. -1 (all bits set) is the
// invalid value; a handle handed out by this layer is never 0 either, so
// callers may treat both 0 and -1 as "no handle".
using FileHandle = int;
constexpr FileHandle kInvalidFileHandle = -1;

// Desired access.
constexpr uint32_t GENERIC_READ = 0x80000000u;
constexpr uint32_t GENERIC_WRITE = 0x40000000u;
// Creation disposition.
constexpr uint32_t CREATE_NEW = 1;
constexpr uint32_t CREATE_ALWAYS = 2;
constexpr uint32_t OPEN_EXISTING = 3;
constexpr uint32_t OPEN_ALWAYS = 4;
constexpr uint32_t TRUNCATE_EXISTING = 5;
// Seek methods.
constexpr uint32_t FILE_BEGIN = 0;
constexpr uint32_t FILE_CURRENT = 1;
constexpr uint32_t FILE_END = 2;
// Seek and size failure value.
constexpr uint32_t INVALID_FILE_VALUE32 = 0xFFFFFFFFu;

// Handle helpers for the streaming readers that own a handle of their own
// (CFileJoin::GetHandleMulti). Paths use '/' or '\'; a path whose case
// differs from the file on disk still finds it.
FileHandle FileOpenRead(const std::string& path);
// Reads up to `count` bytes at `offset`; returns the bytes read (0 on error).
uint32_t FileReadAt(FileHandle handle, void* buffer, uint32_t count, uint64_t offset);
// Size of the file, 0 when the handle is not usable.
uint64_t FileSize64(FileHandle handle);
void FileCloseHandle(FileHandle handle);
// The path on disk for `path` (separators turned to '/', each component
// found without regard to case when it exists).
std::string FileLocalPath(const std::string& path);

class CFile {
 public:
  CFile() = default;
  virtual ~CFile();
  CFile(const CFile&) = delete;
  CFile& operator=(const CFile&) = delete;

  // Closes any open file first. Share mode "read", normal attributes.
  virtual bool Open(const char* name, uint32_t desiredAccess, uint32_t creationDisposition);
  virtual void Close();
  // Returns `count` when exactly that many bytes were transferred, else 0.
  virtual uint32_t Read(void* buffer, uint32_t count);
  virtual uint32_t Write(const void* buffer, uint32_t count);
  // Returns the new position, INVALID_FILE_VALUE32 on failure.
  virtual uint32_t Seek(int32_t distance, uint32_t method);
  // Returns the file size (low 32 bits), INVALID_FILE_VALUE32 on failure.
  virtual uint32_t Size();

  FileHandle GetHandle() const { return mhFile; }

 private:
  FileHandle mhFile = kInvalidFileHandle;
};
