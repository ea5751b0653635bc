// The one drawing surface of the system: a 32-bit picture (blue, green, red,
// alpha bytes; a pixel read as one word is 0xAARRGGBB), rows top-down, with a
// dirty region of the areas changed since they were last shown.
#pragma once
#include <cstdint>

#include "assets/Region.h"

class CDIBImage {
 public:
  CDIBImage() = default;
  virtual ~CDIBImage();
  CDIBImage(const CDIBImage&) = delete;
  CDIBImage& operator=(const CDIBImage&) = delete;

  virtual void Release();
  virtual bool Create(int width, int height);
  virtual void CreateRGN();
  virtual CRegion* GetRGN() { return mpRgn; }
  virtual void ClearRGN();
  virtual void FullRGN();
  // Adds a rectangle; right and bottom exclusive.
  virtual void AddRGN(int left, int top, int right, int bottom);
  virtual void FillFull(uint32_t color);

  uint32_t* GetPixels() const { return mpPixels; }
  int GetWidth() const { return mWidth; }
  int GetHeight() const { return mHeight; }

 protected:
  uint32_t* mpPixels = nullptr;
  int mWidth = 0;
  int mHeight = 0;
  int mSize = 0;
  CRegion* mpRgn = nullptr;
};
