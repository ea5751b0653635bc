// The definition a control is made from (CBaseGame::MakeControl). Screens
// start from the template (InitCtrlDef) and fill names, ID, hit value,
// position, frames and jump rows from their setup tables.
#pragma once
#include <cstdint>

// Control types.
enum : int32_t { CTRL_BUTTON = 1, CTRL_CHECK = 2, CTRL_SCROLL = 3, CTRL_IMAGE = 100 };

// Jump directions: the columns of a jump row.
enum : int32_t { JUMP_UP = 0, JUMP_DOWN = 1, JUMP_LEFT = 2, JUMP_RIGHT = 3, JUMP_TAB = 4 };

constexpr int kJumpRows = 256;

struct CtrlDef {
  char szParts[256];
  char szHitFName[256];
  int32_t nID;
  int32_t nHitNo;
  bool bShow;
  bool bEnable;
  int32_t x, y;
  uint32_t dwColor;
  bool bEnterSE;
  bool bOncurSE;
  int32_t nJumpNum;
  int32_t Jump[kJumpRows][5];
  bool bCancel;

  // The type-specific part. Frames: a button uses 0–4 (normal, focused,
  // pressed, disabled, focused-disabled); a check box 0–9 (5–9 ticked); a
  // slider 0–4 for the bar and 5–9 for the knob; an image control 0.
  int32_t nFrame[10];
  bool bBlend;  // button: blend instead of copy
  bool bCheck;  // check box: starts ticked
  // slider
  int32_t nScrollPos;
  int32_t nDir;  // 0 horizontal, 1 vertical
  int32_t nMin;
  int32_t nMax;
  int32_t nMarginTop;
  int32_t nMarginBottom;
};

// The template: all zeros but shown, enabled, colour 0xFFFFFFFF, both sound
// flags and one jump row.
void InitCtrlDef(CtrlDef* def);
