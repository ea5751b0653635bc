#include "app/PngWrite.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <vector>

bool WritePngFile(const std::string& path, const uint32_t* pixels, int width, int height, bool withAlpha) {
  if (!pixels || width <= 0 || height <= 0) return false;
  FILE* f = fopen(path.c_str(), "wb");
  if (!f) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!png || !info) {
    png_destroy_write_struct(&png, &info);
    fclose(f);
    return false;
  }
  const int channels = withAlpha ? 4 : 3;
  std::vector<png_byte> row(static_cast<size_t>(width) * channels);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    fclose(f);
    return false;
  }
  png_init_io(png, f);
  png_set_IHDR(png, info, width, height, 8, withAlpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < height; ++y) {
    const uint32_t* src = pixels + static_cast<size_t>(y) * width;
    png_byte* dst = row.data();
    for (int x = 0; x < width; ++x) {
      uint32_t p = src[x];
      *dst++ = static_cast<png_byte>(p >> 16);
      *dst++ = static_cast<png_byte>(p >> 8);
      *dst++ = static_cast<png_byte>(p);
      if (withAlpha) *dst++ = static_cast<png_byte>(p >> 24);
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return fclose(f) == 0;
}
