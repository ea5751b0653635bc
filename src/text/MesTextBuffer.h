// Lays a message out into positioned characters: splits the text into one-
// and two-byte characters, wraps lines at the right edge of the text area
// with the line-start prohibition (kinsoku), indents continuation lines
// inside brackets, starts new pages, and emits a flat list of character and
// control records that the message window plays back one by one.
//
// The layout state (pen, area, font values, bracket depth) persists across
// conversions: a text continues on the line where the previous one stopped,
// and only function records break lines explicitly.
#pragma once
#include <cstdint>

#include "text/profile/TextProfile.h"

// Function kinds of an input record.
enum : int32_t { MESFUNC_CLEAR = 0, MESFUNC_LINE = 1, MESFUNC_PAGE = 2, MESFUNC_CLICK = 3 };

// Kinds of an output record; any other value is a function kind passed
// through unchanged.
enum : int32_t {
  MESCHAR_END = 0,    // end of the list
  MESCHAR_PAGE = 1,   // page full: wait for a click, go on on a fresh page
  MESCHAR_WORD = 2,   // a character
  MESCHAR_CLEAR = 3,  // clear the page
  MESCHAR_CLICK = 4,  // click wait
};

constexpr int kMesTextSize = 512;  // bytes of a text record, terminator included
constexpr int kMesCells = 512;     // characters one text record is split into at most

// One input record: a text, or a function kind.
struct MesSrc {
  uint8_t bText;               // 1 text, 0 function
  char szText[kMesTextSize];   // zero-terminated
  int32_t nFunc;
};

// One output record.
struct MesChar {
  int32_t nKind;
  char szChar[4];  // one or two bytes, zero-terminated
  int32_t x, y;
  uint32_t dwColor;
  uint32_t dwShadowColor;
  int32_t nSize;
  int32_t nFontNo;
  bool bBold;
  bool bShadow;
};

class CMesTextBuffer {
 public:
  CMesTextBuffer();
  virtual ~CMesTextBuffer();
  CMesTextBuffer(const CMesTextBuffer&) = delete;
  CMesTextBuffer& operator=(const CMesTextBuffer&) = delete;

  virtual bool Initialize();
  // Converts the whole list into `out` (room for `capacity` records) and
  // ends it with a record of kind 0; records that do not fit are dropped, the
  // end record always fits (capacity ≥ 1). True.
  virtual bool Convert(const MesSrc* src, int count, MesChar* out, int capacity);
  // Lays one text out into `out` (at most `capacity` records, no end
  // record); returns the number written.
  virtual int Convert(const char* text, MesChar* out, int capacity);
  // Moves the pen to the next line.
  virtual void ChangeLine();
  // Moves the pen to the page top and, given room in `out`, writes a record
  // of kind 1; returns the number written (0 or 1).
  virtual int ChangePage(MesChar* out, int capacity);
  virtual bool IsKinsoku(const char* cell);
  // Column 0: an opening bracket, 1: a closing one.
  virtual bool IsDownStr(const char* cell, int column);

  // The encoding rules the layout follows: the build's unless a tool lays
  // out text of the other encoding.
  void SetProfile(const profile::TextProfile* p) { mpProfile = p ? p : &profile::BuildProfile(); }
  const profile::TextProfile& Profile() const { return *mpProfile; }
  // Pen to the page top.
  void ResetPen();
  // Brings sizes, spacings, the area and the pen into the range the layout
  // works in (any value a scenario sets is safe to lay out with).
  void Limit();

  // The layout state; the message window and the scenario commands read and
  // set these directly (and a saved game keeps them).
  bool mbKinsoku;
  bool mbDownStr;
  int32_t mnX, mnY;
  int32_t mnNextY;
  int32_t mnLeft, mnTop, mnRight, mnBottom;
  int32_t mnLineSpace;
  int32_t mnCharSpace;
  int32_t mnFontNo;
  int32_t mnFontSize;
  uint32_t mdwColor;
  uint32_t mdwShadowColor;
  bool mbBold;
  bool mbShadow;
  bool mbDownIndent;
  char mCell[kMesCells][4];
  int32_t mnDownDepth;

 private:
  // The advance of a cell: character spacing plus the font size for two
  // bytes, half of it for one.
  int32_t Advance(const char* cell) const;
  // Splits `text` into mCell; returns the number of cells.
  int Split(const char* text);
  void PutChar(MesChar& out, const char* cell) const;

  const profile::TextProfile* mpProfile;
};
