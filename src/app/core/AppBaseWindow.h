// The object wrapper around one window: every window message the engine
// cares about becomes a call of one virtual handler, and every handler that a
// derived class does not override passes its message on to the window's
// previous procedure unchanged.
#pragma once
#include <cstdint>

#include "app/core/Trace.h"
#include "platform/Win.h"

using plat::HWND;
using plat::LPARAM;
using plat::LRESULT;
using plat::WPARAM;

class CAppBaseWindow {
 public:
  CAppBaseWindow();
  virtual ~CAppBaseWindow();

  virtual const char* GetClassName() const {
    Trace("CAppBaseWindow::GetClassName");
    return "CAppBaseWindow";
  }
  virtual void ClsAttach(HWND hwnd);
  virtual HWND ClsDetach();
  virtual void DestroyWnd();
  virtual LRESULT WndProc(uint32_t msg, WPARAM wp, LPARAM lp);
  virtual LRESULT OnCreate(uint32_t msg, WPARAM wp, LPARAM lp);

  // One handler per message kind, in dispatch-table order.
  virtual LRESULT OnDestroy(uint32_t msg, WPARAM wp, LPARAM lp);
  virtual LRESULT OnMove(uint32_t msg, WPARAM wp, LPARAM lp);
  virtual LRESULT OnSize(uint32_t msg, WPARAM wp, LPARAM lp);
  virtual LRESULT OnActivate(uint32_t msg, WPARAM wp, LPARAM lp);
  virtual LRESULT OnSetFocus(uint32_t msg, WPARAM wp, LPARAM lp);
  virtual LRESULT OnSetText(uint32_t msg, WPARAM wp, LPARAM lp);
  virtual LRESULT OnPaint(uint32_t msg, WPARAM wp, LPARAM lp);
  virtual LRESULT OnClose(uint32_t msg, WPARAM wp, LPARAM lp);
  virtual LRESULT OnEraseBkGnd(uint32_t msg, WPARAM wp, LPARAM lp);
  virtual LRESULT OnSettingChange(uint32_t msg, WPARAM wp, LPARAM lp);
  virtual LRESULT OnActivateApp(uint32_t msg, WPARAM wp, LPARAM lp);
  virtual LRESULT OnSetCursor(uint32_t msg, WPARAM wp, LPARAM lp);
  virtual LRESULT OnDrawItem(uint32_t msg, WPARAM wp, LPARAM lp);
  virtual LRESULT OnMeasureItem(uint32_t msg, WPARAM wp, LPARAM lp);
  virtual LRESULT OnWindowPosChanged(uint32_t msg, WPARAM wp, LPARAM lp);
  virtual LRESULT OnNotify(uint32_t msg, WPARAM wp, LPARAM lp);
  virtual LRESULT OnContextMenu(uint32_t msg, WPARAM wp, LPARAM lp);
  virtual LRESULT OnNCDestroy(uint32_t msg, WPARAM wp, LPARAM lp);
  virtual LRESULT OnNCCalcSize(uint32_t msg, WPARAM wp, LPARAM lp);
  virtual LRESULT OnNCHitTest(uint32_t msg, WPARAM wp, LPARAM lp);
  virtual LRESULT OnNCPaint(uint32_t msg, WPARAM wp, LPARAM lp);
  virtual LRESULT OnNCActivate(uint32_t msg, WPARAM wp, LPARAM lp);
  virtual LRESULT OnNCMouseMove(uint32_t msg, WPARAM wp, LPARAM lp);
  virtual LRESULT OnNCLButtonDown(uint32_t msg, WPARAM wp, LPARAM lp);
  virtual LRESULT OnNCLButtonDblClk(uint32_t msg, WPARAM wp, LPARAM lp);
  virtual LRESULT OnNCRButtonDown(uint32_t msg, WPARAM wp, LPARAM lp);
  virtual LRESULT OnKeyDown(uint32_t msg, WPARAM wp, LPARAM lp);
  virtual LRESULT OnKeyUp(uint32_t msg, WPARAM wp, LPARAM lp);
  virtual LRESULT OnChar(uint32_t msg, WPARAM wp, LPARAM lp);
  virtual LRESULT OnSysKeyDown(uint32_t msg, WPARAM wp, LPARAM lp);
  virtual LRESULT OnSysChar(uint32_t msg, WPARAM wp, LPARAM lp);
  virtual LRESULT OnCommand(uint32_t msg, WPARAM wp, LPARAM lp);
  virtual LRESULT OnSysCommand(uint32_t msg, WPARAM wp, LPARAM lp);
  virtual LRESULT OnTimer(uint32_t msg, WPARAM wp, LPARAM lp);
  virtual LRESULT OnHScroll(uint32_t msg, WPARAM wp, LPARAM lp);
  virtual LRESULT OnVScroll(uint32_t msg, WPARAM wp, LPARAM lp);
  virtual LRESULT OnInitMenuPopup(uint32_t msg, WPARAM wp, LPARAM lp);
  virtual LRESULT OnMenuSelect(uint32_t msg, WPARAM wp, LPARAM lp);
  virtual LRESULT OnMenuChar(uint32_t msg, WPARAM wp, LPARAM lp);
  virtual LRESULT OnCtlColorEdit(uint32_t msg, WPARAM wp, LPARAM lp);
  virtual LRESULT OnCtlColorListBox(uint32_t msg, WPARAM wp, LPARAM lp);
  virtual LRESULT OnCtlColorBtn(uint32_t msg, WPARAM wp, LPARAM lp);
  virtual LRESULT OnCtlColorStatic(uint32_t msg, WPARAM wp, LPARAM lp);
  virtual LRESULT OnMouseMove(uint32_t msg, WPARAM wp, LPARAM lp);
  virtual LRESULT OnLButtonDown(uint32_t msg, WPARAM wp, LPARAM lp);
  virtual LRESULT OnLButtonUp(uint32_t msg, WPARAM wp, LPARAM lp);
  virtual LRESULT OnLButtonDblClk(uint32_t msg, WPARAM wp, LPARAM lp);
  virtual LRESULT OnRButtonDown(uint32_t msg, WPARAM wp, LPARAM lp);
  virtual LRESULT OnRButtonUp(uint32_t msg, WPARAM wp, LPARAM lp);
  virtual LRESULT OnRButtonDblClk(uint32_t msg, WPARAM wp, LPARAM lp);
  virtual LRESULT OnMouseWheel(uint32_t msg, WPARAM wp, LPARAM lp);
  virtual LRESULT OnEnterSizeMove(uint32_t msg, WPARAM wp, LPARAM lp);
  virtual LRESULT OnExitSizeMove(uint32_t msg, WPARAM wp, LPARAM lp);
  virtual LRESULT OnDropFiles(uint32_t msg, WPARAM wp, LPARAM lp);
  virtual LRESULT OnPrint(uint32_t msg, WPARAM wp, LPARAM lp);

  // Creates the window (registering the window class on first use) and
  // attaches this wrapper to it. Icons have no meaning here and are ignored.
  bool CreateWnd(const char* windowName, const char* className, uint32_t style, int x, int y, int width, int height,
                 CAppBaseWindow* parent, void* menu, int largeIcon, int smallIcon);

  // The procedure the window system calls for every window a wrapper owns.
  static LRESULT CallWndProc(HWND hwnd, uint32_t msg, WPARAM wp, LPARAM lp);

  HWND GetHWnd() const { return mhWnd; }
  uint16_t GetClassAtom() const { return mAtom; }
  // True once a window class has been registered in this process.
  static bool IsClassRegistered();

 protected:
  LRESULT CallPrev(uint32_t msg, WPARAM wp, LPARAM lp);

  HWND mhWnd = nullptr;
  plat::WNDPROC mpPrevProc;
  uint16_t mAtom = 0;
};
