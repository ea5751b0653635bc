// Effect 9, Kacchin: the new picture closes over the old one like two
// sliding doors, top and bottom (mode 0) or left and right (mode 1), and
// rattles twice, less each time, before it comes to rest.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "app/core/Trace.h"
#include "assets/DIBImage.h"
#include "scene/DIBOverlap.h"
#include "scene/OverlapArea.h"
#include "ui/EffectParam.h"

void CDIBOverlap::InitKacchin(const EffectParam* param) {
  Trace("CDIBOverlap::InitKacchin");
  EffectParamReader read(param);
  const int32_t span = read.Int();
  const int32_t mode = read.Int();
  StartEffect(EFFECT_KACCHIN, span);
  NewArea().nMode = mode == 1 ? 1 : 0;
}

void CDIBOverlap::MoveKacchin() { Trace("CDIBOverlap::MoveKacchin"); }

void CDIBOverlap::DrawKacchin(CDIBImage* target) {
  Trace("CDIBOverlap::DrawKacchin");
  if (!mpArea || AtEnd()) {
    CopyNew(target);
    return;
  }
  CopyOld(target);
  if (!target || !target->GetPixels() || !mpNewImage || !mpNewImage->GetPixels()) return;
  const double t = Progress();
  // The doors close over the first 30 %, then rattle.
  double factor = 1, shake = 0;
  if (t < 0.3) {
    factor = t * 3.3333333;
  } else {
    const double f = 1 - (t - 0.3) * 1.4285715;
    double angle = (1 - f) * 2 * std::numbers::pi;
    if (angle > std::numbers::pi) angle -= std::numbers::pi;
    shake = -std::sin(angle) * f * 100;
  }
  const int w = mpNewImage->GetWidth(), h = mpNewImage->GetHeight();
  if (mpArea->nMode == 0) {
    const int half = h / 2;
    const int moved = static_cast<int>(half * factor - shake);
    mpNewImage->Copy(target, 0, moved - half, 0, 0, w, half);
    mpNewImage->Copy(target, 0, 2 * half - moved, 0, half, w, h - half);
  } else {
    const int half = w / 2;
    const int moved = static_cast<int>(half * factor - shake);
    mpNewImage->Copy(target, moved - half, 0, 0, 0, half, h);
    mpNewImage->Copy(target, 2 * half - moved, 0, half, 0, w - half, h);
  }
}

void CDIBOverlap::ReleaseKacchin() {
  Trace("CDIBOverlap::ReleaseKacchin");
  ReleaseArea();
}
