// Effect 15, Blur: the old picture moves away (shrinking, growing or
// sliding, by mode) leaving a fading trail, while the new picture fades in
// over it.
#include <algorithm>
#include <memory>

#include "app/core/Trace.h"
#include "assets/DIBImage.h"
#include "scene/DIBOverlap.h"
#include "scene/OverlapArea.h"
#include "ui/EffectParam.h"

namespace {

bool KnownBlurMode(int32_t mode) { return (mode >= 0 && mode <= 5) || (mode >= 10 && mode <= 13); }

}  // namespace

void CDIBOverlap::InitBlur(const EffectParam* param) {
  Trace("CDIBOverlap::InitBlur");
  EffectParamReader read(param);
  const int32_t span = read.Int();
  const int32_t mode = read.Int();
  StartEffect(EFFECT_BLUR, span);
  OverlapArea& area = NewArea();
  area.nMode = KnownBlurMode(mode) ? mode : 0;
  if (!mpOldImage || !mpOldImage->GetPixels() || !mpNewImage || !mpNewImage->GetPixels()) {
    area.bMissing = true;
    return;
  }
  mpOldImage->FillAlpha(255);
  mpNewImage->FillAlpha(255);
  const int w = mpOldImage->GetWidth(), h = mpOldImage->GetHeight();
  for (std::unique_ptr<CDIBImage>& work : area.pWork) {
    work = std::make_unique<CDIBImage>();
    if (!work->Create(w, h) || !work->GetPixels()) {
      area.bMissing = true;
      return;
    }
    work->FillFull(0);
    mpOldImage->Copy(work.get(), 0, 0, 0, 0, w, h);
  }
  mpNewImage->SetStretchVertex(area.newQuad, 0, 0, mpNewImage->GetWidth(), mpNewImage->GetHeight(), 0x00FFFFFFu);
  area.bNewQuad = true;
}

void CDIBOverlap::MoveBlur() {
  Trace("CDIBOverlap::MoveBlur");
  if (!mpArea || mpArea->bMissing) return;
  CDIBImage& shown = *mpArea->pWork[mpArea->nCurrent];
  CDIBImage& next = *mpArea->pWork[1 - mpArea->nCurrent];
  const int w = next.GetWidth(), h = next.GetHeight();
  // The trail: what was shown, half over the frame before it.
  shown.BltBlend(&next, 0, 0, 0, 0, w, h, 0x80FFFFFFu);
  next.FillAlpha(255);

  const int32_t mode = mpArea->nMode;
  const double g = std::min(mnSpan * 0.001, 1.0);
  const int64_t growX = Share(static_cast<int64_t>(g * w)), growY = Share(static_cast<int64_t>(g * h));
  const int64_t slideX = Share(w), slideY = Share(h);
  int64_t x = 0, y = 0, dw = w, dh = h;
  if (mode == 0) {
    x = growX / 2;
    y = growY / 2;
    dw = w - growX;
    dh = h - growY;
  } else if (mode == 1 || mode >= 10) {
    x = -growX / 2;
    y = -growY / 2;
    dw = w + growX;
    dh = h + growY;
  }
  if (mode == 2 || mode == 10) x -= slideX;
  if (mode == 3 || mode == 11) x += slideX;
  if (mode == 4 || mode == 12) y -= slideY;
  if (mode == 5 || mode == 13) y += slideY;
  const uint32_t alpha = static_cast<uint32_t>(std::max<int64_t>(0x80 - Share(128), 0));
  if (dw > 0 && dh > 0) {
    SprtVertex v;
    mpOldImage->SetStretchVertex(v, static_cast<int>(x), static_cast<int>(y), static_cast<int>(dw),
                                 static_cast<int>(dh), alpha << 24 | 0xFFFFFFu);
    mpOldImage->StretchBltBlend(&next, v, false);
  }
  mpNewImage->SetStretchVertex(mpArea->newQuad, 0, 0, mpNewImage->GetWidth(), mpNewImage->GetHeight(),
                               static_cast<uint32_t>(Share(255)) << 24 | 0xFFFFFFu);
  mpArea->nCurrent = 1 - mpArea->nCurrent;
}

void CDIBOverlap::DrawBlur(CDIBImage* target) {
  Trace("CDIBOverlap::DrawBlur");
  if (!mpArea || mpArea->bMissing) {
    CopyNew(target);
    return;
  }
  CDIBImage& shown = *mpArea->pWork[mpArea->nCurrent];
  shown.Copy(target, 0, 0, 0, 0, shown.GetWidth(), shown.GetHeight());
  if (mpArea->bNewQuad) mpNewImage->StretchBltBlend(target, mpArea->newQuad, false);
}

void CDIBOverlap::ReleaseBlur() {
  Trace("CDIBOverlap::ReleaseBlur");
  ReleaseArea();
}
