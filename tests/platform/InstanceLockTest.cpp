#include "platform/InstanceLock.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "TestDir.h"

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

}  // namespace
