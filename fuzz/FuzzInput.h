// Ways the fuzz targets turn an input into what they feed the readers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace fuzzin {

// Takes values from the front of the input; past its end they read as zero.
struct Reader {
  const uint8_t* data;
  size_t size;
  template <typename T>
  T Take() {
    T v{};
    size_t n = size < sizeof v ? size : sizeof v;
    memcpy(&v, data, n);
    data += n;
    size -= n;
    return v;
  }
};

// A valid record damaged as the input says: its first four bytes give an
// offset, the next four a new length (up to `slack` bytes longer; with
// `zeroKeepsLength`, 0 keeps the record's own length so the damage is in the
// bytes alone), and the rest the bytes written from the offset on.
inline std::vector<uint8_t> Patched(const std::vector<uint8_t>& base, const uint8_t* data, size_t size,
                                    size_t slack, bool zeroKeepsLength) {
  std::vector<uint8_t> out = base;
  if (size < 8 || base.empty()) return out;
  uint32_t at, len;
  memcpy(&at, data, 4);
  memcpy(&len, data + 4, 4);
  at %= static_cast<uint32_t>(base.size());
  if (len != 0 || !zeroKeepsLength) out.resize(len % (base.size() + slack));
  for (size_t i = 8; i < size && at + i - 8 < out.size(); ++i) out[at + i - 8] = data[i];
  return out;
}

}  // namespace fuzzin
