// Layers: the drawing rules (size, blend, tint), the picture references
// they hold, and their 105-byte record. Expected pixels come from the
// rasteriser's and the pixel rules' definitions.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>

#include "SceneTestKit.h"
#include "scene/DIBCamera.h"
#include "scene/DIBSnrAction.h"
#include "scene/DIBSnrLayer.h"

namespace {

using scenetest::BlendRule;
using scenetest::OpaqueRule;
using scenetest::TintRule;

class LayerTest : public scenetest::SceneWorld {
 protected:
  void SetUp() override {
    SceneWorld::SetUp();
    actions = std::make_unique<CDIBSnrAction[]>(256);
    ASSERT_TRUE(layer.Initialize(actions.get()));
    ASSERT_TRUE(page.Create(800, 600));
    page.FillFull(0);
  }
  void TearDown() override {
    layer.Release();
    SceneWorld::TearDown();
  }
  uint32_t At(int x, int y) const { return page.GetPixels()[y * 800 + x]; }

  std::unique_ptr<CDIBSnrAction[]> actions;
  CDIBSnrLayer layer;
  CDIBImage page;
};

TEST_F(LayerTest, BaseSizeZeroDrawsThePictureAsItIsAndHalfSizeSamplesEveryOtherPixel) {
  const auto px = AddPattern("BIG", 800, 600, 7);
  ASSERT_TRUE(layer.SetImage("BIG"));
  layer.SetBlend(false);
  layer.Draw(&page, nullptr);
  for (int y = 0; y < 600; y += 7)
    for (int x = 0; x < 800; x += 13) ASSERT_EQ(At(x, y), px[y * 800 + x]) << x << "," << y;

  page.FillFull(0);
  layer.SetBaseSize(400, 300);
  layer.SetPos(10, 20, 0);
  layer.Draw(&page, nullptr);
  // Down the left edge the source row grows by 599 × 65536 ÷ 299 per row;
  // across a row the source column by exactly two. The last row is the
  // bottom edge, walked before the left one: it starts at source row 599.
  const int64_t rowStep = int64_t{599} * 65536 / 299;
  for (int y = 0; y < 300; ++y) {
    const int v = y == 299 ? 599 : static_cast<int>((y * rowStep) >> 16);
    for (int x = 0; x < 400; x += 3) ASSERT_EQ(At(10 + x, 20 + y), px[v * 800 + 2 * x]) << x << "," << y;
  }
  EXPECT_EQ(At(9, 20), 0u);
  EXPECT_EQ(At(410, 20), 0u);
  EXPECT_EQ(At(10, 320), 0u);
}

TEST_F(LayerTest, BlendTintAndCopyFollowTheirPixelRules) {
  const auto px = AddPattern("CHR", 64, 48, 3);
  ASSERT_TRUE(layer.SetImage("CHR"));
  const uint32_t ground = 0xFF405060u;

  // Blend 0, white: the pixels as they are, alpha included.
  layer.SetBlend(false);
  page.FillFull(ground);
  layer.Draw(&page, nullptr);
  EXPECT_EQ(At(5, 7), px[7 * 64 + 5]);

  // Blend 0 with a tint, unscaled: the opaque rule (÷256, alpha 255).
  layer.SetColor(255, 200, 100, 50);
  page.FillFull(ground);
  layer.Draw(&page, nullptr);
  for (int i = 0; i < 64 * 48; i += 37) ASSERT_EQ(At(i % 64, i / 64), OpaqueRule(px[i], 0xFFC86432u)) << i;

  // Scaled, the tinted opaque rule (÷255, the source's alpha).
  layer.SetBaseSize(128, 96);
  page.FillFull(ground);
  layer.Draw(&page, nullptr);
  EXPECT_EQ(At(0, 0), TintRule(px[0], 0xFFC86432u));

  // Blend 1: over the ground, each pixel by the blend rule.
  layer.SetBaseSize(0, 0);
  layer.SetBlend(true);
  layer.SetColor(128, 255, 255, 255);
  page.FillFull(ground);
  layer.Draw(&page, nullptr);
  for (int i = 0; i < 64 * 48; i += 29) ASSERT_EQ(At(i % 64, i / 64), BlendRule(ground, px[i], 0x80FFFFFFu)) << i;
}

TEST_F(LayerTest, SettersClampTheColourAndMarkTheLayerChanged) {
  EXPECT_FALSE(layer.IsChanged());
  layer.SetColor(300, -5, 128, 255);
  EXPECT_EQ(layer.GetProp()->dwColor, 0xFF0080FFu);
  EXPECT_TRUE(layer.IsChanged());
  layer.Move();  // no action: the change is over
  EXPECT_FALSE(layer.IsChanged());
  layer.SetCameraState(false, true, NAN, 0.5f);
  EXPECT_TRUE(layer.IsChanged());
  EXPECT_EQ(layer.GetProp()->fXYRate, 1.0f);
  EXPECT_EQ(layer.GetProp()->fWRate, 0.5f);
  layer.SetAction(257);
  EXPECT_EQ(layer.GetProp()->nAction, 0);
  layer.SetAction(256);
  EXPECT_EQ(layer.GetAction(), &actions[255]);
}

TEST_F(LayerTest, PicturesComeFromTheCacheAndGoBackToIt) {
  AddPattern("A", 8, 8, 1);
  AddPattern("B", 8, 8, 2);
  ASSERT_TRUE(layer.SetImage("A"));
  EXPECT_EQ(Refs("A"), 1);
  ASSERT_TRUE(layer.SetImage("A"));
  EXPECT_EQ(Refs("A"), 1);
  ASSERT_TRUE(layer.SetImage("B"));
  EXPECT_EQ(Refs("A"), 0);
  EXPECT_EQ(Refs("B"), 1);
  EXPECT_FALSE(layer.SetImage("NOSUCH"));
  EXPECT_EQ(Refs("B"), 0);
  EXPECT_EQ(layer.GetProp()->pImage, nullptr);
  EXPECT_STREQ(layer.GetImageName(), "");
  layer.Draw(&page, nullptr);  // nothing to draw
  EXPECT_EQ(At(0, 0), 0u);
  ASSERT_TRUE(layer.SetImage("A"));
  layer.SetDefaultProp();
  EXPECT_EQ(Refs("A"), 0);
  EXPECT_EQ(layer.GetProp()->dwColor, 0xFFFFFFFFu);
  EXPECT_EQ(layer.GetProp()->bBlend, 1);
  EXPECT_TRUE(layer.SetImage(nullptr));
}

TEST_F(LayerTest, TheRecordIs105BytesAndLoadsBackTheSame) {
  AddPattern("FACE", 16, 16, 5);
  layer.SetImage("FACE");
  layer.SetPos(-12, 34, 56);
  layer.SetBaseSize(78, 90);
  layer.SetColor(1, 2, 3, 4);
  layer.SetBlend(false);
  layer.SetAnti(true);
  layer.SetAction(7);
  layer.SetCameraState(true, true, 0.5f, 2.25f);
  uint8_t record[CDIBSnrLayer::kSaveSize + 4] = {};
  ASSERT_EQ(layer.Save(record) - record, 105);
  EXPECT_EQ(record[0], 1);
  EXPECT_STREQ(reinterpret_cast<const char*>(record + 1), "FACE");
  int32_t v;
  memcpy(&v, record + 65, 4);
  EXPECT_EQ(v, -12);
  memcpy(&v, record + 85, 4);
  EXPECT_EQ(static_cast<uint32_t>(v), 0x01020304u);
  EXPECT_EQ(record[89], 0);
  EXPECT_EQ(record[90], 1);
  memcpy(&v, record + 91, 4);
  EXPECT_EQ(v, 7);
  float f;
  memcpy(&f, record + 101, 4);
  EXPECT_EQ(f, 2.25f);

  CDIBSnrLayer other;
  other.Initialize(actions.get());
  ASSERT_EQ(other.Load(record, 105), record + 105);
  EXPECT_EQ(Refs("FACE"), 2);
  uint8_t again[CDIBSnrLayer::kSaveSize];
  other.Save(again);
  EXPECT_EQ(memcmp(record, again, 105), 0);
  other.Release();
}

TEST_F(LayerTest, ADamagedRecordIsRefusedAndAMissingPictureLeavesTheLayerEmpty) {
  uint8_t record[CDIBSnrLayer::kSaveSize];
  layer.SetPos(1, 2, 3);
  layer.Save(record);
  CDIBSnrLayer other;
  other.Initialize(actions.get());
  EXPECT_EQ(other.Load(record, 104), nullptr);
  uint8_t bad[CDIBSnrLayer::kSaveSize];
  memcpy(bad, record, sizeof bad);
  memset(bad + 1, 'A', 64);  // a name without its end
  EXPECT_EQ(other.Load(bad, sizeof bad), nullptr);
  memcpy(bad, record, sizeof bad);
  const int32_t action = 257;
  memcpy(bad + 91, &action, 4);
  EXPECT_EQ(other.Load(bad, sizeof bad), nullptr);
  memcpy(bad, record, sizeof bad);
  const float nan = NAN;
  memcpy(bad + 97, &nan, 4);
  EXPECT_EQ(other.Load(bad, sizeof bad), nullptr);
  EXPECT_EQ(other.GetProp()->nX, 0);  // nothing taken from any of them

  memcpy(bad, record, sizeof bad);
  strcpy(reinterpret_cast<char*>(bad + 1), "GONE");
  ASSERT_NE(other.Load(bad, sizeof bad), nullptr);
  EXPECT_EQ(other.GetProp()->pImage, nullptr);
  EXPECT_EQ(other.GetProp()->nX, 1);
}

TEST_F(LayerTest, TheCameraMovesALayerAndAFarQuadIsNotDrawn) {
  const auto px = AddPattern("P", 100, 100, 9, true);
  layer.SetImage("P");
  layer.SetBlend(false);
  CDIBCamera camera;
  camera.Initialize();
  layer.SetPos(350, 250, 0);
  layer.Draw(&page, &camera);
  EXPECT_EQ(At(350, 250), px[0]);  // the untouched view
  EXPECT_EQ(At(449, 349), px[99 * 100 + 99]);

  page.FillFull(0);
  layer.SetPos(350, 250, -950);  // behind the near limit
  layer.Draw(&page, &camera);
  for (int i = 0; i < 800 * 600; i += 101) ASSERT_EQ(page.GetPixels()[i], 0u);

  layer.SetCameraState(false, false, 1.0f, 1.0f);
  layer.Draw(&page, &camera);  // off the camera, it is drawn where it is
  EXPECT_EQ(At(350, 250), px[0]);
}

TEST_F(LayerTest, HugePositionsAndSizesDrawNothingWrongAndNeverOutside) {
  AddPattern("S", 32, 32, 11);
  layer.SetImage("S");
  const int32_t values[] = {INT32_MIN, -70000, -32768, -1, 0, 799, 32767, 70000, INT32_MAX};
  for (int32_t a : values)
    for (int32_t b : values) {
      layer.SetPos(a, b, a);
      layer.SetBaseSize(b, a);
      layer.Draw(&page, nullptr);
    }
  SUCCEED();
}

}  // namespace
