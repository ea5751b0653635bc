// Glyph drawing: the pixel rules exactly, and whole strings checked pixel by
// pixel against those rules and the glyph pictures the font layer gives.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "assets/DIBImage.h"
#include "assets/TextPixels.h"
#include "platform/Encoding.h"
#include "platform/Font.h"
#include "text/profile/TextProfile.h"

namespace {

std::string L(const char* utf8) { return plat::FromUtf8(utf8); }
const char* Face() { return profile::BuildProfile().szDefaultFace; }
// A character every build's fonts hold: "あ" in Japanese, "中" in Chinese.
std::string ScriptChar() { return profile::BuildProfile().encoding == profile::Encoding::kSjis ? L("あ") : L("中"); }
uint32_t Code(const std::string& ch) {
  return ch.size() == 2 ? static_cast<uint8_t>(ch[0]) << 8 | static_cast<uint8_t>(ch[1]) : static_cast<uint8_t>(ch[0]);
}

TEST(GlyphPixels, LevelsBecomeOpacitiesAndTheHardRuleShiftsByEight) {
  // Level 64 writes the text colour exactly (a = 255).
  EXPECT_EQ(textpx::GlyphPixel(0x12345678u, 0xFFA0B0C0u, 64), 0xFFA0B0C0u);
  EXPECT_EQ(textpx::GlyphPixel(0x00000000u, 0x00FFFFFFu, 48), 0xFFFFFFFFu);  // 48 × 4 + 63 = 255
  // Level 1 mixes 67/255 of it.
  const uint32_t old = 0x00102030u, color = 0xFFF0E0D0u;
  const uint32_t r = (0xF0 * 67 + 0x10 * 188) / 255, g = (0xE0 * 67 + 0x20 * 188) / 255, b = (0xD0 * 67 + 0x30 * 188) / 255;
  EXPECT_EQ(textpx::GlyphPixel(old, color, 1), 0xFF000000u | r << 16 | g << 8 | b);
  // The hard-edged rule: white at alpha 0x80 over black gives 0x7F.
  EXPECT_EQ(textpx::HardTextPixel(0xFF000000u, 0x80FFFFFFu), 0xFF7F7F7Fu);
  EXPECT_EQ(textpx::HardTextPixel(0x00FFFFFFu, 0xFF000000u), 0xFF000000u);
}

TEST(Fonts, FaceNamesOfTheDataFindInstalledFontsWithTheScript) {
  plat::FontFace face;
  ASSERT_TRUE(plat::ResolveFontFace(Face(), face));
  const uint32_t probe = profile::BuildProfile().dwProbeChar;
  auto holdsScript = [&](const char* faceLocal) {
    plat::FontPtr font(plat::OpenFont(plat::FontRequest{faceLocal, 24, 400}));
    if (!font) return false;
    // The probe character has a picture with ink.
    plat::Glyph g;
    return plat::GetGlyph(font.get(), Code(ScriptChar()), plat::GlyphMode::kGray, g) && g.levels && g.width > 4 &&
           probe != 0;
  };
  EXPECT_TRUE(holdsScript(Face()));
  if (profile::BuildProfile().encoding == profile::Encoding::kSjis) {
    EXPECT_EQ(face.family, "IPAGothic");
    ASSERT_TRUE(plat::ResolveFontFace(L("ＭＳ 明朝").c_str(), face));
    EXPECT_EQ(face.family, "IPAMincho");
    ASSERT_TRUE(plat::ResolveFontFace("MS Gothic", face));
    EXPECT_EQ(face.family, "IPAGothic");
  } else {
    EXPECT_NE(face.family.find("WenQuanYi"), std::string::npos);
  }
  // A face that does not exist, and one without the script, fall back to
  // the default face.
  plat::FontFace fallback, latin;
  ASSERT_TRUE(plat::ResolveFontFace("No Such Face 123", fallback));
  EXPECT_EQ(fallback.file, face.file);
  ASSERT_TRUE(plat::ResolveFontFace("DejaVu Sans", latin));
  EXPECT_EQ(latin.file, face.file);
  EXPECT_TRUE(holdsScript("No Such Face 123"));
}

TEST(Fonts, SizeIsTheCellHeightAndBoldWidensByOnePixel) {
  plat::FontPtr regular(plat::OpenFont(plat::FontRequest{Face(), 24, 400}));
  plat::FontPtr bold(plat::OpenFont(plat::FontRequest{Face(), 24, 700}));
  ASSERT_TRUE(regular && bold);
  plat::FontMetrics m = plat::GetFontMetrics(regular.get());
  EXPECT_NEAR(m.height, 24, 1);
  EXPECT_EQ(m.height, m.ascent + m.descent);
  plat::Glyph r, b;
  ASSERT_TRUE(plat::GetGlyph(regular.get(), Code(ScriptChar()), plat::GlyphMode::kGray, r));
  const int rw = r.width, rInc = r.cellIncX;
  ASSERT_TRUE(plat::GetGlyph(bold.get(), Code(ScriptChar()), plat::GlyphMode::kGray, b));
  EXPECT_EQ(b.width, rw + 1);
  EXPECT_EQ(b.cellIncX, rInc + 1);
  EXPECT_EQ(rInc, 24) << "a full-width character of a 24-pixel fixed-pitch face";
  for (int i = 0; i < b.width * b.height; ++i) ASSERT_LE(b.levels[i], 64);
}

// Draws with DrawString and checks every pixel against the rule.
TEST(DrawString, EveryPixelFollowsTheLevelRuleAndGlyphsAreCutAtTheEdges) {
  const std::string text = ScriptChar() + "A" + ScriptChar();
  for (int x0 : {3, -10, 40}) {
    CDIBImage image;
    image.Create(64, 40);
    for (int i = 0; i < 64 * 40; ++i) image.GetPixels()[i] = 0x80000000u | (i * 2654435761u >> 8 & 0xFFFFFF);
    CDIBImage before;
    before.Create(64, 40);
    memcpy(before.GetPixels(), image.GetPixels(), 64 * 40 * 4);
    image.BeginDrawString(Face(), 24, 400, false, false, false, 0);
    ASSERT_NE(image.GetFont(), nullptr);
    const uint32_t color = 0xFF3366CCu;
    image.DrawString(x0, 5, color, text.c_str(), 0, 0);

    // The expected picture, from the glyphs and the rule.
    CDIBImage expected;
    expected.Create(64, 40);
    memcpy(expected.GetPixels(), before.GetPixels(), 64 * 40 * 4);
    const int ascent = plat::GetFontMetrics(image.GetFont()).ascent;
    int pen = x0, seen64 = 0, inked = 0;
    for (size_t i = 0; i < text.size();) {
      const bool wide = plat::IsLeadByte(static_cast<uint8_t>(text[i]));
      std::string ch = text.substr(i, wide ? 2 : 1);
      i += ch.size();
      plat::Glyph g;
      plat::GetGlyph(image.GetFont(), Code(ch), plat::GlyphMode::kGray, g);
      for (int r = 0; r < g.height; ++r)
        for (int c = 0; c < g.width; ++c) {
          const int x = pen + g.originX + c, y = 5 + ascent - g.originY + r;
          const uint8_t v = g.levels[r * g.width + c];
          if (!v || x < 0 || y < 0 || x >= 64 || y >= 40) continue;
          uint32_t& px = expected.GetPixels()[y * 64 + x];
          px = textpx::GlyphPixel(px, color, v);
          seen64 += v == 64;
          ++inked;
        }
      pen += g.cellIncX;
    }
    EXPECT_GT(inked, 20);
    EXPECT_GT(seen64, 0);
    EXPECT_EQ(memcmp(image.GetPixels(), expected.GetPixels(), 64 * 40 * 4), 0) << "x " << x0;
  }
}

TEST(DrawString, SpacesAreNotDrawnAndNothingHappensWithoutAFont) {
  CDIBImage image;
  image.Create(100, 40);
  image.FillFull(0xFF000000u);
  image.DrawString(0, 0, 0xFFFFFFFFu, ScriptChar().c_str());
  EXPECT_EQ(image.GetPixels()[20 * 100 + 10], 0xFF000000u) << "no font chosen";
  image.BeginDrawString(Face(), 24, 400, false, false, false, 0);
  const std::string blanks = " " + L("　") + " ";
  image.DrawStringS(0, 0, 2, 2, 0xFFFFFFFFu, 0xFF808080u, blanks.c_str());
  for (int i = 0; i < 100 * 40; ++i) ASSERT_EQ(image.GetPixels()[i], 0xFF000000u);
  // A lone lead byte at the end draws what comes before it.
  std::string lone = ScriptChar();
  lone += lone[0];
  image.DrawString(0, 0, 0xFFFFFFFFu, lone.c_str());
  image.EndDrawString();
  EXPECT_EQ(image.GetFont(), nullptr);
}

TEST(DrawString, UnderlineAndStrikeOutDrawBarsThroughTheCell) {
  CDIBImage plain, lined;
  for (CDIBImage* img : {&plain, &lined}) {
    img->Create(80, 40);
    img->FillFull(0xFF000000u);
  }
  plain.BeginDrawString(Face(), 24, 400, false, false, false, 0);
  lined.BeginDrawString(Face(), 24, 400, false, true, true, 0);
  plain.DrawString(0, 0, 0xFFFFFFFFu, "  ");
  lined.DrawString(0, 0, 0xFFFFFFFFu, "  ");
  int changed = 0;
  for (int i = 0; i < 80 * 40; ++i) changed += lined.GetPixels()[i] != plain.GetPixels()[i];
  EXPECT_GE(changed, 2 * 24) << "two bars under and through two spaces";
}

TEST(DrawString2, HardEdgesMixedAtTheColoursAlphaOnBlack) {
  CDIBImage image;
  image.Create(120, 70);
  image.FillFull(0xFF000000u);
  image.BeginDrawString(Face(), 24, 400, false, false, false, 0);
  const std::string text = ScriptChar() + "\n" + ScriptChar() + ScriptChar();
  int w = 0, h = 0;
  image.MeasureString2(text.c_str(), w, h);
  const plat::FontMetrics m = plat::GetFontMetrics(image.GetFont());
  EXPECT_EQ(h, 2 * m.height + 1) << "two lines";
  EXPECT_EQ(w, 2 * 24 + 1);
  image.DrawString2(4, 4, 0x80FFFFFFu, text.c_str());
  int drawn = 0, below = 0;
  for (int y = 0; y < 70; ++y)
    for (int x = 0; x < 120; ++x) {
      const uint32_t px = image.GetPixels()[y * 120 + x];
      if (px == 0xFF000000u) continue;
      ASSERT_EQ(px, 0xFF7F7F7Fu) << x << "," << y;
      ++drawn;
      below += y >= 4 + m.height;
    }
  EXPECT_GT(drawn, 40);
  EXPECT_GT(below, 20) << "the line break was honoured";
  // Cut at the image's edges.
  image.DrawString2(100, 60, 0xFFFFFFFFu, text.c_str());
  image.DrawString2(-30, -30, 0xFFFFFFFFu, text.c_str());
}

}  // namespace
