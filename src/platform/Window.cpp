#include "platform/Window.h"

#include <SDL.h>

#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <mutex>

#include "platform/Encoding.h"
#include "platform/KeyState.h"
#include "platform/Timer.h"

namespace plat {

struct Window {
  SDL_Window* sdl = nullptr;
  SDL_Renderer* renderer = nullptr;
  SDL_Texture* texture = nullptr;
  WNDPROC proc = nullptr;
  void* userData = nullptr;
  std::string title;  // build's encoding
  uint32_t style = 0;
  int x = 0, y = 0, width = 0, height = 0;
  bool visible = false, minimized = false, fullScreen = false, topmost = false, focused = false;
  bool alive = true;
  std::vector<uint32_t> picture;  // what was presented last
  int pictureWidth = 0, pictureHeight = 0;
  std::vector<uint32_t> icon;
  int iconSize = 0;
};

namespace {

bool gHeadless = false;
bool gVideoUp = false;
uint32_t gWakeEvent = 0;
std::vector<Window*> gWindows;

std::mutex gQueueLock;
std::condition_variable gQueueCond;
std::deque<MSG> gQueue;
bool gQuitPosted = false;
int gQuitCode = 0;

Window* FromSdlId(uint32_t id) {
  for (Window* w : gWindows)
    if (w->sdl && SDL_GetWindowID(w->sdl) == id) return w;
  return nullptr;
}

void Enqueue(HWND hwnd, uint32_t msg, WPARAM wp, LPARAM lp) {
  std::lock_guard<std::mutex> guard(gQueueLock);
  gQueue.push_back(MSG{hwnd, msg, wp, lp});
}

uint32_t ModifierKeys() {
  uint32_t keys = 0;
  uint32_t buttons = SDL_GetMouseState(nullptr, nullptr);
  if (buttons & SDL_BUTTON_LMASK) keys |= 0x0001;
  if (buttons & SDL_BUTTON_RMASK) keys |= 0x0002;
  SDL_Keymod mod = SDL_GetModState();
  if (mod & KMOD_SHIFT) keys |= 0x0004;
  if (mod & KMOD_CTRL) keys |= 0x0008;
  if (buttons & SDL_BUTTON_MMASK) keys |= 0x0010;
  return keys;
}

LPARAM PointParam(int x, int y) {
  return static_cast<LPARAM>(MakeLong(static_cast<uint16_t>(x), static_cast<uint16_t>(y)));
}

int VirtualKeyOf(SDL_Keycode key) {
  switch (key) {
    case SDLK_RETURN: case SDLK_KP_ENTER: return VK_RETURN;
    case SDLK_ESCAPE: return VK_ESCAPE;
    case SDLK_TAB: return VK_TAB;
    case SDLK_SPACE: return VK_SPACE;
    case SDLK_UP: return VK_UP;
    case SDLK_DOWN: return VK_DOWN;
    case SDLK_LEFT: return VK_LEFT;
    case SDLK_RIGHT: return VK_RIGHT;
    case SDLK_PAGEUP: return VK_PRIOR;
    case SDLK_PAGEDOWN: return VK_NEXT;
    case SDLK_LCTRL: case SDLK_RCTRL: return VK_CONTROL;
    case SDLK_LALT: return VK_LMENU;
    case SDLK_RALT: return VK_RMENU;
    default:
      if (key >= 'a' && key <= 'z') return key - 'a' + 'A';
      if (key >= '0' && key <= '9') return key;
      return 0;
  }
}

void Translate(const SDL_Event& e) {
  switch (e.type) {
    case SDL_QUIT:
      for (Window* w : gWindows) Enqueue(w, WM_CLOSE, 0, 0);
      break;
    case SDL_WINDOWEVENT: {
      Window* w = FromSdlId(e.window.windowID);
      if (!w) break;
      switch (e.window.event) {
        case SDL_WINDOWEVENT_CLOSE: Enqueue(w, WM_CLOSE, 0, 0); break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
          if (IsScriptedInputOnly()) break;  // a replayed run takes activation from its script
          w->focused = true;
          Enqueue(w, WM_ACTIVATE, MakeLong(WA_ACTIVE, w->minimized ? 1 : 0), 0);
          Enqueue(w, WM_ACTIVATEAPP, 1, 0);
          break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
          if (IsScriptedInputOnly()) break;
          w->focused = false;
          Enqueue(w, WM_ACTIVATE, MakeLong(WA_INACTIVE, w->minimized ? 1 : 0), 0);
          Enqueue(w, WM_ACTIVATEAPP, 0, 0);
          break;
        case SDL_WINDOWEVENT_MINIMIZED:
          w->minimized = true;
          Enqueue(w, WM_ACTIVATE, MakeLong(w->focused ? WA_ACTIVE : WA_INACTIVE, 1), 0);
          break;
        case SDL_WINDOWEVENT_RESTORED:
          if (w->minimized) {
            w->minimized = false;
            Enqueue(w, WM_ACTIVATE, MakeLong(w->focused ? WA_ACTIVE : WA_INACTIVE, 0), 0);
          }
          break;
        case SDL_WINDOWEVENT_MOVED:
          if (!w->fullScreen) {
            w->x = e.window.data1;
            w->y = e.window.data2;
          }
          Enqueue(w, WM_MOVE, 0, PointParam(e.window.data1, e.window.data2));
          break;
        case SDL_WINDOWEVENT_EXPOSED:
          Enqueue(w, WM_ERASEBKGND, 0, 0);
          Enqueue(w, WM_PAINT, 0, 0);
          break;
        default: break;
      }
      break;
    }
    case SDL_KEYDOWN: {
      Window* w = FromSdlId(e.key.windowID);
      if (!w) break;
      int vk = VirtualKeyOf(e.key.keysym.sym);
      bool alt = (e.key.keysym.mod & KMOD_ALT) != 0;
      Enqueue(w, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, static_cast<WPARAM>(vk), 0);
      if (alt && vk == VK_RETURN) Enqueue(w, WM_SYSCHAR, '\r', 0);
      break;
    }
    case SDL_KEYUP: {
      Window* w = FromSdlId(e.key.windowID);
      if (w) Enqueue(w, WM_KEYUP, static_cast<WPARAM>(VirtualKeyOf(e.key.keysym.sym)), 0);
      break;
    }
    case SDL_TEXTINPUT: {
      Window* w = FromSdlId(e.text.windowID);
      if (!w) break;
      // One message per character; non-ASCII characters carry their code point.
      const unsigned char* s = reinterpret_cast<const unsigned char*>(e.text.text);
      while (*s) {
        uint32_t cp = *s++;
        int extra = cp >= 0xF0 ? 3 : cp >= 0xE0 ? 2 : cp >= 0xC0 ? 1 : 0;
        if (extra) cp &= (0x3F >> extra);
        for (int i = 0; i < extra && (*s & 0xC0) == 0x80; ++i) cp = (cp << 6) | (*s++ & 0x3F);
        Enqueue(w, WM_CHAR, cp, 0);
      }
      break;
    }
    case SDL_MOUSEWHEEL: {
      Window* w = FromSdlId(e.wheel.windowID);
      if (!w) break;
      int gx = 0, gy = 0;
      SDL_GetGlobalMouseState(&gx, &gy);
      int delta = e.wheel.y * 120;
      if (e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) delta = -delta;
      Enqueue(w, WM_MOUSEWHEEL, MakeLong(ModifierKeys(), static_cast<uint16_t>(delta)), PointParam(gx, gy));
      break;
    }
    case SDL_MOUSEMOTION: {
      Window* w = FromSdlId(e.motion.windowID);
      if (w) Enqueue(w, WM_MOUSEMOVE, ModifierKeys(), PointParam(e.motion.x, e.motion.y));
      break;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      Window* w = FromSdlId(e.button.windowID);
      if (!w) break;
      bool down = e.type == SDL_MOUSEBUTTONDOWN;
      uint32_t msg = 0;
      if (e.button.button == SDL_BUTTON_LEFT)
        msg = down ? (e.button.clicks == 2 ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN) : WM_LBUTTONUP;
      else if (e.button.button == SDL_BUTTON_RIGHT)
        msg = down ? (e.button.clicks == 2 ? WM_RBUTTONDBLCLK : WM_RBUTTONDOWN) : WM_RBUTTONUP;
      if (msg) Enqueue(w, msg, ModifierKeys(), PointParam(e.button.x, e.button.y));
      break;
    }
    default: break;  // including the wake-up event of PostMessage
  }
}

void PumpEvents() {
  if (!gVideoUp) return;
  SDL_Event e;
  while (SDL_PollEvent(&e)) Translate(e);
}

void PlacePicture(Window* w, SDL_Rect& dst) {
  int ow = w->width, oh = w->height;
  if (w->sdl) SDL_GetRendererOutputSize(w->renderer, &ow, &oh);
  dst = SDL_Rect{(ow - w->width) / 2, (oh - w->height) / 2, w->width, w->height};
  if (!w->fullScreen) dst.x = dst.y = 0;
}

void RenderPicture(Window* w) {
  if (!w->renderer || !w->texture) return;
  SDL_Rect dst;
  PlacePicture(w, dst);
  SDL_SetRenderDrawColor(w->renderer, 0, 0, 0, 255);
  SDL_RenderClear(w->renderer);
  SDL_RenderCopy(w->renderer, w->texture, nullptr, &dst);
}

}  // namespace

void SetHeadless(bool headless) { gHeadless = headless; }
bool IsHeadless() { return gHeadless; }

bool InitVideo() {
  if (gHeadless) return true;
  if (gVideoUp) return true;
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  // The close button already sends the window's close message; a second,
  // from the quit event SDL adds for the last window, would ask again.
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
    fprintf(stderr, "veltogame: cannot open a display: %s\n", SDL_GetError());
    return false;
  }
  gWakeEvent = SDL_RegisterEvents(1);
  gVideoUp = true;
  return true;
}

void ShutdownVideo() {
  if (!gVideoUp) return;
  SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
  gVideoUp = false;
}

bool GetDesktopMode(DesktopMode& mode) {
  if (gHeadless || !gVideoUp) {
    mode = DesktopMode{0, 0, 1920, 1080, 32};
    if (const char* env = getenv("VELTO_DESKTOP")) {
      int w = 0, h = 0;
      if (sscanf(env, "%dx%d", &w, &h) == 2 && w > 0 && h > 0) {
        mode.width = w;
        mode.height = h;
      }
    }
    return true;
  }
  SDL_DisplayMode dm;
  if (SDL_GetDesktopDisplayMode(0, &dm) != 0) return false;
  SDL_Rect bounds;
  if (SDL_GetDisplayBounds(0, &bounds) != 0) bounds = SDL_Rect{0, 0, dm.w, dm.h};
  mode.x = bounds.x;
  mode.y = bounds.y;
  mode.width = dm.w;
  mode.height = dm.h;
  mode.bitsPerPixel = static_cast<int>(SDL_BITSPERPIXEL(dm.format));
  if (mode.bitsPerPixel == 24 && SDL_BYTESPERPIXEL(dm.format) == 4) mode.bitsPerPixel = 32;
  return true;
}

HWND CreateWindow(const char* titleLocal, uint32_t style, int x, int y, int width, int height, WNDPROC proc,
                  void* createParam) {
  auto* w = new Window;
  w->title = titleLocal ? titleLocal : "";
  w->style = style;
  w->x = x;
  w->y = y;
  w->width = width;
  w->height = height;
  w->proc = proc ? proc : DefWindowProc;
  w->picture.assign(static_cast<size_t>(width) * height, 0xFF000000u);
  w->pictureWidth = width;
  w->pictureHeight = height;
  if (!gHeadless) {
    if (!gVideoUp && !InitVideo()) {
      delete w;
      return nullptr;
    }
    uint32_t flags = SDL_WINDOW_HIDDEN;
    if (!(style & WS_CAPTION)) flags |= SDL_WINDOW_BORDERLESS;
    w->sdl = SDL_CreateWindow(ToUtf8(w->title).c_str(), x, y, width, height, flags);
    if (!w->sdl) {
      fprintf(stderr, "veltogame: cannot create the window: %s\n", SDL_GetError());
      delete w;
      return nullptr;
    }
    w->renderer = SDL_CreateRenderer(w->sdl, -1, 0);
    if (!w->renderer) w->renderer = SDL_CreateRenderer(w->sdl, -1, SDL_RENDERER_SOFTWARE);
    if (w->renderer)
      w->texture = SDL_CreateTexture(w->renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, width, height);
    if (!w->renderer || !w->texture) {
      fprintf(stderr, "veltogame: cannot create the window surface: %s\n", SDL_GetError());
      if (w->renderer) SDL_DestroyRenderer(w->renderer);
      SDL_DestroyWindow(w->sdl);
      delete w;
      return nullptr;
    }
    SDL_SetTextureBlendMode(w->texture, SDL_BLENDMODE_NONE);
    SDL_UpdateTexture(w->texture, nullptr, w->picture.data(), width * 4);
  }
  gWindows.push_back(w);
  if (CallWindowProc(w->proc, w, WM_CREATE, 0, reinterpret_cast<LPARAM>(createParam)) == -1) {
    DestroyWindow(w);
    return nullptr;
  }
  return w;
}

bool DestroyWindow(HWND hwnd) {
  if (!IsWindow(hwnd) || !hwnd->alive) return false;
  hwnd->alive = false;
  CallWindowProc(hwnd->proc, hwnd, WM_DESTROY, 0, 0);
  CallWindowProc(hwnd->proc, hwnd, WM_NCDESTROY, 0, 0);
  if (hwnd->texture) SDL_DestroyTexture(hwnd->texture);
  if (hwnd->renderer) SDL_DestroyRenderer(hwnd->renderer);
  if (hwnd->sdl) SDL_DestroyWindow(hwnd->sdl);
  gWindows.erase(std::remove(gWindows.begin(), gWindows.end(), hwnd), gWindows.end());
  {
    // Messages still queued for the window would reach freed memory.
    std::lock_guard<std::mutex> guard(gQueueLock);
    for (auto& m : gQueue)
      if (m.hwnd == hwnd) m.hwnd = nullptr;
  }
  delete hwnd;
  return true;
}

bool IsWindow(HWND hwnd) {
  return hwnd && std::find(gWindows.begin(), gWindows.end(), hwnd) != gWindows.end();
}

LRESULT DefWindowProc(HWND hwnd, uint32_t msg, WPARAM, LPARAM) {
  switch (msg) {
    case WM_CLOSE: DestroyWindow(hwnd); return 0;
    case WM_ERASEBKGND: return 1;
    default: return 0;
  }
}

LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, uint32_t msg, WPARAM wp, LPARAM lp) {
  return proc ? proc(hwnd, msg, wp, lp) : DefWindowProc(hwnd, msg, wp, lp);
}

WNDPROC GetWindowProc(HWND hwnd) { return IsWindow(hwnd) ? hwnd->proc : nullptr; }
void SetWindowProc(HWND hwnd, WNDPROC proc) {
  if (IsWindow(hwnd)) hwnd->proc = proc ? proc : DefWindowProc;
}
void* GetWindowUserData(HWND hwnd) { return IsWindow(hwnd) ? hwnd->userData : nullptr; }
void SetWindowUserData(HWND hwnd, void* data) {
  if (IsWindow(hwnd)) hwnd->userData = data;
}
std::string GetWindowTitle(HWND hwnd) { return IsWindow(hwnd) ? hwnd->title : std::string(); }

LRESULT SendMessage(HWND hwnd, uint32_t msg, WPARAM wp, LPARAM lp) {
  if (!IsWindow(hwnd)) return 0;
  return CallWindowProc(hwnd->proc, hwnd, msg, wp, lp);
}

bool PostMessage(HWND hwnd, uint32_t msg, WPARAM wp, LPARAM lp) {
  {
    std::lock_guard<std::mutex> guard(gQueueLock);
    gQueue.push_back(MSG{hwnd, msg, wp, lp});
  }
  gQueueCond.notify_all();
  if (gVideoUp && gWakeEvent != static_cast<uint32_t>(-1)) {
    SDL_Event e{};
    e.type = gWakeEvent;
    SDL_PushEvent(&e);
  }
  return true;
}

void PostQuitMessage(int code) {
  {
    std::lock_guard<std::mutex> guard(gQueueLock);
    gQuitPosted = true;
    gQuitCode = code;
  }
  gQueueCond.notify_all();
}

bool PeekMessage(MSG& msg) {
  PumpEvents();
  std::lock_guard<std::mutex> guard(gQueueLock);
  if (!gQueue.empty()) {
    msg = gQueue.front();
    gQueue.pop_front();
    return true;
  }
  // The quit message comes once the queue has drained, as on the desktop.
  if (gQuitPosted) {
    gQuitPosted = false;
    msg = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(gQuitCode), 0};
    return true;
  }
  return false;
}

LRESULT DispatchMessage(const MSG& msg) {
  if (!msg.hwnd) return 0;  // messages without a window are dropped
  return SendMessage(msg.hwnd, msg.message, msg.wParam, msg.lParam);
}

void WaitForMessages(uint32_t ms) {
  if (IsVirtualClock()) {
    AdvanceVirtualClock(ms);
    return;
  }
  {
    std::lock_guard<std::mutex> guard(gQueueLock);
    if (!gQueue.empty() || gQuitPosted) return;
  }
  if (gVideoUp) {
    SDL_Event e;
    if (SDL_WaitEventTimeout(&e, static_cast<int>(ms))) Translate(e);
    return;
  }
  std::unique_lock<std::mutex> lock(gQueueLock);
  gQueueCond.wait_for(lock, std::chrono::milliseconds(ms), [] { return !gQueue.empty() || gQuitPosted; });
}

void ShowWindow(HWND hwnd, int cmd) {
  if (!IsWindow(hwnd)) return;
  switch (cmd) {
    case SW_HIDE:
      hwnd->visible = false;
      if (hwnd->sdl) SDL_HideWindow(hwnd->sdl);
      break;
    case SW_SHOW:
      hwnd->visible = true;
      if (hwnd->sdl) {
        SDL_ShowWindow(hwnd->sdl);
        SDL_RaiseWindow(hwnd->sdl);
      }
      if ((!hwnd->sdl || IsScriptedInputOnly()) && !hwnd->focused) {
        // A headless or replayed window is active as soon as it is shown.
        hwnd->focused = true;
        Enqueue(hwnd, WM_ACTIVATE, MakeLong(WA_ACTIVE, 0), 0);
        Enqueue(hwnd, WM_ACTIVATEAPP, 1, 0);
      }
      break;
    case SW_MINIMIZE:
      if (hwnd->sdl) {
        SDL_MinimizeWindow(hwnd->sdl);
      } else if (!hwnd->minimized) {
        hwnd->minimized = true;
        Enqueue(hwnd, WM_ACTIVATE, MakeLong(WA_INACTIVE, 1), 0);
      }
      break;
    case SW_RESTORE:
      if (hwnd->sdl) {
        SDL_RestoreWindow(hwnd->sdl);
      } else if (hwnd->minimized) {
        hwnd->minimized = false;
        Enqueue(hwnd, WM_ACTIVATE, MakeLong(WA_ACTIVE, 0), 0);
      }
      break;
    default: break;
  }
}

bool IsIconic(HWND hwnd) { return IsWindow(hwnd) && hwnd->minimized; }
bool IsWindowVisible(HWND hwnd) { return IsWindow(hwnd) && hwnd->visible; }

void SetWindowStyle(HWND hwnd, uint32_t style) {
  if (!IsWindow(hwnd)) return;
  hwnd->style = style;
  if (hwnd->sdl && !hwnd->fullScreen) SDL_SetWindowBordered(hwnd->sdl, (style & WS_CAPTION) ? SDL_TRUE : SDL_FALSE);
}

uint32_t GetWindowStyle(HWND hwnd) { return IsWindow(hwnd) ? hwnd->style : 0; }

void MoveWindow(HWND hwnd, int x, int y) {
  if (!IsWindow(hwnd)) return;
  hwnd->x = x;
  hwnd->y = y;
  if (hwnd->sdl && !hwnd->fullScreen) SDL_SetWindowPosition(hwnd->sdl, x, y);
}

RECT GetWindowRect(HWND hwnd) {
  if (!IsWindow(hwnd)) return {};
  int x = hwnd->x, y = hwnd->y;
  if (hwnd->sdl && !hwnd->fullScreen) SDL_GetWindowPosition(hwnd->sdl, &x, &y);
  return RECT{x, y, x + hwnd->width, y + hwnd->height};
}

void SetTopmost(HWND hwnd, bool topmost) {
  if (!IsWindow(hwnd)) return;
  hwnd->topmost = topmost;
  if (hwnd->sdl) SDL_SetWindowAlwaysOnTop(hwnd->sdl, topmost ? SDL_TRUE : SDL_FALSE);
}

void BringToFront(HWND hwnd) {
  if (IsWindow(hwnd) && hwnd->sdl) SDL_RaiseWindow(hwnd->sdl);
}

bool SetFullScreen(HWND hwnd, bool on) {
  if (!IsWindow(hwnd)) return false;
  if (hwnd->sdl && SDL_SetWindowFullscreen(hwnd->sdl, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) return false;
  hwnd->fullScreen = on;
  if (!on && hwnd->sdl) SDL_SetWindowPosition(hwnd->sdl, hwnd->x, hwnd->y);
  return true;
}

bool IsFullScreen(HWND hwnd) { return IsWindow(hwnd) && hwnd->fullScreen; }

void SetWindowIcon(HWND hwnd, const std::vector<uint32_t>& pixels, int size) {
  if (!IsWindow(hwnd) || size <= 0 || pixels.size() != static_cast<size_t>(size) * size) return;
  hwnd->icon = pixels;
  hwnd->iconSize = size;
  if (!hwnd->sdl) return;
  SDL_Surface* surface =
      SDL_CreateRGBSurfaceWithFormatFrom(hwnd->icon.data(), size, size, 32, size * 4, SDL_PIXELFORMAT_ARGB8888);
  if (!surface) return;
  SDL_SetWindowIcon(hwnd->sdl, surface);  // SDL keeps its own copy
  SDL_FreeSurface(surface);
}

const std::vector<uint32_t>& GetWindowIcon(HWND hwnd, int& size) {
  static const std::vector<uint32_t> none;
  size = IsWindow(hwnd) ? hwnd->iconSize : 0;
  return IsWindow(hwnd) ? hwnd->icon : none;
}

POINT GetPictureOrigin(HWND hwnd) {
  if (!IsWindow(hwnd) || !hwnd->sdl) return {};
  SDL_Rect dst;
  PlacePicture(hwnd, dst);
  return POINT{dst.x, dst.y};
}

void Present(HWND hwnd, const uint32_t* pixels, int width, int height, const RECT* rects, int count) {
  if (!IsWindow(hwnd) || !pixels || width != hwnd->width || height != hwnd->height) return;
  for (int i = 0; i < count; ++i) {
    RECT r = rects[i];
    r.left = std::max(r.left, 0);
    r.top = std::max(r.top, 0);
    r.right = std::min(r.right, width);
    r.bottom = std::min(r.bottom, height);
    if (r.left >= r.right || r.top >= r.bottom) continue;
    for (int y = r.top; y < r.bottom; ++y)
      memcpy(&hwnd->picture[static_cast<size_t>(y) * width + r.left], pixels + static_cast<size_t>(y) * width + r.left,
             static_cast<size_t>(r.right - r.left) * 4);
    if (hwnd->texture) {
      SDL_Rect sr{r.left, r.top, r.right - r.left, r.bottom - r.top};
      SDL_UpdateTexture(hwnd->texture, &sr, pixels + static_cast<size_t>(r.top) * width + r.left, width * 4);
    }
  }
  if (hwnd->renderer) {
    RenderPicture(hwnd);
    SDL_RenderPresent(hwnd->renderer);
  }
}

const std::vector<uint32_t>& GetPresentedPicture(HWND hwnd, int& width, int& height) {
  width = hwnd->pictureWidth;
  height = hwnd->pictureHeight;
  return hwnd->picture;
}

bool ReadBackWindow(HWND hwnd, std::vector<uint32_t>& pixels) {
  if (!IsWindow(hwnd)) return false;
  if (!hwnd->renderer) {
    pixels = hwnd->picture;
    return true;
  }
  RenderPicture(hwnd);
  SDL_Rect dst;
  PlacePicture(hwnd, dst);
  pixels.assign(static_cast<size_t>(hwnd->width) * hwnd->height, 0);
  bool ok = SDL_RenderReadPixels(hwnd->renderer, &dst, SDL_PIXELFORMAT_ARGB8888, pixels.data(), hwnd->width * 4) == 0;
  SDL_RenderPresent(hwnd->renderer);
  return ok;
}

}  // namespace plat
