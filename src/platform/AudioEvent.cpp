#include "platform/AudioEvent.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <new>

namespace plat {

struct Event {
  bool manualReset = true;
  bool signalled = false;
  std::atomic<int> refs{1};
};

namespace {

// One lock and one condition for every event: few events exist and they
// change a few times a second, so a shared condition keeps waiting on a set
// of events simple and correct.
std::mutex& Lock() {
  static std::mutex m;
  return m;
}
std::condition_variable& Changed() {
  static std::condition_variable cv;
  return cv;
}

template <class Pred>
bool WaitUntil(std::unique_lock<std::mutex>& lock, uint32_t ms, Pred pred) {
  if (ms == INFINITE) {
    Changed().wait(lock, pred);
    return true;
  }
  return Changed().wait_for(lock, std::chrono::milliseconds(ms), pred);
}

}  // namespace

EventHandle CreateEvent(bool manualReset, bool initialState) {
  Event* e = new (std::nothrow) Event;
  if (!e) return nullptr;
  e->manualReset = manualReset;
  e->signalled = initialState;
  return e;
}

void RetainEvent(EventHandle event) {
  if (event) event->refs.fetch_add(1);
}

void CloseEvent(EventHandle event) {
  if (event && event->refs.fetch_sub(1) == 1) delete event;
}

bool SetEvent(EventHandle event) {
  if (!event) return false;
  {
    std::lock_guard<std::mutex> g(Lock());
    event->signalled = true;
  }
  Changed().notify_all();
  return true;
}

bool ResetEvent(EventHandle event) {
  if (!event) return false;
  {
    std::lock_guard<std::mutex> g(Lock());
    event->signalled = false;
  }
  Changed().notify_all();
  return true;
}

bool IsEventSet(EventHandle event) {
  if (!event) return false;
  std::lock_guard<std::mutex> g(Lock());
  return event->signalled;
}

uint32_t WaitForSingleObject(EventHandle event, uint32_t ms) {
  return WaitForMultipleObjects(1, &event, ms);
}

uint32_t WaitForMultipleObjects(uint32_t count, const EventHandle* events, uint32_t ms) {
  if (count == 0 || !events) return WAIT_FAILED;
  for (uint32_t i = 0; i < count; ++i)
    if (!events[i]) return WAIT_FAILED;
  std::unique_lock<std::mutex> lock(Lock());
  uint32_t found = count;
  auto any = [&] {
    for (uint32_t i = 0; i < count; ++i) {
      if (events[i]->signalled) {
        found = i;
        return true;
      }
    }
    return false;
  };
  if (!WaitUntil(lock, ms, any)) return WAIT_TIMEOUT;
  if (!events[found]->manualReset) events[found]->signalled = false;
  return WAIT_OBJECT_0 + found;
}

bool WaitForEventReset(EventHandle event, uint32_t ms) {
  if (!event) return true;
  std::unique_lock<std::mutex> lock(Lock());
  return WaitUntil(lock, ms, [&] { return !event->signalled; });
}

}  // namespace plat
