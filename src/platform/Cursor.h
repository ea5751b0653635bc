// Mouse cursors: the sixteen system shapes and cursor files (.cur) read from
// memory.
#pragma once
#include <cstddef>
#include <cstdint>

namespace plat {

struct Cursor;  // opaque

// System shapes in table order: arrow, wait, arrow-and-hourglass, help,
// cross, hand, I-beam, icon, no, size, size-all, size NE-SW, size N-S,
// size NW-SE, size W-E, up arrow.
enum { kSystemCursorCount = 16 };
// The desktop identifiers of the system shapes (32512 arrow …), by table index.
int SystemCursorId(int index);
// A system cursor by its desktop identifier; null for an unknown one.
Cursor* LoadSystemCursor(int id);
// A cursor file image (.cur: the icon directory with a hot spot, holding a
// BMP-style image). Null when the data is not a cursor we can read.
Cursor* LoadCursorFromMemory(const uint8_t* data, size_t size);
void FreeCursor(Cursor* cursor);
// Shows the cursor over the window (null: the arrow).
void ShowCursorShape(Cursor* cursor);
Cursor* CurrentCursorShape();

// Decoded cursor picture, exposed for tests: size, hot spot, 0xAARRGGBB pixels.
struct CursorImage {
  int width = 0, height = 0, hotX = 0, hotY = 0;
  uint32_t* pixels = nullptr;  // owned by the cursor
};
bool GetCursorImage(const Cursor* cursor, CursorImage& out);

}  // namespace plat
