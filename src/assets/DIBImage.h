// The one drawing surface of the system: a 32-bit picture (blue, green, red,
// alpha bytes; a pixel read as one word is 0xAARRGGBB), rows top-down, with a
// dirty region of the areas changed since they were last shown, and the
// software rasteriser that draws one image onto another as a quad.
//
// Blits and quad operations are called on the source image and name the
// destination. Source rectangles and source points must lie inside the
// source image (checked by assertions in debug builds; release builds clamp
// them rather than read outside the picture).
#pragma once
#include <cstdint>
#include <memory>

#include "app/core/Trace.h"
#include "assets/FontInfo.h"
#include "assets/Region.h"
#include "assets/SprtVertex.h"
#include "platform/Font.h"
#include "platform/Win.h"

class CDIBImage {
 public:
  // Rows of the rasteriser's edge table: a quad target has at most this many
  // rows drawn.
  static constexpr int kEdgeRows = 4096;

  CDIBImage() = default;
  virtual ~CDIBImage();
  CDIBImage(const CDIBImage&) = delete;
  CDIBImage& operator=(const CDIBImage&) = delete;

  virtual void Release();
  virtual bool Create(int width, int height);

  // Dirty region. Each does nothing until CreateRGN made the region.
  virtual void CreateRGN();
  virtual CRegion* GetRGN() {
    Trace("CDIBImage::GetRGN");
    return mpRgn;
  }
  // Subtracts / adds (0, 0, width − 1, height − 1), right and bottom
  // exclusive, so the last column and row are not part of it.
  virtual void ClearRGN();
  virtual void MergeRGN(const CRegion* pRgn);
  virtual void FullRGN();
  // The bounding box of the four destination points, one past the largest x
  // and y.
  virtual void AddRGN(const SprtVertex& vertex);
  // Right and bottom exclusive.
  virtual void AddRGN(int left, int top, int right, int bottom);
  // Copies the region's rectangles into a fresh block that GetRegionData
  // returns until the next update (null before the first).
  virtual void UpdateRegionData();
  virtual const RegionData* GetRegionData() {
    Trace("CDIBImage::GetRegionData");
    return mpRgnData.get();
  }

  // Text. BeginDrawString chooses the font (replacing one chosen before)
  // and EndDrawString lets it go; without a font the drawing does nothing.
  // Texts are in the build's encoding; glyphs outside the image are cut.
  virtual void BeginDrawString(const char* face, int height, int weight, bool italic, bool underline,
                               bool strikeOut, int escapement);
  void BeginDrawString(const FontInfo& font);
  virtual void EndDrawString();
  // Smooth glyphs in a solid colour with the pen's top-left at (x, y). The
  // last two values are accepted and not used.
  virtual void DrawString(int x, int y, uint32_t color, const char* text, uint32_t = 0, uint32_t = 0);
  // Hard-edged glyphs mixed by the colour's alpha; line breaks start new lines.
  virtual void DrawString2(int x, int y, uint32_t color, const char* text);
  // DrawString in the shadow colour at (x + dx, y + dy), then in the colour.
  virtual void DrawStringS(int x, int y, int dx, int dy, uint32_t color, uint32_t shadowColor, const char* text,
                           uint32_t a = 0, uint32_t b = 0);
  // Limits text drawing to a rectangle of the image (inclusive corners), as
  // a caption does to keep text inside one state's frame; reset: the whole
  // image.
  void SetTextClip(int left, int top, int right, int bottom);
  void ResetTextClip();
  // The box DrawString2 fills for a text (width and height, at least 1).
  void MeasureString2(const char* text, int& width, int& height);
  // The chosen font (null when none) and its description.
  plat::Font* GetFont() const { return mpFont.get(); }
  const FontInfo& GetFontInfo() const { return mFontInfo; }

  virtual void FillFull(uint32_t color);
  virtual void FillBox(uint32_t color, int x, int y, int w, int h);
  virtual void FillAlpha(uint8_t alpha);
  // Fills the quad of the destination points with the vertex colour.
  virtual void StretchFillBox(const SprtVertex& vertex);

  // Rectangle blits onto pDst; the destination is clipped to pDst and the
  // source start moved by the amount clipped.
  virtual void Copy(CDIBImage* pDst, int dx, int dy, int sx, int sy, int w, int h);
  virtual void Copy(CDIBImage* pDst, const SprtVertex& vertex);
  // Copies width × height × 4 bytes of pixels to pMemory.
  virtual void Copy(void* pMemory);
  virtual void StretchBltCopy(CDIBImage* pDst, const SprtVertex& vertex, bool filter);
  virtual void BltBlend(CDIBImage* pDst, int dx, int dy, int sx, int sy, int w, int h, uint32_t color);
  virtual void BltBlend(CDIBImage* pDst, const SprtVertex& vertex);
  virtual void StretchBltBlend(CDIBImage* pDst, const SprtVertex& vertex, bool filter);
  virtual void StretchBltBlendShadow(CDIBImage* pDst, const SprtVertex& vertex, bool filter);
  virtual void BltFast(CDIBImage* pDst, int dx, int dy, int sx, int sy, int w, int h, uint32_t color);
  virtual void BltFast(CDIBImage* pDst, const SprtVertex& vertex);
  virtual void StretchBltFast(CDIBImage* pDst, const SprtVertex& vertex, bool filter);
  virtual void StretchBltAddBlend(CDIBImage* pDst, const SprtVertex& vertex);
  // The additive rule for one pixel: src with colour onto *pDst.
  virtual void AddPixel(uint32_t* pDst, uint32_t src, uint32_t color);
  virtual void StretchBltXorBlend(CDIBImage* pDst, const SprtVertex& vertex);
  virtual void StretchBltOneBlend(CDIBImage* pDst, const SprtVertex& vertex);
  virtual void StretchBltGrayBlend(CDIBImage* pDst, const SprtVertex& vertex);

  // Whole-image filters.
  virtual void Mozaiku(int size, bool noise, bool center);
  virtual void Befog(int passes);

  // Quads for drawing this image: a w × h rectangle from (sx, sy) placed
  // unscaled at (x, y), or the whole image stretched to w × h at (x, y).
  virtual void SetVertex(SprtVertex& out, int x, int y, int sx, int sy, int w, int h, uint32_t color);
  virtual void SetStretchVertex(SprtVertex& out, int x, int y, int w, int h, uint32_t color);

  uint32_t* GetPixels() const { return mpPixels; }
  int GetWidth() const { return mWidth; }
  int GetHeight() const { return mHeight; }
  // Left, top, right, bottom, inclusive: always the image bounds.
  const plat::RECT& GetClip() const { return mClip; }

 protected:
  // The quad rules that walk spans of the edge table.
  enum class QuadRule { Copy, Blend, Shadow, Fast, Add, Xor, One, Gray };

  // Fills the edge table for pDst's rows from the quad; false when nothing
  // can be drawn (no table, empty target).
  bool ScanQuad(const CDIBImage* pDst, const SprtVertex& vertex, bool shade);
  // One edge from point a to point b, carrying source position and shade.
  void TScanEdge(const SprtPoint& a, const SprtTexel& ta, int ka, const SprtPoint& b, const SprtTexel& tb, int kb,
                 int clipTop, int clipBottom);
  // The fill's edge walk: x only.
  void TScanEdgeForFill(const SprtPoint& a, const SprtPoint& b, int clipTop, int clipBottom);
  void DrawQuad(CDIBImage* pDst, const SprtVertex& vertex, QuadRule rule, bool filter);
  bool EnsureEdgeTable();
  // Where text may be drawn: the text clip within the image, right and
  // bottom exclusive.
  plat::RECT TextBounds() const;

  uint32_t* mpPixels = nullptr;
  int mWidth = 0;
  int mHeight = 0;
  int mSize = 0;
  CRegion* mpRgn = nullptr;
  std::unique_ptr<RegionData> mpRgnData;
  // Made on the first quad drawn from (or filled into) this image: most
  // images never need it.
  std::unique_ptr<ScanEdgeRow[]> mpEdgeTable;
  plat::RECT mClip{0, 0, -1, -1};
  plat::FontPtr mpFont;
  FontInfo mFontInfo{};
  bool mbTextClip = false;
  plat::RECT mTextClip{};
};
