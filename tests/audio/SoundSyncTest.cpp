#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "audio/SoundSync.h"

namespace {

// A worker's start-up belongs to the Initialize that starts it: what it does
// before it first waits (its trace entry among it) must be done when the
// start returns, however late the scheduler runs it. A failure log whose
// last lines depended on that timing made a test fail under load.
TEST(SoundSync, AWorkerHasStartedWhenItsStartReturns) {
  std::atomic<bool> quit{false}, ready{false};
  CSoundThread thread;
  plat::EventHandle events[4] = {};
  plat::EventHandle idle = nullptr;
  ASSERT_TRUE(StartStreamWorker(quit, thread, events, idle, [&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));  // a slow start
    ready = true;
    plat::SetEvent(idle);
    while (!quit) plat::WaitForMultipleObjects(4, events, plat::INFINITE);
  }));
  EXPECT_TRUE(ready);
  EndStreamWorker(quit, thread, events, idle);
}

}  // namespace
