// The application object as every subsystem sees it: the engine-wide
// services, the configuration switches, the frame step and the error boxes.
// It is reached everywhere through `gpMainWindow`. The app library derives
// the object that builds and runs all of this (CMainWindowImpl); the
// operations below that need the whole program are virtual so that the
// lower subsystems, and their tests, depend only on this face.
#pragma once
#include <cstddef>
#include <cstdint>

#include "app/core/AppBaseWindow.h"
#include "app/core/Trace.h"
#include "platform/DynLib.h"

class CFileJoin;
class CSpriteCache;
class CDIBDisplay;
class CInput;
class CDSound;
class CSEBuffer;
class CBGMBuffer;
class CVoiceBuffer;
class CVideoPlayer;
class CSaveData;
class CRootFlow;
namespace plat {
struct Cursor;
}

// The six file sources, in table order.
enum FileJoinIndex { kJoinData = 0, kJoinMgd = 1, kJoinMsd = 2, kJoinSe = 3, kJoinBgm = 4, kJoinVoice = 5 };

// The game's window title (build's encoding); it also keys scrambling and
// save signatures.
const char* GameTitle();

// Process-wide values set during start-up. The paths hold whatever the
// system can open (its own path limit); a longer one is refused at start-up,
// never cut.
constexpr size_t kMaxPathBytes = 4096;
extern char gszInstallDir[kMaxPathBytes];  // ends in '/'
extern char gszIniPath[kMaxPathBytes];     // gszInstallDir + "Novel.ini"
extern bool gbBGMSmallVolume;    // lower the music under voices
extern bool gbAlphaFlip;         // clear back-image alpha before presenting

struct CursorSlot {
  plat::Cursor* handle = nullptr;
  bool bSystem = true;
  int id = 0;          // system cursor identifier when bSystem
  char name[64] = {};  // file name otherwise
};

class CMainWindow : public CAppBaseWindow {
 public:
  CMainWindow();
  ~CMainWindow() override;
  const char* GetClassName() const override {
    Trace("CMainWindow::GetClassName");
    return "CMainWindow";
  }

  // Engine-wide operations. The defaults here do what needs no other
  // subsystem; the app library's object overrides them.
  virtual bool Create() {
    Trace("CMainWindow::Create");
    return false;
  }
  virtual void StartGame() { Trace("CMainWindow::StartGame"); }
  virtual void EndGame() { Trace("CMainWindow::EndGame"); }
  virtual void PauseGame(bool pause);
  virtual void ResetLossTime();
  virtual void PlaySysSE(int index);
  // Cursor slots: a cursor file name from the data source, or a system
  // cursor identifier (below 65536) passed as a pointer-sized value.
  void SetCursorList(int slot, const char* nameOrId);
  void SetCursorList(int slot, int systemIndex);
  void ChangeCursor(int slot);
  virtual plat::Cursor* ReadCursor(const char* nameOrId);
  virtual void SetDisplayMode(bool fullScreen);
  virtual void ChangeActivate(bool active);

  // Error boxes: modal, captioned with the window title, error icon, OK.
  void ErrorMsg(const char* format, ...) __attribute__((format(printf, 2, 3)));
  void ErrorRead(const char* object, const char* file);
  void ErrorMemory(const char* object, const char* member);
  void ErrorETC(const char* object, const char* item);

  // Closes the main window without the exit question.
  void ForceClose();

  // Fields, in the order the rest of the engine knows them.
  bool mbFullScreen = false;
  bool mbCanFullScreen = false;
  bool mbCanWindow = false;
  bool mbWndActive = false;
  bool mbAppActive = false;
  bool mbMinimizedFull = false;
  uint8_t mImeState = 255;
  bool mbActive = false;
  bool mbRunning = false;
  plat::RECT mWndRect;
  bool mbForceClose = false;
  int mFrameTime = 30;

  CFileJoin* mpFileJoin[6] = {};
  CSpriteCache* mpSpriteCache = nullptr;
  CDIBDisplay* mpDisplay = nullptr;
  CInput* mpInput = nullptr;
  CDSound* mpDSound = nullptr;
  CSEBuffer* mpSEBuffer = nullptr;
  CBGMBuffer* mpBGMBuffer = nullptr;
  CVoiceBuffer* mpVoiceBuffer = nullptr;
  CVideoPlayer* mpVideoPlayer = nullptr;
  CSaveData* mpSaveData = nullptr;
  CRootFlow* mpRootFlow = nullptr;

  int mSysSE[3] = {};  // effect handles; 0 is none
  bool mbPause = false;
  int mPauseCount = 0;
  uint32_t mLastFrameTime = 0;
  int mLossTime = 0;
  CursorSlot mCursor[256];
  // The system cursors are made once and shared by every slot that names
  // them; a slot owns only a cursor read from a file.
  plat::Cursor* mSystemCursor[16] = {};
  int mCursorNo = 0;

  bool mbNoneEffect = false;
  int mFrameSpeed = 1;
  bool mbAltAndEnter = false;
  bool mbSystemSE = false;
  bool mbNonePause = false;

  plat::LibHandle mhDebugDll = nullptr;

 protected:
  // Shows one error box; the app object wraps it in the full-screen dance.
  virtual void ShowErrorBox(const char* textLocal);
  // What pausing does beyond the count: the app object pauses sound and movie.
  virtual void ApplyPause(bool) { Trace("CMainWindow::ApplyPause"); }
  // The mouse position the input object reports (client coordinates).
  virtual plat::POINT GetMousePos() const;
};

extern CMainWindow* gpMainWindow;
