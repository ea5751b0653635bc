// Small helpers for image tests: filled images and pixel access.
#pragma once
#include <cstdint>
#include <random>

#include "assets/DIBImage.h"

inline uint32_t& Px(CDIBImage& img, int x, int y) { return img.GetPixels()[y * img.GetWidth() + x]; }

// An image whose every pixel is different: (x, y) → 0xAA yy xx with alpha aa.
inline void MakePattern(CDIBImage& img, int w, int h, uint32_t alpha = 0xFF) {
  img.Create(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) Px(img, x, y) = (alpha << 24) | ((y & 0xFF) << 16) | ((x & 0xFF) << 8) | 0x5A;
}

inline void MakeRandom(CDIBImage& img, int w, int h, std::mt19937& rng) {
  img.Create(w, h);
  for (int i = 0; i < w * h; ++i) {
    uint32_t p = rng();
    if (i % 7 == 0) p &= 0x00FFFFFFu;
    if (i % 5 == 0) p |= 0xFF000000u;
    img.GetPixels()[i] = p;
  }
}
