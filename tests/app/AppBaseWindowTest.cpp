#include "app/core/AppBaseWindow.h"

#include <gtest/gtest.h>

#include "platform/Window.h"

namespace {

int gDeleted = 0;
int gPrevCalls = 0;

class CDerivedWindow : public CAppBaseWindow {
 public:
  ~CDerivedWindow() override { ++gDeleted; }
  const char* GetClassName() const override { return "CDerivedWindow"; }
  LRESULT OnClose(uint32_t, WPARAM, LPARAM) override {
    ++closes;
    return 42;
  }
  int closes = 0;
};

plat::LRESULT CountingProc(plat::HWND hwnd, uint32_t msg, plat::WPARAM wp, plat::LPARAM lp) {
  ++gPrevCalls;
  return plat::DefWindowProc(hwnd, msg, wp, lp);
}

class WindowWrapper : public ::testing::Test {
 protected:
  void SetUp() override {
    plat::SetHeadless(true);
    gDeleted = 0;
    gPrevCalls = 0;
  }
};

TEST_F(WindowWrapper, MessagesBeforeCreateGoToTheDefaultProcedure) {
  plat::HWND w = plat::CreateWindow("x", 0, 0, 0, 800, 600, CAppBaseWindow::CallWndProc, nullptr);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(plat::SendMessage(w, plat::WM_ERASEBKGND, 0, 0), 1) << "the default answer, no object yet";
  plat::DestroyWindow(w);
}

TEST_F(WindowWrapper, DerivedWrapperDeletesItselfOnceWithItsWindow) {
  auto* wnd = new CDerivedWindow;
  ASSERT_TRUE(wnd->CreateWnd("x", "GAMECLASS", 0, 0, 0, 800, 600, nullptr, nullptr, 0, 0));
  EXPECT_TRUE(CAppBaseWindow::IsClassRegistered());
  plat::HWND w = wnd->GetHWnd();
  EXPECT_NE(wnd->GetClassAtom(), 0);
  EXPECT_EQ(plat::SendMessage(w, plat::WM_CLOSE, 0, 0), 42);
  EXPECT_EQ(wnd->closes, 1);
  plat::DestroyWindow(w);
  EXPECT_EQ(gDeleted, 1);
  EXPECT_FALSE(plat::IsWindow(w));
}

TEST_F(WindowWrapper, PlainWrapperSurvivesDetached) {
  CAppBaseWindow wnd;
  ASSERT_TRUE(wnd.CreateWnd("x", "GAMECLASS", 0, 0, 0, 800, 600, nullptr, nullptr, 0, 0));
  plat::DestroyWindow(wnd.GetHWnd());
  EXPECT_EQ(wnd.GetHWnd(), nullptr);
  ASSERT_TRUE(wnd.CreateWnd("y", "GAMECLASS", 0, 0, 0, 800, 600, nullptr, nullptr, 0, 0)) << "no second registration";
  plat::HWND second = wnd.GetHWnd();
  plat::DestroyWindow(second);
  EXPECT_EQ(wnd.GetHWnd(), nullptr);
  EXPECT_EQ(wnd.GetClassAtom(), 0);
}

TEST_F(WindowWrapper, AttachedWrapperPassesUnhandledMessagesToThePreviousProcedure) {
  plat::HWND w = plat::CreateWindow("x", 0, 0, 0, 800, 600, CountingProc, nullptr);
  gPrevCalls = 0;
  auto* wnd = new CDerivedWindow;
  wnd->ClsAttach(w);
  plat::SendMessage(w, plat::WM_SETTEXT, 0, 0);   // base handler: passes on
  plat::SendMessage(w, plat::WM_USER + 99, 0, 0);  // unknown: passes on
  plat::SendMessage(w, plat::WM_CLOSE, 0, 0);      // overridden: does not
  EXPECT_EQ(gPrevCalls, 2);
  EXPECT_EQ(wnd->closes, 1);
  plat::DestroyWindow(w);
  EXPECT_EQ(gDeleted, 1);
}

}  // namespace
