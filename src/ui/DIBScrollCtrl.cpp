#include "ui/DIBScrollCtrl.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "app/core/Trace.h"
#include "assets/DIBSprite.h"
#include "ui/BaseGame.h"
#include "ui/CtrlRecord.h"
#include "ui/FrameSheet.h"

namespace {

// A knob corner as the vertices can hold it: 16-bit screen coordinates.
int32_t ToCoord(int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, INT16_MIN, INT16_MAX)); }

}  // namespace

CDIBScrollCtrl::CDIBScrollCtrl(CBaseGame* owner) : CDIBBaseCtrl(owner) { Trace("CDIBScrollCtrl::CDIBScrollCtrl"); }

CDIBScrollCtrl::~CDIBScrollCtrl() { Trace("CDIBScrollCtrl::~CDIBScrollCtrl"); }

bool CDIBScrollCtrl::Initialize(const CtrlDef* def) {
  Trace("CDIBScrollCtrl::Initialize");
  if (!CDIBBaseCtrl::Initialize(def)) return false;
  mnType = CTRL_SCROLL;
  memcpy(mFrame, def->nFrame, sizeof mFrame);
  mnDir = def->nDir;
  mnMin = def->nMin;
  mnMax = def->nMax;
  mnMarginTop = def->nMarginTop;
  mnMarginBottom = def->nMarginBottom;
  mnScrollPos = Clamp(def->nScrollPos);
  mnState = mbEnable ? 0 : 3;
  mbUpdate = true;
  UpdateVertex();
  return true;
}

uint8_t* CDIBScrollCtrl::Save(uint8_t* p) {
  Trace("CDIBScrollCtrl::Save");
  using namespace ctrlrec;
  p = CDIBBaseCtrl::Save(p);
  for (int32_t f : mFrame) p = PutInt(p, f);
  for (int32_t v : {mnState, mnScrollPos, mnDir, mnMin, mnMax, mnMarginTop, mnMarginBottom}) p = PutInt(p, v);
  return p;
}

const uint8_t* CDIBScrollCtrl::Load(const uint8_t* p) {
  Trace("CDIBScrollCtrl::Load");
  using namespace ctrlrec;
  p = CDIBBaseCtrl::Load(p);
  for (int32_t& f : mFrame) p = GetInt(p, f);
  for (int32_t* v : {&mnState, &mnScrollPos, &mnDir, &mnMin, &mnMax, &mnMarginTop, &mnMarginBottom}) p = GetInt(p, *v);
  if (mnState < 0 || mnState > 4) UpdateState();
  mnScrollPos = Clamp(mnScrollPos);
  UpdateVertex();
  return p;
}

int32_t CDIBScrollCtrl::Clamp(int32_t value) const {
  Trace("CDIBScrollCtrl::Clamp");
  return std::clamp(value, std::min(mnMin, mnMax), std::max(mnMin, mnMax));
}

bool CDIBScrollCtrl::IsMouseOn() {
  Trace("CDIBScrollCtrl::IsMouseOn");
  if (mszHitFName[0]) return HitMapOn();
  const plat::POINT& m = MousePos();
  return mbBarVertex && IsInsideQuad(mBarVertex, m.x, m.y);
}

void CDIBScrollCtrl::UpdateVertex() {
  Trace("CDIBScrollCtrl::UpdateVertex");
  mbBarVertex = frames::SetVertex(mpParts, &mBarVertex, mFrame[mnState], mPos.x, mPos.y, mdwColor);
  frames::Rect bar{}, knob{};
  mbKnobVertex = mbBarVertex && frames::Get(mpParts, mFrame[mnState], &bar) &&
                 frames::Get(mpParts, mFrame[5 + mnState], &knob);
  if (!mbKnobVertex) {
    mKnobVertex = SprtVertex{};
    return;
  }
  // Range, margins and position may come from a saved record: the sums are
  // taken wide so that no value overflows.
  const bool vertical = mnDir != 0;
  const int64_t length = vertical ? bar.height : bar.width;
  const int64_t travel = length - mnMarginBottom - mnMarginTop;
  int64_t offset = 0;
  if (mnMax != mnMin)
    offset = static_cast<int64_t>((static_cast<double>(mnScrollPos) - mnMin) /
                                  (static_cast<double>(mnMax) - mnMin) * static_cast<double>(travel));
  int64_t x, y;
  if (vertical) {
    x = int64_t{mPos.x} + (bar.width - knob.width) / 2;
    y = int64_t{mPos.y} + mnMarginTop + offset - knob.height / 2;
  } else {
    x = int64_t{mPos.x} + mnMarginTop + offset - knob.width / 2;
    y = int64_t{mPos.y} + (bar.height - knob.height) / 2;
  }
  frames::SetVertex(mpParts, &mKnobVertex, mFrame[5 + mnState], ToCoord(x), ToCoord(y), mdwColor);
}

int32_t CDIBScrollCtrl::CalcScrollPos(int32_t mx, int32_t my) {
  Trace("CDIBScrollCtrl::CalcScrollPos");
  frames::Rect bar{};
  if (!frames::Get(mpParts, mFrame[mnState], &bar)) return mnScrollPos;
  const bool vertical = mnDir != 0;
  const int64_t d = vertical ? int64_t{my} - mPos.y : int64_t{mx} - mPos.x;
  const int64_t length = vertical ? bar.height : bar.width;
  const int64_t travel = length - mnMarginBottom - mnMarginTop;
  // Margins that leave the knob no room put every point at the minimum.
  double t = travel > 0 ? static_cast<double>(d - mnMarginTop) / static_cast<double>(travel) : 0.0;
  t = std::clamp(t, 0.0, 1.0);
  return static_cast<int32_t>(mnMin + t * (static_cast<double>(mnMax) - mnMin));
}

void CDIBScrollCtrl::SetEnable(bool enable) {
  Trace("CDIBScrollCtrl::SetEnable");
  if (enable == mbEnable) return;
  CDIBBaseCtrl::SetEnable(enable);
  UpdateState();
}

void CDIBScrollCtrl::Blt(CDIBImage* target) {
  Trace("CDIBScrollCtrl::Blt");
  if (!mbShow || !mpParts || !target) return;
  if (mbBarVertex) mpParts->StretchBltBlend(target, mBarVertex, false);
  if (mbKnobVertex) mpParts->StretchBltBlend(target, mKnobVertex, false);
}

void CDIBScrollCtrl::OnLockInput() {
  Trace("CDIBScrollCtrl::OnLockInput");
  OnKillForcus();
}

bool CDIBScrollCtrl::Step(int direction) {
  Trace("CDIBScrollCtrl::Step");
  if (!mbForcus || !mbEnable) return false;
  int32_t towardsMax = mnMax >= mnMin ? 1 : -1;
  const int64_t next = int64_t{mnScrollPos} + direction * towardsMax;
  mnScrollPos = Clamp(static_cast<int32_t>(std::clamp<int64_t>(next, INT32_MIN, INT32_MAX)));
  mbUpdate = true;
  mbDecide = true;
  return true;
}

bool CDIBScrollCtrl::OnKeyUpBtn() {
  Trace("CDIBScrollCtrl::OnKeyUpBtn");
  return mnDir != 0 ? Step(-1) : CDIBBaseCtrl::OnKeyUpBtn();
}

bool CDIBScrollCtrl::OnKeyDownBtn() {
  Trace("CDIBScrollCtrl::OnKeyDownBtn");
  return mnDir != 0 ? Step(+1) : CDIBBaseCtrl::OnKeyDownBtn();
}

bool CDIBScrollCtrl::OnKeyLeftBtn() {
  Trace("CDIBScrollCtrl::OnKeyLeftBtn");
  return mnDir == 0 ? Step(-1) : CDIBBaseCtrl::OnKeyLeftBtn();
}

bool CDIBScrollCtrl::OnKeyRightBtn() {
  Trace("CDIBScrollCtrl::OnKeyRightBtn");
  return mnDir == 0 ? Step(+1) : CDIBBaseCtrl::OnKeyRightBtn();
}

int32_t CDIBScrollCtrl::GetScrollPos() {
  Trace("CDIBScrollCtrl::GetScrollPos");
  return mnScrollPos;
}

void CDIBScrollCtrl::SetScrollPos(int32_t value) {
  Trace("CDIBScrollCtrl::SetScrollPos");
  mnScrollPos = Clamp(value);
  mbUpdate = true;
  mbDecide = true;
}

int CDIBScrollCtrl::GetQuads(const SprtVertex* quads[2]) {
  Trace("CDIBScrollCtrl::GetQuads");
  int n = 0;
  if (mbBarVertex) quads[n++] = &mBarVertex;
  if (mbKnobVertex) quads[n++] = &mKnobVertex;
  return n;
}

void CDIBScrollCtrl::UpdateState() {
  Trace("CDIBScrollCtrl::UpdateState");
  mnState = mbForcus ? (mbEnable ? 1 : 4) : (mbEnable ? 0 : 3);
  mbUpdate = true;
}

void CDIBScrollCtrl::ShowPressed(bool on) {
  Trace("CDIBScrollCtrl::ShowPressed");
  mnState = on ? (mbEnable ? 2 : 4) : (mbEnable ? 0 : 3);
  mbUpdate = true;
}

void CDIBScrollCtrl::OnPressAt(const plat::POINT& mouse, bool drag) {
  Trace("CDIBScrollCtrl::OnPressAt");
  int32_t value = CalcScrollPos(mouse.x, mouse.y);
  if (drag && value != mnScrollPos) mbDecide = true;
  mnScrollPos = value;
}
