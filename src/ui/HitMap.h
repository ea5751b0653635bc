// Hit-map files: Windows bitmaps of 8 bits a pixel, 800 × 600, whose pixel
// values are region numbers. Rows are taken from file offset 1078 (the two
// headers and a 256-entry palette) whatever the header's offset field says.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace hitmap {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr size_t kMapSize = static_cast<size_t>(kWidth) * kHeight;
constexpr size_t kPixelOffset = 14 + 40 + 256 * 4;

// Decodes a file image into `map` (kMapSize bytes, rows top-down). False,
// with `map` untouched, when the file is not such a bitmap or is too short.
bool Decode(const uint8_t* data, size_t size, uint8_t* map);

// Encodes a top-down map as a bottom-up bitmap with a grey palette, so that
// a picture viewer shows region n as grey level n.
std::vector<uint8_t> Encode(const uint8_t* map);

}  // namespace hitmap
