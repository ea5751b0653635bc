// A game from the title on the game's own scenario screen: START plays the
// story, the message window's save button saves it, and after the story
// has ended on the title the save loads back to the same page. The save
// list's pictures, dates included, are the same on every run.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>

#include "ScreensKit.h"
#include "app/flow/RootFlow.h"
#include "assets/DIBDisplay.h"
#include "platform/Random.h"
#include "platform/Timer.h"
#include "save/SaveData.h"
#include "save/SaveFileIO.h"
#include "save/SaveFolder.h"
#include "scenario/interp/DIBSnrScreen.h"
#include "screens/DIBSaveLoadScreen.h"
#include "screens/DIBTitleScreen.h"
#include "text/MesWnd.h"
#include "text/MesWndKit.h"

namespace screenstest {
namespace {

constexpr uint32_t kPage1 = 0xFF7030A0u, kPage2 = 0xFF30A070u;

// The message window's buttons, and a place on its text.
Region WndButton(int id) { return {id, mestest::BtnX(id) - 1, mestest::BtnY(id) - 1, 2, 2}; }
constexpr Region kText{0, 299, 519, 2, 2};

class GameRoundTripTest : public ScreensFixture {
 protected:
  void SetUp() override {
    ScreensFixture::SetUp();
    mestest::WriteWindowData(game);
    game.Write("MGD/PAGE1.MGD", PlainPicture(kPage1));
    game.Write("MGD/PAGE2.MGD", PlainPicture(kPage2));
    WriteTable(game, "START",
               "IMREAD 0, \"PAGE1\"\nLYIMAGE 0, 0\nOVERLAP 1, 0\nLPT 1\nMWO\nMSG 0, -1, \"\", \"page one\"\n"
               "IMREAD 0, \"PAGE2\"\nLYIMAGE 0, 0\nOVERLAP 1, 0\nLPT 2\nMSG 1, -1, \"\", \"page two\"\nEND\n");
    UseRealScenarioScreen();
  }
};

// The way to the save list: START, the window's save button, slot 2, yes.
// The list shows the new save from frame 205 on.
std::string SaveScript(long long menu) {
  return Click(menu + 5, TitleButton(TITLE_START)) + Click(140, WndButton(MESBTN_SAVE)) + Click(170, SlotButton(2)) +
         Click(190, ConfButton(0));
}

TEST_F(GameRoundTripTest, AStoryStartedFromTheTitleIsSavedAndLoadsBackToTheSamePage) {
  const long long m = MenuFrame();
  Run(SaveScript(m) + Click(210, {0, 319, 5, 60, 30}) + Click(240, kText) + Click(300, kText) +
      Click(390, TitleButton(TITLE_LOAD)) + Click(420, SlotButton(2)) + Click(440, ConfButton(0)) + Click(560, kText));
  RunTo(130);
  auto* story = Current<CDIBSnrScreen>();
  ASSERT_TRUE(story);
  EXPECT_STREQ(Log().snr.szScenario, "START");
  EXPECT_EQ(Log().snr.nLoad, 0);
  EXPECT_TRUE(story->GetMesWnd()->IsWait());
  EXPECT_TRUE(Near(Pixel(100, 100), kPage1, 3)) << std::hex << Pixel(100, 100);
  EXPECT_TRUE(story->GetMesWnd()->GetCtrl(MESBTN_QSAVE)->IsEnable()) << "a story can be saved";
  EXPECT_TRUE(story->GetMesWnd()->GetCtrl(MESBTN_SAVE)->IsEnable());

  RunTo(160);
  auto* list = Current<CDIBSaveLoadScreen>();
  ASSERT_TRUE(list) << "the window's save button opens the save list";
  EXPECT_TRUE(list->IsSaveMode());
  EXPECT_EQ(app->mpRootFlow->GetStackCount(), 1) << "over the story";
  RunTo(206);
  ASSERT_TRUE(Current<CDIBSaveLoadScreen>()) << "the list stays after the save";
  EXPECT_TRUE(CSaveData::GetSubTitle(2, nullptr, nullptr, nullptr));
  EXPECT_TRUE(Current()->GetCtrl(SAVELOAD_SLOT + 2)->IsEnable());

  // Back to the story, on to page two and its end: the title.
  RunTo(230);
  EXPECT_EQ(Current(), story) << "back to the same story";
  RunTo(260);
  EXPECT_TRUE(Near(Pixel(100, 100), kPage2, 3)) << std::hex << Pixel(100, 100);
  RunTo(380);
  ASSERT_TRUE(Current<CDIBTitleScreen>());
  EXPECT_EQ(app->mpRootFlow->GetStackCount(), 0);

  // Load slot 2: the story again, at the page it was saved on.
  RunTo(410);
  ASSERT_TRUE(Current<CDIBSaveLoadScreen>());
  EXPECT_FALSE(Current<CDIBSaveLoadScreen>()->IsSaveMode());
  EXPECT_TRUE(Current()->GetCtrl(SAVELOAD_SLOT + 2)->IsEnable());
  RunTo(545);
  auto* loaded = Current<CDIBSnrScreen>();
  ASSERT_TRUE(loaded);
  EXPECT_EQ(Log().snr.nLoad, 1);
  EXPECT_EQ(Log().snr.nSlot, 2);
  EXPECT_EQ(app->mpRootFlow->GetStackCount(), 0) << "the title and the list are gone";
  EXPECT_TRUE(loaded->GetMesWnd()->IsWait());
  EXPECT_TRUE(Near(Pixel(100, 100), kPage1, 3)) << std::hex << Pixel(100, 100);
  // And the story goes on from there.
  RunTo(590);
  EXPECT_EQ(Current(), loaded);
  EXPECT_TRUE(Near(Pixel(100, 100), kPage2, 3)) << std::hex << Pixel(100, 100);
}

// Two runs with the same input, on machines in different zones, show the
// same save list: the save is dated by the run's clock.
TEST_F(GameRoundTripTest, TheSaveListLooksTheSameOnEveryRun) {
  const char* old = getenv("TZ");
  const std::string oldZone = old ? old : "";
  std::vector<uint32_t> shots[2];
  for (int run = 0; run < 2; ++run) {
    setenv("TZ", run == 0 ? "UTC0" : "JST-9", 1);
    tzset();
    std::filesystem::remove_all(save::SaveFolderForWrite());
    std::remove(gszIniPath);
    plat::SetVirtualClock(true, 0x10000);
    plat::SRand(1);
    Log() = Seen{};
    const long long m = MenuFrame();
    Run(SaveScript(m));
    RunTo(206);
    ASSERT_TRUE(Current<CDIBSaveLoadScreen>()) << run;
    const CDIBImage* image = app->mpDisplay->GetBackImage();
    shots[run].assign(image->GetPixels(), image->GetPixels() + 800 * 600);
    const std::string file = save::FindSaveFile("GAME02.SAV");
    ASSERT_FALSE(file.empty());
    const int64_t saved = save::FileTimeToUnix(save::FileWriteTime(file));
    EXPECT_GE(saved, save::kRunCalendarStart) << "dated by the run's clock";
    EXPECT_LT(saved, save::kRunCalendarStart + 3600);
    Stop();
  }
  if (old)
    setenv("TZ", oldZone.c_str(), 1);
  else
    unsetenv("TZ");
  tzset();
  EXPECT_TRUE(shots[0] == shots[1]) << "the same pixels, the slot's date included";
}

}  // namespace
}  // namespace screenstest
