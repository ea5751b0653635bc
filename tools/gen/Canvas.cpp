#include "gen/Canvas.h"

#include <cmath>

#include "app/core/Trace.h"

namespace gen {

namespace {

uint32_t ToByte(float v) {
  float s = v * 255.0f + 0.5f;
  return s <= 0 ? 0 : s >= 255 ? 255 : static_cast<uint32_t>(s);
}

}  // namespace

Rgba StraightFromArgb(uint32_t argb) {
  return Rgba{((argb >> 16) & 0xFF) / 255.0f, ((argb >> 8) & 0xFF) / 255.0f, (argb & 0xFF) / 255.0f,
              (argb >> 24) / 255.0f};
}

Rgba PremulFromArgb(uint32_t argb) {
  Rgba s = StraightFromArgb(argb);
  return Rgba{s.r * s.a, s.g * s.a, s.b * s.a, s.a};
}

bool CCanvas::Create(int width, int height) {
  Trace("CCanvas::Create");
  if (width <= 0 || height <= 0 || width > 8192 || height > 8192) return false;
  mWidth = width;
  mHeight = height;
  mPixels.assign(static_cast<size_t>(width) * height, Rgba{});
  return true;
}

void BlendPixel(Rgba& d, const Rgba& c, float k, BlendMode mode) {
  switch (mode) {
    case BlendMode::kOver: {
      float ia = 1.0f - c.a * k;
      d.r = c.r * k + d.r * ia;
      d.g = c.g * k + d.g * ia;
      d.b = c.b * k + d.b * ia;
      d.a = c.a * k + d.a * ia;
      break;
    }
    case BlendMode::kAdd: {
      d.r = std::fmin(d.r + c.r * k, 1.0f);
      d.g = std::fmin(d.g + c.g * k, 1.0f);
      d.b = std::fmin(d.b + c.b * k, 1.0f);
      d.a = std::fmin(d.a + c.a * k * (1.0f - d.a), 1.0f);
      // Light added where nothing was makes the pixel as opaque as its light.
      float m = std::fmax(d.r, std::fmax(d.g, d.b));
      if (d.a < m) d.a = m;
      break;
    }
    case BlendMode::kMultiply: {
      float sa = c.a * k;
      float sr = c.a > 0 ? c.r / c.a : 0, sg = c.a > 0 ? c.g / c.a : 0, sb = c.a > 0 ? c.b / c.a : 0;
      d.r = d.r * (1.0f - sa) + d.r * sr * sa;
      d.g = d.g * (1.0f - sa) + d.g * sg * sa;
      d.b = d.b * (1.0f - sa) + d.b * sb * sa;
      break;
    }
    case BlendMode::kErase: {
      float keep = 1.0f - c.a * k;
      d.r *= keep;
      d.g *= keep;
      d.b *= keep;
      d.a *= keep;
      break;
    }
    case BlendMode::kReplace: {
      float ik = 1.0f - k;
      d.r = c.r * k + d.r * ik;
      d.g = c.g * k + d.g * ik;
      d.b = c.b * k + d.b * ik;
      d.a = c.a * k + d.a * ik;
      break;
    }
  }
}

void CCanvas::Fill(const Rgba& c) {
  Trace("CCanvas::Fill");
  for (auto& p : mPixels) p = c;
}

std::vector<uint32_t> CCanvas::ToArgb() const {
  Trace("CCanvas::ToArgb");
  std::vector<uint32_t> out(mPixels.size());
  for (size_t i = 0; i < mPixels.size(); ++i) {
    const Rgba& p = mPixels[i];
    uint32_t a = ToByte(p.a);
    if (a == 0) {
      out[i] = 0;
      continue;
    }
    float inv = 1.0f / p.a;
    out[i] = a << 24 | ToByte(p.r * inv) << 16 | ToByte(p.g * inv) << 8 | ToByte(p.b * inv);
  }
  return out;
}

void CCanvas::FromArgb(const uint32_t* pixels, int width, int height) {
  Trace("CCanvas::FromArgb");
  if (!Create(width, height)) return;
  for (size_t i = 0; i < mPixels.size(); ++i) mPixels[i] = PremulFromArgb(pixels[i]);
}

}  // namespace gen
