// The save/load screen: the saved games page by page, each slot a button
// whose caption is drawn from its file (number, subtitle, date and time,
// thumbnail). A chosen slot is confirmed through the confirmation screen;
// saving keeps the screen open, loading replaces every screen by the loaded
// game.
#pragma once
#include <cstdint>
#include <string>

#include "app/flow/ScreenBlocks.h"
#include "ui/CtrlDef.h"
#include "ui/DIBBaseScreen.h"

class CDIBButtonCtrl;
class CDIBSprite;
class CSnrBuffer;

// Control IDs: back, the five page buttons, then the slots of the page.
enum : int32_t { SAVELOAD_BACK = 0, SAVELOAD_PAGE = 1, SAVELOAD_SLOT = 6 };
// Confirmation codes.
enum : int32_t { SAVELOAD_CODE_SAVE = 0, SAVELOAD_CODE_LOAD = 1 };

// One caption text's place and font.
struct SaveLoadFont {
  int32_t x, y;    // in the slot's frame
  int32_t dx, dy;  // the shadow's offset
  char szFace[64];
  int32_t nHeight;
  int32_t nWeight;
};

// The layout shared by every save/load screen: built-in defaults, overridden
// by the setup table "SAVELOAD" (section 4).
struct SaveLoadLayout {
  static constexpr int kControls = 26;
  static constexpr int kMaxPages = 5;
  static constexpr int kMaxSlots = kControls - SAVELOAD_SLOT;
  char szBack[2][64];  // background in save mode, in load mode
  char szParts[64];
  char szHitMap[64];
  int32_t nHitNo[kControls];
  int32_t nPos[kControls][2];
  int32_t nFrame[kControls][5];
  int32_t nJump[kControls][kJumpRows][5];
  int32_t nBackFade;    // the back button's return
  int32_t nCancelFade;  // the return after a cancelled confirmation
  int32_t nSaveFade;    // the return after a save
  int32_t nLoadFade[2];  // out and in of a load
  int32_t nPages;        // 1 … 5
  int32_t nSlots;        // per page, 0 … 20
  // Colours by button state (normal, focused, pressed, disabled,
  // focused-disabled) as alpha, red, green, blue; a shadow of 0 is none.
  int32_t nTextColor[5][4];
  int32_t nSumColor[5][4];
  int32_t nShadowColor[5][4];
  SaveLoadFont font[3];  // number, subtitle, date
  int32_t nSum[4];       // thumbnail x, y, width, height in the slot
};

class CDIBSaveLoadScreen : public CDIBBaseScreen {
 public:
  explicit CDIBSaveLoadScreen(CBaseGame* parent);
  ~CDIBSaveLoadScreen() override;

  static bool SetupStatic();
  static bool IsSetupLoaded();
  static const SaveLoadLayout& Layout();
  static SaveLoadLayout DefaultLayout();
  static void ReadLayout(CSnrBuffer& table, SaveLoadLayout& layout);
  static std::string LayoutSource(const SaveLoadLayout& layout);
  // The colour word of one layout colour: alpha << 24 | red << 16 | …
  static uint32_t ColorWord(const int32_t (&argb)[4]);

  using CDIBBaseScreen::Initialize;
  virtual bool Initialize(const SaveLoadStartBlock* block);
  void Release() override;
  void Move() override;
  int32_t Reaction(int32_t code, int32_t answer) override;

  virtual void OnCtrlCancel();
  virtual void OnCtrlPage(int32_t page);
  virtual void OnCtrlSlot(int32_t index);
  virtual void UpdateSlotCaption();
  virtual void UpdateBaseImage();

  bool IsSaveMode() const { return mbSave; }
  int32_t GetPage() const { return mnPage; }
  int32_t GetTarget() const { return mnTarget; }

  // The factory's maker for SCREEN_SAVELOAD.
  static CDIBBaseScreen* Make(CBaseGame* parent, const void* startBlock);

 protected:
  template <class V>
  static void Walk(SaveLoadLayout& s, V& v);
  // One caption text in every state: its shadow, then the text.
  void DrawText(CDIBButtonCtrl* button, const SaveLoadFont& font, const char* text);
  // The page buttons: shown up to the page count, the current one disabled.
  void UpdatePageButtons();
  // Tells the player a save failed.
  void ReportSaveFailure();

  bool mbSave = false;
  CDIBSprite* mpBackPicture = nullptr;
  int32_t mnPage = 0;
  int32_t mnTarget = 0;
};
