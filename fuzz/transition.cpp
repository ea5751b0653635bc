// Transition records from arbitrary bytes (as a damaged scenario or a
// screen's setup table hands them over), run for a few frames between small
// screens with odd pictures in the cache: no number, name, time or size may
// make an effect read or write outside a picture, divide by zero or hang.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "app/core/MainWindow.h"
#include "FuzzInput.h"
#include "assets/DIBImage.h"
#include "assets/DIBSprite.h"
#include "assets/SpriteCache.h"
#include "platform/MessageBox.h"
#include "platform/Random.h"
#include "scene/DIBOverlap.h"
#include "ui/EffectParam.h"

namespace {

using fuzzin::Reader;

// The pictures an effect may name: one pixel; a flare whose elements reach
// past it or have no size; a picture without elements.
struct World {
  CSpriteCache cache;
  CMainWindow window;
  World() {
    cache.Initialize(nullptr);
    Add("A", 1, 1, {});
    Add("B", 40, 30, {{0, 0, 40, 30, 0, 0}, {30, 20, 50, 50, 0, 0}, {-5, -5, 3, 3, 0, 0}, {0, 0, 0, 7, 0, 0},
                      {39, 29, 1, 1, 0, 0}});
    auto* bare = new CDIBSprite;
    bare->Create(3, 3);
    bare->InitSprtInfo(0, 4);
    bare->SetName("C");
    cache.Add(bare);
    window.mpSpriteCache = &cache;
    gpMainWindow = &window;
    plat::SetMessageBoxHook([](const char*, const char*, uint32_t) { return 1; });
  }
  void Add(const char* name, int w, int h, const std::vector<SprtElement>& elements) {
    auto* sprite = new CDIBSprite;
    sprite->Create(w, h);
    for (int i = 0; i < w * h; ++i) sprite->GetPixels()[i] = 0x80FF8040u + static_cast<uint32_t>(i * 2654435761u);
    if (!elements.empty()) {
      sprite->InitSprtInfo(static_cast<int>(elements.size()), 4);
      for (size_t i = 0; i < elements.size(); ++i) *sprite->GetSprtInfoMutable(static_cast<int>(i)) = elements[i];
    }
    sprite->SetName(name);
    cache.Add(sprite);
  }
};

const char* const kNames[] = {"", "A", "B", "C", "MISSING"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static World world;
  Reader in{data, size};
  const int w = 1 + in.Take<uint8_t>() % 64, h = 1 + in.Take<uint8_t>() % 48;
  const uint8_t shape = in.Take<uint8_t>();
  CDIBImage oldImage, newImage, target;
  oldImage.Create(w, h);
  // Screens of other sizes than the target, now and then.
  newImage.Create(shape & 1 ? w : 1 + w / 2, shape & 2 ? h : 1 + h / 3);
  target.Create(shape & 4 ? w : w + 7, h);
  oldImage.FillFull(0x80336699u);
  newImage.FillFull(0xFFCC9933u);
  target.FillFull(0);

  EffectParam param;
  memset(&param, 0, sizeof param);
  param.nEffect = in.Take<uint8_t>() % 18;
  if (shape & 8) {
    // A record exactly as the bytes give it.
    const size_t n = in.size < sizeof param.bParam ? in.size : sizeof param.bParam;
    memcpy(param.bParam, in.data, n);
    in.data += n;
    in.size -= n;
  } else {
    // Values in order, each an integer or one of the cache's names.
    EffectParamWriter write(&param, param.nEffect);
    for (int i = 0; i < 6; ++i) {
      const uint8_t kind = in.Take<uint8_t>();
      if (kind % 4 == 0)
        write.Name(kNames[kind / 4 % 5]);
      else
        write.Int(kind % 4 == 1 ? static_cast<int32_t>(in.Take<int16_t>()) : in.Take<int32_t>());
    }
  }
  plat::SRand(in.Take<uint16_t>());
  CDIBOverlap overlap;
  overlap.InitEffect(&oldImage, &newImage, &param);
  for (int frame = 0; frame < 6 && overlap.IsRun(); ++frame) {
    overlap.Draw(&target);
    const uint8_t step = in.Take<uint8_t>();
    if (step & 0x80) overlap.SetFinish();
    // Short steps: the flame grid is screen-wide whatever the screen, and
    // each 10 ms of it is a full pass.
    overlap.Move(step % 12);
  }
  overlap.Draw(&target);
  return 0;
}
