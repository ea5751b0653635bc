// The extras screen, opened from the title: a picture gallery and a scene
// replay, each arranged by character (tabs) and page, with a music room
// beside them. A gallery thumbnail opens the picture-viewer scenario with
// the entry's unlocked pictures loaded; a scene thumbnail replays that
// scene's scenario.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "app/flow/ScreenBlocks.h"
#include "assets/SprtVertex.h"
#include "ui/CtrlDef.h"
#include "ui/DIBBaseScreen.h"

class CDIBSprite;
class CSnrBuffer;

// Control IDs.
enum : int32_t {
  OMAKE_BACK = 0,
  OMAKE_BGM_PREV = 1,
  OMAKE_BGM_PLAY = 2,
  OMAKE_BGM_STOP = 3,
  OMAKE_BGM_NEXT = 4,
  OMAKE_MODE = 5,
  OMAKE_PAGE = 6,    // 6..15: pages 0..9
  OMAKE_CHAR = 16,   // 16..35: characters 0..19
  OMAKE_SUM = 36,    // 36..65: thumbnails 0..29 of the page
  OMAKE_CONTROLS = 66,
};
// Modes.
enum : int32_t { OMAKE_MODE_CG = 0, OMAKE_MODE_SCENE = 1 };

// One mode's layout: its pictures, where its controls are and how they look.
struct OmakeModeLayout {
  static constexpr int kMaxChars = 20;
  static constexpr int kMaxPages = 10;
  static constexpr int kMaxSums = 30;
  char szBack[64];
  char szParts[64];
  char szHitMap[64];
  // The thumbnail picture of each character's page; "" = the parts picture.
  char szSum[kMaxChars][kMaxPages][64];
  int32_t nHitNo[OMAKE_CONTROLS];
  int32_t nPos[OMAKE_CONTROLS][2];
  int32_t nFrame[OMAKE_CONTROLS][5];
  int32_t nJump[OMAKE_CONTROLS][kJumpRows][5];
  int32_t nSumPerPage;
  int32_t nChars;
  int32_t nPlate[2];  // where the music plate is drawn
};

// The layout shared by every extras screen: built-in defaults, overridden
// by the setup table "OMAKE" (section 5). It is large (the keyboard rows):
// keep it off the stack.
struct OmakeLayout {
  static constexpr int kMaxMusic = 100;
  char szPlate[64];  // element n is the plate of music n
  char szMusic[kMaxMusic][64];
  OmakeModeLayout mode[2];
  int32_t nReturnFade;
  int32_t nViewerFade;
  int32_t nReplayFade[2];
  char szViewer[64];
  // The scenario variables that receive the number of pictures loaded, the
  // character and the entry; -1 = not stored.
  int32_t nViewerVar[3];
  bool bAllOpen;  // every entry counts as unlocked
};

class CDIBOmakeScreen : public CDIBBaseScreen {
 public:
  explicit CDIBOmakeScreen(CBaseGame* parent);
  ~CDIBOmakeScreen() override;

  // Reads "OMAKE" over the built-in defaults, record by record; false when
  // the table cannot be read (the defaults stand).
  static bool SetupStatic();
  static bool IsSetupLoaded();
  static const OmakeLayout& Layout();
  static std::unique_ptr<OmakeLayout> DefaultLayout();
  // The table walk, shared by reading and printing.
  static void ReadLayout(CSnrBuffer& table, OmakeLayout& layout);
  static std::string LayoutSource(const OmakeLayout& layout);
  // The number of names in the music list before the first empty one.
  static int32_t MusicCount(const OmakeLayout& layout);

  using CDIBBaseScreen::Initialize;
  virtual bool Initialize(const OmakeStartBlock* block);
  void Release() override;
  void Move() override;
  void Draw(CDIBImage* target) override;
  void CopyImage(CDIBImage* target) override;

  virtual bool ChangeMode(int32_t mode);
  virtual bool ChangeChar(int32_t character);
  virtual bool ChangePage(int32_t page);
  virtual void UpdateBaseImage();
  virtual void OnCtrlCancel();
  virtual void OnCtrlBGMPrev();
  virtual void OnCtrlBGMPlay();
  virtual void OnCtrlBGMStop();
  virtual void OnCtrlBGMNext();
  virtual void OnCtrlMode();
  virtual void OnCtrlPage(int32_t page);
  virtual void OnCtrlChar(int32_t character);
  virtual void OnCtrlSum(int32_t id);

  int32_t GetMode() const { return mnMode; }
  int32_t GetChar() const { return mnChar; }
  int32_t GetPage() const { return mnPage; }
  int32_t GetPageCount() const { return mnPageCount; }
  int32_t GetSumCount() const { return mnSumCount; }
  int32_t GetBGMNo() const { return mnBGMNo; }
  int32_t GetBGMCount() const { return mnBGMCount; }
  bool IsBGMPlay() const { return mbBGMPlay; }
  const SprtVertex& GetPlateVertex() const { return mPlateVertex; }

  // The factory's maker for SCREEN_OMAKE.
  static CDIBBaseScreen* Make(CBaseGame* parent, const void* startBlock);

 protected:
  template <class V>
  static void Walk(OmakeLayout& s, V& v);
  const OmakeModeLayout& ModeLayout() const;
  // Controls 0..5 with the mode's layout, the music buttons as the room is.
  bool MakeRoomControls();
  // Page buttons, tabs and thumbnails of the current mode.
  bool MakeSumControls();
  // Shows, enables and dresses the page buttons and the thumbnails for the
  // current character and page; false when the page's picture is missing.
  bool UpdateSums();
  // Entries of the current mode's character `c`.
  int32_t EntryCount(int32_t c) const;
  bool IsUnlocked(int32_t c, int32_t entry) const;
  // The music buttons as the room is: play or stop.
  void UpdateBGMButtons();
  // Reads the current piece, and plays it when the room plays.
  void SelectBGM(int32_t index);
  void UpdatePlate();
  // Loads the entry's pictures into the picture slots for the viewer.
  void LoadViewerPictures(int32_t entry);
  void DrawPlate(CDIBImage* target);
  void MakeError();

  char mszReturnBGM[64] = {};
  int32_t mnMode = OMAKE_MODE_CG;
  int32_t mnChar = 0;
  int32_t mnSumCount = 0;
  int32_t mnPageCount = 0;
  int32_t mnPage = 0;
  int32_t mnBGMNo = 0;
  int32_t mnBGMCount = 0;
  bool mbBGMPlay = false;
  SprtVertex mPlateVertex;
  CDIBSprite* mpBackPicture = nullptr;
  CDIBSprite* mpPartsPicture = nullptr;
  CDIBSprite* mpPlatePicture = nullptr;
};
