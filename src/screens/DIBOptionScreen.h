// The option screen: the player's settings, every change taking effect at
// once (the display mode switches, the sound classes are muted or set);
// OK keeps them, cancel puts back every setting as the screen found it. It
// also plays a test effect and a test voice.
#pragma once
#include <cstdint>
#include <initializer_list>
#include <string>

#include "app/flow/ScreenBlocks.h"
#include "save/SaveTypes.h"
#include "ui/CtrlDef.h"
#include "ui/DIBBaseScreen.h"

class CDIBSprite;
class CSnrBuffer;

// Control IDs.
enum : int32_t {
  OPTION_WINDOW = 0,
  OPTION_FULL = 1,
  OPTION_KIDOKU_SKIP = 2,
  OPTION_ALL_SKIP = 3,
  OPTION_MES_SPEED = 4,
  OPTION_AUTO_SPEED = 5,
  OPTION_BGM_ON = 6,
  OPTION_BGM_OFF = 7,
  OPTION_BGM_VOL = 8,
  OPTION_SE_ON = 9,
  OPTION_SE_OFF = 10,
  OPTION_SE_TEST = 11,
  OPTION_SE_VOL = 12,
  OPTION_VOICE_ON = 13,
  OPTION_VOICE_OFF = 14,
  OPTION_VOICE_TEST = 15,
  OPTION_VOICE_VOL = 16,
  OPTION_OK = 17,
  OPTION_CANCEL = 18,
};

// The layout shared by every option screen: built-in defaults, overridden
// by the setup table "OPTION" (section 2).
struct OptionLayout {
  static constexpr int kControls = 19;
  static constexpr int kSliders = 5;
  char szBack[64];
  char szParts[64];
  char szHitMap[64];
  char szSETest[64];
  char szVoiceTest[64];
  int32_t nHitNo[kControls];
  int32_t nPos[kControls][2];
  // Buttons use five frames; sliders ten: the bar's five looks, then the
  // knob's.
  int32_t nFrame[kControls][10];
  int32_t nJump[kControls][kJumpRows][5];
  int32_t nSlider[kSliders][3];  // direction (non-zero vertical), start margin, end margin
  int32_t nCancelFade;
};

class CDIBOptionScreen : public CDIBBaseScreen {
 public:
  // The sliders' IDs, in the order of their layout records.
  static constexpr int32_t kSliderID[OptionLayout::kSliders] = {OPTION_MES_SPEED, OPTION_AUTO_SPEED, OPTION_BGM_VOL,
                                                                OPTION_SE_VOL, OPTION_VOICE_VOL};
  static bool IsSlider(int32_t id);

  explicit CDIBOptionScreen(CBaseGame* parent);
  ~CDIBOptionScreen() override;

  static bool SetupStatic();
  static bool IsSetupLoaded();
  static const OptionLayout& Layout();
  static OptionLayout DefaultLayout();
  static void ReadLayout(CSnrBuffer& table, OptionLayout& layout);
  static std::string LayoutSource(const OptionLayout& layout);

  using CDIBBaseScreen::Initialize;
  virtual bool Initialize(const OptionStartBlock* block);
  void Release() override;
  void Move() override;
  virtual void UpdateBaseImage();

  virtual void OnCtrlWndMode();
  virtual void OnCtrlFullMode();
  virtual void OnCtrlKidokuSkip();
  virtual void OnCtrlAllSkip();
  virtual void OnCtrlMesSpeed();
  virtual void OnCtrlAutoSpeed();
  virtual void OnCtrlBGMON();
  virtual void OnCtrlBGMOFF();
  virtual void OnCtrlBGMVol();
  virtual void OnCtrlSEON();
  virtual void OnCtrlSEOFF();
  virtual void OnCtrlSETest();
  virtual void OnCtrlSEVol();
  virtual void OnCtrlVoiceON();
  virtual void OnCtrlVoiceOff();
  virtual void OnCtrlVoiceTest();
  virtual void OnCtrlVoiceVol();
  virtual void OnCtrlOK();
  virtual void OnCtrlCancel();

  const ConfigRecord& GetSavedConfig() const { return mSaved; }
  int32_t GetTestSE() const { return mnTestSE; }

  // The factory's maker for SCREEN_OPTION.
  static CDIBBaseScreen* Make(CBaseGame* parent, const void* startBlock);

 protected:
  template <class V>
  static void Walk(OptionLayout& s, V& v);
  // The radio rule: the button of the current choice is disabled.
  void ShowChoice(int32_t onID, int32_t offID, bool on);
  // The mode buttons from a full-screen flag.
  void ShowMode(bool fullScreen);
  // On/off of a sound class: the "on" button, and the controls that work
  // only while it is on.
  void ShowSound(int32_t onID, std::initializer_list<int32_t> live, bool on);
  void SetEnable(int32_t id, bool enable);
  int32_t SliderValue(int32_t id);
  void SetSliderValue(int32_t id, int32_t value);
  // Asks the main window to switch between window and full screen.
  void RequestDisplayMode(bool fullScreen);

  ConfigRecord& Config();

  ConfigRecord mSaved{};
  CDIBSprite* mpBackPicture = nullptr;
  CDIBSprite* mpParts = nullptr;
  int32_t mnTestSE = 0;
};
