// The title screen: the first screen of the game and the one a finished game
// comes back to. At program start it plays the opening movie, shows the two
// title pictures in turn and zooms the game's name in, then offers its five
// buttons: start, load, options, extras and end. Left in the menu long
// enough, it plays the opening again.
#pragma once
#include <cstdint>
#include <string>

#include "app/flow/ScreenBlocks.h"
#include "assets/SprtVertex.h"
#include "ui/CtrlDef.h"
#include "ui/DIBBaseScreen.h"

class CDIBOverlap;
class CDIBSprite;
class CSnrBuffer;
namespace setup {
class CSetupReader;
class CSetupPrinter;
}  // namespace setup

// Button IDs.
enum : int32_t { TITLE_START = 0, TITLE_LOAD = 1, TITLE_OPTION = 2, TITLE_OMAKE = 3, TITLE_END = 4 };
// Phases, and the picture that is the background.
enum : int32_t { TITLE_PHASE_OPENING = 0, TITLE_PHASE_NAME = 1, TITLE_PHASE_MENU = 2 };
enum : int32_t { TITLE_PICTURE_FIRST = 0, TITLE_PICTURE_SECOND = 1, TITLE_PICTURE_BACK = 2 };

// The layout shared by every title screen: built-in defaults, overridden by
// the setup table "TITLE" (section 0).
struct TitleLayout {
  static constexpr int kButtons = 5;
  char szPicture[3][64];  // the first and second title pictures, the background
  // The masks of the transitions into the title screen, from the first to
  // the second picture and from the second to the background; "" = a fade.
  char szMask[3][64];
  char szParts[64];  // buttons; element 0 is the game's name
  char szHitMap[64];
  char szMusic[64];
  char szMovie[64];
  int32_t nHitNo[kButtons];
  int32_t nPos[kButtons][2];
  int32_t nFrame[kButtons][5];
  int32_t nJump[kButtons][kJumpRows][5];
  int32_t nName[5];  // x, y, zoom width, zoom height, zoom time (ms)
  int32_t nOpeningFade[2];  // out of the title, into it again
  int32_t nStartFade[2];
  int32_t nLoadFade;
  int32_t nMenuFade;   // the option and extras screens
  int32_t nSpareFade;  // record 64: kept, used by no button
  int32_t nEndFade[3];  // to the question, out of the game, back after "no"
  int32_t nIdleTime;    // menu time after which the opening plays again
};

class CDIBTitleScreen : public CDIBBaseScreen {
 public:
  explicit CDIBTitleScreen(CBaseGame* parent);
  ~CDIBTitleScreen() override;

  // Reads "TITLE" over the built-in defaults, record by record. Always true.
  static bool SetupStatic();
  static bool IsSetupLoaded();
  static const TitleLayout& Layout();
  static TitleLayout DefaultLayout();
  // The table walk, shared by reading and printing.
  static void ReadLayout(CSnrBuffer& table, TitleLayout& layout);
  static std::string LayoutSource(const TitleLayout& layout);

  using CDIBBaseScreen::Initialize;
  virtual bool Initialize(const TitleStartBlock* block);
  void Release() override;
  void Move() override;
  void Draw(CDIBImage* target) override;
  void CopyImage(CDIBImage* target) override;
  int32_t Reaction(int32_t code, int32_t answer) override;
  void GetCallEffectParam(EffectParam* param) override;
  void OnChangeScreen1st() override;

  virtual void MoveOP();
  virtual void MoveName();
  virtual void MoveMenu();
  virtual void UpdateNameVB();
  virtual void UpdateBaseImage();
  virtual void OnStartBtn();
  virtual void OnLoadBtn();
  virtual void OnOptionBtn();
  virtual void OnOmakeBtn();
  virtual void OnEndBtn();

  int32_t GetPhase() const { return mnPhase; }
  int32_t GetStep() const { return mnStep; }
  int32_t GetPicture() const { return mnPicture; }
  int32_t GetMenuTime() const { return mnMenuTime; }
  bool IsVisible() const { return mbVisible; }
  bool IsNameShown() const { return mNameMotion.bActive; }
  const SprtMotion& GetNameMotion() const { return mNameMotion; }
  const SprtVertex& GetNameVertex() const { return mNameVertex; }
  CDIBOverlap* GetOverlap() const { return mpOverlap; }

  // The factory's maker for SCREEN_TITLE.
  static CDIBBaseScreen* Make(CBaseGame* parent, const void* startBlock);

 protected:
  template <class V>
  static void Walk(TitleLayout& s, V& v);
  // Picture `n` (0 … 2) over black, the screen's size.
  void ComposePicture(int n, CDIBImage* target);
  // Starts mpOverlap over 1000 ms from the first stage image to the second:
  // the mask's Alpha when one is named, else a fade.
  void StartOverlap(const char* mask);
  // Finishes the running transition at once on any key or "NoneEffect".
  void HurryOverlap();
  // The name blended over `target` when it is shown.
  void DrawName(CDIBImage* target);

  CDIBSprite* mpTitlePicture[3] = {};
  CDIBSprite* mpParts = nullptr;
  bool mbVisible = false;
  SprtMotion mNameMotion{};
  SprtVertex mNameVertex;
  int32_t mnMenuTime = 0;
  bool mbFirst = false;
  CDIBOverlap* mpOverlap = nullptr;
  int32_t mnPicture = TITLE_PICTURE_FIRST;
  int32_t mnPhase = TITLE_PHASE_OPENING;
  int32_t mnStep = 0;
  // The two full-screen pictures a title transition runs between.
  CDIBImage* mpStageImage[2] = {};
};
