#include "text/MesCellPainter.h"

#include <algorithm>
#include <cstring>

#include "app/core/Trace.h"

CMesCellPainter::CMesCellPainter() { Trace("CMesCellPainter::CMesCellPainter"); }

CMesCellPainter::~CMesCellPainter() { Trace("CMesCellPainter::~CMesCellPainter"); }

void CMesCellPainter::Paint(CDIBImage* image, const uint32_t* back, int stride, int backW, int backH, int originX,
                            int originY, const MesChar& ch, const char* face, int cell[3]) {
  Trace("CMesCellPainter::Paint");
  const int size = std::clamp(ch.nSize, 1, 400) + 2;
  const int cx = ch.x - originX, cy = ch.y - originY;
  cell[0] = cx;
  cell[1] = cy;
  cell[2] = size;
  if (!image || !image->GetPixels()) return;
  if (mScratch.GetWidth() != size) mScratch.Create(size, size);
  if (!mScratch.GetPixels()) return;
  // The window's background under the cell.
  mBack.assign(static_cast<size_t>(size) * size, 0);
  for (int row = 0; row < size; ++row) {
    const int y = ch.y + row;
    if (!back || y < 0 || y >= backH) continue;
    for (int col = 0; col < size; ++col) {
      const int x = ch.x + col;
      if (x >= 0 && x < backW) mBack[static_cast<size_t>(row) * size + col] = back[static_cast<size_t>(y) * stride + x];
    }
  }
  memcpy(mScratch.GetPixels(), mBack.data(), mBack.size() * 4);
  // The font stays chosen while the characters keep to one face and size.
  const int weight = ch.bBold ? 700 : 400;
  const FontInfo& info = mScratch.GetFontInfo();
  if (!mScratch.GetFont() || info.nHeight != ch.nSize || info.nWeight != weight ||
      strncmp(info.szFaceName, face ? face : "", sizeof info.szFaceName) != 0)
    mScratch.BeginDrawString(face, ch.nSize, weight, false, false, false, 0);
  char text[4];
  memcpy(text, ch.szChar, sizeof text);
  text[3] = 0;
  if (ch.bShadow)
    mScratch.DrawStringS(0, 0, 2, 2, ch.dwColor, ch.dwShadowColor, text);
  else
    mScratch.DrawString(0, 0, ch.dwColor, text);
  const uint32_t* drawn = mScratch.GetPixels();
  uint32_t* dst = image->GetPixels();
  const int iw = image->GetWidth(), ih = image->GetHeight();
  for (int row = 0; row < size; ++row) {
    const int y = cy + row;
    if (y < 0 || y >= ih) continue;
    for (int col = 0; col < size; ++col) {
      const int x = cx + col;
      const size_t k = static_cast<size_t>(row) * size + col;
      if (x >= 0 && x < iw && drawn[k] != mBack[k]) dst[static_cast<size_t>(y) * iw + x] = drawn[k] | 0xFF000000u;
    }
  }
}
