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
