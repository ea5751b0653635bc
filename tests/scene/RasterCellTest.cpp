// One waving cell drawn on a clear coverage mask is exactly the image's
// unfiltered blended quad: random quads, stretched, squeezed, mirrored,
// turned, and partly or wholly off the target.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "assets/DIBImage.h"
#include "scene/DIBSnrAction.h"

namespace {

TEST(RasterCellTest, ACellOnAClearMaskIsTheImagesBlendedQuad) {
  std::mt19937 rng(21);
  CDIBImage picture, byCell, byImage;
  ASSERT_TRUE(picture.Create(90, 70));
  for (int i = 0; i < 90 * 70; ++i) picture.GetPixels()[i] = static_cast<uint32_t>(rng());
  ASSERT_TRUE(byCell.Create(320, 240));
  ASSERT_TRUE(byImage.Create(320, 240));
  auto coord = [&](int lo, int span) { return static_cast<int16_t>(lo + static_cast<int>(rng() % span)); };
  for (int round = 0; round < 400; ++round) {
    SprtVertex v;
    for (int i = 0; i < 4; ++i) {
      v.dst[i] = SprtPoint{coord(-80, 480), coord(-60, 360), 0};
      v.src[i] = SprtTexel{coord(0, 90), coord(0, 70)};
    }
    if (round % 2 == 0) {
      // A plain rectangle of some size, the common cell.
      const int16_t x = coord(-40, 360), y = coord(-30, 270), w = coord(1, 40), h = coord(1, 30);
      v.dst[0] = SprtPoint{x, y, 0};
      v.dst[1] = SprtPoint{static_cast<int16_t>(x + w), y, 0};
      v.dst[2] = SprtPoint{static_cast<int16_t>(x + w), static_cast<int16_t>(y + h), 0};
      v.dst[3] = SprtPoint{x, static_cast<int16_t>(y + h), 0};
    }
    v.color = rng() % 3 == 0 ? 0xFFFFFFFFu : static_cast<uint32_t>(rng());
    const uint32_t ground = static_cast<uint32_t>(rng());
    byCell.FillFull(ground);
    byImage.FillFull(ground);
    CDIBSnrAction action;  // a fresh, clear mask
    action.BltRaster(&picture, &byCell, v);
    picture.StretchBltBlend(&byImage, v, false);
    ASSERT_EQ(memcmp(byCell.GetPixels(), byImage.GetPixels(), 320 * 240 * 4), 0) << "round " << round;
  }
}

}  // namespace
