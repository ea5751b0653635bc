// The single-instance rule: one running game per user, named "VELTO".
#pragma once

namespace plat {

class InstanceLock {
 public:
  InstanceLock() = default;
  ~InstanceLock() { Close(); }
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  // Takes the lock of that name. False when another process holds it. A lock
  // file that cannot be made at all does not stop the game (true).
  bool Acquire(const char* name);
  void Close();

 private:
  int mFd = -1;
};

}  // namespace plat
