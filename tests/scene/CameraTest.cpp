// The page camera: projection of layer quads, flights through keys, and its
// saved record. Expected projections are worked out in double from the
// definitions (eye 1000 before the page, far 1000, near 0.1).
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "app/core/MainWindow.h"
#include "assets/SprtVertex.h"
#include "scene/DIBCamera.h"

namespace {

SprtVertex Quad(int x0, int y0, int x1, int y1, int z) {
  SprtVertex v;
  v.dst[0] = SprtPoint{static_cast<int16_t>(x0), static_cast<int16_t>(y0), static_cast<int16_t>(z)};
  v.dst[1] = SprtPoint{static_cast<int16_t>(x1), static_cast<int16_t>(y0), static_cast<int16_t>(z)};
  v.dst[2] = SprtPoint{static_cast<int16_t>(x1), static_cast<int16_t>(y1), static_cast<int16_t>(z)};
  v.dst[3] = SprtPoint{static_cast<int16_t>(x0), static_cast<int16_t>(y1), static_cast<int16_t>(z)};
  v.src[1] = SprtTexel{9, 0};
  v.src[2] = SprtTexel{9, 9};
  v.src[3] = SprtTexel{0, 9};
  v.color = 0xFF123456u;
  return v;
}

// Where the default view projects (x, y, z), with the eye's zoom factor
// applied to the fourth row's depth.
int ProjectX(double x, double z, double depthRate = 1.0) {
  const double m22 = 1000.0 / 999.9, m32 = -0.1 * 1000.0 / 999.9;
  const double rz = z * m22 + (1000.0 * m22 + m32) * depthRate;
  return static_cast<int>(std::floor((x - 400.0) / (rz / 1000.0) + 400.5));
}

class CameraTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gpMainWindow = &window;
    window.mFrameTime = 30;
    camera.Initialize();
  }
  void TearDown() override { gpMainWindow = nullptr; }
  CMainWindow window;
  CDIBCamera camera;
};

TEST_F(CameraTest, TheDefaultViewLeavesAQuadAtDepthZeroExactlyWhereItIs) {
  std::vector<SprtVertex> quads = {Quad(0, 0, 799, 599, 0), Quad(-300, -200, 1100, 900, 0), Quad(123, 457, 124, 458, 0),
                                   Quad(-4000, 3000, 5000, 3100, 0)};
  std::vector<SprtVertex> before = quads;
  camera.Transform(quads.data(), static_cast<int>(quads.size()));
  for (size_t i = 0; i < quads.size(); ++i)
    for (int k = 0; k < 4; ++k) {
      EXPECT_EQ(quads[i].dst[k].x, before[i].dst[k].x) << i << " " << k;
      EXPECT_EQ(quads[i].dst[k].y, before[i].dst[k].y) << i << " " << k;
      EXPECT_EQ(quads[i].dst[k].z, 1);  // the depth factor, truncated
    }
  EXPECT_EQ(memcmp(quads[0].src, before[0].src, sizeof quads[0].src), 0);
}

TEST_F(CameraTest, DepthScalesAboutTheCentreAndTheNearLimitClearsTheQuad) {
  SprtVertex far = Quad(500, 300, 700, 400, -800);
  camera.Transform(&far, 1);
  EXPECT_EQ(far.dst[0].x, ProjectX(500, -800));
  EXPECT_EQ(far.dst[1].x, ProjectX(700, -800));
  EXPECT_FALSE(CDIBCamera::IsCleared(far));

  SprtVertex behind[2] = {Quad(0, 0, 10, 10, -950), Quad(0, 0, 10, 10, 0)};
  behind[0].dst[2].z = 0;  // one point in front is not enough
  behind[0].dst[0].z = -950;
  camera.Transform(behind, 2);
  EXPECT_TRUE(CDIBCamera::IsCleared(behind[0]));
  EXPECT_FALSE(CDIBCamera::IsCleared(behind[1]));
  EXPECT_EQ(behind[1].dst[2].x, 10);

  // A layer without the camera is left alone, wherever the eye is.
  camera.AddMove(100, 100, -200, 0);
  camera.StartMove(0);
  camera.Move(false);
  camera.SetLayerState(false, false, 1.0f, 1.0f);
  SprtVertex plain = Quad(5, 6, 70, 80, -990);
  camera.Transform(&plain, 1);
  EXPECT_EQ(plain.dst[0].x, 5);
  EXPECT_EQ(plain.dst[2].y, 80);
}

TEST_F(CameraTest, ZoomActsThroughTheLayersWRate) {
  camera.AddMove(400, 300, -1000, 50);  // zoom 50 → 0.5
  camera.StartMove(0);
  camera.Move(false);
  EXPECT_FLOAT_EQ(camera.GetZoom(), 0.5f);
  SprtVertex zoomed = Quad(500, 300, 600, 350, 0), still = zoomed, half = zoomed;
  camera.Transform(&zoomed, 1);
  EXPECT_EQ(zoomed.dst[0].x, ProjectX(500, 0, 0.5));  // 600: twice as far from the centre
  EXPECT_EQ(zoomed.dst[0].x, 600);
  camera.SetLayerState(true, false, 1.0f, 0.0f);
  camera.Transform(&still, 1);
  EXPECT_EQ(still.dst[0].x, 500);
  camera.SetLayerState(true, false, 1.0f, 0.5f);
  camera.Transform(&half, 1);
  EXPECT_EQ(half.dst[0].x, ProjectX(500, 0, 0.75));
}

TEST_F(CameraTest, OneKeyMovesTheEyeThereAndHoldsIt) {
  ASSERT_TRUE(camera.AddMove(500, 250, -900, 0));
  camera.StartMove(90);
  for (int frame = 0; frame < 5; ++frame) {
    camera.Move(false);
    EXPECT_EQ(camera.GetEye().x, 100.0f) << frame;
    EXPECT_EQ(camera.GetEye().y, -50.0f) << frame;
    EXPECT_EQ(camera.GetEye().z, -900.0f) << frame;
  }
  EXPECT_FALSE(camera.IsMove());
  EXPECT_FALSE(camera.IsChange());  // the frame after the end reports nothing
}

TEST_F(CameraTest, AMoveRunsFrameByFrameAndAHurriedOneLandsOnTheLastKeyAtOnce) {
  camera.AddMove(400, 300, -1000, 0);
  camera.AddMove(700, 100, -600, 3);
  camera.AddMove(900, 500, -400, 20);
  camera.StartMove(300);
  camera.Move(false);
  EXPECT_TRUE(camera.IsMove());
  EXPECT_TRUE(camera.IsChange());
  EXPECT_EQ(camera.GetElapsed(), 30);
  const float x1 = camera.GetEye().x;
  EXPECT_GT(x1, 0.0f);
  EXPECT_LT(x1, 300.0f);
  camera.Move(true);
  EXPECT_FALSE(camera.IsMove());
  EXPECT_TRUE(camera.IsChange());  // the last frame still reports a change
  EXPECT_EQ(camera.GetEye().x, 500.0f);
  EXPECT_EQ(camera.GetEye().y, 200.0f);
  EXPECT_EQ(camera.GetEye().z, -400.0f);
  EXPECT_EQ(camera.GetZoom(), 200.0f * 0.001f);

  // Frame by frame, the end comes when the elapsed time reaches the length.
  camera.StartMove(60);
  camera.Move(false);
  EXPECT_TRUE(camera.IsMove());
  camera.Move(false);
  EXPECT_FALSE(camera.IsMove());
  EXPECT_EQ(camera.GetEye().x, 500.0f);
}

TEST_F(CameraTest, KeysBeyondSixteenAreRefused) {
  for (int i = 0; i < CDIBCamera::kMaxKeys; ++i) ASSERT_TRUE(camera.AddMove(static_cast<float>(i), 0, -1000, 0));
  EXPECT_FALSE(camera.AddMove(99, 99, 99, 99));
  EXPECT_EQ(camera.GetKeyCount(), 16);
  camera.StartMove(1);
  camera.Move(true);
  EXPECT_EQ(camera.GetEye().x, 15.0f - 400.0f);
}

TEST_F(CameraTest, TheRecordIs168BytesAndLeavesTheLaterKeysAlone) {
  camera.AddMove(410, 320, -990, 1);
  camera.AddMove(420, 330, -980, 2);
  camera.AddMove(430, 340, -970, 3);
  camera.StartMove(1000);
  camera.Move(false);
  camera.SetLayerState(true, true, 0.25f, 2.0f);
  uint8_t record[CDIBCamera::kSaveSize + 8];
  ASSERT_EQ(camera.Save(record) - record, 168);
  EXPECT_EQ(record[0], 1);
  EXPECT_EQ(record[1], 1);
  float f;
  memcpy(&f, record + 2, 4);
  EXPECT_EQ(f, 0.25f);
  memcpy(&f, record + 2 + 4 * 14, 4);
  EXPECT_EQ(f, camera.GetZoom());
  EXPECT_EQ(record[62], 1);  // changed
  EXPECT_EQ(record[63], 1);  // moving
  int32_t n;
  memcpy(&n, record + 64, 4);
  EXPECT_EQ(n, 1000);
  memcpy(&n, record + 68, 4);
  EXPECT_EQ(n, 30);
  memcpy(&f, record + 72 + 4 * 2, 4);
  EXPECT_EQ(f, 30.0f);  // key zoom 3, kept × 10
  memcpy(&f, record + 136 + 16, 4);
  EXPECT_EQ(f, 420.0f);  // key 1's x

  CDIBCamera other;
  other.Initialize();
  other.AddMove(1, 1, 1, 1);
  other.AddMove(2, 2, 2, 2);
  other.AddMove(3, 3, 3, 3);
  other.AddMove(4, 4, 4, 4);
  ASSERT_EQ(other.Load(record, sizeof record), record + 168);
  uint8_t again[CDIBCamera::kSaveSize];
  other.Save(again);
  EXPECT_EQ(memcmp(record, again, 168), 0);
  EXPECT_EQ(other.GetKeyCount(), 4);  // not part of the record
  other.Move(true);
  EXPECT_EQ(other.GetEye().x, 4.0f - 400.0f);  // key 3 was kept
}

TEST_F(CameraTest, AShortOrNonFiniteRecordChangesNothing) {
  uint8_t record[CDIBCamera::kSaveSize];
  camera.AddMove(500, 300, -1000, 0);
  camera.StartMove(0);
  camera.Move(false);
  camera.Save(record);
  CDIBCamera other;
  other.Initialize();
  uint8_t before[CDIBCamera::kSaveSize], after[CDIBCamera::kSaveSize];
  other.Save(before);
  EXPECT_EQ(other.Load(record, 167), nullptr);
  const float bad[] = {NAN, INFINITY, -INFINITY};
  for (float b : bad)
    for (size_t at : {size_t{2}, size_t{14}, size_t{58}, size_t{72}, size_t{164}}) {
      uint8_t damaged[CDIBCamera::kSaveSize];
      memcpy(damaged, record, sizeof damaged);
      memcpy(damaged + at, &b, 4);
      EXPECT_EQ(other.Load(damaged, sizeof damaged), nullptr) << at;
    }
  other.Save(after);
  EXPECT_EQ(memcmp(before, after, sizeof before), 0);
}

TEST_F(CameraTest, HugeKeysGiveClearedOrHeldQuadsNeverGarbage) {
  camera.AddMove(2e9f, -2e9f, 3e9f, 1e9f);
  camera.AddMove(-3e9f, 1e9f, -1e9f, -1e9f);
  camera.StartMove(100);
  camera.Move(false);
  std::vector<SprtVertex> quads = {Quad(0, 0, 799, 599, 0), Quad(-32768, -32768, 32767, 32767, 32767)};
  camera.Transform(quads.data(), 2);
  for (const SprtVertex& q : quads)
    for (const SprtPoint& p : q.dst) {
      EXPECT_GE(p.x, -32768);
      EXPECT_LE(p.x, 32767);
    }
  // An eye on the point it looks at has no direction: nothing is drawn.
  CDIBCamera onTarget;
  onTarget.Initialize();
  onTarget.AddMove(400, 300, 0, 0);
  onTarget.StartMove(0);
  onTarget.Move(false);
  SprtVertex q = Quad(0, 0, 10, 10, 0);
  onTarget.Transform(&q, 1);
  EXPECT_TRUE(CDIBCamera::IsCleared(q));
}

}  // namespace
