// The save/load screen through the whole program, driven by input scripts:
// load mode from the title with its empty, damaged and taken slots, pages,
// the load replacing every screen, and save mode over a game with the
// question answered no, yes, and a save that cannot be written.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include <cstdio>
#include <string>

#include "ScreensKit.h"
#include "app/flow/RootFlow.h"
#include "platform/Encoding.h"
#include "assets/DIBImage.h"
#include "save/SaveData.h"
#include "save/SaveFolder.h"
#include "screens/DIBSaveLoadScreen.h"
#include "screens/DIBTitleScreen.h"
#include "text/profile/TextProfile.h"
#include "ui/DIBBaseCtrl.h"
#include "scene/DIBOverlap.h"
#include "ui/EffectParam.h"

namespace screenstest {
namespace {

class SaveLoadScreenTest : public ScreensFixture {
 protected:
  // Saved games in slots 0 (the quick save) and 3; slot 5 holds a file cut
  // short.
  void MakeSaves() {
    CSaveData* data = app->mpSaveData;
    for (int slot : {0, 3, 5}) {
      snprintf(data->mszSubTitle, sizeof data->mszSubTitle, "slot %d", slot);
      ASSERT_TRUE(data->SaveGame(slot));
    }
    const std::string five = save::FindSaveFile("GAME05.SAV");
    ASSERT_FALSE(five.empty());
    ASSERT_EQ(truncate(five.c_str(), 200), 0);
  }
  bool Enabled(int id) {
    CDIBBaseCtrl* c = Current()->GetCtrl(id);
    return c && c->IsEnable();
  }
  bool Shown(int id) {
    CDIBBaseCtrl* c = Current()->GetCtrl(id);
    return c && c->IsShow();
  }
  // Opens the save screen over the current screen, as the message window's
  // save button does.
  void OpenSave() {
    SaveLoadStartBlock block{SAVELOAD_SAVE};
    CDIBBaseScreen* screen = CreateScreen(SCREEN_SAVELOAD, Current(), &block);
    ASSERT_TRUE(screen);
    EffectParam effect;
    EffectParamWriter(&effect, EFFECT_FADE).Int(300);
    app->mpRootFlow->ChangeScreen(&effect, nullptr, nullptr, screen, true);
  }
};

TEST_F(SaveLoadScreenTest, LoadModeShowsOnlySoundSlotsAndTheLoadReplacesEveryScreen) {
  const long long m = MenuFrame();
  Run(Click(m + 5, TitleButton(TITLE_LOAD)) + Click(m + 40, SlotButton(1)) + Click(m + 50, SlotButton(3)) +
      Click(m + 80, ConfButton(0)));
  MakeSaves();
  RunTo(m + 35);
  auto* screen = Current<CDIBSaveLoadScreen>();
  ASSERT_TRUE(screen);
  EXPECT_FALSE(screen->IsSaveMode());
  EXPECT_EQ(app->mpRootFlow->GetStackCount(), 1) << "the title waits below";
  // Slot 0 is the quick save; 1 has no file; 5 is damaged.
  EXPECT_TRUE(Enabled(SAVELOAD_SLOT + 0));
  EXPECT_FALSE(Enabled(SAVELOAD_SLOT + 1));
  EXPECT_TRUE(Enabled(SAVELOAD_SLOT + 3));
  EXPECT_FALSE(Enabled(SAVELOAD_SLOT + 5));
  // Fourteen slots a page: IDs 20 … 25 are not made.
  EXPECT_TRUE(screen->GetCtrl(19));
  EXPECT_FALSE(screen->GetCtrl(20));
  EXPECT_FALSE(Enabled(SAVELOAD_PAGE)) << "the current page's button";
  for (int p = 1; p < 5; ++p) EXPECT_TRUE(Enabled(SAVELOAD_PAGE + p)) << p;
  // The click on the empty slot asks nothing.
  RunTo(m + 48);
  EXPECT_EQ(Log().confMade, 0);
  RunTo(m + 70);
  ASSERT_EQ(Log().confMade, 1);
  EXPECT_EQ(Log().conf.nMessage, 3);
  EXPECT_EQ(Log().conf.nCode, SAVELOAD_CODE_LOAD);
  EXPECT_EQ(screen->GetTarget(), 3);
  RunTo(m + 150);
  ASSERT_EQ(Log().snrMade, 1);
  EXPECT_EQ(Log().snr.nLoad, 1);
  EXPECT_EQ(Log().snr.nSlot, 3);
  EXPECT_STREQ(Log().snr.szReturnBGM, "M01");
  EXPECT_EQ(app->mpRootFlow->GetStackCount(), 0) << "title and save/load screen are gone";
  EXPECT_FALSE(app->mpSaveData->mbReplay);
}

TEST_F(SaveLoadScreenTest, ThreePagesHideTheirOtherButtonsAndBackReturnsToTheTitle) {
  WriteTable(game, "SAVELOAD", "DEF 4, 210, 3, 10\nEND\n");
  const long long m = MenuFrame();
  Run(Click(m + 5, TitleButton(TITLE_LOAD)) + Click(m + 40, PageButton(2)) + Click(m + 50, {0, 319, 5, 60, 30}));
  MakeSaves();
  RunTo(m + 38);
  ASSERT_TRUE(Current<CDIBSaveLoadScreen>());
  EXPECT_TRUE(Shown(SAVELOAD_PAGE + 2));
  EXPECT_FALSE(Shown(SAVELOAD_PAGE + 3));
  EXPECT_FALSE(Shown(SAVELOAD_PAGE + 4));
  EXPECT_FALSE(Current()->GetCtrl(SAVELOAD_SLOT + 10)) << "ten slots a page";
  RunTo(m + 46);
  EXPECT_EQ(Current<CDIBSaveLoadScreen>()->GetPage(), 2);
  EXPECT_FALSE(Enabled(SAVELOAD_PAGE + 2));
  EXPECT_TRUE(Enabled(SAVELOAD_PAGE + 0));
  // Page 2 begins with slot 20: no file.
  EXPECT_FALSE(Enabled(SAVELOAD_SLOT + 0));
  RunTo(m + 80);
  EXPECT_TRUE(Current<CDIBTitleScreen>());
  EXPECT_EQ(app->mpRootFlow->GetStackCount(), 0);
}

TEST_F(SaveLoadScreenTest, SavingAsksFirstAndAFailedSaveIsReported) {
  std::string boxes;
  plat::SetMessageBoxHook([&](const char* text, const char*, uint32_t) {
    boxes += plat::ToUtf8(text) + "\n";
    return 1;
  });
  const long long m = MenuFrame();
  const long long s = m + 130;  // the save screen is open
  Run(Click(m + 5, TitleButton(TITLE_START)) + Click(s, SlotButton(2)) + Key(s + 20, "ESCAPE") +
      Click(s + 40, SlotButton(2)) + Click(s + 60, ConfButton(0)) + Click(s + 90, SlotButton(4)) +
      Click(s + 110, ConfButton(0)));
  RunTo(m + 100);
  ASSERT_EQ(Log().snrMade, 1);
  ASSERT_FALSE(app->mpRootFlow->IsChanging());
  OpenSave();
  RunTo(s + 18);
  ASSERT_EQ(Log().confMade, 1);
  EXPECT_EQ(Log().conf.nMessage, 2);
  EXPECT_EQ(Log().conf.nCode, SAVELOAD_CODE_SAVE);
  RunTo(s + 38);
  ASSERT_TRUE(Current<CDIBSaveLoadScreen>()) << "Escape in the question returns";
  EXPECT_TRUE(save::FindSaveFile("GAME02.SAV").empty()) << "without saving";
  // A game to save, and a slot whose file cannot be written.
  snprintf(app->mpSaveData->mszSubTitle, sizeof app->mpSaveData->mszSubTitle, "chapter");
  const std::string folder = save::SaveFolderForWrite();
  ASSERT_EQ(mkdir(folder.c_str(), 0755) == 0 || errno == EEXIST, true);
  ASSERT_EQ(mkdir((folder + "/GAME04.SAV").c_str(), 0755), 0);
  RunTo(s + 85);
  ASSERT_TRUE(Current<CDIBSaveLoadScreen>()) << "the screen stays after a save";
  EXPECT_FALSE(save::FindSaveFile("GAME02.SAV").empty());
  char subTitle[64] = {};
  uint64_t time = 0;
  EXPECT_TRUE(CSaveData::GetSubTitle(2, subTitle, nullptr, &time));
  EXPECT_STREQ(subTitle, "chapter");
  EXPECT_TRUE(boxes.empty()) << boxes;
  RunTo(s + 140);
  ASSERT_TRUE(Current<CDIBSaveLoadScreen>());
  const char* expected =
      profile::BuildProfile().encoding == profile::Encoding::kGbk ? "保存失败。" : "セーブに失敗しました。";
  EXPECT_NE(boxes.find(expected), std::string::npos) << boxes;
  EXPECT_EQ(Log().confMade, 3);
}

TEST_F(SaveLoadScreenTest, ACaptionShowsNumberTextsAndTheThumbnailInTheStateColours) {
  const long long m = MenuFrame();
  Run(Click(m + 5, TitleButton(TITLE_LOAD)));
  CSaveData* data = app->mpSaveData;
  ASSERT_TRUE(data->mpSumImage && data->mpSumImage->GetPixels());
  data->mpSumImage->FillFull(0xFFFFFFFFu);
  snprintf(data->mszSubTitle, sizeof data->mszSubTitle, "WWWWWWWW");
  ASSERT_TRUE(data->SaveGame(1));
  RunTo(m + 40);
  ASSERT_TRUE(Current<CDIBSaveLoadScreen>());
  const Region taken = SlotButton(1), empty = SlotButton(2);
  // Each slot's own frame shows in its corner: taken normal, empty disabled.
  auto frameOf = [&](const Region& r) { return Pixel(r.x + 2, r.y + r.h - 3); };
  EXPECT_EQ(frameOf(taken), FrameColor(40));
  EXPECT_EQ(frameOf(empty), FrameColor(43));
  // The thumbnail, white, tinted by the normal state's 128 grey.
  EXPECT_TRUE(Near(Pixel(taken.x + 340, taken.y + 20), 0xFF808080u, 3)) << std::hex << Pixel(taken.x + 340, taken.y + 20);
  EXPECT_EQ(Pixel(empty.x + 340, empty.y + 20), frameOf(empty)) << "no thumbnail without a game";
  // Dark text where the number, the subtitle and the date are written.
  auto inked = [&](const Region& r, int x0, int y0, int w, int h) {
    int dark = 0;
    for (int y = y0; y < y0 + h; ++y)
      for (int x = x0; x < x0 + w; ++x) dark += Pixel(r.x + x, r.y + y) != frameOf(r);
    return dark;
  };
  EXPECT_GT(inked(taken, 5, 12, 50, 20), 10) << "the number";
  EXPECT_GT(inked(taken, 60, 12, 200, 20), 10) << "the subtitle";
  EXPECT_GT(inked(taken, 0, 0, 120, 12), 10) << "the date";
  EXPECT_GT(inked(empty, 5, 12, 50, 20), 10) << "the number";
  EXPECT_EQ(inked(empty, 60, 12, 200, 20), 0) << "nothing more";
}

}  // namespace
}  // namespace screenstest
