// The scrambling of stored files: 32-byte blocks, each XORed with the MD5
// hexadecimal text of the title phrase followed by the block number. The
// same call scrambles and unscrambles.
#pragma once
#include <cstddef>
#include <cstdint>

namespace snr {

inline constexpr size_t kScrambleBlock = 32;

// `phrase` is in the build's encoding (normally GameTitle()).
void ScrambleBlocks(uint8_t* data, size_t size, const char* phrase);

}  // namespace snr
