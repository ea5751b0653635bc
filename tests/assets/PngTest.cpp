#include "assets/PngDecode.h"

#include <gtest/gtest.h>
#include <png.h>

#include <vector>

#include "PictureTestUtil.h"
#include "assets/DIBSprite.h"
#include "assets/PngEncode.h"

namespace {

void Append(png_structp png, png_bytep data, size_t n) {
  auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + n);
}

// A PNG of any layout, rows of `bytesPerPixel` bytes all set to `fill`.
std::vector<uint8_t> RawPng(int w, int h, int depth, int type, int bytesPerPixel, uint8_t fill,
                            int interlace = PNG_INTERLACE_NONE) {
  std::vector<uint8_t> out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return {};
  }
  png_set_write_fn(png, &out, Append, nullptr);
  png_set_IHDR(png, info, w, h, depth, type, interlace, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (type == PNG_COLOR_TYPE_PALETTE) {
    png_color palette[2] = {{1, 2, 3}, {4, 5, 6}};
    png_set_PLTE(png, info, palette, 2);
  }
  png_write_info(png, info);
  std::vector<uint8_t> row(static_cast<size_t>(w) * bytesPerPixel, fill);
  int passes = interlace == PNG_INTERLACE_NONE ? 1 : png_set_interlace_handling(png);
  for (int p = 0; p < passes; ++p)
    for (int y = 0; y < h; ++y) png_write_row(png, row.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

size_t Decode(const std::vector<uint8_t>& data, std::vector<uint32_t>& px, int w, int h) {
  px.assign(static_cast<size_t>(w) * h, 0xDEADBEEF);
  return DecodePngPixels(data.data(), data.size(), px.data(), w, h);
}

TEST(Png, WithoutAlphaEveryPixelGetsAlphaZero) {
  std::vector<uint8_t> data = RawPng(3, 2, 8, PNG_COLOR_TYPE_RGB, 3, 0x7E);
  std::vector<uint32_t> px;
  EXPECT_EQ(Decode(data, px, 3, 2), data.size());
  for (uint32_t p : px) EXPECT_EQ(p, 0x007E7E7Eu);
}

TEST(Png, WithAlphaPixelsAreDeliveredBlueFirst) {
  std::vector<uint32_t> src = MixedPixels(9, 7);
  std::vector<uint8_t> data;
  ASSERT_TRUE(EncodePngPixels(src.data(), 9, 7, true, &data));
  std::vector<uint32_t> px;
  EXPECT_EQ(Decode(data, px, 9, 7), data.size());
  EXPECT_EQ(px, src);
  // A picture stored without alpha through the writer reads back with alpha 0.
  ASSERT_TRUE(EncodePngPixels(src.data(), 9, 7, false, &data));
  ASSERT_GT(Decode(data, px, 9, 7), 0u);
  for (size_t i = 0; i < px.size(); ++i) ASSERT_EQ(px[i], src[i] & 0xFFFFFF);
}

TEST(Png, InterlacedTrueColourIsRead) {
  std::vector<uint8_t> data = RawPng(10, 9, 8, PNG_COLOR_TYPE_RGB_ALPHA, 4, 0x40, PNG_INTERLACE_ADAM7);
  std::vector<uint32_t> px;
  EXPECT_EQ(Decode(data, px, 10, 9), data.size());
  EXPECT_EQ(px[89], 0x40404040u);
}

TEST(Png, OtherLayoutsAndSizesAreRefused) {
  std::vector<uint32_t> px;
  EXPECT_EQ(Decode(RawPng(4, 4, 8, PNG_COLOR_TYPE_PALETTE, 1, 1), px, 4, 4), 0u);
  EXPECT_EQ(Decode(RawPng(4, 4, 8, PNG_COLOR_TYPE_GRAY, 1, 1), px, 4, 4), 0u);
  EXPECT_EQ(Decode(RawPng(4, 4, 8, PNG_COLOR_TYPE_GRAY_ALPHA, 2, 1), px, 4, 4), 0u);
  EXPECT_EQ(Decode(RawPng(4, 4, 16, PNG_COLOR_TYPE_RGB_ALPHA, 8, 1), px, 4, 4), 0u);
  std::vector<uint8_t> good = RawPng(4, 4, 8, PNG_COLOR_TYPE_RGB_ALPHA, 4, 1);
  EXPECT_EQ(Decode(good, px, 4, 5), 0u);
  EXPECT_EQ(Decode(good, px, 5, 4), 0u);
  EXPECT_GT(Decode(good, px, 4, 4), 0u);
}

TEST(Png, DamagedStreamsFailWithoutReadingPastThem) {
  std::vector<uint32_t> src = MixedPixels(16, 16);
  std::vector<uint8_t> data;
  ASSERT_TRUE(EncodePngPixels(src.data(), 16, 16, true, &data));
  std::vector<uint32_t> px;
  for (size_t cut = 0; cut < data.size(); cut += 7) {
    std::vector<uint8_t> part(data.begin(), data.begin() + cut);
    EXPECT_EQ(Decode(part, px, 16, 16), 0u) << cut;
  }
  std::vector<uint8_t> flipped = data;
  flipped[data.size() / 2] ^= 0x55;
  EXPECT_EQ(Decode(flipped, px, 16, 16), 0u);
  flipped = data;
  flipped[0] = 'X';
  EXPECT_EQ(Decode(flipped, px, 16, 16), 0u);
}

TEST(Png, ElementBlockFollowsTheEndChunk) {
  std::vector<uint32_t> src = MixedPixels(6, 6);
  std::string file = PictureFile(src, 6, 6, kPicturePNG, {{1, 2, 3, 4, 0, 0}});
  // A data size larger than the stream: the element block still follows
  // the last byte the reader consumed.
  std::string padded = file;
  uint32_t dataSize = static_cast<uint32_t>(file.size() - 96 - 12 - 8);
  padded.append(16, '\0');
  for (int i = 0; i < 4; ++i) padded[92 + i] = static_cast<char>((dataSize + 16) >> (8 * i));
  CDIBSprite s;
  ASSERT_TRUE(s.ReadFromMemory(Bytes(padded), padded.size()));
  EXPECT_EQ(s.GetSprtInfo(0)->h, 4);
}

TEST(Png, LoaderTakesAnyLayoutAsOpaqueWhenAlphaIsMissing) {
  std::vector<uint32_t> px;
  int w = 0, h = 0;
  std::vector<uint8_t> grey = RawPng(3, 2, 8, PNG_COLOR_TYPE_GRAY, 1, 0x20);
  ASSERT_TRUE(LoadPngImage(grey.data(), grey.size(), &px, &w, &h));
  EXPECT_EQ(w, 3);
  EXPECT_EQ(px[5], 0xFF202020u);
  std::vector<uint8_t> pal = RawPng(2, 2, 8, PNG_COLOR_TYPE_PALETTE, 1, 1);
  ASSERT_TRUE(LoadPngImage(pal.data(), pal.size(), &px, &w, &h));
  EXPECT_EQ(px[0], 0xFF040506u);
  std::vector<uint8_t> deep = RawPng(2, 2, 16, PNG_COLOR_TYPE_RGB_ALPHA, 8, 0x80);
  ASSERT_TRUE(LoadPngImage(deep.data(), deep.size(), &px, &w, &h));
  EXPECT_EQ(px[3], 0x80808080u);
  EXPECT_FALSE(LoadPngImage(deep.data(), deep.size() / 2, &px, &w, &h));
  EXPECT_FALSE(LoadPngImage(deep.data(), deep.size(), &px, &w, &h, 3));
}

}  // namespace
