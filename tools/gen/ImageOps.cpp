#include "gen/ImageOps.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "app/core/Trace.h"
#include "platform/Random.h"

namespace gen {

void DrawImage(CCanvas& canvas, const Rgba* pixels, int width, int height, float sx, float sy, float sw, float sh,
               float x, float y, float w, float h, float opacity) {
  Trace("DrawImage");
  if (!(w > 0 && h > 0 && sw > 0 && sh > 0) || width <= 0 || height <= 0) return;
  // Whole numbers only from values clamped to the pictures.
  auto in = [](float v, int hi) { return static_cast<int>(std::fmin(std::fmax(v, -1.0f), static_cast<float>(hi) + 1)); };
  int x0 = std::max(0, in(std::floor(x), canvas.Width())), y0 = std::max(0, in(std::floor(y), canvas.Height()));
  int x1 = std::min(canvas.Width(), in(std::ceil(x + w), canvas.Width()));
  int y1 = std::min(canvas.Height(), in(std::ceil(y + h), canvas.Height()));
  int lx = std::max(0, in(sx, width)), ly = std::max(0, in(sy, height));
  int hx = std::min(width - 1, in(std::ceil(sx + sw), width) - 1);
  int hy = std::min(height - 1, in(std::ceil(sy + sh), height) - 1);
  if (hx < lx || hy < ly) return;
  auto at = [&](int px, int py) -> const Rgba& {
    px = std::clamp(px, lx, hx);
    py = std::clamp(py, ly, hy);
    return pixels[static_cast<size_t>(py) * width + px];
  };
  for (int py = y0; py < y1; ++py) {
    float v = sy + (static_cast<float>(py) + 0.5f - y) * sh / h - 0.5f;
    int iv = in(std::floor(v), height);
    float fv = v - static_cast<float>(iv);
    Rgba* row = canvas.Row(py);
    for (int px = x0; px < x1; ++px) {
      float u = sx + (static_cast<float>(px) + 0.5f - x) * sw / w - 0.5f;
      int iu = in(std::floor(u), width);
      float fu = u - static_cast<float>(iu);
      const Rgba &a = at(iu, iv), &b = at(iu + 1, iv), &c = at(iu, iv + 1), &d = at(iu + 1, iv + 1);
      auto mix = [&](float p, float q, float r, float s) {
        return (p * (1 - fu) + q * fu) * (1 - fv) + (r * (1 - fu) + s * fu) * fv;
      };
      Rgba s{mix(a.r, b.r, c.r, d.r), mix(a.g, b.g, c.g, d.g), mix(a.b, b.b, c.b, d.b), mix(a.a, b.a, c.a, d.a)};
      BlendPixel(row[px], s, opacity, BlendMode::kOver);
    }
  }
}

void AddNoise(CCanvas& canvas, int x, int y, int w, int h, float amount, uint32_t seed, bool mono) {
  Trace("AddNoise");
  plat::SRand(seed);
  int x0 = std::max(0, x), y0 = std::max(0, y);
  int x1 = std::min(canvas.Width(), x + w), y1 = std::min(canvas.Height(), y + h);
  auto draw = [amount]() { return (static_cast<float>(plat::Rand()) / plat::kRandMax * 2.0f - 1.0f) * amount; };
  for (int py = y0; py < y1; ++py) {
    Rgba* row = canvas.Row(py);
    for (int px = x0; px < x1; ++px) {
      Rgba& p = row[px];
      float n = draw();
      float nr = n, ng = mono ? n : draw(), nb = mono ? n : draw();
      p.r = std::clamp(p.r + nr * p.a, 0.0f, p.a);
      p.g = std::clamp(p.g + ng * p.a, 0.0f, p.a);
      p.b = std::clamp(p.b + nb * p.a, 0.0f, p.a);
    }
  }
}

void Grade(CCanvas& canvas, int x, int y, int w, int h, float gray, uint32_t tint) {
  Trace("Grade");
  Rgba t = StraightFromArgb(tint);
  int x0 = std::max(0, x), y0 = std::max(0, y);
  int x1 = std::min(canvas.Width(), x + w), y1 = std::min(canvas.Height(), y + h);
  for (int py = y0; py < y1; ++py) {
    Rgba* row = canvas.Row(py);
    for (int px = x0; px < x1; ++px) {
      Rgba& p = row[px];
      float l = p.r * 0.299f + p.g * 0.587f + p.b * 0.114f;
      p.r = (p.r + (l - p.r) * gray) * t.r;
      p.g = (p.g + (l - p.g) * gray) * t.g;
      p.b = (p.b + (l - p.b) * gray) * t.b;
    }
  }
}

void BoxBlur(CCanvas& canvas, int x, int y, int w, int h, int radius) {
  Trace("BoxBlur");
  int x0 = std::max(0, x), y0 = std::max(0, y);
  int x1 = std::min(canvas.Width(), x + w), y1 = std::min(canvas.Height(), y + h);
  if (radius <= 0 || x1 <= x0 || y1 <= y0) return;
  int bw = x1 - x0, bh = y1 - y0;
  std::vector<Rgba> line(static_cast<size_t>(std::max(bw, bh)));
  auto pass = [&](Rgba* first, int count, int stride) {
    for (int i = 0; i < count; ++i) line[static_cast<size_t>(i)] = first[static_cast<ptrdiff_t>(i) * stride];
    float n = static_cast<float>(2 * radius + 1);
    for (int i = 0; i < count; ++i) {
      Rgba s;
      for (int k = -radius; k <= radius; ++k) {
        const Rgba& q = line[static_cast<size_t>(std::clamp(i + k, 0, count - 1))];
        s.r += q.r;
        s.g += q.g;
        s.b += q.b;
        s.a += q.a;
      }
      first[static_cast<ptrdiff_t>(i) * stride] = Rgba{s.r / n, s.g / n, s.b / n, s.a / n};
    }
  };
  for (int round = 0; round < 3; ++round) {
    for (int py = y0; py < y1; ++py) pass(canvas.Row(py) + x0, bw, 1);
    for (int px = x0; px < x1; ++px) pass(canvas.Row(y0) + px, bh, canvas.Width());
  }
}

}  // namespace gen
