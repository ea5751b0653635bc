// Whole-region operations of the picture generator: drawing another
// picture in (scaled with bilinear filtering), grain and blur.
#pragma once
#include <cstdint>

#include "gen/Canvas.h"

namespace gen {

// Draws the source rectangle (sx, sy, sw, sh) of premultiplied `pixels`
// into the rectangle (x, y, w, h) of the canvas, laid over what is there.
void DrawImage(CCanvas& canvas, const Rgba* pixels, int width, int height, float sx, float sy, float sw, float sh,
               float x, float y, float w, float h, float opacity);
// Adds grain of up to ± amount to the colour of every pixel of the box,
// the same for all three channels when `mono`. Draws from the engine's one
// random generator, seeded with `seed`.
void AddNoise(CCanvas& canvas, int x, int y, int w, int h, float amount, uint32_t seed, bool mono);
// Takes `gray` (0 … 1) of the colour out of every pixel of the box and
// multiplies what is left by `tint` (0xAARRGGBB; white keeps it).
void Grade(CCanvas& canvas, int x, int y, int w, int h, float gray, uint32_t tint);
// Three box blurs of `radius` over the box (close to a Gaussian).
void BoxBlur(CCanvas& canvas, int x, int y, int w, int h, int radius);

}  // namespace gen
