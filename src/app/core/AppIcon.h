// The program's icon, drawn by code: the window gets it at start-up, and the
// build writes it as PNG files for the desktop (velto-icon). The same
// integer arithmetic gives the same pixels on every machine.
#pragma once
#include <cstdint>
#include <vector>

// The icon at `size` × `size` pixels (16 to 1024), 0xAARRGGBB words, rows
// top-down: a star above a receding corridor of arches on a rounded tile.
std::vector<uint32_t> DrawAppIcon(int size);
