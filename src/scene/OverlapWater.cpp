// Effect 12, Water: drops fall on the old picture and ripple it, and the
// new picture fades in over the ripples from 40 % of the way on.
#include <algorithm>
#include <memory>

#include "app/core/Trace.h"
#include "assets/DIBImage.h"
#include "platform/Random.h"
#include "scene/DIBOverlap.h"
#include "scene/DIBWater.h"
#include "scene/OverlapArea.h"
#include "ui/EffectParam.h"

namespace {

constexpr double kShowNew = 0.4;
constexpr int32_t kDropStrength = 500;

}  // namespace

void CDIBOverlap::InitWater(const EffectParam* param) {
  Trace("CDIBOverlap::InitWater");
  EffectParamReader read(param);
  StartEffect(EFFECT_WATER, read.Int());
  OverlapArea& area = NewArea();
  if (!mpOldImage || !mpOldImage->GetPixels()) {
    area.bMissing = true;
    return;
  }
  const int w = mpOldImage->GetWidth(), h = mpOldImage->GetHeight();
  area.pWater = std::make_unique<CDIBWater>();
  if (!area.pWater->Initialize(w, h) || !area.pWater->GetPixels()) {
    area.pWater.reset();
    area.bMissing = true;
    return;
  }
  // The surface starts calm, showing the old picture.
  mpOldImage->Copy(area.pWater.get(), 0, 0, 0, 0, w, h);
  area.pWater->SetMove(true, true);
  area.pWater->SetDrawParam(0, 0, w, h, 0xFFFFFFFFu);
}

void CDIBOverlap::MoveWater() {
  Trace("CDIBOverlap::MoveWater");
  if (!mpArea || !mpArea->pWater) return;
  CDIBWater& water = *mpArea->pWater;
  const int w = water.GetWidth(), h = water.GetHeight();
  if (plat::Rand() % 100 < 50) {
    const int x = plat::Rand() % w;
    const int y = plat::Rand() % h;
    water.Drop(x, y, 1, 1, kDropStrength);
  }
  water.SetDrawParam(0, 0, w, h, 0xFFFFFFFFu);
  water.Move(mnStepTime);
  const double t = Progress();
  if (t >= kShowNew && mpNewImage && mpNewImage->GetPixels()) {
    const double show = std::clamp((t - kShowNew) * 1.6666666 * 255, 0.0, 255.0);
    mpNewImage->SetStretchVertex(mpArea->newQuad, 0, 0, mpNewImage->GetWidth(), mpNewImage->GetHeight(),
                                 static_cast<uint32_t>(show) << 24 | 0xFFFFFFu);
    mpArea->bNewQuad = true;
  }
}

void CDIBOverlap::DrawWater(CDIBImage* target) {
  Trace("CDIBOverlap::DrawWater");
  if (!mpArea || mpArea->bMissing || AtEnd()) {
    CopyNew(target);
    return;
  }
  mpArea->pWater->Draw(target);
  if (mpArea->bNewQuad) mpNewImage->StretchBltBlend(target, mpArea->newQuad, false);
}

void CDIBOverlap::ReleaseWater() {
  Trace("CDIBOverlap::ReleaseWater");
  ReleaseArea();
}
