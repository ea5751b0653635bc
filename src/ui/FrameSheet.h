// Access to the frames (sprite elements) of a parts picture with the index
// checked: frame numbers come from setup files, so a bad one must draw
// nothing rather than read outside the element table.
#pragma once
#include <cstdint>

#include "assets/SprtVertex.h"

class CDIBSprite;

namespace frames {

struct Rect {
  int32_t x, y, width, height;
};

// False when there is no picture or no such frame.
bool Get(CDIBSprite* sprite, int32_t frame, Rect* out);
// The frame's quad placed at (x, y); false (and an empty quad) without one.
bool SetVertex(CDIBSprite* sprite, SprtVertex* out, int32_t frame, int32_t x, int32_t y, uint32_t color);

}  // namespace frames
