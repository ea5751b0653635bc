#include "scene/DIBSnrVVram.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "app/core/DebugHooks.h"
#include "app/core/MainWindow.h"
#include "app/core/Trace.h"
#include "assets/DIBDisplay.h"
#include "assets/DIBSprite.h"
#include "scene/DIBOverlap.h"
#include "scene/FrameStep.h"
#include "ui/Input.h"

namespace {

// Rows of a page composed together: every layer of a run is drawn into a
// band while it is still in the processor's cache.
constexpr int kBandRows = 16;

// The part of a layer's rectangle operation within rows y0 … y0 + rows − 1.
void DrawBlitRows(const LayerBlit& b, CDIBImage* page, int y0, int rows) {
  const int64_t top = std::max<int64_t>(b.y, y0);
  const int64_t bottom = std::min<int64_t>(int64_t{b.y} + b.h, int64_t{y0} + rows);
  if (b.op == LayerBlit::kNothing || top >= bottom) return;
  const int y = static_cast<int>(top), h = static_cast<int>(bottom - top);
  const int sy = static_cast<int>(b.sy + (top - b.y));
  switch (b.op) {
    case LayerBlit::kCopy: b.pSrc->Copy(page, b.x, y, b.sx, sy, b.w, h); break;
    case LayerBlit::kBlend: b.pSrc->BltBlend(page, b.x, y, b.sx, sy, b.w, h, b.color); break;
    case LayerBlit::kOpaque: b.pSrc->BltFast(page, b.x, y, b.sx, sy, b.w, h, b.color); break;
    default: break;
  }
}

}  // namespace

CDIBSnrVVram::CDIBSnrVVram() { Trace("CDIBSnrVVram::CDIBSnrVVram"); }

CDIBSnrVVram::~CDIBSnrVVram() {
  Trace("CDIBSnrVVram::~CDIBSnrVVram");
  CDIBSnrVVram::Release();
}

bool CDIBSnrVVram::Initialize() {
  Trace("CDIBSnrVVram::Initialize");
  Release();
  mpOverlap.reset(new (std::nothrow) CDIBOverlap);
  if (!mpOverlap) return false;
  for (CDIBImage& page : mPage) {
    if (!page.Create(kWidth, kHeight) || !page.GetPixels()) return false;
    // A page nothing was drawn on yet shows nothing, the same on every run.
    page.FillFull(0);
  }
  mpAction.reset(new (std::nothrow) CDIBSnrAction[kActionCount]);
  if (!mpAction) return false;
  for (int i = 0; i < kActionCount; ++i)
    if (!mpAction[i].Initialize()) return false;
  for (auto& page : mLayer)
    for (CDIBSnrLayer& layer : page)
      if (!layer.Initialize(mpAction.get())) return false;
  for (CDIBCamera& camera : mCamera)
    if (!camera.Initialize()) return false;
  mnFront = 0;
  mnScreenAction = 0;
  mbPageStale[0] = mbPageStale[1] = false;
  for (int i = 0; i < kLayerCount; ++i) {
    SendToDebug_LayerInfo(0, i);
    SendToDebug_LayerInfo(1, i);
  }
  return true;
}

void CDIBSnrVVram::Release() {
  Trace("CDIBSnrVVram::Release");
  // The transition holds the pages; it goes first.
  mpOverlap.reset();
  for (auto& page : mLayer)
    for (CDIBSnrLayer& layer : page) layer.Release();
  mpAction.reset();
  for (CDIBImage& page : mPage) page.Release();
  mnFront = 0;
  mnScreenAction = 0;
}

bool CDIBSnrVVram::IsHurried(bool skip) const {
  Trace("CDIBSnrVVram::IsHurried");
  if (skip) return true;
  if (!gpMainWindow) return false;
  if (gpMainWindow->mbNoneEffect) return true;
  return gpMainWindow->mpInput && gpMainWindow->mpInput->CheckKeyTbl(KeyTblAny);
}

void CDIBSnrVVram::Compose(int page) {
  Trace("CDIBSnrVVram::Compose");
  CDIBImage& image = mPage[page];
  if (!image.GetPixels()) return;
  CDIBCamera* camera = &mCamera[page];
  CDIBSnrLayer* layers = mLayer[page];
  LayerBlit blits[kLayerCount];
  bool simple[kLayerCount];
  for (int i = 0; i < kLayerCount; ++i) simple[i] = layers[i].GetBlit(camera, &blits[i]);
  // Layers drawn by plain rectangle operations are drawn band by band, a
  // run of them at a time (the page's fill with the first run); the others
  // whole, in their place. Every pixel meets the same rules in the same
  // order either way.
  bool filled = false;
  for (int i = 0; i < kLayerCount;) {
    if (!simple[i]) {
      if (!filled) image.FillFull(0);
      filled = true;
      layers[i++].Draw(&image, camera);
      continue;
    }
    int end = i;
    while (end < kLayerCount && simple[end]) ++end;
    for (int y0 = 0; y0 < kHeight; y0 += kBandRows) {
      const int rows = std::min(kBandRows, kHeight - y0);
      if (!filled) image.FillBox(0, 0, y0, kWidth, rows);
      for (int k = i; k < end; ++k) DrawBlitRows(blits[k], &image, y0, rows);
    }
    filled = true;
    i = end;
  }
  if (!filled) image.FillFull(0);
  mbPageStale[page] = false;
}

void CDIBSnrVVram::SwapPages() {
  Trace("CDIBSnrVVram::SwapPages");
  DebugOnLayOverlap();
  const int oldFront = mnFront;
  for (CDIBSnrLayer& layer : mLayer[oldFront]) layer.SetDefaultProp();
  mnFront = 1 - oldFront;
  mCamera[oldFront].Reset();
  // The new back page still shows the old picture; with its layers cleared
  // it must show nothing once a transition leads to it again.
  mbPageStale[oldFront] = true;
  for (int i = 0; i < kLayerCount; ++i) SendToDebug_LayerInfo(1, i);
}

void CDIBSnrVVram::Move(bool skip) {
  Trace("CDIBSnrVVram::Move");
  if (!mpAction) return;
  const bool hurried = IsHurried(skip);
  bool changed[2] = {false, false};
  const int front = mnFront, back = 1 - mnFront;
  mCamera[front].Move(hurried);
  changed[front] = mCamera[front].IsChange();
  mCamera[back].Move(hurried);
  changed[back] = mCamera[back].IsChange();
  for (int i = 0; i < kActionCount; ++i) mpAction[i].Move(hurried);
  for (int page = 0; page < 2; ++page) {
    if (mbPageStale[page]) changed[page] = true;
    for (CDIBSnrLayer& layer : mLayer[page]) {
      if (layer.IsChanged()) changed[page] = true;
      layer.Move();
    }
  }
  for (int page = 0; page < 2; ++page)
    if (changed[page]) Compose(page);

  bool swapped = false;
  if (mpOverlap && mpOverlap->IsRun()) {
    if (hurried) mpOverlap->SetFinish();
    mpOverlap->Move(scene::FrameStep());
    if (!mpOverlap->IsRun()) {
      SwapPages();
      swapped = true;
    }
  }

  const bool running = mpOverlap && mpOverlap->IsRun();
  CDIBSnrAction* screenAction = GetAction(mnScreenAction);
  const bool screenChanged = screenAction && screenAction->IsUpdate();
  if (!running && !swapped && !changed[mnFront] && !screenChanged) return;
  if (gpMainWindow && gpMainWindow->mpDisplay) gpMainWindow->mpDisplay->InvalidateAll();
}

bool CDIBSnrVVram::DrawScreenAction(CDIBImage* target) {
  Trace("CDIBSnrVVram::DrawScreenAction");
  CDIBSnrAction* action = GetAction(mnScreenAction);
  if (!action) return false;
  target->FillFull(0);
  LayerDrawParam param;
  param.pTarget = target;
  param.pImage = &mPage[mnFront];
  param.nWidth = kWidth;
  param.nHeight = kHeight;
  param.dwColor = 0xFFFFFFFFu;
  action->Draw(&param);
  return true;
}

void CDIBSnrVVram::Draw(CDIBImage* target) {
  Trace("CDIBSnrVVram::Draw");
  if (!target || !target->GetPixels() || !mPage[mnFront].GetPixels()) return;
  if (mpOverlap && mpOverlap->IsRun()) {
    mpOverlap->Draw(target);
    return;
  }
  if (DrawScreenAction(target)) return;
  CDIBImage& page = mPage[mnFront];
  if (gpMainWindow && gpMainWindow->mpDisplay) {
    // The display's rectangles end before their right and bottom edges.
    for (const plat::RECT& r : gpMainWindow->mpDisplay->GetDirtyRects())
      page.Copy(target, r.left, r.top, r.left, r.top, r.right - r.left, r.bottom - r.top);
    return;
  }
  page.Copy(target, 0, 0, 0, 0, kWidth, kHeight);
}

void CDIBSnrVVram::Blt(CDIBImage* target) {
  Trace("CDIBSnrVVram::Blt");
  if (!target || !target->GetPixels() || !mPage[mnFront].GetPixels()) return;
  if (mpOverlap && mpOverlap->IsRun()) {
    mpOverlap->Draw(target);
    return;
  }
  if (DrawScreenAction(target)) return;
  mPage[mnFront].Copy(target, 0, 0, 0, 0, kWidth, kHeight);
}

CDIBOverlap* CDIBSnrVVram::GetOverlap() {
  Trace("CDIBSnrVVram::GetOverlap");
  return mpOverlap.get();
}

CDIBSnrAction* CDIBSnrVVram::GetAction(int32_t index) {
  Trace("CDIBSnrVVram::GetAction");
  if (!mpAction || index < 1 || index > kActionCount) return nullptr;
  return &mpAction[index - 1];
}

CDIBImage* CDIBSnrVVram::GetPage() {
  Trace("CDIBSnrVVram::GetPage");
  return &mPage[mnFront];
}

CDIBImage* CDIBSnrVVram::GetBackPage() {
  Trace("CDIBSnrVVram::GetBackPage");
  return &mPage[1 - mnFront];
}

CDIBSnrLayer* CDIBSnrVVram::GetLayer(int32_t index) {
  Trace("CDIBSnrVVram::GetLayer");
  if (index < 0 || index >= kLayerCount) return nullptr;
  return &mLayer[mnFront][index];
}

CDIBSnrLayer* CDIBSnrVVram::GetBackLayer(int32_t index) {
  Trace("CDIBSnrVVram::GetBackLayer");
  if (index < 0 || index >= kLayerCount) return nullptr;
  return &mLayer[1 - mnFront][index];
}

CDIBCamera* CDIBSnrVVram::GetCamera() {
  Trace("CDIBSnrVVram::GetCamera");
  return &mCamera[mnFront];
}

CDIBCamera* CDIBSnrVVram::GetBackCamera() {
  Trace("CDIBSnrVVram::GetBackCamera");
  return &mCamera[1 - mnFront];
}

void CDIBSnrVVram::SetScreenAction(int32_t action) {
  Trace("CDIBSnrVVram::SetScreenAction");
  mnScreenAction = action >= 1 && action <= kActionCount ? action : 0;
}

int32_t CDIBSnrVVram::GetScreenAction() {
  Trace("CDIBSnrVVram::GetScreenAction");
  return mnScreenAction;
}

void CDIBSnrVVram::SendToDebug_LayerInfo(int32_t page, int32_t layer) {
  Trace("CDIBSnrVVram::SendToDebug_LayerInfo");
  if (!gpMainWindow || !gpMainWindow->mhDebugDll) return;
  if (page < 0 || page > 1 || layer < 0 || layer >= kLayerCount) return;
  const CDIBSnrLayer& l = mLayer[page == 0 ? mnFront : 1 - mnFront][layer];
  const SnrLayerProp* p = l.GetProp();
  if (p->pImage) {
    // The picture's pixel address goes as the library's third number, cut
    // to its 32 bits.
    DebugOnUpdateLayImage(page, layer, l.GetImageName(), p->pImage->GetWidth(), p->pImage->GetHeight(),
                          static_cast<int32_t>(reinterpret_cast<uintptr_t>(p->pImage->GetPixels())));
  } else {
    DebugOnUpdateLayImage(page, layer, "", 0, 0, 0);
  }
  DebugOnUpdateLayDrawPos(page, layer, p->nX, p->nY, p->nZ);
  DebugOnUpdateLayDrawSize(page, layer, p->nBaseWidth, p->nBaseHeight);
  DebugOnUpdateLayColor(page, layer, p->dwColor);
  DebugOnUpdateLayBlend(page, layer, p->bBlend);
  DebugOnUpdateLayAnti(page, layer, p->bAnti);
  DebugOnUpdateLayActListNo(page, layer, p->nAction);
  DebugOnUpdateLayCamera(page, layer, p->bCamera);
  DebugOnUpdateLayCamBill(page, layer, p->bBillboard);
  // Rates go as whole percent, as the scenario gives them.
  auto percent = [](float rate) { return static_cast<int32_t>(std::lround(std::clamp(rate * 100.0f, -2e9f, 2e9f))); };
  DebugOnUpdateLayCamXYRate(page, layer, percent(p->fXYRate));
  DebugOnUpdateLayCamWRate(page, layer, percent(p->fWRate));
}
