// Fills, rectangle blits and their clipping, vertex helpers.
#include <gtest/gtest.h>

#include <vector>

#include "DIBImageTestUtil.h"
#include "assets/PixelRules.h"

namespace {

TEST(DIBImageFill, FillFullReachesEveryPixelWhateverTheCount) {
  for (int w : {1, 3, 15, 16, 17, 33}) {
    CDIBImage img;
    img.Create(w, 3);
    img.FillFull(0x12345678u);
    for (int i = 0; i < w * 3; ++i) ASSERT_EQ(img.GetPixels()[i], 0x12345678u) << "w=" << w << " i=" << i;
  }
}

TEST(DIBImageFill, FillBoxClipsAndFillAlphaKeepsColours) {
  CDIBImage img;
  img.Create(6, 5);
  img.FillFull(0xFF000000u);
  img.FillBox(0x11111111u, -2, -1, 4, 3);  // covers x 0..1, y 0..1
  img.FillBox(0x22222222u, 4, 3, 10, 10);  // covers x 4..5, y 3..4
  img.FillBox(0x33333333u, 2, 2, 0, 5);    // empty
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 6; ++x) {
      uint32_t want = (x < 2 && y < 2) ? 0x11111111u : (x >= 4 && y >= 3) ? 0x22222222u : 0xFF000000u;
      EXPECT_EQ(Px(img, x, y), want) << x << "," << y;
    }
  img.FillAlpha(0x40);
  EXPECT_EQ(Px(img, 0, 0), 0x40111111u);
  EXPECT_EQ(Px(img, 3, 3), 0x40000000u);
}

TEST(DIBImageFill, StretchFillBoxFillsTheQuadAndUsesFillBoxForRectangles) {
  CDIBImage img;
  img.Create(8, 8);
  img.FillFull(0);
  SprtVertex v;
  img.SetVertex(v, 2, 1, 0, 0, 3, 2, 0xFFABCDEFu);
  img.StretchFillBox(v);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      EXPECT_EQ(Px(img, x, y), (x >= 2 && x <= 4 && y >= 1 && y <= 2) ? 0xFFABCDEFu : 0u) << x << "," << y;
  // A diamond: rows widen to the middle and narrow again.
  img.FillFull(0);
  v.dst[0] = SprtPoint{4, 0, 0};
  v.dst[1] = SprtPoint{7, 3, 0};
  v.dst[2] = SprtPoint{4, 6, 0};
  v.dst[3] = SprtPoint{1, 3, 0};
  img.StretchFillBox(v);
  const char* want[] = {"....#...", "...###..", "..#####.", ".#######", "..#####.", "...###..", "....#...",
                        "........"};
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) EXPECT_EQ(Px(img, x, y) != 0, want[y][x] == '#') << x << "," << y;
}

TEST(DIBImageBlit, CopyMovesAllFourBytesAndClipsOnEverySide) {
  CDIBImage src, dst;
  MakePattern(src, 10, 10, 0x37);
  dst.Create(6, 6);
  const int starts[][2] = {{-3, -2}, {4, -1}, {-1, 3}, {3, 4}, {1, 1}};
  for (auto [dx, dy] : starts) {
    dst.FillFull(0xDEADBEEFu);
    src.Copy(&dst, dx, dy, 2, 3, 5, 4);
    for (int y = 0; y < 6; ++y)
      for (int x = 0; x < 6; ++x) {
        bool inside = x >= dx && x < dx + 5 && y >= dy && y < dy + 4;
        uint32_t want = inside ? Px(src, 2 + x - dx, 3 + y - dy) : 0xDEADBEEFu;
        ASSERT_EQ(Px(dst, x, y), want) << "start " << dx << "," << dy << " at " << x << "," << y;
      }
  }
}

TEST(DIBImageBlit, BltFastWritesAlpha255OnOddAndEvenWidths) {
  for (int w : {1, 2, 3, 4, 5, 7, 8, 9, 31}) {
    CDIBImage src, dst;
    src.Create(w, 3);
    src.FillFull(0x00FFFFFFu);  // transparent: written all the same
    Px(src, 0, 1) = 0x80402010u;
    dst.Create(w, 3);
    dst.FillFull(0x00000000u);
    src.BltFast(&dst, 0, 0, 0, 0, w, 3, 0xFFFFFFFFu);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < w; ++x) {
        uint32_t want = (x == 0 && y == 1) ? 0xFF3F1F0Fu : 0xFFFEFEFEu;
        ASSERT_EQ(Px(dst, x, y), want) << "w=" << w << " at " << x << "," << y;
      }
  }
}

TEST(DIBImageBlit, BltBlendLeavesTransparentSourcesAtEveryPositionUnchanged) {
  for (int w = 1; w <= 19; ++w) {
    for (int hole = 0; hole < w; ++hole) {
      CDIBImage src, dst;
      src.Create(w, 1);
      src.FillFull(0xFFFFFFFFu);
      Px(src, hole, 0) = 0x00FFFFFFu;
      dst.Create(w, 1);
      dst.FillFull(0x80102030u);
      src.BltBlend(&dst, 0, 0, 0, 0, w, 1, 0xFFFFFFFFu);
      for (int x = 0; x < w; ++x)
        ASSERT_EQ(Px(dst, x, 0), x == hole ? 0x80102030u : pix::Blend(0x80102030u, 0xFFFFFFFFu, 0xFFFFFFFFu))
            << "w=" << w << " hole=" << hole << " x=" << x;
    }
  }
}

TEST(DIBImageBlit, BlitsStartingLeftOrAboveMoveTheirSourceStart) {
  CDIBImage src, dst;
  MakePattern(src, 8, 8);
  dst.Create(4, 4);
  dst.FillFull(0);
  src.BltFast(&dst, -2, -3, 1, 1, 5, 6, 0xFFFFFFFFu);
  // Destination (0, 0) takes source (1 + 2, 1 + 3).
  EXPECT_EQ(Px(dst, 0, 0), pix::Opaque(Px(src, 3, 4), 0xFFFFFFFFu));
  EXPECT_EQ(Px(dst, 2, 2), pix::Opaque(Px(src, 5, 6), 0xFFFFFFFFu));
  EXPECT_EQ(Px(dst, 3, 3), 0u);  // beyond the clipped width of 3
  dst.FillFull(0);
  src.BltBlend(&dst, 1, -1, 4, 2, 9, 2, 0xFFFFFFFFu);
  EXPECT_EQ(Px(dst, 1, 0), pix::Blend(0, Px(src, 4, 3), 0xFFFFFFFFu));
  EXPECT_EQ(Px(dst, 1, 1), 0u);
  EXPECT_EQ(Px(dst, 0, 0), 0u);
}

TEST(DIBImageBlit, BlitsEntirelyOutsideOrEmptyDoNothing) {
  CDIBImage src, dst, empty;
  MakePattern(src, 4, 4);
  dst.Create(4, 4);
  dst.FillFull(0x01020304u);
  src.Copy(&dst, 4, 0, 0, 0, 4, 4);
  src.Copy(&dst, 0, -4, 0, 0, 4, 4);
  src.BltBlend(&dst, -4, 0, 0, 0, 4, 4, 0xFFFFFFFFu);
  src.BltFast(&dst, 0, 4, 0, 0, 4, 4, 0xFFFFFFFFu);
  src.BltFast(&dst, 0, 0, 0, 0, 0, 4, 0xFFFFFFFFu);
  src.Copy(&empty, 0, 0, 0, 0, 4, 4);
  empty.Copy(&dst, 0, 0, 0, 0, 4, 4);
  src.Copy(nullptr, 0, 0, 0, 0, 4, 4);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(dst.GetPixels()[i], 0x01020304u);
}

#ifdef NDEBUG
TEST(DIBImageBlit, SourceRectangleOutsideItsImageIsCutNotReadPast) {
  CDIBImage src, dst;
  MakePattern(src, 4, 4);
  dst.Create(8, 8);
  dst.FillFull(0);
  src.Copy(&dst, 2, 2, -1, 2, 6, 6);  // source columns -1 … 4, rows 2 … 7
  EXPECT_EQ(Px(dst, 2, 2), 0u);
  EXPECT_EQ(Px(dst, 3, 2), Px(src, 0, 2));
  EXPECT_EQ(Px(dst, 6, 3), Px(src, 3, 3));
  EXPECT_EQ(Px(dst, 7, 3), 0u);
  EXPECT_EQ(Px(dst, 3, 4), 0u);
}
#endif

TEST(DIBImageBlit, CopyWithinOneImageOverlappingDownwards) {
  CDIBImage img;
  MakePattern(img, 4, 6);
  std::vector<uint32_t> before(img.GetPixels(), img.GetPixels() + 24);
  img.Copy(&img, 0, 2, 0, 0, 4, 4);
  for (int y = 2; y < 6; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(Px(img, x, y), before[(y - 2) * 4 + x]) << x << "," << y;
}

TEST(DIBImageBlit, VertexFormsBlitTheRectangleAtPointZeroWithTheVertexColour) {
  CDIBImage src, a, b;
  MakePattern(src, 9, 7, 0xC0);
  a.Create(12, 12);
  b.Create(12, 12);
  SprtVertex v;
  src.SetVertex(v, 3, 2, 1, 1, 5, 4, 0xC0FF80FFu);
  for (int op = 0; op < 3; ++op) {
    a.FillFull(0x80808080u);
    b.FillFull(0x80808080u);
    if (op == 0) {
      src.Copy(&a, v);
      src.Copy(&b, 3, 2, 1, 1, 5, 4);
    } else if (op == 1) {
      src.BltBlend(&a, v);
      src.BltBlend(&b, 3, 2, 1, 1, 5, 4, 0xC0FF80FFu);
    } else {
      src.BltFast(&a, v);
      src.BltFast(&b, 3, 2, 1, 1, 5, 4, 0xC0FF80FFu);
    }
    EXPECT_EQ(std::vector<uint32_t>(a.GetPixels(), a.GetPixels() + 144),
              std::vector<uint32_t>(b.GetPixels(), b.GetPixels() + 144))
        << "op " << op;
  }
}

TEST(DIBImageVertex, SetVertexAndSetStretchVertexPlaceTheCorners) {
  CDIBImage img;
  img.Create(30, 20);
  SprtVertex v;
  img.SetVertex(v, 10, 5, 2, 3, 4, 6, 0x11223344u);
  EXPECT_EQ(v.dst[0].x, 10);
  EXPECT_EQ(v.dst[1].x, 13);
  EXPECT_EQ(v.dst[2].y, 10);
  EXPECT_EQ(v.dst[3].x, 10);
  EXPECT_EQ(v.dst[3].y, 10);
  EXPECT_EQ(v.src[1].u, 5);
  EXPECT_EQ(v.src[2].v, 8);
  EXPECT_EQ(v.dst[2].z, 0);
  EXPECT_EQ(v.color, 0x11223344u);
  img.SetStretchVertex(v, -5, -6, 100, 50, 0xFFFFFFFFu);
  EXPECT_EQ(v.dst[2].x, 94);
  EXPECT_EQ(v.dst[2].y, 43);
  EXPECT_EQ(v.src[0].u, 0);
  EXPECT_EQ(v.src[2].u, 29);
  EXPECT_EQ(v.src[2].v, 19);
  EXPECT_EQ(v.src[3].u, 0);
  EXPECT_EQ(v.src[3].v, 19);
}

TEST(DIBImage, CopyToMemoryAndReleaseEmptyTheImage) {
  CDIBImage img;
  MakePattern(img, 3, 2);
  std::vector<uint32_t> out(6);
  img.Copy(out.data());
  EXPECT_EQ(out[4], Px(img, 1, 1));
  EXPECT_EQ(img.GetClip().right, 2);
  EXPECT_EQ(img.GetClip().bottom, 1);
  img.Release();
  EXPECT_EQ(img.GetPixels(), nullptr);
  EXPECT_EQ(img.GetWidth(), 0);
  img.FillFull(1);
  img.Befog(1);
  img.Mozaiku(2, true, true);
  EXPECT_TRUE(img.Create(0, 5));
  EXPECT_EQ(img.GetPixels(), nullptr);
}

}  // namespace
