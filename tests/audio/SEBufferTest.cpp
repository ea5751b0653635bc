// Sound effects on the null back end, one 30 ms frame at a time.
#include <unistd.h>

#include <algorithm>

#include "SoundTestEnv.h"
#include "audio/SEBuffer.h"
#include "audio/VolumeScale.h"
#include "platform/AudioMixer.h"

namespace {

class SEBufferTest : public SoundTestEnv {
 protected:
  void SetUp() override {
    SoundTestEnv::SetUp();
    mFx = std::make_unique<CSEBuffer>();
    ASSERT_TRUE(mFx->Initialize(mSound.get(), &mSe));
    WriteTone("SE", "click.ogg", 1000, 200, 22050, 1);
    WriteTone("SE", "hum.ogg", 300, 500);
  }
  void TearDown() override {
    mFx.reset();
    SoundTestEnv::TearDown();
  }
  void Frame(uint32_t ms = 30) {
    mFx->Move(ms);
    plat::AdvanceAudio(ms);
  }
  int32_t Volume(int32_t h) {
    int32_t v = 1;
    mFx->mSeChannel[h - 1].buffer->GetVolume(&v);
    return v;
  }

  std::unique_ptr<CSEBuffer> mFx;
};

TEST_F(SEBufferTest, SameNameSharesOneSourceUntilTheSweep) {
  int32_t a = mFx->Read("click.ogg"), b = mFx->Read("CLICK.OGG");
  ASSERT_EQ(a, 1);
  ASSERT_EQ(b, 2);
  int src = mFx->mSeChannel[0].source;
  EXPECT_EQ(mFx->mSeChannel[1].source, src);
  EXPECT_EQ(mFx->mSeSource[src].count, 2);
  EXPECT_NE(mFx->mSeChannel[0].buffer, mFx->mSeChannel[1].buffer);
  mFx->Free(a);
  mFx->Free(b);
  EXPECT_EQ(mFx->mSeSource[src].count, 0);
  EXPECT_EQ(mFx->mSeChannel[0].buffer, nullptr);
  // The sweep runs on the first frame after more than 10000 ms of frames.
  for (int f = 0; f < 334; ++f) Frame();
  EXPECT_NE(mFx->mSeSource[src].buffer, nullptr);
  Frame();
  EXPECT_EQ(mFx->mSeSource[src].buffer, nullptr);
  EXPECT_EQ(mFx->mdwFreeTime, 0u);
}

TEST_F(SEBufferTest, AutoFreeHandleFreesItselfWhenTheEffectEnds) {
  int32_t h = mFx->PlayAutoFree("click.ogg", 0);
  ASSERT_GT(h, 0);
  EXPECT_TRUE(mFx->IsPlay(h));
  int freed = -1;
  for (int f = 0; f < 30 && freed < 0; ++f) {
    Frame();
    if (!mFx->mSeChannel[h - 1].buffer) freed = f;
  }
  EXPECT_GE(freed * 30, 180);
  EXPECT_LE(freed * 30, 240);
  EXPECT_FALSE(mFx->IsPlay(h));
  EXPECT_EQ(mFx->mSeSource[0].count, 0);
  std::vector<int16_t> out = Output();
  EXPECT_GT(Rms(out, 10, 190), 3000);
  EXPECT_LT(Rms(out, 230, 400), 1);
}

TEST_F(SEBufferTest, LoopedEffectPlaysUntilStoppedAndFadesLandOnTheirFrames) {
  int32_t h = mFx->Read("hum.ogg");
  ASSERT_TRUE(mFx->Play(h, 90, true));
  EXPECT_EQ(mFx->GetFadeMode(h), 1);
  EXPECT_EQ(Volume(h), -10000);  // a fade-in starts silent
  std::vector<int32_t> seen;
  for (int f = 0; f < 4; ++f) {
    Frame();
    seen.push_back(Volume(h));
  }
  EXPECT_EQ(seen, (std::vector<int32_t>{gVolumeScale[0], gVolumeScale[85], gVolumeScale[170], gVolumeScale[255]}));
  EXPECT_EQ(mFx->GetFadeMode(h), 0);
  for (int f = 0; f < 100; ++f) Frame();
  EXPECT_TRUE(mFx->IsPlay(h));

  mFx->Stop(h, 60);
  for (int f = 0; f < 3; ++f) {
    EXPECT_TRUE(mFx->IsPlay(h));
    Frame();
  }
  Frame();
  EXPECT_FALSE(mFx->IsPlay(h));
  EXPECT_EQ(mFx->GetFadeMode(h), 0);
  EXPECT_NE(mFx->mSeChannel[h - 1].buffer, nullptr);  // stopped, not freed
  ASSERT_TRUE(mFx->Play(h, 0, false));
  mFx->Stop(h, 0);
  Frame();
  EXPECT_FALSE(mFx->IsPlay(h));
}

TEST_F(SEBufferTest, EffectPlayedWhilePausedNeverSounds) {
  mFx->SetPause(true);
  int32_t h = mFx->Read("hum.ogg");
  ASSERT_TRUE(mFx->Play(h, 0, false));
  for (int f = 0; f < 5; ++f) Frame();
  mFx->SetPause(false);
  for (int f = 0; f < 30; ++f) Frame();
  EXPECT_FALSE(mFx->IsPlay(h));
  std::vector<int16_t> out = Output();
  EXPECT_EQ(Rms(out, 0, 1000), 0);
}

TEST_F(SEBufferTest, PausedChannelsResumeAndLostSourcesAreDecodedAgain) {
  int32_t h = mFx->Read("hum.ogg");
  ASSERT_TRUE(mFx->Play(h, 0, true));
  Frame();
  mFx->SetPause(true);
  mFx->SetPause(true);
  plat::LoseAudioBuffers();
  mFx->SetPause(false);
  EXPECT_TRUE(mFx->mbPause);
  mFx->SetPause(false);
  for (int f = 0; f < 10; ++f) Frame();
  EXPECT_TRUE(mFx->IsPlay(h));

  // A source that cannot be decoded again is dropped with its channels.
  int32_t c = mFx->Read("click.ogg");
  ASSERT_TRUE(mFx->Play(c, 0, true));
  mFx->SetPause(true);
  plat::LoseAudioBuffers();
  unlink(mDir.File("SE/click.ogg").c_str());
  mFx->SetPause(false);
  EXPECT_EQ(mFx->mSeChannel[c - 1].buffer, nullptr);
  EXPECT_TRUE(mFx->IsPlay(h));
  std::vector<int16_t> out = Output();
  EXPECT_GT(Rms(out, 60, 300), 3000);
}

TEST_F(SEBufferTest, VolumeMuteAndHandleLimits) {
  int32_t h = mFx->Read("hum.ogg");
  mFx->Play(h, 0, true);
  mFx->SetVolume(128);
  EXPECT_EQ(Volume(h), gVolumeScale[128]);
  mFx->SetMute(true);
  EXPECT_EQ(Volume(h), -10000);
  mFx->SetMute(false);
  EXPECT_TRUE(mFx->IsPlay(0));
  EXPECT_EQ(mFx->GetFadeMode(0), 0);
  EXPECT_FALSE(mFx->Play(0, 0, false));
  mFx->Stop(0, 0);
  mFx->Free(0);
  EXPECT_EQ(mFx->Read(std::string(32, 'a').c_str()), 0);
  EXPECT_EQ(mFx->Read("missing.ogg"), 0);
  for (int i = 1; i < 256; ++i) ASSERT_GT(mFx->Read("click.ogg"), 0);
  EXPECT_EQ(mFx->Read("click.ogg"), 0);  // every channel taken
  EXPECT_EQ(mFx->mSeSource[1].count, 255);
}

// The samples of a buffer as they stand.
std::vector<int16_t> Samples(plat::IDirectSoundBuffer* b) {
  void *p1 = nullptr, *p2 = nullptr;
  uint32_t n1 = 0, n2 = 0;
  if (plat::FAILED(b->Lock(0, 0, &p1, &n1, &p2, &n2, plat::DSBLOCK_ENTIREBUFFER))) return {};
  std::vector<int16_t> s(n1 / 2);
  memcpy(s.data(), p1, s.size() * 2);
  b->Unlock(p1, n1, p2, n2);
  return s;
}

TEST_F(SEBufferTest, LongEffectIsDecodedAStretchAtATimeAndSoundsAsDecodedWhole) {
  WriteTone("SE", "long.ogg", 440, 3000);
  const std::string file = mDir.Read("SE/long.ogg");
  plat::IDirectSoundBuffer* whole =
      mFx->OggDecode(reinterpret_cast<const uint8_t*>(file.data()), static_cast<uint32_t>(file.size()));
  ASSERT_NE(whole, nullptr);
  const std::vector<int16_t> expected = Samples(whole);
  whole->Release();
  ASSERT_EQ(expected.size(), 132300u * 2);

  // Read decodes a first stretch only; the frames decode the rest.
  int32_t a = mFx->Read("long.ogg");
  ASSERT_GT(a, 0);
  SeSource& source = mFx->mSeSource[mFx->mSeChannel[a - 1].source];
  EXPECT_TRUE(source.growing);
  EXPECT_LT(Samples(source.buffer).size(), expected.size() / 4);
  for (int f = 0; f < 30 && source.growing; ++f) Frame();
  EXPECT_FALSE(source.growing);
  EXPECT_EQ(Samples(source.buffer), expected);
  mFx->Free(a);

  // Played at once with no frame between, the mixer decodes what it
  // reaches: the output is the decoded sound at the full step's gain (same
  // rate, so no blending), to its last sample.
  mDir.Write("SE/long2.ogg", file);
  int32_t b = mFx->Read("long2.ogg");
  ASSERT_GT(b, 0);
  ASSERT_TRUE(mFx->mSeSource[mFx->mSeChannel[b - 1].source].growing);
  ASSERT_TRUE(mFx->Play(b, 0, false));
  plat::AdvanceAudio(3100);
  std::vector<int16_t> out = Output();
  const size_t start = out.size() - 3100 * 441 / 10 * 2;
  ASSERT_GE(out.size(), expected.size() + 2);
  const int64_t gain = plat::MixGain(VolumeScale(255));
  size_t wrong = 0;
  for (size_t i = 0; i < expected.size(); ++i) wrong += out[start + i] != static_cast<int16_t>((expected[i] * gain) >> 16);
  EXPECT_EQ(wrong, 0u);
  EXPECT_EQ(out[start + expected.size()], 0) << "silent after its end";
}

}  // namespace
