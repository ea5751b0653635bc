// The quick PNG path against libpng on streams whose chunks are whole (the
// checksums right), so that the input reaches the inflating and the
// unfiltering rather than stopping at a CRC: the input gives the size, the
// colour type and either the rows to compress or the compressed data
// itself. The two readers must agree; a disagreement aborts.
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "FuzzInput.h"
#include "assets/PngDecode.h"

namespace {

void Be32(std::vector<uint8_t>& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

void Chunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& body) {
  Be32(out, static_cast<uint32_t>(body.size()));
  const size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), body.begin(), body.end());
  Be32(out, static_cast<uint32_t>(crc32(0, out.data() + start, static_cast<uInt>(out.size() - start))));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzin::Reader in{data, size};
  const int width = 1 + in.Take<uint8_t>() % 48, height = 1 + in.Take<uint8_t>() % 48;
  const uint8_t flags = in.Take<uint8_t>();
  const uint8_t colourType = flags & 1 ? 6 : 2;
  const uint8_t interlace = (flags & 6) == 6 ? 1 : 0;
  // Several data chunks, or one.
  const size_t split = flags & 8 ? 1 + (flags >> 4) : 0;
  std::vector<uint8_t> payload(in.data, in.data + in.size);
  if (flags & 0x80) {
    uLongf bound = compressBound(static_cast<uLong>(payload.size()));
    std::vector<uint8_t> packed(bound);
    if (compress2(packed.data(), &bound, payload.data(), static_cast<uLong>(payload.size()), 6) != Z_OK) return 0;
    packed.resize(bound);
    payload.swap(packed);
  }

  std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  std::vector<uint8_t> header;
  Be32(header, static_cast<uint32_t>(width));
  Be32(header, static_cast<uint32_t>(height));
  header.insert(header.end(), {8, colourType, 0, 0, interlace});
  Chunk(png, "IHDR", header);
  if (split == 0) {
    Chunk(png, "IDAT", payload);
  } else {
    for (size_t at = 0; at < payload.size() || at == 0; at += split) {
      const size_t end = std::min(payload.size(), at + split);
      Chunk(png, "IDAT", std::vector<uint8_t>(payload.begin() + static_cast<long>(at), payload.begin() + static_cast<long>(end)));
      if (end == payload.size()) break;
    }
  }
  Chunk(png, "IEND", {});
  png.insert(png.end(), {7, 7, 7});

  const size_t n = static_cast<size_t>(width) * height;
  std::vector<uint32_t> quick(n, 0x5A5A5A5Au), reference(n, 0x5A5A5A5Au);
  const size_t a = DecodePngPixelsQuick(png.data(), png.size(), quick.data(), width, height);
  const size_t b = DecodePngPixelsLibpng(png.data(), png.size(), reference.data(), width, height);
  // What the quick path takes libpng takes the same; what it declines is
  // libpng's to decide.
  if (a && (a != b || quick != reference)) abort();
  return 0;
}
