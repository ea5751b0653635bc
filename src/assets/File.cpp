#include "assets/File.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "app/core/Trace.h"
#include "platform/Paths.h"

namespace {

// Keeps descriptors 0 (which callers read as "no handle") out of our hands.
int AvoidZero(int fd) {
  if (fd != 0) return fd;
  int moved = fcntl(fd, F_DUPFD_CLOEXEC, 1);
  close(fd);
  return moved;
}

bool IsRegularHandle(int fd) {
  struct stat st;
  return fstat(fd, &st) == 0 && !S_ISDIR(st.st_mode);
}

}  // namespace

std::string FileLocalPath(const std::string& path) {
  std::string p = path;
  for (char& c : p)
    if (c == '\\') c = '/';
  if (p.empty()) return p;
  struct stat st;
  if (lstat(p.c_str(), &st) == 0) return p;
  if (p[0] == '/') return plat::ResolveForWrite("/", p.substr(1));
  return plat::ResolveForWrite("", p);
}

FileHandle FileOpenRead(const std::string& path) {
  std::string local = FileLocalPath(path);
  if (local.empty()) return kInvalidFileHandle;
  int fd = AvoidZero(open(local.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd < 0) return kInvalidFileHandle;
  if (!IsRegularHandle(fd)) {
    close(fd);
    return kInvalidFileHandle;
  }
  return fd;
}

uint32_t FileReadAt(FileHandle handle, void* buffer, uint32_t count, uint64_t offset) {
  if (handle <= 0 || !buffer) return 0;
  uint32_t done = 0;
  auto* out = static_cast<char*>(buffer);
  while (done < count) {
    ssize_t got = pread(handle, out + done, count - done, static_cast<off_t>(offset + done));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    done += static_cast<uint32_t>(got);
  }
  return done;
}

uint64_t FileSize64(FileHandle handle) {
  struct stat st;
  if (handle <= 0 || fstat(handle, &st) != 0) return 0;
  return static_cast<uint64_t>(st.st_size);
}

void FileCloseHandle(FileHandle handle) {
  if (handle > 0) close(handle);
}

CFile::~CFile() {
  Trace("CFile::~CFile");
  Close();
}

bool CFile::Open(const char* name, uint32_t desiredAccess, uint32_t creationDisposition) {
  Trace("CFile::Open");
  Close();
  if (!name || !*name) return false;
  int flags = O_CLOEXEC;
  bool read = desiredAccess & GENERIC_READ, write = desiredAccess & GENERIC_WRITE;
  flags |= read && write ? O_RDWR : write ? O_WRONLY : O_RDONLY;
  switch (creationDisposition) {
    case CREATE_NEW: flags |= O_CREAT | O_EXCL; break;
    case CREATE_ALWAYS: flags |= O_CREAT | O_TRUNC; break;
    case OPEN_EXISTING: break;
    case OPEN_ALWAYS: flags |= O_CREAT; break;
    case TRUNCATE_EXISTING: flags |= O_TRUNC; break;
    default: return false;
  }
  std::string local = FileLocalPath(name);
  int fd = AvoidZero(open(local.c_str(), flags, 0644));
  if (fd < 0) return false;
  if (!IsRegularHandle(fd)) {
    close(fd);
    return false;
  }
  mhFile = fd;
  return true;
}

void CFile::Close() {
  Trace("CFile::Close");
  if (mhFile != kInvalidFileHandle) close(mhFile);
  mhFile = kInvalidFileHandle;
}

uint32_t CFile::Read(void* buffer, uint32_t count) {
  Trace("CFile::Read");
  if (mhFile == kInvalidFileHandle || (!buffer && count)) return 0;
  uint32_t done = 0;
  auto* out = static_cast<char*>(buffer);
  while (done < count) {
    ssize_t got = read(mhFile, out + done, count - done);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    done += static_cast<uint32_t>(got);
  }
  return done == count ? count : 0;
}

uint32_t CFile::Write(const void* buffer, uint32_t count) {
  Trace("CFile::Write");
  if (mhFile == kInvalidFileHandle || (!buffer && count)) return 0;
  uint32_t done = 0;
  auto* in = static_cast<const char*>(buffer);
  while (done < count) {
    ssize_t put = write(mhFile, in + done, count - done);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) break;
    done += static_cast<uint32_t>(put);
  }
  return done == count ? count : 0;
}

uint32_t CFile::Seek(int32_t distance, uint32_t method) {
  Trace("CFile::Seek");
  if (mhFile == kInvalidFileHandle) return INVALID_FILE_VALUE32;
  int whence = method == FILE_BEGIN ? SEEK_SET : method == FILE_CURRENT ? SEEK_CUR : method == FILE_END ? SEEK_END : -1;
  if (whence < 0) return INVALID_FILE_VALUE32;
  off_t pos = lseek(mhFile, distance, whence);
  if (pos < 0) return INVALID_FILE_VALUE32;
  return static_cast<uint32_t>(pos);
}

uint32_t CFile::Size() {
  Trace("CFile::Size");
  struct stat st;
  if (mhFile == kInvalidFileHandle || fstat(mhFile, &st) != 0) return INVALID_FILE_VALUE32;
  return static_cast<uint32_t>(st.st_size);
}
