// The sound device on the null back end: buffers, the two-region lock, play
// states, notifications, duplication, loss, and what the mixer writes.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "TestDir.h"
#include "platform/AudioDevice.h"
#include "platform/AudioMixer.h"

using namespace plat;

namespace {

std::vector<int16_t> ReadWavSamples(const std::string& bytes) {
  std::vector<int16_t> s;
  if (bytes.size() < 44) return s;
  s.resize((bytes.size() - 44) / 2);
  memcpy(s.data(), bytes.data() + 44, s.size() * 2);
  return s;
}

class AudioDeviceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetAudioBackend(AudioBackend::Null);
    SetAudioRefillWait(0);
    SetAudioCaptureFile(mDir.File("out.wav"));
    ASSERT_EQ(DirectSoundCreate(nullptr, &mDevice, nullptr), DS_OK);
    ASSERT_EQ(mDevice->SetCooperativeLevel(nullptr, DSSCL_PRIORITY), DS_OK);
  }
  void TearDown() override {
    CloseDevice();
    SetAudioCaptureFile("");
    SetAudioRefillWait(2000);
    SetAudioBackend(AudioBackend::Sdl);
  }
  void CloseDevice() {
    if (mDevice) mDevice->Release();
    mDevice = nullptr;
  }
  // Ends the capture and returns the interleaved stereo output.
  std::vector<int16_t> Output() {
    CloseDevice();
    return ReadWavSamples(mDir.Read("out.wav"));
  }

  IDirectSoundBuffer* Make(uint32_t rate, uint32_t channels, const std::vector<int16_t>& samples,
                           uint32_t flags = DSBCAPS_CTRLVOLUME | DSBCAPS_CTRLPOSITIONNOTIFY) {
    WAVEFORMATEX f = MakePcmFormat(rate, channels, 16);
    DSBUFFERDESC d;
    d.dwSize = 36;
    d.dwFlags = flags;
    d.dwBufferBytes = static_cast<uint32_t>(samples.size() * 2);
    d.lpwfxFormat = &f;
    IDirectSoundBuffer* b = nullptr;
    EXPECT_EQ(mDevice->CreateSoundBuffer(&d, &b, nullptr), DS_OK);
    if (!b) return nullptr;
    void *p1, *p2;
    uint32_t n1, n2;
    EXPECT_EQ(b->Lock(0, 0, &p1, &n1, &p2, &n2, DSBLOCK_ENTIREBUFFER), DS_OK);
    memcpy(p1, samples.data(), n1);
    b->Unlock(p1, n1, p2, n2);
    return b;
  }

  TestDir mDir;
  IDirectSound* mDevice = nullptr;
};

TEST_F(AudioDeviceTest, LockWrapsIntoTwoRegionsAndWritesLandAtUnlock) {
  IDirectSoundBuffer* b = Make(44100, 1, std::vector<int16_t>(8, 0));
  void *p1, *p2;
  uint32_t n1, n2;
  ASSERT_EQ(b->Lock(12, 8, &p1, &n1, &p2, &n2, 0), DS_OK);
  EXPECT_EQ(n1, 4u);
  EXPECT_EQ(n2, 4u);
  ASSERT_NE(p2, nullptr);
  int16_t a[2] = {1, 2}, c[2] = {3, 4};
  memcpy(p1, a, 4);
  memcpy(p2, c, 4);
  ASSERT_EQ(b->Unlock(p1, n1, p2, n2), DS_OK);
  // Read back through a lock that does not wrap.
  ASSERT_EQ(b->Lock(0, 16, &p1, &n1, &p2, &n2, 0), DS_OK);
  EXPECT_EQ(n1, 16u);
  EXPECT_EQ(p2, nullptr);
  std::vector<int16_t> got(8);
  memcpy(got.data(), p1, 16);
  EXPECT_EQ(got, (std::vector<int16_t>{3, 4, 0, 0, 0, 0, 1, 2}));
  b->Unlock(p1, n1, p2, n2);
  // Out-of-range requests fail without touching anything.
  EXPECT_EQ(b->Lock(16, 2, &p1, &n1, &p2, &n2, 0), DSERR_INVALIDPARAM);
  EXPECT_EQ(b->Lock(0, 17, &p1, &n1, &p2, &n2, 0), DSERR_INVALIDPARAM);
  EXPECT_EQ(b->Unlock(nullptr, 0, nullptr, 0), DSERR_INVALIDPARAM);
  b->Release();
}

TEST_F(AudioDeviceTest, SameRateBufferAtFullVolumeIsCopiedExactlyAndPlayingOnceStops) {
  std::vector<int16_t> s = {100, -200, 300, 32767, -32768, 5};
  IDirectSoundBuffer* b = Make(44100, 1, s);
  ASSERT_EQ(b->Play(0, 0, 0), DS_OK);
  uint32_t status = 0;
  b->GetStatus(&status);
  EXPECT_EQ(status, DSBSTATUS_PLAYING);
  AdvanceAudio(1);  // 44 frames
  b->GetStatus(&status);
  EXPECT_EQ(status, 0u);
  b->Release();
  std::vector<int16_t> out = Output();
  ASSERT_EQ(out.size(), 88u);
  for (size_t i = 0; i < s.size(); ++i) {
    EXPECT_EQ(out[2 * i], s[i]);
    EXPECT_EQ(out[2 * i + 1], s[i]);
  }
  for (size_t i = s.size() * 2; i < out.size(); ++i) EXPECT_EQ(out[i], 0);
}

TEST_F(AudioDeviceTest, LoopingRepeatsSampleExactlyAndFrameClockStaysExact) {
  std::vector<int16_t> s;
  for (int i = 0; i < 7; ++i) s.insert(s.end(), {static_cast<int16_t>(i * 10), static_cast<int16_t>(-i)});
  IDirectSoundBuffer* b = Make(44100, 2, s);
  b->Play(0, 0, DSBPLAY_LOOPING);
  for (int i = 0; i < 10; ++i) AdvanceAudio(30);
  uint32_t status = 0;
  b->GetStatus(&status);
  EXPECT_EQ(status, DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
  b->Release();
  std::vector<int16_t> out = Output();
  ASSERT_EQ(out.size(), 13230u * 2);  // 300 ms at 44100 Hz, no drift
  for (size_t f = 0; f < 13230; ++f) {
    ASSERT_EQ(out[2 * f], s[2 * (f % 7)]) << f;
    ASSERT_EQ(out[2 * f + 1], s[2 * (f % 7) + 1]) << f;
  }
}

TEST_F(AudioDeviceTest, VolumeScalesAndMinimumIsSilence) {
  IDirectSoundBuffer* b = Make(44100, 1, std::vector<int16_t>(441, 10000));
  EXPECT_EQ(b->SetVolume(-601), DS_OK);  // about half
  b->Play(0, 0, 0);
  AdvanceAudio(10);
  EXPECT_EQ(b->SetVolume(1), DSERR_INVALIDPARAM);
  EXPECT_EQ(b->SetVolume(-10001), DSERR_INVALIDPARAM);
  b->SetVolume(-10000);
  b->SetCurrentPosition(0);
  b->Play(0, 0, 0);
  AdvanceAudio(10);
  int32_t v = 0;
  b->GetVolume(&v);
  EXPECT_EQ(v, -10000);
  b->Release();
  IDirectSoundBuffer* fixed = Make(44100, 1, std::vector<int16_t>(4, 1), 0);
  EXPECT_EQ(fixed->SetVolume(-100), DSERR_CONTROLUNAVAIL);
  fixed->Release();
  std::vector<int16_t> out = Output();
  ASSERT_EQ(out.size(), 2u * 882);
  EXPECT_NEAR(out[0], 5000, 10);
  EXPECT_EQ(out[2 * 441], 0);
}

TEST_F(AudioDeviceTest, SumsSaturateAndHalfRateIsInterpolated) {
  IDirectSoundBuffer* a = Make(44100, 1, std::vector<int16_t>(100, 30000));
  IDirectSoundBuffer* b = Make(44100, 1, std::vector<int16_t>(100, 30000));
  a->Play(0, 0, 0);
  b->Play(0, 0, 0);
  AdvanceAudio(1);
  a->Release();
  b->Release();
  IDirectSoundBuffer* ramp = Make(22050, 1, {0, 1000, 2000, 3000});
  ramp->Play(0, 0, 0);
  AdvanceAudio(1);
  ramp->Release();
  std::vector<int16_t> out = Output();
  ASSERT_EQ(out.size(), 2u * 88);
  EXPECT_EQ(out[0], 32767);
  // Every other output frame falls between two source frames.
  std::vector<int16_t> left;
  for (int f = 44; f < 52; ++f) left.push_back(out[2 * f]);
  EXPECT_EQ(left, (std::vector<int16_t>{0, 500, 1000, 1500, 2000, 2500, 3000, 3000}));
  EXPECT_EQ(out[2 * 52], 0);
}

TEST_F(AudioDeviceTest, NotificationsFireWhenTheCursorPassesTheirOffset) {
  // One second of stereo: quarters of 11025 frames.
  IDirectSoundBuffer* b = Make(44100, 2, std::vector<int16_t>(44100 * 2, 0));
  IDirectSoundNotify* n = nullptr;
  ASSERT_EQ(b->QueryInterface(IID_IDirectSoundNotify, reinterpret_cast<void**>(&n)), DS_OK);
  EventHandle ev[2] = {CreateEvent(true, false), CreateEvent(true, false)};
  DSBPOSITIONNOTIFY pos[2] = {{44100 - 4, ev[0]}, {DSBPN_OFFSETSTOP, ev[1]}};
  ASSERT_EQ(n->SetNotificationPositions(2, pos), DS_OK);
  b->Play(0, 0, DSBPLAY_LOOPING);
  EXPECT_EQ(n->SetNotificationPositions(0, nullptr), DSERR_INVALIDCALL);  // not while playing
  AdvanceAudio(240);  // 10584 frames: not yet at frame 11024
  EXPECT_FALSE(IsEventSet(ev[0]));
  AdvanceAudio(10);  // 11025 frames
  EXPECT_TRUE(IsEventSet(ev[0]));
  EXPECT_FALSE(IsEventSet(ev[1]));
  b->Stop();
  EXPECT_TRUE(IsEventSet(ev[1]));
  // The buffer keeps its reference: closing the event first is safe.
  CloseEvent(ev[0]);
  CloseEvent(ev[1]);
  n->Release();
  b->Release();
}

TEST_F(AudioDeviceTest, DuplicatesShareSamplesButNotCursorOrVolume) {
  IDirectSoundBuffer* a = Make(44100, 1, std::vector<int16_t>(44, 1000));
  a->SetVolume(-10000);
  IDirectSoundBuffer* d = nullptr;
  ASSERT_EQ(mDevice->DuplicateSoundBuffer(a, &d), DS_OK);
  int32_t v = 0;
  d->GetVolume(&v);
  EXPECT_EQ(v, -10000);
  d->SetVolume(0);
  d->Play(0, 0, 0);
  AdvanceAudio(1);
  uint32_t sa = 0, pa = 1;
  a->GetStatus(&sa);
  a->GetCurrentPosition(&pa, nullptr);
  EXPECT_EQ(sa, 0u);
  EXPECT_EQ(pa, 0u);
  a->Release();  // the duplicate keeps the samples alive
  d->SetCurrentPosition(0);
  d->Play(0, 0, 0);
  AdvanceAudio(1);
  d->Release();
  std::vector<int16_t> out = Output();
  ASSERT_EQ(out.size(), 2u * 88);
  EXPECT_EQ(out[0], 1000);
  EXPECT_EQ(out[2 * 44], 1000);
}

TEST_F(AudioDeviceTest, LostBuffersRefuseUntilRestoredAndComeBackEmpty) {
  IDirectSoundBuffer* b = Make(44100, 1, std::vector<int16_t>(8, 7));
  b->Play(0, 0, DSBPLAY_LOOPING);
  LoseAudioBuffers();
  uint32_t status = 0;
  b->GetStatus(&status);
  EXPECT_EQ(status, DSBSTATUS_BUFFERLOST);
  EXPECT_EQ(b->Play(0, 0, 0), DSERR_BUFFERLOST);
  void *p1, *p2;
  uint32_t n1, n2;
  EXPECT_EQ(b->Lock(0, 4, &p1, &n1, &p2, &n2, 0), DSERR_BUFFERLOST);
  EXPECT_EQ(b->Restore(), DS_OK);
  ASSERT_EQ(b->Lock(0, 4, &p1, &n1, &p2, &n2, 0), DS_OK);
  EXPECT_EQ(memcmp(p1, "\0\0\0\0", 4), 0);
  b->Unlock(p1, n1, p2, n2);
  b->Release();
}

TEST_F(AudioDeviceTest, PrimaryFormatNeedsPriorityAndBadDescriptionsFail) {
  DSBUFFERDESC d;
  d.dwSize = 36;
  d.dwFlags = DSBCAPS_PRIMARYBUFFER;
  IDirectSoundBuffer* primary = nullptr;
  ASSERT_EQ(mDevice->CreateSoundBuffer(&d, &primary, nullptr), DS_OK);
  WAVEFORMATEX f = MakePcmFormat(44100, 2, 16);
  EXPECT_EQ(primary->SetFormat(&f), DS_OK);
  mDevice->SetCooperativeLevel(nullptr, DSSCL_NORMAL);
  EXPECT_EQ(primary->SetFormat(&f), DSERR_PRIOLEVELNEEDED);
  EXPECT_EQ(primary->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
  primary->Release();

  IDirectSoundBuffer* b = nullptr;
  d.dwFlags = 0;
  d.dwBufferBytes = 100;
  d.lpwfxFormat = &f;
  d.dwSize = 12;
  EXPECT_EQ(mDevice->CreateSoundBuffer(&d, &b, nullptr), DSERR_INVALIDPARAM);
  d.dwSize = 36;
  WAVEFORMATEX bad = MakePcmFormat(44100, 2, 8);
  d.lpwfxFormat = &bad;
  EXPECT_EQ(mDevice->CreateSoundBuffer(&d, &b, nullptr), DSERR_BADFORMAT);
  bad = MakePcmFormat(4000000, 2, 16);
  EXPECT_EQ(mDevice->CreateSoundBuffer(&d, &b, nullptr), DSERR_BADFORMAT);
  bad = MakePcmFormat(44100, 0, 16);
  EXPECT_EQ(mDevice->CreateSoundBuffer(&d, &b, nullptr), DSERR_BADFORMAT);
  d.lpwfxFormat = &f;
  d.dwBufferBytes = DSBSIZE_MAX + 1;
  EXPECT_EQ(mDevice->CreateSoundBuffer(&d, &b, nullptr), DSERR_INVALIDPARAM);
  EXPECT_EQ(b, nullptr);
}

TEST(AudioBackendTest, NoDeviceAtAllAndRefusedPriority) {
  SetAudioBackend(AudioBackend::None);
  IDirectSound* d = reinterpret_cast<IDirectSound*>(1);
  EXPECT_EQ(DirectSoundCreate(nullptr, &d, nullptr), DSERR_NODRIVER);
  EXPECT_EQ(d, nullptr);
  SetAudioBackend(AudioBackend::Null);
  SetAudioRefusePriority(true);
  ASSERT_EQ(DirectSoundCreate(nullptr, &d, nullptr), DS_OK);
  EXPECT_NE(d->SetCooperativeLevel(nullptr, DSSCL_PRIORITY), DS_OK);
  EXPECT_EQ(d->SetCooperativeLevel(nullptr, DSSCL_NORMAL), DS_OK);
  d->Release();
  SetAudioRefusePriority(false);
  SetAudioBackend(AudioBackend::Sdl);
}

TEST(AudioMixerTest, GainFollowsTheDecibelCurve) {
  EXPECT_EQ(MixGain(0), 65536);
  EXPECT_EQ(MixGain(-10000), 0);
  EXPECT_EQ(MixGain(-2000), 6554);  // 1/10
  EXPECT_NEAR(MixGain(-602), 32768, 10);
}

}  // namespace
