#include "video/MovieAudioFifo.h"

#include <algorithm>
#include <cstring>

#include "app/core/Trace.h"

void CMovieAudioFifo::Push(int64_t start, const int16_t* samples, size_t frames) {
  Trace("CMovieAudioFifo::Push");
  if (!mbStarted) {
    mbStarted = true;
    mEnd = std::max<int64_t>(start, 0);
  }
  // Sound that arrives after its time has been played as silence is late:
  // playing it now would put the sound behind the picture.
  int64_t first = mEnd;
  size_t skip = 0;
  if (first < mFloor) {
    skip = static_cast<size_t>(std::min<int64_t>(mFloor - first, static_cast<int64_t>(frames)));
  }
  mEnd += static_cast<int64_t>(frames);
  if (Size() == 0) {
    mSamples.clear();
    mHead = 0;
  }
  if (skip < frames)
    mSamples.insert(mSamples.end(), samples + skip * kChannels, samples + frames * kChannels);
}

size_t CMovieAudioFifo::Read(int64_t from, int16_t* out, size_t frames) {
  Trace("CMovieAudioFifo::Read");
  memset(out, 0, frames * kChannels * sizeof(int16_t));
  const int64_t to = from + static_cast<int64_t>(frames);
  const int64_t held = static_cast<int64_t>(Size());
  const int64_t begin = mEnd - held;  // frame number of the first held frame
  size_t copied = 0;
  int64_t lo = std::max(from, begin), hi = std::min(to, mEnd);
  if (lo < hi) {
    const int16_t* src = mSamples.data() + (mHead + static_cast<size_t>(lo - begin)) * kChannels;
    memcpy(out + static_cast<size_t>(lo - from) * kChannels, src,
           static_cast<size_t>(hi - lo) * kChannels * sizeof(int16_t));
    copied = static_cast<size_t>(hi - lo);
  }
  // Everything before `to` is used up, held or not.
  if (to > begin) mHead += static_cast<size_t>(std::min(to, mEnd) - begin);
  mFloor = std::max(mFloor, to);
  Compact();
  return copied;
}

void CMovieAudioFifo::Compact() {
  Trace("CMovieAudioFifo::Compact");
  if (mHead == 0) return;
  if (Size() == 0) {
    mSamples.clear();
    mHead = 0;
  } else if (mHead * 2 >= mSamples.size() / kChannels) {
    mSamples.erase(mSamples.begin(), mSamples.begin() + static_cast<std::ptrdiff_t>(mHead * kChannels));
    mHead = 0;
  }
}
