// Writing SGD data (velto-tool mgd encode, tests, benchmarks): alpha runs
// and literals, then colour runs, deltas where the change fits and literals
// otherwise. Decoding the result gives back exactly the input pixels.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

std::vector<uint8_t> EncodeSgdPixels(const uint32_t* pixels, size_t count);
