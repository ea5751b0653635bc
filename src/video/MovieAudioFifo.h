// The movie's sound on its way from the decoder to the sound ring: 44100 Hz
// stereo 16-bit sample frames numbered from the start of the movie, so that
// frame n is heard n / 44100 seconds after the movie starts.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

class CMovieAudioFifo {
 public:
  static constexpr uint32_t kRate = 44100;
  static constexpr uint32_t kChannels = 2;

  // Appends `frames` frames (interleaved). The first push places the sound at
  // `start` (a frame number); later pushes continue where the last ended.
  // Frames before what was already read are dropped.
  void Push(int64_t start, const int16_t* samples, size_t frames);
  // Copies frames [from, from + frames) into `out`: zeros for frames not
  // held (before the sound starts, or not decoded yet), then drops
  // everything before from + frames. Returns the frames that held sound.
  size_t Read(int64_t from, int16_t* out, size_t frames);

  // Frames held now.
  size_t Size() const { return mSamples.size() / kChannels - mHead; }
  // One past the last frame pushed (0 before the first push).
  int64_t End() const { return mEnd; }
  bool Started() const { return mbStarted; }

 private:
  void Compact();

  std::vector<int16_t> mSamples;
  size_t mHead = 0;        // first held frame's place in mSamples, in frames
  int64_t mEnd = 0;        // frame number after the last held frame
  int64_t mFloor = 0;      // frames before this were read (or skipped)
  bool mbStarted = false;
};
