#include "platform/InstanceLock.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

namespace plat {
namespace {

constexpr char kRequest[] = "raise\n";
constexpr char kAnswer[] = "ok\n";
constexpr size_t kMaxPending = 8;

std::string LockDir() {
  if (const char* d = getenv("VELTO_LOCK_DIR"); d && *d) return d;
  if (const char* r = getenv("XDG_RUNTIME_DIR"); r && *r) return r;
  return "/tmp";
}

std::string LockPath(const char* name, const char* suffix) {
  return LockDir() + "/" + name + "-" + std::to_string(getuid()) + suffix;
}

// False when the path does not fit a socket address.
bool SocketAddress(const std::string& path, sockaddr_un& addr) {
  memset(&addr, 0, sizeof addr);
  addr.sun_family = AF_UNIX;
  if (path.size() >= sizeof addr.sun_path) return false;
  memcpy(addr.sun_path, path.c_str(), path.size() + 1);
  return true;
}

// Only the same user may ask: the socket may sit in a shared folder.
bool SameUser(int fd) {
  ucred cred{};
  socklen_t len = sizeof cred;
  return getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &cred, &len) == 0 && cred.uid == getuid();
}

}  // namespace

bool InstanceLock::Acquire(const char* name) {
  Close();
  std::string path = LockPath(name, ".lock");
  mFd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (mFd < 0) return true;
  if (flock(mFd, LOCK_EX | LOCK_NB) != 0) {
    close(mFd);
    mFd = -1;
    return false;
  }
  // Holding the lock, any socket left by a holder that died is stale.
  std::string sock = LockPath(name, ".sock");
  sockaddr_un addr;
  if (!SocketAddress(sock, addr)) return true;
  unlink(sock.c_str());
  mListen = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (mListen < 0) return true;
  mode_t old = umask(0077);
  bool bound = bind(mListen, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
  umask(old);
  if (!bound || listen(mListen, 4) != 0) {
    close(mListen);
    mListen = -1;
    return true;
  }
  mSocketPath = sock;
  return true;
}

void InstanceLock::Close() {
  for (int fd : mPending) close(fd);
  mPending.clear();
  if (mListen >= 0) {
    close(mListen);
    mListen = -1;
    unlink(mSocketPath.c_str());  // still holding the lock: it is ours
    mSocketPath.clear();
  }
  if (mFd >= 0) {
    close(mFd);  // closing releases the lock
    mFd = -1;
  }
}

bool InstanceLock::TakeRaiseRequest() {
  if (mListen < 0) return false;
  for (;;) {
    int fd = accept4(mListen, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) break;
    if (!SameUser(fd) || mPending.size() >= kMaxPending) {
      close(fd);
      continue;
    }
    mPending.push_back(fd);
  }
  bool raise = false;
  for (size_t i = 0; i < mPending.size();) {
    char buf[16];
    ssize_t n = recv(mPending[i], buf, sizeof buf, 0);
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) {
      ++i;  // the request has not arrived yet
      continue;
    }
    if (n >= static_cast<ssize_t>(sizeof kRequest - 1) && memcmp(buf, kRequest, sizeof kRequest - 1) == 0) {
      raise = true;
      send(mPending[i], kAnswer, sizeof kAnswer - 1, MSG_NOSIGNAL);
    }
    close(mPending[i]);
    mPending.erase(mPending.begin() + static_cast<long>(i));
  }
  return raise;
}

bool InstanceLock::AskHolderToRaise(const char* name, int timeoutMs) {
  sockaddr_un addr;
  if (!SocketAddress(LockPath(name, ".sock"), addr)) return false;
  int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  bool answered = false;
  if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 &&
      send(fd, kRequest, sizeof kRequest - 1, MSG_NOSIGNAL) == static_cast<ssize_t>(sizeof kRequest - 1)) {
    pollfd p{fd, POLLIN, 0};
    char buf[8] = {};
    if (poll(&p, 1, timeoutMs) == 1 && recv(fd, buf, sizeof buf - 1, 0) >= static_cast<ssize_t>(sizeof kAnswer - 1))
      answered = memcmp(buf, kAnswer, sizeof kAnswer - 1) == 0;
  }
  close(fd);
  return answered;
}

}  // namespace plat
