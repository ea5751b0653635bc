#include "assets/ArchiveName.h"

#include <array>
#include <cstring>

namespace {

// Punctuation in the platform's order; everything listed sorts before the
// digits, which sort before the letters.
constexpr char kPunctuation[] = " !\"#$%&()*,./:;?@[\\]^_`{|}~+<=>";

// The word-sort characters, compared only when nothing else differs.
bool IsPassedOver(unsigned char c) { return c == '-' || c == '\''; }

std::array<unsigned short, 256> MakeWeights() {
  std::array<unsigned short, 256> w{};
  unsigned short next = 1;
  for (int c = 1; c < 0x20; ++c) w[c] = next++;
  w[0x7F] = next++;
  w['\''] = next++;
  w['-'] = next++;
  for (const char* p = kPunctuation; *p; ++p) w[static_cast<unsigned char>(*p)] = next++;
  for (int c = '0'; c <= '9'; ++c) w[c] = next++;
  for (int c = 'A'; c <= 'Z'; ++c) {
    w[c] = next;
    w[c - 'A' + 'a'] = next++;
  }
  // Bytes of the build's double-byte encoding: after the letters, by value.
  for (int c = 0x80; c < 0x100; ++c) w[c] = next++;
  return w;
}

const std::array<unsigned short, 256> kWeights = MakeWeights();

size_t BoundedLength(const char* s, size_t length) {
  const void* nul = memchr(s, 0, length);
  return nul ? static_cast<size_t>(static_cast<const char*>(nul) - s) : length;
}

int Compare(const unsigned char* a, size_t an, const unsigned char* b, size_t bn, bool skipPassedOver) {
  size_t i = 0, j = 0;
  for (;;) {
    if (skipPassedOver) {
      while (i < an && IsPassedOver(a[i])) ++i;
      while (j < bn && IsPassedOver(b[j])) ++j;
    }
    if (i == an || j == bn) return (i == an ? 0 : 1) - (j == bn ? 0 : 1);
    int d = kWeights[a[i]] - kWeights[b[j]];
    if (d) return d;
    ++i;
    ++j;
  }
}

}  // namespace

int CompareArchiveName(const char* a, size_t aLength, const char* b, size_t bLength) {
  size_t an = BoundedLength(a, aLength), bn = BoundedLength(b, bLength);
  auto* ua = reinterpret_cast<const unsigned char*>(a);
  auto* ub = reinterpret_cast<const unsigned char*>(b);
  if (int d = Compare(ua, an, ub, bn, true)) return d;
  return Compare(ua, an, ub, bn, false);
}

int CompareArchiveName(const char* a, const char* b) {
  return CompareArchiveName(a, strlen(a), b, strlen(b));
}
