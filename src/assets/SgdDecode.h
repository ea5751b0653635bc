// SGD, the picture files' own run-length coding: an alpha section, then a
// colour section OR-ed into the pixels the alpha section prepared.
#pragma once
#include <cstddef>
#include <cstdint>

// Decodes `size` bytes of SGD data into `count` pixels, which must be
// cleared (as a newly made picture is). Returns the bytes consumed (both
// sections), or 0 when a command would read past its section or write past
// the pixels. Pixels the alpha section leaves out stay clear.
size_t DecodeSgdPixels(const uint8_t* data, size_t size, uint32_t* pixels, size_t count);
