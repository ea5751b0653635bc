#include "scenario/Scramble.h"

#include <string>

#include "scenario/MD5.h"

namespace snr {

void ScrambleBlocks(uint8_t* data, size_t size, const char* phrase) {
  std::string base = phrase ? phrase : "";
  CMD5 md5;
  for (size_t block = 0; block * kScrambleBlock < size; ++block) {
    std::string text = base + std::to_string(block);
    md5.setPlainText(text.c_str());
    const char* key = md5.getMD5Digest();
    size_t start = block * kScrambleBlock;
    size_t n = size - start < kScrambleBlock ? size - start : kScrambleBlock;
    for (size_t j = 0; j < n; ++j) data[start + j] ^= static_cast<uint8_t>(key[j]);
  }
}

}  // namespace snr
