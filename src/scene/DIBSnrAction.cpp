#include "scene/DIBSnrAction.h"

#include <cstddef>
#include <cstring>

#include "app/core/Trace.h"
#include "assets/DIBImage.h"
#include "assets/SprtVertex.h"
#include "scene/DIBCamera.h"
#include "scene/DIBFire.h"
#include "scene/SceneQuad.h"

static_assert(offsetof(SnrActionParam, scroll.bLoop) == 8 && offsetof(SnrActionParam, scroll.nCount) == 12 &&
                  offsetof(SnrActionParam, scroll.nX) == 16 && offsetof(SnrActionParam, scroll.nY) == 80 &&
                  offsetof(SnrActionParam, scroll.nZ) == 144,
              "the Scroll block's layout");
static_assert(offsetof(SnrActionParam, rain.szDrop) == 20, "the Rain block's layout");
static_assert(offsetof(SnrActionParam, fire.nFront) == 16, "the Fire block's layout");
static_assert(offsetof(SnrActionParam, raster.nMode) == 20, "the Raster block's layout");

CDIBSnrAction::CDIBSnrAction() { Trace("CDIBSnrAction::CDIBSnrAction"); }

CDIBSnrAction::~CDIBSnrAction() {
  Trace("CDIBSnrAction::~CDIBSnrAction");
  CDIBSnrAction::Release();
}

bool CDIBSnrAction::Initialize() {
  Trace("CDIBSnrAction::Initialize");
  Release();
  return true;
}

void CDIBSnrAction::Release() {
  Trace("CDIBSnrAction::Release");
  switch (mnKind) {
    case SNRACT_2DROT: Release2DRot(); break;
    case SNRACT_SCROLL: ReleaseScroll(); break;
    case SNRACT_RASTER: ReleaseRaster(); break;
    case SNRACT_RAIN: ReleaseRain(); break;
    case SNRACT_FIRE: ReleaseFire(); break;
    default: break;
  }
  mbActive = mbPlay = mbChange = mbStart = mbStop = mbHurry = 0;
  mnKind = SNRACT_NONE;
  memset(&mParam, 0, sizeof mParam);
  mnRotTime = mnRotTurns = 0;
  mnScrollTime = 0;
  mnRasterPhase = mnRasterFadeIn = mnRasterFadeOut = 0;
  mnRainTime = 0;
}

bool CDIBSnrAction::CheckParam(const SnrActionParam& param) {
  Trace("CDIBSnrAction::CheckParam");
  switch (param.nKind) {
    case SNRACT_NONE:
    case SNRACT_2DROT:
    case SNRACT_RASTER:
    case SNRACT_FIRE: return true;
    case SNRACT_SCROLL: return param.scroll.nCount >= 1 && param.scroll.nCount <= SnrActionParam::kMaxScrollPoints;
    case SNRACT_RAIN:
      // Drops wait a random part of the fall time: it must be positive.
      return param.rain.nFallTime > 0 && param.rain.nCount >= 0 && param.rain.nCount <= kMaxDrops &&
             memchr(param.rain.szDrop, 0, sizeof param.rain.szDrop) != nullptr;
    default: return false;
  }
}

bool CDIBSnrAction::Setup(const SnrActionParam* param) {
  Trace("CDIBSnrAction::Setup");
  Release();
  if (!param || !CheckParam(*param)) return false;
  mParam = *param;
  mnKind = param->nKind;
  mbStart = mbStop = 0;
  bool ok = true;
  switch (mnKind) {
    case SNRACT_2DROT: ok = Setup2DRot(); break;
    case SNRACT_SCROLL: ok = SetupScroll(); break;
    case SNRACT_RASTER: ok = SetupRaster(); break;
    case SNRACT_RAIN: ok = SetupRain(); break;
    case SNRACT_FIRE: ok = SetupFire(); break;
    default: break;
  }
  if (!ok) Release();
  return ok;
}

void CDIBSnrAction::Play() {
  Trace("CDIBSnrAction::Play");
  mbPlay = 1;
  mbActive = 1;
  mbStart = 0;
}

void CDIBSnrAction::Stop() {
  Trace("CDIBSnrAction::Stop");
  mbPlay = 0;
  mbActive = 1;
  mbStop = 0;
}

void CDIBSnrAction::Move(bool hurried) {
  Trace("CDIBSnrAction::Move");
  if (!mbActive) return;
  mbHurry = hurried ? 1 : 0;
  switch (mnKind) {
    case SNRACT_2DROT: Move2DRot(); break;
    case SNRACT_SCROLL: MoveScroll(); break;
    case SNRACT_RASTER: MoveRaster(); break;
    case SNRACT_RAIN: MoveRain(); break;
    case SNRACT_FIRE: MoveFire(); break;
    default: break;
  }
}

void CDIBSnrAction::Draw(const LayerDrawParam* param) {
  Trace("CDIBSnrAction::Draw");
  if (!param || !param->pTarget || !param->pTarget->GetPixels() || !param->pImage || !param->pImage->GetPixels())
    return;
  switch (mnKind) {
    case SNRACT_2DROT: Draw2DRot(param); break;
    case SNRACT_SCROLL: DrawScroll(param); break;
    case SNRACT_RASTER: DrawRaster(param); break;
    case SNRACT_RAIN: DrawRain(param); break;
    case SNRACT_FIRE: DrawFire(param); break;
    default: break;
  }
}

bool CDIBSnrAction::IsUse() const {
  Trace("CDIBSnrAction::IsUse");
  return mnKind != SNRACT_NONE;
}

bool CDIBSnrAction::IsActive() const {
  Trace("CDIBSnrAction::IsActive");
  return mbActive != 0;
}

bool CDIBSnrAction::IsUpdate() const {
  Trace("CDIBSnrAction::IsUpdate");
  return mbChange != 0;
}

bool CDIBSnrAction::IsPlay() const {
  Trace("CDIBSnrAction::IsPlay");
  return mbPlay != 0;
}

bool CDIBSnrAction::IsStart() const {
  Trace("CDIBSnrAction::IsStart");
  return mbStart != 0;
}

bool CDIBSnrAction::IsStop() const {
  Trace("CDIBSnrAction::IsStop");
  return mbStop != 0;
}

const CDIBSnrAction::RainDrop* CDIBSnrAction::GetDrop(int index) const {
  Trace("CDIBSnrAction::GetDrop");
  if (index < 0 || index >= static_cast<int>(mDrops.size())) return nullptr;
  return &mDrops[static_cast<size_t>(index)];
}

void CDIBSnrAction::BeginMove() {
  Trace("CDIBSnrAction::BeginMove");
  mbChange = 0;
  if (mbPlay) {
    mbStart = 1;
  } else {
    mbStop = 1;
    mbActive = 0;
  }
}

void CDIBSnrAction::PlainQuad(const LayerDrawParam* param, int64_t x, int64_t y, int64_t z, SprtVertex& out) const {
  Trace("CDIBSnrAction::PlainQuad");
  scene::SetRectQuad(out, param->pImage, x, y, z, param->nWidth, param->nHeight, param->dwColor);
}

void CDIBSnrAction::DrawQuads(const LayerDrawParam* param, CDIBImage* src, SprtVertex* quads, int count) {
  Trace("CDIBSnrAction::DrawQuads");
  if (!src || !src->GetPixels() || count <= 0) return;
  if (param->pCamera) param->pCamera->Transform(quads, count);
  for (int i = 0; i < count; ++i) {
    if (param->pCamera && CDIBCamera::IsCleared(quads[i])) continue;
    scene::DrawByRule(src, param->pTarget, quads[i], param->bBlend != 0, param->bAnti != 0);
  }
}
