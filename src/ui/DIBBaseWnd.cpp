#include "ui/DIBBaseWnd.h"

#include "app/core/MainWindow.h"
#include "app/core/Trace.h"

CDIBBaseWnd::CDIBBaseWnd(CBaseGame* parent) : CBaseGame(parent) { Trace("CDIBBaseWnd::CDIBBaseWnd"); }

CDIBBaseWnd::~CDIBBaseWnd() {
  Trace("CDIBBaseWnd::~CDIBBaseWnd");
  CDIBBaseWnd::Release();
}

bool CDIBBaseWnd::Initialize() {
  Trace("CDIBBaseWnd::Initialize");
  return CBaseGame::Initialize();
}

void CDIBBaseWnd::Release() {
  Trace("CDIBBaseWnd::Release");
  CBaseGame::Release();
}

void CDIBBaseWnd::Move() {
  Trace("CDIBBaseWnd::Move");
  MoveOpenClose();
}

void CDIBBaseWnd::Draw(CDIBImage*) { Trace("CDIBBaseWnd::Draw"); }

void CDIBBaseWnd::Open(bool animate) {
  Trace("CDIBBaseWnd::Open");
  mnOpenCloseTime = animate ? 0 : mnOpenCloseSpan;
  mbOpen = true;
  mbOpenCloseMove = animate;
  SetAllCtrlInput(false);
}

void CDIBBaseWnd::Close(bool animate) {
  Trace("CDIBBaseWnd::Close");
  mnOpenCloseTime = animate ? 0 : mnOpenCloseSpan;
  mbOpen = false;
  mbOpenCloseMove = animate;
  SetAllCtrlInput(false);
}

void CDIBBaseWnd::Blt(CDIBImage*) { Trace("CDIBBaseWnd::Blt"); }

void CDIBBaseWnd::MoveOpenClose() {
  Trace("CDIBBaseWnd::MoveOpenClose");
  if (!mbOpenCloseMove) return;
  if (mnOpenCloseTime < mnOpenCloseSpan) {
    mnOpenCloseTime += gpMainWindow ? gpMainWindow->mFrameTime : 30;
    if (mnOpenCloseTime > mnOpenCloseSpan) mnOpenCloseTime = mnOpenCloseSpan;
    return;
  }
  if (mbOpen) SetAllCtrlInput(true);
  mbOpenCloseMove = false;
}

bool CDIBBaseWnd::IsOpen() {
  Trace("CDIBBaseWnd::IsOpen");
  return mbOpen;
}

bool CDIBBaseWnd::IsOpenCloseMove() {
  Trace("CDIBBaseWnd::IsOpenCloseMove");
  return mbOpenCloseMove;
}
