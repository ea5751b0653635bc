#include "assets/PngDecode.h"
#include "assets/PngMemoryReader.h"

#include <png.h>

#include <csetjmp>
#include <cstdlib>
#include <cstring>

#include "app/core/Trace.h"
#include "assets/DIBSprite.h"

namespace {


void OnError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void OnWarning(png_structp, png_const_charp) {}

}  // namespace

// No C++ object with a destructor lives in this function: libpng reports
// errors by jumping back to the setjmp below.
size_t DecodePngPixelsLibpng(const uint8_t* data, size_t size, uint32_t* pixels, int width, int height) {
  if (!data || size < 8 || png_sig_cmp(data, 0, 8) != 0 || width <= 0 || height <= 0 || !pixels) return 0;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
  if (!png) return 0;
  png_infop info = png_create_info_struct(png);
  png_bytep* rows = static_cast<png_bytep*>(malloc(sizeof(png_bytep) * static_cast<size_t>(height)));
  PngMemoryReader reader{data, size, 0};
  if (!info || !rows || setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    free(rows);
    return 0;
  }
  png_set_read_fn(png, &reader, PngMemoryReader::Read);
  png_read_info(png, info);
  png_uint_32 w, h;
  int depth, type, interlace;
  png_get_IHDR(png, info, &w, &h, &depth, &type, &interlace, nullptr, nullptr);
  if (depth != 8 || (type != PNG_COLOR_TYPE_RGB && type != PNG_COLOR_TYPE_RGB_ALPHA) ||
      w != static_cast<png_uint_32>(width) || h != static_cast<png_uint_32>(height))
    png_error(png, "not a picture this engine stores");
  png_set_bgr(png);
  if (type == PNG_COLOR_TYPE_RGB) png_set_filler(png, 0, PNG_FILLER_AFTER);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  if (png_get_rowbytes(png, info) != static_cast<size_t>(width) * 4) png_error(png, "unexpected row size");
  for (int y = 0; y < height; ++y) rows[y] = reinterpret_cast<png_bytep>(pixels + static_cast<size_t>(y) * width);
  png_read_image(png, rows);
  png_read_end(png, nullptr);
  size_t consumed = reader.pos;
  png_destroy_read_struct(&png, &info, nullptr);
  free(rows);
  return consumed;
}

size_t CDIBSprite::DecodePNG(const uint8_t* file, size_t, uint32_t dataSize) {
  Trace("CDIBSprite::DecodePNG");
  size_t used = ExecDecodePNG(file + kPictureHeaderSize, dataSize);
  return used ? kPictureHeaderSize + used : 0;
}

size_t CDIBSprite::ExecDecodePNG(const uint8_t* data, size_t size) {
  Trace("CDIBSprite::ExecDecodePNG");
  return DecodePngPixels(data, size, GetPixels(), GetWidth(), GetHeight());
}

size_t DecodePngPixels(const uint8_t* data, size_t size, uint32_t* pixels, int width, int height) {
  // Most stored pictures are plain streams the quick path takes whole;
  // whatever it declines libpng decides, so both give one answer.
  if (size_t used = DecodePngPixelsQuick(data, size, pixels, width, height)) return used;
  return DecodePngPixelsLibpng(data, size, pixels, width, height);
}
