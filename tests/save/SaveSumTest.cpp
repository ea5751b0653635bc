#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "SaveFixture.h"
#include "assets/DIBImage.h"
#include "platform/Random.h"

namespace {

// A 320 × 240 picture: uniform, or a gradient that makes every cell differ.
std::unique_ptr<CDIBImage> Source(bool gradient, uint32_t color = 0xFF808080u) {
  auto img = std::make_unique<CDIBImage>();
  img->Create(320, 240);
  uint32_t* p = img->GetPixels();
  for (int y = 0; y < 240; ++y)
    for (int x = 0; x < 320; ++x)
      p[y * 320 + x] = gradient ? 0xFF000000u | (x * 255 / 319) << 16 | (y * 255 / 239) << 8 | 0x40 : color;
  return img;
}

bool AllPixels(const CDIBImage& img, uint32_t value) {
  const uint32_t* p = img.GetPixels();
  for (int i = 0; i < img.GetWidth() * img.GetHeight(); ++i)
    if (p[i] != value) return false;
  return true;
}

// The thumbnail a plain stretch-copy gives, for the filtered types.
std::unique_ptr<CDIBImage> Stretched(CDIBImage& src) {
  auto img = std::make_unique<CDIBImage>();
  img->Create(160, 120);
  img->FillFull(0);
  SprtVertex v;
  src.SetStretchVertex(v, 0, 0, 160, 120, 0xFFFFFFFFu);
  src.StretchBltCopy(img.get(), v, false);
  return img;
}

TEST_F(SaveTest, StretchThumbnailBlendsAndTints) {
  auto s = Fresh();
  auto src = Source(false);
  ASSERT_TRUE(s->CreateSaveSum(src.get()));
  // Blended over black with full alpha, then made opaque.
  EXPECT_TRUE(AllPixels(*s->mpSumImage, 0xFF7E7E7Eu));
  s->SetSumValue(0xFFFF0000u);
  ASSERT_TRUE(s->CreateSaveSum(src.get()));
  EXPECT_TRUE(AllPixels(*s->mpSumImage, 0xFF7E0000u));
  EXPECT_FALSE(s->CreateSaveSum(nullptr));
}

TEST_F(SaveTest, MosaicAndFogThumbnailsFilterTheStretchedPicture) {
  auto s = Fresh();
  auto src = Source(true);
  s->mSumType = 10;
  s->SetSumValue(8);
  plat::SRand(7);
  ASSERT_TRUE(s->CreateSaveSum(src.get()));
  auto expect = Stretched(*src);
  plat::SRand(7);
  expect->Mozaiku(8, true, true);
  expect->FillAlpha(255);
  EXPECT_EQ(0, memcmp(expect->GetPixels(), s->mpSumImage->GetPixels(), 160 * 120 * 4));
  // Cells of 8 × 8 are uniform.
  const uint32_t* p = s->mpSumImage->GetPixels();
  EXPECT_EQ(p[0], p[7 * 160 + 7]);
  EXPECT_NE(p[0], p[8]);

  s->mSumType = 20;
  s->SetSumValue(2);
  ASSERT_TRUE(s->CreateSaveSum(src.get()));
  expect = Stretched(*src);
  expect->Befog(2);
  expect->FillAlpha(255);
  EXPECT_EQ(0, memcmp(expect->GetPixels(), s->mpSumImage->GetPixels(), 160 * 120 * 4));
}

TEST_F(SaveTest, ColourPictureAndUnknownThumbnails) {
  auto s = Fresh();
  s->mSumType = 30;
  s->SetSumValue(0x00123456u);
  ASSERT_TRUE(s->CreateSaveSum(nullptr));
  EXPECT_TRUE(AllPixels(*s->mpSumImage, 0xFF123456u));
  s->mSumType = 40;
  strcpy(s->mSumParam, "NOPICTURE");
  EXPECT_FALSE(s->CreateSaveSum(nullptr));
  s->mSumType = 15;
  auto src = Source(false);
  ASSERT_TRUE(s->CreateSaveSum(src.get()));
  EXPECT_TRUE(AllPixels(*s->mpSumImage, 0xFF000000u));
}

}  // namespace
