// The movie's sound on the sound device: a looping one-second ring, kept
// half a second ahead of its play cursor from the worker's decoded sound.
// Ring frame n (counted from the start) plays sound frame n of the movie, so
// the sound stays in step with the picture; sound that is late is skipped
// and silence stands in for it.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/AudioDevice.h"

class CDSound;
class CMovieWorker;

class CMovieSound {
 public:
  static constexpr uint32_t kRingFrames = 44100;      // one second
  static constexpr uint32_t kLeadFrames = 22050;      // written ahead of the cursor
  static constexpr uint32_t kSilenceFrames = 11025;   // cleared after what was written

  CMovieSound() = default;
  ~CMovieSound();
  CMovieSound(const CMovieSound&) = delete;
  CMovieSound& operator=(const CMovieSound&) = delete;

  // Makes the ring on the device; false without a device.
  bool Create(CDSound* sound);
  void Release();
  bool IsReady() const { return mpBuffer != nullptr; }
  // A volume step 0..255 through the volume scale.
  void SetVolume(int32_t step);
  // Fills the ring from the movie's first sound frame and starts it.
  void Start(CMovieWorker* worker);
  // Keeps the ring ahead of its cursor; once a frame.
  void Feed(CMovieWorker* worker);
  void Pause(bool on);
  void Stop();

 private:
  void Write(CMovieWorker* worker, int64_t from, uint32_t frames);

  plat::IDirectSoundBuffer* mpBuffer = nullptr;
  int32_t mVolume = 255;
  bool mbStarted = false;
  bool mbPaused = false;
  int64_t mWritten = 0;    // ring frames written since the start
  int64_t mPlayed = 0;     // ring frames played since the start
  uint32_t mLastPlay = 0;  // the cursor at the last look, in frames
};
