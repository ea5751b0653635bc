// The one input object: a per-frame snapshot of the polled keys and mouse
// buttons with edge and auto-repeat flags, the cursor position, the wheel,
// whether the player drives the program by mouse or keyboard, and a cache of
// hit maps (800 × 600 pictures of region numbers) that controls test the
// mouse against.
#pragma once
#include <cstdint>

#include "platform/Win.h"

class CFileJoin;

struct KeyState {
  uint8_t bDown;
  uint8_t bPush;
  uint8_t bRepeat;
  uint32_t dwRepeatTime;
  uint8_t bPress;
  uint8_t bRelease;
};

struct WheelInfo {
  uint32_t wKeys;
  int32_t nDelta;
  int32_t x;
  int32_t y;
};

// Check types of a key-table record.
enum : int32_t { KEY_PUSH = 1, KEY_DOWN = 2, KEY_PRESS = 3, KEY_RELEASE = 4, KEY_REPEAT = 5 };

// One record of a key table; a table ends with a record whose key is 0.
struct KeyCheck {
  uint8_t nKey;
  int32_t nType;
};

extern const KeyCheck KeyTblCancel[];
extern const KeyCheck KeyTblNext[];
extern const KeyCheck KeyTblSkip[];
extern const KeyCheck KeyTblAny[];
extern const KeyCheck KeyTblMovie[];

class CInput {
 public:
  static constexpr int kWidth = 800;
  static constexpr int kHeight = 600;
  static constexpr int kHitMapSize = kWidth * kHeight;
  static constexpr int kHitSlots = 256;
  static constexpr int kHitNameSize = 32;
  static constexpr uint32_t kRepeatDelay = 500;
  static constexpr uint32_t kRepeatInterval = 100;
  static constexpr uint32_t kEnableDeadTime = 500;

  CInput();
  virtual ~CInput();
  CInput(const CInput&) = delete;
  CInput& operator=(const CInput&) = delete;

  virtual bool Initialize(plat::HWND hwnd, CFileJoin* fileJoin);
  virtual void Release();
  virtual void Clear();
  virtual void Poll();
  virtual bool CheckKey(const KeyCheck* check) const;
  virtual bool CheckKeyTbl(const KeyCheck* table) const;
  virtual void OnChar(int32_t code);
  virtual void OnMouseWheel(uint32_t keys, uint32_t delta, const plat::POINT* point);
  virtual bool ReadHitMap(const char* name);
  virtual int32_t GetHitMapNo(const char* name, int32_t x, int32_t y);
  virtual int32_t GetHitMapNo(const char* name);

  // Enables or disables input; enabling restarts the dead time. The
  // application calls this after Clear on every activation change.
  void SetEnable(bool enable);

  // Reads one typed character from the ring; false when it is empty.
  bool GetChar(int32_t& code);

  plat::HWND mhWnd;
  bool mbEnable;
  uint32_t mdwEnableTime;
  CFileJoin* mpFileJoin;
  KeyState mKey[256];
  KeyState mKeyOld[256];
  bool mbSwapButton;
  plat::POINT mptMouse;
  WheelInfo mWheel;
  WheelInfo mWheelNext;
  uint8_t* mpHitMap[kHitSlots];
  char mszHitName[kHitSlots][kHitNameSize];
  bool mbMouseAct;
  bool mbKeyAct;
  int32_t mCharBuf[256];
  int32_t mCharWrite;
  int32_t mCharRead;
  int32_t mInputType;  // 0 keyboard, 1 mouse

 private:
  void SwapButtons();
  int FindHitSlot(const char* paddedName) const;
  // The slot holding the named map, read into a free one first if need be;
  // -1 when the name or the file is refused.
  int LoadHitSlot(const char* name);
};

// Input types.
enum : int32_t { INPUT_KEYBOARD = 0, INPUT_MOUSE = 1 };
