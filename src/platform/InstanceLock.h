// The single-instance rule: one running game per user, named "VELTO". The
// running game listens on a local socket beside its lock; a second start
// asks it through that socket to come forward and then stands down.
#pragma once
#include <string>
#include <vector>

namespace plat {

class InstanceLock {
 public:
  InstanceLock() = default;
  ~InstanceLock() { Close(); }
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  // Takes the lock of that name and starts listening for second starts.
  // False when another process holds it. A lock file that cannot be made at
  // all does not stop the game (true); nor does a socket that cannot be.
  bool Acquire(const char* name);
  void Close();

  // The holder, once a frame: true when a second start asked the game to
  // come forward since the last call. Never waits; the asker is answered.
  bool TakeRaiseRequest();

  // A second start: asks the holder of the lock `name` to come forward,
  // waiting at most `timeoutMs` for its answer. True when it answered.
  static bool AskHolderToRaise(const char* name, int timeoutMs);

 private:
  int mFd = -1;
  int mListen = -1;
  std::vector<int> mPending;  // connections whose request has not come yet
  std::string mSocketPath;
};

}  // namespace plat
