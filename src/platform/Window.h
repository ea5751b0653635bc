// One top-level window and the message queue that feeds it. In a normal run
// the window is an SDL window whose events become messages; in a headless run
// there is no display at all and presentation goes to a picture in memory.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Win.h"

namespace plat {

// Chooses the headless back end for every window made afterwards. Must be
// called before InitVideo.
void SetHeadless(bool headless);
bool IsHeadless();

// Starts the window system. False (with the reason on standard error) when no
// display can be opened. Headless runs always succeed.
bool InitVideo();
void ShutdownVideo();

// The desktop (the display the window opens on): origin, size and depth. A
// headless run reports 1920 × 1080 × 32 unless VELTO_DESKTOP=WxH says otherwise.
struct DesktopMode {
  int x = 0, y = 0, width = 0, height = 0, bitsPerPixel = 0;
};
bool GetDesktopMode(DesktopMode& mode);

enum : uint32_t {
  WS_CAPTION = 0x00C00000,
  WS_SYSMENU = 0x00080000,
  WS_MINIMIZEBOX = 0x00020000,
  WS_POPUP = 0x80000000,
};

// Creates a hidden window whose client area is `width` × `height` at (x, y).
// The window procedure receives WM_CREATE (lParam = createParam) before this
// returns. `titleLocal` is in the build's encoding.
HWND CreateWindow(const char* titleLocal, uint32_t style, int x, int y, int width, int height, WNDPROC proc,
                  void* createParam);
// Sends WM_DESTROY then WM_NCDESTROY and frees the window.
bool DestroyWindow(HWND hwnd);
bool IsWindow(HWND hwnd);

LRESULT DefWindowProc(HWND hwnd, uint32_t msg, WPARAM wp, LPARAM lp);
LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, uint32_t msg, WPARAM wp, LPARAM lp);
WNDPROC GetWindowProc(HWND hwnd);
void SetWindowProc(HWND hwnd, WNDPROC proc);
void* GetWindowUserData(HWND hwnd);
void SetWindowUserData(HWND hwnd, void* data);
std::string GetWindowTitle(HWND hwnd);  // build's encoding

struct MSG {
  HWND hwnd = nullptr;
  uint32_t message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
};

// Calls the window procedure at once.
LRESULT SendMessage(HWND hwnd, uint32_t msg, WPARAM wp, LPARAM lp);
// Queues a message; safe from any thread.
bool PostMessage(HWND hwnd, uint32_t msg, WPARAM wp, LPARAM lp);
void PostQuitMessage(int code);
// Removes the next message, first turning pending window-system events into
// messages. False when the queue is empty.
bool PeekMessage(MSG& msg);
LRESULT DispatchMessage(const MSG& msg);
// Waits until a message is queued or `ms` milliseconds pass. On the virtual
// clock it moves time forward instead of sleeping.
void WaitForMessages(uint32_t ms);

// Placement and style.
enum { SW_HIDE = 0, SW_SHOW = 5, SW_MINIMIZE = 6, SW_RESTORE = 9 };
void ShowWindow(HWND hwnd, int cmd);
bool IsIconic(HWND hwnd);
bool IsWindowVisible(HWND hwnd);
void SetWindowStyle(HWND hwnd, uint32_t style);
uint32_t GetWindowStyle(HWND hwnd);
void MoveWindow(HWND hwnd, int x, int y);
RECT GetWindowRect(HWND hwnd);  // client area in screen coordinates
void SetTopmost(HWND hwnd, bool topmost);
void BringToFront(HWND hwnd);
// Full screen is a borderless desktop-sized window with the picture centred
// and unscaled; the display mode is never changed. False when refused.
bool SetFullScreen(HWND hwnd, bool on);
bool IsFullScreen(HWND hwnd);
// Where client pixel (0, 0) of the picture lies inside the window surface.
POINT GetPictureOrigin(HWND hwnd);

// The window's icon: `size` × `size` 0xAARRGGBB words. The window keeps a
// copy (headless ones too, for tests).
void SetWindowIcon(HWND hwnd, const std::vector<uint32_t>& pixels, int size);
const std::vector<uint32_t>& GetWindowIcon(HWND hwnd, int& size);

// Copies the listed rectangles (right and bottom exclusive) of a top-down
// 32-bit picture (0xAARRGGBB words) to the window and shows it.
void Present(HWND hwnd, const uint32_t* pixels, int width, int height, const RECT* rects, int count);
// The picture last presented, as kept by the window (headless and real).
const std::vector<uint32_t>& GetPresentedPicture(HWND hwnd, int& width, int& height);
// Reads the picture back from the real window surface (for tests of the real
// back end); headless windows return the kept picture. False on failure.
bool ReadBackWindow(HWND hwnd, std::vector<uint32_t>& pixels);

}  // namespace plat
