#include "assets/SgdDecode.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "app/core/Trace.h"
#include "assets/DIBSprite.h"

namespace {

uint32_t Le32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }

// Per-byte addition and subtraction modulo 256 of the three colour bytes,
// without carries between them.
inline uint32_t AddBytes(uint32_t x, uint32_t y) { return ((x & 0x7F7F7F) + (y & 0x7F7F7F)) ^ ((x ^ y) & 0x808080); }
inline uint32_t SubBytes(uint32_t x, uint32_t y) {
  return (((x | 0x808080) - (y & 0x7F7F7F)) ^ ((x ^ ~y) & 0x808080)) & 0xFFFFFF;
}

// The colour word (red, green, blue in bits 23..0) after one delta word.
// Both forms are worked out and one is picked without a branch: the form
// changes from pixel to pixel in grainy pictures.
inline uint32_t ApplyDelta(uint32_t prev, uint32_t d) {
  uint32_t plus = (d & 0x7C00) << 6 | (d & 0x03E0) << 3 | (d & 0x1F);
  uint32_t magnitude = (d & 0x3C00) << 6 | (d & 0x01E0) << 3 | (d & 0x0F);
  // Sign bits 14, 9 and 4 spread over their channel bytes.
  uint32_t signs = (d & 0x4000) << 9 | (d & 0x0200) << 6 | (d & 0x0010) << 3;  // bit 7 of each byte
  uint32_t negative = (signs >> 7) * 0xFF;
  uint32_t signedForm = SubBytes(AddBytes(prev, magnitude & ~negative), magnitude & negative);
  uint32_t addForm = AddBytes(prev, plus);
  uint32_t pickAdd = 0u - (d >> 15);
  return (addForm & pickAdd) | (signedForm & ~pickAdd);
}

inline uint32_t Bgr(const uint8_t* p) { return p[0] | p[1] << 8 | static_cast<uint32_t>(p[2]) << 16; }

// Alpha commands: 16-bit word, bit 15 set = run of (w & 0x7FFF) + 1 pixels
// of the following byte, clear = w & 0x7FFF literal bytes.
bool DecodeAlpha(const uint8_t* p, const uint8_t* end, uint32_t* out, uint32_t* outEnd, uint32_t** written) {
  while (p < end) {
    if (end - p < 2) return false;
    uint32_t w = p[0] | p[1] << 8;
    p += 2;
    size_t n = w & 0x7FFF;
    if (w & 0x8000) {
      ++n;
      if (p == end || static_cast<size_t>(outEnd - out) < n) return false;
      std::fill(out, out + n, static_cast<uint32_t>(*p++) << 24);
    } else {
      if (static_cast<size_t>(end - p) < n || static_cast<size_t>(outEnd - out) < n) return false;
      for (size_t i = 0; i < n; ++i) out[i] = static_cast<uint32_t>(p[i]) << 24;
      p += n;
    }
    out += n;
  }
  *written = out;
  return true;
}

// Colour commands: one byte c; c & 0xC0 = 0x00 literal, 0x40 run, 0x80
// delta, 0xC0 not a command.
bool DecodeColour(const uint8_t* p, const uint8_t* end, uint32_t* begin, uint32_t* outEnd) {
  uint32_t* out = begin;
  while (p < end) {
    uint32_t c = *p++;
    size_t n = c & 0x3F;
    switch (c & 0xC0) {
      case 0x00:
        if (static_cast<size_t>(end - p) < n * 3 || static_cast<size_t>(outEnd - out) < n) return false;
        if (std::endian::native == std::endian::little && static_cast<size_t>(end - p) > n * 3) {
          // Room for a 4-byte load at the last pixel: whole words, masked.
          for (size_t i = 0; i < n; ++i, p += 3) {
            uint32_t v;
            memcpy(&v, p, 4);
            out[i] |= v & 0xFFFFFF;
          }
        } else {
          for (size_t i = 0; i < n; ++i, p += 3) out[i] |= Bgr(p);
        }
        out += n;
        break;
      case 0x40: {
        ++n;
        if (end - p < 3 || static_cast<size_t>(outEnd - out) < n) return false;
        uint32_t colour = Bgr(p);
        p += 3;
        for (size_t i = 0; i < n; ++i) out[i] |= colour;
        out += n;
        break;
      }
      case 0x80: {
        if (static_cast<size_t>(end - p) < n * 2 || static_cast<size_t>(outEnd - out) < n) return false;
        // The first pixel has nothing before it: its delta starts from black.
        uint32_t prev = out == begin ? 0 : out[-1] & 0xFFFFFF;
        for (size_t i = 0; i < n; ++i, p += 2) {
          prev = ApplyDelta(prev, p[0] | p[1] << 8);
          out[i] |= prev;
        }
        out += n;
        break;
      }
      default:
        Trace("ＲＧＢ展開に失敗");
        break;
    }
  }
  return true;
}

}  // namespace

size_t DecodeSgdPixels(const uint8_t* data, size_t size, uint32_t* pixels, size_t count) {
  if (!data || size < 4) return 0;
  size_t alphaLength = Le32(data);
  if (alphaLength > size - 4) return 0;
  const uint8_t* alpha = data + 4;
  uint32_t* written = pixels;
  // What the alpha commands leave out stays as it came: cleared, as a new
  // picture is. Clearing it again would touch every page of a huge one.
  if (!DecodeAlpha(alpha, alpha + alphaLength, pixels, pixels + count, &written)) return 0;

  size_t at = 4 + alphaLength;
  if (size - at < 4) return 0;
  size_t colourLength = Le32(data + at);
  if (colourLength > size - at - 4) return 0;
  const uint8_t* colour = data + at + 4;
  if (!DecodeColour(colour, colour + colourLength, pixels, pixels + count)) return 0;
  return at + 4 + colourLength;
}

size_t CDIBSprite::DecodeSGD(const uint8_t* file, size_t, uint32_t dataSize) {
  Trace("CDIBSprite::DecodeSGD");
  size_t used = ExecDecodeSGD(file + kPictureHeaderSize, dataSize);
  return used ? kPictureHeaderSize + used : 0;
}

size_t CDIBSprite::ExecDecodeSGD(const uint8_t* data, size_t size) {
  Trace("CDIBSprite::ExecDecodeSGD");
  return DecodeSgdPixels(data, size, GetPixels(), static_cast<size_t>(GetWidth()) * GetHeight());
}
