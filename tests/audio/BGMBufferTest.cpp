// Music on the null back end, one 30 ms frame at a time.
#include <unistd.h>

#include <atomic>

#include "SoundTestEnv.h"
#include "app/core/MainWindow.h"
#include "audio/BGMBuffer.h"
#include "audio/VolumeScale.h"

namespace {

class BGMBufferTest : public SoundTestEnv {
 protected:
  void SetUp() override {
    SoundTestEnv::SetUp();
    ASSERT_TRUE(mMusic.Initialize(mSound.get(), &mBgm));
  }
  void TearDown() override {
    mMusic.Release();
    gbBGMSmallVolume = false;
    SoundTestEnv::TearDown();
  }
  void Frame(uint32_t ms = 30) {
    mMusic.Move(ms);
    plat::AdvanceAudio(ms);
  }
  int32_t BufferVolume() {
    int32_t v = 1;
    mMusic.mpBuffer->GetVolume(&v);
    return v;
  }
  bool BufferPlaying() {
    uint32_t s = 0;
    mMusic.mpBuffer->GetStatus(&s);
    return (s & plat::DSBSTATUS_PLAYING) != 0;
  }

  CBGMBuffer mMusic;
};

TEST_F(BGMBufferTest, ShortPiecePlaysOnceThenSilenceAndClearsPlayAtTheRingsEnd) {
  WriteTone("BGM", "short.ogg", 440, 600);
  ASSERT_TRUE(mMusic.Read("short.ogg"));
  EXPECT_STREQ(mMusic.mszName, "short.ogg");
  ASSERT_TRUE(mMusic.Play(0, false));
  int cleared = -1;
  for (int f = 0; f < 300 && cleared < 0; ++f) {
    Frame();
    if (!mMusic.mbPlay) cleared = f;
  }
  // The ring (eight seconds) plays to its end once and stops.
  EXPECT_GE(cleared * 30, 7980);
  EXPECT_LE(cleared * 30, 8100);
  std::vector<int16_t> out = Output();
  EXPECT_GT(Rms(out, 0, 550), 3000);
  EXPECT_LT(Rms(out, 700, 7900), 1);
}

TEST_F(BGMBufferTest, LoopingPieceRepeatsSampleExactlyAcrossRefills) {
  WriteTone("BGM", "loop.ogg", 300, 1000);
  ASSERT_TRUE(mMusic.Read("loop.ogg"));
  ASSERT_TRUE(mMusic.Play(0, true));
  for (int f = 0; f < 400; ++f) Frame();  // 12 s: every quarter refilled at least once
  EXPECT_TRUE(mMusic.mbPlay);
  std::vector<int16_t> out = Output();
  ASSERT_GE(out.size(), 2u * 44100 * 12);
  size_t mismatches = 0;
  for (size_t i = 0; i < 2u * 44100 * 11; ++i)
    if (out[i] != out[i + 2 * 44100]) ++mismatches;
  EXPECT_EQ(mismatches, 0u);
  EXPECT_GT(Rms(out, 0, 12000), 3000);
}

TEST_F(BGMBufferTest, FadesApplyTheirVolumeBeforeAdvancing) {
  WriteTone("BGM", "fade.ogg", 440, 3000);
  ASSERT_TRUE(mMusic.Read("fade.ogg"));
  ASSERT_TRUE(mMusic.Play(90, true));
  std::vector<int32_t> seen;
  for (int f = 0; f < 4; ++f) {
    Frame();
    seen.push_back(BufferVolume());
  }
  EXPECT_EQ(seen, (std::vector<int32_t>{gVolumeScale[0], gVolumeScale[85], gVolumeScale[170], gVolumeScale[255]}));
  EXPECT_EQ(mMusic.mFadeMode, 0);

  mMusic.Stop(60);
  EXPECT_EQ(mMusic.mFadeMode, 2);
  seen.clear();
  for (int f = 0; f < 3; ++f) {
    EXPECT_TRUE(mMusic.mbPlay);
    Frame();
    seen.push_back(BufferVolume());
  }
  EXPECT_EQ(seen, (std::vector<int32_t>{gVolumeScale[255], gVolumeScale[128], gVolumeScale[0]}));
  EXPECT_FALSE(mMusic.mbPlay);
  EXPECT_FALSE(BufferPlaying());
  EXPECT_EQ(mMusic.mFadeMode, 0);
}

TEST_F(BGMBufferTest, SkippedFadeEndsAtTheNextFrameAndVolumeChangesMidFade) {
  WriteTone("BGM", "a.ogg", 440, 3000);
  ASSERT_TRUE(mMusic.Read("a.ogg"));
  ASSERT_TRUE(mMusic.Play(300, true));
  Frame();
  Frame();  // count 60 of 300
  mMusic.SetVolume(100);
  Frame();
  EXPECT_EQ(BufferVolume(), gVolumeScale[100 * 60 / 300]);
  mMusic.mbFadeSkip = true;
  Frame();
  EXPECT_EQ(BufferVolume(), gVolumeScale[100]);
  EXPECT_EQ(mMusic.mFadeMode, 0);
  mMusic.SetMute(true);
  EXPECT_EQ(BufferVolume(), -10000);
}

TEST_F(BGMBufferTest, PauseNestsAndStopWithFadeWhilePausedStopsAtOnce) {
  WriteTone("BGM", "p.ogg", 440, 3000);
  ASSERT_TRUE(mMusic.Read("p.ogg"));
  ASSERT_TRUE(mMusic.Play(0, true));
  Frame();
  mMusic.SetPause(true);
  mMusic.SetPause(true);
  EXPECT_FALSE(BufferPlaying());
  mMusic.SetPause(false);
  Frame();
  EXPECT_FALSE(BufferPlaying());
  EXPECT_TRUE(mMusic.mbPause);
  mMusic.SetPause(false);
  EXPECT_TRUE(BufferPlaying());
  Frame();
  EXPECT_TRUE(mMusic.mbPlay);

  mMusic.SetPause(true);
  mMusic.Stop(1000);
  EXPECT_FALSE(mMusic.mbPlay);
}

TEST_F(BGMBufferTest, CachedReadUsesNoFileAndAnotherReadDropsTheCache) {
  WriteTone("BGM", "c.ogg", 440, 500);
  WriteTone("BGM", "d.ogg", 440, 500);
  ASSERT_TRUE(mMusic.Cache("c.ogg"));
  unlink(mDir.File("BGM/c.ogg").c_str());
  EXPECT_TRUE(mMusic.Read("C"));  // same name without extension, other case
  EXPECT_EQ(mMusic.mpCache, nullptr);
  EXPECT_FALSE(mMusic.Read("c.ogg"));

  ASSERT_TRUE(mMusic.Cache("d.ogg"));
  WriteTone("BGM", "e.ogg", 440, 500);
  EXPECT_TRUE(mMusic.Read("e.ogg"));
  EXPECT_EQ(mMusic.mpCache, nullptr);
  EXPECT_EQ(mMusic.mszCacheName[0], 0);
  EXPECT_FALSE(mMusic.Cache("missing.ogg"));
}

TEST_F(BGMBufferTest, NamesCompareWithoutExtensionIgnoringCase) {
  EXPECT_TRUE(CBGMBuffer::CmpFName("BGM01.OGG", "bgm01"));
  // The extension starts at the last dot.
  EXPECT_TRUE(CBGMBuffer::CmpFName("a.b.ogg", "A.B.wav"));
  EXPECT_FALSE(CBGMBuffer::CmpFName("a.b.ogg", "a.ogg"));
  EXPECT_TRUE(CBGMBuffer::CmpFName("dir.x/a", "DIR.X/a.ogg"));
  EXPECT_FALSE(CBGMBuffer::CmpFName("x", "xy"));
  EXPECT_FALSE(CBGMBuffer::CmpFName(nullptr, "x"));
  WriteTone("BGM", "song.ogg", 440, 500);
  ASSERT_TRUE(mMusic.Read("song.ogg"));
  EXPECT_FALSE(mMusic.CheckPlaying("song"));
  mMusic.Play(0, true);
  EXPECT_TRUE(mMusic.CheckPlaying("SONG.wav"));
}

TEST_F(BGMBufferTest, LoweringUnderAVoiceTakesAboutATenthOfASecondEachWay) {
  WriteTone("BGM", "l.ogg", 440, 3000);
  ASSERT_TRUE(mMusic.Read("l.ogg"));
  mMusic.SetVolume(200);
  ASSERT_TRUE(mMusic.Play(0, true));
  mMusic.mbSmallReq = true;
  Frame();  // switch off: no effect
  EXPECT_EQ(BufferVolume(), gVolumeScale[200]);

  gbBGMSmallVolume = true;
  std::vector<int32_t> steps;
  for (int f = 0; f < 4; ++f) {
    Frame();
    steps.push_back(mMusic.mSmallVolume);
  }
  EXPECT_EQ(steps, (std::vector<int32_t>{170, 140, 110, 100}));
  EXPECT_EQ(BufferVolume(), gVolumeScale[100]);
  mMusic.mbSmallReq = false;
  for (int f = 0; f < 4; ++f) Frame();
  EXPECT_EQ(mMusic.mSmallVolume, 200);
  EXPECT_EQ(BufferVolume(), gVolumeScale[200]);
}

TEST_F(BGMBufferTest, RingIsKeptWhileTheFormatStaysTheSame) {
  WriteTone("BGM", "s1.ogg", 440, 500);
  WriteTone("BGM", "s2.ogg", 660, 500);
  WriteTone("BGM", "m.ogg", 440, 500, 22050, 1);
  ASSERT_TRUE(mMusic.Read("s1.ogg"));
  plat::IDirectSoundBuffer* ring = mMusic.mpBuffer;
  EXPECT_EQ(mMusic.mdwQuarter, 44100u * 4 * 2);
  ASSERT_TRUE(mMusic.Read("s2.ogg"));
  EXPECT_EQ(mMusic.mpBuffer, ring);
  ASSERT_TRUE(mMusic.Read("m.ogg"));
  EXPECT_EQ(mMusic.mdwQuarter, 22050u * 2 * 2);
  plat::WAVEFORMATEX f;
  mMusic.mpBuffer->GetFormat(&f, sizeof f, nullptr);
  EXPECT_EQ(f.nChannels, 1);
  EXPECT_EQ(f.nSamplesPerSec, 22050u);
}

TEST_F(BGMBufferTest, ReleaseWhileStreamingReturns) {
  WriteTone("BGM", "r.ogg", 440, 20000);
  ASSERT_TRUE(mMusic.Read("r.ogg"));
  ASSERT_TRUE(mMusic.Play(0, true));
  for (int f = 0; f < 140; ++f) Frame();  // past the first refills
  mMusic.Release();
  EXPECT_EQ(mMusic.mpBuffer, nullptr);
  mMusic.Release();  // twice is harmless
  EXPECT_FALSE(mMusic.Read("r.ogg"));
}

TEST_F(BGMBufferTest, LostBufferIsRefilledAtResume) {
  WriteTone("BGM", "lost.ogg", 440, 10000);
  ASSERT_TRUE(mMusic.Read("lost.ogg"));
  ASSERT_TRUE(mMusic.Play(0, true));
  Frame();
  mMusic.SetPause(true);
  plat::LoseAudioBuffers();
  mMusic.SetPause(false);
  EXPECT_TRUE(BufferPlaying());
  for (int f = 0; f < 10; ++f) Frame();
  std::vector<int16_t> out = Output();
  EXPECT_GT(Rms(out, 60, 300), 3000);
}

// The worker restarts a finishing piece's ring without its loop flag, after
// reading whether it plays. A stop or pause landing between the two must
// not be undone: the window is widened here as a slow machine might.
class CSlowWorkerMusic : public CBGMBuffer {
 public:
  std::atomic<bool> armed{false}, inWindow{false};

 protected:
  void OnRingStatusRead() override {
    if (!armed) return;
    inWindow = true;
    usleep(300 * 1000);
  }
};

TEST_F(BGMBufferTest, AStopOrPauseDuringTheWorkersRestartIsNeverUndone) {
  plat::SetAudioRefillWait(0);
  WriteTone("BGM", "short.ogg", 440, 600);
  for (bool pause : {false, true}) {
    CSlowWorkerMusic music;
    ASSERT_TRUE(music.Initialize(mSound.get(), &mBgm));
    ASSERT_TRUE(music.Read("short.ogg"));
    ASSERT_TRUE(music.Play(0, false));  // ends inside the first fill: the restart comes at the third quarter
    music.armed = true;
    plat::AdvanceAudio(6100);
    for (int i = 0; i < 500 && !music.inWindow; ++i) usleep(10 * 1000);
    ASSERT_TRUE(music.inWindow);
    if (pause)
      music.SetPause(true);
    else
      music.Stop(0);
    usleep(400 * 1000);  // the worker has long finished its window
    uint32_t status = 0;
    music.mpBuffer->GetStatus(&status);
    EXPECT_FALSE(status & plat::DSBSTATUS_PLAYING) << (pause ? "paused" : "stopped") << " music sounds again";
    music.armed = false;
    music.Release();
  }
}

TEST_F(BGMBufferTest, StartDecodesAHeadAndTheWorkerTheRestBeforeTheMixReachesIt) {
  WriteTone("BGM", "long.ogg", 440, 6000);
  ASSERT_TRUE(mMusic.Read("long.ogg"));
  ASSERT_TRUE(mMusic.Play(0, false));
  // Four seconds mixed at once, with no frame between: the mix waits for
  // the worker's part of the start, so no stretch of it is silent.
  plat::AdvanceAudio(4000);
  std::vector<int16_t> out = Output();
  for (uint32_t at = 0; at + 200 <= 3900; at += 200) EXPECT_GT(Rms(out, at, at + 200), 3000) << at << " ms";
}

}  // namespace
