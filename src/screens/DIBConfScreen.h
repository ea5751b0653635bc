// The confirmation screen: a yes/no question over the picture of the screen
// that opened it, a message picture and two buttons, OK (ID 0) and cancel
// (ID 1). It does not act on the answer: it hands it to the receiver's
// Reaction with the code the opener chose, and the receiver changes or
// returns from this screen.
#pragma once
#include <cstdint>

#include "app/flow/ScreenBlocks.h"
#include "ui/CtrlDef.h"
#include "ui/DIBBaseScreen.h"

class CDIBSprite;

// Answers handed to Reaction as its second value.
enum : int32_t { CONF_ANSWER_CANCEL = 0, CONF_ANSWER_OK = 1 };

// The layout shared by every confirmation screen: built-in defaults,
// overridden by the setup table "CONF".
struct ConfLayout {
  static constexpr int kMessages = 5;
  char szMessage[kMessages][64];
  char szParts[64];
  char szHitMap[64];
  int32_t nHitNo[2];
  int32_t nPos[2][2];
  int32_t nFrame[2][5];
  int32_t nJump[2][kJumpRows][5];
};

class CDIBConfScreen : public CDIBBaseScreen {
 public:
  explicit CDIBConfScreen(CBaseGame* parent);
  ~CDIBConfScreen() override;

  // Reads "CONF" over the built-in defaults; absent records keep theirs.
  // Always true. The first screen made reads it when nothing has yet.
  static bool SetupStatic();
  static bool IsSetupLoaded();
  static const ConfLayout& Layout();

  using CDIBBaseScreen::Initialize;
  // Makes the two buttons and the picture under them; false (with the
  // error box shown) when a button or the message picture cannot be made.
  virtual bool Initialize(const ConfStartBlock* block);
  void Release() override;
  void Move() override;
  // The opener's look with the message picture over it.
  virtual void UpdateBaseImage();
  virtual void OnCtrlOK();
  virtual void OnCtrlCancel();

  const ConfStartBlock& GetBlock() const { return mBlock; }

  // The factory's maker for SCREEN_CONF.
  static CDIBBaseScreen* Make(CBaseGame* parent, const void* startBlock);

 protected:
  ConfStartBlock mBlock{};
  CDIBSprite* mpBackPicture = nullptr;
};
