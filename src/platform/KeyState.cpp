#include "platform/KeyState.h"

#include <SDL.h>
#include <strings.h>

#include <atomic>
#include <cstdlib>

#include "platform/Window.h"

namespace plat {
namespace {

std::atomic<bool> gScriptKeys[256];
std::atomic<int> gScriptX{-1}, gScriptY{-1};
std::atomic<bool> gScriptCursor{false};
std::atomic<bool> gScriptOnly{false};

const PolledKey kKeyNames[] = {
    {VK_LBUTTON, "LBUTTON"}, {VK_RBUTTON, "RBUTTON"}, {VK_RETURN, "RETURN"}, {VK_ESCAPE, "ESCAPE"},
    {VK_CONTROL, "CONTROL"}, {VK_SPACE, "SPACE"},     {VK_TAB, "TAB"},       {VK_UP, "UP"},
    {VK_DOWN, "DOWN"},       {VK_LEFT, "LEFT"},       {VK_RIGHT, "RIGHT"},   {VK_PRIOR, "PRIOR"},
    {VK_NEXT, "NEXT"},       {VK_Z, "Z"},             {VK_X, "X"},           {VK_LMENU, "LMENU"},
    {VK_RMENU, "RMENU"},
};

bool DevicesUsed() { return !gScriptOnly.load() && !IsHeadless() && SDL_WasInit(SDL_INIT_VIDEO); }

bool DeviceKeyDown(int vk) {
  if (!DevicesUsed()) return false;
  if (vk == VK_LBUTTON || vk == VK_RBUTTON) {
    uint32_t b = SDL_GetGlobalMouseState(nullptr, nullptr);
    return vk == VK_LBUTTON ? (b & SDL_BUTTON_LMASK) != 0 : (b & SDL_BUTTON_RMASK) != 0;
  }
  const Uint8* keys = SDL_GetKeyboardState(nullptr);
  switch (vk) {
    case VK_RETURN: return keys[SDL_SCANCODE_RETURN] || keys[SDL_SCANCODE_KP_ENTER];
    case VK_ESCAPE: return keys[SDL_SCANCODE_ESCAPE];
    case VK_CONTROL: return keys[SDL_SCANCODE_LCTRL] || keys[SDL_SCANCODE_RCTRL];
    case VK_SPACE: return keys[SDL_SCANCODE_SPACE];
    case VK_TAB: return keys[SDL_SCANCODE_TAB];
    case VK_UP: return keys[SDL_SCANCODE_UP];
    case VK_DOWN: return keys[SDL_SCANCODE_DOWN];
    case VK_LEFT: return keys[SDL_SCANCODE_LEFT];
    case VK_RIGHT: return keys[SDL_SCANCODE_RIGHT];
    case VK_PRIOR: return keys[SDL_SCANCODE_PAGEUP];
    case VK_NEXT: return keys[SDL_SCANCODE_PAGEDOWN];
    case VK_Z: return keys[SDL_SCANCODE_Z];
    case VK_X: return keys[SDL_SCANCODE_X];
    case VK_LMENU: return keys[SDL_SCANCODE_LALT];
    case VK_RMENU: return keys[SDL_SCANCODE_RALT];
    default: return false;
  }
}

}  // namespace

int16_t GetAsyncKeyState(int vk) {
  if (vk < 0 || vk > 255) return 0;
  bool down = gScriptKeys[vk].load(std::memory_order_relaxed) || DeviceKeyDown(vk);
  return down ? static_cast<int16_t>(0x8000) : 0;
}

POINT GetCursorClientPos(HWND hwnd) {
  if (gScriptCursor.load() || gScriptOnly.load()) return POINT{gScriptX.load(), gScriptY.load()};
  if (!DevicesUsed()) return POINT{-1, -1};
  int gx = 0, gy = 0;
  SDL_GetGlobalMouseState(&gx, &gy);
  RECT r = GetWindowRect(hwnd);
  POINT origin = GetPictureOrigin(hwnd);
  if (IsFullScreen(hwnd)) {
    DesktopMode d;
    GetDesktopMode(d);
    return POINT{gx - d.x - origin.x, gy - d.y - origin.y};
  }
  return POINT{gx - r.left, gy - r.top};
}

bool GetSwapButtons() {
  const char* env = getenv("VELTO_SWAP_BUTTONS");
  return env && *env == '1';
}

void SetScriptedKey(int vk, bool down) {
  if (vk >= 0 && vk < 256) gScriptKeys[vk].store(down);
}

void SetScriptedInputOnly(bool only) { gScriptOnly.store(only); }
bool IsScriptedInputOnly() { return gScriptOnly.load(); }

void SetScriptedCursor(int x, int y) {
  gScriptX.store(x);
  gScriptY.store(y);
  gScriptCursor.store(true);
}

void ClearScriptedInput() {
  for (auto& k : gScriptKeys) k.store(false);
  gScriptCursor.store(false);
  gScriptX.store(-1);
  gScriptY.store(-1);
}

std::span<const PolledKey> PolledKeys() { return kKeyNames; }

int VirtualKeyFromName(const char* name) {
  for (const auto& k : kKeyNames)
    if (strcasecmp(k.name, name) == 0) return k.vk;
  return -1;
}

const char* VirtualKeyName(int vk) {
  for (const auto& k : kKeyNames)
    if (k.vk == vk) return k.name;
  return nullptr;
}

}  // namespace plat
