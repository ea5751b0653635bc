// One file source of the game: either a folder of loose files or a single
// archive file of the same name (FJSYS, SM2MPX10 or MGCFILE). Callers ask
// for a file by name, with or without extension, and read it from its
// first byte; the source hides where it lives.
#pragma once
#include <cstdint>
#include <string>

#include "assets/File.h"

// The six sources of the game, in table order (indices of
// CMainWindow::mpFileJoin).
struct FileJoinSource {
  const char* name;
  const char* ext;
};
extern const FileJoinSource kFileJoinSources[6];

// One entry of an archive as stored, for tools and diagnostics.
struct ArchiveEntryInfo {
  std::string name;
  uint32_t size = 0;
  uint64_t offset = 0;
};

class CFileJoin {
 public:
  enum Mode : uint32_t { kModeNone = 0, kModeDirectory = 1, kModeArchive = 2 };
  enum Kind : uint32_t { kKindNone = 0, kKindSM2MPX10 = 2, kKindMGCFILE = 3, kKindFJSYS = 4 };

  CFileJoin() = default;
  virtual ~CFileJoin();
  CFileJoin(const CFileJoin&) = delete;
  CFileJoin& operator=(const CFileJoin&) = delete;

  // `directory` ends in a path separator; the source is directory + name.
  virtual bool Initialize(const char* directory, const char* sourceName, const char* defaultExt);

  // Opens one file of the source for sequential reading from its first byte.
  virtual bool Open(const char* name);
  // Size of the open file or entry; 0 when nothing is open.
  virtual uint32_t GetSize();
  // Reads from the current position; not clamped at the end of an entry.
  virtual uint32_t Read(void* buffer, uint32_t count);
  // Moves to `position` bytes after the start of the open file or entry.
  virtual void Seek(uint32_t position);
  virtual void Close();

  // For streaming readers that need a file position of their own. The
  // token is 0 on failure. GetHandleMulti gives a handle the caller closes
  // (FileCloseHandle); it reads the entry at GetBeginOffsetMulti64 and at
  // most GetSizeMulti bytes.
  virtual intptr_t OpenMulti(const char* name);
  virtual FileHandle GetHandleMulti(intptr_t token);
  virtual uint32_t GetSizeMulti(intptr_t token);
  virtual uint64_t GetBeginOffsetMulti64(intptr_t token);

  uint32_t GetMode() const { return mMode; }
  uint32_t GetKind() const { return mKind; }
  int GetEntryCount() const { return mnEntry; }
  // The stored entry `index` (archive mode); false when out of range.
  bool GetEntryInfo(int index, ArchiveEntryInfo* out) const;
  // Entry index of `key` by bisection, or -1; with `record` the entry
  // becomes the open one.
  int FileSearch(const char* key, bool record);

 private:
  void FreeAll();
  bool FindJoin();
  bool ReadHeader();
  uint32_t GetFileVersion();
  bool ValidateNames();
  // The name with the default extension added when it has none.
  std::string SearchExt(const char* name) const;
  // The path on disk of a loose file, "" when there is none.
  std::string LoosePath(const char* name) const;
  const char* EntryName(int index, size_t* length) const;
  uint32_t EntrySize(int index) const;
  uint64_t EntryOffset(int index) const;
  bool EntryInsideArchive(int index) const;
  size_t EntryBytes() const;

  FileHandle mhFile = kInvalidFileHandle;
  uint8_t* mpEntry = nullptr;
  char* mpNameTbl = nullptr;
  uint32_t mNameTblSize = 0;
  uint64_t mBeginOffset = 0;
  uint64_t mPosition = 0;
  uint64_t mArchiveSize = 0;
  int32_t mnEntry = 0;
  int32_t mnCurrent = -1;
  uint32_t mMode = kModeNone;
  uint32_t mKind = kKindNone;
  std::string mszPath;
  std::string mszExt;
  bool mbOpen = false;
};
