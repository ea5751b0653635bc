#include "gen/Caption.h"

#include <algorithm>
#include <vector>

#include "app/core/Trace.h"
#include "assets/DIBImage.h"
#include "platform/Encoding.h"

namespace gen {

namespace {

// The engine's smooth text mixes its colour into the picture by the glyph's
// coverage and leaves the pixel opaque. Drawn in white on black, the red
// byte of each pixel is that coverage: the caption's alpha, exactly as the
// game would draw it.
struct Coverage {
  int width = 0, height = 0;
  std::vector<uint8_t> alpha;
  int inkLeft = 0, inkRight = -1;  // columns that hold ink
};

bool Measure(const std::string& local, const CaptionStyle& style, int pad, Coverage* out) {
  CDIBImage image;
  // Room for every character at a full cell, and the pad round it.
  int chars = static_cast<int>(local.size());
  out->width = std::min(8192, style.size * (chars + 1) + 2 * pad);
  out->height = std::min(4096, style.size * 2 + 2 * pad);
  if (!image.Create(out->width, out->height) || !image.GetPixels()) return false;
  image.FillFull(0xFF000000);
  std::string face = plat::FromUtf8(style.face);
  image.BeginDrawString(face.c_str(), style.size, style.weight, false, false, false, 0);
  image.DrawString(pad, pad, 0xFFFFFFFF, local.c_str());
  image.EndDrawString();
  out->alpha.resize(static_cast<size_t>(out->width) * out->height);
  const uint32_t* p = image.GetPixels();
  out->inkLeft = out->width;
  for (int y = 0; y < out->height; ++y)
    for (int x = 0; x < out->width; ++x) {
      uint8_t a = static_cast<uint8_t>((p[static_cast<size_t>(y) * out->width + x] >> 16) & 0xFF);
      out->alpha[static_cast<size_t>(y) * out->width + x] = a;
      if (a) {
        out->inkLeft = std::min(out->inkLeft, x);
        out->inkRight = std::max(out->inkRight, x);
      }
    }
  return true;
}

void Lay(CCanvas& canvas, const Coverage& c, int x0, int y0, uint32_t color) {
  Rgba premul = PremulFromArgb(color);
  for (int y = 0; y < c.height; ++y) {
    int cy = y0 + y;
    if (cy < 0 || cy >= canvas.Height()) continue;
    Rgba* row = canvas.Row(cy);
    for (int x = 0; x < c.width; ++x) {
      int cx = x0 + x;
      uint8_t a = c.alpha[static_cast<size_t>(y) * c.width + x];
      if (a && cx >= 0 && cx < canvas.Width()) BlendPixel(row[cx], premul, a / 255.0f, BlendMode::kOver);
    }
  }
}

}  // namespace

bool DrawCaption(CCanvas& canvas, int x, int y, const CaptionStyle& style, const std::string& text,
                 std::string* error) {
  Trace("DrawCaption");
  if (text.empty()) return true;
  if (style.size < 1 || style.size > 512) {
    if (error) *error = "text size=1..512";
    return false;
  }
  std::string local = plat::FromUtf8(text);
  const int pad = style.size / 2 + 4;
  Coverage c;
  if (!Measure(local, style, pad, &c)) {
    if (error) *error = "the text cannot be drawn";
    return false;
  }
  if (c.inkRight < c.inkLeft) return true;  // nothing visible (blanks, or no font)
  // Centred and right-aligned captions place their ink, not their cells.
  int inkWidth = c.inkRight - c.inkLeft + 1;
  int left = style.align == 1 ? x - inkWidth / 2 - c.inkLeft : style.align == 2 ? x - inkWidth - c.inkLeft : x - pad;
  int top = y - pad;
  if (style.shadow) Lay(canvas, c, left + style.shadowX, top + style.shadowY, style.shadowColor);
  Lay(canvas, c, left, top, style.color);
  return true;
}

}  // namespace gen
