#include <cstring>

#include "app/core/MainWindow.h"
#include "app/core/Trace.h"
#include "assets/DIBImage.h"
#include "assets/DIBSprite.h"
#include "assets/SpriteCache.h"
#include "save/SaveData.h"

namespace {

// Nearest sampling: at a fifth of the size the 2 × 2 bilinear sample would
// smooth little, and its weights (255 − f) darken every colour slightly.
constexpr bool kSumFilter = false;

}  // namespace

bool CSaveData::CreateSaveSum(CDIBImage* source) {
  Trace("CSaveData::CreateSaveSum");
  if (!mpSumImage || !mpSumImage->GetPixels()) return false;
  mpSumImage->FillFull(0);
  int w = mpSumImage->GetWidth(), h = mpSumImage->GetHeight();
  uint32_t value = GetSumValue();
  SprtVertex v;
  switch (mSumType) {
    case 0:
      if (!source || !source->GetPixels()) return false;
      source->SetStretchVertex(v, 0, 0, w, h, value);
      source->StretchBltBlend(mpSumImage, v, kSumFilter);
      break;
    case 10:
    case 20:
      if (!source || !source->GetPixels()) return false;
      source->SetStretchVertex(v, 0, 0, w, h, 0xFFFFFFFFu);
      source->StretchBltCopy(mpSumImage, v, kSumFilter);
      if (mSumType == 10)
        mpSumImage->Mozaiku(static_cast<int>(value), true, true);
      else
        mpSumImage->Befog(static_cast<int>(value));
      break;
    case 30:
      mpSumImage->FillFull(value);
      break;
    case 40: {
      CSpriteCache* cache = gpMainWindow ? gpMainWindow->mpSpriteCache : nullptr;
      char name[kNameLen];
      memcpy(name, mSumParam, sizeof name);
      name[kNameLen - 1] = 0;
      CDIBSprite* picture = cache ? cache->Read(name) : nullptr;
      if (!picture) return false;
      picture->CDIBImage::SetStretchVertex(v, 0, 0, w, h, 0xFFFFFFFFu);
      picture->StretchBltCopy(mpSumImage, v, kSumFilter);
      cache->Free(picture);
      break;
    }
    default:
      break;
  }
  mpSumImage->FillAlpha(255);
  return true;
}
