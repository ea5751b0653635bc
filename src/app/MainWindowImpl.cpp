#include "app/MainWindowImpl.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "app/FrameStats.h"
#include "app/StartScreen.h"
#include "app/core/DebugHooks.h"
#include "app/flow/RootFlow.h"
#include "app/core/Trace.h"
#include "assets/DIBDisplay.h"
#include "assets/FileJoin.h"
#include "assets/SpriteCache.h"
#include "audio/BGMBuffer.h"
#include "audio/DSound.h"
#include "audio/SEBuffer.h"
#include "audio/VoiceBuffer.h"
#include "platform/AudioDevice.h"
#include "save/SaveData.h"
#include "save/SoundConfig.h"
#include "scene/DIBOverlap.h"
#include "ui/DIBBaseScreen.h"
#include "ui/EffectParam.h"
#include "ui/Input.h"
#include "video/VideoPlayer.h"
#include "platform/Cursor.h"
#include "platform/Encoding.h"
#include "platform/MessageBox.h"
#include "platform/Timer.h"
#include "platform/Window.h"
#include "text/profile/TextProfile.h"

using namespace plat;

namespace {
constexpr int kFramePeriod = 30;
// A movie picture later than this after the last frame runs the frame
// without it (a stalled decoder must not stop the game).
constexpr uint32_t kMovieStall = 250;
constexpr uint32_t kWindowStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
// The names of the three system sound effects (decide, cancel, cursor).
// This game leaves them empty, so the slots stay empty.
const char kSysSENames[3][256] = {"", "", ""};
}  // namespace

CMainWindowImpl::CMainWindowImpl(const RunOptions& options)
    : mOptions(options), mpRunner(std::make_unique<CRunner>(options)) {
  Trace("CMainWindow::CMainWindow");
  if (!mOptions.statsFile.empty()) mpStats = std::make_unique<CFrameStats>();
}

CMainWindowImpl::~CMainWindowImpl() {
  Trace("CMainWindow::~CMainWindow");
  // Normally the window's destruction has released everything; an object
  // deleted after a failure still owns its services.
  ReleaseServices();
}

void CMainWindowImpl::ReleaseServices() {
  Trace("CMainWindow::ReleaseServices");
  if (mpStats) {
    if (!mpStats->WriteReport(mOptions.statsFile))
      fprintf(stderr, "veltogame: %s: cannot write the frame-time report\n", mOptions.statsFile.c_str());
    mpStats.reset();
  }
  EndGame();
  // The save data gives its picture slots back to the cache, so it goes
  // before the cache and the sound classes.
  delete mpSaveData;
  mpSaveData = nullptr;
  delete mpVideoPlayer;
  mpVideoPlayer = nullptr;
  delete mpVoiceBuffer;
  mpVoiceBuffer = nullptr;
  delete mpBGMBuffer;
  mpBGMBuffer = nullptr;
  if (mpSEBuffer) {
    for (int& handle : mSysSE) {
      if (handle > 0) mpSEBuffer->Free(handle);
      handle = 0;
    }
  }
  delete mpSEBuffer;
  mpSEBuffer = nullptr;
  delete mpDSound;
  mpDSound = nullptr;
  delete mpInput;
  mpInput = nullptr;
  delete mpDisplay;
  mpDisplay = nullptr;
  delete mpSpriteCache;
  mpSpriteCache = nullptr;
  for (CFileJoin*& join : mpFileJoin) {
    delete join;
    join = nullptr;
  }
}

bool CMainWindowImpl::Create() {
  Trace("CMainWindow::Create");
  DesktopMode desktop;
  bool haveDesktop = GetDesktopMode(desktop);

  // Switches and the window position.
  POINT centred = haveDesktop ? CentredWindowPos(desktop.x, desktop.y, desktop.width, desktop.height) : POINT{};
  mIni = ReadIniSettings(gszIniPath, centred);
  mbNoneEffect = mIni.bNoneEffect;
  mFrameSpeed = mIni.nFrameSpeed;
  mbAltAndEnter = mIni.bAltAndEnter;
  mbSystemSE = mIni.bSystemSE;
  mbNonePause = mIni.bNonePause;
  gbBGMSmallVolume = mIni.bBGMSmallVolume;
  gbAlphaFlip = mIni.bAlphaFlip;

  // The six file sources.
  for (int i = 0; i < 6; ++i) {
    mpFileJoin[i] = new CFileJoin;
    if (!mpFileJoin[i]->Initialize(gszInstallDir, kFileJoinSources[i].name, kFileJoinSources[i].ext)) {
      ErrorMsg("MainWindow:FileJoin\n連結ファイル %s を読み込めません。", kFileJoinSources[i].name);
      ForceClose();
      return false;
    }
  }

  // The save data holds the player's settings, which decide window or full
  // screen below.
  mpSaveData = new CSaveData;
  if (!mpSaveData->Initialize()) return false;

  // Window or full screen: a window needs room around it on the desktop;
  // full screen shows the picture unscaled in the middle of the desktop.
  if (!haveDesktop) return false;
  mbCanWindow = desktop.width >= 850 && desktop.height >= 650 && desktop.bitsPerPixel >= 16;
  mbCanFullScreen = desktop.width >= 800 && desktop.height >= 600 && desktop.bitsPerPixel >= 16;
  if (!mbCanWindow && !mbCanFullScreen) return false;
  bool& wantFull = mpSaveData->mConfig.bFullScreen;
  if (!wantFull && !mbCanWindow) wantFull = true;
  if (wantFull && !mbCanFullScreen) wantFull = false;
  mbFullScreen = wantFull;

  int x = mIni.pos.x, y = mIni.pos.y;
  mWndRect = RECT{x, y, x + 800, y + 600};
  if (!CreateWnd(GameTitle(), "GAMECLASS", kWindowStyle, x, y, 800, 600, nullptr, nullptr, 107, 107)) return false;

  mpSpriteCache = new CSpriteCache;
  if (!mpSpriteCache->Initialize(mpFileJoin[kJoinMgd])) return false;
  mpDisplay = new CDIBDisplay;
  if (!mpDisplay->Initialize()) return false;
  mpInput = new CInput;
  if (!mpInput->Initialize(mhWnd, mpFileJoin[kJoinData])) return false;

  // Sound: without a device every sound object runs silent.
  mpDSound = new CDSound;
  if (!mpDSound->Initialize(mhWnd, 44100, 2, 16)) {
    delete mpDSound;
    mpDSound = nullptr;
  }
  mpSEBuffer = new CSEBuffer;
  if (!mpSEBuffer->Initialize(mpDSound, mpFileJoin[kJoinSe])) return false;
  ApplySoundConfig(mpSaveData->mConfig, mpSEBuffer, nullptr, nullptr);
  if (mbSystemSE) {
    for (int i = 0; i < 3; ++i) mSysSE[i] = kSysSENames[i][0] ? mpSEBuffer->Read(kSysSENames[i]) : 0;
  }
  mpBGMBuffer = new CBGMBuffer;
  if (!mpBGMBuffer->Initialize(mpDSound, mpFileJoin[kJoinBgm])) return false;
  mpVoiceBuffer = new CVoiceBuffer;
  if (!mpVoiceBuffer->Initialize(mpDSound, mpFileJoin[kJoinVoice])) return false;
  ApplySoundConfig(mpSaveData->mConfig, nullptr, mpBGMBuffer, mpVoiceBuffer);
  mpVideoPlayer = new CVideoPlayer;
  if (!mpVideoPlayer->Initialize(mhWnd)) return false;

  for (int i = 0; i < 256; ++i) SetCursorList(i, 0);
  mCursorNo = 0;

  if (mbFullScreen) SetDisplayMode(true);
  StartGame();
  ShowWindow(mhWnd, SW_SHOW);
  DebugAttach(mhWnd, mIni.bDebugWndAttach);
  return true;
}

void CMainWindowImpl::StartGame() {
  Trace("CMainWindow::StartGame");
  mpRootFlow = new CRootFlow;
  if (!mpRootFlow->Initialize()) {
    delete mpRootFlow;
    mpRootFlow = nullptr;
    ForceClose();
    return;
  }
  bool expected = false;
  if (CDIBBaseScreen* first = GetStartGameScreen(&expected, mOptions.startScenario.c_str())) {
    EffectParam effect;
    first->GetCallEffectParam(&effect);
    if (effect.nEffect == 0) EffectParamWriter(&effect, EFFECT_BLT).Int(1);
    mpRootFlow->ChangeScreen(&effect, nullptr, nullptr, first, false);
  } else if (expected) {
    ForceClose();
    return;
  }
  mbRunning = true;
  mLastFrameTime = timeGetTime();
}

void CMainWindowImpl::EndGame() {
  Trace("CMainWindow::EndGame");
  delete mpRootFlow;  // and with it every screen
  mpRootFlow = nullptr;
}

void CMainWindowImpl::ComeForward() {
  Trace("CMainWindow::ComeForward");
  if (!IsWindow(mhWnd)) return;
  if (IsIconic(mhWnd)) ShowWindow(mhWnd, SW_RESTORE);
  BringToFront(mhWnd);
}

bool CMainWindowImpl::MoviePlaying() const {
  Trace("CMainWindow::MoviePlaying");
  return mpVideoPlayer && mpVideoPlayer->mbPlay;
}

bool CMainWindowImpl::MoviePacesFrames() const {
  Trace("CMainWindow::MoviePacesFrames");
  // On a fixed step every frame is one frame period, movie or not.
  return !IsVirtualClock() && MoviePlaying() && mpVideoPlayer->PacesFrames();
}

uint32_t CMainWindowImpl::TimeToNextFrame() const {
  Trace("CMainWindow::TimeToNextFrame");
  if (!mpRootFlow) return kFramePeriod;
  // A movie's next picture is shown as soon as it is there; the player
  // wakes the wait when one comes.
  if (MoviePacesFrames()) {
    if (mpVideoPlayer->HasNewFrame()) return 0;
    uint32_t waited = timeGetTime() - mLastFrameTime;
    return waited >= kMovieStall ? 0 : kMovieStall - waited;
  }
  uint32_t elapsed = timeGetTime() - mLastFrameTime;
  return elapsed >= kFramePeriod ? 0 : kFramePeriod - elapsed;
}

bool CMainWindowImpl::OnIdle() {
  Trace("CMainWindow::OnIdle");
  if (!mpRootFlow) return false;
  uint32_t now = timeGetTime();
  uint32_t elapsed = now - mLastFrameTime;
  if (MoviePacesFrames()) {
    // While a movie's pictures come, each runs a frame at once (without
    // waiting for the frame period), and a frame waits for its picture
    // unless the decoder stalls.
    if (!mpVideoPlayer->HasNewFrame() && elapsed < kMovieStall) return false;
    mLossTime = elapsed < static_cast<uint32_t>(kFramePeriod)
                    ? 0
                    : static_cast<int>(std::min<uint32_t>(elapsed - kFramePeriod, kFramePeriod));
  } else {
    if (elapsed < static_cast<uint32_t>(kFramePeriod)) return false;
    mLossTime = static_cast<int>(std::min<uint32_t>(elapsed - kFramePeriod, kFramePeriod));
  }
  mFrameTime = kFramePeriod + mLossTime;
  mLastFrameTime = now;

  ++mFrameCount;
  if (mpStats) mpStats->BeginFrame();
  mpRunner->BeforeFrame(mFrameCount, mhWnd);
  if (!mbPause) {
    MoveAndDraw();
    Present();
  }
  if (mpStats) {
    CDIBBaseScreen* screen = mpRootFlow ? mpRootFlow->GetScreen() : nullptr;
    mpStats->EndFrame(MoviePlaying() ? "movie" : screen ? CFrameStats::ScreenName(typeid(*screen)) : "(none)");
  }
  // Without a real device the frame clock produces the sound, paused or not.
  AdvanceAudio(static_cast<uint32_t>(mFrameTime));
  if (mpRunner->AfterFrame(mFrameCount, mhWnd)) ForceClose();
  return true;
}

void CMainWindowImpl::MoveAndDraw() {
  Trace("CMainWindow::MoveAndDraw");
  mpInput->Poll();
  // Alt+Return switches window and full screen; nothing moves this frame.
  const KeyState* key = mpInput->mKey;
  if (mbAltAndEnter && (key[VK_LMENU].bDown || key[VK_RMENU].bDown) && key[VK_RETURN].bPush) {
    SendMessage(mhWnd, kMsgDisplayMode, mbFullScreen ? 0 : 1, 0);
    mpSaveData->mConfig.bFullScreen = mbFullScreen;
    return;
  }
  mpDisplay->BeginFrame();
  uint32_t step = static_cast<uint32_t>(mFrameTime);
  mpSEBuffer->Move(step);
  mpBGMBuffer->Move(step);
  mpVoiceBuffer->Move(step);
  mpVideoPlayer->Move(step);
  if (mbRunning) {
    mpRootFlow->Move();
    if (mbRunning) mpDisplay->BuildDirtyRects();
  }
  // Moving may have ended the game.
  if (mpRootFlow) mpRootFlow->Draw(mpDisplay->GetBackImage());
}

void CMainWindowImpl::Present() {
  Trace("CMainWindow::Present");
  if (MoviePlaying()) {
    mpVideoPlayer->Draw(mhWnd);
    mbMovieShown = true;
    return;
  }
  // The movie covered the whole window: all of the picture goes back.
  if (mbMovieShown && mpDisplay) mpDisplay->InvalidateAll();
  mbMovieShown = false;
  if (mpDisplay) mpDisplay->Present(mhWnd);
}

// Display modes. Full screen here never changes the desktop's mode: the
// window becomes a borderless desktop-sized one with the picture centred.
bool CMainWindowImpl::SetDisplayMode(int mode, bool keep) {
  Trace("CMainWindow::SetDisplayMode");
  if (keep || mode == mDisplayMode || !IsWindow(mhWnd)) return true;
  if (!SetFullScreen(mhWnd, mode == 1)) {
    mDisplayMode = mode;
    return false;
  }
  mDisplayMode = mode;
  return true;
}

void CMainWindowImpl::SetDisplayMode(bool fullScreen) {
  Trace("CMainWindow::SetDisplayMode");
  if (fullScreen) {
    SetDisplayMode(1, false);
    mbFullScreen = true;
    SetWindowStyle(mhWnd, GetWindowStyle(mhWnd) & ~(WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX));
    SetTopmost(mhWnd, true);
  } else {
    SetTopmost(mhWnd, false);
    SetWindowStyle(mhWnd, GetWindowStyle(mhWnd) | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
    SetDisplayMode(0, false);
    mbFullScreen = false;
    MoveWindow(mhWnd, mWndRect.left, mWndRect.top);
  }
  if (mpDisplay) mpDisplay->InvalidateAll();
}

void CMainWindowImpl::ChangeActivate(bool active) {
  Trace("CMainWindow::ChangeActivate");
  if (active) {
    if (mImeState == 0) return;
    if (mbMinimizedFull) {
      SetDisplayMode(true);
      mbMinimizedFull = false;
    }
    mImeState = 0;
  } else {
    if (mImeState == 1) return;
    if (mbFullScreen) {
      SetDisplayMode(false);
      ShowWindow(mhWnd, SW_MINIMIZE);
      mbMinimizedFull = true;
    }
    mImeState = 1;
  }
}

void CMainWindowImpl::PlaySysSE(int index) {
  Trace("CMainWindow::PlaySysSE");
  if (index < 0 || index > 2 || !mpSEBuffer || mSysSE[index] <= 0) return;
  mpSEBuffer->Play(mSysSE[index], 0, false);
}

plat::Cursor* CMainWindowImpl::ReadCursor(const char* nameOrId) {
  Trace("CMainWindow::ReadCursor");
  if (reinterpret_cast<uintptr_t>(nameOrId) < 65536) return CMainWindow::ReadCursor(nameOrId);
  // A cursor file from the data source; read from memory, no temporary file.
  CFileJoin* data = mpFileJoin[kJoinData];
  if (!data || !data->Open(nameOrId)) return nullptr;
  std::vector<uint8_t> bytes(data->GetSize());
  uint32_t got = bytes.empty() ? 0 : data->Read(bytes.data(), static_cast<uint32_t>(bytes.size()));
  data->Close();
  if (got != bytes.size()) return nullptr;
  return LoadCursorFromMemory(bytes.data(), bytes.size());
}

void CMainWindowImpl::ShowErrorBox(const char* textLocal) {
  Trace("CMainWindow::ShowErrorBox");
  // A box cannot sit over a full-screen picture: drop to a minimised window,
  // and come back to full screen through activation afterwards.
  bool wasFull = mbFullScreen;
  if (wasFull) ChangeActivate(false);
  CMainWindow::ShowErrorBox(textLocal);
  if (wasFull) ShowWindow(mhWnd, SW_RESTORE);
}

void CMainWindowImpl::ApplyPause(bool pause) {
  Trace("CMainWindow::ApplyPause");
  if (mpSEBuffer) mpSEBuffer->SetPause(pause);
  if (mpBGMBuffer) mpBGMBuffer->SetPause(pause);
  if (mpVoiceBuffer) mpVoiceBuffer->SetPause(pause);
  if (mpVideoPlayer) mpVideoPlayer->SetPause(pause);
}

plat::POINT CMainWindowImpl::GetMousePos() const {
  Trace("CMainWindow::GetMousePos");
  return mpInput ? mpInput->mptMouse : CMainWindow::GetMousePos();
}

LRESULT CMainWindowImpl::WndProc(uint32_t msg, WPARAM wp, LPARAM lp) {
  Trace("CMainWindow::WndProc");
  if (msg == kMsgDisplayMode) {
    SetDisplayMode(wp != 0);
    return 0;
  }
  if (msg == kMsgSetCursor) return OnSetCursor(msg, wp, lp);
  return CAppBaseWindow::WndProc(msg, wp, lp);
}

LRESULT CMainWindowImpl::OnDestroy(uint32_t msg, WPARAM wp, LPARAM lp) {
  Trace("CMainWindow::OnDestroy");
  DebugDetach();
  EndGame();
  mIni.pos = POINT{mWndRect.left, mWndRect.top};
  mIni.bNoneEffect = mbNoneEffect;
  mIni.nFrameSpeed = mFrameSpeed;
  mIni.bAltAndEnter = mbAltAndEnter;
  mIni.bSystemSE = mbSystemSE;
  mIni.bNonePause = mbNonePause;
  mIni.bBGMSmallVolume = gbBGMSmallVolume;
  mIni.bAlphaFlip = gbAlphaFlip;
  WriteIniSettings(gszIniPath, mIni);
  if (mpSaveData && !mpSaveData->SaveConfig())
    fprintf(stderr, "veltogame: cannot write the configuration save (CONFIG.SAV); the settings of this run are lost\n");
  ReleaseServices();
  PostQuitMessage(0);
  return CAppBaseWindow::OnDestroy(msg, wp, lp);
}

LRESULT CMainWindowImpl::OnMove(uint32_t msg, WPARAM wp, LPARAM lp) {
  Trace("CMainWindow::OnMove");
  if (!mbFullScreen && !IsIconic(mhWnd)) mWndRect = GetWindowRect(mhWnd);
  return CAppBaseWindow::OnMove(msg, wp, lp);
}

LRESULT CMainWindowImpl::OnActivate(uint32_t msg, WPARAM wp, LPARAM lp) {
  Trace("CMainWindow::OnActivate");
  bool active = LoWord(wp) != 0 && HiWord(wp) == 0;
  if (mpRunner) mpRunner->RecordActivate(active);
  if (active != mbActive) {
    if (mpInput) {
      mpInput->Clear();
      mpInput->SetEnable(active);
    }
    if (mpDisplay) mpDisplay->InvalidateAll();
    if (!mbNonePause) {
      if (mpVideoPlayer) mpVideoPlayer->SetPause(!active);
      if (mpBGMBuffer) mpBGMBuffer->SetPause(!active);
      if (mpSEBuffer) mpSEBuffer->SetPause(!active);
      if (mpVoiceBuffer) mpVoiceBuffer->SetPause(!active);
    }
  }
  if (!active) {
    mbWndActive = false;
    if (!mbAppActive) ChangeActivate(false);
  } else {
    mbWndActive = true;
    if (mbAppActive) ChangeActivate(true);
  }
  mbActive = active;
  if (!mbNonePause) mbRunning = active;
  return CAppBaseWindow::OnActivate(msg, wp, lp);
}

LRESULT CMainWindowImpl::OnActivateApp(uint32_t msg, WPARAM wp, LPARAM lp) {
  Trace("CMainWindow::OnActivateApp");
  mbAppActive = wp != 0;
  if (mbAppActive) {
    if (mbWndActive) ChangeActivate(true);
  } else {
    if (!mbWndActive) ChangeActivate(false);
  }
  return CAppBaseWindow::OnActivateApp(msg, wp, lp);
}

LRESULT CMainWindowImpl::OnPaint(uint32_t msg, WPARAM wp, LPARAM lp) {
  Trace("CMainWindow::OnPaint");
  if (MoviePlaying())
    mpVideoPlayer->Paint(mhWnd);
  else
    Present();
  return CAppBaseWindow::OnPaint(msg, wp, lp);
}

LRESULT CMainWindowImpl::OnEraseBkGnd(uint32_t, WPARAM, LPARAM) {
  Trace("CMainWindow::OnEraseBkGnd");
  if (mpDisplay) mpDisplay->InvalidateAll();
  return 0;
}

LRESULT CMainWindowImpl::OnClose(uint32_t msg, WPARAM wp, LPARAM lp) {
  Trace("CMainWindow::OnClose");
  if (!mbForceClose && mpRootFlow && mpRootFlow->GetScreen()) {
    PauseGame(true);
    bool wasFull = mbFullScreen;
    if (wasFull) ChangeActivate(false);
    int answer = MessageBox(mhWnd, LocalText(profile::BuildProfile().szCloseTextUtf8), GameTitle(),
                            MB_YESNO | MB_ICONQUESTION | MB_SETFOREGROUND);
    // A question that cannot be shown (0) must not keep the player in: it
    // counts as yes.
    if (answer != IDYES && answer != 0) {
      if (wasFull) ShowWindow(mhWnd, SW_RESTORE);
      PauseGame(false);
      return 0;
    }
    EndGame();
  }
  return CAppBaseWindow::OnClose(msg, wp, lp);
}

LRESULT CMainWindowImpl::OnSetCursor(uint32_t msg, WPARAM wp, LPARAM lp) {
  Trace("CMainWindow::OnSetCursor");
  if (msg == kMsgSetCursor) {
    ShowCursorShape(reinterpret_cast<plat::Cursor*>(wp));
    return 1;
  }
  return CAppBaseWindow::OnSetCursor(msg, wp, lp);
}

LRESULT CMainWindowImpl::OnChar(uint32_t msg, WPARAM wp, LPARAM lp) {
  Trace("CMainWindow::OnChar");
  if (mpRunner) mpRunner->RecordChar(static_cast<int>(wp));
  if (mpInput) mpInput->OnChar(static_cast<int32_t>(wp));
  return CAppBaseWindow::OnChar(msg, wp, lp);
}

LRESULT CMainWindowImpl::OnSysChar(uint32_t msg, WPARAM wp, LPARAM lp) {
  Trace("CMainWindow::OnSysChar");
  if (wp == '\r') return 0;  // Alt+Return must not beep
  return CAppBaseWindow::OnSysChar(msg, wp, lp);
}

LRESULT CMainWindowImpl::OnSysCommand(uint32_t msg, WPARAM wp, LPARAM lp) {
  Trace("CMainWindow::OnSysCommand");
  if ((wp & 0xFFF0) == SC_SCREENSAVE) return 0;
  return CAppBaseWindow::OnSysCommand(msg, wp, lp);
}

LRESULT CMainWindowImpl::OnMouseWheel(uint32_t msg, WPARAM wp, LPARAM lp) {
  Trace("CMainWindow::OnMouseWheel");
  if (mpRunner) mpRunner->RecordWheel(static_cast<int16_t>(HiWord(wp)));
  if (mpInput) {
    POINT pt{static_cast<int16_t>(LoWord(static_cast<WPARAM>(lp))), static_cast<int16_t>(HiWord(static_cast<WPARAM>(lp)))};
    mpInput->OnMouseWheel(LoWord(wp), HiWord(wp), &pt);
  }
  return CAppBaseWindow::OnMouseWheel(msg, wp, lp);
}

LRESULT CMainWindowImpl::OnEnterSizeMove(uint32_t msg, WPARAM wp, LPARAM lp) {
  Trace("CMainWindow::OnEnterSizeMove");
  return CAppBaseWindow::OnEnterSizeMove(msg, wp, lp);
}

LRESULT CMainWindowImpl::OnExitSizeMove(uint32_t msg, WPARAM wp, LPARAM lp) {
  Trace("CMainWindow::OnExitSizeMove");
  // Moving the window held the frame loop; that time is not lateness.
  ResetLossTime();
  return CAppBaseWindow::OnExitSizeMove(msg, wp, lp);
}
