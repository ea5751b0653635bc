// The caption picture of a button.
#include <algorithm>
#include <cstdio>
#include <new>

#include "app/core/MainWindow.h"
#include "app/core/Trace.h"
#include "assets/DIBSprite.h"
#include "assets/SpriteCache.h"
#include "ui/DIBButtonCtrl.h"

namespace {

// Caption pictures live in the sprite cache under names no file can have.
void MakeCaptionName(char (&name)[32]) {
  static unsigned counter = 0;
  snprintf(name, sizeof name, "*caption%08x", ++counter);
}

}  // namespace

bool CDIBButtonCtrl::InitCaption() {
  Trace("CDIBButtonCtrl::InitCaption");
  ReleaseCaption();
  CSpriteCache* cache = gpMainWindow ? gpMainWindow->mpSpriteCache : nullptr;
  if (!mpParts || !cache) return false;
  const SprtElement* frame[5];
  int width = 0, height = 0;
  for (int i = 0; i < 5; ++i) {
    frame[i] = mpParts->GetSprtInfo(mFrame[i]);
    if (!frame[i]) return false;
    width = std::max<int>(width, frame[i]->w);
    height += frame[i]->h;
  }
  auto* caption = new (std::nothrow) CDIBSprite;
  if (!caption) return false;
  const int count = mpParts->GetSprtCount();
  if (width <= 0 || height <= 0 || !caption->Create(width, height) || !caption->InitSprtInfo(count, 4)) {
    delete caption;
    return false;
  }
  for (int i = 0; i < count; ++i) *caption->GetSprtInfoMutable(i) = *mpParts->GetSprtInfo(i);
  int y = 0;
  for (int i = 0; i < 5; ++i) {
    SprtElement placed = *frame[i];
    placed.x = 0;
    placed.y = static_cast<int16_t>(y);
    *caption->GetSprtInfoMutable(mFrame[i]) = placed;
    y += frame[i]->h;
  }
  char name[32];
  MakeCaptionName(name);
  caption->SetName(name);
  if (!cache->Add(caption)) {
    delete caption;
    return false;
  }
  mpCaption = caption;
  ResCaption();
  UpdateVertex();
  return true;
}

void CDIBButtonCtrl::ResCaption() {
  Trace("CDIBButtonCtrl::ResCaption");
  if (!mpCaption || !mpParts) return;
  mpCaption->FillFull(0);
  int y = 0;
  for (int i = 0; i < 5; ++i) {
    const SprtElement* e = mpParts->GetSprtInfo(mFrame[i]);
    if (!e) return;
    mpParts->Copy(mpCaption, 0, y, e->x, e->y, e->w, e->h);
    y += e->h;
  }
  mbUpdate = true;
}

void CDIBButtonCtrl::SetCaption(int32_t state, CDIBImage* picture, const SprtVertex& quad) {
  Trace("CDIBButtonCtrl::SetCaption");
  if (!mpCaption || !picture || state < 0 || state > 4) return;
  const SprtElement* e = mpCaption->GetSprtInfo(mFrame[state]);
  if (!e) return;
  SprtVertex shifted = quad;
  for (SprtPoint& p : shifted.dst) {
    p.x = static_cast<int16_t>(p.x + e->x);
    p.y = static_cast<int16_t>(p.y + e->y);
  }
  picture->StretchBltBlend(mpCaption, shifted, false);
  mbUpdate = true;
}

void CDIBButtonCtrl::SetCaption(const FontInfo& font, int32_t state, int32_t x, int32_t y, uint32_t color,
                                const char* text, bool smooth) {
  Trace("CDIBButtonCtrl::SetCaption");
  if (!mpCaption || !text || state < 0 || state > 4) return;
  const SprtElement* e = mpCaption->GetSprtInfo(mFrame[state]);
  if (!e) return;
  mpCaption->BeginDrawString(font);
  // Text that runs past the frame would land in the next state's look.
  mpCaption->SetTextClip(e->x, e->y, e->x + e->w - 1, e->y + e->h - 1);
  if (smooth)
    mpCaption->DrawString(e->x + x, e->y + y, color, text);
  else
    mpCaption->DrawString2(e->x + x, e->y + y, color, text);
  mpCaption->ResetTextClip();
  mpCaption->EndDrawString();
  mbUpdate = true;
}
