// Captions and labels in generated pictures are drawn with the engine's own
// text drawing, so that a button label looks exactly like the game's text.
// This is the one place the picture generator meets the text drawing.
#pragma once
#include <cstdint>
#include <string>

#include "gen/Canvas.h"

namespace gen {

struct CaptionStyle {
  std::string face;           // UTF-8; empty = the build's default face
  int size = 24;              // cell height in pixels
  int weight = 400;           // 700 = bold
  uint32_t color = 0xFFFFFFFF;
  bool shadow = false;
  uint32_t shadowColor = 0xFF000000;
  int shadowX = 2, shadowY = 2;
  int align = 0;              // 0 left, 1 centre, 2 right of x
};

// Draws UTF-8 `text` (converted to the build's encoding) with its pen's
// top-left at (x, y). False with a message when the text cannot be drawn.
bool DrawCaption(CCanvas& canvas, int x, int y, const CaptionStyle& style, const std::string& text,
                 std::string* error);

}  // namespace gen
