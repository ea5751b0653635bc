// Effect 15, Blur: the old picture moves away (shrinking, growing or
// sliding, by mode) leaving a fading trail, while the new picture fades in
// over it.
#include <algorithm>
#include <memory>

#include "app/core/Trace.h"
#include "assets/DIBImage.h"
#include "scene/DIBOverlap.h"
#include "scene/LayerStack.h"
#include "scene/OverlapArea.h"
#include "scene/PageStack.h"
#include "scene/SceneQuad.h"
#include "ui/EffectParam.h"

namespace {

bool KnownBlurMode(int32_t mode) { return (mode >= 0 && mode <= 5) || (mode >= 10 && mode <= 13); }

constexpr int kBandRows = 16;

// Whether drawing onto the image reaches all of it (no narrower clip).
bool WholeImage(const CDIBImage& image) {
  const plat::RECT& c = image.GetClip();
  return c.left == 0 && c.top == 0 && c.right == image.GetWidth() - 1 && c.bottom == image.GetHeight() - 1;
}

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
  // The trail: what was shown, half over the frame before it, then made
  // opaque; one pass over the rows does both.
  if (WholeImage(next) && shown.GetWidth() == w && shown.GetHeight() == h) {
    scene::StackSource steps[2] = {{nullptr, 0x80FFFFFFu, scene::StackSource::kBlend},
                                   {nullptr, 0xFF000000u, scene::StackSource::kAlpha}};
    const scene::StackKernels& stack = scene::Stack();
    for (int y = 0; y < h; ++y) {
      steps[0].pPixels = shown.GetPixels() + static_cast<size_t>(y) * w;
      stack.apply(next.GetPixels() + static_cast<size_t>(y) * w, static_cast<size_t>(w), steps, 2);
    }
  } else {
    shown.BltBlend(&next, 0, 0, 0, 0, w, h, 0x80FFFFFFu);
    next.FillAlpha(255);
  }

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
  // The work image and the new picture over it, a band of rows at a time
  // while both are in the processor's cache.
  LayerBlit blits[2];
  blits[0] = LayerBlit{LayerBlit::kCopy, &shown, 0, 0, 0, 0, shown.GetWidth(), shown.GetHeight(), 0};
  int count = 1;
  const SprtVertex& q = mpArea->newQuad;
  if (mpArea->bNewQuad) {
    if (!scene::IsUnscaledRect(q)) {
      shown.Copy(target, 0, 0, 0, 0, shown.GetWidth(), shown.GetHeight());
      mpNewImage->StretchBltBlend(target, q, false);
      return;
    }
    blits[count++] = LayerBlit{LayerBlit::kBlend, mpNewImage, q.dst[0].x, q.dst[0].y, q.src[0].u, q.src[0].v,
                               q.dst[1].x - q.dst[0].x + 1, q.dst[3].y - q.dst[0].y + 1, q.color};
  }
  for (int y0 = 0; y0 < target->GetHeight(); y0 += kBandRows)
    scene::DrawBlitBand(target, blits, count, y0, std::min(kBandRows, target->GetHeight() - y0), false);
}

void CDIBOverlap::ReleaseBlur() {
  Trace("CDIBOverlap::ReleaseBlur");
  ReleaseArea();
}
