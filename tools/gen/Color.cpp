#include "gen/Color.h"

#include <cmath>
#include <cstdio>

namespace gen {

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool ParseHex(const std::string& text, size_t from, uint32_t* out) {
  uint32_t v = 0;
  for (size_t i = from; i < text.size(); ++i) {
    int d = HexDigit(text[i]);
    if (d < 0) return false;
    v = v << 4 | static_cast<uint32_t>(d);
  }
  *out = v;
  return true;
}

}  // namespace

bool ParseColor(const std::string& text, uint32_t* argb) {
  uint32_t v = 0;
  if (text.size() == 10 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    if (!ParseHex(text, 2, &v)) return false;
    *argb = v;
    return true;
  }
  if (text.empty() || text[0] != '#' || !ParseHex(text, 1, &v)) return false;
  switch (text.size()) {
    case 4: {
      uint32_t r = (v >> 8) & 0xF, g = (v >> 4) & 0xF, b = v & 0xF;
      *argb = 0xFF000000u | (r * 0x11) << 16 | (g * 0x11) << 8 | b * 0x11;
      return true;
    }
    case 7:
      *argb = 0xFF000000u | v;
      return true;
    case 9:
      *argb = (v & 0xFF) << 24 | v >> 8;
      return true;
    default:
      return false;
  }
}

std::string FormatColor(uint32_t argb) {
  char buf[16];
  if ((argb >> 24) == 0xFF)
    snprintf(buf, sizeof buf, "#%06x", argb & 0xFFFFFF);
  else
    snprintf(buf, sizeof buf, "#%06x%02x", argb & 0xFFFFFF, argb >> 24);
  return buf;
}

uint32_t MixColor(uint32_t a, uint32_t b, double t) {
  t = t < 0 ? 0 : t > 1 ? 1 : t;
  uint32_t out = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    double ca = (a >> shift) & 0xFF, cb = (b >> shift) & 0xFF;
    out |= static_cast<uint32_t>(std::lround(ca + (cb - ca) * t)) << shift;
  }
  return out;
}

}  // namespace gen
