// PNG files for the tools: writing pictures as PNG, and reading any PNG a
// game maker hands in.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// Writes 8-bit RGBA (colour type 6), or RGB (colour type 2) when `alpha`
// is false; false on failure. `level` is zlib's compression level (0 none
// … 9 smallest; -1 its default): 1 suits files made to be read once soon.
bool EncodePngPixels(const uint32_t* pixels, int width, int height, bool alpha, std::vector<uint8_t>* out,
                     int level = -1);

// Reads any PNG (palette, grey, 16-bit, interlaced) into 0xAARRGGBB pixels;
// pictures without alpha become opaque. False on a damaged file or one with
// more than `maxPixels` pixels.
bool LoadPngImage(const uint8_t* data, size_t size, std::vector<uint32_t>* pixels, int* width, int* height,
                  size_t maxPixels = size_t{1} << 28);
