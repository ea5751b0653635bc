// Rain: drops of a small picture fall over (and, ordered by depth, in front
// of and behind) the layer's picture, swaying and slanting with the wind.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "app/core/MainWindow.h"
#include "app/core/Trace.h"
#include "assets/DIBSprite.h"
#include "assets/SpriteCache.h"
#include "assets/SprtVertex.h"
#include "platform/Random.h"
#include "scene/DIBCamera.h"
#include "scene/DIBSnrAction.h"
#include "scene/FrameStep.h"
#include "scene/RecordIO.h"
#include "scene/SceneMath.h"
#include "scene/SceneQuad.h"

namespace {

// A drop falls 3000 units in one fall time; it is made afresh once it has
// passed this far.
constexpr double kFall = 3000.0;
constexpr double kFastFall = 5000.0;
constexpr int32_t kBottom = 601;
// Longest wait of a remade drop.
constexpr int32_t kRemakeSpan = 500;

CSpriteCache* Cache() { return gpMainWindow ? gpMainWindow->mpSpriteCache : nullptr; }

int64_t Whole(double v) { return std::isfinite(v) ? static_cast<int64_t>(std::trunc(std::clamp(v, -1e12, 1e12))) : 0; }

}  // namespace

void CDIBSnrAction::MakeDrop(RainDrop& drop, int32_t timeSpan) {
  Trace("CDIBSnrAction::MakeDrop");
  const int32_t wind = mParam.rain.nWind;
  drop.nX = plat::Rand() % 1000 - 100;
  if (wind > 0) drop.nX -= 400;
  else if (wind < 0) drop.nX += 400;
  drop.nY = -1000;
  drop.nZ = 100 - plat::Rand() % 200;
  drop.nTime = -(plat::Rand() % std::max(timeSpan, 1));
  drop.fAngle = (plat::Rand() % 1000) * 0.001 * smath::kTwoPi;
  drop.fScale = (plat::Rand() % 1000) * 0.0009 + 0.1;
}

bool CDIBSnrAction::SetupRain() {
  Trace("CDIBSnrAction::SetupRain");
  // The block's name is checked to be terminated; the record keeps 64 bytes
  // of it, and the cache's names are shorter still.
  if (strlen(mParam.rain.szDrop) >= kDropNameSize) return false;
  memset(mszDrop, 0, sizeof mszDrop);
  strcpy(mszDrop, mParam.rain.szDrop);
  CSpriteCache* cache = Cache();
  mpDrop = cache ? cache->Read(mszDrop) : nullptr;
  if (!mpDrop) return false;
  mnRainTime = 0;
  mDrops.assign(static_cast<size_t>(mParam.rain.nCount), RainDrop{});
  for (RainDrop& drop : mDrops) MakeDrop(drop, mParam.rain.nFallTime);
  return true;
}

void CDIBSnrAction::ReleaseRain() {
  Trace("CDIBSnrAction::ReleaseRain");
  if (mpDrop) {
    if (CSpriteCache* cache = Cache()) cache->Free(mpDrop);
    mpDrop = nullptr;
  }
  mDrops.clear();
  mDrops.shrink_to_fit();
  memset(mszDrop, 0, sizeof mszDrop);
}

void CDIBSnrAction::MoveRain() {
  Trace("CDIBSnrAction::MoveRain");
  BeginMove();
  const int32_t step = scene::FrameStep();
  const int32_t fall = std::max(mParam.rain.nFallTime, 1);
  mnRainTime = scene::AddClamped(mnRainTime, step);
  for (RainDrop& drop : mDrops) {
    drop.nTime = scene::AddClamped(drop.nTime, step);
    const int64_t height = drop.nY - Whole(static_cast<double>(drop.nTime) / fall * -kFall);
    if (height >= kBottom) MakeDrop(drop, kRemakeSpan);
  }
  mbChange = 1;
}

void CDIBSnrAction::DrawRain(const LayerDrawParam* param) {
  Trace("CDIBSnrAction::DrawRain");
  SprtVertex picture;
  PlainQuad(param, param->nX, param->nY, param->nZ, picture);
  if (param->pCamera) param->pCamera->Transform(&picture, 1);
  const bool pictureShown = !(param->pCamera && CDIBCamera::IsCleared(picture));
  CDIBImage* target = param->pTarget;
  CDIBImage* image = param->pImage;
  if (!mbPlay || !mpDrop || !mpDrop->GetPixels()) {
    if (pictureShown) scene::DrawByRule(image, target, picture, param->bBlend != 0, param->bAnti != 0);
    return;
  }

  const auto& p = mParam.rain;
  const int32_t fall = std::max(p.nFallTime, 1);
  const int64_t pw = mpDrop->GetWidth(), ph = mpDrop->GetHeight();
  const bool billboard = param->pCamera && param->pCamera->IsBillboard();
  const size_t half = mDrops.size() / 2;
  std::vector<SprtVertex> drops;
  drops.reserve(mDrops.size());
  for (size_t i = 0; i < mDrops.size(); ++i) {
    const RainDrop& d = mDrops[i];
    if (d.nTime < 0) continue;
    const double e = static_cast<double>(d.nTime) / fall;
    const int64_t sh = Whole(static_cast<double>(ph) * d.fScale);
    const int64_t drift = p.nWind > 0 ? Whole(e * kFall) : p.nWind < 0 ? Whole(e * -kFall) : 0;
    const int64_t slant = p.nWind == 0 || billboard ? 0 : sh * p.nWind / 100;
    const double l = smath::Sin(e * 2.0 * smath::kTwoPi);
    const int64_t x = d.nX + drift + Whole(p.nSway * smath::Sin(d.fAngle) * l);
    const int64_t y = d.nY + (i < half ? Whole(e * kFall) : Whole(e * kFastFall));
    const int64_t z = d.nZ + Whole(p.nSway * smath::Cos(d.fAngle) * l);
    const double fade = std::min(e * 10.0, 1.0) * (d.nZ + 100) * 0.005 * 128.0;
    const uint32_t alpha = static_cast<uint32_t>(std::clamp<int64_t>(Whole(fade), 0, 255));
    SprtVertex q;
    scene::SetPoint(q.dst[0], x, y, z);
    scene::SetPoint(q.dst[1], x + pw - 1, y, z);
    scene::SetPoint(q.dst[2], x + pw - 1 + slant, y + sh - 1, z);
    scene::SetPoint(q.dst[3], x + slant, y + sh - 1, z);
    scene::SetWholeSource(q, mpDrop);
    q.color = (param->dwColor & 0x00FFFFFFu) | alpha << 24;
    drops.push_back(q);
  }
  if (param->pCamera && !drops.empty()) {
    param->pCamera->Transform(drops.data(), static_cast<int>(drops.size()));
    drops.erase(std::remove_if(drops.begin(), drops.end(), [](const SprtVertex& q) { return CDIBCamera::IsCleared(q); }),
                drops.end());
  }
  std::stable_sort(drops.begin(), drops.end(),
                   [](const SprtVertex& a, const SprtVertex& b) { return a.dst[0].z < b.dst[0].z; });

  const bool anti = param->bAnti != 0;
  if (!param->bBlend) {
    if (pictureShown) scene::DrawByRule(image, target, picture, false, false);
    for (const SprtVertex& q : drops) mpDrop->StretchBltBlend(target, q, anti);
    return;
  }
  const size_t behind = drops.size() / 2;
  for (size_t i = 0; i < behind; ++i) mpDrop->StretchBltBlend(target, drops[i], anti);
  if (pictureShown) image->StretchBltBlend(target, picture, anti);
  for (size_t i = behind; i < drops.size(); ++i) mpDrop->StretchBltBlend(target, drops[i], anti);
}

void CDIBSnrAction::SaveRain(uint8_t*& dst) const {
  Trace("CDIBSnrAction::SaveRain");
  CRecordWriter out(dst);
  out.I32(mnRainTime);
  out.Text(mszDrop, kDropNameSize);
  dst = out.End();
}

void CDIBSnrAction::LoadRain(const uint8_t*& src) {
  Trace("CDIBSnrAction::LoadRain");
  CRecordReader in(src, 4 + kDropNameSize);
  mnRainTime = in.I32();
  in.Text(mszDrop, kDropNameSize);
  src = in.Here();
  // The drops are not saved: they start afresh, at random. A drop picture
  // that cannot be read any more leaves the rain without drops.
  CSpriteCache* cache = Cache();
  mpDrop = cache && mszDrop[0] ? cache->Read(mszDrop) : nullptr;
  mDrops.assign(static_cast<size_t>(mParam.rain.nCount), RainDrop{});
  for (RainDrop& drop : mDrops) MakeDrop(drop, mParam.rain.nFallTime);
}
