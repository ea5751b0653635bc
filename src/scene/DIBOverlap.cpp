#include "scene/DIBOverlap.h"

#include <algorithm>

#include "app/core/MainWindow.h"
#include "app/core/Trace.h"
#include "assets/DIBImage.h"
#include "assets/DIBSprite.h"
#include "assets/SpriteCache.h"
#include "scene/OverlapArea.h"
#include "ui/EffectParam.h"

#define VELTO_EFFECT_OPS(name) \
  { &CDIBOverlap::Init##name, &CDIBOverlap::Move##name, &CDIBOverlap::Draw##name, &CDIBOverlap::Release##name }

const CDIBOverlap::EffectOps CDIBOverlap::kEffects[EFFECT_COUNT] = {
    {},
    VELTO_EFFECT_OPS(Blt),
    VELTO_EFFECT_OPS(Fade),
    VELTO_EFFECT_OPS(Alpha),
    VELTO_EFFECT_OPS(Wipe),
    VELTO_EFFECT_OPS(Rotate),
    VELTO_EFFECT_OPS(LensFlare),
    VELTO_EFFECT_OPS(Twist),
    VELTO_EFFECT_OPS(Bound),
    VELTO_EFFECT_OPS(Kacchin),
    VELTO_EFFECT_OPS(Glass),
    VELTO_EFFECT_OPS(Fire),
    VELTO_EFFECT_OPS(Water),
    VELTO_EFFECT_OPS(Film),
    VELTO_EFFECT_OPS(RotDoor),
    VELTO_EFFECT_OPS(Blur),
};

#undef VELTO_EFFECT_OPS

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
  // Whatever an effect's own release left is dropped here.
  ReleaseArea();
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
  mnStepTime = 0;
  mbFinish = false;
  mbRun = true;
}

void CDIBOverlap::Move(int32_t frameMs) {
  Trace("CDIBOverlap::Move");
  if (!mbRun) return;
  if (mnTime < mnSpan) {
    const int32_t before = mnTime;
    mnTime = mbFinish ? mnSpan : static_cast<int32_t>(std::min<int64_t>(int64_t{mnTime} + std::max(frameMs, 0), mnSpan));
    mnStepTime = mnTime - before;
    if (HasEffect(mnEffect)) (this->*kEffects[mnEffect].move)();
    return;
  }
  Release();
  mbRun = false;
}

void CDIBOverlap::Draw(CDIBImage* target) {
  Trace("CDIBOverlap::Draw");
  if (!mbRun || !target || !HasEffect(mnEffect)) return;
  // Without a duration there is nothing between the pictures to show.
  if (mnSpan <= 0) {
    CopyNew(target);
    return;
  }
  (this->*kEffects[mnEffect].draw)(target);
}

uint32_t CDIBOverlap::Alpha255() const {
  Trace("CDIBOverlap::Alpha255");
  if (mnSpan <= 0 || mnTime >= mnSpan) return 255;
  if (mnTime <= 0) return 0;
  return static_cast<uint32_t>(int64_t{mnTime} * 255 / mnSpan);
}

int64_t CDIBOverlap::Share(int64_t whole) const {
  Trace("CDIBOverlap::Share");
  if (mnSpan <= 0 || mnTime >= mnSpan) return whole;
  if (mnTime <= 0) return 0;
  return whole * mnTime / mnSpan;
}

double CDIBOverlap::Progress() const {
  Trace("CDIBOverlap::Progress");
  if (mnSpan <= 0 || mnTime >= mnSpan) return 1.0;
  if (mnTime <= 0) return 0.0;
  return static_cast<double>(mnTime) / mnSpan;
}

void CDIBOverlap::CopyNew(CDIBImage* target) {
  Trace("CDIBOverlap::CopyNew");
  if (!mpNewImage || !mpNewImage->GetPixels() || !target) return;
  mpNewImage->Copy(target, 0, 0, 0, 0, mpNewImage->GetWidth(), mpNewImage->GetHeight());
}

void CDIBOverlap::CopyOld(CDIBImage* target) {
  Trace("CDIBOverlap::CopyOld");
  if (!mpOldImage || !mpOldImage->GetPixels() || !target) return;
  mpOldImage->Copy(target, 0, 0, 0, 0, mpOldImage->GetWidth(), mpOldImage->GetHeight());
}

bool CDIBOverlap::CommonSize(const CDIBImage* target, int* width, int* height) const {
  Trace("CDIBOverlap::CommonSize");
  if (!target || !target->GetPixels() || !mpOldImage || !mpOldImage->GetPixels() || !mpNewImage ||
      !mpNewImage->GetPixels())
    return false;
  *width = std::min({mpOldImage->GetWidth(), mpNewImage->GetWidth(), target->GetWidth()});
  *height = std::min({mpOldImage->GetHeight(), mpNewImage->GetHeight(), target->GetHeight()});
  return *width > 0 && *height > 0;
}

OverlapArea& CDIBOverlap::NewArea() {
  Trace("CDIBOverlap::NewArea");
  ReleaseArea();
  mpArea = new OverlapArea;
  return *mpArea;
}

CDIBSprite* CDIBOverlap::ReadPicture(const char* name, int slot) {
  Trace("CDIBOverlap::ReadPicture");
  if (!mpArea || slot < 0 || slot > 1 || !name || !name[0]) return nullptr;
  CSpriteCache* cache = gpMainWindow ? gpMainWindow->mpSpriteCache : nullptr;
  if (!cache) return nullptr;
  CDIBSprite* picture = cache->Read(name);
  if (picture && !picture->GetPixels()) {
    cache->Free(picture);
    picture = nullptr;
  }
  mpArea->pPicture[slot] = picture;
  return picture;
}

void CDIBOverlap::ReleaseArea() {
  Trace("CDIBOverlap::ReleaseArea");
  if (!mpArea) return;
  CSpriteCache* cache = gpMainWindow ? gpMainWindow->mpSpriteCache : nullptr;
  for (CDIBSprite*& picture : mpArea->pPicture) {
    if (picture && cache) cache->Free(picture);
    picture = nullptr;
  }
  delete mpArea;
  mpArea = nullptr;
}
