// A text style kept by callers that draw text more than once (button
// captions, the save/load screen's slot texts); its fields are handed to
// CDIBImage::BeginDrawString in this order.
#pragma once
#include <cstdint>

struct FontInfo {
  char szFaceName[256];  // build's encoding
  int32_t nHeight;       // cell height in pixels
  int32_t nWeight;       // 400 regular, 700 bold
  bool bItalic;
  bool bUnderline;
  bool bStrikeOut;
  int32_t nEscapement;   // tenths of a degree
};
