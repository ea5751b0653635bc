// The quick PNG path against libpng: random pictures written with every
// filter, split into many data chunks or one, with and without alpha, then
// damaged byte by byte. The reader must give libpng's answer exactly: the
// same success, the same bytes consumed, the same pixels.
#include <gtest/gtest.h>
#include <png.h>

#include <random>
#include <vector>

#include "assets/PngDecode.h"

namespace {

void Append(png_structp png, png_bytep data, size_t size) {
  auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + size);
}
void NoFlush(png_structp) {}

struct Written {
  std::vector<uint8_t> bytes;
  int width, height;
};

// A picture with smooth runs and noise (so every filter pays off somewhere),
// written by libpng with the given filter set, chunk size and interlace.
Written Write(std::mt19937& rng, bool alpha, int filters, size_t chunk, bool interlace) {
  Written w;
  w.width = 1 + static_cast<int>(rng() % 70);
  w.height = 1 + static_cast<int>(rng() % 40);
  const int bpp = alpha ? 4 : 3;
  std::vector<uint8_t> pixels(static_cast<size_t>(w.width) * w.height * bpp);
  for (size_t i = 0; i < pixels.size(); ++i)
    pixels[i] = rng() % 3 == 0 ? static_cast<uint8_t>(rng()) : static_cast<uint8_t>(i / bpp % 7 * 30 + i % bpp);
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    ADD_FAILURE() << "libpng could not write";
    return w;
  }
  png_set_write_fn(png, &w.bytes, Append, NoFlush);
  png_set_compression_buffer_size(png, chunk);
  png_set_filter(png, 0, filters);
  png_set_IHDR(png, info, w.width, w.height, 8, alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB,
               interlace ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  std::vector<png_bytep> rows(static_cast<size_t>(w.height));
  for (int y = 0; y < w.height; ++y) rows[y] = pixels.data() + static_cast<size_t>(y) * w.width * bpp;
  png_write_image(png, rows.data());
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  // Bytes after the end chunk belong to whatever follows the picture.
  w.bytes.insert(w.bytes.end(), {1, 2, 3, 4, 5});
  return w;
}

// Both readers on `bytes`: the same answer.
void ExpectSame(const std::vector<uint8_t>& bytes, int width, int height, bool* quick) {
  const size_t n = static_cast<size_t>(width) * height;
  std::vector<uint32_t> ours(n, 0xDEADBEEF), theirs(n, 0xDEADBEEF);
  const size_t used = DecodePngPixels(bytes.data(), bytes.size(), ours.data(), width, height);
  const size_t expected = DecodePngPixelsLibpng(bytes.data(), bytes.size(), theirs.data(), width, height);
  ASSERT_EQ(used, expected);
  if (expected) {
    ASSERT_EQ(ours, theirs);
  }
  std::vector<uint32_t> scratch(n);
  *quick = DecodePngPixelsQuick(bytes.data(), bytes.size(), scratch.data(), width, height) != 0;
  if (*quick) {
    ASSERT_EQ(scratch, theirs);
  }
}

TEST(PngQuick, MatchesLibpngOnEveryFilterAndChunkingAndDamage) {
  std::mt19937 rng(18);
  const int filterSets[] = {PNG_FILTER_NONE, PNG_FILTER_SUB, PNG_FILTER_UP, PNG_FILTER_AVG, PNG_FILTER_PAETH,
                            PNG_ALL_FILTERS};
  int taken = 0, damagedTaken = 0;
  for (int round = 0; round < 240; ++round) {
    SCOPED_TRACE(round);
    const bool alpha = round % 2, interlace = round % 11 == 5;
    Written w = Write(rng, alpha, filterSets[round % 6], round % 3 == 0 ? 64 : 8192, interlace);
    ASSERT_FALSE(w.bytes.empty());
    bool quick = false;
    ExpectSame(w.bytes, w.width, w.height, &quick);
    // Plain streams go the quick way; interlaced ones are libpng's.
    EXPECT_EQ(quick, !interlace);
    taken += quick;
    // Another size than the stream's is refused by both.
    ExpectSame(w.bytes, w.width + 1, w.height, &quick);
    EXPECT_FALSE(quick);
    // Damage anywhere: a flipped byte, or the stream cut short.
    for (int d = 0; d < 12; ++d) {
      std::vector<uint8_t> bad = w.bytes;
      if (d % 4 == 3) {
        bad.resize(rng() % bad.size());
      } else {
        bad[rng() % bad.size()] ^= static_cast<uint8_t>(1 + rng() % 255);
      }
      ExpectSame(bad, w.width, w.height, &quick);
      damagedTaken += quick;
    }
  }
  EXPECT_GT(taken, 200);
  // Damage that leaves a stream whole (in the trailing bytes) is still
  // read the quick way; damage inside never is (the checks catch it).
  EXPECT_GT(damagedTaken, 0);
}

}  // namespace
