// Threads and critical sections for the streaming sound classes, on the
// standard library. Events come from the sound device's layer
// (platform/AudioEvent.h) because the device signals them.
#pragma once
#include <atomic>
#include <functional>
#include <mutex>
#include <thread>

#include "platform/AudioEvent.h"

// One worker thread. Start runs `body` at once; Join waits for its end.
class CSoundThread {
 public:
  CSoundThread() = default;
  ~CSoundThread() { Join(); }
  CSoundThread(const CSoundThread&) = delete;
  CSoundThread& operator=(const CSoundThread&) = delete;

  // False when the thread cannot be made.
  bool Start(std::function<void()> body);
  bool IsRunning() const { return mThread.joinable(); }
  void Join();

 private:
  std::thread mThread;
};

// A lock the same thread may take again.
class CCriticalSection {
 public:
  void Enter() { mMutex.lock(); }
  void Leave() { mMutex.unlock(); }

 private:
  std::recursive_mutex mMutex;
};

// Holds a critical section for one scope.
class CCriticalSectionLock {
 public:
  explicit CCriticalSectionLock(CCriticalSection& cs) : mCs(cs) { mCs.Enter(); }
  ~CCriticalSectionLock() { mCs.Leave(); }
  CCriticalSectionLock(const CCriticalSectionLock&) = delete;
  CCriticalSectionLock& operator=(const CCriticalSectionLock&) = delete;

 private:
  CCriticalSection& mCs;
};

// The four manual-reset ring notification events of a streaming worker,
// unsignalled. False as soon as one cannot be made.
bool CreateStreamEvents(plat::EventHandle (&events)[4]);

// Starts a streaming worker: makes its four ring events and its manual-reset
// idle event, clears `quit`, runs `body` on `thread` and returns once the
// body has first signalled `idle`. False when an event or the thread cannot
// be made; what was made is left for EndStreamWorker.
bool StartStreamWorker(std::atomic<bool>& quit, CSoundThread& thread, plat::EventHandle (&events)[4],
                       plat::EventHandle& idle, std::function<void()> body);

// Ends a streaming worker: sets `quit`, wakes the worker through its events
// and waits for its end, then closes the events and nulls them.
void EndStreamWorker(std::atomic<bool>& quit, CSoundThread& thread, plat::EventHandle (&events)[4],
                     plat::EventHandle& idle);
