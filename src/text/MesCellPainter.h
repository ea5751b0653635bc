// Draws one laid-out character of a message into a text image the way the
// message window shows it: the glyph (with its shadow) is drawn over the
// window's own background in a cell of size + 2 pixels, and every pixel it
// changed is copied into the text image, opaque. The text image thus holds
// only text; the rest of it stays transparent and untouched.
#pragma once
#include <cstdint>
#include <vector>

#include "assets/DIBImage.h"
#include "text/MesTextBuffer.h"

class CMesCellPainter {
 public:
  CMesCellPainter();
  ~CMesCellPainter();
  CMesCellPainter(const CMesCellPainter&) = delete;
  CMesCellPainter& operator=(const CMesCellPainter&) = delete;

  // `back` holds the background, `stride` pixels a row, with the text
  // image's (0, 0) at (`originX`, `originY`) of it; pixels outside its
  // `backW` × `backH` count as transparent black. The character's position
  // is in the background's coordinates (the window picture's). Returns the
  // cell drawn, in text-image coordinates (left, top, size).
  void Paint(CDIBImage* image, const uint32_t* back, int stride, int backW, int backH, int originX, int originY,
             const MesChar& ch, const char* face, int cell[3]);

 private:
  CDIBImage mScratch;
  std::vector<uint32_t> mBack;
};
