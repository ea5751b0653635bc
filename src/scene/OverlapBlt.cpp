// Effect 1, Blt: the new picture at once; the duration only delays the end.
#include "app/core/Trace.h"
#include "scene/DIBOverlap.h"
#include "ui/EffectParam.h"

void CDIBOverlap::InitBlt(const EffectParam* param) {
  Trace("CDIBOverlap::InitBlt");
  EffectParamReader read(param);
  StartEffect(EFFECT_BLT, read.Int());
}

void CDIBOverlap::MoveBlt() { Trace("CDIBOverlap::MoveBlt"); }

void CDIBOverlap::DrawBlt(CDIBImage* target) {
  Trace("CDIBOverlap::DrawBlt");
  CopyNew(target);
}

void CDIBOverlap::ReleaseBlt() { Trace("CDIBOverlap::ReleaseBlt"); }
