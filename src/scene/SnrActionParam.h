// What a layer action is set up from, and what a layer hands to the action
// that draws it.
#pragma once
#include <cstdint>

class CDIBImage;
class CDIBCamera;

// Action kinds.
enum : int32_t {
  SNRACT_NONE = 0,
  SNRACT_2DROT = 1,
  SNRACT_SCROLL = 2,
  SNRACT_RASTER = 3,
  SNRACT_RAIN = 4,
  SNRACT_FIRE = 5,
  SNRACT_KIND_COUNT = 6,
};

// The 208-byte parameter block of an action, stored as it stands in saved
// games: the kind, then the kind's fields (32-bit little-endian unless
// marked). Make it with `SnrActionParam p{};` (all bytes zero) and fill the
// kind's member; no member has hidden padding, so every byte is defined.
struct SnrActionParam {
  static constexpr int kMaxScrollPoints = 16;
  static constexpr int kDropNameSize = 188;

  int32_t nKind;
  union {
    uint8_t bParam[204];  // first, so that {} zeroes every byte
    struct {
      int32_t nPeriod;     // milliseconds per turn
      int32_t nTurns;      // 0 = endless
      int32_t nDirection;  // 0 or 1
    } rot;
    struct {
      int32_t nPeriod;  // milliseconds for the whole path
      uint8_t bLoop;
      uint8_t bSmooth;  // spline path instead of straight segments
      uint8_t bPad[2];
      int32_t nCount;  // points, 1 … 16
      int32_t nX[kMaxScrollPoints];
      int32_t nY[kMaxScrollPoints];
      int32_t nZ[kMaxScrollPoints];
    } scroll;
    struct {
      int32_t nFadeIn;     // ms
      int32_t nFadeOut;    // ms
      int32_t nPeriod;     // wave period in ms; doubled when set up
      int32_t nAmplitude;  // pixels
      int32_t nMode;       // 0 horizontal waves, 1 vertical, 2 both
    } raster;
    struct {
      int32_t nFallTime;  // ms
      int32_t nCount;     // drops, 0 … 4096
      int32_t nSway;      // sway amplitude
      int32_t nWind;      // sign: direction; size: slant in % of the drop height
      char szDrop[kDropNameSize];  // drop picture, NUL-terminated
    } rain;
    struct {
      int32_t nBaseHeat;
      int32_t nCentre;  // centre column of the flames on the fire grid
      int32_t nWidth;   // spread of the flames in grid columns
      int32_t nFront;   // 0: fire under the picture, else over it
    } fire;
  };
};
static_assert(sizeof(SnrActionParam) == 208, "the action parameter block is 208 bytes");

// What a layer with an action hands to the action's Draw: the target, the
// layer's position and depth, its picture and drawn size (after the
// base-size rule), colour, blend and filter flags, and the page's camera
// (null: none).
struct LayerDrawParam {
  CDIBImage* pTarget = nullptr;
  int32_t nX = 0, nY = 0, nZ = 0;
  CDIBImage* pImage = nullptr;
  int32_t nWidth = 0, nHeight = 0;
  uint32_t dwColor = 0xFFFFFFFFu;
  uint8_t bBlend = 0;
  uint8_t bAnti = 0;
  CDIBCamera* pCamera = nullptr;
};
