// The game program with a first screen that, each time the player clicks
// or presses Return, switches to a new screen through the next of the
// fifteen transitions (1 … 15, 300 ms each) and prints "switch EFFECT
// FRAME". The screens are gradients of their own colours; the cache holds
// the mask, flare, film frame and scratch pictures the effects name.
#include <cstdio>
#include <cstring>

#include "app/Entry.h"
#include "app/MainWindowImpl.h"
#include "app/StartScreen.h"
#include "app/flow/RootFlow.h"
#include "assets/DIBSprite.h"
#include "assets/SpriteCache.h"
#include "scene/DIBOverlap.h"
#include "ui/DIBBaseScreen.h"
#include "ui/EffectParam.h"
#include "ui/Input.h"

namespace {

constexpr int32_t kSpan = 300;

EffectParam Record(int effect) {
  EffectParam p;
  EffectParamWriter w(&p, effect);
  switch (effect) {
    case EFFECT_ALPHA: w.Int(kSpan).Int(2).Name("MASK").Int(96); break;
    case EFFECT_WIPE: w.Int(kSpan).Int(0).Name("MASK"); break;
    case EFFECT_LENSFLARE: w.Int(kSpan).Name("FLARE").Int(0).Int(kSpan).Int(1); break;
    case EFFECT_BOUND: w.Int(kSpan).Int(10).Int(2).Int(60).Int(80); break;
    case EFFECT_FILM: w.Name("FRAME").Name("SCRATCH").Int(100).Int(100).Int(100); break;
    case EFFECT_ROTATE:
    case EFFECT_TWIST:
    case EFFECT_KACCHIN:
    case EFFECT_GLASS:
    case EFFECT_ROTDOOR: w.Int(kSpan).Int(effect % 2); break;
    case EFFECT_BLUR: w.Int(kSpan).Int(11); break;
    default: w.Int(kSpan); break;
  }
  return p;
}

void AddPicture(CSpriteCache* cache, const char* name, int w, int h, uint32_t seed, int elements) {
  auto* sprite = new CDIBSprite;
  sprite->Create(w, h);
  uint32_t s = seed;
  for (int i = 0; i < w * h; ++i) {
    s = s * 1103515245u + 12345u;
    sprite->GetPixels()[i] = (s >> 8) | ((i % w) * 255 / w) << 24;
  }
  if (elements > 1) {
    sprite->InitSprtInfo(elements, 4);
    for (int i = 0; i < elements; ++i)
      *sprite->GetSprtInfoMutable(i) = i == 0 ? SprtElement{0, 0, static_cast<int16_t>(w), static_cast<int16_t>(h), 0, 0}
                                              : SprtElement{static_cast<int16_t>(i * 20), 0, 20, 20, 0, 0};
  }
  sprite->SetName(name);
  cache->Add(sprite);
  cache->Free(sprite);
}

class CEffectScreen : public CDIBBaseScreen {
 public:
  explicit CEffectScreen(int index) : CDIBBaseScreen(nullptr), mIndex(index) {
    Initialize();
    const uint32_t r = (index * 97) & 0xFF, g = (index * 53 + 80) & 0xFF;
    for (int y = 0; y < 600; ++y)
      for (int x = 0; x < 800; ++x)
        mpBackImage->GetPixels()[y * 800 + x] = 0xFF000000u | r << 16 | ((g + y / 3) & 0xFF) << 8 | (x * 255 / 799);
  }

  void Move() override {
    CDIBBaseScreen::Move();
    if (mIndex >= EFFECT_COUNT - 1 || !gpMainWindow->mpInput->CheckKeyTbl(KeyTblNext)) return;
    const EffectParam record = Record(mIndex + 1);
    printf("switch %d %lld\n", mIndex + 1, static_cast<CMainWindowImpl*>(gpMainWindow)->FramesRun());
    gpMainWindow->mpRootFlow->ChangeScreen(&record, nullptr, nullptr, new CEffectScreen(mIndex + 1), false);
  }

 private:
  int mIndex;
};

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IOLBF, 0);
  SetStartScreenFactory([]() -> CDIBBaseScreen* {
    CSpriteCache* cache = gpMainWindow->mpSpriteCache;
    AddPicture(cache, "MASK", 200, 150, 1, 1);
    AddPicture(cache, "FLARE", 800, 600, 2, 12);
    AddPicture(cache, "FRAME", 100, 75, 3, 1);
    AddPicture(cache, "SCRATCH", 60, 20, 4, 3);
    return new CEffectScreen(0);
  });
  return VeltoMain(argc, argv);
}
