#include "scene/DIBOverlap.h"

#include <algorithm>

#include "app/core/Trace.h"
#include "assets/DIBImage.h"
#include "ui/EffectParam.h"

// Rows of effects not in this build stay empty.
const CDIBOverlap::EffectOps CDIBOverlap::kEffects[EFFECT_COUNT] = {
    {},
    {&CDIBOverlap::InitBlt, &CDIBOverlap::MoveBlt, &CDIBOverlap::DrawBlt, &CDIBOverlap::ReleaseBlt},
    {&CDIBOverlap::InitFade, &CDIBOverlap::MoveFade, &CDIBOverlap::DrawFade, &CDIBOverlap::ReleaseFade},
};

CDIBOverlap::~CDIBOverlap() {
  Trace("CDIBOverlap::~CDIBOverlap");
  CDIBOverlap::Release();
}

bool CDIBOverlap::HasEffect(int32_t effect) {
  Trace("CDIBOverlap::HasEffect");
  return effect > 0 && effect < EFFECT_COUNT && kEffects[effect].init != nullptr;
}

void CDIBOverlap::Release() {
  Trace("CDIBOverlap::Release");
  if (HasEffect(mnEffect)) (this->*kEffects[mnEffect].release)();
  mnEffect = EFFECT_NONE;
}

void CDIBOverlap::InitEffect(CDIBImage* oldImage, CDIBImage* newImage, const EffectParam* param) {
  Trace("CDIBOverlap::InitEffect");
  if (!param || !HasEffect(param->nEffect)) return;
  // A new effect replaces a running one; the old one gives back what it made.
  if (mbRun) Release();
  mpOldImage = oldImage;
  mpNewImage = newImage;
  (this->*kEffects[param->nEffect].init)(param);
}

void CDIBOverlap::StartEffect(int32_t effect, int32_t span) {
  Trace("CDIBOverlap::StartEffect");
  mnEffect = effect;
  mnSpan = span;
  mnTime = 0;
  mbFinish = false;
  mbRun = true;
}

void CDIBOverlap::Move(int32_t frameMs) {
  Trace("CDIBOverlap::Move");
  if (!mbRun) return;
  if (mnTime < mnSpan) {
    mnTime = mbFinish ? mnSpan : std::min(mnTime + std::max(frameMs, 0), mnSpan);
    if (HasEffect(mnEffect)) (this->*kEffects[mnEffect].move)();
    return;
  }
  Release();
  mbRun = false;
}

void CDIBOverlap::Draw(CDIBImage* target) {
  Trace("CDIBOverlap::Draw");
  if (!mbRun || !target || !HasEffect(mnEffect)) return;
  (this->*kEffects[mnEffect].draw)(target);
}

uint32_t CDIBOverlap::Alpha255() const {
  Trace("CDIBOverlap::Alpha255");
  if (mnSpan <= 0 || mnTime >= mnSpan) return 255;
  if (mnTime <= 0) return 0;
  return static_cast<uint32_t>(int64_t{mnTime} * 255 / mnSpan);
}

void CDIBOverlap::CopyNew(CDIBImage* target) {
  Trace("CDIBOverlap::CopyNew");
  if (!mpNewImage || !mpNewImage->GetPixels() || !target) return;
  mpNewImage->Copy(target, 0, 0, 0, 0, mpNewImage->GetWidth(), mpNewImage->GetHeight());
}
