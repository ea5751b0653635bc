#include "assets/PngEncode.h"
#include "assets/PngMemoryReader.h"

#include <png.h>

#include <csetjmp>
#include <cstdlib>
#include <cstring>

namespace {


void WriteToVector(png_structp png, png_bytep data, size_t count) {
  auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + count);
}
void Flush(png_structp) {}

void OnError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void OnWarning(png_structp, png_const_charp) {}

}  // namespace

// libpng reports errors by jumping back to setjmp: the vector is only
// appended to by the write callback, never constructed in between.
bool EncodePngPixels(const uint32_t* pixels, int width, int height, bool alpha, std::vector<uint8_t>* out,
                     int level) {
  if (!pixels || width <= 0 || height <= 0 || !out) return false;
  out->clear();
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, info ? &info : nullptr);
    return false;
  }
  png_set_write_fn(png, out, WriteToVector, Flush);
  if (level >= 0 && level <= 9) png_set_compression_level(png, level);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
               alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  png_set_bgr(png);
  if (!alpha) png_set_filler(png, 0, PNG_FILLER_AFTER);
  for (int y = 0; y < height; ++y)
    png_write_row(png, reinterpret_cast<png_const_bytep>(pixels + static_cast<size_t>(y) * width));
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

bool LoadPngImage(const uint8_t* data, size_t size, std::vector<uint32_t>* pixels, int* width, int* height,
                  size_t maxPixels) {
  if (!data || size < 8 || png_sig_cmp(data, 0, 8) != 0) return false;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  PngMemoryReader reader{data, size, 0};
  png_bytep* volatile rows = nullptr;
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    free(rows);
    return false;
  }
  png_set_read_fn(png, &reader, PngMemoryReader::Read);
  png_read_info(png, info);
  png_uint_32 w = png_get_image_width(png, info), h = png_get_image_height(png, info);
  if (w == 0 || h == 0 || w > 0xFFFF || h > 0xFFFF || static_cast<size_t>(w) * h > maxPixels)
    png_error(png, "picture too large");
  png_set_expand(png);
  png_set_strip_16(png);
  png_set_gray_to_rgb(png);
  png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
  png_set_bgr(png);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  if (png_get_rowbytes(png, info) != static_cast<size_t>(w) * 4) png_error(png, "unexpected row size");
  // Sized before the rows are pointed into it; nothing below reallocates.
  pixels->assign(static_cast<size_t>(w) * h, 0);
  rows = static_cast<png_bytep*>(malloc(sizeof(png_bytep) * h));
  if (!rows) png_error(png, "out of memory");
  for (png_uint_32 y = 0; y < h; ++y) rows[y] = reinterpret_cast<png_bytep>(pixels->data() + static_cast<size_t>(y) * w);
  png_read_image(png, rows);
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  free(rows);
  *width = static_cast<int>(w);
  *height = static_cast<int>(h);
  return true;
}
