// The choice screen inside the running application: buttons built from the
// scenario's choice items over the opener's picture, chosen by a click or
// the keyboard, cancelled by Escape or a right click, and the result in the
// scenario variable.
#include <gtest/gtest.h>

#include <cstring>

#include "screens/DIBSelectScreen.h"
#include "screens/OpenerFixture.h"
#include "save/SaveData.h"
#include "ui/DIBBaseCtrl.h"

namespace {

using namespace screenkit;

constexpr uint32_t kParts = 0x204060u;
constexpr int kVar = 17;

class SelectScreenTest : public OpenerFixture {
 protected:
  void SetUp() override {
    OpenerFixture::SetUp();
    game.Write("MGD/SELP.MGD", FramesPicture(5, 200, 40, kParts));
    game.Write("MGD/SELBACK.MGD", BoxPicture(0, 500, 800, 100, 0xFF00FF00u));
    StartApp();
    // Three choices below each other, linked for the keyboard, declared
    // in items 5, 6 and 7 with the IDs 0, 1 and 2.
    for (int i = 0; i < 3; ++i) {
      SelItemData& item = app->mpSaveData->mSelItem[5 + i];
      strcpy(item.szParts, "SELP");
      for (int f = 0; f < 5; ++f) item.nFrame[f] = f;
      item.nID = i;
      item.x = 300;
      item.y = 100 + 100 * i;
      item.bEnable = true;
      for (int32_t& j : item.nJump) j = -1;
      item.nJump[0] = i > 0 ? i - 1 : -1;
      item.nJump[1] = i < 2 ? i + 1 : -1;
    }
    app->mpSaveData->mVariable[kVar] = 1234;
  }

  SelectStartBlock Block(const char* back = "") {
    SelectStartBlock block{};
    block.nVar = kVar;
    snprintf(block.szBack, sizeof block.szBack, "%s", back);
    block.nCount = 3;
    for (int i = 0; i < 3; ++i) block.nItem[i] = 5 + i;
    return block;
  }
  CDIBBaseScreen* Make(const SelectStartBlock& block) { return CreateScreen(SCREEN_SELECT, opener, &block); }
  int32_t Result() const { return app->mpSaveData->mVariable[kVar]; }
};

TEST_F(SelectScreenTest, AClickStoresTheChoiceAndCancelKeysStoreMinusOne) {
  SelectStartBlock block = Block();
  ASSERT_TRUE(Open(Make(block)));
  EXPECT_EQ(Pixel(310, 210), FrameColor(kParts, 0)) << "the buttons stand over the opener's picture";
  EXPECT_EQ(Pixel(100, 550), kOpenerColor) << "without a background the opener shows unchanged";
  Click(400, 220);
  ASSERT_TRUE(BackAtOpener());
  EXPECT_EQ(Result(), 1);
  EXPECT_EQ(rec->sysSE, (std::vector<int>{SYSSE_CURSOR, SYSSE_DECIDE}));

  for (int key : {plat::VK_ESCAPE, plat::VK_RBUTTON}) {
    app->mpSaveData->mVariable[kVar] = 1234;
    ASSERT_TRUE(Open(Make(block)));
    Click(400, 320, key);
    ASSERT_TRUE(BackAtOpener()) << key;
    EXPECT_EQ(Result(), CDIBSelectScreen::kCancel) << key;
  }
}

TEST_F(SelectScreenTest, ADisabledChoiceShowsItsFrameTakesFocusButCannotBeChosen) {
  app->mpSaveData->mSelItem[7].bEnable = false;
  SelectStartBlock block = Block("SELBACK");
  CDIBBaseScreen* screen = Make(block);
  ASSERT_TRUE(Open(screen));
  EXPECT_EQ(Pixel(310, 310), FrameColor(kParts, 3));
  EXPECT_EQ(Pixel(100, 550), Over(kOpenerColor, 0xFF00FF00u)) << "the background picture lies over the opener";
  EXPECT_EQ(Pixel(100, 450), kOpenerColor);

  Click(400, 320);
  Frames(10);
  EXPECT_EQ(Current(), screen) << "a disabled choice is not taken";
  // The keyboard reaches it through the jump rows, and Return does nothing.
  Move(400, 220);
  Key(plat::VK_DOWN);
  Frames(2);
  EXPECT_TRUE(screen->GetCtrl(2)->IsForcus());
  EXPECT_EQ(Pixel(310, 310), FrameColor(kParts, 4));
  Key(plat::VK_RETURN);
  Frames(10);
  EXPECT_EQ(Current(), screen);
  EXPECT_EQ(Result(), 1234);
  Key(plat::VK_UP);
  Key(plat::VK_RETURN);
  ASSERT_TRUE(BackAtOpener());
  EXPECT_EQ(Result(), 1);
}

TEST_F(SelectScreenTest, BlocksThatCannotBeShownFailWithTheirErrorBox) {
  SelectStartBlock none = Block();
  none.nCount = 0;
  EXPECT_EQ(Make(none), nullptr);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].find("OBJECT:CDIBSelectScreen"), std::string::npos) << boxes[0];
  EXPECT_NE(boxes[0].find("CDIBBaseScreen::Initialize()"), std::string::npos) << boxes[0];

  // More choices than the block holds would read past it.
  SelectStartBlock many = Block();
  many.nCount = 257;
  EXPECT_EQ(Make(many), nullptr);

  SelectStartBlock badItem = Block();
  badItem.nItem[1] = 256;
  EXPECT_EQ(Make(badItem), nullptr);
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_NE(boxes[2].find("MakeControl()"), std::string::npos) << boxes[2];

  strcpy(app->mpSaveData->mSelItem[6].szParts, "NOPARTS");
  SelectStartBlock noParts = Block();
  EXPECT_EQ(Make(noParts), nullptr);
  ASSERT_GE(boxes.size(), 4u);
  EXPECT_NE(boxes.back().find("MakeControl()"), std::string::npos) << boxes.back();
  strcpy(app->mpSaveData->mSelItem[6].szParts, "SELP");

  EXPECT_EQ(Current(), opener);
}

TEST_F(SelectScreenTest, AMissingBackgroundOrNoEnabledChoiceStillLetsThePlayerCancel) {
  for (int i = 5; i < 8; ++i) app->mpSaveData->mSelItem[i].bEnable = false;
  CDIBBaseScreen* screen = Make(Block("NOBACK"));
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].find("FILE:NOBACK"), std::string::npos) << boxes[0];
  ASSERT_TRUE(Open(screen));
  EXPECT_EQ(Pixel(100, 550), kOpenerColor);
  Click(400, 220);
  Frames(5);
  EXPECT_EQ(Current(), screen);
  Key(plat::VK_ESCAPE);
  ASSERT_TRUE(BackAtOpener());
  EXPECT_EQ(Result(), CDIBSelectScreen::kCancel);
}

}  // namespace
