#include "platform/Cursor.h"

#include <SDL.h>

#include <cstring>
#include <vector>

#include "platform/Window.h"

namespace plat {

struct Cursor {
  SDL_Cursor* sdl = nullptr;
  int systemId = 0;  // 0 for a cursor made from a file
  int width = 0, height = 0, hotX = 0, hotY = 0;
  std::vector<uint32_t> pixels;
};

namespace {

struct SystemShape {
  int id;
  SDL_SystemCursor sdl;
};
// Desktop identifiers in table order and the SDL shape standing in for each.
const SystemShape kShapes[kSystemCursorCount] = {
    {32512, SDL_SYSTEM_CURSOR_ARROW},     {32514, SDL_SYSTEM_CURSOR_WAIT},     {32650, SDL_SYSTEM_CURSOR_WAITARROW},
    {32651, SDL_SYSTEM_CURSOR_ARROW},     {32515, SDL_SYSTEM_CURSOR_CROSSHAIR}, {32649, SDL_SYSTEM_CURSOR_HAND},
    {32513, SDL_SYSTEM_CURSOR_IBEAM},     {32641, SDL_SYSTEM_CURSOR_ARROW},    {32648, SDL_SYSTEM_CURSOR_NO},
    {32640, SDL_SYSTEM_CURSOR_SIZEALL},   {32646, SDL_SYSTEM_CURSOR_SIZEALL},  {32643, SDL_SYSTEM_CURSOR_SIZENESW},
    {32645, SDL_SYSTEM_CURSOR_SIZENS},    {32642, SDL_SYSTEM_CURSOR_SIZENWSE}, {32644, SDL_SYSTEM_CURSOR_SIZEWE},
    {32516, SDL_SYSTEM_CURSOR_ARROW},
};

Cursor* gShown = nullptr;

bool VideoUp() { return !IsHeadless() && SDL_WasInit(SDL_INIT_VIDEO); }

uint32_t U16(const uint8_t* p) { return p[0] | (p[1] << 8); }
uint32_t U32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24); }

// Decodes the device-independent bitmap of one cursor entry: the colour
// image and its 1-bit transparency mask, both stored bottom-up.
bool DecodeDib(const uint8_t* p, size_t size, Cursor& c) {
  if (size < 40) return false;
  uint32_t headerSize = U32(p);
  int32_t width = static_cast<int32_t>(U32(p + 4));
  int32_t height2 = static_cast<int32_t>(U32(p + 8));
  uint32_t bits = U16(p + 14);
  uint32_t compression = U32(p + 16);
  uint32_t used = U32(p + 32);
  if (headerSize < 40 || headerSize > size || compression != 0) return false;
  if (width <= 0 || width > 256 || height2 <= 0 || height2 > 512 || (height2 & 1)) return false;
  int height = height2 / 2;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return false;
  uint32_t colours = bits <= 8 ? (used ? used : (1u << bits)) : 0;
  if (colours > 256) return false;
  size_t paletteAt = headerSize;
  size_t xorAt = paletteAt + colours * 4ull;
  size_t xorStride = ((static_cast<size_t>(width) * bits + 31) / 32) * 4;
  size_t andStride = ((static_cast<size_t>(width) + 31) / 32) * 4;
  size_t andAt = xorAt + xorStride * height;
  if (andAt + andStride * height > size) return false;

  c.width = width;
  c.height = height;
  c.pixels.assign(static_cast<size_t>(width) * height, 0);
  bool anyAlpha = false;
  for (int y = 0; y < height; ++y) {
    const uint8_t* row = p + xorAt + xorStride * (height - 1 - y);
    for (int x = 0; x < width; ++x) {
      uint32_t argb = 0;
      if (bits == 32) {
        argb = U32(row + x * 4);
        if (argb >> 24) anyAlpha = true;
      } else if (bits == 24) {
        argb = row[x * 3] | (row[x * 3 + 1] << 8) | (row[x * 3 + 2] << 16);
      } else {
        uint32_t index;
        if (bits == 8) index = row[x];
        else if (bits == 4) index = (row[x / 2] >> ((x & 1) ? 0 : 4)) & 0xF;
        else index = (row[x / 8] >> (7 - (x & 7))) & 1;
        if (index >= colours) index = 0;
        argb = U32(p + paletteAt + index * 4) & 0xFFFFFF;
      }
      c.pixels[static_cast<size_t>(y) * width + x] = argb;
    }
  }
  if (!anyAlpha) {
    for (int y = 0; y < height; ++y) {
      const uint8_t* row = p + andAt + andStride * (height - 1 - y);
      for (int x = 0; x < width; ++x) {
        bool transparent = (row[x / 8] >> (7 - (x & 7))) & 1;
        if (!transparent) c.pixels[static_cast<size_t>(y) * width + x] |= 0xFF000000u;
      }
    }
  }
  return true;
}

}  // namespace

int SystemCursorId(int index) { return index >= 0 && index < kSystemCursorCount ? kShapes[index].id : 0; }

Cursor* LoadSystemCursor(int id) {
  for (const auto& s : kShapes) {
    if (s.id != id) continue;
    auto* c = new Cursor;
    c->systemId = id;
    if (VideoUp()) c->sdl = SDL_CreateSystemCursor(s.sdl);
    return c;
  }
  return nullptr;
}

Cursor* LoadCursorFromMemory(const uint8_t* data, size_t size) {
  if (!data || size < 6 + 16) return nullptr;
  if (U16(data) != 0 || U16(data + 2) != 2 || U16(data + 4) == 0) return nullptr;
  const uint8_t* entry = data + 6;
  uint32_t hotX = U16(entry + 4), hotY = U16(entry + 6);
  uint32_t bytes = U32(entry + 8), offset = U32(entry + 12);
  if (offset > size || bytes > size - offset) return nullptr;
  auto* c = new Cursor;
  if (!DecodeDib(data + offset, bytes, *c)) {
    delete c;
    return nullptr;
  }
  c->hotX = std::min<int>(static_cast<int>(hotX), c->width - 1);
  c->hotY = std::min<int>(static_cast<int>(hotY), c->height - 1);
  if (VideoUp()) {
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(c->pixels.data(), c->width, c->height, 32, c->width * 4,
                                                        SDL_PIXELFORMAT_ARGB8888);
    if (s) {
      c->sdl = SDL_CreateColorCursor(s, c->hotX, c->hotY);
      SDL_FreeSurface(s);
    }
  }
  return c;
}

void FreeCursor(Cursor* cursor) {
  if (!cursor) return;
  if (gShown == cursor) gShown = nullptr;
  if (cursor->sdl) SDL_FreeCursor(cursor->sdl);
  delete cursor;
}

void ShowCursorShape(Cursor* cursor) {
  gShown = cursor;
  if (!VideoUp()) return;
  if (cursor && cursor->sdl) SDL_SetCursor(cursor->sdl);
  else SDL_SetCursor(SDL_GetDefaultCursor());
}

Cursor* CurrentCursorShape() { return gShown; }

bool GetCursorImage(const Cursor* cursor, CursorImage& out) {
  if (!cursor || cursor->pixels.empty()) return false;
  out.width = cursor->width;
  out.height = cursor->height;
  out.hotX = cursor->hotX;
  out.hotY = cursor->hotY;
  out.pixels = const_cast<uint32_t*>(cursor->pixels.data());
  return true;
}

}  // namespace plat
