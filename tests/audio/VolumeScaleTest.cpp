#include <gtest/gtest.h>

#include <cmath>

#include "audio/DSound.h"
#include "audio/VolumeScale.h"
#include "platform/AudioDevice.h"

TEST(VolumeScaleTest, FixedEntriesAndTheLogarithmRoundedTowardZero) {
  EXPECT_EQ(gVolumeScale[0], -10000);
  EXPECT_EQ(gVolumeScale[1], -6224);
  EXPECT_EQ(gVolumeScale[2], -5526);
  EXPECT_EQ(gVolumeScale[3], -5115);
  EXPECT_EQ(gVolumeScale[4], -4828);
  EXPECT_EQ(gVolumeScale[16], -3442);
  EXPECT_EQ(gVolumeScale[64], -2055);
  EXPECT_EQ(gVolumeScale[128], -1362);
  EXPECT_EQ(gVolumeScale[200], -916);
  EXPECT_EQ(gVolumeScale[255], -673);
  for (int i = 3; i < 256; ++i) EXPECT_EQ(gVolumeScale[i], static_cast<int>(std::trunc(1000.0 * std::log(i / 500.0))));
  EXPECT_EQ(VolumeScale(-5), -10000);
  EXPECT_EQ(VolumeScale(1000), -673);
}

TEST(DSoundTest, RefusedPriorityFallsBackToNormalAndNoDeviceFails) {
  plat::SetAudioBackend(plat::AudioBackend::Null);
  plat::SetAudioRefusePriority(true);
  {
    CDSound sound;
    ASSERT_TRUE(sound.Initialize(nullptr, 44100, 2, 16));
    EXPECT_EQ(sound.mLevel, plat::DSSCL_NORMAL);
    ASSERT_NE(sound.mpSilent, nullptr);
    uint32_t status = 0;
    sound.mpSilent->GetStatus(&status);
    EXPECT_EQ(status, plat::DSBSTATUS_PLAYING | plat::DSBSTATUS_LOOPING);
    // The primary keeps the device's own format under the normal level.
    plat::WAVEFORMATEX f;
    sound.mpPrimary->GetFormat(&f, sizeof f, nullptr);
    EXPECT_EQ(f.nSamplesPerSec, 44100u);
    sound.Release();
    EXPECT_EQ(sound.mpDSound, nullptr);
    EXPECT_EQ(sound.mpPrimary, nullptr);
    EXPECT_EQ(sound.mpSilent, nullptr);
  }
  plat::SetAudioRefusePriority(false);
  plat::SetAudioBackend(plat::AudioBackend::None);
  CDSound none;
  EXPECT_FALSE(none.Initialize(nullptr, 44100, 2, 16));
  EXPECT_EQ(none.mhWnd, nullptr);
  plat::SetAudioBackend(plat::AudioBackend::Sdl);
}

TEST(DSoundTest, MakeSoundBufferGivesAZeroedVolumeControlledBuffer) {
  plat::SetAudioBackend(plat::AudioBackend::Null);
  CDSound sound;
  ASSERT_TRUE(sound.Initialize(nullptr, 44100, 2, 16));
  plat::WAVEFORMATEX f = plat::MakePcmFormat(22050, 1, 16);
  plat::IDirectSoundBuffer* b = nullptr;
  ASSERT_TRUE(sound.MakeSoundBuffer(&b, &f, 100));
  EXPECT_EQ(b->SetVolume(-500), plat::DS_OK);
  EXPECT_EQ(sound.SoundBufferFillZero(b), 0);
  plat::IDirectSoundBuffer* untouched = reinterpret_cast<plat::IDirectSoundBuffer*>(8);
  plat::WAVEFORMATEX bad = plat::MakePcmFormat(22050, 1, 8);
  EXPECT_FALSE(sound.MakeSoundBuffer(&untouched, &bad, 100));
  EXPECT_EQ(untouched, reinterpret_cast<plat::IDirectSoundBuffer*>(8));
  b->Release();
  sound.Release();
  plat::SetAudioBackend(plat::AudioBackend::Sdl);
}
