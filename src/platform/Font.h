// Fonts and glyphs: what stands in for the host's font creation, text
// metrics and grey-level glyph outlines, on FreeType and fontconfig.
//
// A font is asked for by the face name the game data gives (in the build's
// encoding, "ＭＳ ゴシック", "SimHei"). Those names are aliased to installed
// fonts that hold the build's script; a face that is unknown or lacks the
// script falls back to the profile's default face. Characters are given as
// codes of the build's encoding (lead × 256 + trail for two bytes) and are
// converted to Unicode for the lookup.
//
// Glyph pictures come in two kinds: 65 grey levels (0 … 64) for the smooth
// text, or hard-edged (0 or 1). Glyphs are kept per font once rendered, so a
// character drawn again costs no rendering; the pixels are the same either
// way. Main thread only.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

namespace plat {

struct Font;  // opaque; one per distinct description, shared

struct FontRequest {
  const char* face = "";   // build's encoding; empty = the profile's default
  int height = 0;          // > 0 cell height (ascent + descent), < 0 em height, 0 default
  int weight = 400;        // 600 and above draws bold
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  int escapement = 0;      // tenths of a degree, counter-clockwise
};

enum class GlyphMode { kGray, kMono };

// One rendered character. The picture's top-left lies `originX` right of the
// pen and `originY` above the baseline; the pen then moves by the cell
// increment (y downwards).
struct Glyph {
  int originX = 0, originY = 0;
  int width = 0, height = 0;
  int cellIncX = 0, cellIncY = 0;
  const uint8_t* levels = nullptr;  // width × height, rows unpadded: 0 … 64, or 0 / 1 for kMono
};

// Null only when no font at all can be opened. Close every font opened.
Font* OpenFont(const FontRequest& request);
void CloseFont(Font* font);
struct FontCloser {
  void operator()(Font* font) const { CloseFont(font); }
};
using FontPtr = std::unique_ptr<Font, FontCloser>;

struct FontMetrics {
  int ascent = 0, descent = 0, height = 0;  // pixels; height = ascent + descent
};
FontMetrics GetFontMetrics(const Font* font);

// The glyph of one character; false when the font cannot render it (the
// picture is then empty). The levels stay valid until the next call for
// this font.
bool GetGlyph(Font* font, uint32_t code, GlyphMode mode, Glyph& out);

// The installed font a face name resolves to, for tools and tests: its
// family and file.
struct FontFace {
  std::string family;
  std::string file;
  int index = 0;
};
bool ResolveFontFace(const char* faceLocal, FontFace& out);
// The face of an open font.
const FontFace* GetFontFace(const Font* font);

// A character of the build's encoding as Unicode; 0 when it has none.
uint32_t LocalCharToUnicode(uint32_t code);

// Drops every cached font that is not open and every cached glyph (tests
// and tools measuring the cost of a first draw).
void FlushFontCache();

}  // namespace plat
