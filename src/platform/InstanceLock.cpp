#include "platform/InstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace plat {

bool InstanceLock::Acquire(const char* name) {
  Close();
  std::string dir;
  if (const char* d = getenv("VELTO_LOCK_DIR"); d && *d) dir = d;
  else if (const char* r = getenv("XDG_RUNTIME_DIR"); r && *r) dir = r;
  else dir = "/tmp";
  std::string path = dir + "/" + name + "-" + std::to_string(getuid()) + ".lock";
  mFd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (mFd < 0) return true;
  if (flock(mFd, LOCK_EX | LOCK_NB) != 0) {
    close(mFd);
    mFd = -1;
    return false;
  }
  return true;
}

void InstanceLock::Close() {
  if (mFd >= 0) {
    close(mFd);  // closing releases the lock
    mFd = -1;
  }
}

}  // namespace plat
