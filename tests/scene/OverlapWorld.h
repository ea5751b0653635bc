// What the transitions run against in a test: an old and a new screen of
// varied pixels, a target, and an application face with a picture cache
// into which a test puts the masks and flares it needs; error boxes are
// recorded instead of shown.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/core/MainWindow.h"
#include "assets/DIBImage.h"
#include "assets/DIBSprite.h"
#include "assets/SpriteCache.h"
#include "platform/Encoding.h"
#include "platform/MessageBox.h"
#include "platform/Random.h"
#include "scene/DIBOverlap.h"
#include "ui/EffectParam.h"

namespace overlaptest {

// The screen.
constexpr int kW = 800, kH = 600;

inline uint32_t Chan(uint32_t p, int shift) { return (p >> shift) & 0xFF; }

class OverlapWorld : public ::testing::Test {
 protected:
  void SetUp() override {
    for (CDIBImage* image : {&oldImage, &newImage, &target}) ASSERT_TRUE(image->Create(kW, kH));
    // Varied bytes, so every channel's arithmetic shows.
    for (int i = 0; i < kW * kH; ++i) {
      oldImage.GetPixels()[i] = 0x80FF40C0u ^ static_cast<uint32_t>(i * 2654435761u);
      newImage.GetPixels()[i] = 0x12345678u + static_cast<uint32_t>(i * 40503u);
    }
    target.FillFull(0xDEADBEEFu);
    cache.Initialize(nullptr);
    window.mpSpriteCache = &cache;
    gpMainWindow = &window;
    plat::SetMessageBoxHook([this](const char* text, const char*, uint32_t) {
      boxes.push_back(plat::ToUtf8(text));
      return 1;
    });
    plat::SRand(1);
  }
  void TearDown() override {
    overlap.Release();
    plat::SetMessageBoxHook({});
    window.mpSpriteCache = nullptr;
    gpMainWindow = nullptr;
  }

  // A picture in the cache: `pixel(x, y)` gives its pixels; with no
  // elements given, one covers it.
  template <typename PixelFn>
  CDIBSprite* AddPicture(const char* name, int w, int h, PixelFn pixel, const std::vector<SprtElement>& elements = {}) {
    auto* sprite = new CDIBSprite;
    EXPECT_TRUE(sprite->Create(w, h));
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) sprite->GetPixels()[y * w + x] = pixel(x, y);
    if (!elements.empty()) {
      EXPECT_TRUE(sprite->InitSprtInfo(static_cast<int>(elements.size()), 4));
      for (size_t i = 0; i < elements.size(); ++i) *sprite->GetSprtInfoMutable(static_cast<int>(i)) = elements[i];
    }
    sprite->SetName(name);
    EXPECT_TRUE(cache.Add(sprite));
    return sprite;
  }
  // The references the cache holds on a picture (the test's own Add
  // counts one).
  int Refs(const char* name) const {
    for (int i = 0; i < CSpriteCache::kSlotCount; ++i) {
      const SpriteCacheSlot& slot = cache.GetSlot(i);
      if (slot.pSprite && std::string(reinterpret_cast<const char*>(slot.key)) == name) return slot.nRef;
    }
    return -1;
  }

  void Start(const EffectParam& param) { overlap.InitEffect(&oldImage, &newImage, &param); }
  uint32_t Old(int x, int y) const { return oldImage.GetPixels()[y * kW + x]; }
  uint32_t New(int x, int y) const { return newImage.GetPixels()[y * kW + x]; }
  uint32_t Out(int x, int y) const { return target.GetPixels()[y * kW + x]; }
  bool ShowsNew() const {
    for (int i = 0; i < kW * kH; ++i)
      if (target.GetPixels()[i] != newImage.GetPixels()[i]) return false;
    return true;
  }
  // A digest of the target, for comparing whole frames.
  uint64_t Digest() const {
    uint64_t h = 1469598103934665603ull;
    for (int i = 0; i < kW * kH; ++i) h = (h ^ target.GetPixels()[i]) * 1099511628211ull;
    return h;
  }

  CDIBImage oldImage, newImage, target;
  CSpriteCache cache;
  CMainWindow window;
  CDIBOverlap overlap;
  std::vector<std::string> boxes;
};

// An effect record: integers, with picture names where `names` has them
// (a name before the integer of the same index; names.size() may exceed
// the integers by one for a trailing name).
inline EffectParam Record(int32_t effect, const std::vector<int32_t>& values,
                          const std::vector<std::pair<size_t, const char*>>& names = {}) {
  EffectParam p;
  EffectParamWriter write(&p, effect);
  for (size_t i = 0; i <= values.size(); ++i) {
    for (const auto& [at, name] : names)
      if (at == i) write.Name(name);
    if (i < values.size()) write.Int(values[i]);
  }
  return p;
}

}  // namespace overlaptest
