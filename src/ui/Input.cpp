#include "ui/Input.h"

#include <cstring>
#include <utility>

#include "app/core/Trace.h"
#include "platform/KeyState.h"
#include "platform/Timer.h"
#include "ui/HitMap.h"

namespace {

// The only keys whose state is ever updated, in polling order.
const uint8_t kPolledKeys[] = {
    plat::VK_LBUTTON, plat::VK_RBUTTON, plat::VK_RETURN, plat::VK_ESCAPE, plat::VK_CONTROL, plat::VK_SPACE,
    plat::VK_TAB,     plat::VK_UP,      plat::VK_DOWN,   plat::VK_LEFT,   plat::VK_RIGHT,   plat::VK_PRIOR,
    plat::VK_NEXT,    plat::VK_Z,       plat::VK_X,      plat::VK_LMENU,  plat::VK_RMENU,
};

bool IsMouseButton(int vk) { return vk == plat::VK_LBUTTON || vk == plat::VK_RBUTTON; }

// Timer comparisons that stay right when the millisecond clock wraps.
bool TimeReached(uint32_t now, uint32_t when) { return static_cast<int32_t>(now - when) >= 0; }

}  // namespace

CInput::CInput() {
  Trace("CInput::CInput");
  mhWnd = nullptr;
  mbEnable = false;
  mdwEnableTime = 0;
  mpFileJoin = nullptr;
  memset(mKey, 0, sizeof mKey);
  memset(mKeyOld, 0, sizeof mKeyOld);
  mbSwapButton = false;
  mptMouse = plat::POINT{};
  mWheel = WheelInfo{};
  mWheelNext = WheelInfo{};
  memset(mpHitMap, 0, sizeof mpHitMap);
  memset(mszHitName, 0, sizeof mszHitName);
  mbMouseAct = false;
  mbKeyAct = false;
  memset(mCharBuf, 0, sizeof mCharBuf);
  mCharWrite = 0;
  mCharRead = 0;
  mInputType = INPUT_KEYBOARD;
}

CInput::~CInput() {
  Trace("CInput::~CInput");
  Release();
}

bool CInput::Initialize(plat::HWND hwnd, CFileJoin* fileJoin) {
  Trace("CInput::Initialize");
  Release();
  mhWnd = hwnd;
  mpFileJoin = fileJoin;
  mbEnable = true;
  mdwEnableTime = plat::timeGetTime();
  memset(mKey, 0, sizeof mKey);
  memset(mKeyOld, 0, sizeof mKeyOld);
  mWheel = WheelInfo{};
  mWheelNext = WheelInfo{};
  memset(mCharBuf, 0, sizeof mCharBuf);
  mCharWrite = 0;
  mCharRead = 0;
  mInputType = INPUT_KEYBOARD;
  mbSwapButton = plat::GetSwapButtons();
  return true;
}

void CInput::Release() {
  Trace("CInput::Release");
  for (int i = 0; i < kHitSlots; ++i) {
    delete[] mpHitMap[i];
    mpHitMap[i] = nullptr;
    memset(mszHitName[i], 0, kHitNameSize);
  }
}

void CInput::Clear() {
  Trace("CInput::Clear");
  memset(mKey, 0, sizeof mKey);
  mWheel = WheelInfo{};
  mWheelNext = WheelInfo{};
}

void CInput::SetEnable(bool enable) {
  Trace("CInput::SetEnable");
  mbEnable = enable;
  if (enable) mdwEnableTime = plat::timeGetTime();
}

void CInput::SwapButtons() {
  Trace("CInput::SwapButtons");
  std::swap(mKey[plat::VK_LBUTTON], mKey[plat::VK_RBUTTON]);
  std::swap(mKeyOld[plat::VK_LBUTTON], mKeyOld[plat::VK_RBUTTON]);
}

void CInput::Poll() {
  Trace("CInput::Poll");
  const uint32_t now = plat::timeGetTime();
  if (!mbEnable || !TimeReached(now, mdwEnableTime + kEnableDeadTime)) {
    Clear();
    return;
  }
  const plat::POINT oldMouse = mptMouse;
  memcpy(mKeyOld, mKey, sizeof mKey);
  if (mbSwapButton) SwapButtons();

  mbKeyAct = false;
  for (uint8_t vk : kPolledKeys) {
    KeyState& k = mKey[vk];
    k.bPress = 0;
    k.bRelease = 0;
    if (plat::GetAsyncKeyState(vk) & 0x8000) {
      if (!IsMouseButton(vk)) mbKeyAct = true;
      if (!k.bDown) {
        k.bPush = 1;
        k.bRepeat = 1;
        k.dwRepeatTime = now + kRepeatDelay;
      } else {
        k.bPush = 0;
        k.bRepeat = 0;
      }
      k.bDown = 1;
      if (TimeReached(now, k.dwRepeatTime)) {
        k.bRepeat = 1;
        k.dwRepeatTime = now + kRepeatInterval;
      }
    } else {
      k.bDown = k.bPush = k.bRepeat = 0;
      k.dwRepeatTime = 0;
    }
  }
  for (uint8_t vk : kPolledKeys) {
    KeyState& k = mKey[vk];
    k.bPress = k.bDown && !mKeyOld[vk].bDown;
    k.bRelease = !k.bDown && mKeyOld[vk].bDown;
  }
  if (mbSwapButton) SwapButtons();

  mptMouse = plat::GetCursorClientPos(mhWnd);
  if (mptMouse.x < 0 || mptMouse.x >= kWidth || mptMouse.y < 0 || mptMouse.y >= kHeight) {
    mKey[plat::VK_LBUTTON] = KeyState{};
    mKey[plat::VK_RBUTTON] = KeyState{};
  }

  mWheel = mWheelNext;
  mWheelNext = WheelInfo{};

  bool act = mptMouse.x != oldMouse.x || mptMouse.y != oldMouse.y || mWheel.nDelta != 0;
  for (int vk : {plat::VK_LBUTTON, plat::VK_RBUTTON}) {
    const KeyState& k = mKey[vk];
    const KeyState& o = mKeyOld[vk];
    if (k.bPush != o.bPush || k.bDown != o.bDown || k.bDown) act = true;
  }
  mbMouseAct = act;

  if (mInputType == INPUT_KEYBOARD && mbMouseAct)
    mInputType = INPUT_MOUSE;
  else if (mInputType == INPUT_MOUSE && mbKeyAct)
    mInputType = INPUT_KEYBOARD;
}

bool CInput::CheckKey(const KeyCheck* check) const {
  Trace("CInput::CheckKey");
  if (!check) return false;
  const KeyState& k = mKey[check->nKey];
  switch (check->nType) {
    case KEY_PUSH: return k.bPush != 0;
    case KEY_DOWN: return k.bDown != 0;
    case KEY_PRESS: return k.bPress != 0;
    case KEY_RELEASE: return k.bRelease != 0;
    case KEY_REPEAT: return k.bRepeat != 0;
    default: return false;
  }
}

bool CInput::CheckKeyTbl(const KeyCheck* table) const {
  Trace("CInput::CheckKeyTbl");
  if (!table) return false;
  for (const KeyCheck* c = table; c->nKey != 0; ++c)
    if (CheckKey(c)) return true;
  return false;
}

void CInput::OnChar(int32_t code) {
  Trace("CInput::OnChar");
  if (code >= 'A' && code <= 'Z') code += 'a' - 'A';
  bool keep = (code >= 'a' && code <= 'z') || (code >= '0' && code <= '9') || (code >= 32 && code <= 47) ||
              (code >= 58 && code <= 64) || (code >= 91 && code <= 95) || (code >= 123 && code <= 125);
  if (!keep) return;
  mCharBuf[mCharWrite] = code;
  mCharWrite = (mCharWrite + 1) % 256;
}

bool CInput::GetChar(int32_t& code) {
  Trace("CInput::GetChar");
  if (mCharRead == mCharWrite) return false;
  code = mCharBuf[mCharRead];
  mCharRead = (mCharRead + 1) % 256;
  return true;
}

void CInput::OnMouseWheel(uint32_t keys, uint32_t delta, const plat::POINT* point) {
  Trace("CInput::OnMouseWheel");
  mWheelNext.wKeys = keys & 0xFFFF;
  mWheelNext.nDelta = static_cast<int16_t>(delta & 0xFFFF);
  mWheelNext.x = point ? static_cast<int16_t>(point->x & 0xFFFF) : 0;
  mWheelNext.y = point ? static_cast<int16_t>(point->y & 0xFFFF) : 0;
}
