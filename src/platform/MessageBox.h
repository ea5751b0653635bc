// Modal message boxes. Texts are in the build's encoding. A headless run
// writes the text to standard error and answers at once with the first
// button. A box that cannot be shown writes its text to standard error and
// answers 0, which is no button: the caller decides what that means.
#pragma once
#include <cstdint>
#include <functional>

#include "platform/Win.h"

namespace plat {

enum : uint32_t {
  MB_OK = 0x0,
  MB_YESNO = 0x4,
  MB_ICONERROR = 0x10,
  MB_ICONQUESTION = 0x20,
  MB_SETFOREGROUND = 0x10000,
};
enum { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };

int MessageBox(HWND owner, const char* textLocal, const char* captionLocal, uint32_t flags);

// Tests answer boxes themselves: the hook sees every box and returns the
// button pressed. Pass an empty function to remove it.
using MessageBoxHook = std::function<int(const char* textLocal, const char* captionLocal, uint32_t flags)>;
void SetMessageBoxHook(MessageBoxHook hook);

}  // namespace plat
