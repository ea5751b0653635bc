#include "video/MovieWorker.h"

#include <chrono>
#include <exception>

extern "C" {
#include <libavutil/frame.h>
}

#include "app/core/Trace.h"
#include "platform/Timer.h"
#include "platform/Window.h"

CMovieWorker::CMovieWorker() {
  Trace("CMovieWorker::CMovieWorker");
  mpPending = av_frame_alloc();
  mpDue = av_frame_alloc();
}

CMovieWorker::~CMovieWorker() {
  Trace("CMovieWorker::~CMovieWorker");
  Finish();
  av_frame_free(&mpPending);
  av_frame_free(&mpDue);
}

bool CMovieWorker::Open(CMovieStream* stream, bool wantSound, std::string* error) {
  Trace("CMovieWorker::Open");
  if (!mpPending || !mpDue) {
    if (error) *error = "out of memory";
    return false;
  }
  return mDecoder.Open(stream, wantSound, &mbQuit, error);
}

bool CMovieWorker::Start(plat::HWND wake) {
  Trace("CMovieWorker::Start");
  if (mThread.joinable()) return false;
  mhWake = wake;
  mbQuit = false;
  try {
    mSpare.assign(static_cast<size_t>(CMovieScaler::kWidth) * CMovieScaler::kHeight, 0xFF000000u);
    mReady = mSpare;
    mThread = std::thread([this] { Run(); });
  } catch (const std::exception&) {
    return false;
  }
  return true;
}

void CMovieWorker::Finish() {
  Trace("CMovieWorker::Finish");
  {
    std::lock_guard<std::mutex> guard(mLock);
    mbQuit = true;
  }
  mWork.notify_all();
  if (mThread.joinable()) mThread.join();
}

int64_t CMovieWorker::ClockLocked() const {
  Trace("CMovieWorker::ClockLocked");
  if (!mbRunning) return mClockMs;
  return mClockMs + static_cast<int32_t>(plat::timeGetTime() - mClockTick);
}

void CMovieWorker::SetClock(int64_t ms, bool running) {
  Trace("CMovieWorker::SetClock");
  {
    std::lock_guard<std::mutex> guard(mLock);
    mClockMs = ms;
    mClockTick = plat::timeGetTime();
    mbRunning = running;
    ++mGeneration;
  }
  mWork.notify_all();
}

int64_t CMovieWorker::GetClock() {
  Trace("CMovieWorker::GetClock");
  std::lock_guard<std::mutex> guard(mLock);
  return ClockLocked();
}

bool CMovieWorker::Settle(uint32_t timeoutMs) {
  Trace("CMovieWorker::Settle");
  std::unique_lock<std::mutex> lock(mLock);
  return mIdle.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                        [this] { return mbExited || (mbIdle && mIdleGeneration == mGeneration); });
}

bool CMovieWorker::IsPrerolled() {
  Trace("CMovieWorker::IsPrerolled");
  std::lock_guard<std::mutex> guard(mLock);
  return mbPrerolled || mbExited;
}

bool CMovieWorker::HasNewPicture() {
  Trace("CMovieWorker::HasNewPicture");
  std::lock_guard<std::mutex> guard(mLock);
  return mbNewPicture;
}

bool CMovieWorker::TakePicture(std::vector<uint32_t>& picture) {
  Trace("CMovieWorker::TakePicture");
  std::lock_guard<std::mutex> guard(mLock);
  mbWakePosted = false;
  if (!mbNewPicture) return false;
  picture.swap(mReady);
  mbNewPicture = false;
  return true;
}

size_t CMovieWorker::ReadSound(int64_t from, int16_t* out, size_t frames) {
  Trace("CMovieWorker::ReadSound");
  size_t got;
  {
    std::lock_guard<std::mutex> guard(mLock);
    got = mFifo.Read(from, out, frames);
    ++mGeneration;
  }
  mWork.notify_all();
  return got;
}

CMovieWorker::Progress CMovieWorker::GetProgress() {
  Trace("CMovieWorker::GetProgress");
  std::lock_guard<std::mutex> guard(mLock);
  Progress p = mProgress;
  if (mFifo.Started()) p.soundEndMs = mFifo.End() * 1000 / CMovieAudioFifo::kRate;
  return p;
}

void CMovieWorker::Run() {
  Trace("CMovieWorker::Run");
  std::unique_lock<std::mutex> lock(mLock);
  while (!mbQuit) {
    const uint64_t generation = mGeneration;
    const int64_t clock = ClockLocked();
    const bool soundFull = mFifo.Size() >= kSoundAhead;
    lock.unlock();
    bool progress = Step(clock, soundFull);
    lock.lock();
    // Something changed while the step ran: look again before resting.
    if (progress || generation != mGeneration) continue;
    mbIdle = true;
    mIdleGeneration = generation;
    mbPrerolled = true;
    mIdle.notify_all();
    auto changed = [&] { return mbQuit || mGeneration != generation; };
    if (mbRunning && mbHavePending) {
      // In real time the next picture falls due by itself.
      int64_t wait = mPendingMs - ClockLocked();
      if (wait > 0) mWork.wait_for(lock, std::chrono::milliseconds(wait), changed);
    } else {
      mWork.wait(lock, changed);
    }
    mbIdle = false;
  }
  mbExited = true;
  mIdle.notify_all();
}

bool CMovieWorker::Step(int64_t clock, bool soundFull) {
  Trace("CMovieWorker::Step");
  // The next picture, read as far as needed.
  if (!mbHavePending && !mbPicturesDone) {
    AVFrame* frame = nullptr;
    int64_t ms = 0;
    switch (mDecoder.ReceiveVideo(&frame, &ms)) {
      case CMovieDecoder::Result::kFrame:
        av_frame_unref(mpPending);
        av_frame_move_ref(mpPending, frame);
        mbHavePending = true;
        mPendingMs = ms;
        mLastPictureMs = ms;
        return true;
      case CMovieDecoder::Result::kEnd:
        mbPicturesDone = true;
        return true;
      case CMovieDecoder::Result::kNeedInput:
        // Reading on while the sound is full would only pile it up; the
        // picture waits until the ring has taken some.
        if (!soundFull) return ReadMore();
        break;
    }
  }
  // The pending picture falls due; a later due one replaces it unseen.
  if (mbHavePending && mPendingMs <= clock) {
    av_frame_unref(mpDue);
    av_frame_move_ref(mpDue, mpPending);
    mbHaveDue = true;
    mbHavePending = false;
    return true;
  }
  if (mbHaveDue) {
    Publish();
    return true;
  }
  if (mbPicturesDone && !mbEndSent) {
    mbEndSent = true;
    std::lock_guard<std::mutex> guard(mLock);
    mProgress.bPictureEnd = true;
    mProgress.pictureEndMs = mLastPictureMs < 0 ? 0 : mLastPictureMs + mDecoder.Format().frameMs;
    return true;
  }
  // Read ahead, so that the sound is there before it is needed.
  if (!mDecoder.AtEnd() && !soundFull && (mbPicturesDone || mDecoder.QueuedBytes() < kQueueBytes)) return ReadMore();
  return false;
}

bool CMovieWorker::ReadMore() {
  Trace("CMovieWorker::ReadMore");
  mSound.clear();
  int64_t start = 0;
  bool more = mDecoder.ReadPacket(&mSound, &start);
  std::lock_guard<std::mutex> guard(mLock);
  if (!mSound.empty()) mFifo.Push(start, mSound.data(), mSound.size() / CMovieAudioFifo::kChannels);
  if (!more) mProgress.bSoundEnd = true;
  return true;
}

void CMovieWorker::Publish() {
  Trace("CMovieWorker::Publish");
  mbHaveDue = false;
  bool ok = mScaler.Convert(mpDue, mSpare.data());
  av_frame_unref(mpDue);
  if (!ok) return;  // a picture in a form the scaler cannot take is skipped
  bool wake = false;
  {
    std::lock_guard<std::mutex> guard(mLock);
    mSpare.swap(mReady);
    mbNewPicture = true;
    ++mProgress.pictures;
    if (mhWake && !mbWakePosted) wake = mbWakePosted = true;
  }
  if (wake) plat::PostMessage(mhWake, plat::WM_NULL, 0, 0);
}
