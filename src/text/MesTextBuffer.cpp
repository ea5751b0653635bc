#include "text/MesTextBuffer.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>

#include "app/core/Trace.h"

CMesTextBuffer::CMesTextBuffer() {
  Trace("CMesTextBuffer::CMesTextBuffer");
  mbKinsoku = mbDownStr = false;
  mnX = mnY = mnNextY = 0;
  mnLeft = mnTop = mnRight = mnBottom = 0;
  mnLineSpace = mnCharSpace = mnFontNo = mnFontSize = 0;
  mdwColor = mdwShadowColor = 0;
  mbBold = mbShadow = mbDownIndent = false;
  memset(mCell, 0, sizeof mCell);
  mnDownDepth = 0;
  mpProfile = &profile::BuildProfile();
}

CMesTextBuffer::~CMesTextBuffer() { Trace("CMesTextBuffer::~CMesTextBuffer"); }

bool CMesTextBuffer::Initialize() {
  Trace("CMesTextBuffer::Initialize");
  return true;
}

void CMesTextBuffer::Limit() {
  Trace("CMesTextBuffer::Limit");
  // The scenario may set any size or spacing: values beyond what a picture
  // can show are brought back so that no pen arithmetic can overflow.
  auto clamp = [](int32_t& v, int32_t bound) { v = std::clamp(v, -bound, bound); };
  mnFontSize = std::clamp(mnFontSize, 0, 4096);
  clamp(mnLineSpace, 4096);
  clamp(mnCharSpace, 4096);
  for (int32_t* v : {&mnLeft, &mnTop, &mnRight, &mnBottom, &mnDownDepth}) clamp(*v, 1 << 20);
  for (int32_t* v : {&mnX, &mnY, &mnNextY}) clamp(*v, 1 << 24);
}

void CMesTextBuffer::ResetPen() {
  Trace("CMesTextBuffer::ResetPen");
  Limit();
  mnX = mnLeft;
  mnY = mnTop;
  mnNextY = mnTop + mnFontSize + mnLineSpace;
}

bool CMesTextBuffer::IsKinsoku(const char* cell) {
  Trace("CMesTextBuffer::IsKinsoku");
  if (!mbKinsoku || !cell) return false;
  for (const char* entry : mpProfile->szKinsoku)
    if (strncmp(cell, entry, 4) == 0) return true;
  return false;
}

bool CMesTextBuffer::IsDownStr(const char* cell, int column) {
  Trace("CMesTextBuffer::IsDownStr");
  if (!mbDownStr || !cell || column < 0 || column > 1) return false;
  for (const auto& pair : mpProfile->szDownStr)
    if (strncmp(cell, pair[column], 4) == 0) return true;
  return false;
}

int32_t CMesTextBuffer::Advance(const char* cell) const {
  Trace("CMesTextBuffer::Advance");
  const int32_t bytes = cell[0] == 0 ? 0 : (cell[1] == 0 ? 1 : 2);
  return mnCharSpace + mnFontSize * bytes / 2;
}

void CMesTextBuffer::PutChar(MesChar& out, const char* cell) const {
  Trace("CMesTextBuffer::PutChar");
  out = MesChar{};
  out.nKind = MESCHAR_WORD;
  memcpy(out.szChar, cell, 4);
  out.szChar[3] = 0;
  out.x = mnX;
  out.y = mnY;
  out.dwColor = mdwColor;
  out.dwShadowColor = mdwShadowColor;
  out.nSize = mnFontSize;
  out.nFontNo = mnFontNo;
  out.bBold = mbBold;
  out.bShadow = mbShadow;
}

int CMesTextBuffer::Split(const char* text) {
  Trace("CMesTextBuffer::Split");
  int n = 0;
  const auto* p = reinterpret_cast<const uint8_t*>(text);
  while (*p && n < kMesCells) {
    char cell[4] = {};
    cell[0] = static_cast<char>(p[0]);
    int len = 1;
    if (mpProfile->IsLeadByte(p[0]) && p[1]) {
      cell[1] = static_cast<char>(p[1]);
      len = 2;
    }
    // A message that opens a page starts one full-width space in, unless it
    // opens with a bracket (or the space itself).
    if (n == 0 && mnY == mnTop && mbDownStr && !IsDownStr(cell, 0) && strcmp(cell, mpProfile->FullSpace()) != 0) {
      memcpy(mCell[n++], mpProfile->FullSpace(), 3);
      mCell[0][3] = 0;
      if (n >= kMesCells) break;
    }
    memcpy(mCell[n++], cell, 4);
    p += len;
  }
  return n;
}

int CMesTextBuffer::Convert(const char* text, MesChar* out, int capacity) {
  Trace("CMesTextBuffer::Convert");
  if (!text || !out || capacity <= 0) return 0;
  Limit();
  const int n = Split(text);
  int written = 0;
  int a = 0;
  int counted = -1;  // the cell whose bracket was counted last
  for (;;) {
    // A line that would reach the bottom continues on a fresh page.
    if (mnY + mnFontSize > mnBottom - 1) {
      mnY = mnTop;
      if (written < capacity) out[written++] = MesChar{MESCHAR_PAGE, {}, 0, 0, 0, 0, 0, 0, false, false};
    }
    if (a < n && a != counted) {
      counted = a;
      if (IsDownStr(mCell[a], 0))
        ++mnDownDepth;
      else if (IsDownStr(mCell[a], 1))
        --mnDownDepth;
    }
    mbDownIndent = a > 0 && mnDownDepth > 0;
    if (mbDownIndent) mnX += mnCharSpace + mnFontSize;
    if (a >= n) break;

    // The cells that fit before the right edge.
    int64_t w = mnX;
    int j = a;
    while (j < n) {
      const int32_t advance = Advance(mCell[j]);
      if (w + advance > mnRight) break;
      w += advance;
      ++j;
    }
    const int fit = j;
    // A prohibited character may not begin the next line: the character
    // before the prohibited run goes with it.
    if (j < n && IsKinsoku(mCell[j])) {
      while (j > a && IsKinsoku(mCell[j])) --j;
      // Stepping back to the start of the segment would leave the line
      // empty: break where the text stops fitting instead.
      if (j <= a) j = fit;
    }
    // A line that holds not even one character still takes one, so that a
    // text always makes progress (a line that already holds text from an
    // earlier record moves on to the next line first).
    if (j == a && (a > 0 || mnX <= mnLeft)) j = a + 1;
    for (int k = a; k < j; ++k) {
      if (written < capacity) PutChar(out[written++], mCell[k]);
      mnX += Advance(mCell[k]);
    }
    a = j;
    if (a >= n) break;
    mnX = mnLeft;
    mnY += mnFontSize + mnLineSpace;
  }
  mnNextY = mnY + mnFontSize + mnLineSpace;
  return written;
}

void CMesTextBuffer::ChangeLine() {
  Trace("CMesTextBuffer::ChangeLine");
  Limit();
  mnY = mnNextY;
  mnX = mnLeft;
  mnNextY += mnFontSize + mnLineSpace;
  if (mnDownDepth > 0) mnX = mnLeft + mnFontSize + mnCharSpace;
}

int CMesTextBuffer::ChangePage(MesChar* out, int capacity) {
  Trace("CMesTextBuffer::ChangePage");
  ResetPen();
  if (!out || capacity <= 0) return 0;
  out[0] = MesChar{MESCHAR_PAGE, {}, 0, 0, 0, 0, 0, 0, false, false};
  return 1;
}

bool CMesTextBuffer::Convert(const MesSrc* src, int count, MesChar* out, int capacity) {
  Trace("CMesTextBuffer::Convert");
  if (!out || capacity <= 0) return true;
  // The last place is kept for the end record.
  const int room = capacity - 1;
  int written = 0;
  auto put = [&](int32_t kind) {
    if (written < room) out[written++] = MesChar{kind, {}, 0, 0, 0, 0, 0, 0, false, false};
  };
  mnDownDepth = 0;
  for (int i = 0; src && i < count; ++i) {
    const MesSrc& s = src[i];
    if (s.bText) {
      char text[kMesTextSize];
      memcpy(text, s.szText, sizeof text);
      text[sizeof text - 1] = 0;
      written += Convert(text, out + written, room - written);
      continue;
    }
    switch (s.nFunc) {
      case MESFUNC_CLEAR:
        ResetPen();
        put(MESCHAR_CLEAR);
        break;
      case MESFUNC_LINE:
        ChangeLine();
        if (mnY + mnFontSize > mnBottom - 1) written += ChangePage(out + written, room - written);
        break;
      case MESFUNC_PAGE:
        written += ChangePage(out + written, room - written);
        break;
      case MESFUNC_CLICK:
        put(MESCHAR_CLICK);
        break;
      default:
        put(s.nFunc);
        break;
    }
  }
  out[written] = MesChar{MESCHAR_END, {}, 0, 0, 0, 0, 0, 0, false, false};
  return true;
}
