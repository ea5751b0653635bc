#include "ui/DIBBaseScreen.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "app/core/MainWindow.h"
#include "app/core/Trace.h"
#include "assets/DIBDisplay.h"
#include "assets/DIBImage.h"
#include "ui/DIBBaseCtrl.h"
#include "ui/EffectParam.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

// The dirty rectangles of an image, clamped to the screen (right and bottom
// exclusive).
std::vector<plat::RECT> DirtyRects(CDIBImage* image) {
  std::vector<plat::RECT> out;
  CRegion* rgn = image->GetRGN();
  if (!rgn) return out;
  for (plat::RECT r : rgn->SortedRects()) {
    r.left = std::clamp(r.left, 0, kWidth);
    r.right = std::clamp(r.right, 0, kWidth);
    r.top = std::clamp(r.top, 0, kHeight);
    r.bottom = std::clamp(r.bottom, 0, kHeight);
    if (r.left < r.right && r.top < r.bottom) out.push_back(r);
  }
  return out;
}

// Bounding box of a quad, right and bottom exclusive.
plat::RECT QuadBox(const SprtVertex& q) {
  plat::RECT r{q.dst[0].x, q.dst[0].y, q.dst[0].x, q.dst[0].y};
  for (const SprtPoint& p : q.dst) {
    r.left = std::min<int32_t>(r.left, p.x);
    r.top = std::min<int32_t>(r.top, p.y);
    r.right = std::max<int32_t>(r.right, p.x);
    r.bottom = std::max<int32_t>(r.bottom, p.y);
  }
  r.right += 1;
  r.bottom += 1;
  return r;
}

bool Overlaps(const plat::RECT& a, const plat::RECT& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

}  // namespace

CDIBBaseScreen::CDIBBaseScreen(CBaseGame* parent) : CBaseGame(parent) { Trace("CDIBBaseScreen::CDIBBaseScreen"); }

CDIBBaseScreen::~CDIBBaseScreen() {
  Trace("CDIBBaseScreen::~CDIBBaseScreen");
  CDIBBaseScreen::Release();
}

bool CDIBBaseScreen::Initialize() {
  Trace("CDIBBaseScreen::Initialize");
  if (!CBaseGame::Initialize()) {
    if (gpMainWindow) gpMainWindow->ErrorMemory("CDIBBaseScreen", "CBaseGame::Initialize()");
    return false;
  }
  mpBackImage = new (std::nothrow) CDIBImage;
  if (!mpBackImage || !mpBackImage->Create(kWidth, kHeight) || !mpBackImage->GetPixels()) {
    if (gpMainWindow) gpMainWindow->ErrorMemory("CDIBBaseScreen", "mpBackImage");
    return false;
  }
  mpDrawImage = new (std::nothrow) CDIBImage;
  if (!mpDrawImage || !mpDrawImage->Create(kWidth, kHeight) || !mpDrawImage->GetPixels()) {
    if (gpMainWindow) gpMainWindow->ErrorMemory("CDIBBaseScreen", "mpDrawImage");
    return false;
  }
  mpDrawImage->CreateRGN();
  mbComposed = false;
  return true;
}

void CDIBBaseScreen::Release() {
  Trace("CDIBBaseScreen::Release");
  CBaseGame::Release();
  delete mpBackImage;
  mpBackImage = nullptr;
  delete mpDrawImage;
  mpDrawImage = nullptr;
}

void CDIBBaseScreen::Move() {
  Trace("CDIBBaseScreen::Move");
  if (mpDrawImage) {
    mpDrawImage->ClearRGN();
    // Clearing leaves the last column and row; left there they would be
    // restored and redrawn in every frame.
    if (CRegion* rgn = mpDrawImage->GetRGN()) rgn->Clear();
  }
  for (CDIBBaseCtrl* c = mpCtrlTop; c; c = c->GetNext()) c->Move();
}

void CDIBBaseScreen::Update() {
  Trace("CDIBBaseScreen::Update");
  if (!mpDrawImage || !mpBackImage) return;
  // The first frame composes everything: nothing else ever fills the parts
  // of the picture no control covers.
  if (!mbComposed) {
    mpDrawImage->AddRGN(0, 0, kWidth, kHeight);
    mbComposed = true;
  }
  for (CDIBBaseCtrl* c = mpCtrlTop; c; c = c->GetNext()) c->UpdateRGN(mpDrawImage);

  // A shown control that did not change but lies in a restored area would be
  // wiped by the restore, so it joins the redraw, and its area with it (which
  // may reach further controls).
  std::vector<plat::RECT> rects = DirtyRects(mpDrawImage);
  std::vector<CDIBBaseCtrl*> redraw;
  for (bool grown = true; grown && !rects.empty();) {
    grown = false;
    for (CDIBBaseCtrl* c = mpCtrlTop; c; c = c->GetNext()) {
      if (!c->IsShow() || c->IsUpdate() || std::find(redraw.begin(), redraw.end(), c) != redraw.end()) continue;
      const SprtVertex* quads[2] = {};
      int n = c->GetDrawQuads(quads);
      bool hit = false;
      for (int i = 0; i < n && !hit; ++i)
        for (const plat::RECT& r : rects) hit = hit || Overlaps(QuadBox(*quads[i]), r);
      if (!hit) continue;
      redraw.push_back(c);
      for (int i = 0; i < n; ++i) mpDrawImage->AddRGN(*quads[i]);
      grown = true;
    }
    if (grown) rects = DirtyRects(mpDrawImage);
  }

  for (const plat::RECT& r : rects)
    mpBackImage->Copy(mpDrawImage, r.left, r.top, r.left, r.top, r.right - r.left, r.bottom - r.top);
  for (CDIBBaseCtrl* c = mpCtrlTop; c; c = c->GetNext())
    c->Draw(mpDrawImage, std::find(redraw.begin(), redraw.end(), c) != redraw.end());

  CDIBDisplay* display = gpMainWindow ? gpMainWindow->mpDisplay : nullptr;
  if (!display) return;
  // Drawing the controls adds nothing to the region: the restored areas are
  // the ones to show.
  for (const plat::RECT& r : rects) display->AddDirtyRect(r.left, r.top, r.right - 1, r.bottom - 1);
}

void CDIBBaseScreen::Draw(CDIBImage* target) {
  Trace("CDIBBaseScreen::Draw");
  if (!target || !mpDrawImage) return;
  CDIBDisplay* display = gpMainWindow ? gpMainWindow->mpDisplay : nullptr;
  if (!display) {
    mpDrawImage->Copy(target, 0, 0, 0, 0, kWidth, kHeight);
    return;
  }
  for (const plat::RECT& r : display->GetDirtyRects())
    mpDrawImage->Copy(target, r.left, r.top, r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void CDIBBaseScreen::CopyImage(CDIBImage* target) {
  Trace("CDIBBaseScreen::CopyImage");
  if (!target || !mpBackImage) return;
  mpBackImage->Copy(target, 0, 0, 0, 0, kWidth, kHeight);
  for (CDIBBaseCtrl* c = mpCtrlTop; c; c = c->GetNext())
    if (c->IsShow()) c->Blt(target);
}

void CDIBBaseScreen::GetCallEffectParam(EffectParam* param) {
  Trace("CDIBBaseScreen::GetCallEffectParam");
  if (param) memset(param, 0, sizeof *param);
}

void CDIBBaseScreen::OnChangeScreen1st() { Trace("CDIBBaseScreen::OnChangeScreen1st"); }
void CDIBBaseScreen::OnChangeScreen2nd() { Trace("CDIBBaseScreen::OnChangeScreen2nd"); }
