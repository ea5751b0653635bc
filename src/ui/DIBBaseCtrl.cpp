#include "ui/DIBBaseCtrl.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "app/core/MainWindow.h"
#include "app/core/Trace.h"
#include "assets/DIBDisplay.h"
#include "assets/DIBImage.h"
#include "assets/DIBSprite.h"
#include "assets/SpriteCache.h"
#include "ui/BaseGame.h"
#include "ui/CtrlRecord.h"
#include "ui/Input.h"

namespace {

const plat::POINT kNoMouse{-1, -1};

CSpriteCache* Cache() { return gpMainWindow ? gpMainWindow->mpSpriteCache : nullptr; }
CInput* Input() { return gpMainWindow ? gpMainWindow->mpInput : nullptr; }

}  // namespace

CDIBBaseCtrl::CDIBBaseCtrl(CBaseGame* owner) : mpOwner(owner) { Trace("CDIBBaseCtrl::CDIBBaseCtrl"); }

CDIBBaseCtrl::~CDIBBaseCtrl() {
  Trace("CDIBBaseCtrl::~CDIBBaseCtrl");
  CDIBBaseCtrl::Release();
}

bool CDIBBaseCtrl::ReadParts(const char* name) {
  Trace("CDIBBaseCtrl::ReadParts");
  CSpriteCache* cache = Cache();
  CDIBSprite* parts = cache && name && *name ? cache->Read(name) : nullptr;
  if (!parts) return false;
  if (mpParts && cache) cache->Free(mpParts);
  mpParts = parts;
  strncpy(mszParts, name, sizeof mszParts - 1);
  mszParts[sizeof mszParts - 1] = 0;
  return true;
}

bool CDIBBaseCtrl::Initialize(const CtrlDef* def) {
  Trace("CDIBBaseCtrl::Initialize");
  Release();
  if (!def) return false;
  char parts[256];
  memcpy(parts, def->szParts, sizeof parts);
  parts[sizeof parts - 1] = 0;
  if (!ReadParts(parts)) {
    if (gpMainWindow) gpMainWindow->ErrorRead("CDIBBaseCtrl", parts);
    return false;
  }
  memcpy(mszHitFName, def->szHitFName, sizeof mszHitFName);
  mszHitFName[sizeof mszHitFName - 1] = 0;
  mnID = def->nID;
  mnHitNo = def->nHitNo;
  mbShow = def->bShow;
  mbEnable = def->bEnable;
  mPos = plat::POINT{def->x, def->y};
  mdwColor = def->dwColor;
  mbEnterSE = def->bEnterSE;
  mbOncurSE = def->bOncurSE;
  mnJumpNum = def->nJumpNum < 0 ? 0 : def->nJumpNum > kJumpRows ? kJumpRows : def->nJumpNum;
  memcpy(mJump, def->Jump, sizeof mJump);
  mbCancel = def->bCancel;
  mbForcus = false;
  mbDecide = false;
  mbDecidePend = false;
  mbInputEnable = true;
  return true;
}

void CDIBBaseCtrl::Release() {
  Trace("CDIBBaseCtrl::Release");
  if (mpParts) {
    if (CSpriteCache* cache = Cache()) cache->Free(mpParts);
    mpParts = nullptr;
  }
}

uint8_t* CDIBBaseCtrl::Save(uint8_t* p) {
  Trace("CDIBBaseCtrl::Save");
  using namespace ctrlrec;
  p = PutBool(p, mbUpdate);
  p = PutInt(p, mnInputType);
  p = PutBool(p, mbDecidePend);
  p = PutText(p, mpParts ? mszParts : "", 256);
  p = PutText(p, mszHitFName, 256);
  p = PutInt(p, mnType);
  p = PutInt(p, mnID);
  p = PutInt(p, mnHitNo);
  p = PutBool(p, mbForcus);
  p = PutBool(p, mbShow);
  p = PutBool(p, mbEnable);
  p = PutInt(p, mPos.x);
  p = PutInt(p, mPos.y);
  p = PutInt(p, static_cast<int32_t>(mdwColor));
  p = PutBool(p, mbEnterSE);
  p = PutBool(p, mbOncurSE);
  p = PutInt(p, mnJumpNum);
  for (const auto& row : mJump)
    for (int32_t id : row) p = PutInt(p, id);
  p = PutBool(p, mbDecide);
  p = PutBool(p, mbInputEnable);
  p = PutBool(p, mbCancel);
  return p;
}

const uint8_t* CDIBBaseCtrl::Load(const uint8_t* p) {
  Trace("CDIBBaseCtrl::Load");
  using namespace ctrlrec;
  char parts[256];
  int32_t type = 0;
  p = GetBool(p, mbUpdate);
  p = GetInt(p, mnInputType);
  p = GetBool(p, mbDecidePend);
  p = GetText(p, parts, sizeof parts);
  p = GetText(p, mszHitFName, sizeof mszHitFName);
  p = GetInt(p, type);  // the object keeps its own type
  p = GetInt(p, mnID);
  p = GetInt(p, mnHitNo);
  p = GetBool(p, mbForcus);
  p = GetBool(p, mbShow);
  p = GetBool(p, mbEnable);
  p = GetInt(p, mPos.x);
  p = GetInt(p, mPos.y);
  // Corners are 16-bit screen points: a stored position beyond them could
  // only overflow the corner arithmetic.
  mPos.x = std::clamp<int32_t>(mPos.x, INT16_MIN, INT16_MAX);
  mPos.y = std::clamp<int32_t>(mPos.y, INT16_MIN, INT16_MAX);
  p = GetUInt(p, mdwColor);
  p = GetBool(p, mbEnterSE);
  p = GetBool(p, mbOncurSE);
  p = GetInt(p, mnJumpNum);
  if (mnJumpNum < 0) mnJumpNum = 0;
  if (mnJumpNum > kJumpRows) mnJumpNum = kJumpRows;
  for (auto& row : mJump)
    for (int32_t& id : row) p = GetInt(p, id);
  p = GetBool(p, mbDecide);
  p = GetBool(p, mbInputEnable);
  p = GetBool(p, mbCancel);
  // A picture that cannot be read again leaves the control without parts:
  // it draws nothing and its quad is empty.
  if (!ReadParts(parts)) {
    Release();
    mszParts[0] = 0;
  }
  return p;
}

int CDIBBaseCtrl::GetQuads(const SprtVertex* [2]) {
  Trace("CDIBBaseCtrl::GetQuads");
  return 0;
}

bool CDIBBaseCtrl::IsInsideQuad(const SprtVertex& quad, int32_t mx, int32_t my) const {
  Trace("CDIBBaseCtrl::IsInsideQuad");
  for (int i = 1; i <= 4; ++i) {
    const SprtPoint& a = quad.dst[i - 1];
    const SprtPoint& b = quad.dst[i % 4];
    int64_t side = int64_t{b.y - a.y} * (mx - a.x) - int64_t{b.x - a.x} * (my - a.y);
    if (side > 0) return false;
  }
  return true;
}

bool CDIBBaseCtrl::HitMapOn() {
  Trace("CDIBBaseCtrl::HitMapOn");
  CInput* input = Input();
  return input && input->GetHitMapNo(mszHitFName) == mnHitNo;
}

bool CDIBBaseCtrl::IsMouseOn() {
  Trace("CDIBBaseCtrl::IsMouseOn");
  if (mszHitFName[0]) return HitMapOn();
  return mnHitNo == -1;
}

const plat::POINT& CDIBBaseCtrl::MousePos() const {
  Trace("CDIBBaseCtrl::MousePos");
  CInput* input = Input();
  return input ? input->mptMouse : kNoMouse;
}

bool CDIBBaseCtrl::LeftButtonDown() const {
  Trace("CDIBBaseCtrl::LeftButtonDown");
  CInput* input = Input();
  return input && input->mKey[plat::VK_LBUTTON].bDown;
}

int32_t CDIBBaseCtrl::CurrentInputType() const {
  Trace("CDIBBaseCtrl::CurrentInputType");
  CInput* input = Input();
  return input ? input->mInputType : INPUT_KEYBOARD;
}

void CDIBBaseCtrl::UpdateVertex() { Trace("CDIBBaseCtrl::UpdateVertex"); }

void CDIBBaseCtrl::SetNext(CDIBBaseCtrl* next) {
  Trace("CDIBBaseCtrl::SetNext");
  mpNext = next;
}

bool CDIBBaseCtrl::SetParts(const char* name) {
  Trace("CDIBBaseCtrl::SetParts");
  if (!ReadParts(name)) return false;
  mbUpdate = true;
  return true;
}

bool CDIBBaseCtrl::SetHitFName(const char* name) {
  Trace("CDIBBaseCtrl::SetHitFName");
  if (!name || !*name) {
    mszHitFName[0] = 0;
    return true;
  }
  CInput* input = Input();
  if (!input || !input->ReadHitMap(name)) return false;
  strncpy(mszHitFName, name, sizeof mszHitFName - 1);
  mszHitFName[sizeof mszHitFName - 1] = 0;
  return true;
}

void CDIBBaseCtrl::SetShow(bool show) {
  Trace("CDIBBaseCtrl::SetShow");
  mbShow = show;
  mbUpdate = true;
}

void CDIBBaseCtrl::SetEnable(bool enable) {
  Trace("CDIBBaseCtrl::SetEnable");
  if (enable != mbEnable && mbForcus) mpOwner->SetCtrlLock(false);
  mbEnable = enable;
  mbUpdate = true;
}

void CDIBBaseCtrl::SetPos(int32_t x, int32_t y) {
  Trace("CDIBBaseCtrl::SetPos");
  mPos = plat::POINT{x, y};
  mbUpdate = true;
}

void CDIBBaseCtrl::SetColor(uint32_t color) {
  Trace("CDIBBaseCtrl::SetColor");
  mdwColor = color;
  mbUpdate = true;
}

void CDIBBaseCtrl::SetEnterSE(bool on) {
  Trace("CDIBBaseCtrl::SetEnterSE");
  mbEnterSE = on;
}

void CDIBBaseCtrl::SetOncurSE(bool on) {
  Trace("CDIBBaseCtrl::SetOncurSE");
  mbOncurSE = on;
}

int32_t CDIBBaseCtrl::GetJumpToCtrlID(int32_t dir) {
  Trace("CDIBBaseCtrl::GetJumpToCtrlID");
  if (dir < 0 || dir > 4) return -1;
  for (int32_t row = 0; row < mnJumpNum; ++row) {
    int32_t id = mJump[row][dir];
    CDIBBaseCtrl* target = mpOwner->GetCtrl(id);
    if (target && target->IsShow()) return id;
  }
  return -1;
}

void CDIBBaseCtrl::SetInputEnable(bool enable) {
  Trace("CDIBBaseCtrl::SetInputEnable");
  mbInputEnable = enable;
}

void CDIBBaseCtrl::Move() {
  Trace("CDIBBaseCtrl::Move");
  if (mbDecidePend) {
    mbDecide = true;
    mbDecidePend = false;
    return;
  }
  mbDecide = false;
  if (!mbShow) return;
  if (!mbInputEnable) {
    OnLockInput();
    return;
  }
  const int32_t type = CurrentInputType();
  // Taking up the mouse abandons a keyboard press and lets the pointer decide
  // the focus; taking up the keyboard keeps the focus the pointer left.
  if (type != mnInputType && type == INPUT_MOUSE) OnChangeInputType();
  if (!mpOwner->IsCtrlLock() || mbForcus) {
    if (type == INPUT_KEYBOARD)
      OnKeyInput();
    else
      OnMouseInput();
  }
  mnInputType = type;
}

void CDIBBaseCtrl::UpdateRGN(CDIBImage* image) {
  Trace("CDIBBaseCtrl::UpdateRGN");
  if (image && !mbUpdate) return;
  CDIBDisplay* display = gpMainWindow ? gpMainWindow->mpDisplay : nullptr;
  auto add = [&](bool onlyShown) {
    if (onlyShown && !mbShow) return;
    const SprtVertex* quads[2] = {};
    int n = GetQuads(quads);
    for (int i = 0; i < n; ++i) {
      if (image) {
        image->AddRGN(*quads[i]);
      } else if (display) {
        plat::POINT pts[4];
        for (int k = 0; k < 4; ++k) pts[k] = plat::POINT{quads[i]->dst[k].x, quads[i]->dst[k].y};
        display->AddDirtyQuad(pts);
      }
    }
  };
  add(false);
  if (mbShow) UpdateVertex();
  add(true);
}

void CDIBBaseCtrl::Draw(CDIBImage* target, bool force) {
  Trace("CDIBBaseCtrl::Draw");
  if (!mbUpdate && !force) return;
  Blt(target);
  mbUpdate = false;
}

void CDIBBaseCtrl::Blt(CDIBImage*) { Trace("CDIBBaseCtrl::Blt"); }

bool CDIBBaseCtrl::OnGetForcus() {
  Trace("CDIBBaseCtrl::OnGetForcus");
  if (mbForcus || mpOwner->IsCtrlLock()) return false;
  mbForcus = true;
  mbUpdate = true;
  if (!mbDecidePend && mbOncurSE && gpMainWindow) gpMainWindow->PlaySysSE(SYSSE_CURSOR);
  UpdateState();
  return true;
}

bool CDIBBaseCtrl::OnKillForcus() {
  Trace("CDIBBaseCtrl::OnKillForcus");
  if (!mbForcus || mpOwner->IsCtrlLock()) return false;
  mbForcus = false;
  mbUpdate = true;
  UpdateState();
  return true;
}

CBaseGame* CDIBBaseCtrl::GetOwner() {
  Trace("CDIBBaseCtrl::GetOwner");
  return mpOwner;
}
CDIBBaseCtrl* CDIBBaseCtrl::GetNext() {
  Trace("CDIBBaseCtrl::GetNext");
  return mpNext;
}
bool CDIBBaseCtrl::IsUpdate() {
  Trace("CDIBBaseCtrl::IsUpdate");
  return mbUpdate;
}
void CDIBBaseCtrl::SetUpdate() {
  Trace("CDIBBaseCtrl::SetUpdate");
  mbUpdate = true;
}
int32_t CDIBBaseCtrl::GetType() {
  Trace("CDIBBaseCtrl::GetType");
  return mnType;
}
int32_t CDIBBaseCtrl::GetID() {
  Trace("CDIBBaseCtrl::GetID");
  return mnID;
}
int32_t CDIBBaseCtrl::GetHitNo() {
  Trace("CDIBBaseCtrl::GetHitNo");
  return mnHitNo;
}
bool CDIBBaseCtrl::IsForcus() {
  Trace("CDIBBaseCtrl::IsForcus");
  return mbForcus;
}
bool CDIBBaseCtrl::IsShow() {
  Trace("CDIBBaseCtrl::IsShow");
  return mbShow;
}
bool CDIBBaseCtrl::IsEnable() {
  Trace("CDIBBaseCtrl::IsEnable");
  return mbEnable;
}
const plat::POINT* CDIBBaseCtrl::GetPos() {
  Trace("CDIBBaseCtrl::GetPos");
  return &mPos;
}
bool CDIBBaseCtrl::IsEnterSE() {
  Trace("CDIBBaseCtrl::IsEnterSE");
  return mbEnterSE;
}
bool CDIBBaseCtrl::IsOncurSE() {
  Trace("CDIBBaseCtrl::IsOncurSE");
  return mbOncurSE;
}
int32_t CDIBBaseCtrl::GetJumpID(int32_t row, int32_t dir) {
  Trace("CDIBBaseCtrl::GetJumpID");
  if (row < 0 || row >= kJumpRows || dir < 0 || dir > 4) return -1;
  return mJump[row][dir];
}
bool CDIBBaseCtrl::IsDecide() {
  Trace("CDIBBaseCtrl::IsDecide");
  return mbDecide;
}

void CDIBBaseCtrl::OnLockInput() { Trace("CDIBBaseCtrl::OnLockInput"); }

bool CDIBBaseCtrl::OnKeyInput() {
  Trace("CDIBBaseCtrl::OnKeyInput");
  CInput* input = Input();
  if (!input) return false;
  const KeyState* k = input->mKey;
  if (k[plat::VK_RETURN].bPress) return OnKeyEnterDown();
  if (k[plat::VK_RETURN].bRelease) return OnKeyEnterUp();
  if (k[plat::VK_UP].bRepeat) return OnKeyUpBtn();
  if (k[plat::VK_DOWN].bRepeat) return OnKeyDownBtn();
  if (k[plat::VK_LEFT].bRepeat) return OnKeyLeftBtn();
  if (k[plat::VK_RIGHT].bRepeat) return OnKeyRightBtn();
  if (k[plat::VK_TAB].bRepeat) return OnKeyTabBtn();
  return false;
}

bool CDIBBaseCtrl::OnMouseInput() {
  Trace("CDIBBaseCtrl::OnMouseInput");
  CInput* input = Input();
  if (!input) return false;
  if (input->mKey[plat::VK_LBUTTON].bPress) return OnMouseLBtnDown();
  if (input->mKey[plat::VK_LBUTTON].bRelease) return OnMouseLBtnUp();
  if (input->mbMouseAct) return OnMouseMove();
  return false;
}

bool CDIBBaseCtrl::OnChangeInputType() {
  Trace("CDIBBaseCtrl::OnChangeInputType");
  // Taking up the mouse abandons a keyboard press. A press the mouse made in
  // this very frame, on a control earlier in the list, is kept.
  if (mpOwner->IsCtrlLock() && !IsLockHeldByMouse()) mpOwner->SetCtrlLock(false);
  OnKillForcus();
  mbUpdate = true;
  return true;
}

void CDIBBaseCtrl::PlayEnterSE() {
  Trace("CDIBBaseCtrl::PlayEnterSE");
  if (mbEnterSE && gpMainWindow) gpMainWindow->PlaySysSE(mbCancel ? SYSSE_CANCEL : SYSSE_DECIDE);
}

bool CDIBBaseCtrl::OnKeyEnterDown() {
  Trace("CDIBBaseCtrl::OnKeyEnterDown");
  if (!mbEnable || !mbForcus) return false;
  mpOwner->SetCtrlLock(true);
  mbUpdate = true;
  ShowPressed(true);
  return true;
}

bool CDIBBaseCtrl::OnKeyEnterUp() {
  Trace("CDIBBaseCtrl::OnKeyEnterUp");
  if (!mbEnable || !mbForcus) return false;
  PlayEnterSE();
  mpOwner->SetCtrlLock(false);
  mbDecidePend = true;
  mbUpdate = true;
  OnActivate();
  UpdateState();
  return true;
}

bool CDIBBaseCtrl::MoveForcus(int32_t dir) {
  Trace("CDIBBaseCtrl::MoveForcus");
  if (!mbForcus) return false;
  int32_t id = GetJumpToCtrlID(dir);
  if (id == -1) return false;
  OnKillForcus();
  mpOwner->SetForcusReq(id);
  return true;
}

bool CDIBBaseCtrl::OnKeyUpBtn() {
  Trace("CDIBBaseCtrl::OnKeyUpBtn");
  return MoveForcus(JUMP_UP);
}
bool CDIBBaseCtrl::OnKeyDownBtn() {
  Trace("CDIBBaseCtrl::OnKeyDownBtn");
  return MoveForcus(JUMP_DOWN);
}
bool CDIBBaseCtrl::OnKeyLeftBtn() {
  Trace("CDIBBaseCtrl::OnKeyLeftBtn");
  return MoveForcus(JUMP_LEFT);
}
bool CDIBBaseCtrl::OnKeyRightBtn() {
  Trace("CDIBBaseCtrl::OnKeyRightBtn");
  return MoveForcus(JUMP_RIGHT);
}
bool CDIBBaseCtrl::OnKeyTabBtn() {
  Trace("CDIBBaseCtrl::OnKeyTabBtn");
  return MoveForcus(JUMP_TAB);
}

bool CDIBBaseCtrl::IsLockHeldByMouse() {
  Trace("CDIBBaseCtrl::IsLockHeldByMouse");
  for (CDIBBaseCtrl* c = mpOwner->GetCtrlTop(); c; c = c->GetNext())
    if (c != this && c->mbForcus && c->mnInputType == INPUT_MOUSE) return true;
  return false;
}

bool CDIBBaseCtrl::TakeForcusForPress() {
  Trace("CDIBBaseCtrl::TakeForcusForPress");
  if (mpOwner->IsCtrlLock()) return false;
  for (CDIBBaseCtrl* c = mpOwner->GetCtrlTop(); c; c = c->GetNext())
    if (c != this && c->IsForcus()) c->OnKillForcus();
  mbForcus = true;
  mbUpdate = true;
  UpdateState();
  return true;
}

bool CDIBBaseCtrl::OnMouseLBtnDown() {
  Trace("CDIBBaseCtrl::OnMouseLBtnDown");
  if (!mbEnable || !IsMouseOn()) return false;
  // A pointer that has rested on the control since the screen or a window
  // opened, or since the keyboard was used, never moved onto it, so nothing
  // gave it focus: the press takes it, without the cursor sound (the click
  // has its own).
  if (!mbForcus && !TakeForcusForPress()) return false;
  mpOwner->SetCtrlLock(true);
  mbUpdate = true;
  ShowPressed(true);
  OnPressAt(MousePos(), false);
  return true;
}

bool CDIBBaseCtrl::OnMouseLBtnUp() {
  Trace("CDIBBaseCtrl::OnMouseLBtnUp");
  if (!mbEnable) return false;
  const bool on = IsMouseOn();
  // Only a press that began on this control activates it: a button pressed
  // elsewhere and released over it is not a click on it.
  const bool activated = on && mbForcus && mpOwner->IsCtrlLock();
  if (activated) {
    PlayEnterSE();
    mbDecidePend = true;
    mpOwner->SetCtrlLock(false);
    OnActivate();
  } else if (mbForcus) {
    mpOwner->SetCtrlLock(false);  // the press is abandoned
  }
  // Dropping and asking again restarts the look without a second focus
  // sound after an activation; a control that simply keeps the pointer
  // keeps its focus.
  if (!on || !mbForcus || activated) {
    OnKillForcus();
    if (on) mpOwner->SetForcusReq(mnID);
  }
  mbUpdate = true;
  ShowReleased(on);
  return true;
}

bool CDIBBaseCtrl::OnMouseMove() {
  Trace("CDIBBaseCtrl::OnMouseMove");
  const bool on = IsMouseOn();
  if (mpOwner->IsCtrlLock()) {
    if (LeftButtonDown()) {
      mbUpdate = true;
      ShowPressed(on);
      OnPressAt(MousePos(), true);
      return true;
    }
    if (mbForcus) mpOwner->SetCtrlLock(false);
    if (on) {
      OnKillForcus();
      mpOwner->SetForcusReq(mnID);
      return true;
    }
  } else if (on) {
    mpOwner->SetForcusReq(mnID);
    return true;
  }
  OnKillForcus();
  return true;
}
