// The application object: builds every engine-wide service in a fixed order,
// runs the idle-driven frame loop, presents the picture, switches between
// window and full screen, pauses on deactivation and asks before quitting.
#pragma once
#include <memory>

#include "app/Config.h"
#include "app/RunOptions.h"
#include "app/Runner.h"
#include "app/core/MainWindow.h"

class CFrameStats;

class CMainWindowImpl : public CMainWindow {
 public:
  explicit CMainWindowImpl(const RunOptions& options);
  ~CMainWindowImpl() override;

  bool Create() override;
  void StartGame() override;
  void EndGame() override;
  // One turn of the main loop's idle step. True when a frame ran.
  virtual bool OnIdle();
  // Milliseconds until the next frame is due (0 when it is due now).
  uint32_t TimeToNextFrame() const;
  // A second start asked for the game: restore the window if minimised,
  // raise it and give it the input focus.
  void ComeForward();

  void SetDisplayMode(bool fullScreen) override;
  // The display side: 0 the desktop, 1 full screen. False when refused.
  bool SetDisplayMode(int mode, bool keep);
  void ChangeActivate(bool active) override;
  void PlaySysSE(int index) override;
  plat::Cursor* ReadCursor(const char* nameOrId) override;

  LRESULT WndProc(uint32_t msg, WPARAM wp, LPARAM lp) override;
  LRESULT OnDestroy(uint32_t msg, WPARAM wp, LPARAM lp) override;
  LRESULT OnMove(uint32_t msg, WPARAM wp, LPARAM lp) override;
  LRESULT OnActivate(uint32_t msg, WPARAM wp, LPARAM lp) override;
  LRESULT OnPaint(uint32_t msg, WPARAM wp, LPARAM lp) override;
  LRESULT OnClose(uint32_t msg, WPARAM wp, LPARAM lp) override;
  LRESULT OnEraseBkGnd(uint32_t msg, WPARAM wp, LPARAM lp) override;
  LRESULT OnActivateApp(uint32_t msg, WPARAM wp, LPARAM lp) override;
  LRESULT OnSetCursor(uint32_t msg, WPARAM wp, LPARAM lp) override;
  LRESULT OnChar(uint32_t msg, WPARAM wp, LPARAM lp) override;
  LRESULT OnSysChar(uint32_t msg, WPARAM wp, LPARAM lp) override;
  LRESULT OnSysCommand(uint32_t msg, WPARAM wp, LPARAM lp) override;
  LRESULT OnMouseWheel(uint32_t msg, WPARAM wp, LPARAM lp) override;
  LRESULT OnEnterSizeMove(uint32_t msg, WPARAM wp, LPARAM lp) override;
  LRESULT OnExitSizeMove(uint32_t msg, WPARAM wp, LPARAM lp) override;

  // The private messages: switch window/full screen (flag in wParam), set a
  // cursor (handle in wParam).
  static constexpr uint32_t kMsgDisplayMode = plat::WM_USER + 512;
  static constexpr uint32_t kMsgSetCursor = plat::WM_USER + 513;

  const IniSettings& GetIni() const { return mIni; }
  long long FramesRun() const { return mFrameCount; }
  CRunner* GetRunner() { return mpRunner.get(); }

 protected:
  void ShowErrorBox(const char* textLocal) override;
  void ApplyPause(bool pause) override;
  plat::POINT GetMousePos() const override;

  // The frame's work between input and presentation; a frame that is not
  // paused runs it. Split out so that the flow of screens can be driven here.
  virtual void MoveAndDraw();
  void Present();
  bool MoviePlaying() const;
  // Real time only: a movie's new picture waits, so a frame runs now.
  bool MoviePacesFrames() const;
  // Deletes the services in the reverse order of their creation.
  void ReleaseServices();

 private:
  RunOptions mOptions;
  std::unique_ptr<CRunner> mpRunner;
  // Only with --stats.
  std::unique_ptr<CFrameStats> mpStats;
  IniSettings mIni;
  int mDisplayMode = 255;
  long long mFrameCount = 0;
  // The last presentation was a movie picture.
  bool mbMovieShown = false;
};
