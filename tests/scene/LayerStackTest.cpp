// The layer stack kernels against the plain rules, and whole bands of
// rectangle layers against the image's own blits drawn one after another.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "SceneTestKit.h"
#include "assets/DIBImage.h"
#include "scene/LayerStack.h"
#include "scene/PageStack.h"

namespace {

// Pixels and colours that hit the rules' corners often.
uint32_t Pixel(std::mt19937& rng) {
  switch (rng() % 7) {
    case 0: return rng() & 0x00FFFFFFu;
    case 1: return rng() | 0xFF000000u;
    case 2: return 0xFFFFFFFFu;
    case 3: return 0;
    case 4: return (rng() & 0x00FFFFFFu) | 0x01000000u;
    default: return rng();
  }
}

uint32_t Color(std::mt19937& rng) { return rng() % 3 == 0 ? 0xFFFFFFFFu : Pixel(rng); }

std::vector<const scene::StackKernels*> Sets() {
  std::vector<const scene::StackKernels*> sets{&scene::RowStack()};
  if (scene::Avx2Stack()) sets.push_back(scene::Avx2Stack());
  return sets;
}

TEST(LayerStackTest, EveryKernelSetMatchesThePlainRulesLayerAfterLayer) {
  std::mt19937 rng(11);
  for (const scene::StackKernels* set : Sets()) {
    for (int round = 0; round < 3000; ++round) {
      const size_t n = rng() % 70;
      const int count = 1 + static_cast<int>(rng() % 10);  // more than one pass
      std::vector<std::vector<uint32_t>> pixels(count, std::vector<uint32_t>(n + 1));
      std::vector<scene::StackSource> sources(count);
      for (int k = 0; k < count; ++k) {
        for (uint32_t& p : pixels[k]) p = Pixel(rng);
        // Most layers blend, as on a page; some copy, tint, clear or set
        // the alpha.
        const int pick = static_cast<int>(rng() % 9);
        const auto op = pick < 5    ? scene::StackSource::kBlend
                        : pick == 5 ? scene::StackSource::kCopy
                        : pick == 6 ? scene::StackSource::kOpaque
                        : pick == 7 ? scene::StackSource::kFill
                                    : scene::StackSource::kAlpha;
        const bool reads = op != scene::StackSource::kFill && op != scene::StackSource::kAlpha;
        sources[k] = scene::StackSource{reads ? pixels[k].data() + 1 : nullptr, Color(rng), op};
      }
      std::vector<uint32_t> page(n + 2);
      for (uint32_t& p : page) p = Pixel(rng);
      std::vector<uint32_t> expected = page;
      // Written out again from the rules: copy, blend, opaque, fill.
      for (size_t i = 0; i < n; ++i) {
        uint32_t& d = expected[i + 1];
        for (const scene::StackSource& s : sources) {
          switch (s.op) {
            case scene::StackSource::kCopy: d = s.pPixels[i]; break;
            case scene::StackSource::kBlend: d = scenetest::BlendRule(d, s.pPixels[i], s.color); break;
            case scene::StackSource::kOpaque: d = scenetest::OpaqueRule(s.pPixels[i], s.color); break;
            case scene::StackSource::kFill: d = s.color; break;
            case scene::StackSource::kAlpha: d = (d & 0x00FFFFFFu) | (s.color >> 24 << 24); break;
          }
        }
      }
      set->apply(page.data() + 1, n, sources.data(), count);
      ASSERT_EQ(page, expected) << set->name << " round " << round;
    }
  }
  // The scalar reference agrees too (it is what the others fall back to at
  // the ends of runs).
  uint32_t d = 0x80402010u, s = 0x7F10E0FFu;
  scene::StackSource src{&s, 0xC0FF80FFu, scene::StackSource::kBlend};
  scene::ScalarStack().apply(&d, 1, &src, 1);
  EXPECT_EQ(d, scenetest::BlendRule(0x80402010u, s, 0xC0FF80FFu));
}

// Random rectangle layers (partly off the page, offset into their
// pictures, of every rule) drawn band by band, and by the image's blits.
TEST(LayerStackTest, ABandOfLayersIsTheLayersBlitsOneAfterAnother) {
  std::mt19937 rng(5);
  std::vector<CDIBImage> pictures(6);
  for (CDIBImage& p : pictures) {
    p.Create(20 + static_cast<int>(rng() % 200), 10 + static_cast<int>(rng() % 120));
    for (int i = 0; i < p.GetWidth() * p.GetHeight(); ++i) p.GetPixels()[i] = Pixel(rng);
  }
  CDIBImage banded, byHand;
  banded.Create(240, 160);
  byHand.Create(240, 160);
  for (int round = 0; round < 300; ++round) {
    const int count = 1 + static_cast<int>(rng() % 16);
    std::vector<LayerBlit> blits(count);
    for (LayerBlit& b : blits) {
      b.op = static_cast<LayerBlit::Op>(rng() % 4);
      b.pSrc = &pictures[rng() % pictures.size()];
      b.sx = static_cast<int>(rng() % 10);
      b.sy = static_cast<int>(rng() % 10);
      b.w = static_cast<int>(rng() % 260);  // may run past the picture
      b.h = static_cast<int>(rng() % 180);
      b.x = static_cast<int>(rng() % 320) - 40;
      b.y = static_cast<int>(rng() % 220) - 30;
      b.color = Color(rng);
    }
    const bool clear = rng() % 2 == 0;
    for (int i = 0; i < 240 * 160; ++i) banded.GetPixels()[i] = byHand.GetPixels()[i] = Pixel(rng);
    if (clear) byHand.FillFull(0);
    for (const LayerBlit& b : blits) {
      // The blits expect their source rectangle inside the picture; cut it
      // as the band does (the picture's edge).
      const int w = std::min(b.w, b.pSrc->GetWidth() - b.sx), h = std::min(b.h, b.pSrc->GetHeight() - b.sy);
      switch (b.op) {
        case LayerBlit::kCopy: b.pSrc->Copy(&byHand, b.x, b.y, b.sx, b.sy, w, h); break;
        case LayerBlit::kBlend: b.pSrc->BltBlend(&byHand, b.x, b.y, b.sx, b.sy, w, h, b.color); break;
        case LayerBlit::kOpaque: b.pSrc->BltFast(&byHand, b.x, b.y, b.sx, b.sy, w, h, b.color); break;
        default: break;
      }
    }
    for (const scene::StackKernels* set : Sets()) {
      CDIBImage page;
      page.Create(240, 160);
      memcpy(page.GetPixels(), banded.GetPixels(), 240 * 160 * 4);
      for (int y0 = 0; y0 < 160; y0 += 16) scene::DrawBlitBand(&page, blits.data(), count, y0, 16, clear, *set);
      ASSERT_EQ(memcmp(page.GetPixels(), byHand.GetPixels(), 240 * 160 * 4), 0) << set->name << " round " << round;
    }
  }
}

}  // namespace
