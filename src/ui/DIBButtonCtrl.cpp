#include "ui/DIBButtonCtrl.h"

#include <cstring>

#include "app/core/Trace.h"
#include "app/core/MainWindow.h"
#include "assets/DIBSprite.h"
#include "assets/SpriteCache.h"
#include "ui/BaseGame.h"
#include "ui/CtrlRecord.h"
#include "ui/FrameSheet.h"

CDIBButtonCtrl::CDIBButtonCtrl(CBaseGame* owner) : CDIBBaseCtrl(owner) { Trace("CDIBButtonCtrl::CDIBButtonCtrl"); }

CDIBButtonCtrl::~CDIBButtonCtrl() {
  Trace("CDIBButtonCtrl::~CDIBButtonCtrl");
  CDIBButtonCtrl::Release();
}

bool CDIBButtonCtrl::Initialize(const CtrlDef* def) {
  Trace("CDIBButtonCtrl::Initialize");
  if (!CDIBBaseCtrl::Initialize(def)) return false;
  mnType = CTRL_BUTTON;
  memcpy(mFrame, def->nFrame, sizeof mFrame);
  mbBlend = def->bBlend;
  mnState = mbEnable ? 0 : 3;
  mbUpdate = true;
  UpdateVertex();
  return true;
}

void CDIBButtonCtrl::Release() {
  Trace("CDIBButtonCtrl::Release");
  ReleaseCaption();
  CDIBBaseCtrl::Release();
}

uint8_t* CDIBButtonCtrl::Save(uint8_t* p) {
  Trace("CDIBButtonCtrl::Save");
  p = CDIBBaseCtrl::Save(p);
  for (int32_t f : mFrame) p = ctrlrec::PutInt(p, f);
  return ctrlrec::PutInt(p, mnState);
}

const uint8_t* CDIBButtonCtrl::Load(const uint8_t* p) {
  Trace("CDIBButtonCtrl::Load");
  ReleaseCaption();  // the owner rebuilds captions after loading
  p = CDIBBaseCtrl::Load(p);
  for (int32_t& f : mFrame) p = ctrlrec::GetInt(p, f);
  p = ctrlrec::GetInt(p, mnState);
  if (mnState < 0 || mnState > 4) UpdateState();
  UpdateVertex();
  return p;
}

bool CDIBButtonCtrl::IsMouseOn() {
  Trace("CDIBButtonCtrl::IsMouseOn");
  if (mszHitFName[0]) return HitMapOn();
  const plat::POINT& m = MousePos();
  return mbVertex && IsInsideQuad(mVertex, m.x, m.y);
}

void CDIBButtonCtrl::UpdateVertex() {
  Trace("CDIBButtonCtrl::UpdateVertex");
  CDIBSprite* sheet = mpCaption ? mpCaption : mpParts;
  mbVertex = frames::SetVertex(sheet, &mVertex, mFrame[mnState], mPos.x, mPos.y, mdwColor);
}

void CDIBButtonCtrl::SetEnable(bool enable) {
  Trace("CDIBButtonCtrl::SetEnable");
  CDIBBaseCtrl::SetEnable(enable);
  UpdateState();
}

void CDIBButtonCtrl::Blt(CDIBImage* target) {
  Trace("CDIBButtonCtrl::Blt");
  CDIBSprite* sheet = mpCaption ? mpCaption : mpParts;
  if (!mbShow || !sheet || !mbVertex || !target) return;
  if (mbBlend)
    sheet->StretchBltBlend(target, mVertex, false);
  else
    sheet->StretchBltCopy(target, mVertex, false);
}

void CDIBButtonCtrl::OnLockInput() {
  Trace("CDIBButtonCtrl::OnLockInput");
  OnKillForcus();
}

int CDIBButtonCtrl::GetQuads(const SprtVertex* quads[2]) {
  Trace("CDIBButtonCtrl::GetQuads");
  if (!mbVertex) return 0;
  quads[0] = &mVertex;
  return 1;
}

void CDIBButtonCtrl::UpdateState() {
  Trace("CDIBButtonCtrl::UpdateState");
  mnState = mbForcus ? (mbEnable ? 1 : 4) : (mbEnable ? 0 : 3);
  mbUpdate = true;
}

void CDIBButtonCtrl::ShowPressed(bool on) {
  Trace("CDIBButtonCtrl::ShowPressed");
  mnState = on ? (mbEnable ? 2 : 4) : (mbEnable ? 0 : 3);
  mbUpdate = true;
}

void CDIBButtonCtrl::ReleaseCaption() {
  Trace("CDIBButtonCtrl::ReleaseCaption");
  if (!mpCaption) return;
  if (gpMainWindow && gpMainWindow->mpSpriteCache) gpMainWindow->mpSpriteCache->Free(mpCaption);
  mpCaption = nullptr;
}
