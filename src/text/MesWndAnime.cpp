// How the window moves: the open/close slide and fade of the window picture,
// the name plate and the buttons, and the swelling click-wait icon.
#include <algorithm>
#include <cmath>

#include "app/core/MainWindow.h"
#include "app/core/Trace.h"
#include "assets/DIBImage.h"
#include "assets/DIBSprite.h"
#include "text/MesWnd.h"
#include "ui/DIBBaseCtrl.h"
#include "ui/Input.h"

namespace {

bool KeyHeld(int vk) {
  const CInput* input = gpMainWindow ? gpMainWindow->mpInput : nullptr;
  return input && (input->mKey[vk].bDown || input->mKey[vk].bPush);
}

}  // namespace

int32_t CDIBMesWnd::SlideOffset() const {
  Trace("CDIBMesWnd::SlideOffset");
  const int64_t h = Setup().nSlide, span = mnOpenCloseSpan;
  if (!mbOpenCloseMove || span <= 0) return mbOpen ? 0 : static_cast<int32_t>(h);
  const int64_t t = std::clamp<int64_t>(mnOpenCloseTime, 0, span);
  return static_cast<int32_t>(mbOpen ? h - t * h / span : t * h / span);
}

uint32_t CDIBMesWnd::SlideAlpha() const {
  Trace("CDIBMesWnd::SlideAlpha");
  const int64_t span = mnOpenCloseSpan;
  if (!mbOpenCloseMove || span <= 0) return mbOpen ? 255 : 0;
  const int64_t t = std::clamp<int64_t>(mnOpenCloseTime, 0, span), half = std::max<int64_t>(span / 2, 1);
  // Opening: invisible for the first half, then fading in; closing: fading
  // out in the first half.
  int64_t a = mbOpen ? (t < half ? 0 : (t - half) * 255 / half) : (t < half ? 255 - t * 255 / half : 0);
  return static_cast<uint32_t>(std::clamp<int64_t>(a, 0, 255));
}

void CDIBMesWnd::PlaceButtons() {
  Trace("CDIBMesWnd::PlaceButtons");
  const int32_t dy = SlideOffset();
  const uint32_t color = SlideAlpha() << 24 | 0x00FFFFFFu;
  for (int32_t i = 0; i < MESBTN_COUNT; ++i) {
    CDIBBaseCtrl* c = GetCtrl(i);
    if (!c) continue;
    c->SetPos(mBasePos[i][0], mBasePos[i][1] + dy);
    c->SetColor(color);
    c->UpdateVertex();
  }
  UpdateWndImageVB();
  UpdataNameVB();
}

void CDIBMesWnd::Open(bool animate) {
  Trace("CDIBMesWnd::Open");
  CDIBBaseWnd::Open(animate);
  PlaceButtons();
}

void CDIBMesWnd::Close(bool animate) {
  Trace("CDIBMesWnd::Close");
  CDIBBaseWnd::Close(animate);
  mbWait = false;
  if (!animate) {
    // Closed at once: nothing of the last message stays for the next opening.
    mnNameNo = mnNameShow = mnNameNext = -1;
    ClearTextImage(0);
    ClearTextImage(1);
    UpdateWndImage(true);
  }
  PlaceButtons();
}

void CDIBMesWnd::MoveOpenClose() {
  Trace("CDIBMesWnd::MoveOpenClose");
  if (!mbOpenCloseMove) return;
  CMainWindow* app = gpMainWindow;
  const bool skip = mbSkip || KeyHeld(plat::VK_RETURN) || KeyHeld(plat::VK_LBUTTON) || KeyHeld(plat::VK_CONTROL) ||
                    (app && app->mbNoneEffect);
  if (skip) mnOpenCloseTime = mnOpenCloseSpan;
  CDIBBaseWnd::MoveOpenClose();
  if (!mbOpenCloseMove && !mbOpen) {
    mnNameNo = mnNameShow = mnNameNext = -1;
    ClearTextImage(0);
    ClearTextImage(1);
    UpdateWndImage(true);
  }
  PlaceButtons();
}

void CDIBMesWnd::UpdateWndImageVB() {
  Trace("CDIBMesWnd::UpdateWndImageVB");
  mbWndVertex = false;
  if (!mpWndParts || !mpWndImage) return;
  const SprtElement e = mpWndParts->DrawableElement(0);
  if (e.w <= 0 || e.h <= 0) return;
  const MesWndSetup& s = Setup();
  mpWndImage->SetVertex(mWndVertex, s.nWndPos[0], s.nWndPos[1] + SlideOffset(), 0, 0, std::min<int>(e.w, 800),
                        std::min<int>(e.h, 600), SlideAlpha() << 24 | 0x00FFFFFFu);
  mbWndVertex = true;
}

void CDIBMesWnd::UpdataNameVB() {
  Trace("CDIBMesWnd::UpdataNameVB");
  mbNameVertex = false;
  if (mnNameShow < 0 || !mpNameParts) return;
  const SprtElement e = mpNameParts->DrawableElement(mnNameShow);
  if (e.w <= 0 || e.h <= 0) return;
  const MesWndSetup& s = Setup();
  // A backlog page shows its name plate greyed.
  const uint32_t rgb = mbBLMode ? kGreyName : 0x00FFFFFFu;
  mpNameParts->SetVertex(mNameVertex, mnNameShow, s.nNamePos[0], s.nNamePos[1] + SlideOffset(),
                         SlideAlpha() << 24 | rgb);
  mbNameVertex = true;
}

void CDIBMesWnd::MoveWaitAnime() {
  Trace("CDIBMesWnd::MoveWaitAnime");
  if (!mbWait || !mpWndParts) return;
  mnWaitAnime = (mnWaitAnime + (gpMainWindow ? gpMainWindow->mFrameTime : 30)) % 1000;
  // Swells by up to ten pixels and back once a second, about its centre.
  const int32_t e = static_cast<int32_t>(std::trunc(-10.0 * std::sin(mnWaitAnime * 0.0031415927)));
  const MesWndSetup& s = Setup();
  const SprtElement icon = mpWndParts->DrawableElement(s.nIcon[0]);
  if (icon.w <= 0 || icon.h <= 0) {
    mbIconVertex = false;
    return;
  }
  mpWndParts->SetStretchVertex(mIconVertex, s.nIcon[0], s.nIcon[1] - (-e) / 2, s.nIcon[2] - (-e) / 2, icon.w - e,
                               icon.h - e, 0xFFFFFFFFu);
  mbIconVertex = true;
}
