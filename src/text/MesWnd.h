// The message window of the scenario screen: it types narration and dialogue
// out character by character, waits for clicks at click and page marks,
// advances by itself in auto mode and at once in skip mode (optionally only
// over text already read), keeps a backlog of the last 100 pages with their
// name plates and voices, shows choices as buttons, and carries twelve
// buttons (voice replay, backlog back and forward, quick save and load, save,
// load, skip, auto, options, back to title, exit). It slides and fades in and
// out, and the player can hide it with the cancel key.
//
// The scenario screen feeds one message with AddOutString / AddOutFunc,
// SetOutVFName, SetOutNameNo and OutStart, and learns that it is done when
// IsRun drops.
#pragma once
#include <cstdint>
#include <memory>

#include "assets/SprtVertex.h"
#include "text/MesTextBuffer.h"
#include "ui/DIBBaseWnd.h"

class CDIBImage;
class CDIBSprite;
class CMesCellPainter;

// Control IDs.
enum : int32_t {
  MESBTN_VOICE = 0,
  MESBTN_BLPREV = 1,
  MESBTN_BLNEXT = 2,
  MESBTN_QSAVE = 3,
  MESBTN_QLOAD = 4,
  MESBTN_SAVE = 5,
  MESBTN_LOAD = 6,
  MESBTN_SKIP = 7,
  MESBTN_AUTO = 8,
  MESBTN_SYSTEM = 9,
  MESBTN_TOTITLE = 10,
  MESBTN_EXIT = 11,
  MESBTN_COUNT = 12,
  MESBTN_SEL = 12,  // the choices: 12 … 21
};

// Function kinds the window adds to what the layout knows.
enum : int32_t { MESFUNC_PARAG = 5, MESFUNC_BLON = 10, MESFUNC_BLOFF = 11 };

// The window's layout and timings, read once from the setup table "MESWND"
// (section 3); records the table lacks keep these defaults.
struct MesWndSetup {
  char szParts[256];
  char szHitMap[256];
  char szNameParts[256];  // "" = no name plates
  int32_t nHitNo[MESBTN_COUNT];
  int32_t nPos[MESBTN_COUNT][2];
  int32_t nFrame[MESBTN_COUNT][10];  // buttons 0–4, check boxes 0–9
  int32_t nJump[MESBTN_COUNT][6];    // row, then Up, Down, Left, Right, Tab
  int32_t nOpenCloseSpan;
  int32_t nPageScrollTime;
  int32_t nAutoPerChar, nAutoMin, nAutoMax;
  int32_t nScreenTrans[4];  // save, load, options, confirmation
  int32_t nTitleTrans[3];   // change, second stage, return when declined
  int32_t nExitTrans[2];    // change, return when declined
  int32_t nTextArea[4];     // left, top, right, bottom in the window picture
  int32_t nLineSpace;
  int32_t nCharSpace;
  int32_t nFontSize;
  int32_t nWndPos[2];
  int32_t nSlide;
  int32_t nNamePos[2];
  int32_t nIcon[3];  // frame, x, y
};

class CDIBMesWnd : public CDIBBaseWnd {
 public:
  static constexpr int kSrcMax = 256;        // input records collected before OutStart
  static constexpr int kCharMax = 1024;      // output records of the live page
  static constexpr int kBackLogPages = 100;
  static constexpr int kBackLogChars = 512;  // records of one backlog page
  static constexpr int kSelMax = 10;
  static constexpr int kSelAppearTime = 500;
  static constexpr uint32_t kGreyName = 0xBFBFBF;

  struct BackLogPage {
    MesChar rec[kBackLogChars];
    int32_t nCount;
    char szVoice[256];
    int32_t nNameNo;
  };
  struct SelData {
    int32_t x, y;
    int32_t nFrame[5];
    bool bEnable;
  };

  explicit CDIBMesWnd(CBaseGame* parent);
  ~CDIBMesWnd() override;

  // Reads "MESWND" into the shared layout (defaults for what it lacks).
  // True; the program calls it once at start-up, Initialize when it has not.
  static bool SetupStatic();
  static const MesWndSetup& Setup();
  static bool IsSetupLoaded();

  bool Initialize() override;
  void Release() override;
  void Move() override;
  void Draw(CDIBImage* target) override;
  int32_t Reaction(int32_t code, int32_t answer) override;
  void Open(bool animate) override;
  void Close(bool animate) override;
  void Blt(CDIBImage* target) override;
  void MoveOpenClose() override;
  virtual void FirstForcus();

  // One message.
  virtual void AddOutString(const char* text);
  virtual void AddOutFunc(int32_t kind);
  virtual void SetOutVFName(const char* name);
  virtual bool SetOutNameNo(int32_t n);
  virtual bool OutStart(int32_t mesNo);
  // Choices.
  virtual void MakeSelData(int32_t index, bool enable, int32_t x, int32_t y, const int32_t frame[5]);
  virtual void SelectStart(int32_t var, int32_t count, const char* parts, const char* hitMap);
  virtual void SetMesSkip(bool on);
  virtual void SetMesAuto(bool on);

  // What the scenario screen reads and sets.
  bool IsRun() const { return mbRun; }
  bool IsShow() const { return mbShow; }
  bool IsWait() const { return mbWait; }
  bool IsSkip() const { return mbSkip; }
  bool IsAuto() const { return mbAuto; }
  bool IsBackLog() const { return mbBLMode; }
  int32_t GetMode() const { return mnMode; }
  void SetCtrlActive(bool active) { mbCtrlActive = active; }
  CMesTextBuffer* GetTextBuffer() const { return mpTextBuffer.get(); }
  // The music named when a scene replay goes back to the screen it came
  // from (the scenario screen passes its return music).
  void SetReturnBGM(const char* name);
  // What tests and tools look at.
  int32_t GetPC() const { return mnPC; }
  int32_t GetPutCount() const { return mnPutCount; }
  int32_t GetPageScroll() const { return mnPageScroll; }
  const MesChar* GetChars() const { return mChar; }
  int32_t GetBackLogCount() const { return mnBLCount; }
  int32_t GetBackLogView() const { return mnBLView; }
  const BackLogPage* GetBackLogPage(int32_t age) const;  // 0 newest
  int32_t GetAutoTime() const { return mnAutoTime; }
  int32_t GetNameShow() const { return mnNameShow; }
  CDIBImage* GetTextImage(int i) const { return i == 0 || i == 1 ? mpTextImage[i].get() : nullptr; }
  CDIBImage* GetWndImage() const { return mpWndImage.get(); }
  const char* GetVoice() const { return mszVoice; }
  int32_t CalcAutoTime(int32_t from) const;

 protected:
  // Handlers of the twelve buttons.
  virtual void OnClickVOICEBTN();
  virtual void OnClickBLPREVBTN();
  virtual void OnClickBLNEXTBTN();
  virtual void OnClickQSAVEBTN();
  virtual void OnClickQLOADBTN();
  virtual void OnClickSAVEBTN();
  virtual void OnClickLOADBTN();
  virtual void OnClickSKIPBTN();
  virtual void OnClickAUTOBTN();
  virtual void OnClickSYSTEMBTN();
  virtual void OnClickTOTITLEBTN();
  virtual void OnClickEXITBTN();

  // Per-frame parts.
  virtual void MoveText();
  virtual void MoveSelect();
  virtual void MoveBackLog();
  virtual void MoveWaitAnime();
  // Playback steps; true to go on with the next record in this frame.
  bool MovePutNull();
  bool MovePutPage();
  bool MovePutWord();
  bool MovePutClear();
  bool MovePutClick();
  bool OnClickWait();
  // Return or a left click pushed this frame, not yet spent, with no
  // control focused.
  bool ClickPushed();

  // Pictures.
  void UpdateTextImage(CDIBImage* image, const MesChar& ch);
  void UpdateWndImage(bool full);
  void UpdataNameVB();
  void UpdateWndImageVB();
  void ClearTextImage(int i);
  void ShowBackLogPage();

  // Backlog.
  void PushBLBuffer(int32_t from, int32_t count);
  void AddBLBuffer();
  void UpdateEnableBLUpDownBtn();
  void UpdateEnableQLoadBtn();
  void LeaveBackLog();

  // Buttons, placement and opening screens.
  bool MakeButtons();
  void PlaceButtons();
  void DeleteSelButtons();
  void EnableSelButtons(bool enable);
  void SetCheckBox(int32_t id, bool on);
  void SyncCheckBoxes();
  void SetBtnEnable(int32_t id, bool enable);
  bool MakeSaveSum();
  // Opens a screen of a higher subsystem over the scenario; false (and the
  // program closes) when it cannot be made.
  bool OpenScreen(int kind, const void* block, int32_t fade);
  // The title's music, from its setup table.
  static void TitleBGM(char (&name)[256]);

  // Open/close placement: the slide offset and alpha of now.
  int32_t SlideOffset() const;
  uint32_t SlideAlpha() const;

  std::unique_ptr<CDIBImage> mpWndImage;
  std::unique_ptr<CDIBImage> mpTextImage[2];
  int32_t mnTextImageNo = 0;
  CDIBSprite* mpWndParts = nullptr;
  CDIBSprite* mpNameParts = nullptr;
  std::unique_ptr<CMesTextBuffer> mpTextBuffer;
  MesSrc* mSrc = nullptr;  // kSrcMax
  int32_t mnSrcCount = 0;
  MesChar* mChar = nullptr;  // kCharMax
  int32_t mnPC = 0;
  BackLogPage* mBackLog = nullptr;  // kBackLogPages
  int32_t mnBLTop = 0, mnBLEnd = 0, mnBLView = 0, mnBLCount = 0;
  BackLogPage* mpBLCollect = nullptr;  // the page being collected
  bool mbBLMode = false;
  bool mbBLRecord = true;
  bool mbSkip = false;
  bool mbAuto = false;
  int32_t mnAutoTime = 0;
  int32_t mnMesNo = -1;
  bool mbMesRead = false;  // the message had been read before it started
  char mszVoice[256] = {};
  char mszVoiceNext[256] = {};
  int32_t mnNameNo = -1, mnNameShow = -1, mnNameNext = -1;
  bool mbShow = true;
  bool mbRun = false;
  int32_t mnMode = 0;
  bool mbWait = false;
  int32_t mnWaitAnime = 0;
  int32_t mnPutTime = 0, mnPutTarget = 0, mnPutCount = 0;
  int32_t mnPageState = 0, mnPageTime = 0, mnPageScroll = 0;
  SelData mSel[kSelMax] = {};
  int32_t mnSelVar = 0, mnSelCount = 0, mnSelTime = 0;
  bool mbSelEnd = false;
  bool mbCtrlActive = false;

  bool mbComposed = false;    // the window picture has been composed once
  bool mbSaveReturn = false;  // the save screen was opened: re-check quick load
  // The frame's click has already ended a wait or finished a run: one click
  // passes one mark, not every mark the frame reaches.
  bool mbClickSpent = false;
  int32_t mBasePos[MESBTN_COUNT][2] = {};
  SprtVertex mWndVertex, mNameVertex, mIconVertex;
  bool mbWndVertex = false, mbNameVertex = false, mbIconVertex = false;
  // The dirty box of the live text image, right and bottom exclusive.
  int32_t mDirty[4] = {0, 0, 0, 0};
  std::unique_ptr<CDIBImage> mpSumSource;
  std::unique_ptr<CMesCellPainter> mpPainter;
  char mszReturnBGM[256] = {};
};
