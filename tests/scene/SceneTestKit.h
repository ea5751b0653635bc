// A small world for scene tests: an application object with a display and
// a picture cache reading pictures written into a scratch folder, and the
// pixel rules worked out by hand for the expectations.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "TestDir.h"
#include "app/core/MainWindow.h"
#include "assets/DIBDisplay.h"
#include "assets/DIBSprite.h"
#include "assets/FileJoin.h"
#include "assets/PictureTestUtil.h"
#include "assets/SpriteCache.h"
#include "platform/Random.h"

namespace scenetest {

// A pixel of a test picture: every one differs from its neighbours in
// every channel, and alpha varies.
inline uint32_t PatternPixel(int x, int y, uint32_t seed) {
  uint32_t v = (static_cast<uint32_t>(x) * 73856093u) ^ (static_cast<uint32_t>(y) * 19349663u) ^ (seed * 83492791u);
  v ^= v >> 13;
  v *= 0x5bd1e995u;
  v ^= v >> 15;
  return v;
}

inline std::vector<uint32_t> Pattern(int w, int h, uint32_t seed, bool opaque = false) {
  std::vector<uint32_t> px(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) px[static_cast<size_t>(y) * w + x] = PatternPixel(x, y, seed) | (opaque ? 0xFF000000u : 0u);
  return px;
}

// The per-pixel rules, written out again from their definitions.
inline uint32_t Ch(uint32_t p, int sh) { return (p >> sh) & 0xFF; }
inline uint32_t BlendRule(uint32_t d, uint32_t s, uint32_t m) {
  if (Ch(s, 24) == 0) return d;
  const uint32_t a = Ch(s, 24) * Ch(m, 24) / 256;
  uint32_t out = 0;
  for (int sh = 0; sh < 32; sh += 8) out |= ((Ch(d, sh) * (255 - a) + Ch(s, sh) * Ch(m, sh) / 256 * a) / 256) << sh;
  return out;
}
inline uint32_t OpaqueRule(uint32_t s, uint32_t m) {
  uint32_t out = 0xFF000000u;
  for (int sh = 0; sh < 24; sh += 8) out |= (Ch(s, sh) * Ch(m, sh) / 256) << sh;
  return out;
}
inline uint32_t TintRule(uint32_t s, uint32_t m) {
  uint32_t out = s & 0xFF000000u;
  for (int sh = 0; sh < 24; sh += 8) out |= (Ch(s, sh) * Ch(m, sh) / 255) << sh;
  return out;
}

class SceneWorld : public ::testing::Test {
 protected:
  void SetUp() override {
    gpMainWindow = &window;
    window.mFrameTime = 30;
    window.mpSpriteCache = &cache;
    window.mpDisplay = &display;
    dir.Write("MGD/.keep", "");
    ASSERT_TRUE(source.Initialize(dir.path().c_str(), "MGD", ".MGD"));
    cache.Initialize(&source);
    ASSERT_TRUE(display.Initialize());
    plat::SRand(1);
  }
  void TearDown() override {
    cache.Release();
    gpMainWindow = nullptr;
  }

  // Writes a picture file the cache can read under `name`.
  void AddPicture(const std::string& name, int w, int h, const std::vector<uint32_t>& px) {
    dir.Write("MGD/" + name + ".MGD", PictureFile(px, w, h, kPictureRaw));
  }
  // A pattern picture, returned for the expectations.
  std::vector<uint32_t> AddPattern(const std::string& name, int w, int h, uint32_t seed, bool opaque = false) {
    std::vector<uint32_t> px = Pattern(w, h, seed, opaque);
    AddPicture(name, w, h, px);
    return px;
  }
  // References the cache holds on `name`; −1 when it is not cached.
  int Refs(const std::string& name) const {
    for (int i = 0; i < CSpriteCache::kSlotCount; ++i) {
      const SpriteCacheSlot& s = cache.GetSlot(i);
      if (s.pSprite && name == s.pSprite->GetName()) return s.nRef;
    }
    return -1;
  }

  TestDir dir;
  CMainWindow window;
  CFileJoin source;
  CSpriteCache cache;
  CDIBDisplay display;
};

}  // namespace scenetest
