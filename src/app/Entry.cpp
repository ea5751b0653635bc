#include "app/Entry.h"

#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <sys/time.h>

#include "app/MainWindowImpl.h"
#include "app/RegisterScreens.h"
#include "app/RunOptions.h"
#include "app/core/Trace.h"
#include "save/SaveFolder.h"
#include "platform/AudioDevice.h"
#include "platform/Encoding.h"
#include "platform/InstanceLock.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/Random.h"
#include "platform/Timer.h"
#include "platform/Window.h"

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

void CopyText(char* dst, size_t size, const std::string& src) {
  snprintf(dst, size, "%s", src.c_str());
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
  TraceDump(gszInstallDir);
  const char* format = "予期せぬエラーが発生しました。\nエラーログを出力しました。\n%sVQLog.txt";
  std::string dir = plat::FromUtf8(gszInstallDir);
  if (gpMainWindow) {
    gpMainWindow->ErrorMsg(format, dir.c_str());
  } else {
    char text[1024];
    snprintf(text, sizeof text, plat::LocalText(format), dir.c_str());
    plat::MessageBox(nullptr, text, GameTitle(), plat::MB_OK | plat::MB_ICONERROR);
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
  for (;;) {
    plat::MSG msg;
    if (plat::PeekMessage(msg)) {
      if (msg.message == plat::WM_QUIT) {
        TraceDump(nullptr);
        delete gpMainWindow;
        gpMainWindow = nullptr;
        gLock.Close();
        return static_cast<int>(msg.wParam);
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
    fprintf(stderr, "veltogame: the game is already running\n");
    return 0;
  }

  CopyText(gszInstallDir, sizeof gszInstallDir,
           plat::FindInstallDir(options.gameDir.empty() ? nullptr : options.gameDir.c_str()));
  // Saves (and the write-back of Novel.ini) move to a per-user folder when
  // the installation cannot be written.
  save::SetupSaveLocation(gszInstallDir);
  CopyText(gszIniPath, sizeof gszIniPath, save::SetupIniPath(gszInstallDir));

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
