// PNG-coded picture data, decoded from memory with libpng.
#pragma once
#include <cstddef>
#include <cstdint>

// Decodes a PNG stream of exactly width × height, 8-bit true colour with
// or without alpha, into pixels (a stream without alpha gets alpha 0).
// Palette, grey and 16-bit streams are refused. Returns the bytes the
// reader consumed (through the end chunk), or 0 on any failure.
size_t DecodePngPixels(const uint8_t* data, size_t size, uint32_t* pixels, int width, int height);
