#include "audio/SoundSync.h"

#include <system_error>

#include "app/core/Trace.h"

bool CSoundThread::Start(std::function<void()> body) {
  Trace("CSoundThread::Start");
  if (mThread.joinable()) return false;
  try {
    mThread = std::thread(std::move(body));
  } catch (const std::system_error&) {
    return false;
  }
  return true;
}

void CSoundThread::Join() {
  Trace("CSoundThread::Join");
  if (mThread.joinable() && mThread.get_id() != std::this_thread::get_id()) mThread.join();
}

bool CreateStreamEvents(plat::EventHandle (&events)[4]) {
  for (auto& e : events) {
    e = plat::CreateEvent(true, false);
    if (!e) return false;
  }
  return true;
}

void EndStreamWorker(std::atomic<bool>& quit, CSoundThread& thread, plat::EventHandle (&events)[4],
                     plat::EventHandle& idle) {
  quit = true;
  if (thread.IsRunning()) {
    for (auto e : events) plat::SetEvent(e);
    thread.Join();
  }
  for (auto& e : events) {
    plat::CloseEvent(e);
    e = nullptr;
  }
  plat::CloseEvent(idle);
  idle = nullptr;
}
