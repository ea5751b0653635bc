#include "app/Entry.h"

#include <signal.h>
#include <sys/time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "app/MainWindowImpl.h"
#include "app/RegisterScreens.h"
#include "app/RunOptions.h"
#include "app/core/Trace.h"
#include "platform/AudioDevice.h"
#include "platform/Encoding.h"
#include "platform/InstanceLock.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/Random.h"
#include "platform/TermSignal.h"
#include "platform/Timer.h"
#include "platform/Window.h"
#include "save/SaveFileIO.h"
#include "save/SaveFolder.h"

namespace {

plat::InstanceLock gLock;

CMainWindowImpl* App() { return static_cast<CMainWindowImpl*>(gpMainWindow); }

// The random generator is seeded from the local time, folded into 32 bits.
unsigned TimeSeed() {
  timeval tv{};
  gettimeofday(&tv, nullptr);
  tm local{};
  time_t secs = tv.tv_sec;
  localtime_r(&secs, &local);
  uint32_t v = static_cast<uint32_t>(local.tm_mon + 1) * 720u + static_cast<uint32_t>(local.tm_mday) * 24u +
               static_cast<uint32_t>(local.tm_hour);
  v = ((v * 60u + static_cast<uint32_t>(local.tm_min)) * 60u + static_cast<uint32_t>(local.tm_sec)) * 1000u +
      static_cast<uint32_t>(tv.tv_usec / 1000);
  return v;
}

// Copies a path into one of the fixed process-wide buffers; a path that
// does not fit is refused, never cut (a cut one names another file).
bool CopyPath(char* dst, size_t size, const std::string& src) {
  if (src.size() >= size) return false;
  memcpy(dst, src.c_str(), src.size() + 1);
  return true;
}

// A start-up refusal: the reason on standard error and, with a display, in
// a box (the text is plain ASCII, valid in every build's encoding).
int RefuseStart(const std::string& reason) {
  std::string text = "veltogame: " + reason;
  plat::MessageBox(nullptr, text.c_str(), GameTitle(), plat::MB_OK | plat::MB_ICONERROR);
  gLock.Close();
  return -1;
}

void OnFatalSignal(int sig) {
  // Once only: a second fault while reporting ends the process at once.
  static volatile sig_atomic_t entered = 0;
  if (entered) _exit(255);
  entered = 1;
  (void)sig;
  ReportUnexpectedFailure();
  _exit(255);
}

}  // namespace

void InstallFatalSignalHandlers() {
  struct sigaction sa {};
  sa.sa_handler = OnFatalSignal;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = SA_NODEFER;
  sigaction(SIGSEGV, &sa, nullptr);
  sigaction(SIGBUS, &sa, nullptr);
  sigaction(SIGFPE, &sa, nullptr);
}

void ReportUnexpectedFailure() {
  // The log goes beside the game; where the installation cannot be written
  // (installed read-only), to the player's own folder of this game.
  std::string where = gszInstallDir;
  bool written = TraceWrite(where.c_str());
  if (!written) {
    where = save::PerUserFolder(gszInstallDir);
    written = !where.empty() && save::MakeFolders(where) && TraceWrite(where.c_str());
  }
  TraceDump(nullptr);
  const char* format = written ? "予期せぬエラーが発生しました。\nエラーログを出力しました。\n%sVQLog.txt"
                               : "予期せぬエラーが発生しました。\nエラーログを出力できませんでした。%s";
  std::string dir = written ? plat::FromUtf8(where.c_str()) : std::string();
  if (gpMainWindow) {
    gpMainWindow->ErrorMsg(format, dir.c_str());
  } else {
    std::string text(strlen(format) + dir.size() + 64, '\0');
    snprintf(text.data(), text.size(), plat::LocalText(format), dir.c_str());
    plat::MessageBox(nullptr, text.c_str(), GameTitle(), plat::MB_OK | plat::MB_ICONERROR);
  }
  // The object goes without its handlers running (they would save over a
  // state the failure may have broken); its window goes with it.
  if (CMainWindow* app = gpMainWindow) {
    plat::HWND hwnd = app->ClsDetach();
    delete app;
    plat::DestroyWindow(hwnd);
  }
  gpMainWindow = nullptr;
  gLock.Close();
}

int RunMainLoop() {
  int signalled = 0;
  for (;;) {
    // A termination request from the system closes as a normal exit does
    // (settings and saves written) without asking the player.
    if (int sig = plat::TakeTermSignal(); sig && App() && !signalled) {
      signalled = sig;
      App()->ForceClose();
    }
    // A second start asked this game to come forward.
    if (gLock.TakeRaiseRequest() && App()) App()->ComeForward();
    plat::MSG msg;
    if (plat::PeekMessage(msg)) {
      if (msg.message == plat::WM_QUIT) {
        TraceDump(nullptr);
        delete gpMainWindow;
        gpMainWindow = nullptr;
        gLock.Close();
        return signalled ? 128 + signalled : static_cast<int>(msg.wParam);
      }
      plat::DispatchMessage(msg);
    }
    try {
      if (App()) App()->OnIdle();
    } catch (...) {
      ReportUnexpectedFailure();
      return -1;
    }
    // Wait for the rest of the frame period rather than spin; messages
    // posted meanwhile wake the wait early.
    uint32_t wait = App() ? App()->TimeToNextFrame() : 30;
    if (wait > 0) plat::WaitForMessages(wait);
  }
}

int VeltoMain(int argc, char** argv) {
  RunOptions options;
  std::string error;
  if (!ParseRunOptions(argc, argv, options, error)) {
    fprintf(stderr, "veltogame: %s\n\n%s", error.c_str(), RunUsage());
    return 2;
  }
  if (options.showHelp) {
    printf("%s", RunUsage());
    return 0;
  }
  if (options.showVersion) {
    printf("veltogame 0.1.0\n");
    return 0;
  }

  plat::SetHeadless(options.headless);
  // A headless run is a tool for tests and recordings; it does not count as
  // the player's running game.
  if (!options.headless && !gLock.Acquire("VELTO")) {
    if (plat::InstanceLock::AskHolderToRaise("VELTO", 3000))
      fprintf(stderr, "veltogame: the game is already running; its window was brought forward\n");
    else
      fprintf(stderr, "veltogame: the game is already running\n");
    return 0;
  }
  // Before the window system starts, so that it leaves the signals to us.
  plat::InstallTermSignals();

  const std::string installDir = plat::FindInstallDir(options.gameDir.empty() ? nullptr : options.gameDir.c_str());
  if (installDir.size() + strlen("Novel.ini") >= sizeof gszInstallDir)
    return RefuseStart("the game folder's path is too long (" + std::to_string(installDir.size()) + " bytes; at most " +
                       std::to_string(sizeof gszInstallDir - 1 - strlen("Novel.ini")) + ")");
  CopyPath(gszInstallDir, sizeof gszInstallDir, installDir);
  // Saves (and the write-back of Novel.ini) move to a per-user folder when
  // the installation cannot be written.
  if (!save::SetupSaveLocation(installDir, error)) return RefuseStart(error);
  if (!CopyPath(gszIniPath, sizeof gszIniPath, save::SetupIniPath(installDir)))
    return RefuseStart("the path of the settings file Novel.ini is too long");
  // What saves killed half-way left behind.
  save::RemoveStaleSaveTemporaries(gszIniPath);

  if (options.fixedStep) {
    // Fixed-step runs are reproducible: virtual time and a fixed seed.
    plat::SetVirtualClock(true, 0x10000);
    plat::SRand(1);
  } else {
    plat::SRand(TimeSeed());
  }
  InstallFatalSignalHandlers();

  if (options.headless) plat::SetAudioBackend(plat::AudioBackend::Null);
  if (!options.audioOut.empty()) plat::SetAudioCaptureFile(options.audioOut);
  if (!plat::InitVideo()) {
    gLock.Close();
    return -1;
  }
  RegisterGameScreens();
  auto* app = new CMainWindowImpl(options);
  gpMainWindow = app;
  if (!app->GetRunner()->Prepare(error)) {
    fprintf(stderr, "veltogame: %s\n", error.c_str());
    delete app;
    gpMainWindow = nullptr;
    gLock.Close();
    return 2;
  }
  if (!app->Create()) {
    if (plat::IsWindow(app->GetHWnd())) {
      app->mbForceClose = true;
      plat::DestroyWindow(app->GetHWnd());  // deletes the object with its window
    } else {
      delete app;
    }
    gpMainWindow = nullptr;
    gLock.Close();
    return -1;
  }
  TraceInit();
  int code = RunMainLoop();
  plat::ShutdownVideo();
  return code;
}
