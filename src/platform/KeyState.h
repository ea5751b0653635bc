// Polled keyboard and mouse state: whether a key is down now, where the
// cursor is, and whether the buttons are swapped. A scripted state (input
// replay in headless runs and tests) is merged with the real devices.
#pragma once
#include <cstdint>
#include <span>

#include "platform/Win.h"

namespace plat {

// High bit (0x8000) set when the key with that virtual-key code is down.
int16_t GetAsyncKeyState(int vk);
// Cursor position in client coordinates of `hwnd` (may lie outside it).
POINT GetCursorClientPos(HWND hwnd);
// The user's "swap mouse buttons" setting (VELTO_SWAP_BUTTONS=1 here).
bool GetSwapButtons();

// Scripted state. Headless runs have no devices, so this is all they see.
// With `only` set, the real devices are ignored too, so that a replayed
// script gives the same run in a window as headless.
// Activation then comes from the script as well.
void SetScriptedInputOnly(bool only);
bool IsScriptedInputOnly();
void SetScriptedKey(int vk, bool down);
void SetScriptedCursor(int x, int y);
void ClearScriptedInput();

// The seventeen keys the game polls, in polling order, with the names input
// scripts give them ("LBUTTON", "RETURN").
struct PolledKey {
  int vk;
  const char* name;
};
std::span<const PolledKey> PolledKeys();

// Names of the polled keys as input scripts write them.
// -1 for an unknown name; nullptr for an unnamed code.
int VirtualKeyFromName(const char* name);
const char* VirtualKeyName(int vk);

}  // namespace plat
