#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "TestDir.h"
#include "platform/InstanceLock.h"

namespace {

TEST(InstanceLock, OnlyOneHolderAtATime) {
  TestDir dir;
  setenv("VELTO_LOCK_DIR", dir.path().c_str(), 1);
  plat::InstanceLock first, second;
  EXPECT_TRUE(first.Acquire("VELTO"));
  EXPECT_FALSE(second.Acquire("VELTO")) << "a second instance must stand down";
  plat::InstanceLock other;
  EXPECT_TRUE(other.Acquire("OTHER")) << "locks of other names are independent";
  first.Close();
  EXPECT_TRUE(second.Acquire("VELTO")) << "the lock is free once its holder ends";
  unsetenv("VELTO_LOCK_DIR");
}

TEST(InstanceLock, AnUnusableLockFolderDoesNotStopTheGame) {
  setenv("VELTO_LOCK_DIR", "/nonexistent/folder/for/locks", 1);
  plat::InstanceLock lock;
  EXPECT_TRUE(lock.Acquire("VELTO"));
  unsetenv("VELTO_LOCK_DIR");
}

// A second start finds the running game through the socket beside its lock
// and asks it to come forward; the running game answers on its frame,
// without ever waiting for a request.
TEST(InstanceLock, ASecondStartAsksTheHolderToComeForward) {
  TestDir dir;
  setenv("VELTO_LOCK_DIR", dir.path().c_str(), 1);
  plat::InstanceLock running;
  ASSERT_TRUE(running.Acquire("VELTO"));
  EXPECT_FALSE(running.TakeRaiseRequest()) << "nobody asked yet";

  std::atomic<bool> answered{false};
  std::thread second([&] { answered = plat::InstanceLock::AskHolderToRaise("VELTO", 5000); });
  bool raised = false;
  for (int frame = 0; frame < 500 && !raised; ++frame) {
    raised = running.TakeRaiseRequest();
    if (!raised) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  second.join();
  EXPECT_TRUE(raised);
  EXPECT_TRUE(answered);
  EXPECT_FALSE(running.TakeRaiseRequest()) << "one request, one raise";

  // Without a holder nobody answers, and the asker does not hang.
  running.Close();
  EXPECT_FALSE(plat::InstanceLock::AskHolderToRaise("VELTO", 5000));
  // A new holder replaces a socket its predecessor left behind.
  dir.Write(std::string("VELTO-") + std::to_string(getuid()) + ".sock", "stale");
  plat::InstanceLock next;
  ASSERT_TRUE(next.Acquire("VELTO"));
  std::thread third([&] { answered = plat::InstanceLock::AskHolderToRaise("VELTO", 5000); });
  raised = false;
  for (int frame = 0; frame < 500 && !raised; ++frame) {
    raised = next.TakeRaiseRequest();
    if (!raised) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  third.join();
  EXPECT_TRUE(raised);
  unsetenv("VELTO_LOCK_DIR");
}

}  // namespace
