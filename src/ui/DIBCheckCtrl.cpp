#include "ui/DIBCheckCtrl.h"

#include <cstring>

#include "app/core/Trace.h"
#include "assets/DIBSprite.h"
#include "ui/BaseGame.h"
#include "ui/CtrlRecord.h"
#include "ui/FrameSheet.h"

CDIBCheckCtrl::CDIBCheckCtrl(CBaseGame* owner) : CDIBBaseCtrl(owner) { Trace("CDIBCheckCtrl::CDIBCheckCtrl"); }

CDIBCheckCtrl::~CDIBCheckCtrl() { Trace("CDIBCheckCtrl::~CDIBCheckCtrl"); }

bool CDIBCheckCtrl::Initialize(const CtrlDef* def) {
  Trace("CDIBCheckCtrl::Initialize");
  if (!CDIBBaseCtrl::Initialize(def)) return false;
  mnType = CTRL_CHECK;
  memcpy(mFrame, def->nFrame, sizeof mFrame);
  mbCheck = def->bCheck;
  mnState = (mbEnable ? 0 : 3) + (mbCheck ? 5 : 0);
  mbUpdate = true;
  UpdateVertex();
  return true;
}

uint8_t* CDIBCheckCtrl::Save(uint8_t* p) {
  Trace("CDIBCheckCtrl::Save");
  p = CDIBBaseCtrl::Save(p);
  for (int32_t f : mFrame) p = ctrlrec::PutInt(p, f);
  p = ctrlrec::PutInt(p, mnState);
  return ctrlrec::PutBool(p, mbCheck);
}

const uint8_t* CDIBCheckCtrl::Load(const uint8_t* p) {
  Trace("CDIBCheckCtrl::Load");
  p = CDIBBaseCtrl::Load(p);
  for (int32_t& f : mFrame) p = ctrlrec::GetInt(p, f);
  p = ctrlrec::GetInt(p, mnState);
  p = ctrlrec::GetBool(p, mbCheck);
  if (mnState < 0 || mnState > 9) UpdateState();
  UpdateVertex();
  return p;
}

bool CDIBCheckCtrl::IsMouseOn() {
  Trace("CDIBCheckCtrl::IsMouseOn");
  if (mszHitFName[0]) return HitMapOn();
  const plat::POINT& m = MousePos();
  return mbVertex && IsInsideQuad(mVertex, m.x, m.y);
}

void CDIBCheckCtrl::UpdateVertex() {
  Trace("CDIBCheckCtrl::UpdateVertex");
  mbVertex = frames::SetVertex(mpParts, &mVertex, mFrame[mnState], mPos.x, mPos.y, mdwColor);
}

void CDIBCheckCtrl::SetEnable(bool enable) {
  Trace("CDIBCheckCtrl::SetEnable");
  if (enable == mbEnable) return;
  CDIBBaseCtrl::SetEnable(enable);
  UpdateState();
}

void CDIBCheckCtrl::Blt(CDIBImage* target) {
  Trace("CDIBCheckCtrl::Blt");
  if (!mbShow || !mpParts || !mbVertex || !target) return;
  mpParts->StretchBltBlend(target, mVertex, false);
}

void CDIBCheckCtrl::OnLockInput() {
  Trace("CDIBCheckCtrl::OnLockInput");
  OnKillForcus();
}

bool CDIBCheckCtrl::IsCheck() {
  Trace("CDIBCheckCtrl::IsCheck");
  return mbCheck;
}

void CDIBCheckCtrl::SetCheck(bool check) {
  Trace("CDIBCheckCtrl::SetCheck");
  mbCheck = check;
  UpdateState();
}

int CDIBCheckCtrl::GetQuads(const SprtVertex* quads[2]) {
  Trace("CDIBCheckCtrl::GetQuads");
  if (!mbVertex) return 0;
  quads[0] = &mVertex;
  return 1;
}

void CDIBCheckCtrl::UpdateState() {
  Trace("CDIBCheckCtrl::UpdateState");
  mnState = (mbForcus ? (mbEnable ? 1 : 4) : (mbEnable ? 0 : 3)) + (mbCheck ? 5 : 0);
  mbUpdate = true;
}

void CDIBCheckCtrl::ShowPressed(bool on) {
  Trace("CDIBCheckCtrl::ShowPressed");
  mnState = (on ? (mbEnable ? 2 : 4) : (mbEnable ? 0 : 3)) + (mbCheck ? 5 : 0);
  mbUpdate = true;
}

void CDIBCheckCtrl::ShowReleased(bool on) {
  Trace("CDIBCheckCtrl::ShowReleased");
  // Over the box it shows the focused look it is about to regain.
  mnState = (on ? 1 : 0) + (mbCheck ? 5 : 0);
  if (!mbEnable) mnState += 3;
  mbUpdate = true;
}

void CDIBCheckCtrl::OnActivate() {
  Trace("CDIBCheckCtrl::OnActivate");
  mbCheck = !mbCheck;
}
