// The option screen through the whole program, driven by input scripts:
// every change takes effect at once, OK keeps it, cancel puts back every
// difference (the window too), Alt+Return keeps the mode buttons in step,
// and the test sounds play.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "ScreensKit.h"
#include "app/flow/RootFlow.h"
#include "audio/BGMBuffer.h"
#include "audio/OggEncode.h"
#include "audio/SEBuffer.h"
#include "audio/VoiceBuffer.h"
#include "save/SaveData.h"
#include "screens/DIBOptionScreen.h"
#include "screens/DIBTitleScreen.h"
#include "ui/DIBBaseCtrl.h"
#include "ui/DIBScrollCtrl.h"

namespace screenstest {
namespace {

class OptionScreenTest : public ScreensFixture {
 protected:
  void SetUp() override {
    ScreensFixture::SetUp();
    WriteSound("SE/TEST.OGG", 300);
    WriteSound("VOICE/TEST.OGG", 300);
    WriteSound("VOICE/LONG.OGG", 5000);
  }
  void WriteSound(const std::string& name, uint32_t ms) {
    std::vector<uint8_t> ogg;
    ASSERT_TRUE(EncodeOggTone(440, ms, 22050, 1, ogg));
    game.Write(name, std::string(ogg.begin(), ogg.end()));
  }
  // The frame from which the option screen, opened from the menu, is
  // current.
  long long Open() { return MenuFrame() + 80; }
  std::string OpenScript() { return Click(MenuFrame() + 5, TitleButton(TITLE_OPTION)); }
  void RunToOpen() {
    RunTo(Open() - 1);
    ASSERT_TRUE(Current<CDIBOptionScreen>());
    ASSERT_FALSE(app->mpRootFlow->IsChanging());
  }
  bool Enabled(int id) {
    CDIBBaseCtrl* c = Current()->GetCtrl(id);
    return c && c->IsEnable();
  }
  int32_t Slider(int id) { return static_cast<CDIBScrollCtrl*>(Current()->GetCtrl(id))->GetScrollPos(); }
  // Near the right end of a slider's bar.
  Region SliderEnd(int id) {
    Region r = OptionControl(id);
    return {id, r.x + r.w - 6, r.y, 1, 10};
  }
  ConfigRecord& Config() { return app->mpSaveData->mConfig; }
};

TEST_F(OptionScreenTest, MusicOffDisablesItsSliderOnRestoresItAndOKKeepsTheChanges) {
  const long long o = Open();
  Run(OpenScript() + Click(o, OptionControl(OPTION_BGM_OFF)) + Click(o + 10, OptionControl(OPTION_BGM_ON)) +
      Click(o + 20, SliderEnd(OPTION_BGM_VOL)) + Click(o + 30, OptionControl(OPTION_OK)));
  Config().bVoice = false;
  Config().nMesSpeed = 40;
  Config().nSkipMode = 0;
  RunToOpen();
  // The settings as the screen found them.
  EXPECT_TRUE(Enabled(OPTION_FULL)) << "windowed: full screen can be chosen";
  EXPECT_FALSE(Enabled(OPTION_WINDOW));
  EXPECT_TRUE(Enabled(OPTION_KIDOKU_SKIP));
  EXPECT_FALSE(Enabled(OPTION_ALL_SKIP));
  EXPECT_EQ(Slider(OPTION_MES_SPEED), 40);
  EXPECT_EQ(Slider(OPTION_BGM_VOL), 128);
  EXPECT_TRUE(Enabled(OPTION_VOICE_ON));
  for (int id : {OPTION_VOICE_OFF, OPTION_VOICE_TEST, OPTION_VOICE_VOL}) EXPECT_FALSE(Enabled(id)) << id;

  RunTo(o + 6);
  EXPECT_FALSE(Config().bBGM);
  EXPECT_TRUE(app->mpBGMBuffer->mbMute);
  EXPECT_TRUE(Enabled(OPTION_BGM_ON));
  EXPECT_FALSE(Enabled(OPTION_BGM_OFF));
  EXPECT_FALSE(Enabled(OPTION_BGM_VOL));
  RunTo(o + 16);
  EXPECT_TRUE(Config().bBGM);
  EXPECT_FALSE(app->mpBGMBuffer->mbMute);
  EXPECT_TRUE(Enabled(OPTION_BGM_VOL));
  EXPECT_EQ(app->mpBGMBuffer->mVolume, 128) << "back at the slider's volume";
  RunTo(o + 26);
  EXPECT_GT(Config().nBGMVol, 230);
  EXPECT_EQ(app->mpBGMBuffer->mVolume, Config().nBGMVol);
  const int32_t volume = Config().nBGMVol;
  RunTo(o + 60);
  EXPECT_TRUE(Current<CDIBTitleScreen>());
  EXPECT_TRUE(Config().bBGM);
  EXPECT_EQ(Config().nBGMVol, volume);
}

TEST_F(OptionScreenTest, CancelPutsBackTheWindowTheSoundsAndTheSpeeds) {
  const long long o = Open();
  Run(OpenScript() + Click(o, OptionControl(OPTION_FULL)) + Click(o + 10, OptionControl(OPTION_SE_OFF)) +
      Click(o + 20, SliderEnd(OPTION_VOICE_VOL)) + Click(o + 30, SliderEnd(OPTION_AUTO_SPEED)) +
      Click(o + 40, OptionControl(OPTION_ALL_SKIP)) + Key(o + 50, "ESCAPE"));
  RunToOpen();
  const ConfigRecord before = Config();
  RunTo(o + 6);
  EXPECT_TRUE(app->mbFullScreen);
  EXPECT_TRUE(Config().bFullScreen);
  EXPECT_TRUE(Enabled(OPTION_WINDOW));
  EXPECT_FALSE(Enabled(OPTION_FULL));
  RunTo(o + 16);
  EXPECT_TRUE(app->mpSEBuffer->mbMute);
  for (int id : {OPTION_SE_OFF, OPTION_SE_TEST, OPTION_SE_VOL}) EXPECT_FALSE(Enabled(id)) << id;
  RunTo(o + 46);
  EXPECT_GT(Config().nVoiceVol, 230);
  EXPECT_EQ(app->mpVoiceBuffer->mVolume, Config().nVoiceVol);
  EXPECT_GT(Config().nAutoSpeed, 230);
  EXPECT_EQ(Config().nSkipMode, 0);
  RunTo(o + 54);
  EXPECT_FALSE(app->mbFullScreen) << "back in the window";
  EXPECT_FALSE(app->mpSEBuffer->mbMute);
  EXPECT_EQ(app->mpVoiceBuffer->mVolume, before.nVoiceVol);
  EXPECT_EQ(memcmp(&Config(), &before, sizeof before), 0) << "every setting as it was";
  RunTo(o + 90);
  EXPECT_TRUE(Current<CDIBTitleScreen>());
}

TEST_F(OptionScreenTest, AltReturnUpdatesTheModeButtons) {
  game.Write("Novel.ini", "[System]\nAltAndEnter=1\n");
  const long long o = Open();
  Run(OpenScript() + std::to_string(o) + " down LMENU\n" + Key(o + 1, "RETURN") + std::to_string(o + 3) +
      " up LMENU\n");
  RunToOpen();
  EXPECT_FALSE(Enabled(OPTION_WINDOW));
  RunTo(o + 4);
  EXPECT_TRUE(app->mbFullScreen);
  EXPECT_TRUE(Config().bFullScreen);
  EXPECT_TRUE(Enabled(OPTION_WINDOW));
  EXPECT_FALSE(Enabled(OPTION_FULL));
}

TEST_F(OptionScreenTest, TheTestSoundsPlayAndTheVoiceTestInterruptsAVoice) {
  const long long o = Open();
  Run(OpenScript() + Click(o, OptionControl(OPTION_VOICE_TEST)) + Click(o + 10, OptionControl(OPTION_SE_TEST)));
  RunToOpen();
  CVoiceBuffer* voice = app->mpVoiceBuffer;
  ASSERT_TRUE(voice->Read("LONG", false));
  ASSERT_TRUE(voice->Play(0, false));
  RunTo(o - 1 + 3);
  EXPECT_NE(std::string(voice->mszName).find("LONG"), std::string::npos) << voice->mszName;
  RunTo(o + 6);
  EXPECT_NE(std::string(voice->mszName).find("TEST"), std::string::npos) << voice->mszName;
  EXPECT_TRUE(voice->mbPlay);
  auto* screen = Current<CDIBOptionScreen>();
  ASSERT_NE(screen->GetTestSE(), 0);
  EXPECT_FALSE(app->mpSEBuffer->IsPlay(screen->GetTestSE()));
  RunTo(o + 15);
  EXPECT_TRUE(app->mpSEBuffer->IsPlay(screen->GetTestSE()));
}

}  // namespace
}  // namespace screenstest
