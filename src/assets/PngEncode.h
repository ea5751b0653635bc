// PNG files for the tools: writing pictures as PNG, and reading any PNG a
// game maker hands in.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// Writes 8-bit RGBA (colour type 6), or RGB (colour type 2) when `alpha`
// is false; false on failure.
bool EncodePngPixels(const uint32_t* pixels, int width, int height, bool alpha, std::vector<uint8_t>* out);

// Reads any PNG (palette, grey, 16-bit, interlaced) into 0xAARRGGBB pixels;
// pictures without alpha become opaque. False on a damaged file or one with
// more than `maxPixels` pixels.
bool LoadPngImage(const uint8_t* data, size_t size, std::vector<uint32_t>* pixels, int* width, int* height,
                  size_t maxPixels = size_t{1} << 28);
