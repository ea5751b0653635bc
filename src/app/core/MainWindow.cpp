#include "app/core/MainWindow.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/core/Trace.h"
#include "platform/Cursor.h"
#include "platform/Encoding.h"
#include "platform/KeyState.h"
#include "platform/MessageBox.h"
#include "platform/Timer.h"
#include "platform/Window.h"
#include "text/profile/TextProfile.h"

CMainWindow* gpMainWindow = nullptr;
char gszInstallDir[kMaxPathBytes] = "./";
char gszIniPath[kMaxPathBytes] = "./Novel.ini";
bool gbBGMSmallVolume = false;
bool gbAlphaFlip = false;

const char* GameTitle() { return plat::LocalText(profile::TitlePhraseUtf8()); }

CMainWindow::CMainWindow() {
  Trace("CMainWindow::CMainWindow");
  for (auto& slot : mCursor) slot.id = plat::SystemCursorId(0);
}

CMainWindow::~CMainWindow() {
  Trace("CMainWindow::~CMainWindow");
  for (auto& slot : mCursor)
    if (!slot.bSystem) plat::FreeCursor(slot.handle);
  for (plat::Cursor* cursor : mSystemCursor) plat::FreeCursor(cursor);
  if (gpMainWindow == this) gpMainWindow = nullptr;
}

void CMainWindow::PauseGame(bool pause) {
  Trace("CMainWindow::PauseGame");
  if (pause) {
    if (++mPauseCount > 1) return;
  } else {
    if (--mPauseCount > 0) return;
  }
  ApplyPause(pause);
  mbPause = pause;
  mLastFrameTime = plat::timeGetTime();
}

void CMainWindow::ResetLossTime() {
  Trace("CMainWindow::ResetLossTime");
  mLossTime = 0;
  mLastFrameTime = plat::timeGetTime();
}

void CMainWindow::PlaySysSE(int) { Trace("CMainWindow::PlaySysSE"); }

plat::Cursor* CMainWindow::ReadCursor(const char* nameOrId) {
  Trace("CMainWindow::ReadCursor");
  auto id = reinterpret_cast<uintptr_t>(nameOrId);
  if (id >= 65536) return nullptr;
  for (int i = 0; i < plat::kSystemCursorCount; ++i) {
    if (plat::SystemCursorId(i) != static_cast<int>(id)) continue;
    if (!mSystemCursor[i]) mSystemCursor[i] = plat::LoadSystemCursor(static_cast<int>(id));
    return mSystemCursor[i];
  }
  return nullptr;
}

void CMainWindow::SetCursorList(int slot, const char* nameOrId) {
  Trace("CMainWindow::SetCursorList");
  if (slot < 0 || slot > 255) return;
  plat::Cursor* handle = ReadCursor(nameOrId);
  CursorSlot& s = mCursor[slot];
  if (!s.bSystem) plat::FreeCursor(s.handle);
  s.handle = handle;
  auto id = reinterpret_cast<uintptr_t>(nameOrId);
  s.bSystem = id < 65536;
  if (s.bSystem) {
    s.id = static_cast<int>(id);
    s.name[0] = 0;
  } else {
    s.id = 0;
    snprintf(s.name, sizeof s.name, "%s", nameOrId);
  }
  if (slot == mCursorNo) plat::ShowCursorShape(handle);
}

void CMainWindow::SetCursorList(int slot, int systemIndex) {
  Trace("CMainWindow::SetCursorList");
  if (systemIndex < 0 || systemIndex >= plat::kSystemCursorCount) return;
  SetCursorList(slot, reinterpret_cast<const char*>(static_cast<uintptr_t>(plat::SystemCursorId(systemIndex))));
}

plat::POINT CMainWindow::GetMousePos() const {
  Trace("CMainWindow::GetMousePos");
  return plat::GetCursorClientPos(mhWnd);
}

void CMainWindow::ChangeCursor(int slot) {
  Trace("CMainWindow::ChangeCursor");
  if (slot < 0 || slot > 255) return;
  plat::POINT pt = GetMousePos();
  if (pt.x < 0 || pt.x > 800 || pt.y < 0 || pt.y > 600) return;
  if (mCursor[mCursorNo].handle && plat::CurrentCursorShape() != mCursor[slot].handle)
    plat::ShowCursorShape(mCursor[slot].handle);
  mCursorNo = slot;
}

void CMainWindow::SetDisplayMode(bool) { Trace("CMainWindow::SetDisplayMode"); }
void CMainWindow::ChangeActivate(bool) { Trace("CMainWindow::ChangeActivate"); }

void CMainWindow::ShowErrorBox(const char* textLocal) {
  Trace("CMainWindow::ShowErrorBox");
  plat::MessageBox(mhWnd, textLocal, GameTitle(), plat::MB_OK | plat::MB_ICONERROR);
}

void CMainWindow::ErrorMsg(const char* format, ...) {
  Trace("CMainWindow::ErrorMsg");
  // Formats are written as UTF-8 in the source; arguments are engine text in
  // the build's encoding, so the format is converted before formatting.
  std::string localFormat = plat::FromUtf8(format ? format : "");
  char text[1024];
  va_list args;
  va_start(args, format);
  vsnprintf(text, sizeof text, localFormat.c_str(), args);
  va_end(args);
  ShowErrorBox(text);
}

void CMainWindow::ErrorRead(const char* object, const char* file) {
  Trace("CMainWindow::ErrorRead");
  ErrorMsg("読み込みエラー\nOBJECT:%s\nFILE:%s", object ? object : "", file ? file : "");
}

void CMainWindow::ErrorMemory(const char* object, const char* member) {
  Trace("CMainWindow::ErrorMemory");
  ErrorMsg("メモリエラー\nOBJECT:%s\nNAME:%s", object ? object : "", member ? member : "");
}

void CMainWindow::ErrorETC(const char* object, const char* item) {
  Trace("CMainWindow::ErrorETC");
  ErrorMsg("エラー\nOBJECT:%s\nNAME:%s", object ? object : "", item ? item : "");
}

void CMainWindow::ForceClose() {
  Trace("CMainWindow::ForceClose");
  mbForceClose = true;
  if (mhWnd) plat::PostMessage(mhWnd, plat::WM_CLOSE, 0, 0);
}
