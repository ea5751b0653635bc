// Text drawing into an image: the font, smooth glyphs with an optional drop
// shadow, and hard-edged strings mixed at a constant opacity.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "app/core/Trace.h"
#include "assets/DIBImage.h"
#include "assets/TextPixels.h"
#include "platform/Encoding.h"
#include "text/profile/TextProfile.h"

namespace {

// One character of the build's encoding at `p`: its code (lead × 256 + trail
// for two bytes) and length; 0 at the end of the text. A lead byte with no
// trail byte ends the text.
int NextChar(const char* p, uint32_t& code) {
  const auto b = static_cast<uint8_t>(p[0]);
  if (b == 0) return 0;
  if (plat::IsLeadByte(b)) {
    const auto t = static_cast<uint8_t>(p[1]);
    if (t == 0) return 0;
    code = b << 8 | t;
    return 2;
  }
  code = b;
  return 1;
}

}  // namespace

void CDIBImage::BeginDrawString(const char* face, int height, int weight, bool italic, bool underline,
                                bool strikeOut, int escapement) {
  Trace("CDIBImage::BeginDrawString");
  EndDrawString();
  plat::FontRequest request;
  request.face = face ? face : "";
  request.height = height;
  request.weight = weight;
  request.italic = italic;
  request.underline = underline;
  request.strikeOut = strikeOut;
  request.escapement = escapement;
  mpFont.reset(plat::OpenFont(request));
  if (!mpFont) return;
  snprintf(mFontInfo.szFaceName, sizeof mFontInfo.szFaceName, "%s", request.face);
  mFontInfo.nHeight = height;
  mFontInfo.nWeight = weight;
  mFontInfo.bItalic = italic;
  mFontInfo.bUnderline = underline;
  mFontInfo.bStrikeOut = strikeOut;
  mFontInfo.nEscapement = escapement;
}

void CDIBImage::BeginDrawString(const FontInfo& font) {
  Trace("CDIBImage::BeginDrawString");
  char face[sizeof font.szFaceName];
  memcpy(face, font.szFaceName, sizeof face);
  face[sizeof face - 1] = 0;
  BeginDrawString(face, font.nHeight, font.nWeight, font.bItalic, font.bUnderline, font.bStrikeOut,
                  font.nEscapement);
}

void CDIBImage::EndDrawString() {
  Trace("CDIBImage::EndDrawString");
  mpFont.reset();
  mFontInfo = FontInfo{};
}

void CDIBImage::SetTextClip(int left, int top, int right, int bottom) {
  Trace("CDIBImage::SetTextClip");
  mbTextClip = true;
  mTextClip = plat::RECT{left, top, right, bottom};
}

void CDIBImage::ResetTextClip() {
  Trace("CDIBImage::ResetTextClip");
  mbTextClip = false;
}

plat::RECT CDIBImage::TextBounds() const {
  Trace("CDIBImage::TextBounds");
  // Right and bottom exclusive.
  plat::RECT r{0, 0, mWidth, mHeight};
  if (mbTextClip) {
    r.left = std::clamp(mTextClip.left, 0, mWidth);
    r.top = std::clamp(mTextClip.top, 0, mHeight);
    r.right = std::clamp(mTextClip.right + 1, r.left, mWidth);
    r.bottom = std::clamp(mTextClip.bottom + 1, r.top, mHeight);
  }
  return r;
}

void CDIBImage::DrawString(int x, int y, uint32_t color, const char* text, uint32_t, uint32_t) {
  Trace("CDIBImage::DrawString");
  if (!mpFont || !text || !mpPixels) return;
  const int ascent = plat::GetFontMetrics(mpFont.get()).ascent;
  const uint32_t fullSpace = profile::BuildProfile().wFullSpace;
  // Blank characters are skipped unless they carry an underline or a
  // strike-out bar.
  const bool bars = mFontInfo.bUnderline || mFontInfo.bStrikeOut;
  const plat::RECT bounds = TextBounds();
  long long penX = x, penY = y;
  uint32_t code = 0;
  for (int len; (len = NextChar(text, code)) != 0; text += len) {
    plat::Glyph g;
    plat::GetGlyph(mpFont.get(), code, plat::GlyphMode::kGray, g);
    if ((bars || (code != 0x20 && code != fullSpace)) && g.levels) {
      const long long left = penX + g.originX, top = penY + ascent - g.originY;
      // The rows and columns of the glyph that land inside the image.
      const int c0 = static_cast<int>(std::clamp<long long>(bounds.left - left, 0, g.width));
      const int c1 = static_cast<int>(std::clamp<long long>(bounds.right - left, 0, g.width));
      const int r0 = static_cast<int>(std::clamp<long long>(bounds.top - top, 0, g.height));
      const int r1 = static_cast<int>(std::clamp<long long>(bounds.bottom - top, 0, g.height));
      for (int row = r0; row < r1; ++row) {
        const uint8_t* src = g.levels + static_cast<size_t>(row) * g.width;
        uint32_t* dst = mpPixels + (top + row) * mWidth + left;
        for (int col = c0; col < c1; ++col)
          if (src[col]) dst[col] = textpx::GlyphPixel(dst[col], color, src[col]);
      }
    }
    penX += g.cellIncX;
    penY += g.cellIncY;
  }
}

void CDIBImage::DrawStringS(int x, int y, int dx, int dy, uint32_t color, uint32_t shadowColor, const char* text,
                            uint32_t a, uint32_t b) {
  Trace("CDIBImage::DrawStringS");
  DrawString(x + dx, y + dy, shadowColor, text, a, b);
  DrawString(x, y, color, text, a, b);
}

namespace {

// Walks a text as DrawString2 lays it out: `glyph` is called with each
// glyph (null at a line break), the pen's position (x, top of the line,
// moved along by rotated glyphs) and the line's number.
template <class Fn>
void LayOutLines(plat::Font* font, const char* text, Fn&& glyph) {
  const int lineHeight = plat::GetFontMetrics(font).height;
  long long penX = 0, penY = 0, line = 0;
  uint32_t code = 0;
  for (int len; (len = NextChar(text, code)) != 0; text += len) {
    if (code == '\r' || code == '\n') {
      if (code == '\r' && text[1] == '\n') ++text;  // CR LF is one break
      ++line;
      penX = 0;
      penY = line * lineHeight;
      glyph(nullptr, penX, penY, line);
      continue;
    }
    plat::Glyph g;
    plat::GetGlyph(font, code, plat::GlyphMode::kMono, g);
    glyph(&g, penX, penY, line);
    penX += g.cellIncX;
    penY += g.cellIncY;
  }
}

}  // namespace

void CDIBImage::MeasureString2(const char* text, int& width, int& height) {
  Trace("CDIBImage::MeasureString2");
  width = height = 1;
  if (!mpFont || !text) return;
  const int lineHeight = plat::GetFontMetrics(mpFont.get()).height;
  long long right = 0, lines = 1;
  LayOutLines(mpFont.get(), text, [&](const plat::Glyph* g, long long penX, long long, long long line) {
    if (g) right = std::max(right, penX + g->cellIncX);
    lines = line + 1;
  });
  // The box runs from (0, 0) to (right, lines × line height), both included.
  width = static_cast<int>(std::clamp<long long>(right, 0, 0x7FFF)) + 1;
  height = static_cast<int>(std::min<long long>(lines * lineHeight, 0x7FFF)) + 1;
}

void CDIBImage::DrawString2(int x, int y, uint32_t color, const char* text) {
  Trace("CDIBImage::DrawString2");
  if (!mpFont || !text || !mpPixels) return;
  int w = 0, h = 0;
  MeasureString2(text, w, h);
  // The text in white on a cleared picture of its box, then every pixel it
  // set mixes the colour into the image. The box grows to take glyphs that
  // reach out of it (italic overhangs, rotated text) instead of cutting them.
  const int ascent = plat::GetFontMetrics(mpFont.get()).ascent;
  long long x0 = 0, y0 = 0, x1 = w, y1 = h;
  LayOutLines(mpFont.get(), text, [&](const plat::Glyph* g, long long penX, long long penY, long long) {
    if (!g || !g->levels) return;
    const long long left = penX + g->originX, top = penY + ascent - g->originY;
    x0 = std::min(x0, left);
    y0 = std::min(y0, top);
    x1 = std::max(x1, left + g->width);
    y1 = std::max(y1, top + g->height);
  });
  if ((x1 - x0) * (y1 - y0) > (1LL << 26)) return;
  const long long mw = x1 - x0, mh = y1 - y0;
  std::vector<uint8_t> mask(static_cast<size_t>(mw * mh), 0);
  LayOutLines(mpFont.get(), text, [&](const plat::Glyph* g, long long penX, long long penY, long long) {
    if (!g || !g->levels) return;
    const long long left = penX + g->originX - x0, top = penY + ascent - g->originY - y0;
    for (int row = 0; row < g->height; ++row)
      for (int col = 0; col < g->width; ++col)
        if (g->levels[static_cast<size_t>(row) * g->width + col]) mask[(top + row) * mw + left + col] = 1;
  });
  const plat::RECT bounds = TextBounds();
  for (long long row = 0; row < mh; ++row) {
    const long long iy = y + y0 + row;
    if (iy < bounds.top || iy >= bounds.bottom) continue;
    for (long long col = 0; col < mw; ++col) {
      const long long ix = x + x0 + col;
      if (ix < bounds.left || ix >= bounds.right || !mask[row * mw + col]) continue;
      uint32_t& px = mpPixels[iy * mWidth + ix];
      px = textpx::HardTextPixel(px, color);
    }
  }
}
