#include <gtest/gtest.h>

#include <cstring>

#include "app/core/MainWindow.h"
#include "audio/BGMBuffer.h"
#include "audio/SEBuffer.h"
#include "audio/SoundTestEnv.h"
#include "audio/VoiceBuffer.h"
#include "save/GameFile.h"
#include "save/SaveData.h"
#include "save/SaveFolder.h"
#include "save/SoundConfig.h"

namespace {

// The save data with the three sound classes on the null sound device.
class SaveSoundTest : public SoundTestEnv {
 protected:
  void SetUp() override {
    SoundTestEnv::SetUp();
    mpPrev = gpMainWindow;
    gpMainWindow = &mWindow;
    save::SetSaveLocation({mDir.path(), {mDir.path()}, false});
    ASSERT_TRUE(mFx.Initialize(mSound.get(), &mSe));
    ASSERT_TRUE(mMusic.Initialize(mSound.get(), &mBgm));
    ASSERT_TRUE(mLine.Initialize(mSound.get(), &mVoice));
    mWindow.mpSEBuffer = &mFx;
    mWindow.mpBGMBuffer = &mMusic;
    mWindow.mpVoiceBuffer = &mLine;
    WriteTone("SE", "DOOR.OGG", 300, 400);
    WriteTone("SE", "CLICK.OGG", 900, 100);
    WriteTone("BGM", "M02.OGG", 440, 2000);
    WriteTone("VOICE", "V01.OGG", 600, 2000);
    mpSave = std::make_unique<CSaveData>();
    ASSERT_TRUE(mpSave->Initialize());
  }
  void TearDown() override {
    mpSave.reset();
    mLine.Release();
    mMusic.Release();
    mFx.Release();
    save::SetSaveLocation({"./", {"./"}, false});
    gpMainWindow = mpPrev;
    SoundTestEnv::TearDown();
  }

  CMainWindow mWindow;
  CMainWindow* mpPrev = nullptr;
  CSEBuffer mFx;
  CBGMBuffer mMusic;
  CVoiceBuffer mLine;
  std::unique_ptr<CSaveData> mpSave;
};

TEST_F(SaveSoundTest, SavedMusicAndEffectsAreRestartedOnLoad) {
  CSaveData& s = *mpSave;
  s.mSEHandle[9] = mFx.Read("DOOR.OGG");
  ASSERT_GT(s.mSEHandle[9], 0);
  ASSERT_TRUE(mFx.Play(s.mSEHandle[9], 0, true));
  s.mSEHandle[4] = mFx.Read("CLICK.OGG");  // read but not playing
  ASSERT_TRUE(mMusic.Read("M02.OGG"));
  ASSERT_TRUE(mMusic.Play(0, false));
  ASSERT_TRUE(s.SaveGame(1));
  std::string f = mDir.Read("SAVE/GAME01.SAV");
  const size_t T = 76800;
  EXPECT_STREQ(f.c_str() + 53520 + T, "M02.OGG");
  EXPECT_EQ(f[53584 + T], 1);
  EXPECT_EQ(f[53585 + T], 0);
  EXPECT_STREQ(f.c_str() + 53586 + T + 9 * 34, "DOOR.OGG");
  EXPECT_EQ(f[53586 + T + 9 * 34 + 32], 1);
  EXPECT_EQ(f[53586 + T + 9 * 34 + 33], 1);
  EXPECT_EQ(f[53586 + T + 4 * 34 + 32], 0);

  // Later in the game: other sounds, a voice line.
  mMusic.Stop(0);
  mFx.Stop(s.mSEHandle[9], 0);
  mFx.Free(s.mSEHandle[9]);
  s.mSEHandle[9] = 0;
  s.mSEHandle[7] = mFx.Read("CLICK.OGG");
  ASSERT_TRUE(mLine.Read("V01.OGG", false));
  ASSERT_TRUE(mLine.Play(0, false));

  ASSERT_TRUE(s.LoadGame(1));
  EXPECT_EQ(s.mSEHandle[7], 0);
  ASSERT_GT(s.mSEHandle[9], 0);
  ASSERT_GT(s.mSEHandle[4], 0);
  EXPECT_TRUE(mFx.mSeChannel[s.mSEHandle[9] - 1].playing);
  EXPECT_TRUE(mFx.mSeChannel[s.mSEHandle[9] - 1].loop);
  EXPECT_FALSE(mFx.mSeChannel[s.mSEHandle[4] - 1].playing);
  EXPECT_STREQ(mMusic.mszName, "M02.OGG");
  EXPECT_TRUE(mMusic.mbPlay);
  EXPECT_FALSE(mMusic.mbLoop);
  EXPECT_FALSE(mLine.mbPlay);
}

TEST_F(SaveSoundTest, SettingsMuteAndSetTheSoundClasses) {
  ConfigRecord c;
  c.bBGM = false;
  c.nSEVol = 12;
  c.nVoiceVol = 200;
  ApplySoundConfig(c, &mFx, &mMusic, &mLine);
  EXPECT_TRUE(mMusic.mbMute);
  EXPECT_FALSE(mFx.mbMute);
  EXPECT_FALSE(mLine.mbMute);
  EXPECT_EQ(mFx.mVolume, 12);
  EXPECT_EQ(mMusic.mVolume, 128);
  EXPECT_EQ(mLine.mVolume, 200);
  ApplySoundConfig(c, nullptr, nullptr, nullptr);
}

}  // namespace
