// Effect 4, Wipe: a mask shape, stretched about the centre of the screen,
// grows from nothing to one and a half screens with the new picture inside
// it (mode 0), or shrinks to nothing with the old picture inside it
// (mode 1).
#include <algorithm>
#include <cstring>
#include <vector>

#include "app/core/Trace.h"
#include "assets/DIBImage.h"
#include "assets/DIBSprite.h"
#include "scene/DIBOverlap.h"
#include "scene/OverlapArea.h"
#include "ui/EffectParam.h"

namespace {

enum { kWipeGrow = 0, kWipeShrink = 1 };

// One frame: the mask stretched (nearest pixel) to (width + width ÷ 2) × k
// by (height + height ÷ 2) × k, centred; `inside` shows where its blue byte
// is not 0, `outside` everywhere else.
void DrawWipeFrame(const CDIBImage& mask, double k, const CDIBImage& inside, const CDIBImage& outside,
                   CDIBImage* target, int width, int height) {
  const int sw = static_cast<int>((width + width / 2) * k);
  const int sh = static_cast<int>((height + height / 2) * k);
  const int x0 = (width - sw) / 2, y0 = (height - sh) / 2;
  const int mw = mask.GetWidth(), mh = mask.GetHeight();
  std::vector<int> column(static_cast<size_t>(width), -1);
  if (sw > 0)
    for (int x = std::max(x0, 0); x < std::min(x0 + sw, width); ++x)
      column[x] = static_cast<int>(int64_t{x - x0} * mw / sw);
  for (int y = 0; y < height; ++y) {
    const uint32_t* in = inside.GetPixels() + static_cast<size_t>(y) * inside.GetWidth();
    const uint32_t* out = outside.GetPixels() + static_cast<size_t>(y) * outside.GetWidth();
    uint32_t* d = target->GetPixels() + static_cast<size_t>(y) * target->GetWidth();
    if (sh <= 0 || y < y0 || y >= y0 + sh) {
      memcpy(d, out, static_cast<size_t>(width) * 4);
      continue;
    }
    const uint32_t* m = mask.GetPixels() + static_cast<size_t>(int64_t{y - y0} * mh / sh) * mw;
    for (int x = 0; x < width; ++x) d[x] = (column[x] >= 0 && (m[column[x]] & 0xFF) != 0) ? in[x] : out[x];
  }
}

}  // namespace

void CDIBOverlap::InitWipe(const EffectParam* param) {
  Trace("CDIBOverlap::InitWipe");
  EffectParamReader read(param);
  const int32_t span = read.Int();
  const int32_t mode = read.Int();
  char name[256];
  read.Name(name);
  StartEffect(EFFECT_WIPE, span);
  OverlapArea& area = NewArea();
  area.nMode = mode == kWipeShrink ? kWipeShrink : kWipeGrow;
  // Without its mask the effect shows the new picture until it ends.
  area.bMissing = ReadPicture(name, 0) == nullptr;
}

void CDIBOverlap::MoveWipe() { Trace("CDIBOverlap::MoveWipe"); }

void CDIBOverlap::DrawWipe(CDIBImage* target) {
  Trace("CDIBOverlap::DrawWipe");
  if (!mpArea || mpArea->bMissing || mnSpan <= 0) {
    CopyNew(target);
    return;
  }
  if (mpArea->nMode == kWipeShrink)
    DrawWipe01(target);
  else
    DrawWipe00(target);
}

void CDIBOverlap::DrawWipe00(CDIBImage* target) {
  Trace("CDIBOverlap::DrawWipe00");
  int width, height;
  if (!CommonSize(target, &width, &height)) return;
  DrawWipeFrame(*mpArea->pPicture[0], Progress(), *mpNewImage, *mpOldImage, target, width, height);
}

void CDIBOverlap::DrawWipe01(CDIBImage* target) {
  Trace("CDIBOverlap::DrawWipe01");
  int width, height;
  if (!CommonSize(target, &width, &height)) return;
  DrawWipeFrame(*mpArea->pPicture[0], 1.0 - Progress(), *mpOldImage, *mpNewImage, target, width, height);
}

void CDIBOverlap::ReleaseWipe() {
  Trace("CDIBOverlap::ReleaseWipe");
  ReleaseArea();
}
