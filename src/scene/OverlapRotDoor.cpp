// Effect 14, RotDoor: the screen turns like a revolving door about a
// vertical (direction 0), horizontal (1) or depth (2) axis; the old picture
// turns away over the first half and the new one turns in over the second,
// the receding edge darkened.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "app/core/Trace.h"
#include "assets/DIBImage.h"
#include "scene/DIBOverlap.h"
#include "scene/OverlapArea.h"
#include "scene/OverlapSpace.h"
#include "ui/EffectParam.h"

namespace {

constexpr float kEye = 2500;

int16_t Point(double v) { return static_cast<int16_t>(std::clamp(v, -32000.0, 32000.0)); }

}  // namespace

void CDIBOverlap::InitRotDoor(const EffectParam* param) {
  Trace("CDIBOverlap::InitRotDoor");
  EffectParamReader read(param);
  const int32_t span = read.Int();
  const int32_t direction = read.Int();
  StartEffect(EFFECT_ROTDOOR, span);
  NewArea().nMode = (direction >= 0 && direction <= 2) ? direction : 0;
  // Both sides are drawn with the blend: they must be opaque.
  for (CDIBImage* image : {mpOldImage, mpNewImage})
    if (image && image->GetPixels()) image->FillAlpha(255);
  MoveRotDoor();
}

void CDIBOverlap::MoveRotDoor() {
  Trace("CDIBOverlap::MoveRotDoor");
  if (!mpArea) return;
  const double angle = Progress() * std::numbers::pi;
  const bool first = angle < std::numbers::pi / 2;
  CDIBImage* shown = first ? mpOldImage : mpNewImage;
  mpArea->pDoorImage = shown && shown->GetPixels() ? shown : nullptr;
  if (!mpArea->pDoorImage) return;
  const float turn = static_cast<float>(first ? angle : angle + std::numbers::pi);
  const ovl::Mat rotation = mpArea->nMode == 1 ? ovl::RotX(turn) : mpArea->nMode == 2 ? ovl::RotZ(turn) : ovl::RotY(turn);
  const ovl::Mat view = ovl::View(ovl::Vec{0, 0, -kEye, 0}, ovl::Vec{}, ovl::Vec{0, 1, 0, 0});
  const ovl::Mat look =
      ovl::Mul(rotation, ovl::Mul(view, ovl::Projection(static_cast<float>(std::numbers::pi / 2), kEye, 0.1f, 1)));
  const int w = shown->GetWidth(), h = shown->GetHeight();
  const float cx = static_cast<float>(w / 2), cy = static_cast<float>(h / 2);
  const float corner[4][2] = {{0, 0}, {static_cast<float>(w - 1), 0}, {static_cast<float>(w - 1), static_cast<float>(h - 1)},
                              {0, static_cast<float>(h - 1)}};
  SprtVertex& v = mpArea->door;
  shown->SetStretchVertex(v, 0, 0, w, h, 0xFFFFFFFFu);
  for (int i = 0; i < 4; ++i) {
    const ovl::Vec r = ovl::Apply(ovl::Vec{corner[i][0] - cx, corner[i][1] - cy, 0, 1}, look);
    const double scale = r.w * 0.0004;
    const int16_t shade = static_cast<int16_t>(std::clamp((r.w - kEye) * 0.51, 0.0, 255.0));
    if (scale > 0.1)
      v.dst[i] = SprtPoint{Point(cx + r.x / scale), Point(cy + r.y / scale), shade};
    else
      v.dst[i] = SprtPoint{0, 0, shade};
  }
}

void CDIBOverlap::DrawRotDoor(CDIBImage* target) {
  Trace("CDIBOverlap::DrawRotDoor");
  if (!target || !target->GetPixels()) return;
  target->FillFull(0);
  if (mpArea && mpArea->pDoorImage) mpArea->pDoorImage->StretchBltBlendShadow(target, mpArea->door, false);
}

void CDIBOverlap::ReleaseRotDoor() {
  Trace("CDIBOverlap::ReleaseRotDoor");
  ReleaseArea();
}
