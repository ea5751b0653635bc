#include "save/SaveFileIO.h"

#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <ctime>

#include "platform/FileReplace.h"
#include "platform/Timer.h"
#include "save/SaveFolder.h"

namespace save {
namespace {

constexpr uint64_t kUnixEpochIn1601 = 11644473600ull;  // seconds from 1601 to 1970
constexpr int kStaleTemporaryAge = 60;                 // seconds

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

uint64_t FileSize(const std::string& path) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return 0;
  return static_cast<uint64_t>(st.st_size);
}

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

bool StampRunTime(const std::string& path) {
  if (!plat::IsVirtualClock()) return true;
  const uint32_t ms = plat::timeGetTime();
  timespec times[2];
  times[0].tv_sec = times[1].tv_sec = static_cast<time_t>(kRunCalendarStart + ms / 1000);
  times[0].tv_nsec = times[1].tv_nsec = static_cast<long>(ms % 1000) * 1000000L;
  return utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
}

bool IsReplacedFileName(const std::string& name) {
  if (strcasecmp(name.c_str(), "CONFIG.SAV") == 0 || strcasecmp(name.c_str(), "Novel.ini") == 0) return true;
  return name.size() == 10 && strncasecmp(name.c_str(), "GAME", 4) == 0 &&
         isdigit(static_cast<unsigned char>(name[4])) && isdigit(static_cast<unsigned char>(name[5])) &&
         strcasecmp(name.c_str() + 6, ".SAV") == 0;
}

int RemoveStaleSaveTemporaries(const std::string& iniPath) {
  int removed = plat::RemoveStaleTemporaries(SaveFolderForWrite(), &IsReplacedFileName, kStaleTemporaryAge);
  size_t slash = iniPath.find_last_of('/');
  std::string iniDir = slash == std::string::npos ? std::string("./") : iniPath.substr(0, slash + 1);
  removed += plat::RemoveStaleTemporaries(iniDir, &IsReplacedFileName, kStaleTemporaryAge);
  if (removed > 0) fprintf(stderr, "veltogame: removed %d file(s) left by interrupted saves\n", removed);
  return removed;
}

}  // namespace save
