#include "assets/SgdDecode.h"

#include <algorithm>

#include "app/core/Trace.h"
#include "assets/DIBSprite.h"

namespace {

uint32_t Le32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }

// The colour word (red, green, blue in bits 23..0) after one delta word.
inline uint32_t ApplyDelta(uint32_t prev, uint32_t d) {
  uint32_t b = prev & 0xFF, g = (prev >> 8) & 0xFF, r = (prev >> 16) & 0xFF;
  if (d & 0x8000) {
    r += (d >> 10) & 0x1F;
    g += (d >> 5) & 0x1F;
    b += d & 0x1F;
  } else {
    r += (d & 0x4000) ? 0u - ((d >> 10) & 0xF) : (d >> 10) & 0xF;
    g += (d & 0x0200) ? 0u - ((d >> 5) & 0xF) : (d >> 5) & 0xF;
    b += (d & 0x0010) ? 0u - (d & 0xF) : d & 0xF;
  }
  return (r & 0xFF) << 16 | (g & 0xFF) << 8 | (b & 0xFF);
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
        for (size_t i = 0; i < n; ++i, p += 3) out[i] |= Bgr(p);
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
  if (!DecodeAlpha(alpha, alpha + alphaLength, pixels, pixels + count, &written)) return 0;
  std::fill(written, pixels + count, 0u);

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
