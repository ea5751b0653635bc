// Fire: flames of the flame simulation burn over the layer's rectangle,
// under or over its picture.
#include <algorithm>
#include <new>

#include "app/core/Trace.h"
#include "assets/SprtVertex.h"
#include "scene/DIBCamera.h"
#include "scene/DIBFire.h"
#include "scene/DIBSnrAction.h"
#include "scene/FrameStep.h"
#include "scene/SceneQuad.h"

namespace {

// The flames are already burning when the action starts.
constexpr int32_t kWarmUpMs = 1000;
// Heat beyond this only overflows the simulation's sums; the palette is
// white long before.
constexpr int32_t kHeatLimit = 1 << 24;

}  // namespace

bool CDIBSnrAction::SetupFire() {
  Trace("CDIBSnrAction::SetupFire");
  mpFire.reset(new (std::nothrow) CDIBFireEx);
  if (!mpFire || !mpFire->Initialize()) {
    mpFire.reset();
    return false;
  }
  mpFire->SetBaseHeat(std::clamp(mParam.fire.nBaseHeat, -kHeatLimit, kHeatLimit));
  mpFire->SetShape(mParam.fire.nCentre, mParam.fire.nWidth);
  mpFire->SetMove(true, true);
  mpFire->Move(kWarmUpMs);
  return true;
}

void CDIBSnrAction::ReleaseFire() {
  Trace("CDIBSnrAction::ReleaseFire");
  mpFire.reset();
}

void CDIBSnrAction::MoveFire() {
  Trace("CDIBSnrAction::MoveFire");
  BeginMove();
  if (mbPlay && mpFire) mpFire->Move(scene::FrameStep());
  mbChange = 1;
}

void CDIBSnrAction::DrawFire(const LayerDrawParam* param) {
  Trace("CDIBSnrAction::DrawFire");
  const bool burning = mbPlay && mpFire;
  if (burning) {
    // Held where the fire's own quad arithmetic stays within 16 bits.
    auto half = [](int32_t v) { return std::clamp(v, -16384, 16383); };
    mpFire->SetDrawParam(half(param->nX), half(param->nY), half(param->nWidth), half(param->nHeight), param->dwColor,
                         0, 0, 0);
  }
  const bool front = mParam.fire.nFront != 0;
  if (burning && !front) mpFire->Draw(param->pTarget);
  SprtVertex quad;
  PlainQuad(param, param->nX, param->nY, param->nZ, quad);
  DrawQuads(param, param->pImage, &quad, 1);
  if (burning && front) mpFire->Draw(param->pTarget);
}

void CDIBSnrAction::SaveFire(uint8_t*&) const { Trace("CDIBSnrAction::SaveFire"); }

void CDIBSnrAction::LoadFire(const uint8_t*&) {
  Trace("CDIBSnrAction::LoadFire");
  // Nothing of the flames is saved: they are lit afresh.
  SetupFire();
}
