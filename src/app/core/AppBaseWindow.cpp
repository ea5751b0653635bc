#include "app/core/AppBaseWindow.h"

#include <map>
#include <string>

#include "app/core/AppIcon.h"
#include "app/core/Trace.h"
#include "platform/Window.h"

using namespace plat;

namespace {

// Window managers scale the icon they are given; 64 pixels look sharp in a
// task bar and a window switcher alike.
constexpr int kWindowIconSize = 64;

// Stands in for the global atom table: one counted atom per class name.
struct AtomTable {
  std::map<std::string, std::pair<uint16_t, int>> byName;
  uint16_t next = 0xC000;

  uint16_t Add(const std::string& name) {
    auto& entry = byName[name];
    if (entry.second == 0) entry.first = next++;
    ++entry.second;
    return entry.first;
  }
  void Delete(uint16_t atom) {
    for (auto it = byName.begin(); it != byName.end(); ++it) {
      if (it->second.first == atom) {
        if (--it->second.second <= 0) byName.erase(it);
        return;
      }
    }
  }
};

AtomTable& Atoms() {
  static AtomTable table;
  return table;
}

bool gClassRegistered = false;

}  // namespace

CAppBaseWindow::CAppBaseWindow() : mpPrevProc(DefWindowProc) { Trace("CAppBaseWindow::CAppBaseWindow"); }

CAppBaseWindow::~CAppBaseWindow() {
  Trace("CAppBaseWindow::~CAppBaseWindow");
  if (mAtom) Atoms().Delete(mAtom);
  mAtom = 0;
}

bool CAppBaseWindow::IsClassRegistered() {
  Trace("CAppBaseWindow::IsClassRegistered");
  return gClassRegistered;
}

bool CAppBaseWindow::CreateWnd(const char* windowName, const char*, uint32_t style, int x, int y, int width, int height,
                               CAppBaseWindow*, void*, int largeIcon, int smallIcon) {
  Trace("CAppBaseWindow::CreateWnd");
  // The class is registered once per process; every wrapper shares it.
  gClassRegistered = true;
  mpPrevProc = DefWindowProc;
  HWND hwnd = plat::CreateWindow(windowName, style, x, y, width, height, CallWndProc, this);
  // The program has one icon; any icon asked for is that one.
  if (hwnd && (largeIcon || smallIcon)) plat::SetWindowIcon(hwnd, DrawAppIcon(kWindowIconSize), kWindowIconSize);
  return hwnd != nullptr;
}

LRESULT CAppBaseWindow::CallWndProc(HWND hwnd, uint32_t msg, WPARAM wp, LPARAM lp) {
  Trace("CAppBaseWindow::CallWndProc");
  if (msg == WM_CREATE) {
    auto* self = reinterpret_cast<CAppBaseWindow*>(lp);
    if (!self) return DefWindowProc(hwnd, msg, wp, lp);
    SetWindowUserData(hwnd, self);
    self->mhWnd = hwnd;
    return self->OnCreate(msg, wp, lp);
  }
  auto* self = static_cast<CAppBaseWindow*>(GetWindowUserData(hwnd));
  if (!self) return DefWindowProc(hwnd, msg, wp, lp);
  return self->WndProc(msg, wp, lp);
}

void CAppBaseWindow::ClsAttach(HWND hwnd) {
  Trace("CAppBaseWindow::ClsAttach");
  mhWnd = hwnd;
  SetWindowUserData(hwnd, this);
  mpPrevProc = GetWindowProc(hwnd);
  SetWindowProc(hwnd, CallWndProc);
  if (!mAtom) mAtom = Atoms().Add(GetClassName());
}

HWND CAppBaseWindow::ClsDetach() {
  Trace("CAppBaseWindow::ClsDetach");
  HWND old = mhWnd;
  if (IsWindow(old)) {
    SetWindowProc(old, mpPrevProc);
    SetWindowUserData(old, nullptr);
  }
  mhWnd = nullptr;
  if (mAtom) Atoms().Delete(mAtom);
  mAtom = 0;
  return old;
}

void CAppBaseWindow::DestroyWnd() {
  Trace("CAppBaseWindow::DestroyWnd");
  if (mhWnd) plat::DestroyWindow(mhWnd);
}

LRESULT CAppBaseWindow::CallPrev(uint32_t msg, WPARAM wp, LPARAM lp) {
  Trace("CAppBaseWindow::CallPrev");
  return CallWindowProc(mpPrevProc, mhWnd, msg, wp, lp);
}

LRESULT CAppBaseWindow::OnCreate(uint32_t msg, WPARAM wp, LPARAM lp) {
  Trace("CAppBaseWindow::OnCreate");
  if (!mAtom) mAtom = Atoms().Add(GetClassName());
  return CallPrev(msg, wp, lp);
}

LRESULT CAppBaseWindow::OnNCDestroy(uint32_t msg, WPARAM wp, LPARAM lp) {
  Trace("CAppBaseWindow::OnNCDestroy");
  LRESULT r = CallPrev(msg, wp, lp);
  ClsDetach();
  std::string name = GetClassName();
  if (name != "CBaseDialog" && name != "CAppBaseWindow") delete this;
  return r;
}

LRESULT CAppBaseWindow::WndProc(uint32_t msg, WPARAM wp, LPARAM lp) {
  Trace("CAppBaseWindow::WndProc");
  switch (msg) {
    case WM_DESTROY: return OnDestroy(msg, wp, lp);
    case WM_MOVE: return OnMove(msg, wp, lp);
    case WM_SIZE: return OnSize(msg, wp, lp);
    case WM_ACTIVATE: return OnActivate(msg, wp, lp);
    case WM_SETFOCUS: return OnSetFocus(msg, wp, lp);
    case WM_SETTEXT: return OnSetText(msg, wp, lp);
    case WM_PAINT: return OnPaint(msg, wp, lp);
    case WM_CLOSE: return OnClose(msg, wp, lp);
    case WM_ERASEBKGND: return OnEraseBkGnd(msg, wp, lp);
    case WM_SETTINGCHANGE: return OnSettingChange(msg, wp, lp);
    case WM_ACTIVATEAPP: return OnActivateApp(msg, wp, lp);
    case WM_SETCURSOR: return OnSetCursor(msg, wp, lp);
    case WM_DRAWITEM: return OnDrawItem(msg, wp, lp);
    case WM_MEASUREITEM: return OnMeasureItem(msg, wp, lp);
    case WM_WINDOWPOSCHANGED: return OnWindowPosChanged(msg, wp, lp);
    case WM_NOTIFY: return OnNotify(msg, wp, lp);
    case WM_CONTEXTMENU: return OnContextMenu(msg, wp, lp);
    case WM_NCDESTROY: return OnNCDestroy(msg, wp, lp);
    case WM_NCCALCSIZE: return OnNCCalcSize(msg, wp, lp);
    case WM_NCHITTEST: return OnNCHitTest(msg, wp, lp);
    case WM_NCPAINT: return OnNCPaint(msg, wp, lp);
    case WM_NCACTIVATE: return OnNCActivate(msg, wp, lp);
    case WM_NCMOUSEMOVE: return OnNCMouseMove(msg, wp, lp);
    case WM_NCLBUTTONDOWN: return OnNCLButtonDown(msg, wp, lp);
    case WM_NCLBUTTONDBLCLK: return OnNCLButtonDblClk(msg, wp, lp);
    case WM_NCRBUTTONDOWN: return OnNCRButtonDown(msg, wp, lp);
    case WM_KEYDOWN: return OnKeyDown(msg, wp, lp);
    case WM_KEYUP: return OnKeyUp(msg, wp, lp);
    case WM_CHAR: return OnChar(msg, wp, lp);
    case WM_SYSKEYDOWN: return OnSysKeyDown(msg, wp, lp);
    case WM_SYSCHAR: return OnSysChar(msg, wp, lp);
    case WM_COMMAND: return OnCommand(msg, wp, lp);
    case WM_SYSCOMMAND: return OnSysCommand(msg, wp, lp);
    case WM_TIMER: return OnTimer(msg, wp, lp);
    case WM_HSCROLL: return OnHScroll(msg, wp, lp);
    case WM_VSCROLL: return OnVScroll(msg, wp, lp);
    case WM_INITMENUPOPUP: return OnInitMenuPopup(msg, wp, lp);
    case WM_MENUSELECT: return OnMenuSelect(msg, wp, lp);
    case WM_MENUCHAR: return OnMenuChar(msg, wp, lp);
    case WM_CTLCOLOREDIT: return OnCtlColorEdit(msg, wp, lp);
    case WM_CTLCOLORLISTBOX: return OnCtlColorListBox(msg, wp, lp);
    case WM_CTLCOLORBTN: return OnCtlColorBtn(msg, wp, lp);
    case WM_CTLCOLORSTATIC: return OnCtlColorStatic(msg, wp, lp);
    case WM_MOUSEMOVE: return OnMouseMove(msg, wp, lp);
    case WM_LBUTTONDOWN: return OnLButtonDown(msg, wp, lp);
    case WM_LBUTTONUP: return OnLButtonUp(msg, wp, lp);
    case WM_LBUTTONDBLCLK: return OnLButtonDblClk(msg, wp, lp);
    case WM_RBUTTONDOWN: return OnRButtonDown(msg, wp, lp);
    case WM_RBUTTONUP: return OnRButtonUp(msg, wp, lp);
    case WM_RBUTTONDBLCLK: return OnRButtonDblClk(msg, wp, lp);
    case WM_MOUSEWHEEL: return OnMouseWheel(msg, wp, lp);
    case WM_ENTERSIZEMOVE: return OnEnterSizeMove(msg, wp, lp);
    case WM_EXITSIZEMOVE: return OnExitSizeMove(msg, wp, lp);
    case WM_DROPFILES: return OnDropFiles(msg, wp, lp);
    case WM_PRINT: return OnPrint(msg, wp, lp);
    default: return CallPrev(msg, wp, lp);
  }
}

// Every other base handler hands its message on unchanged.
#define VELTO_PASS_ON(Handler)                                          \
  LRESULT CAppBaseWindow::Handler(uint32_t msg, WPARAM wp, LPARAM lp) { \
    Trace("CAppBaseWindow::" #Handler);                                 \
    return CallPrev(msg, wp, lp);                                       \
  }
VELTO_PASS_ON(OnDestroy)
VELTO_PASS_ON(OnMove)
VELTO_PASS_ON(OnSize)
VELTO_PASS_ON(OnActivate)
VELTO_PASS_ON(OnSetFocus)
VELTO_PASS_ON(OnSetText)
VELTO_PASS_ON(OnPaint)
VELTO_PASS_ON(OnClose)
VELTO_PASS_ON(OnEraseBkGnd)
VELTO_PASS_ON(OnSettingChange)
VELTO_PASS_ON(OnActivateApp)
VELTO_PASS_ON(OnSetCursor)
VELTO_PASS_ON(OnDrawItem)
VELTO_PASS_ON(OnMeasureItem)
VELTO_PASS_ON(OnWindowPosChanged)
VELTO_PASS_ON(OnNotify)
VELTO_PASS_ON(OnContextMenu)
VELTO_PASS_ON(OnNCCalcSize)
VELTO_PASS_ON(OnNCHitTest)
VELTO_PASS_ON(OnNCPaint)
VELTO_PASS_ON(OnNCActivate)
VELTO_PASS_ON(OnNCMouseMove)
VELTO_PASS_ON(OnNCLButtonDown)
VELTO_PASS_ON(OnNCLButtonDblClk)
VELTO_PASS_ON(OnNCRButtonDown)
VELTO_PASS_ON(OnKeyDown)
VELTO_PASS_ON(OnKeyUp)
VELTO_PASS_ON(OnChar)
VELTO_PASS_ON(OnSysKeyDown)
VELTO_PASS_ON(OnSysChar)
VELTO_PASS_ON(OnCommand)
VELTO_PASS_ON(OnSysCommand)
VELTO_PASS_ON(OnTimer)
VELTO_PASS_ON(OnHScroll)
VELTO_PASS_ON(OnVScroll)
VELTO_PASS_ON(OnInitMenuPopup)
VELTO_PASS_ON(OnMenuSelect)
VELTO_PASS_ON(OnMenuChar)
VELTO_PASS_ON(OnCtlColorEdit)
VELTO_PASS_ON(OnCtlColorListBox)
VELTO_PASS_ON(OnCtlColorBtn)
VELTO_PASS_ON(OnCtlColorStatic)
VELTO_PASS_ON(OnMouseMove)
VELTO_PASS_ON(OnLButtonDown)
VELTO_PASS_ON(OnLButtonUp)
VELTO_PASS_ON(OnLButtonDblClk)
VELTO_PASS_ON(OnRButtonDown)
VELTO_PASS_ON(OnRButtonUp)
VELTO_PASS_ON(OnRButtonDblClk)
VELTO_PASS_ON(OnMouseWheel)
VELTO_PASS_ON(OnEnterSizeMove)
VELTO_PASS_ON(OnExitSizeMove)
VELTO_PASS_ON(OnDropFiles)
VELTO_PASS_ON(OnPrint)
#undef VELTO_PASS_ON
