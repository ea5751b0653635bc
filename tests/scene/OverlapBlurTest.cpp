// Blur, frame by frame, against its steps done one at a time with the
// image's own operations: the trail, the moving old picture, the new one
// fading in.
#include <gtest/gtest.h>

#include <cstring>

#include "OverlapWorld.h"

namespace {

using namespace overlaptest;

class OverlapBlurTest : public OverlapWorld {};

TEST_F(OverlapBlurTest, EveryFrameIsTheTrailTheMovingOldPictureAndTheNewOneOverIt) {
  for (int mode : {0, 11}) {
    // The effect makes both pictures opaque first; so does the reference.
    CDIBImage oldRef, newRef, work[2], expected;
    for (CDIBImage* image : {&oldRef, &newRef, &work[0], &work[1], &expected}) ASSERT_TRUE(image->Create(kW, kH));
    oldImage.Copy(&oldRef, 0, 0, 0, 0, kW, kH);
    newImage.Copy(&newRef, 0, 0, 0, 0, kW, kH);
    oldRef.FillAlpha(255);
    newRef.FillAlpha(255);
    oldRef.Copy(&work[0], 0, 0, 0, 0, kW, kH);
    oldRef.Copy(&work[1], 0, 0, 0, 0, kW, kH);
    int current = 0;

    const int duration = 600;
    Start(Record(EFFECT_BLUR, {duration, mode}));
    for (int elapsed = 30; elapsed <= 120; elapsed += 30) {
      overlap.Move(30);
      overlap.Draw(&target);
      CDIBImage& shown = work[current];
      CDIBImage& next = work[1 - current];
      shown.BltBlend(&next, 0, 0, 0, 0, kW, kH, 0x80FFFFFFu);
      next.FillAlpha(255);
      // Growth over the whole screen size (the duration is under a second,
      // so g = 0.6 of it).
      const int growX = elapsed * static_cast<int>(0.6 * kW) / duration;
      const int growY = elapsed * static_cast<int>(0.6 * kH) / duration;
      int x, y, w, h;
      if (mode == 0) {
        x = growX / 2, y = growY / 2, w = kW - growX, h = kH - growY;
      } else {
        x = -growX / 2 + elapsed * kW / duration, y = -growY / 2, w = kW + growX, h = kH + growY;
      }
      SprtVertex v;
      oldRef.SetStretchVertex(v, x, y, w, h, static_cast<uint32_t>(0x80 - elapsed * 128 / duration) << 24 | 0xFFFFFFu);
      oldRef.StretchBltBlend(&next, v, false);
      current = 1 - current;
      work[current].Copy(&expected, 0, 0, 0, 0, kW, kH);
      newRef.BltBlend(&expected, 0, 0, 0, 0, kW, kH, static_cast<uint32_t>(elapsed * 255 / duration) << 24 | 0xFFFFFFu);
      ASSERT_EQ(memcmp(target.GetPixels(), expected.GetPixels(), kW * kH * 4), 0) << "mode " << mode << " at " << elapsed;
    }
    overlap.Release();
  }
}

}  // namespace
