// The per-pixel rules against values worked out by hand.
#include <gtest/gtest.h>

#include "assets/PixelRules.h"

namespace {

TEST(BlendRule, OpaqueWhiteOverBlackLandsAt252) {
  // s = 255 × 255 ÷256 = 254; a = 254; (0 × 1 + 254 × 254) ÷256 = 252.
  EXPECT_EQ(pix::Blend(0x00000000u, 0xFFFFFFFFu, 0xFFFFFFFFu), 0xFCFCFCFCu);
  // Over opaque black the alpha keeps a little of the old: (255 × 1 + 254 × 254) ÷256.
  EXPECT_EQ(pix::Blend(0xFF000000u, 0xFFFFFFFFu, 0xFFFFFFFFu), 0xFDFCFCFCu);
}

TEST(BlendRule, BlendSkipsOnlyTransparentSources) {
  EXPECT_EQ(pix::Blend(0x11223344u, 0x00FFFFFFu, 0xFFFFFFFFu), 0x11223344u);
  // Alpha 1 modulated to 0: not skipped, the destination darkens by 255 ÷256.
  EXPECT_EQ(pix::Blend(0x80808080u, 0x01FFFFFFu, 0x80FFFFFFu), 0x7F7F7F7Fu);
  // Half alpha: s = (100, 200, 50, 128) × 255 ÷256 = (99, 199, 49, 127);
  // D = (D × 128 + s × 127) ÷256 with D = (10, 20, 30, 40).
  uint32_t d = 0x281E140Au, s = 0x803264C8u;
  uint32_t b = (10 * 128 + 199 * 127) >> 8, g = (20 * 128 + 99 * 127) >> 8, r = (30 * 128 + 49 * 127) >> 8,
           a = (40 * 128 + 127 * 127) >> 8;
  EXPECT_EQ(pix::Blend(d, s, 0xFFFFFFFFu), pix::Pack(b, g, r, a));
}

TEST(BlendRule, OpaqueWritesAlpha255AndModulates) {
  EXPECT_EQ(pix::Opaque(0x00000000u, 0xFFFFFFFFu), 0xFF000000u);
  EXPECT_EQ(pix::Opaque(0x00FFFFFFu, 0xFFFFFFFFu), 0xFFFEFEFEu);
  EXPECT_EQ(pix::Opaque(0x80C86432u, 0x00808080u), pix::Pack(0x32 * 128 >> 8, 0x64 * 128 >> 8, 0xC8 * 128 >> 8, 255));
}

TEST(BlendRule, TintedOpaqueHasTwoSpecialColours) {
  EXPECT_EQ(pix::TintedOpaque(0x12345678u, 0xFF000000u), 0xFF000000u);
  EXPECT_EQ(pix::TintedOpaque(0x12345678u, 0x00FFFFFFu), 0xFF345678u);
  // ÷255 elsewhere, alpha kept: 0x78 × 0x80 ÷255 = 60, 0x56 × 255 ÷255 = 0x56.
  EXPECT_EQ(pix::TintedOpaque(0x12345678u, 0x00FFFF80u), 0x1234563Cu);
}

TEST(BlendRule, AdditiveClampsAndSkips) {
  EXPECT_EQ(pix::Add(0x10203040u, 0xFFFFFFFFu, 0), 0x10203040u);
  EXPECT_EQ(pix::Add(0x10203040u, 0x00FFFFFFu, 0xFFFFFFFFu), 0x10203040u);
  EXPECT_EQ(pix::Add(0x80F08010u, 0xFF20FF10u, 0xFFFFFFFFu), 0xFFFFFF20u);
  // e = 128 × 255 ÷255 = 128; s = 255 × 0x10 ÷255; D += 128 × s ÷255.
  EXPECT_EQ(pix::Add(0x00000000u, 0xFF101010u, 0x80FFFFFFu), pix::Pack(8, 8, 8, 128));
}

TEST(BlendRule, InvertIsTheBlendWithColoursFlipped) {
  EXPECT_EQ(pix::Xor(0x00000000u, 0xFFFFFFFFu, 0xFFFFFFFFu), 0xFC030303u);
  EXPECT_EQ(pix::Xor(0x11223344u, 0x00FFFFFFu, 0xFFFFFFFFu), 0x11223344u);
}

TEST(BlendRule, SingleColourUsesOnlyTheSourceAlpha) {
  EXPECT_EQ(pix::One(0x00000000u, 0xFF123456u, 0xFF0000FFu), 0xFF0000FFu);
  EXPECT_EQ(pix::One(0xF0102030u, 0x00FFFFFFu, 0xFFFFFFFFu), 0xF0102030u);
  // c = 255 × 128 ÷255 = 128: (0 × 127 + 255 × 128) ÷255 = 128.
  EXPECT_EQ(pix::One(0x00000000u, 0xFF000000u, 0x80FF0000u), 0x80800000u);
}

TEST(BlendRule, GreyTintTruncatesTheFloatingLevel) {
  EXPECT_EQ(pix::GrayLevel(0x00FFFFFFu), 255u);
  EXPECT_EQ(pix::GrayLevel(0x00000064u), 11u);  // 0.11 × 100
  EXPECT_EQ(pix::GrayLevel(0x00030000u), 0u);   // 0.3 × 3 = 0.8999…
  EXPECT_EQ(pix::GrayLevel(0x000A0000u), 3u);
  EXPECT_EQ(pix::Gray(0x11223344u, 0xFFFFFFFFu, 0), 0x11223344u);
  // Opaque white source, white colour: full grey 255 written.
  EXPECT_EQ(pix::Gray(0x00000000u, 0xFFFFFFFFu, 0xFFFFFFFFu), 0xFFFFFFFFu);
  // d = 128: (255 × 128 + 0) ÷255 = 128.
  EXPECT_EQ(pix::Gray(0x00000000u, 0x80FFFFFFu, 0xFFFFFFFFu), 0x80808080u);
}

TEST(BlendRule, FadeEndsAtOldTimes255Over256AndAtNew) {
  EXPECT_EQ(pix::Fade(0xFFFFFFFFu, 0x00000000u, 0), 0xFEFEFEFEu);
  EXPECT_EQ(pix::Fade(0x00000000u, 0xFFFFFFFFu, 255), 0xFEFEFEFEu);
  EXPECT_EQ(pix::Fade(0x40404040u, 0xC0C0C0C0u, 128), pix::Pack(127, 127, 127, 127));
}

TEST(BlendRule, ShadeScalesColoursNotAlpha) {
  EXPECT_EQ(pix::Shade(0xFFFFFFFFu, 255), 0xFFFEFEFEu);
  EXPECT_EQ(pix::Shade(0x80FF8040u, 128), 0x807F4020u);
  EXPECT_EQ(pix::Shade(0x80FF8040u, 0), 0x80000000u);
}

TEST(BlendRule, BilinearWeightsFromTheFractionsHighByte) {
  const uint32_t px[4] = {0x00000000u, 0xFFFFFFFFu, 0x00000000u, 0xFFFFFFFFu};  // 2 × 2
  // No fraction: the weight of the top-left pixel is 255 × 255, not 65536.
  EXPECT_EQ(pix::Bilinear(px, 2, 0, 0), 0u);
  // fx = 0x80 (u = 0x8000) and fy = 0: 128 × 255 × 255 ÷65536 = 127.
  EXPECT_EQ(pix::Bilinear(px, 2, 0x8000, 0), 0x7F7F7F7Fu);
  // Bits below 8 of the fraction do not count.
  EXPECT_EQ(pix::Bilinear(px, 2, 0x80FF, 0x00FF), 0x7F7F7F7Fu);
  const uint32_t white[4] = {0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu};
  EXPECT_EQ(pix::Bilinear(white, 2, 0, 0), 0xFDFDFDFDu);  // 255 × 65025 ÷65536
}

}  // namespace
