// The choice screen: the choices of a branch point as buttons over the
// picture of the scenario screen that opened it. Each button is built from a
// choice item the scenario declared beforehand; the ID of the chosen button,
// or -1 when the player cancels, goes into a scenario variable, and the
// screen returns to its opener.
#pragma once
#include <cstdint>

#include "app/flow/ScreenBlocks.h"
#include "ui/DIBBaseScreen.h"

class CDIBSprite;

class CDIBSelectScreen : public CDIBBaseScreen {
 public:
  // The stored result of a cancelled choice.
  static constexpr int32_t kCancel = -1;
  // The fade of the way in and the way back.
  static constexpr int32_t kFadeMs = 300;

  explicit CDIBSelectScreen(CBaseGame* parent);
  ~CDIBSelectScreen() override;

  using CDIBBaseScreen::Initialize;
  // Makes one button per listed item and the picture under them; false
  // (with the error box shown) when the block lists no choice or an item
  // cannot be made into a button. A background that cannot be read shows
  // the read error box and is left out.
  virtual bool Initialize(const SelectStartBlock* block);
  void Release() override;
  void Move() override;
  // The opener's look with the background picture over it.
  virtual void UpdateBaseImage();
  // Stores the result and returns to the opener.
  virtual void OnClose(int32_t result);

  const SelectStartBlock& GetBlock() const { return mBlock; }

  // The factory's maker for SCREEN_SELECT.
  static CDIBBaseScreen* Make(CBaseGame* parent, const void* startBlock);

 protected:
  SelectStartBlock mBlock{};
  CDIBSprite* mpBackPicture = nullptr;
};
