// A picture read from a picture file (".MGD"), with its sprite elements:
// sub-rectangles (button states, animation cells, glyph sheets) addressed
// by index. The pixels come stored raw, SGD run-length coded or as PNG.
#pragma once
#include <cstddef>
#include <cstdint>

#include "assets/DIBImage.h"
#include "assets/SprtVertex.h"

class CFileJoin;

// x, y, width, height, and an offset pair carried by 6-value files (0 in
// 4-value files).
struct SprtElement {
  int16_t x = 0, y = 0, w = 0, h = 0, ox = 0, oy = 0;
};
static_assert(sizeof(SprtElement) == 12);

// The encoding field of a picture file.
enum PictureEncoding : uint16_t { kPictureRaw = 0, kPictureSGD = 1, kPicturePNG = 2 };

// The picture file header: encoded data starts at this offset.
constexpr uint32_t kPictureHeaderSize = 96;

// The largest picture the engine reads: no side above 8192 pixels and no
// more than 64 Mi pixels (256 MB). A file declaring more is refused before
// anything is allocated for it.
constexpr int kMaxPictureSide = 8192;
constexpr int64_t kMaxPicturePixels = int64_t{64} << 20;
bool IsPictureSizeUsable(int width, int height);

class CDIBSprite : public CDIBImage {
 public:
  CDIBSprite() = default;
  ~CDIBSprite() override;

  void Release() override;
  // The image, with one element covering all of it.
  bool Create(int width, int height) override;

  // Reads and decodes one picture file from a file source. On failure the
  // trace names the step and false is returned.
  virtual bool Read(CFileJoin* source, const char* name);
  // Decodes a whole picture file held in memory (what Read does once the
  // file is loaded).
  bool ReadFromMemory(const uint8_t* file, size_t size);

  // Replaces the element table by `count` zeroed elements; false when
  // `values` (16-bit values per element in the file) is 3 or less.
  virtual bool InitSprtInfo(int count, int values);

  using CDIBImage::SetStretchVertex;
  using CDIBImage::SetVertex;
  // Element `element` placed unscaled at (x, y).
  virtual void SetVertex(SprtVertex& out, int element, int x, int y, uint32_t color);
  // Element `element` stretched to w × h at (x, y).
  virtual void SetStretchVertex(SprtVertex& out, int element, int x, int y, int w, int h, uint32_t color);

  const char* GetName() const { return mszName; }
  void SetName(const char* name);
  // The element, or null when `index` is out of range.
  const SprtElement* GetSprtInfo(int index) const;
  // The element as it can be drawn: cut to the picture; empty when the
  // picture has no such element or it lies wholly outside.
  SprtElement DrawableElement(int index) const;
  SprtElement* GetSprtInfoMutable(int index);
  int GetSprtCount() const { return mnSprtInfo; }
  int GetSprtWidth() const { return mnSprtWidth; }
  // The encoding of the file last read.
  uint16_t GetEncoding() const { return mEncoding; }

 protected:
  // Each decoder returns the file position after the data it consumed, or
  // 0 when the data cannot be decoded.
  size_t DecodeMain(const uint8_t* file, size_t size, uint16_t encoding, uint32_t dataSize);
  size_t DecodeNone(const uint8_t* file, size_t size, uint32_t dataSize);
  size_t DecodeSGD(const uint8_t* file, size_t size, uint32_t dataSize);
  size_t ExecDecodeSGD(const uint8_t* data, size_t size);
  size_t DecodePNG(const uint8_t* file, size_t size, uint32_t dataSize);
  size_t ExecDecodePNG(const uint8_t* data, size_t size);
  bool ReadElements(const uint8_t* file, size_t size, size_t at);

  char mszName[256] = {};
  SprtElement* mpSprtInfo = nullptr;
  uint16_t mnSprtInfo = 0;
  uint16_t mnSprtWidth = 0;
  uint16_t mEncoding = 0;
};
