// PNG-coded picture data, decoded from memory.
#pragma once
#include <cstddef>
#include <cstdint>

// Decodes a PNG stream of exactly width × height, 8-bit true colour with
// or without alpha, into pixels (a stream without alpha gets alpha 0).
// Palette, grey and 16-bit streams are refused. Returns the bytes the
// reader consumed (through the end chunk), or 0 on any failure.
size_t DecodePngPixels(const uint8_t* data, size_t size, uint32_t* pixels, int width, int height);

// The same with libpng alone: the reference the quick path must match, and
// what decides every stream the quick path leaves to it.
size_t DecodePngPixelsLibpng(const uint8_t* data, size_t size, uint32_t* pixels, int width, int height);

// The quick path alone: plain streams (only the header, data and end
// chunks, not interlaced) whose every check passes; 0 for anything else,
// which the caller then hands to libpng. `pixels` may be partly written
// when it gives up.
size_t DecodePngPixelsQuick(const uint8_t* data, size_t size, uint32_t* pixels, int width, int height);
