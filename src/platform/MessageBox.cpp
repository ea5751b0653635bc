#include "platform/MessageBox.h"

#include <SDL.h>

#include <cstdio>
#include <mutex>

#include "platform/Encoding.h"
#include "platform/Window.h"

namespace plat {
namespace {
std::mutex gHookLock;
MessageBoxHook gHook;
}  // namespace

void SetMessageBoxHook(MessageBoxHook hook) {
  std::lock_guard<std::mutex> guard(gHookLock);
  gHook = std::move(hook);
}

int MessageBox(HWND, const char* textLocal, const char* captionLocal, uint32_t flags) {
  {
    std::lock_guard<std::mutex> guard(gHookLock);
    if (gHook) return gHook(textLocal, captionLocal, flags);
  }
  bool yesNo = (flags & 0xF) == MB_YESNO;
  std::string text = ToUtf8(textLocal ? textLocal : "");
  std::string caption = ToUtf8(captionLocal ? captionLocal : "");
  if (IsHeadless() || !SDL_WasInit(SDL_INIT_VIDEO)) {
    fprintf(stderr, "[%s] %s\n", caption.c_str(), text.c_str());
    return yesNo ? IDYES : IDOK;
  }
  SDL_MessageBoxButtonData yesNoButtons[] = {
      {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDYES, "Yes"},
      {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDNO, "No"},
  };
  SDL_MessageBoxButtonData okButton[] = {
      {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDOK, "OK"},
  };
  SDL_MessageBoxData data{};
  data.flags = (flags & MB_ICONERROR) ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
  data.title = caption.c_str();
  data.message = text.c_str();
  data.numbuttons = yesNo ? 2 : 1;
  data.buttons = yesNo ? yesNoButtons : okButton;
  int pressed = 0;
  if (SDL_ShowMessageBox(&data, &pressed) != 0) {
    fprintf(stderr, "[%s] %s\n", caption.c_str(), text.c_str());
    return 0;
  }
  return pressed < 0 ? (yesNo ? IDNO : IDOK) : pressed;
}

}  // namespace plat
