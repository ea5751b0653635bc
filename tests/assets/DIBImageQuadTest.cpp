// The quad rasteriser: mappings worked out by hand, shortcuts, early-outs,
// bilinear edges, clipping, and quads that reach far outside the target.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "DIBImageTestUtil.h"
#include "assets/PixelRules.h"

namespace {

// Opens the quad path itself, shortcut or not, and the edge table.
class QuadImage : public CDIBImage {
 public:
  using CDIBImage::DrawQuad;
  using CDIBImage::QuadRule;
  bool HasEdgeTable() const { return mpEdgeTable != nullptr; }
};

SprtVertex Quad(int x0, int y0, int x1, int y1, int x2, int y2, int x3, int y3, int su, int sv, uint32_t color) {
  SprtVertex v;
  const int xs[4] = {x0, x1, x2, x3}, ys[4] = {y0, y1, y2, y3};
  for (int i = 0; i < 4; ++i) v.dst[i] = SprtPoint{static_cast<int16_t>(xs[i]), static_cast<int16_t>(ys[i]), 0};
  v.src[0] = SprtTexel{0, 0};
  v.src[1] = SprtTexel{static_cast<int16_t>(su), 0};
  v.src[2] = SprtTexel{static_cast<int16_t>(su), static_cast<int16_t>(sv)};
  v.src[3] = SprtTexel{0, static_cast<int16_t>(sv)};
  v.color = color;
  return v;
}

std::vector<uint32_t> Pixels(const CDIBImage& img) {
  return std::vector<uint32_t>(img.GetPixels(), img.GetPixels() + img.GetWidth() * img.GetHeight());
}

TEST(DIBImageQuad, DoubledCopyRepeatsColumnsAndStepsRowsByTheEdges) {
  CDIBImage src, dst;
  MakePattern(src, 4, 4);
  dst.Create(8, 8);
  dst.FillFull(0);
  src.StretchBltCopy(&dst, Quad(0, 0, 7, 0, 7, 7, 0, 7, 3, 3, 0xFFFFFFFFu), false);
  // Rows step by 3 × 65536 ÷ 7; the last row takes its start from point 3.
  const int rowOf[8] = {0, 0, 0, 1, 1, 2, 2, 3};
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) ASSERT_EQ(Px(dst, x, y), Px(src, x / 2, rowOf[y])) << x << "," << y;
}

TEST(DIBImageQuad, TintedOpaqueStepsOneSourcePixelLessAcrossASpan) {
  CDIBImage src, dst;
  MakePattern(src, 4, 4, 0x20);
  dst.Create(8, 8);
  dst.FillFull(0);
  src.StretchBltFast(&dst, Quad(0, 0, 7, 0, 7, 7, 0, 7, 3, 3, 0xFFFFFFFFu), false);
  // du = 3 × 65536 ÷ 8: columns 0, 0, 0, 1, 1, 1, 2, 2; white keeps colours.
  const int colOf[8] = {0, 0, 0, 1, 1, 1, 2, 2};
  EXPECT_EQ(Px(dst, 5, 0), Px(src, colOf[5], 0) | 0xFF000000u);
  // The last row runs from source row 3 (point 3) to row 2 (the right
  // edge's last step) and, without the + 1, ends on row 2.
  EXPECT_EQ(Px(dst, 0, 7), Px(src, 0, 3) | 0xFF000000u);
  EXPECT_EQ(Px(dst, 7, 7), Px(src, colOf[7], 2) | 0xFF000000u);
  // Black writes opaque black wherever the quad is.
  src.StretchBltFast(&dst, Quad(0, 0, 7, 0, 7, 7, 0, 7, 3, 3, 0x00000000u), false);
  for (uint32_t p : Pixels(dst)) ASSERT_EQ(p, 0xFF000000u);
  src.StretchBltFast(&dst, Quad(0, 0, 7, 0, 7, 7, 0, 7, 3, 3, 0xFF8080FFu), false);
  EXPECT_EQ(Px(dst, 4, 3), pix::Tint(Px(src, 1, 1), 0xFF8080FFu));
}

TEST(DIBImageQuad, QuadPathOfAnUnscaledRectangleEqualsTheRectangleBlits) {
  std::mt19937 rng(7);
  for (int trial = 0; trial < 200; ++trial) {
    QuadImage src;
    MakeRandom(src, 1 + rng() % 20, 1 + rng() % 20, rng);
    int w = 1 + rng() % src.GetWidth(), h = 1 + rng() % src.GetHeight();
    int sx = rng() % (src.GetWidth() - w + 1), sy = rng() % (src.GetHeight() - h + 1);
    int dx = static_cast<int>(rng() % 30) - 10, dy = static_cast<int>(rng() % 30) - 10;
    uint32_t color = (trial % 3 == 0) ? 0xFFFFFFFFu : rng();
    SprtVertex v;
    src.SetVertex(v, dx, dy, sx, sy, w, h, color);
    CDIBImage before, a, b, c;
    MakeRandom(before, 16, 16, rng);
    for (CDIBImage* img : {&a, &b, &c}) {
      img->Create(16, 16);
      before.Copy(img, 0, 0, 0, 0, 16, 16);
    }
    bool blend = trial % 2;
    // The quad walk itself, without the shortcut.
    src.DrawQuad(&a, v, blend ? QuadImage::QuadRule::Blend : QuadImage::QuadRule::Copy, false);
    if (blend)
      src.BltBlend(&b, dx, dy, sx, sy, w, h, color);
    else
      src.Copy(&b, dx, dy, sx, sy, w, h);
    ASSERT_EQ(Pixels(a), Pixels(b)) << "trial " << trial << " " << w << "x" << h << " at " << dx << "," << dy;
    // The public operation takes the shortcut, filter or not.
    if (w > 1 && h > 1) {
      if (blend)
        src.StretchBltBlend(&c, v, true);
      else
        src.StretchBltCopy(&c, v, true);
      ASSERT_EQ(Pixels(c), Pixels(b)) << "trial " << trial;
    }
  }
}

TEST(DIBImageQuad, StretchBltBlendOfAnUnscaledQuadIsBltBlend) {
  std::mt19937 rng(11);
  CDIBImage src, a, b;
  MakeRandom(src, 13, 9, rng);
  MakeRandom(a, 20, 20, rng);
  b.Create(20, 20);
  a.Copy(&b, 0, 0, 0, 0, 20, 20);
  SprtVertex v;
  src.SetVertex(v, -3, 4, 2, 1, 10, 8, 0xC0FFA0FFu);
  src.StretchBltBlend(&a, v, true);
  src.BltBlend(&b, -3, 4, 2, 1, 10, 8, 0xC0FFA0FFu);
  EXPECT_EQ(Pixels(a), Pixels(b));
}

TEST(DIBImageQuad, ShadowShortcutShadesByPointZeroEvenWithoutShade) {
  std::mt19937 rng(3);
  CDIBImage src, a, b;
  MakeRandom(src, 8, 8, rng);
  MakeRandom(a, 12, 12, rng);
  b.Create(12, 12);
  a.Copy(&b, 0, 0, 0, 0, 12, 12);
  SprtVertex v;
  src.SetVertex(v, 2, 2, 0, 0, 8, 8, 0xFFFFFFFFu);
  src.StretchBltBlendShadow(&a, v, false);
  src.BltBlend(&b, 2, 2, 0, 0, 8, 8, 0xFFFEFEFEu);
  EXPECT_EQ(Pixels(a), Pixels(b));
  v.dst[0].z = 300;  // clamped to 255: black
  a.Copy(&b, 0, 0, 0, 0, 12, 12);
  src.StretchBltBlendShadow(&a, v, false);
  src.BltBlend(&b, 2, 2, 0, 0, 8, 8, 0xFF000000u);
  EXPECT_EQ(Pixels(a), Pixels(b));
}

TEST(DIBImageQuad, ShadowQuadWithoutShadeIsTheBlendAndWithShadeDarkens) {
  std::mt19937 rng(5);
  CDIBImage src, a, b;
  MakeRandom(src, 10, 10, rng);
  SprtVertex v = Quad(1, 0, 14, 3, 11, 15, 0, 12, 9, 9, 0xF0FFFFFFu);
  MakeRandom(a, 16, 16, rng);
  b.Create(16, 16);
  a.Copy(&b, 0, 0, 0, 0, 16, 16);
  src.StretchBltBlendShadow(&a, v, true);
  src.StretchBltBlend(&b, v, true);
  EXPECT_EQ(Pixels(a), Pixels(b));
  // Every point fully shaded: the colour is black with its alpha.
  for (SprtPoint& p : v.dst) p.z = 255;
  a.FillFull(0xFF808080u);
  src.FillFull(0xFFFFFFFFu);
  src.StretchBltBlendShadow(&a, v, false);
  EXPECT_EQ(Px(a, 6, 6), pix::Blend(0xFF808080u, 0xFFFFFFFFu, 0xF0000000u));
  // Shade 128 on the left edge, none on the right: the left is darker.
  v.dst[0].z = v.dst[3].z = 128;
  v.dst[1].z = v.dst[2].z = 0;
  a.FillFull(0xFF000000u);
  src.StretchBltBlendShadow(&a, v, false);
  EXPECT_LT(Px(a, 2, 6) & 0xFF, Px(a, 11, 6) & 0xFF);
}

TEST(DIBImageQuad, OperationsWithoutShortcutReturnAtOnceForQuadsOffTheTarget) {
  CDIBImage dst;
  dst.Create(10, 10);
  const SprtVertex off[] = {
      Quad(-9, 0, -1, 0, -1, 5, -9, 5, 3, 3, 0xFFFFFFFFu),      // all left
      Quad(11, 0, 20, 0, 20, 5, 11, 5, 3, 3, 0xFFFFFFFFu),      // all right of the width
      Quad(0, -9, 5, -9, 5, -1, 0, -1, 3, 3, 0xFFFFFFFFu),      // all above
      Quad(0, 11, 5, 11, 5, 30, 0, 30, 3, 3, 0xFFFFFFFFu),      // all below the height
      Quad(-32767, -32767, -30000, -32767, -30000, -1, -32767, -1, 3, 3, 0xFFFFFFFFu),
  };
  for (const SprtVertex& v : off)
    for (int op = 0; op < 5; ++op) {
      QuadImage src;
      src.Create(4, 4);
      src.FillFull(0xFFFFFFFFu);
      dst.FillFull(0x80402010u);
      switch (op) {
        case 0: src.StretchBltAddBlend(&dst, v); break;
        case 1: src.StretchBltXorBlend(&dst, v); break;
        case 2: src.StretchBltOneBlend(&dst, v); break;
        case 3: src.StretchBltGrayBlend(&dst, v); break;
        default: src.StretchBltFast(&dst, v, true); break;
      }
      EXPECT_FALSE(src.HasEdgeTable()) << "op " << op;
      for (uint32_t p : Pixels(dst)) ASSERT_EQ(p, 0x80402010u) << "op " << op;
    }
}

TEST(DIBImageQuad, NearestRulesSampleWhereTheSpanStepsLand) {
  CDIBImage src, dst;
  MakePattern(src, 4, 1, 0xFF);
  dst.Create(4, 1);
  // A one-row quad over four pixels: du = 3 × 65536 ÷ 4, columns 0, 0, 1, 2.
  SprtVertex v = Quad(0, 0, 3, 0, 3, 0, 0, 0, 3, 0, 0xFFFFFFFFu);
  const int colOf[4] = {0, 0, 1, 2};
  dst.FillFull(0xFF000000u);
  src.StretchBltXorBlend(&dst, v);
  for (int x = 0; x < 4; ++x) EXPECT_EQ(Px(dst, x, 0), pix::Xor(0xFF000000u, Px(src, colOf[x], 0), v.color));
  dst.FillFull(0x10101010u);
  src.StretchBltAddBlend(&dst, v);
  for (int x = 0; x < 4; ++x) EXPECT_EQ(Px(dst, x, 0), pix::Add(0x10101010u, Px(src, colOf[x], 0), v.color));
  dst.FillFull(0x10101010u);
  src.StretchBltOneBlend(&dst, v);
  for (int x = 0; x < 4; ++x) EXPECT_EQ(Px(dst, x, 0), pix::One(0x10101010u, Px(src, colOf[x], 0), v.color));
  dst.FillFull(0x10101010u);
  v.color = 0x80FF40FFu;
  src.StretchBltGrayBlend(&dst, v);
  for (int x = 0; x < 4; ++x) EXPECT_EQ(Px(dst, x, 0), pix::Gray(0x10101010u, Px(src, colOf[x], 0), v.color));
  // Colour 0 leaves the additive and grey operations with nothing to do.
  dst.FillFull(0x10101010u);
  v.color = 0;
  src.StretchBltAddBlend(&dst, v);
  src.StretchBltGrayBlend(&dst, v);
  for (uint32_t p : Pixels(dst)) EXPECT_EQ(p, 0x10101010u);
}

TEST(DIBImageQuad, BilinearTakesTheNearestPixelInTheLastColumnAndRow) {
  CDIBImage src, dst;
  src.Create(2, 2);
  Px(src, 0, 0) = 0xFF000000u;
  Px(src, 1, 0) = 0xFFFFFFFFu;
  Px(src, 0, 1) = 0xFF0000FFu;
  Px(src, 1, 1) = 0xFFFF0000u;
  dst.Create(4, 4);
  dst.FillFull(0);
  src.StretchBltCopy(&dst, Quad(0, 0, 3, 0, 3, 3, 0, 3, 1, 1, 0xFFFFFFFFu), true);
  // Columns 2 and 3 sample source column 1, the last: no interpolation.
  for (int y = 0; y < 3; ++y) {
    EXPECT_EQ(Px(dst, 2, y), Px(src, 1, 0)) << y;
    EXPECT_EQ(Px(dst, 3, y), Px(src, 1, 0)) << y;
  }
  // Row 3 samples the last row.
  EXPECT_EQ(Px(dst, 0, 3), Px(src, 0, 1));
  EXPECT_EQ(Px(dst, 3, 3), Px(src, 1, 1));
  // Inside, the four weights sum to 255 × 255, so even (0, 0) is filtered.
  EXPECT_EQ(Px(dst, 0, 0), pix::Bilinear(src.GetPixels(), 2, 0, 0));
  EXPECT_EQ(Px(dst, 0, 0), 0xFD000000u);
  // (1, 1): the edge table keeps whole source rows only, so v restarts at
  // row 0 and moves by the span step 0x4000; u = 0x8000.
  EXPECT_EQ(Px(dst, 1, 1), pix::Bilinear(src.GetPixels(), 2, 0x8000, 0x4000));
}

TEST(DIBImageQuad, ClippingOnAnySideGivesTheSamePixelsAsAnUnclippedDraw) {
  std::mt19937 rng(99);
  for (int trial = 0; trial < 300; ++trial) {
    CDIBImage src, big, small;
    MakeRandom(src, 1 + rng() % 12, 1 + rng() % 12, rng);
    SprtVertex v;
    for (SprtPoint& p : v.dst) p = SprtPoint{static_cast<int16_t>(rng() % 40 - 12), static_cast<int16_t>(rng() % 40 - 12), 0};
    for (SprtTexel& t : v.src)
      t = SprtTexel{static_cast<int16_t>(rng() % src.GetWidth()), static_cast<int16_t>(rng() % src.GetHeight())};
    v.color = rng() | 0x80000000u;
    SprtVertex shifted = v;
    for (SprtPoint& p : shifted.dst) {
      p.x = static_cast<int16_t>(p.x + 20);
      p.y = static_cast<int16_t>(p.y + 20);
    }
    big.Create(60, 60);
    big.FillFull(0xFF204060u);
    small.Create(16, 16);
    small.FillFull(0xFF204060u);
    int op = trial % 4;
    bool filter = trial % 3 == 0;
    if (op == 0) {
      src.StretchBltBlend(&big, shifted, filter);
      src.StretchBltBlend(&small, v, filter);
    } else if (op == 1) {
      src.StretchBltCopy(&big, shifted, filter);
      src.StretchBltCopy(&small, v, filter);
    } else if (op == 2) {
      src.StretchBltFast(&big, shifted, filter);
      src.StretchBltFast(&small, v, filter);
    } else {
      src.StretchBltAddBlend(&big, shifted);
      src.StretchBltAddBlend(&small, v);
    }
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x)
        ASSERT_EQ(Px(small, x, y), Px(big, x + 20, y + 20)) << "trial " << trial << " op " << op << " at " << x
                                                             << "," << y;
  }
}

TEST(DIBImageQuad, ExtremeAndDegenerateQuadsStayInsideBothImages) {
  std::mt19937 rng(1234);
  const int16_t far[] = {-32768, -32767, -1000, -1, 0, 1, 2, 599, 800, 4095, 4096, 32767};
  CDIBImage one;
  one.Create(1, 1);
  one.FillFull(0xFFFFFFFFu);
  CDIBImage tall;
  tall.Create(3, 4100);
  CDIBImage src;
  MakeRandom(src, 5, 3, rng);
  for (int trial = 0; trial < 600; ++trial) {
    SprtVertex v;
    int kind = trial % 4;
    for (int i = 0; i < 4; ++i) {
      int16_t x = far[rng() % 12], y = far[rng() % 12];
      if (kind == 1 && i > 0) x = v.dst[0].x, y = v.dst[0].y;  // all points equal
      if (kind == 2 && i > 0) y = v.dst[0].y;                  // zero height
      v.dst[i] = SprtPoint{x, y, static_cast<int16_t>(rng() % 600 - 100)};
    }
    CDIBImage& from = (trial & 8) ? one : src;
    for (SprtTexel& t : v.src)
      t = SprtTexel{static_cast<int16_t>(rng() % from.GetWidth()), static_cast<int16_t>(rng() % from.GetHeight())};
    v.color = rng();
    CDIBImage& to = (trial & 16) ? tall : one;
    bool filter = trial & 32;
    from.StretchBltCopy(&to, v, filter);
    from.StretchBltBlend(&to, v, filter);
    from.StretchBltBlendShadow(&to, v, filter);
    from.StretchBltFast(&to, v, filter);
    from.StretchBltAddBlend(&to, v);
    from.StretchBltXorBlend(&to, v);
    from.StretchBltOneBlend(&to, v);
    from.StretchBltGrayBlend(&to, v);
    to.StretchFillBox(v);
  }
  // A full-height quad on a target taller than the edge table draws its
  // first 4096 rows only.
  tall.FillFull(0);
  CDIBImage white;
  white.Create(2, 2);
  white.FillFull(0xFFFFFFFFu);
  white.StretchBltCopy(&tall, Quad(0, 0, 2, 0, 2, 4099, 0, 4099, 1, 1, 0xFFFFFFFFu), false);
  EXPECT_EQ(Px(tall, 1, 4095), 0xFFFFFFFFu);
  EXPECT_EQ(Px(tall, 1, 4096), 0u);
  EXPECT_EQ(Px(tall, 1, 4099), 0u);
}

}  // namespace
