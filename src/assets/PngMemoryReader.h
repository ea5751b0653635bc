// Feeds libpng from a block in memory; reading past its end is a libpng
// error (the decoder's longjmp), never a read out of bounds.
#pragma once
#include <png.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

struct PngMemoryReader {
  const uint8_t* data;
  size_t size;
  size_t pos;

  static void Read(png_structp png, png_bytep out, size_t count) {
    auto* r = static_cast<PngMemoryReader*>(png_get_io_ptr(png));
    if (count > r->size - r->pos) png_error(png, "read past the end of the data");
    memcpy(out, r->data + r->pos, count);
    r->pos += count;
  }
};
