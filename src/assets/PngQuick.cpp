// The quick path of the PNG reader: the plain streams our own picture
// writer makes (a header, data chunks one after another, the end chunk;
// 8-bit true colour, not interlaced), inflated in one call by libdeflate
// and unfiltered here. libpng's streaming inflate was most of the cost of
// reading a large picture. Every check libpng makes on such a stream is
// made here too (chunk CRCs, the zlib checksum, exact data length, filter
// types); the first one that fails hands the stream back to libpng, which
// then gives the authoritative answer.
#include <libdeflate.h>

#include <bit>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "assets/PngDecode.h"
#include "assets/PngUnfilter.h"

namespace {

uint32_t Be32(const uint8_t* p) { return static_cast<uint32_t>(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3]; }

constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

struct Chunk {
  uint32_t length = 0;
  const uint8_t* type = nullptr;
  const uint8_t* body = nullptr;
};

// The chunk at `at`, its CRC checked; false when it does not fit or the
// CRC is wrong.
bool ReadChunk(const uint8_t* data, size_t size, size_t at, Chunk* chunk) {
  if (at > size || size - at < 12) return false;
  const uint32_t length = Be32(data + at);
  if (length > 0x7FFFFFFFu || size - at - 12 < length) return false;
  chunk->length = length;
  chunk->type = data + at + 4;
  chunk->body = data + at + 8;
  return libdeflate_crc32(0, chunk->type, length + 4) == Be32(chunk->body + length);
}

bool Is(const Chunk& c, const char* type) { return memcmp(c.type, type, 4) == 0; }

struct FreeDeleter {
  void operator()(void* p) const { free(p); }
};
struct DecompressorDeleter {
  void operator()(libdeflate_decompressor* d) const { libdeflate_free_decompressor(d); }
};

// The inflated rows of one picture. The block is kept for the next picture
// (fresh memory costs a page fault for every 4 KiB touched) unless it is
// larger than any picture a scene usually holds.
class Scratch {
 public:
  static constexpr size_t kKeptBytes = size_t{8} << 20;
  ~Scratch() { free(mpBlock); }
  uint8_t* Get(size_t bytes) {
    if (bytes > mCapacity) {
      free(mpBlock);
      mpBlock = static_cast<uint8_t*>(malloc(bytes));
      mCapacity = mpBlock ? bytes : 0;
    }
    return mpBlock;
  }
  void Done() {
    if (mCapacity <= kKeptBytes) return;
    free(mpBlock);
    mpBlock = nullptr;
    mCapacity = 0;
  }

 private:
  uint8_t* mpBlock = nullptr;
  size_t mCapacity = 0;
};

struct Scope {
  Scratch& scratch;
  ~Scope() { scratch.Done(); }
};

}  // namespace

size_t DecodePngPixelsQuick(const uint8_t* data, size_t size, uint32_t* pixels, int width, int height) {
  if (!data || !pixels || width <= 0 || height <= 0 || size < 8 || memcmp(data, kSignature, 8) != 0) return 0;
  Chunk c;
  size_t at = 8;
  if (!ReadChunk(data, size, at, &c) || !Is(c, "IHDR") || c.length != 13) return 0;
  const uint8_t* h = c.body;
  // 8 bits; true colour (2) or with alpha (6); deflate, filter set 0, not
  // interlaced.
  if (Be32(h) != static_cast<uint32_t>(width) || Be32(h + 4) != static_cast<uint32_t>(height) || h[8] != 8 ||
      (h[9] != 2 && h[9] != 6) || h[10] != 0 || h[11] != 0 || h[12] != 0)
    return 0;
  const size_t bpp = h[9] == 6 ? 4 : 3;
  at += 12 + c.length;

  // The data chunks, one run of them, gathered; then the end chunk.
  size_t first = at, compressed = 0, chunks = 0;
  while (ReadChunk(data, size, at, &c) && Is(c, "IDAT")) {
    compressed += c.length;
    ++chunks;
    at += 12 + c.length;
  }
  if (!chunks || at > size || !ReadChunk(data, size, at, &c) || !Is(c, "IEND") || c.length != 0) return 0;
  const size_t consumed = at + 12;
  std::unique_ptr<uint8_t, FreeDeleter> joined;
  const uint8_t* stream = data + first + 8;
  if (chunks > 1) {
    joined.reset(static_cast<uint8_t*>(malloc(compressed ? compressed : 1)));
    if (!joined) return 0;
    size_t put = 0;
    for (size_t p = first; put < compressed;) {
      const uint32_t length = Be32(data + p);
      memcpy(joined.get() + put, data + p + 8, length);
      put += length;
      p += 12 + length;
    }
    stream = joined.get();
  }

  // Every row is its filter byte and its pixels; exactly that much.
  const size_t rowBytes = static_cast<size_t>(width) * bpp, stride = rowBytes + 1;
  const size_t expected = stride * static_cast<size_t>(height);
  // Pictures are read on whichever thread asks (tools, tests): one block
  // and one inflater per thread.
  thread_local Scratch scratch;
  thread_local std::unique_ptr<libdeflate_decompressor, DecompressorDeleter> inflater(libdeflate_alloc_decompressor());
  Scope done{scratch};
  uint8_t* raw = scratch.Get(expected + rowBytes);
  if (!raw || !inflater) return 0;
  size_t usedIn = 0, madeOut = 0;
  if (libdeflate_zlib_decompress_ex(inflater.get(), stream, compressed, raw, expected, &usedIn, &madeOut) !=
          LIBDEFLATE_SUCCESS ||
      usedIn != compressed || madeOut != expected)
    return 0;

  // The row above the first is zeros, kept after the data.
  uint8_t* zeros = raw + expected;
  memset(zeros, 0, rowBytes);
  const uint8_t* prior = zeros;
  for (int y = 0; y < height; ++y) {
    uint8_t* row = raw + static_cast<size_t>(y) * stride;
    if (!png::UnfilterRow(row[0], row + 1, prior, rowBytes, bpp)) return 0;
    uint32_t* out = pixels + static_cast<size_t>(y) * width;
    const uint8_t* s = row + 1;
    if (bpp == 4 && std::endian::native == std::endian::little) {
      // R, G, B, A in memory to B, G, R, A: red and blue trade places.
      for (int x = 0; x < width; ++x, s += 4) {
        uint32_t v;
        memcpy(&v, s, 4);
        out[x] = (v & 0xFF00FF00u) | (v & 0xFFu) << 16 | ((v >> 16) & 0xFFu);
      }
    } else if (bpp == 4) {
      for (int x = 0; x < width; ++x, s += 4)
        out[x] = static_cast<uint32_t>(s[3]) << 24 | static_cast<uint32_t>(s[0]) << 16 | s[1] << 8 | s[2];
    } else {
      for (int x = 0; x < width; ++x, s += 3) out[x] = static_cast<uint32_t>(s[0]) << 16 | s[1] << 8 | s[2];
    }
    prior = row + 1;
  }
  return consumed;
}
