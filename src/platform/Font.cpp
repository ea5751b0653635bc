// Fonts on FreeType: opening a face at the size the game asks for, its
// metrics, and glyph pictures with the synthesised styles the game's fonts
// get on their home platform (bold as a one-pixel overstrike, italic as a
// shear, escapement as a rotation, underline and strike-out as bars that are
// part of each character's picture). All arithmetic is FreeType's fixed
// point, so the pictures are the same on every machine with the same fonts.
#include "platform/Font.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRIGONOMETRY_H
#include FT_TRUETYPE_TABLES_H
#include <iconv.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "platform/Encoding.h"

namespace plat {

struct Font {
  std::string key;
  int refs = 0;
  uint64_t lastUse = 0;
  FT_Face face = nullptr;
  FontFace where;
  FontMetrics metrics;
  bool bold = false;
  bool underline = false;
  bool strikeOut = false;
  bool transformed = false;
  FT_Matrix matrix{0x10000, 0, 0, 0x10000};
  FT_Fixed cosine = 0x10000, sine = 0;
  // Bars, 26.6 pixels above the baseline: [bottom, top).
  FT_Pos underBottom = 0, underTop = 0, strikeBottom = 0, strikeTop = 0;
  struct Cached {
    Glyph glyph;
    std::vector<uint8_t> data;
    bool ok = false;
  };
  std::unordered_map<uint32_t, Cached> glyphs;
};

namespace {

constexpr int kMaxPixelSize = 512;       // larger requests are drawn at this size
constexpr size_t kKeptFonts = 16;        // closed fonts kept for reuse
constexpr size_t kGlyphsPerFont = 4096;  // the cache of a font is emptied beyond this
constexpr FT_Fixed kItalicShear = 0x0366A;  // about 12 degrees

struct Registry {
  std::mutex lock;
  FT_Library library = nullptr;
  bool tried = false;
  uint64_t clock = 0;
  std::map<std::string, Font*> fonts;

  FT_Library Library() {
    if (!tried) {
      tried = true;
      if (FT_Init_FreeType(&library) != 0) library = nullptr;
    }
    return library;
  }
};

// Never destroyed: images holding a font may outlive any static object.
Registry& Reg() {
  static Registry* registry = new Registry;
  return *registry;
}

void DestroyFont(Font* font) {
  if (font->face) FT_Done_Face(font->face);
  delete font;
}

// Closed fonts beyond the few kept, oldest first.
void TrimClosed(Registry& reg, size_t keep) {
  for (;;) {
    size_t closed = 0;
    auto oldest = reg.fonts.end();
    for (auto it = reg.fonts.begin(); it != reg.fonts.end(); ++it) {
      if (it->second->refs > 0) continue;
      ++closed;
      if (oldest == reg.fonts.end() || it->second->lastUse < oldest->second->lastUse) oldest = it;
    }
    if (closed <= keep || oldest == reg.fonts.end()) return;
    DestroyFont(oldest->second);
    reg.fonts.erase(oldest);
  }
}

std::string MakeKey(const FontRequest& r, bool bold) {
  std::string key = r.face ? r.face : "";
  key += '\0';
  key += std::to_string(r.height) + ',' + (bold ? 'b' : '-') + (r.italic ? 'i' : '-') + (r.underline ? 'u' : '-') +
         (r.strikeOut ? 's' : '-') + ',' + std::to_string(r.escapement);
  return key;
}

FT_Pos Scale(long units, int pixelSize, int unitsPerEm) {
  // 26.6 pixels, rounded to the nearest 1/64.
  long long v = static_cast<long long>(units) * pixelSize * 64;
  long long half = unitsPerEm / 2;
  return static_cast<FT_Pos>(v >= 0 ? (v + half) / unitsPerEm : -((-v + half) / unitsPerEm));
}

FT_Pos Floor(FT_Pos v) { return v & -64; }
FT_Pos Ceil(FT_Pos v) { return (v + 63) & -64; }

// Sizes the face for the request and fills the metrics and bar positions.
bool SetSize(Font& font, int height) {
  FT_Face face = font.face;
  int upem = face->units_per_EM > 0 ? face->units_per_EM : 1000;
  // The cell is the font's typographic ascent plus descent: for the fonts
  // that stand in for the game's faces that is the em, as it is for the
  // faces they replace, so a full-width character fills the size it is
  // laid out with.
  long asc = face->ascender, desc = -face->descender;
  auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  if (os2 && os2->version != 0xFFFF && os2->sTypoAscender - os2->sTypoDescender > 0) {
    asc = os2->sTypoAscender;
    desc = -os2->sTypoDescender;
  }
  if (asc + desc <= 0) {
    asc = upem * 88 / 100;
    desc = upem - asc;
  }
  if (height == 0) height = 16;
  long long pixelSize = height > 0 ? (static_cast<long long>(height) * upem + (asc + desc) / 2) / (asc + desc)
                                   : -static_cast<long long>(height);
  pixelSize = std::clamp<long long>(pixelSize, 1, kMaxPixelSize);
  const int px = static_cast<int>(pixelSize);
  if (FT_IS_SCALABLE(face)) {
    if (FT_Set_Pixel_Sizes(face, 0, px) != 0) return false;
  } else if (face->num_fixed_sizes > 0) {
    if (FT_Select_Size(face, 0) != 0) return false;
  } else {
    return false;
  }
  font.metrics.ascent = static_cast<int>((Scale(asc, px, upem) + 32) >> 6);
  font.metrics.descent = static_cast<int>((Scale(desc, px, upem) + 32) >> 6);
  font.metrics.height = font.metrics.ascent + font.metrics.descent;

  // Underline: centred on the font's underline position, at least a pixel.
  FT_Pos thick = std::max<FT_Pos>(64, (Scale(std::max<long>(face->underline_thickness, 1), px, upem) + 32) & -64);
  FT_Pos centre = face->underline_position ? Scale(face->underline_position, px, upem) : -Scale(upem / 10, px, upem);
  font.underTop = Floor(centre + thick / 2 + 32);
  font.underBottom = font.underTop - thick;
  // Strike-out: the font's own bar when it has one, else a third of the ascent up.
  FT_Pos sThick = thick, sTop = Scale(asc, px, upem) / 3 + thick;
  if (os2 && os2->version != 0xFFFF && os2->yStrikeoutSize > 0) {
    sThick = std::max<FT_Pos>(64, (Scale(os2->yStrikeoutSize, px, upem) + 32) & -64);
    sTop = Scale(os2->yStrikeoutPosition, px, upem);
  }
  font.strikeTop = Floor(sTop + 32);
  font.strikeBottom = font.strikeTop - sThick;
  return true;
}

void SetTransform(Font& font, bool italic, int escapement) {
  FT_Matrix shear{0x10000, italic ? kItalicShear : 0, 0, 0x10000};
  font.cosine = 0x10000;
  font.sine = 0;
  if (escapement % 3600 != 0) {
    FT_Angle angle = static_cast<FT_Angle>((static_cast<long long>(escapement % 3600) << 16) / 10);
    font.cosine = FT_Cos(angle);
    font.sine = FT_Sin(angle);
  }
  // rotation × shear
  FT_Matrix& m = font.matrix;
  m.xx = FT_MulFix(font.cosine, shear.xx) - FT_MulFix(font.sine, shear.yx);
  m.xy = FT_MulFix(font.cosine, shear.xy) - FT_MulFix(font.sine, shear.yy);
  m.yx = FT_MulFix(font.sine, shear.xx) + FT_MulFix(font.cosine, shear.yx);
  m.yy = FT_MulFix(font.sine, shear.xy) + FT_MulFix(font.cosine, shear.yy);
  font.transformed = italic || escapement % 3600 != 0;
}

// The glyph's outline with the bars added, in the outline's own winding so
// that where they overlap the glyph both stay filled.
bool AddBars(FT_Library library, const Font& font, const FT_Outline& in, FT_Pos advance, FT_Outline& out) {
  FT_Pos bars[2][2];
  int count = 0;
  if (font.underline) {
    bars[count][0] = font.underBottom;
    bars[count++][1] = font.underTop;
  }
  if (font.strikeOut) {
    bars[count][0] = font.strikeBottom;
    bars[count++][1] = font.strikeTop;
  }
  if (FT_Outline_New(library, in.n_points + 4 * count, in.n_contours + count, &out) != 0) return false;
  if (in.n_points > 0) {
    memcpy(out.points, in.points, in.n_points * sizeof *in.points);
    memcpy(out.tags, in.tags, in.n_points);
  }
  if (in.n_contours > 0) memcpy(out.contours, in.contours, in.n_contours * sizeof *in.contours);
  // Non-zero winding, and the arrays stay owned so that FT_Outline_Done frees them.
  out.flags = (in.flags & ~(FT_OUTLINE_EVEN_ODD_FILL | FT_OUTLINE_OWNER)) | FT_OUTLINE_OWNER;
  bool clockwise = in.n_points == 0 || FT_Outline_Get_Orientation(const_cast<FT_Outline*>(&in)) != FT_ORIENTATION_POSTSCRIPT;
  int p = in.n_points, c = in.n_contours;
  for (int i = 0; i < count; ++i) {
    FT_Vector corner[4] = {{0, bars[i][1]}, {advance, bars[i][1]}, {advance, bars[i][0]}, {0, bars[i][0]}};
    for (int k = 0; k < 4; ++k) {
      out.points[p] = corner[clockwise ? k : 3 - k];
      out.tags[p] = FT_CURVE_TAG_ON;
      ++p;
    }
    out.contours[c++] = static_cast<short>(p - 1);
  }
  return true;
}

// Renders one glyph into `cached`.
void Render(Font& font, uint32_t code, GlyphMode mode, Font::Cached& cached) {
  Registry& reg = Reg();
  FT_Face face = font.face;
  uint32_t unicode = LocalCharToUnicode(code);
  FT_UInt index = unicode ? FT_Get_Char_Index(face, unicode) : 0;
  FT_Int32 flags = FT_LOAD_NO_BITMAP | (mode == GlyphMode::kMono ? FT_LOAD_TARGET_MONO : FT_LOAD_TARGET_NORMAL);
  if (FT_Load_Glyph(face, index, flags) != 0 || face->glyph->format != FT_GLYPH_FORMAT_OUTLINE) return;
  FT_GlyphSlot slot = face->glyph;
  FT_Pos advance = (slot->advance.x + 32) & -64;
  if (font.bold) advance += 64;

  FT_Outline outline = slot->outline;
  FT_Outline withBars{};
  bool ownOutline = false;
  if (font.underline || font.strikeOut) {
    if (!AddBars(reg.Library(), font, slot->outline, advance, withBars)) return;
    outline = withBars;
    ownOutline = true;
  }
  if (font.transformed) FT_Outline_Transform(&outline, &font.matrix);

  Glyph& g = cached.glyph;
  FT_Pos ax = FT_MulFix(advance, font.cosine), ay = FT_MulFix(advance, font.sine);
  g.cellIncX = static_cast<int>((ax + 32) >> 6);
  g.cellIncY = -static_cast<int>((ay + 32) >> 6);
  cached.ok = true;

  if (outline.n_points > 0) {
    FT_BBox box;
    FT_Outline_Get_CBox(&outline, &box);
    FT_Pos x0 = Floor(box.xMin), y0 = Floor(box.yMin), x1 = Ceil(box.xMax), y1 = Ceil(box.yMax);
    long long w = (x1 - x0) >> 6, h = (y1 - y0) >> 6;
    if (w > 0 && h > 0 && w <= 4 * kMaxPixelSize && h <= 4 * kMaxPixelSize) {
      FT_Outline_Translate(&outline, -x0, -y0);
      FT_Bitmap bitmap{};
      bitmap.width = static_cast<unsigned>(w);
      bitmap.rows = static_cast<unsigned>(h);
      bool mono = mode == GlyphMode::kMono;
      bitmap.pitch = mono ? static_cast<int>((w + 7) / 8) : static_cast<int>(w);
      bitmap.pixel_mode = mono ? FT_PIXEL_MODE_MONO : FT_PIXEL_MODE_GRAY;
      bitmap.num_grays = mono ? 2 : 256;
      std::vector<uint8_t> raster(static_cast<size_t>(bitmap.pitch) * h);
      bitmap.buffer = raster.data();
      if (FT_Outline_Get_Bitmap(reg.Library(), &outline, &bitmap) == 0) {
        const int extra = font.bold ? 1 : 0;
        g.width = static_cast<int>(w) + extra;
        g.height = static_cast<int>(h);
        g.originX = static_cast<int>(x0 >> 6);
        g.originY = static_cast<int>(y1 >> 6);
        cached.data.assign(static_cast<size_t>(g.width) * g.height, 0);
        std::vector<uint8_t> levels(static_cast<size_t>(w));
        for (int row = 0; row < g.height; ++row) {
          const uint8_t* src = raster.data() + static_cast<size_t>(row) * bitmap.pitch;
          for (int col = 0; col < w; ++col)
            // Coverage 0 … 255 becomes one of the 65 levels 0 … 64.
            levels[col] = mono ? (src[col >> 3] >> (7 - (col & 7)) & 1) : static_cast<uint8_t>((src[col] * 64 + 127) / 255);
          uint8_t* dst = cached.data.data() + static_cast<size_t>(row) * g.width;
          for (int col = 0; col < g.width; ++col) {
            uint8_t v = col < w ? levels[col] : 0;
            if (extra && col >= 1) v = std::max(v, levels[col - 1]);  // the overstrike
            dst[col] = v;
          }
        }
      }
    }
  }
  if (ownOutline) FT_Outline_Done(reg.Library(), &withBars);
}

}  // namespace

Font* OpenFont(const FontRequest& request) {
  Registry& reg = Reg();
  std::lock_guard<std::mutex> guard(reg.lock);
  const bool bold = request.weight >= 600;
  std::string key = MakeKey(request, bold);
  auto it = reg.fonts.find(key);
  if (it != reg.fonts.end()) {
    ++it->second->refs;
    it->second->lastUse = ++reg.clock;
    return it->second;
  }
  FT_Library library = reg.Library();
  if (!library) return nullptr;
  auto* font = new Font;
  font->key = key;
  if (!ResolveFontFace(request.face, font->where) ||
      FT_New_Face(library, font->where.file.c_str(), font->where.index, &font->face) != 0 ||
      !SetSize(*font, request.height)) {
    DestroyFont(font);
    return nullptr;
  }
  font->bold = bold;
  font->underline = request.underline;
  font->strikeOut = request.strikeOut;
  SetTransform(*font, request.italic, request.escapement);
  font->refs = 1;
  font->lastUse = ++reg.clock;
  reg.fonts[key] = font;
  TrimClosed(reg, kKeptFonts);
  return font;
}

void CloseFont(Font* font) {
  if (!font) return;
  Registry& reg = Reg();
  std::lock_guard<std::mutex> guard(reg.lock);
  if (font->refs > 0) --font->refs;
  TrimClosed(reg, kKeptFonts);
}

FontMetrics GetFontMetrics(const Font* font) { return font ? font->metrics : FontMetrics{}; }

const FontFace* GetFontFace(const Font* font) { return font ? &font->where : nullptr; }

bool GetGlyph(Font* font, uint32_t code, GlyphMode mode, Glyph& out) {
  out = Glyph{};
  if (!font || !font->face) return false;
  Registry& reg = Reg();
  std::lock_guard<std::mutex> guard(reg.lock);
  const uint32_t key = (code & 0xFFFF) << 1 | (mode == GlyphMode::kMono ? 1 : 0);
  auto it = font->glyphs.find(key);
  if (it == font->glyphs.end()) {
    if (font->glyphs.size() >= kGlyphsPerFont) font->glyphs.clear();
    it = font->glyphs.emplace(key, Font::Cached{}).first;
    Render(*font, code & 0xFFFF, mode, it->second);
    it->second.glyph.levels = it->second.data.empty() ? nullptr : it->second.data.data();
  }
  out = it->second.glyph;
  return it->second.ok;
}

uint32_t LocalCharToUnicode(uint32_t code) {
  static std::mutex lock;
  static std::vector<uint32_t> table;  // 0xFFFFFFFF: not converted yet
  static iconv_t cd = reinterpret_cast<iconv_t>(-1);
  code &= 0xFFFF;
  std::lock_guard<std::mutex> guard(lock);
  if (table.empty()) {
    table.assign(0x10000, 0xFFFFFFFFu);
    cd = iconv_open("UTF-32LE", BuildEncodingName());
  }
  uint32_t& slot = table[code];
  if (slot != 0xFFFFFFFFu) return slot;
  slot = 0;
  if (cd == reinterpret_cast<iconv_t>(-1)) return slot;
  char in[2];
  size_t inLeft = 0;
  if (code > 0xFF) {
    in[0] = static_cast<char>(code >> 8);
    in[1] = static_cast<char>(code & 0xFF);
    inLeft = 2;
  } else {
    in[0] = static_cast<char>(code);
    inLeft = 1;
  }
  char out[8];
  char* src = in;
  char* dst = out;
  size_t outLeft = sizeof out;
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  if (iconv(cd, &src, &inLeft, &dst, &outLeft) != static_cast<size_t>(-1) && inLeft == 0 && dst - out == 4) {
    slot = static_cast<uint8_t>(out[0]) | static_cast<uint8_t>(out[1]) << 8 | static_cast<uint8_t>(out[2]) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(out[3])) << 24;
  }
  return slot;
}

void FlushFontCache() {
  Registry& reg = Reg();
  std::lock_guard<std::mutex> guard(reg.lock);
  TrimClosed(reg, 0);
  for (auto& entry : reg.fonts) entry.second->glyphs.clear();
}

}  // namespace plat
