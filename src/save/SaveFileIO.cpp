#include "save/SaveFileIO.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace save {
namespace {

BeforeRenameHook gBeforeRename = nullptr;

constexpr uint64_t kUnixEpochIn1601 = 11644473600ull;  // seconds from 1601 to 1970

bool WriteAll(int fd, const uint8_t* p, size_t n) {
  while (n > 0) {
    ssize_t k = write(fd, p, n);
    if (k < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    p += k;
    n -= static_cast<size_t>(k);
  }
  return true;
}

}  // namespace

bool ReadWholeFile(const std::string& path, size_t maxSize, std::vector<uint8_t>& out) {
  // Non-blocking, so that a pipe put where a save should be cannot hang the
  // open; only regular files are read.
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return false;
  struct stat st;
  bool ok = fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && static_cast<uint64_t>(st.st_size) <= maxSize;
  if (ok) {
    out.resize(static_cast<size_t>(st.st_size));
    size_t got = 0;
    while (got < out.size()) {
      ssize_t k = read(fd, out.data() + got, out.size() - got);
      if (k < 0 && errno == EINTR) continue;
      if (k <= 0) break;
      got += static_cast<size_t>(k);
    }
    // A file that shrank while being read is taken as it was read.
    out.resize(got);
  }
  close(fd);
  return ok;
}

bool WriteFileReplacing(const std::string& path, const void* data, size_t size) {
  std::string temp = path + ".tmpXXXXXX";
  int fd = mkstemp(temp.data());
  if (fd < 0) return false;
  bool ok = WriteAll(fd, static_cast<const uint8_t*>(data), size) && fsync(fd) == 0;
  ok = close(fd) == 0 && ok;
  if (ok) fchmodat(AT_FDCWD, temp.c_str(), 0644, 0);
  if (ok && gBeforeRename && !gBeforeRename(temp)) ok = false;
  if (ok && rename(temp.c_str(), path.c_str()) != 0) ok = false;
  if (!ok) {
    unlink(temp.c_str());
    return false;
  }
  // Make the rename itself durable.
  std::string dir = path.substr(0, path.find_last_of('/') + 1);
  int dfd = open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dfd >= 0) {
    fsync(dfd);
    close(dfd);
  }
  return true;
}

uint64_t FileSize(const std::string& path) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return 0;
  return static_cast<uint64_t>(st.st_size);
}

void SetBeforeRenameHook(BeforeRenameHook hook) { gBeforeRename = hook; }

uint64_t FileWriteTime(const std::string& path) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0) return 0;
  int64_t sec = st.st_mtim.tv_sec;
  if (sec < -static_cast<int64_t>(kUnixEpochIn1601)) return 0;
  return (static_cast<uint64_t>(sec + static_cast<int64_t>(kUnixEpochIn1601))) * 10000000ull +
         static_cast<uint64_t>(st.st_mtim.tv_nsec) / 100;
}

int64_t FileTimeToUnix(uint64_t fileTime) {
  return static_cast<int64_t>(fileTime / 10000000ull) - static_cast<int64_t>(kUnixEpochIn1601);
}

}  // namespace save
