#include "ui/DIBImageCtrl.h"

#include "app/core/Trace.h"
#include "assets/DIBSprite.h"
#include "ui/CtrlRecord.h"
#include "ui/FrameSheet.h"

CDIBImageCtrl::CDIBImageCtrl(CBaseGame* owner) : CDIBBaseCtrl(owner) { Trace("CDIBImageCtrl::CDIBImageCtrl"); }

CDIBImageCtrl::~CDIBImageCtrl() { Trace("CDIBImageCtrl::~CDIBImageCtrl"); }

bool CDIBImageCtrl::Initialize(const CtrlDef* def) {
  Trace("CDIBImageCtrl::Initialize");
  if (!CDIBBaseCtrl::Initialize(def)) return false;
  mnType = CTRL_IMAGE;
  mnFrame = def->nFrame[0];
  mbUpdate = true;
  UpdateVertex();
  return true;
}

uint8_t* CDIBImageCtrl::Save(uint8_t* p) {
  Trace("CDIBImageCtrl::Save");
  p = CDIBBaseCtrl::Save(p);
  return ctrlrec::PutInt(p, mnFrame);
}

const uint8_t* CDIBImageCtrl::Load(const uint8_t* p) {
  Trace("CDIBImageCtrl::Load");
  p = CDIBBaseCtrl::Load(p);
  p = ctrlrec::GetInt(p, mnFrame);
  UpdateVertex();
  return p;
}

void CDIBImageCtrl::UpdateVertex() {
  Trace("CDIBImageCtrl::UpdateVertex");
  mbVertex = frames::SetVertex(mpParts, &mVertex, mnFrame, mPos.x, mPos.y, mdwColor);
}

void CDIBImageCtrl::Blt(CDIBImage* target) {
  Trace("CDIBImageCtrl::Blt");
  if (!mbShow || !mpParts || !mbVertex || !target) return;
  mpParts->StretchBltBlend(target, mVertex, false);
}

// A picture has nothing to decide: Return on it does nothing either.
bool CDIBImageCtrl::OnKeyEnterDown() {
  Trace("CDIBImageCtrl::OnKeyEnterDown");
  return false;
}
bool CDIBImageCtrl::OnKeyEnterUp() {
  Trace("CDIBImageCtrl::OnKeyEnterUp");
  return false;
}
bool CDIBImageCtrl::OnMouseLBtnDown() {
  Trace("CDIBImageCtrl::OnMouseLBtnDown");
  return false;
}
bool CDIBImageCtrl::OnMouseLBtnUp() {
  Trace("CDIBImageCtrl::OnMouseLBtnUp");
  return false;
}
bool CDIBImageCtrl::OnMouseMove() {
  Trace("CDIBImageCtrl::OnMouseMove");
  return false;
}

void CDIBImageCtrl::SetFrame(int32_t frame) {
  Trace("CDIBImageCtrl::SetFrame");
  mnFrame = frame;
  mbUpdate = true;
}

int CDIBImageCtrl::GetQuads(const SprtVertex* quads[2]) {
  Trace("CDIBImageCtrl::GetQuads");
  if (!mbVertex) return 0;
  quads[0] = &mVertex;
  return 1;
}
