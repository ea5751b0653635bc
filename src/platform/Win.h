// The small window-system vocabulary the engine is written against: window
// handles, messages with two parameters, rectangles and points. The numbers
// are the classic desktop ones so that the engine's private messages keep
// their values (the first user message plus 512 is 1536).
#pragma once
#include <cstdint>

namespace plat {

struct Window;             // one top-level window, real or headless
using HWND = Window*;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;
using WNDPROC = LRESULT (*)(HWND, uint32_t, WPARAM, LPARAM);

struct POINT {
  int32_t x = 0, y = 0;
};

struct RECT {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
};

inline uint32_t MakeLong(uint32_t lo, uint32_t hi) { return (lo & 0xFFFF) | (hi << 16); }
inline uint16_t LoWord(uintptr_t v) { return static_cast<uint16_t>(v & 0xFFFF); }
inline uint16_t HiWord(uintptr_t v) { return static_cast<uint16_t>((v >> 16) & 0xFFFF); }

// Message numbers.
enum : uint32_t {
  WM_NULL = 0x0000,
  WM_CREATE = 0x0001,
  WM_DESTROY = 0x0002,
  WM_MOVE = 0x0003,
  WM_SIZE = 0x0005,
  WM_ACTIVATE = 0x0006,
  WM_SETFOCUS = 0x0007,
  WM_SETTEXT = 0x000C,
  WM_PAINT = 0x000F,
  WM_CLOSE = 0x0010,
  WM_QUIT = 0x0012,
  WM_ERASEBKGND = 0x0014,
  WM_SETTINGCHANGE = 0x001A,
  WM_ACTIVATEAPP = 0x001C,
  WM_SETCURSOR = 0x0020,
  WM_DRAWITEM = 0x002B,
  WM_MEASUREITEM = 0x002C,
  WM_WINDOWPOSCHANGED = 0x0047,
  WM_NOTIFY = 0x004E,
  WM_CONTEXTMENU = 0x007B,
  WM_NCDESTROY = 0x0082,
  WM_NCCALCSIZE = 0x0083,
  WM_NCHITTEST = 0x0084,
  WM_NCPAINT = 0x0085,
  WM_NCACTIVATE = 0x0086,
  WM_NCMOUSEMOVE = 0x00A0,
  WM_NCLBUTTONDOWN = 0x00A1,
  WM_NCLBUTTONDBLCLK = 0x00A3,
  WM_NCRBUTTONDOWN = 0x00A4,
  WM_KEYDOWN = 0x0100,
  WM_KEYUP = 0x0101,
  WM_CHAR = 0x0102,
  WM_SYSKEYDOWN = 0x0104,
  WM_SYSCHAR = 0x0106,
  WM_COMMAND = 0x0111,
  WM_SYSCOMMAND = 0x0112,
  WM_TIMER = 0x0113,
  WM_HSCROLL = 0x0114,
  WM_VSCROLL = 0x0115,
  WM_INITMENUPOPUP = 0x0117,
  WM_MENUSELECT = 0x011F,
  WM_MENUCHAR = 0x0120,
  WM_CTLCOLOREDIT = 0x0133,
  WM_CTLCOLORLISTBOX = 0x0134,
  WM_CTLCOLORBTN = 0x0135,
  WM_CTLCOLORSTATIC = 0x0138,
  WM_MOUSEMOVE = 0x0200,
  WM_LBUTTONDOWN = 0x0201,
  WM_LBUTTONUP = 0x0202,
  WM_LBUTTONDBLCLK = 0x0203,
  WM_RBUTTONDOWN = 0x0204,
  WM_RBUTTONUP = 0x0205,
  WM_RBUTTONDBLCLK = 0x0206,
  WM_MOUSEWHEEL = 0x020A,
  WM_ENTERSIZEMOVE = 0x0231,
  WM_EXITSIZEMOVE = 0x0232,
  WM_DROPFILES = 0x0233,
  WM_PRINT = 0x0317,
  WM_USER = 0x0400,
};

// WM_ACTIVATE low words and the one system command the engine swallows.
enum : uint32_t { WA_INACTIVE = 0, WA_ACTIVE = 1, WA_CLICKACTIVE = 2 };
enum : uint32_t { SC_SCREENSAVE = 0xF140 };

// Virtual-key codes of the keys the engine polls.
enum : uint8_t {
  VK_LBUTTON = 0x01,
  VK_RBUTTON = 0x02,
  VK_TAB = 0x09,
  VK_RETURN = 0x0D,
  VK_CONTROL = 0x11,
  VK_ESCAPE = 0x1B,
  VK_SPACE = 0x20,
  VK_PRIOR = 0x21,
  VK_NEXT = 0x22,
  VK_LEFT = 0x25,
  VK_UP = 0x26,
  VK_RIGHT = 0x27,
  VK_DOWN = 0x28,
  VK_X = 0x58,
  VK_Z = 0x5A,
  VK_LMENU = 0xA4,
  VK_RMENU = 0xA5,
};

}  // namespace plat
