// Buffers whose samples are made as they are needed: played, they sound
// exactly as a buffer filled whole beforehand, however the mixing is cut
// up and however little was made at first; they end where their feed ends.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "TestDir.h"
#include "platform/AudioDevice.h"

using namespace plat;

namespace {

// Hands out `samples` in order, `bytes` at a time as asked; optionally
// cut short by `drop` bytes at the very end (a stream that ends early,
// possibly inside a frame).
class VectorFeed : public ISampleFeed {
 public:
  VectorFeed(std::vector<int16_t> samples, uint32_t drop = 0, int* calls = nullptr)
      : mSamples(std::move(samples)), mDrop(drop), mCalls(calls) {}
  uint32_t Produce(uint8_t* dst, uint32_t bytes) override {
    if (mCalls) ++*mCalls;
    const uint32_t total = static_cast<uint32_t>(mSamples.size() * 2) - mDrop;
    uint32_t n = std::min(bytes, total - mAt);
    if (n) memcpy(dst, reinterpret_cast<const uint8_t*>(mSamples.data()) + mAt, n);
    mAt += n;
    return n;
  }

 private:
  std::vector<int16_t> mSamples;
  uint32_t mDrop;
  int* mCalls;
  uint32_t mAt = 0;
};

std::vector<int16_t> Wave(size_t count) {
  std::vector<int16_t> s(count);
  uint32_t x = 12345;
  for (auto& v : s) {
    x = x * 1103515245u + 12345u;
    v = static_cast<int16_t>((x >> 12) & 0x7FFF) - 16384;
  }
  return s;
}

class AudioFeedTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetAudioBackend(AudioBackend::Null);
    SetAudioRefillWait(0);
  }
  void TearDown() override {
    SetAudioCaptureFile("");
    SetAudioRefillWait(2000);
    SetAudioBackend(AudioBackend::Sdl);
  }
  IDirectSound* Open(const std::string& capture) {
    SetAudioCaptureFile(capture.empty() ? "" : mDir.File(capture));
    IDirectSound* d = nullptr;
    EXPECT_EQ(DirectSoundCreate(nullptr, &d, nullptr), DS_OK);
    if (d) d->SetCooperativeLevel(nullptr, DSSCL_PRIORITY);
    return d;
  }
  static IDirectSoundBuffer* Whole(IDirectSound* d, const WAVEFORMATEX& f, const std::vector<int16_t>& s) {
    DSBUFFERDESC desc;
    desc.dwSize = 36;
    desc.dwFlags = DSBCAPS_CTRLVOLUME;
    desc.dwBufferBytes = static_cast<uint32_t>(s.size() * 2);
    desc.lpwfxFormat = &f;
    IDirectSoundBuffer* b = nullptr;
    if (d->CreateSoundBuffer(&desc, &b, nullptr) != DS_OK) return nullptr;
    void *p1, *p2;
    uint32_t n1, n2;
    b->Lock(0, 0, &p1, &n1, &p2, &n2, DSBLOCK_ENTIREBUFFER);
    memcpy(p1, s.data(), n1);
    b->Unlock(p1, n1, p2, n2);
    return b;
  }
  static uint32_t Bytes(IDirectSoundBuffer* b) {
    void *p1, *p2;
    uint32_t n1 = 0, n2 = 0;
    if (FAILED(b->Lock(0, 0, &p1, &n1, &p2, &n2, DSBLOCK_ENTIREBUFFER))) return 0;
    b->Unlock(p1, n1, p2, n2);
    return n1 + n2;
  }
  // Plays `b` (looping or not) and mixes uneven stretches of output.
  static void PlayThrough(IDirectSoundBuffer* b, bool loop) {
    b->SetVolume(-300);
    b->Play(0, 0, loop ? DSBPLAY_LOOPING : 0);
    const uint32_t steps[] = {1, 16, 17, 250, 3, 40, 33, 700, 16, 17, 1200, 5};
    for (uint32_t ms : steps) AdvanceAudio(ms);
  }

  TestDir mDir;
};

TEST_F(AudioFeedTest, FedBufferSoundsExactlyAsAWholeOneAndStopsWhereItEnds) {
  // Mono at half rate: every output frame blends two source frames, also
  // across the borders of what was made at a time.
  const std::vector<int16_t> wave = Wave(22050 + 7);
  const WAVEFORMATEX f = MakePcmFormat(22050, 1, 16);
  for (bool loop : {false, true}) {
    SCOPED_TRACE(loop);
    std::string whole, fed;
    {
      IDirectSound* d = Open("whole.wav");
      IDirectSoundBuffer* b = Whole(d, f, wave);
      ASSERT_NE(b, nullptr);
      PlayThrough(b, loop);
      b->Release();
      d->Release();
      whole = mDir.Read("whole.wav");
    }
    {
      IDirectSound* d = Open("fed.wav");
      IDirectSoundBuffer* b = nullptr;
      int calls = 0;
      ASSERT_EQ(CreateFedSoundBuffer(d, DSBCAPS_CTRLVOLUME, f, std::make_unique<VectorFeed>(wave, 0, &calls), 6, &b),
                DS_OK);
      EXPECT_EQ(Bytes(b), 6u) << "only the first stretch is made at once";
      EXPECT_FALSE(FeedSoundBuffer(b, 100));
      EXPECT_EQ(Bytes(b), 106u);
      PlayThrough(b, loop);
      EXPECT_TRUE(FeedSoundBuffer(b, 0)) << "playing to the end made everything";
      EXPECT_EQ(Bytes(b), wave.size() * 2);
      EXPECT_GT(calls, 3) << "made a stretch at a time";
      b->Release();
      d->Release();
      fed = mDir.Read("fed.wav");
    }
    ASSERT_GT(whole.size(), 44u + 4 * 44100);
    EXPECT_EQ(whole, fed);
  }
}

TEST_F(AudioFeedTest, LengthIsWhatTheFeedMadeInWholeFramesAndDuplicatesShareIt) {
  IDirectSound* d = Open("");
  const WAVEFORMATEX f = MakePcmFormat(44100, 2, 16);
  IDirectSoundBuffer* b = nullptr;
  // Ends three bytes into its last frame.
  ASSERT_EQ(CreateFedSoundBuffer(d, DSBCAPS_CTRLVOLUME, f, std::make_unique<VectorFeed>(Wave(4002), 5), 400, &b),
            DS_OK);
  IDirectSoundBuffer* copy = nullptr;
  ASSERT_EQ(d->DuplicateSoundBuffer(b, &copy), DS_OK);
  EXPECT_TRUE(FeedSoundBuffer(copy, DSBSIZE_MAX));
  EXPECT_EQ(Bytes(b), 1999u * 4);
  EXPECT_EQ(Bytes(copy), 1999u * 4);
  uint32_t status = 0;
  copy->Play(0, 0, 0);
  AdvanceAudio(100);  // 1999 frames last 45 ms
  copy->GetStatus(&status);
  EXPECT_FALSE(status & DSBSTATUS_PLAYING);
  copy->Release();
  b->Release();

  // A feed that makes nothing gives no buffer.
  EXPECT_NE(CreateFedSoundBuffer(d, DSBCAPS_CTRLVOLUME, f, std::make_unique<VectorFeed>(std::vector<int16_t>()), 400,
                                 &b),
            DS_OK);
  EXPECT_EQ(b, nullptr);
  d->Release();
}

}  // namespace
