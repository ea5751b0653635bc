// A program started in the background for a test: its output goes to a
// file; the test can signal it and wait for its end with a time limit.
#pragma once
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

class ChildProcess {
 public:
  // Runs `command` through the shell, standard output and error to `log`.
  ChildProcess(const std::string& command, const std::string& log) {
    mPid = fork();
    if (mPid == 0) {
      std::string line = "exec " + command + " >" + log + " 2>&1";
      execl("/bin/sh", "sh", "-c", line.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
  }
  ~ChildProcess() {
    if (mPid > 0 && !mDone) {
      kill(mPid, SIGKILL);
      waitpid(mPid, nullptr, 0);
    }
  }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool Started() const { return mPid > 0; }
  void Signal(int sig) const { kill(mPid, sig); }
  // The exit code; -1 when it did not end within `seconds` or ended by a
  // signal.
  int Wait(int seconds) {
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < until) {
      int status = 0;
      if (waitpid(mPid, &status, WNOHANG) == mPid) {
        mDone = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return -1;
  }

 private:
  pid_t mPid = -1;
  bool mDone = false;
};

// Waits until `done` holds, at most `seconds`.
template <class Done>
bool WaitFor(Done done, int seconds) {
  auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  while (!done()) {
    if (std::chrono::steady_clock::now() >= until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}
