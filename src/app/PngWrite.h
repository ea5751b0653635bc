// Writes a 32-bit picture (0xAARRGGBB words, rows top-down) as an 8-bit
// RGB or RGBA PNG file.
#pragma once
#include <cstdint>
#include <string>

bool WritePngFile(const std::string& path, const uint32_t* pixels, int width, int height, bool withAlpha);
