// Effect 11, Fire: flames rise over the old picture, growing hotter and
// whiter, and the new picture fades in through them over the last tenth.
#include <algorithm>
#include <memory>

#include "app/core/Trace.h"
#include "assets/DIBImage.h"
#include "scene/DIBFire.h"
#include "scene/DIBOverlap.h"
#include "scene/OverlapArea.h"
#include "ui/EffectParam.h"

namespace {

// Where the fire has done its work and the new picture starts to show.
constexpr double kBurnt = 0.9;

}  // namespace

void CDIBOverlap::InitFire(const EffectParam* param) {
  Trace("CDIBOverlap::InitFire");
  EffectParamReader read(param);
  StartEffect(EFFECT_FIRE, read.Int());
  OverlapArea& area = NewArea();
  area.pFire = std::make_unique<CDIBFire>();
  if (!area.pFire->Initialize() || !area.pFire->GetPixels()) {
    area.pFire.reset();
    area.bMissing = true;
    return;
  }
  area.pFire->SetMove(true, true);
  // The first frame is drawn before the first move.
  MoveFire();
}

void CDIBOverlap::MoveFire() {
  Trace("CDIBOverlap::MoveFire");
  if (!mpArea || !mpArea->pFire) return;
  CDIBFire& fire = *mpArea->pFire;
  const double t = Progress();
  const double f = std::min(t / kBurnt, 1.0);
  const int w = mpNewImage && mpNewImage->GetPixels() ? mpNewImage->GetWidth() : 800;
  const int h = mpNewImage && mpNewImage->GetPixels() ? mpNewImage->GetHeight() : 600;
  // Hotter flames are more opaque and tinted towards the palette's colour
  // of the strength reached.
  const uint32_t tint = CDIBFire::Palette(static_cast<int32_t>(f * CDIBFire::kMaxHeat));
  const uint32_t alpha = static_cast<uint32_t>(f * 127 + 128);
  const int red = static_cast<int>((tint >> 16) & 0xFF), green = static_cast<int>((tint >> 8) & 0xFF);
  fire.SetDrawParam(0, 0, w, h, alpha << 24 | 0xFFFFFFu, red, green, green);
  fire.SetBaseHeat(static_cast<int32_t>(f * CDIBFire::kBaseHeat + 5000));
  fire.Move(mnStepTime);
  if (t >= kBurnt && mpNewImage && mpNewImage->GetPixels()) {
    const double show = std::clamp((t - kBurnt) / (1 - kBurnt) * 255, 0.0, 255.0);
    mpNewImage->SetStretchVertex(mpArea->newQuad, 0, 0, w, h, static_cast<uint32_t>(show) << 24 | 0xFFFFFFu);
    mpArea->bNewQuad = true;
  }
}

void CDIBOverlap::DrawFire(CDIBImage* target) {
  Trace("CDIBOverlap::DrawFire");
  if (!mpArea || mpArea->bMissing || AtEnd()) {
    CopyNew(target);
    return;
  }
  if (Progress() < kBurnt) {
    CopyOld(target);
    mpArea->pFire->Draw(target);
    return;
  }
  // Over the last tenth the flames and the new picture build up over what
  // the target shows.
  mpArea->pFire->Draw(target);
  if (mpArea->bNewQuad) mpNewImage->StretchBltBlend(target, mpArea->newQuad, false);
}

void CDIBOverlap::ReleaseFire() {
  Trace("CDIBOverlap::ReleaseFire");
  ReleaseArea();
}
