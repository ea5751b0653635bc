// The game's scenario screen: the interpreter with the message window and
// the game-level commands (messages and their text settings, voices tied to
// messages, choices, save points, movies and the end of a story). The
// title, save/load and extras screens start it for a new story, a saved
// game or a replay; it saves its whole state at every save point and
// rebuilds itself from a saved game.
#pragma once
#include <cstdint>

#include "app/flow/ScreenBlocks.h"
#include "scenario/interp/DIBSnrBaseScreen.h"

class CDIBMesWnd;

class CDIBSnrScreen : public CDIBSnrBaseScreen {
 public:
  // The bytes Save writes after the virtual screen's and the position's
  // records: load point, wait state and the text settings.
  static constexpr uint32_t kTailSize = 4 + 8 + 1 + 1 + 16 + 4 + 16 + 4 + 1 + 1;
  // The fades of the choice screen and of the movie screen's way in.
  static constexpr int32_t kSelectFadeMs = 300;
  static constexpr int32_t kMovieFadeMs = 1000;
  static constexpr int32_t kMovieSecondFadeMs = 100;
  // The fades and the music fades of the end of a story.
  static constexpr int32_t kEndFadeMs = 1000;

  explicit CDIBSnrScreen(CBaseGame* parent);
  ~CDIBSnrScreen() override;

  using CDIBSnrBaseScreen::Initialize;
  // A new story from the block's scenario, or (with the load flag) the
  // saved game of its slot, restored when the screen is first shown. False
  // (with the error box shown) when the interpreter, the message window or
  // the first scenario cannot be made.
  bool Initialize(const SnrStartBlock* callParam) override;
  void Release() override;
  // Restores the saved game asked for; a game that cannot be restored is
  // reported and the screen goes to the title instead of running.
  void OnChangeScreen1st() override;
  void OnChangeScreen2nd() override;
  void Move() override;
  void Draw(CDIBImage* target) override;
  void CopyImage(CDIBImage* target) override;

  // The state record in the save data's state buffer, after a save point
  // and for a saved game.
  bool Save(int32_t loadPoint) override;
  bool Load(const uint8_t* src, uint32_t size) override;

  void MoveCmdLPT() override;
  void MoveCmdMOVIE() override;
  void MoveCmdMSG() override;
  void MoveCmdMWO() override;
  void MoveCmdMWC() override;
  void MoveCmdSELECT() override;
  void MoveCmdSETMESSKIP() override;
  void MoveCmdMESFTSIZE() override;
  void MoveCmdMESFTCOLOR() override;
  void MoveCmdMESFTBLOD() override;
  void MoveCmdMESFTSHADOW() override;
  void MoveCmdMESTXAREA() override;
  void MoveCmdMESTXKINSOKU() override;
  void MoveCmdMESTXDOWN() override;
  void MoveCmdMESNAME() override;
  void MoveCmdMESVPLAY() override;
  void MoveCmdMESVSTOP() override;
  void MoveCmdMESRUN() override;
  void MoveCmdSELMAKE() override;
  void MoveCmdSELRUN() override;
  void MoveCmdEND() override;

  CDIBMesWnd* GetMesWnd() const { return mpMesWnd; }
  int32_t GetLoadSlot() const { return mnLoadSlot; }
  bool IsVoiceWait() const { return mbVoiceWait; }

  // The factory's maker for SCREEN_SNR.
  static CDIBBaseScreen* Make(CBaseGame* parent, const void* startBlock);

 protected:
  // The one-frame commands that set a value and step on.
  bool IntCommand(const char* command, int32_t* value);
  // MWO and MWC: the window brought to `open`, waiting for its animation.
  void MoveWindowOpenClose(const char* name, bool open);
  // The window must be open for MESRUN and SELRUN; otherwise the game ends.
  bool CheckWndOpen(const char* command);
  // Stage 1 of the message and choice commands: wait for the window.
  void WaitMesWnd();
  // Replaces this screen by the title (or ends the program without one).
  void GoToTitle();

  CDIBMesWnd* mpMesWnd = nullptr;
  int32_t mnLoadSlot = -1;
  // MESVSTOP is waiting for a voice to end.
  bool mbVoiceWait = false;
  // The player clicked the running message on: MESVSTOP does not wait.
  bool mbClickedPast = false;
  // The saved game could not be restored: nothing runs, the title follows.
  bool mbLoadFailed = false;
  bool mbTitleAsked = false;
};
