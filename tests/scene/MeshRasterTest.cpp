// The mesh rasteriser draws each quad exactly as the image's own quad
// rules do (copy, and blend where nothing was blended before), whatever
// the quad: random quads against StretchBltCopy and StretchBltBlend.
#include "scene/MeshRaster.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

// The first pixel where two pictures of one size differ, or -1.
int FirstDifference(const CDIBImage& a, const CDIBImage& b) {
  const uint32_t* pa = a.GetPixels();
  const uint32_t* pb = b.GetPixels();
  const int n = a.GetWidth() * a.GetHeight();
  const auto at = std::mismatch(pa, pa + n, pb);
  return at.first == pa + n ? -1 : static_cast<int>(at.first - pa);
}

SprtVertex RandomQuad(std::mt19937& rng, int sw, int sh) {
  SprtVertex v;
  // Mostly small quads near the target, some large, some off it, some
  // folded over.
  const int span = rng() % 4 == 0 ? 400 : 40;
  const int cx = static_cast<int>(rng() % 260) - 30, cy = static_cast<int>(rng() % 200) - 30;
  for (SprtPoint& p : v.dst)
    p = SprtPoint{static_cast<int16_t>(cx + static_cast<int>(rng() % span) - span / 2),
                  static_cast<int16_t>(cy + static_cast<int>(rng() % span) - span / 2), 0};
  for (SprtTexel& t : v.src) t = SprtTexel{static_cast<int16_t>(rng() % sw), static_cast<int16_t>(rng() % sh)};
  if (rng() % 3 == 0) {  // an unscaled rectangle
    const int x = cx, y = cy, w = 1 + rng() % 30, h = 1 + rng() % 30;
    const int u = rng() % (sw - w), t = rng() % (sh - h);
    v.dst[0] = SprtPoint{static_cast<int16_t>(x), static_cast<int16_t>(y), 0};
    v.dst[1] = SprtPoint{static_cast<int16_t>(x + w), static_cast<int16_t>(y), 0};
    v.dst[2] = SprtPoint{static_cast<int16_t>(x + w), static_cast<int16_t>(y + h), 0};
    v.dst[3] = SprtPoint{static_cast<int16_t>(x), static_cast<int16_t>(y + h), 0};
    v.src[0] = SprtTexel{static_cast<int16_t>(u), static_cast<int16_t>(t)};
    v.src[1] = SprtTexel{static_cast<int16_t>(u + w), static_cast<int16_t>(t)};
    v.src[2] = SprtTexel{static_cast<int16_t>(u + w), static_cast<int16_t>(t + h)};
    v.src[3] = SprtTexel{static_cast<int16_t>(u), static_cast<int16_t>(t + h)};
  }
  v.color = rng() % 2 ? 0xFFFFFFFFu : (rng() | 0x20000000u);
  return v;
}

TEST(MeshRaster, EveryQuadIsDrawnAsTheImageDrawsIt) {
  std::mt19937 rng(1234);
  CDIBImage source, byImage, byMesh;
  ASSERT_TRUE(source.Create(90, 70));
  for (int i = 0; i < 90 * 70; ++i) source.GetPixels()[i] = rng();
  ASSERT_TRUE(byImage.Create(200, 150));
  ASSERT_TRUE(byMesh.Create(200, 150));
  CMeshRaster mesh;
  for (int trial = 0; trial < 1500; ++trial) {
    const SprtVertex v = RandomQuad(rng, 90, 70);
    const uint32_t background = rng();
    byImage.FillFull(background);
    byMesh.FillFull(background);
    if (trial % 2) {
      source.StretchBltCopy(&byImage, v, false);
      mesh.Begin(&byMesh, false);
      mesh.Copy(source, &v, 1);
    } else {
      source.StretchBltBlend(&byImage, v, false);
      mesh.Begin(&byMesh, true);
      mesh.BlendOnce(source, &v, 1);
    }
    ASSERT_EQ(FirstDifference(byMesh, byImage), -1) << "trial " << trial;
  }
}

TEST(MeshRaster, AMeshDrawsItsQuadsAsIfOneAfterAnother) {
  std::mt19937 rng(99);
  CDIBImage source, byImage, byMesh;
  ASSERT_TRUE(source.Create(90, 70));
  for (int i = 0; i < 90 * 70; ++i) source.GetPixels()[i] = rng();
  ASSERT_TRUE(byImage.Create(200, 150));
  ASSERT_TRUE(byMesh.Create(200, 150));
  CMeshRaster mesh;
  for (int trial = 0; trial < 40; ++trial) {
    // Copies: more quads than one chunk, overlapping: the later one shows.
    std::vector<SprtVertex> quads;
    for (int i = 0; i < 150; ++i) quads.push_back(RandomQuad(rng, 90, 70));
    byImage.FillFull(0);
    byMesh.FillFull(0);
    for (const SprtVertex& v : quads) source.StretchBltCopy(&byImage, v, false);
    mesh.Begin(&byMesh, false);
    mesh.Copy(source, quads.data(), static_cast<int>(quads.size()));
    ASSERT_EQ(FirstDifference(byMesh, byImage), -1) << "trial " << trial;

    // Blends of quads that keep apart: each as the image blends it.
    quads.clear();
    for (int cell = 0; cell < 80; ++cell) {
      SprtVertex v = RandomQuad(rng, 90, 70);
      const int cx = (cell % 10) * 20 + 2, cy = (cell / 10) * 18 + 2;
      for (SprtPoint& p : v.dst)
        p = SprtPoint{static_cast<int16_t>(cx + rng() % 15), static_cast<int16_t>(cy + rng() % 14), 0};
      quads.push_back(v);
    }
    byImage.FillFull(0xFF336699u);
    byMesh.FillFull(0xFF336699u);
    for (const SprtVertex& v : quads) source.StretchBltBlend(&byImage, v, false);
    mesh.Begin(&byMesh, true);
    mesh.BlendOnce(source, quads.data(), static_cast<int>(quads.size()));
    ASSERT_EQ(FirstDifference(byMesh, byImage), -1) << "trial " << trial;
  }
}

}  // namespace
