#include "platform/FileReplace.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <ctime>

namespace plat {
namespace {

BeforeRenameHook gBeforeRename = nullptr;

constexpr char kTempSuffix[] = ".tmp";
constexpr size_t kTempLetters = 6;  // what mkstemp fills in

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

// A link is followed, so that a settings file kept elsewhere stays there.
std::string FollowLink(const std::string& path) {
  struct stat st;
  if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
  char resolved[PATH_MAX];
  if (!realpath(path.c_str(), resolved)) return path;
  return resolved;
}

}  // namespace

bool WriteFileReplacing(const std::string& given, const void* data, size_t size) {
  const std::string path = FollowLink(given);
  std::string temp = path + kTempSuffix + std::string(kTempLetters, 'X');
  int fd = mkstemp(temp.data());
  if (fd < 0) return false;
  bool ok = WriteAll(fd, static_cast<const uint8_t*>(data), size) && fsync(fd) == 0;
  int err = errno;
  ok = close(fd) == 0 && ok;
  if (ok) fchmodat(AT_FDCWD, temp.c_str(), 0644, 0);
  if (ok && gBeforeRename && !gBeforeRename(temp)) ok = false;
  if (ok && rename(temp.c_str(), path.c_str()) != 0) {
    err = errno;
    ok = false;
  }
  if (!ok) {
    unlink(temp.c_str());
    errno = err;
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

void SetBeforeRenameHook(BeforeRenameHook hook) { gBeforeRename = hook; }

bool IsReplacementTemporary(const std::string& fileName, const std::string& target) {
  const size_t suffix = sizeof kTempSuffix - 1;
  if (target.empty() || fileName.size() != target.size() + suffix + kTempLetters) return false;
  if (fileName.compare(0, target.size(), target) != 0) return false;
  if (fileName.compare(target.size(), suffix, kTempSuffix) != 0) return false;
  for (size_t i = target.size() + suffix; i < fileName.size(); ++i)
    if (!isalnum(static_cast<unsigned char>(fileName[i]))) return false;
  return true;
}

int RemoveStaleTemporaries(const std::string& dir, bool (*isTarget)(const std::string& name), int minAgeSeconds) {
  if (!isTarget) return 0;
  DIR* d = opendir(dir.empty() ? "." : dir.c_str());
  if (!d) return 0;
  const std::string base = dir.empty() || dir.back() == '/' ? dir : dir + "/";
  const time_t now = time(nullptr);
  int removed = 0;
  while (dirent* e = readdir(d)) {
    std::string name = e->d_name;
    size_t mark = name.rfind(kTempSuffix);
    if (mark == std::string::npos || mark == 0) continue;
    std::string target = name.substr(0, mark);
    if (!isTarget(target) || !IsReplacementTemporary(name, target)) continue;
    std::string path = base + name;
    struct stat st;
    if (lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
    if (now - st.st_mtime < minAgeSeconds) continue;
    if (unlink(path.c_str()) == 0) ++removed;
  }
  closedir(d);
  return removed;
}

}  // namespace plat
