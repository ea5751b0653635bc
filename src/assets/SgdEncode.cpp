#include "assets/SgdEncode.h"

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32At(std::vector<uint8_t>& out, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<uint8_t>(v >> (8 * i));
}
void PutBgr(std::vector<uint8_t>& out, uint32_t c) {
  out.push_back(static_cast<uint8_t>(c));
  out.push_back(static_cast<uint8_t>(c >> 8));
  out.push_back(static_cast<uint8_t>(c >> 16));
}

uint8_t AlphaOf(uint32_t p) { return static_cast<uint8_t>(p >> 24); }
uint32_t ColourOf(uint32_t p) { return p & 0xFFFFFF; }

// Alpha runs cost 3 bytes; inside a literal a run pays off from 4 equal
// values, at a literal's start from 3.
void EncodeAlpha(const uint32_t* px, size_t count, std::vector<uint8_t>& out) {
  size_t i = 0;
  while (i < count) {
    size_t run = 1;
    while (i + run < count && run < 0x8000 && AlphaOf(px[i + run]) == AlphaOf(px[i])) ++run;
    if (run >= 3) {
      Put16(out, 0x8000 | static_cast<uint32_t>(run - 1));
      out.push_back(AlphaOf(px[i]));
      i += run;
      continue;
    }
    size_t start = i, n = 0;
    while (i < count && n < 0x7FFF) {
      size_t ahead = 1;
      while (i + ahead < count && ahead < 4 && AlphaOf(px[i + ahead]) == AlphaOf(px[i])) ++ahead;
      if (ahead >= 4) break;
      ++i;
      ++n;
    }
    Put16(out, static_cast<uint32_t>(n));
    for (size_t k = start; k < start + n; ++k) out.push_back(AlphaOf(px[k]));
  }
}

// The delta word that turns `prev` into `next`, or -1 when the change does
// not fit either form.
int DeltaWord(uint32_t prev, uint32_t next) {
  int d[3];  // red, green, blue, each -128 … 127 (modulo 256)
  for (int c = 0; c < 3; ++c) {
    int shift = 16 - 8 * c;
    d[c] = static_cast<int8_t>(static_cast<uint8_t>((next >> shift) - (prev >> shift)));
  }
  if (d[0] >= 0 && d[0] <= 31 && d[1] >= 0 && d[1] <= 31 && d[2] >= 0 && d[2] <= 31)
    return 0x8000 | d[0] << 10 | d[1] << 5 | d[2];
  if (d[0] < -15 || d[0] > 15 || d[1] < -15 || d[1] > 15 || d[2] < -15 || d[2] > 15) return -1;
  auto part = [](int v) { return v < 0 ? 0x10 | -v : v; };
  return part(d[0]) << 10 | part(d[1]) << 5 | part(d[2]);
}

size_t ColourRun(const uint32_t* px, size_t i, size_t count) {
  size_t run = 1;
  while (i + run < count && run < 64 && ColourOf(px[i + run]) == ColourOf(px[i])) ++run;
  return run;
}

void EncodeColour(const uint32_t* px, size_t count, std::vector<uint8_t>& out) {
  size_t i = 0;
  while (i < count) {
    size_t run = ColourRun(px, i, count);
    if (run >= 3) {
      out.push_back(static_cast<uint8_t>(0x40 | (run - 1)));
      PutBgr(out, ColourOf(px[i]));
      i += run;
      continue;
    }
    // The first pixel never takes a delta: it has no pixel before it.
    if (i > 0 && DeltaWord(ColourOf(px[i - 1]), ColourOf(px[i])) >= 0) {
      size_t at = out.size(), n = 0;
      out.push_back(0x80);
      while (i < count && n < 63 && ColourRun(px, i, count) < 3) {
        int d = DeltaWord(ColourOf(px[i - 1]), ColourOf(px[i]));
        if (d < 0) break;
        Put16(out, static_cast<uint32_t>(d));
        ++i;
        ++n;
      }
      out[at] = static_cast<uint8_t>(0x80 | n);
      continue;
    }
    size_t at = out.size(), n = 0;
    out.push_back(0x00);
    while (i < count && n < 63 && ColourRun(px, i, count) < 3 &&
           (i == 0 || n == 0 || DeltaWord(ColourOf(px[i - 1]), ColourOf(px[i])) < 0)) {
      PutBgr(out, ColourOf(px[i]));
      ++i;
      ++n;
    }
    out[at] = static_cast<uint8_t>(n);
  }
}

}  // namespace

std::vector<uint8_t> EncodeSgdPixels(const uint32_t* pixels, size_t count) {
  std::vector<uint8_t> out(4, 0);
  EncodeAlpha(pixels, count, out);
  Put32At(out, 0, static_cast<uint32_t>(out.size() - 4));
  size_t colourAt = out.size();
  out.resize(out.size() + 4);
  EncodeColour(pixels, count, out);
  Put32At(out, colourAt, static_cast<uint32_t>(out.size() - colourAt - 4));
  return out;
}
