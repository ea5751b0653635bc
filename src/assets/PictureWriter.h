// Writing picture files (velto-tool mgd encode, tests, benchmarks).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "assets/DIBSprite.h"

// Builds a whole picture file from width × height pixels in the given
// encoding with the given elements; `elementWidth` is 4 or 6 values per
// element. False (and a message) when the picture cannot be stored.
bool BuildPictureFile(const uint32_t* pixels, int width, int height, uint16_t encoding,
                      const std::vector<SprtElement>& elements, int elementWidth, std::vector<uint8_t>* out,
                      std::string* error);
