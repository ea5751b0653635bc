// Effect 2, Fade: a cross-fade of every byte, old × (255 − a) + new × a ÷256
// with a = elapsed × 255 ÷ duration, through the image's row kernels.
#include <algorithm>

#include "app/core/Trace.h"
#include "assets/DIBImage.h"
#include "assets/PixelRows.h"
#include "scene/DIBOverlap.h"
#include "ui/EffectParam.h"

void CDIBOverlap::InitFade(const EffectParam* param) {
  Trace("CDIBOverlap::InitFade");
  EffectParamReader read(param);
  StartEffect(EFFECT_FADE, read.Int());
}

void CDIBOverlap::MoveFade() { Trace("CDIBOverlap::MoveFade"); }

void CDIBOverlap::DrawFade(CDIBImage* target) {
  Trace("CDIBOverlap::DrawFade");
  const uint32_t a = Alpha255();
  if (a >= 255 || !mpOldImage || !mpOldImage->GetPixels()) {
    CopyNew(target);
    return;
  }
  if (!mpNewImage || !mpNewImage->GetPixels() || !target->GetPixels()) return;
  // The three pictures are screen-sized; a smaller one limits the area.
  const int width = std::min({mpOldImage->GetWidth(), mpNewImage->GetWidth(), target->GetWidth()});
  const int height = std::min({mpOldImage->GetHeight(), mpNewImage->GetHeight(), target->GetHeight()});
  const pix::RowKernels& rows = pix::Rows();
  for (int y = 0; y < height; ++y) {
    rows.fade(target->GetPixels() + y * target->GetWidth(), mpOldImage->GetPixels() + y * mpOldImage->GetWidth(),
              mpNewImage->GetPixels() + y * mpNewImage->GetWidth(), static_cast<size_t>(width), a);
  }
}

void CDIBOverlap::ReleaseFade() { Trace("CDIBOverlap::ReleaseFade"); }
