// The decoding side of the movie player: a worker thread that reads the
// movie, decodes its pictures and sound ahead of the movie clock, and hands
// the newest picture that is due to the main thread under a lock.
//
// The movie clock belongs to the worker. In real time it runs by itself
// between the main thread's settings, and the worker sleeps until its next
// picture falls due. On a fixed step the main thread moves it once a frame
// and then waits until the worker has done everything that clock allows
// (Settle): what the main thread then finds depends on the clock alone.
#pragma once
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/Win.h"
#include "video/MovieAudioFifo.h"
#include "video/MovieDecoder.h"
#include "video/MovieScaler.h"

struct AVFrame;

class CMovieWorker {
 public:
  // Sound decoded ahead of the ring, in sample frames (four seconds).
  static constexpr size_t kSoundAhead = 4 * CMovieAudioFifo::kRate;
  // Video packets read ahead of the picture decoder, in bytes.
  static constexpr size_t kQueueBytes = 16u << 20;

  CMovieWorker();
  ~CMovieWorker();
  CMovieWorker(const CMovieWorker&) = delete;
  CMovieWorker& operator=(const CMovieWorker&) = delete;

  // Opens the movie over `stream` (which must outlive the worker). False
  // with the reason in `error`.
  bool Open(CMovieStream* stream, bool wantSound, std::string* error);
  const MovieFormat& Format() const { return mDecoder.Format(); }
  // Starts the thread. `wake` (may be null) receives a posted null message
  // whenever a new picture waits, so that a waiting frame loop runs.
  bool Start(plat::HWND wake);
  // Ends the thread; safe to call more than once.
  void Finish();

  // Sets the movie clock to `ms`; with `running` it runs on in real time.
  void SetClock(int64_t ms, bool running);
  int64_t GetClock();
  // Waits until the worker can do nothing more for the present clock and
  // sound; false when `timeoutMs` of real time passed first.
  bool Settle(uint32_t timeoutMs);
  // The worker has done what it could once since Start.
  bool IsPrerolled();

  // A picture newer than the one taken last waits.
  bool HasNewPicture();
  // Swaps the newest picture (CMovieScaler's 800 × 600) into `picture`;
  // false when there is none newer.
  bool TakePicture(std::vector<uint32_t>& picture);
  // Sound frames [from, from + frames) into `out` (see CMovieAudioFifo).
  size_t ReadSound(int64_t from, int16_t* out, size_t frames);

  struct Progress {
    bool bPictureEnd = false;  // every picture has been handed over
    int64_t pictureEndMs = 0;  // when the last picture's time is over
    bool bSoundEnd = false;    // all of the sound has been decoded
    int64_t soundEndMs = 0;    // when the decoded sound is over
    int pictures = 0;          // pictures handed over so far
  };
  Progress GetProgress();

 private:
  void Run();
  bool Step(int64_t clock, bool soundFull);
  bool ReadMore();
  void Publish();
  int64_t ClockLocked() const;

  // The worker's own.
  CMovieDecoder mDecoder;
  CMovieScaler mScaler;
  AVFrame* mpPending = nullptr;  // the next picture, not due yet
  AVFrame* mpDue = nullptr;      // the newest due picture, not shown yet
  bool mbHavePending = false;
  bool mbHaveDue = false;
  int64_t mPendingMs = 0;
  int64_t mLastPictureMs = -1;
  bool mbPicturesDone = false;
  bool mbEndSent = false;
  std::vector<uint32_t> mSpare;
  std::vector<int16_t> mSound;
  plat::HWND mhWake = nullptr;
  std::thread mThread;
  std::atomic<bool> mbQuit{false};

  // Shared with the main thread, under mLock.
  std::mutex mLock;
  std::condition_variable mWork;  // the main thread changed something
  std::condition_variable mIdle;  // the worker went idle
  int64_t mClockMs = 0;
  uint32_t mClockTick = 0;
  bool mbRunning = false;
  uint64_t mGeneration = 0;
  bool mbIdle = false;
  uint64_t mIdleGeneration = ~uint64_t{0};
  bool mbPrerolled = false;
  bool mbExited = false;
  std::vector<uint32_t> mReady;
  bool mbNewPicture = false;
  bool mbWakePosted = false;
  CMovieAudioFifo mFifo;
  Progress mProgress;
};
