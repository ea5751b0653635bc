#include "platform/Timer.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace plat {
namespace {
std::atomic<bool> gVirtual{false};
std::atomic<uint32_t> gVirtualNow{0};
const auto gEpoch = std::chrono::steady_clock::now();
}  // namespace

uint32_t timeGetTime() {
  if (gVirtual.load(std::memory_order_relaxed)) return gVirtualNow.load(std::memory_order_relaxed);
  auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - gEpoch);
  return static_cast<uint32_t>(ms.count());
}

void SetVirtualClock(bool on, uint32_t start) {
  gVirtualNow.store(start);
  gVirtual.store(on);
}

bool IsVirtualClock() { return gVirtual.load(std::memory_order_relaxed); }

void AdvanceVirtualClock(uint32_t ms) {
  if (gVirtual.load()) gVirtualNow.fetch_add(ms);
}

void Sleep(uint32_t ms) {
  if (gVirtual.load()) {
    gVirtualNow.fetch_add(ms);
    return;
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

}  // namespace plat
