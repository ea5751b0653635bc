#include "ui/BaseGame.h"

#include <cstring>
#include <new>

#include "app/core/MainWindow.h"
#include "app/core/Trace.h"
#include "ui/DIBButtonCtrl.h"
#include "ui/DIBCheckCtrl.h"
#include "ui/DIBImageCtrl.h"
#include "ui/DIBScrollCtrl.h"

void InitCtrlDef(CtrlDef* def) {
  Trace("InitCtrlDef");
  memset(def, 0, sizeof *def);
  def->bShow = true;
  def->bEnable = true;
  def->dwColor = 0xFFFFFFFFu;
  def->bEnterSE = true;
  def->bOncurSE = true;
  def->nJumpNum = 1;
}

CBaseGame::CBaseGame(CBaseGame* parent) : mpParent(parent) { Trace("CBaseGame::CBaseGame"); }

CBaseGame::~CBaseGame() {
  Trace("CBaseGame::~CBaseGame");
  CBaseGame::Release();
}

bool CBaseGame::Initialize() {
  Trace("CBaseGame::Initialize");
  Release();
  mnForcusReq = FORCUS_REQ_NONE;
  return true;
}

void CBaseGame::Release() {
  Trace("CBaseGame::Release");
  CDIBBaseCtrl* ctrl = mpCtrlTop;
  mpCtrlTop = nullptr;
  while (ctrl) {
    CDIBBaseCtrl* next = ctrl->GetNext();
    delete ctrl;
    ctrl = next;
  }
  mbCtrlLock = false;
}

CDIBBaseCtrl* CBaseGame::MakeControl(int32_t type, const CtrlDef* def) {
  Trace("CBaseGame::MakeControl");
  CDIBBaseCtrl* ctrl = nullptr;
  switch (type) {
    case CTRL_BUTTON: ctrl = new (std::nothrow) CDIBButtonCtrl(this); break;
    case CTRL_CHECK: ctrl = new (std::nothrow) CDIBCheckCtrl(this); break;
    case CTRL_SCROLL: ctrl = new (std::nothrow) CDIBScrollCtrl(this); break;
    case CTRL_IMAGE: ctrl = new (std::nothrow) CDIBImageCtrl(this); break;
    default: return nullptr;
  }
  if (!ctrl) return nullptr;
  if (def && !ctrl->Initialize(def)) {
    delete ctrl;
    return nullptr;
  }
  if (!mpCtrlTop) {
    mpCtrlTop = ctrl;
  } else {
    CDIBBaseCtrl* last = mpCtrlTop;
    while (last->GetNext()) last = last->GetNext();
    last->SetNext(ctrl);
  }
  return ctrl;
}

void CBaseGame::DeleteControl(int32_t id) {
  Trace("CBaseGame::DeleteControl");
  CDIBBaseCtrl* prev = nullptr;
  CDIBBaseCtrl* ctrl = mpCtrlTop;
  while (ctrl) {
    CDIBBaseCtrl* next = ctrl->GetNext();
    if (ctrl->GetID() == id) {
      if (prev)
        prev->SetNext(next);
      else
        mpCtrlTop = next;
      delete ctrl;
    } else {
      prev = ctrl;
    }
    ctrl = next;
  }
}

int32_t CBaseGame::GetCtrlCount() {
  Trace("CBaseGame::GetCtrlCount");
  int32_t count = 0;
  for (CDIBBaseCtrl* c = mpCtrlTop; c; c = c->GetNext()) ++count;
  return count;
}

void CBaseGame::Move() { Trace("CBaseGame::Move"); }

void CBaseGame::UpdateForcus() {
  Trace("CBaseGame::UpdateForcus");
  if (mnForcusReq == FORCUS_REQ_KILL_ALL) {
    for (CDIBBaseCtrl* c = GetCtrl(0); c; c = c->GetNext())
      if (c->IsForcus()) c->OnKillForcus();
  } else if (mnForcusReq >= 0) {
    if (CDIBBaseCtrl* c = GetCtrl(mnForcusReq)) c->OnGetForcus();
  }
  mnForcusReq = FORCUS_REQ_NONE;
}

void CBaseGame::Draw(CDIBImage*) { Trace("CBaseGame::Draw"); }

CDIBBaseCtrl* CBaseGame::GetCtrl(int32_t id) {
  Trace("CBaseGame::GetCtrl");
  for (CDIBBaseCtrl* c = mpCtrlTop; c; c = c->GetNext())
    if (c->GetID() == id) return c;
  return nullptr;
}

bool CBaseGame::IsForcusInAll() {
  Trace("CBaseGame::IsForcusInAll");
  if (mnForcusReq >= 0) return true;
  for (CDIBBaseCtrl* c = mpCtrlTop; c; c = c->GetNext())
    if (c->IsForcus()) return true;
  return false;
}

void CBaseGame::ResetForcusInAll() {
  Trace("CBaseGame::ResetForcusInAll");
  for (CDIBBaseCtrl* c = mpCtrlTop; c; c = c->GetNext())
    if (c->IsForcus()) c->OnKillForcus();
}

void CBaseGame::SetAllCtrlInput(bool enable) {
  Trace("CBaseGame::SetAllCtrlInput");
  for (CDIBBaseCtrl* c = mpCtrlTop; c; c = c->GetNext()) c->SetInputEnable(enable);
}

void CBaseGame::SetExit(int32_t code) {
  Trace("CBaseGame::SetExit");
  mbExit = true;
  mnExitCode = code;
  mnExitParam = 0;
}

bool CBaseGame::IsExit() {
  Trace("CBaseGame::IsExit");
  return mbExit;
}
CBaseGame* CBaseGame::GetParent() {
  Trace("CBaseGame::GetParent");
  return mpParent;
}
bool CBaseGame::IsCtrlLock() {
  Trace("CBaseGame::IsCtrlLock");
  return mbCtrlLock;
}
void CBaseGame::SetCtrlLock(bool lock) {
  Trace("CBaseGame::SetCtrlLock");
  mbCtrlLock = lock;
}
int32_t CBaseGame::GetForcusReq() {
  Trace("CBaseGame::GetForcusReq");
  return mnForcusReq;
}
void CBaseGame::SetForcusReq(int32_t id) {
  Trace("CBaseGame::SetForcusReq");
  mnForcusReq = id;
}
CDIBBaseCtrl* CBaseGame::GetCtrlTop() {
  Trace("CBaseGame::GetCtrlTop");
  return mpCtrlTop;
}

void CBaseGame::CopyImage(CDIBImage*) { Trace("CBaseGame::CopyImage"); }

int32_t CBaseGame::Reaction(int32_t, int32_t) {
  Trace("CBaseGame::Reaction");
  return 0;
}

void CBaseGame::SetSprtMotion(SprtMotion* motion, int32_t kind, int32_t span, bool loop) {
  Trace("CBaseGame::SetSprtMotion");
  if (!motion) return;
  motion->nKind = kind;
  motion->nSpan = span;
  motion->nTime = 0;
  motion->bLoop = loop;
  motion->bSkip = false;
}

void CBaseGame::MoveSprtMotion(SprtMotion* motion) {
  Trace("CBaseGame::MoveSprtMotion");
  if (!motion) return;
  motion->bUpdate = false;
  if (motion->nTime >= motion->nSpan) return;
  if (motion->bLoop || !motion->bSkip)
    motion->nTime += gpMainWindow ? gpMainWindow->mFrameTime : 30;
  else
    motion->nTime = motion->nSpan;
  if (motion->nTime >= motion->nSpan) {
    motion->nTime = motion->nSpan;
    if (motion->bLoop) motion->nTime = 0;
  }
  motion->bUpdate = true;
}
