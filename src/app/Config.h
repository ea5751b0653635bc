// The program switches of "Novel.ini" and the window position: read once at
// start-up, written back when the window is destroyed.
#pragma once
#include <string>

#include "platform/Win.h"

struct IniSettings {
  bool bNoneEffect = false;
  int nFrameSpeed = 1;
  bool bAltAndEnter = false;
  bool bSystemSE = true;
  bool bNonePause = false;
  bool bBGMSmallVolume = false;
  bool bAlphaFlip = false;
  bool bDebugWndAttach = false;
  plat::POINT pos;  // window position
};

// Reads every key. A missing or garbled file gives the defaults; the window
// position falls back to the desktop-centred one when "Pos" does not hold
// two integers.
IniSettings ReadIniSettings(const std::string& iniPath, const plat::POINT& centred);

// Writes "Pos", then the [System] keys in their fixed order. False when the
// file cannot be written (the reason goes to standard error).
bool WriteIniSettings(const std::string& iniPath, const IniSettings& settings);

// Decimal parse of a profile value: a switch that does not parse counts as
// `fallback`. Leading blanks and a sign are accepted; trailing text is ignored.
int ParseIniInt(const std::string& text, int fallback);

// The desktop-centred window position for an 800 × 600 client area.
plat::POINT CentredWindowPos(int desktopX, int desktopY, int desktopWidth, int desktopHeight);
