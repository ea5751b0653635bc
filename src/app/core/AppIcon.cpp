#include "app/core/AppIcon.h"

#include <algorithm>
#include <cstdlib>

namespace {

// Everything is laid out on a 1024-unit square and sampled 4 × 4 times per
// pixel; the coverage of each shape is the share of samples inside it.
constexpr int kUnits = 1024;
constexpr int kGrid = 4;

struct Colour {
  int r, g, b;
};

// The five-pointed star: outer and inner corners alternately, starting at
// the top, at 36° steps (sines and cosines × 1000).
constexpr int kStarCos[10] = {0, 588, 951, 951, 588, 0, -588, -951, -951, -588};
constexpr int kStarSin[10] = {-1000, -809, -309, 309, 809, 1000, 809, 309, -309, -809};
constexpr int kStarX = 512, kStarY = 400, kStarOuter = 210, kStarInner = 86;

bool InStar(int64_t x, int64_t y) {
  // Even-odd rule over the ten edges, in exact integers (corners × 1000).
  bool inside = false;
  x *= 1000;
  y *= 1000;
  for (int i = 0, j = 9; i < 10; j = i++) {
    int64_t ri = i % 2 ? kStarInner : kStarOuter, rj = j % 2 ? kStarInner : kStarOuter;
    int64_t xi = kStarX * 1000 + ri * kStarCos[i], yi = kStarY * 1000 + ri * kStarSin[i];
    int64_t xj = kStarX * 1000 + rj * kStarCos[j], yj = kStarY * 1000 + rj * kStarSin[j];
    if ((yi > y) != (yj > y)) {
      // x < xi + (y − yi)(xj − xi)/(yj − yi), without dividing.
      int64_t lhs = (x - xi) * (yj - yi), rhs = (y - yi) * (xj - xi);
      if (yj - yi > 0 ? lhs < rhs : lhs > rhs) inside = !inside;
    }
  }
  return inside;
}

// Inside a rectangle with corners rounded by `radius`.
bool InRoundedRect(int x, int y, int left, int top, int right, int bottom, int radius) {
  if (x < left || x >= right || y < top || y >= bottom) return false;
  int cx = std::clamp(x, left + radius, right - radius), cy = std::clamp(y, top + radius, bottom - radius);
  int64_t dx = x - cx, dy = y - cy;
  return dx * dx + dy * dy <= int64_t{radius} * radius;
}

// On the outline of an arch (a rectangle whose top is a half circle) of
// half-width `w` around x = 512, standing on y = `base`, `thick` wide.
bool OnArch(int x, int y, int w, int top, int base, int thick) {
  auto inside = [&](int hw, int t) {
    if (y > base || y < t) return false;
    int dx = x - 512;
    if (dx < -hw || dx > hw) return false;
    int springing = t + hw;  // where the round top meets the sides
    if (y >= springing) return true;
    int64_t dy = springing - y;
    return int64_t{dx} * dx + dy * dy <= int64_t{hw} * hw;
  };
  return inside(w, top) && !inside(w - thick, top + thick);
}

Colour Mix(Colour a, Colour b, int t, int range) {
  return Colour{a.r + (b.r - a.r) * t / range, a.g + (b.g - a.g) * t / range, a.b + (b.b - a.b) * t / range};
}

}  // namespace

std::vector<uint32_t> DrawAppIcon(int size) {
  size = std::clamp(size, 16, 1024);
  std::vector<uint32_t> out(static_cast<size_t>(size) * size);
  const Colour top{27, 31, 84}, bottom{74, 42, 120}, arch{196, 188, 255}, star{255, 214, 74}, glow{255, 244, 200};
  const int samples = kGrid * kGrid;
  for (int py = 0; py < size; ++py) {
    for (int px = 0; px < size; ++px) {
      // Per-pixel sums of colour × coverage (tile, arches, star) in samples.
      int64_t r = 0, g = 0, b = 0;
      int tile = 0;
      for (int sy = 0; sy < kGrid; ++sy) {
        for (int sx = 0; sx < kGrid; ++sx) {
          int x = ((px * kGrid + sx) * 2 + 1) * kUnits / (2 * kGrid * size);
          int y = ((py * kGrid + sy) * 2 + 1) * kUnits / (2 * kGrid * size);
          if (!InRoundedRect(x, y, 24, 24, kUnits - 24, kUnits - 24, 190)) continue;
          ++tile;
          Colour c = Mix(top, bottom, y, kUnits);
          // Arches fade as they recede towards the star.
          const int arches[3][3] = {{400, 240, 130}, {290, 330, 190}, {190, 400, 255}};
          for (int a = 0; a < 3; ++a)
            if (OnArch(x, y, arches[a][0], arches[a][1], 940, 26 - 6 * a)) c = Mix(c, arch, arches[a][2], 255);
          // The floor's joints converge on the star.
          if (y > 700 && y < 940) {
            int64_t span = (y - 400) * 2;  // the floor widens downwards
            for (int k = -2; k <= 2; ++k) {
              int64_t lineX = 512 * 1000 + k * span * 1000 / 5;
              if (std::abs(int64_t{x} * 1000 - lineX) < 6000) c = Mix(c, arch, 90, 255);
            }
          }
          int64_t dx = x - kStarX, dy = y - kStarY, d2 = dx * dx + dy * dy;
          if (d2 < 300 * 300) c = Mix(c, glow, static_cast<int>((300 * 300 - d2) * 70 / (300 * 300)), 255);
          if (InStar(x, y)) c = star;
          r += c.r;
          g += c.g;
          b += c.b;
        }
      }
      if (!tile) continue;
      uint32_t a = static_cast<uint32_t>(tile * 255 / samples);
      out[static_cast<size_t>(py) * size + px] = a << 24 | static_cast<uint32_t>(r / tile) << 16 |
                                                 static_cast<uint32_t>(g / tile) << 8 | static_cast<uint32_t>(b / tile);
    }
  }
  return out;
}
