// The title screen through the whole program, driven by input scripts: the
// opening, the two title pictures and the name, the menu and its buttons,
// the idle replay of the opening and the end of the game.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "ScreensKit.h"
#include "assets/SpriteCache.h"
#include "audio/OggEncode.h"
#include "audio/SEBuffer.h"
#include "audio/VoiceBuffer.h"
#include "save/SaveData.h"
#include "scene/DIBOverlap.h"
#include "ui/EffectParam.h"
#include "app/flow/RootFlow.h"
#include "screens/DIBMovieScreen.h"
#include "screens/DIBTitleScreen.h"

namespace screenstest {
namespace {

class TitleScreenTest : public ScreensFixture {
 protected:
  // Runs until the title shows its menu; the frame it first did.
  long long RunToMenu(long long limit = 400) {
    while (Frame() < limit) {
      RunTo(Frame() + 1);
      auto* title = Current<CDIBTitleScreen>();
      if (title && title->GetPhase() == TITLE_PHASE_MENU && !app->mpRootFlow->IsChanging()) return Frame();
    }
    return -1;
  }
};

TEST_F(TitleScreenTest, TheOpeningPicturesAndNameLeadToTheMenu) {
  Run("");
  long long shown = -1, movie = -1, first = -1, second = -1, name = -1;
  while (Frame() < 400) {
    RunTo(Frame() + 1);
    if (shown < 0 && Current<CDIBTitleScreen>() && !app->mpRootFlow->IsChanging()) shown = Frame();
    if (movie < 0 && Current<CDIBMovieScreen>()) movie = Frame();
    auto* title = Current<CDIBTitleScreen>();
    if (!title || app->mpRootFlow->IsChanging()) continue;
    if (first < 0 && title->GetPhase() == TITLE_PHASE_NAME && title->GetStep() == 1) first = Frame();
    if (second < 0 && title->GetStep() == 2) second = Frame();
    if (name < 0 && title->GetStep() == 11) name = Frame();
    if (title->GetPhase() == TITLE_PHASE_MENU) break;
  }
  ASSERT_GT(movie, 0) << "the opening movie is shown";
  // The switch waits a few frames for the music; a fade of a second would
  // take more than thirty.
  EXPECT_LE(movie - shown, 8) << "the first opening starts without a visible fade";
  ASSERT_GT(first, movie);
  // Each title picture transition takes a second, the name zoom another.
  EXPECT_NEAR(second - first, 34, 2);
  EXPECT_NEAR(name - second, 34, 2);
  EXPECT_NEAR(Frame() - name, 34, 2);
  // The menu: background, name, the five buttons in their normal frames.
  RunTo(Frame() + 2);
  EXPECT_EQ(Pixel(400, 300), kTitleBack);
  EXPECT_TRUE(Near(Pixel(14 + 100, 9 + 30), FrameColor(0), 4)) << std::hex << Pixel(14 + 100, 9 + 30) << " the name";
  for (int i = 0; i < 5; ++i) EXPECT_EQ(FrameAt(TitleButton(i).x + 50, TitleButton(i).y + 15), 1 + 5 * i) << i;
}

TEST_F(TitleScreenTest, ClicksAndKeysCutThePicturesAndTheNameShort) {
  std::string script;
  // Input is live from frame 18; the movie is over by frame 20.
  for (long long f = 20; f < 120; f += 4) script += f % 8 ? Key(f, "RETURN") : Click(f, {0, 400, 300, 1, 1});
  Run(script);
  const long long menu = RunToMenu();
  ASSERT_GT(menu, 0);
  // Three seconds of pictures and name without input.
  EXPECT_LT(menu, 60);
  EXPECT_TRUE(Current<CDIBTitleScreen>()->IsNameShown());
  EXPECT_EQ(Current<CDIBTitleScreen>()->GetNameMotion().nTime, Current<CDIBTitleScreen>()->GetNameMotion().nSpan);
}

TEST_F(TitleScreenTest, LeftInTheMenuTheOpeningPlaysAgainWithTheTablesFades) {
  WriteTable(game, "TITLE", "DEF 0, 60, 600, 600\nDEF 0, 66, 3000\nEND\n");
  // The mouse moves all the while: only time counts.
  std::string script;
  for (long long f = 150; f < 260; f += 5) script += std::to_string(f) + " move " + std::to_string(f) + " 100\n";
  Run(script);
  const long long menu = RunToMenu();
  ASSERT_GT(menu, 0);
  long long asked = -1, movie = -1;
  while (Frame() < menu + 200 && movie < 0) {
    RunTo(Frame() + 1);
    auto* title = Current<CDIBTitleScreen>();
    if (asked < 0 && app->mpRootFlow->IsChanging()) {
      asked = Frame();
      ASSERT_TRUE(title);
      EXPECT_EQ(title->GetPhase(), TITLE_PHASE_NAME);
    }
    if (Current<CDIBMovieScreen>()) movie = Frame();
  }
  // 3000 ms of menu is a hundred frames.
  EXPECT_NEAR(asked - menu, 100, 3);
  ASSERT_GT(movie, 0);
  // The fade of 600 ms out of the title.
  EXPECT_GE(movie - asked, 20);
  // And the pictures and the name once more.
  EXPECT_GT(RunToMenu(movie + 300), movie);
}

TEST_F(TitleScreenTest, EndAsksAndYesClosesTheProgramNoReturns) {
  const long long m = MenuFrame();
  Run(Click(m + 5, TitleButton(TITLE_END)) + Click(m + 35, ConfButton(1)) + Click(m + 65, TitleButton(TITLE_END)) +
      Click(m + 95, ConfButton(0)));
  RunTo(m + 25);
  EXPECT_EQ(Log().confMade, 1);
  EXPECT_EQ(Log().conf.nMessage, 0);
  EXPECT_EQ(Log().conf.nCode, 0);
  EXPECT_EQ(app->mpRootFlow->GetStackCount(), 1) << "the title waits below the question";
  RunTo(m + 60);
  EXPECT_TRUE(Current<CDIBTitleScreen>()) << "no: back to the menu";
  RunTo(m + 105);
  EXPECT_EQ(Log().confMade, 2);
  EXPECT_TRUE(plat::IsWindow(app->GetHWnd())) << "the picture and the music fade out first";
  RunTo(m + 180);
  EXPECT_FALSE(plat::IsWindow(app->GetHWnd())) << "then the program ends";
}

TEST_F(TitleScreenTest, StartBeginsANewGameInPlaceOfTheTitle) {
  const long long m = MenuFrame();
  Run(Click(m + 5, TitleButton(TITLE_START)));
  RunTo(m + 80);
  ASSERT_EQ(Log().snrMade, 1);
  EXPECT_EQ(Log().snr.nLoad, 0);
  EXPECT_STREQ(Log().snr.szScenario, "START");
  EXPECT_STREQ(Log().snr.szReturnBGM, "M01");
  EXPECT_FALSE(Current<CDIBTitleScreen>());
  EXPECT_EQ(app->mpRootFlow->GetStackCount(), 0) << "the title is gone";
}

TEST_F(TitleScreenTest, AfterAGameTheMenuComesAtOnceAndNothingOfTheGameStaysLoaded) {
  std::vector<uint8_t> ogg;
  ASSERT_TRUE(EncodeOggTone(440, 5000, 22050, 1, ogg));
  game.Write("SE/LOOP.OGG", std::string(ogg.begin(), ogg.end()));
  game.Write("VOICE/LINE.OGG", std::string(ogg.begin(), ogg.end()));
  const long long m = MenuFrame();
  Run(Click(m + 5, TitleButton(TITLE_START)));
  RunTo(m + 100);
  ASSERT_EQ(Log().snrMade, 1);
  ASSERT_FALSE(app->mpRootFlow->IsChanging());
  // What a game leaves: a picture in a slot, a looping effect, a voice.
  CSaveData* data = app->mpSaveData;
  data->mpPicture[3] = app->mpSpriteCache->Read("TITLE01");
  ASSERT_TRUE(data->mpPicture[3]);
  const int32_t se = app->mpSEBuffer->Read("LOOP");
  ASSERT_GT(se, 0);
  ASSERT_TRUE(app->mpSEBuffer->Play(se, 0, true));
  data->mSEHandle[2] = se;
  ASSERT_TRUE(app->mpVoiceBuffer->Read("LINE", false));
  ASSERT_TRUE(app->mpVoiceBuffer->Play(0, false));
  // Back to the title, as the message window's title button does.
  TitleStartBlock block{1};
  CDIBBaseScreen* title = CreateScreen(SCREEN_TITLE, nullptr, &block);
  ASSERT_TRUE(title);
  EffectParam out, in;
  EffectParamWriter(&out, EFFECT_FADE).Int(300);
  EffectParamWriter(&in, EFFECT_FADE).Int(300);
  app->mpRootFlow->ChangeScreen(&out, &in, nullptr, title, false);
  RunTo(m + 140);
  auto* shown = Current<CDIBTitleScreen>();
  ASSERT_TRUE(shown);
  EXPECT_EQ(shown->GetPhase(), TITLE_PHASE_MENU);
  EXPECT_TRUE(shown->IsNameShown());
  for (CDIBSprite* picture : data->mpPicture) EXPECT_FALSE(picture);
  for (int32_t handle : data->mSEHandle) EXPECT_EQ(handle, 0);
  EXPECT_FALSE(app->mpSEBuffer->IsPlay(se));
  EXPECT_FALSE(app->mpVoiceBuffer->mbPlay);
  EXPECT_EQ(Log().snrMade, 1) << "no opening, no new game";
}

TEST_F(TitleScreenTest, AMissingPictureFailsWithTheReadErrorNamingIt) {
  std::remove(game.File("MGD/TITLE02.MGD").c_str());
  std::string box;
  plat::SetMessageBoxHook([&](const char* text, const char*, uint32_t) {
    box += text;
    return 1;
  });
  Run("");
  RunTo(10);
  EXPECT_NE(box.find("TITLE02"), std::string::npos) << box;
  EXPECT_FALSE(plat::IsWindow(app->GetHWnd()));
}

}  // namespace
}  // namespace screenstest
