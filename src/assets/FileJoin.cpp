#include "assets/FileJoin.h"

#include <dirent.h>
#include <strings.h>

#include <cstdlib>
#include <cstring>

#include "app/core/Trace.h"
#include "assets/ArchiveName.h"
#include "platform/Encoding.h"
#include "platform/Paths.h"

const FileJoinSource kFileJoinSources[6] = {
    {"DATA", ".DAT"}, {"MGD", ".MGD"}, {"MSD", ".MSD"}, {"SE", ".OGG"}, {"BGM", ".OGG"}, {"VOICE", ".OGG"},
};

namespace {

struct KindLayout {
  uint32_t kind;
  char magic[8];
  uint32_t headerSize;
  uint32_t entrySize;
};

// In the order the magics are tried.
constexpr KindLayout kLayouts[] = {
    {CFileJoin::kKindFJSYS, {'F', 'J', 'S', 'Y', 'S', 0, 0, 0}, 84, 16},
    {CFileJoin::kKindSM2MPX10, {'S', 'M', '2', 'M', 'P', 'X', '1', '0'}, 32, 20},
    {CFileJoin::kKindMGCFILE, {'M', 'G', 'C', 'F', 'I', 'L', 'E', 0}, 32, 32},
};

const KindLayout* LayoutOf(uint32_t kind) {
  for (const auto& l : kLayouts)
    if (l.kind == kind) return &l;
  return nullptr;
}

uint32_t Le32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }
uint64_t Le64(const uint8_t* p) { return Le32(p) | static_cast<uint64_t>(Le32(p + 4)) << 32; }

// File names on disk are UTF-8; names asked for are in the build's encoding.
std::string DiskName(const std::string& name) {
  for (unsigned char c : name)
    if (c >= 0x80) return plat::ToUtf8(name);
  return name;
}

// The folder or file that makes the source at `path`, "" when none. Names
// that differ only in case may stand side by side here; as with a folder
// and an archive of one name, the folder wins, then the exact name.
std::string FindSourcePath(const std::string& path) {
  std::string local = FileLocalPath(path);
  size_t slash = local.find_last_of('/');
  std::string parent = slash == std::string::npos ? "" : local.substr(0, slash + 1);
  std::string leaf = slash == std::string::npos ? local : local.substr(slash + 1);
  if (leaf.empty()) return plat::IsDirectory(local) ? local : "";
  if (plat::IsDirectory(local)) return local;
  std::string file = plat::FileExists(local) ? local : "";
  if (DIR* d = opendir(parent.empty() ? "." : parent.c_str())) {
    while (dirent* e = readdir(d)) {
      if (strcasecmp(e->d_name, leaf.c_str()) != 0) continue;
      std::string candidate = parent + e->d_name;
      if (plat::IsDirectory(candidate)) {
        closedir(d);
        return candidate;
      }
      if (file.empty() && plat::FileExists(candidate)) file = candidate;
    }
    closedir(d);
  }
  return file;
}

}  // namespace

CFileJoin::~CFileJoin() {
  Trace("CFileJoin::~CFileJoin");
  FreeAll();
}

void CFileJoin::FreeAll() {
  Trace("CFileJoin::FreeAll");
  free(mpEntry);
  mpEntry = nullptr;
  free(mpNameTbl);
  mpNameTbl = nullptr;
  mNameTblSize = 0;
  FileCloseHandle(mhFile);
  mhFile = kInvalidFileHandle;
  mnEntry = 0;
  mnCurrent = -1;
  mArchiveSize = 0;
}

bool CFileJoin::Initialize(const char* directory, const char* sourceName, const char* defaultExt) {
  Trace("CFileJoin::Initialize");
  FreeAll();
  mKind = kKindNone;
  mszPath = std::string(directory ? directory : "") + (sourceName ? sourceName : "");
  mszExt = defaultExt && *defaultExt ? defaultExt : "";
  mbOpen = false;
  mBeginOffset = mPosition = 0;
  FindJoin();
  if (mMode == kModeDirectory) {
    mszPath = plat::WithSeparator(mszPath);
    return true;
  }
  if (mMode == kModeArchive && ReadHeader()) return true;
  mMode = kModeNone;
  return false;
}

bool CFileJoin::FindJoin() {
  Trace("CFileJoin::FindJoin");
  mMode = kModeNone;
  std::string found = FindSourcePath(mszPath);
  if (found.empty()) return false;
  mszPath = found;
  mMode = plat::IsDirectory(found) ? kModeDirectory : kModeArchive;
  return true;
}

uint32_t CFileJoin::GetFileVersion() {
  Trace("CFileJoin::GetFileVersion");
  uint8_t magic[8];
  if (FileReadAt(mhFile, magic, 8, 0) != 8) return kKindNone;
  for (const auto& l : kLayouts)
    if (memcmp(magic, l.magic, 8) == 0) return l.kind;
  return kKindNone;
}

bool CFileJoin::ReadHeader() {
  Trace("CFileJoin::ReadHeader");
  mhFile = FileOpenRead(mszPath);
  if (mhFile == kInvalidFileHandle) return false;
  mArchiveSize = FileSize64(mhFile);
  mKind = GetFileVersion();
  const KindLayout* layout = LayoutOf(mKind);
  bool ok = false;
  uint8_t header[84];
  if (layout && FileReadAt(mhFile, header, layout->headerSize, 0) == layout->headerSize) {
    int32_t count = static_cast<int32_t>(Le32(header + (mKind == kKindMGCFILE ? 12 : mKind == kKindFJSYS ? 16 : 8)));
    uint64_t names = mKind == kKindFJSYS ? Le32(header + 12) : 0;
    uint64_t table = count > 0 ? static_cast<uint64_t>(count) * layout->entrySize : 0;
    // The tables must lie inside the file before anything is allocated.
    if (count > 0 && table <= UINT32_MAX && layout->headerSize + table + names <= mArchiveSize) {
      mnEntry = count;
      mpEntry = static_cast<uint8_t*>(malloc(table));
      ok = mpEntry && FileReadAt(mhFile, mpEntry, static_cast<uint32_t>(table), layout->headerSize) == table;
      if (ok && mKind == kKindFJSYS) {
        mNameTblSize = static_cast<uint32_t>(names);
        mpNameTbl = static_cast<char*>(malloc(names ? names : 1));
        ok = mpNameTbl &&
             FileReadAt(mhFile, mpNameTbl, mNameTblSize, layout->headerSize + table) == mNameTblSize &&
             ValidateNames();
      }
    }
  }
  if (!ok) {
    FreeAll();
    mKind = kKindNone;
  }
  return ok;
}

bool CFileJoin::ValidateNames() {
  Trace("CFileJoin::ValidateNames");
  for (int i = 0; i < mnEntry; ++i) {
    uint32_t at = Le32(mpEntry + static_cast<size_t>(i) * 16);
    if (at >= mNameTblSize || !memchr(mpNameTbl + at, 0, mNameTblSize - at)) return false;
  }
  return true;
}

size_t CFileJoin::EntryBytes() const {
  Trace("CFileJoin::EntryBytes");
  const KindLayout* l = LayoutOf(mKind);
  return l ? l->entrySize : 0;
}

const char* CFileJoin::EntryName(int index, size_t* length) const {
  Trace("CFileJoin::EntryName");
  const uint8_t* e = mpEntry + static_cast<size_t>(index) * EntryBytes();
  switch (mKind) {
    case kKindSM2MPX10: *length = 12; return reinterpret_cast<const char*>(e);
    case kKindMGCFILE: *length = 20; return reinterpret_cast<const char*>(e);
    default: {
      const char* name = mpNameTbl + Le32(e);
      *length = strlen(name);
      return name;
    }
  }
}

uint32_t CFileJoin::EntrySize(int index) const {
  Trace("CFileJoin::EntrySize");
  const uint8_t* e = mpEntry + static_cast<size_t>(index) * EntryBytes();
  return Le32(e + (mKind == kKindSM2MPX10 ? 16 : mKind == kKindMGCFILE ? 20 : 4));
}

uint64_t CFileJoin::EntryOffset(int index) const {
  Trace("CFileJoin::EntryOffset");
  const uint8_t* e = mpEntry + static_cast<size_t>(index) * EntryBytes();
  switch (mKind) {
    case kKindSM2MPX10: return Le32(e + 12);
    case kKindMGCFILE: return Le64(e + 24);
    default: return Le64(e + 8);
  }
}

bool CFileJoin::EntryInsideArchive(int index) const {
  Trace("CFileJoin::EntryInsideArchive");
  uint64_t offset = EntryOffset(index);
  return offset <= mArchiveSize && EntrySize(index) <= mArchiveSize - offset;
}

bool CFileJoin::GetEntryInfo(int index, ArchiveEntryInfo* out) const {
  Trace("CFileJoin::GetEntryInfo");
  if (mMode != kModeArchive || index < 0 || index >= mnEntry || !out) return false;
  size_t length;
  const char* name = EntryName(index, &length);
  out->name.assign(name, strnlen(name, length));
  out->size = EntrySize(index);
  out->offset = EntryOffset(index);
  return true;
}

std::string CFileJoin::SearchExt(const char* name) const {
  Trace("CFileJoin::SearchExt");
  std::string key = name;
  if (!memchr(name, '.', strnlen(name, 260))) key += mszExt;
  return key;
}

std::string CFileJoin::LoosePath(const char* name) const {
  Trace("CFileJoin::LoosePath");
  return plat::ResolveCaseInsensitive(mszPath, DiskName(SearchExt(name)));
}

int CFileJoin::FileSearch(const char* key, bool record) {
  Trace("CFileJoin::FileSearch");
  if (mMode != kModeArchive || !key) return -1;
  size_t keyLength = strlen(key);
  int lo = 0, hi = mnEntry - 1;
  while (lo <= hi) {
    int mid = static_cast<int>((static_cast<int64_t>(lo) + hi) / 2);
    size_t length;
    const char* name = EntryName(mid, &length);
    int d = CompareArchiveName(key, keyLength, name, length);
    if (d < 0) {
      hi = mid - 1;
    } else if (d > 0) {
      lo = mid + 1;
    } else {
      if (record) {
        mnCurrent = mid;
        mBeginOffset = EntryOffset(mid);
      }
      return mid;
    }
  }
  return -1;
}

bool CFileJoin::Open(const char* name) {
  Trace("CFileJoin::Open");
  if (mMode == kModeNone) return false;
  if (!name) {
    mbOpen = false;
    return false;
  }
  if (mMode == kModeDirectory) {
    FileCloseHandle(mhFile);
    mhFile = kInvalidFileHandle;
    std::string path = LoosePath(name);
    if (!path.empty()) mhFile = FileOpenRead(path);
    if (mhFile == kInvalidFileHandle) {
      mbOpen = false;
      return false;
    }
    mBeginOffset = 0;
  } else {
    std::string key = SearchExt(name);
    int index = FileSearch(key.c_str(), false);
    // An entry whose data does not lie inside the archive cannot be read.
    if (index < 0 || !EntryInsideArchive(index)) {
      mbOpen = false;
      return false;
    }
    mnCurrent = index;
    mBeginOffset = EntryOffset(index);
  }
  mPosition = mBeginOffset;
  mbOpen = true;
  return true;
}

uint32_t CFileJoin::GetSize() {
  Trace("CFileJoin::GetSize");
  if (mMode == kModeDirectory) return static_cast<uint32_t>(FileSize64(mhFile));
  if (mMode == kModeArchive && mbOpen && mnCurrent >= 0) return EntrySize(mnCurrent);
  return 0;
}

uint32_t CFileJoin::Read(void* buffer, uint32_t count) {
  Trace("CFileJoin::Read");
  if (mMode == kModeNone || !mbOpen || mhFile == kInvalidFileHandle) return 0;
  uint32_t got = FileReadAt(mhFile, buffer, count, mPosition);
  mPosition += got;
  return got;
}

void CFileJoin::Seek(uint32_t position) {
  Trace("CFileJoin::Seek");
  mPosition = mBeginOffset + position;
}

void CFileJoin::Close() {
  Trace("CFileJoin::Close");
  if (mMode == kModeDirectory) {
    FileCloseHandle(mhFile);
    mhFile = kInvalidFileHandle;
  } else if (mMode == kModeArchive) {
    mnCurrent = -1;
  }
  mbOpen = false;
}

intptr_t CFileJoin::OpenMulti(const char* name) {
  Trace("CFileJoin::OpenMulti");
  if (!name) return 0;
  if (mMode == kModeDirectory) {
    std::string path = LoosePath(name);
    FileHandle h = path.empty() ? kInvalidFileHandle : FileOpenRead(path);
    return h == kInvalidFileHandle ? 0 : h;
  }
  if (mMode == kModeArchive) {
    int index = FileSearch(SearchExt(name).c_str(), false);
    return index < 0 || !EntryInsideArchive(index) ? 0 : index + 1;
  }
  return 0;
}

FileHandle CFileJoin::GetHandleMulti(intptr_t token) {
  Trace("CFileJoin::GetHandleMulti");
  if (mMode == kModeDirectory) return token > 0 ? static_cast<FileHandle>(token) : kInvalidFileHandle;
  if (mMode == kModeArchive && token > 0 && token <= mnEntry) return FileOpenRead(mszPath);
  return kInvalidFileHandle;
}

uint32_t CFileJoin::GetSizeMulti(intptr_t token) {
  Trace("CFileJoin::GetSizeMulti");
  if (mMode == kModeDirectory) return token > 0 ? static_cast<uint32_t>(FileSize64(static_cast<FileHandle>(token))) : 0;
  if (mMode == kModeArchive && token > 0 && token <= mnEntry) return EntrySize(static_cast<int>(token - 1));
  return 0;
}

uint64_t CFileJoin::GetBeginOffsetMulti64(intptr_t token) {
  Trace("CFileJoin::GetBeginOffsetMulti64");
  if (mMode == kModeArchive && token > 0 && token <= mnEntry) return EntryOffset(static_cast<int>(token - 1));
  return 0;
}
