#include "audio/SoundSync.h"

#include <system_error>

#include "app/core/Trace.h"
#include "platform/AudioDevice.h"

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

bool StartStreamWorker(std::atomic<bool>& quit, CSoundThread& thread, plat::EventHandle (&events)[4],
                       plat::EventHandle& idle, std::function<void()> body) {
  if (!CreateStreamEvents(events)) return false;
  // Stop waits on this event; without it a stop could not tell whether a
  // refill is still running.
  idle = plat::CreateEvent(true, false);
  if (!idle) return false;
  quit = false;
  if (!thread.Start(std::move(body))) return false;
  // The worker is ready once it first reports idle. Returning only then
  // keeps its start-up (and the trace entry it makes) inside the caller's
  // Initialize instead of at some later moment the scheduler picks.
  plat::WaitForSingleObject(idle, plat::INFINITE);
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
    // A refill the frame clock still expects of this worker never comes.
    plat::ForgetAudioRefill(e);
    plat::CloseEvent(e);
    e = nullptr;
  }
  plat::CloseEvent(idle);
  idle = nullptr;
}
