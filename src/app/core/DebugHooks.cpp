#include "app/core/DebugHooks.h"

#include <string>

#include "app/core/MainWindow.h"
#include "app/core/Trace.h"
#include "platform/DynLib.h"

namespace {

// Looks the entry point up at each use, as the library may lack any of them.
template <typename... Args>
void Send(const char* entry, Args... args) {
  if (!gpMainWindow || !gpMainWindow->mhDebugDll) return;
  using Fn = void (*)(Args...);
  if (auto fn = reinterpret_cast<Fn>(plat::GetProcAddress(gpMainWindow->mhDebugDll, entry))) fn(args...);
}

}  // namespace

void DebugAttach(plat::HWND hwnd, bool attachWindow) {
  Trace("CMainWindow::DebugAttach");
  if (!gpMainWindow) return;
  std::string path = std::string(gszInstallDir) + plat::SharedLibraryName("VQDebug");
  gpMainWindow->mhDebugDll = plat::LoadLibrary(path);
  if (!gpMainWindow->mhDebugDll) return;
  Send("VQDInitialize", attachWindow ? static_cast<void*>(hwnd) : nullptr);
}

void DebugDetach() {
  Trace("CMainWindow::DebugDetach");
  if (!gpMainWindow || !gpMainWindow->mhDebugDll) return;
  Send("VQDRelease");
  plat::FreeLibrary(gpMainWindow->mhDebugDll);
  gpMainWindow->mhDebugDll = nullptr;
}

void DebugOnUpdateValue(int32_t index, int32_t value) { Send("VQDOnUpdateValue", index, value); }
void DebugOnSnrFileChange(const char* name) { Send("VQDOnSnrFileChange", name); }
void DebugOnSnrCmdChange(int32_t position) { Send("VQDOnSnrCmdChange", position); }
void DebugOnUpdateLayImage(int32_t page, int32_t layer, const char* name, int32_t a, int32_t b, int32_t c) {
  Send("VQDOnUpdateLayImage", page, layer, name ? name : "", a, b, c);
}
void DebugOnUpdateLayDrawPos(int32_t page, int32_t layer, int32_t x, int32_t y, int32_t z) {
  Send("VQDOnUpdateLayDrawPos", page, layer, x, y, z);
}
void DebugOnUpdateLayDrawSize(int32_t page, int32_t layer, int32_t width, int32_t height) {
  Send("VQDOnUpdateLayDrawSize", page, layer, width, height);
}
void DebugOnUpdateLayColor(int32_t page, int32_t layer, uint32_t color) {
  Send("VQDOnUpdateLayColor", page, layer, color);
}
void DebugOnUpdateLayBlend(int32_t page, int32_t layer, int32_t flag) { Send("VQDOnUpdateLayBlend", page, layer, flag); }
void DebugOnUpdateLayAnti(int32_t page, int32_t layer, int32_t flag) { Send("VQDOnUpdateLayAnti", page, layer, flag); }
void DebugOnUpdateLayActListNo(int32_t page, int32_t layer, int32_t action) {
  Send("VQDOnUpdateLayActListNo", page, layer, action);
}
void DebugOnUpdateLayCamera(int32_t page, int32_t layer, int32_t value) {
  Send("VQDOnUpdateLayCamera", page, layer, value);
}
void DebugOnUpdateLayCamBill(int32_t page, int32_t layer, int32_t value) {
  Send("VQDOnUpdateLayCamBill", page, layer, value);
}
void DebugOnUpdateLayCamXYRate(int32_t page, int32_t layer, int32_t value) {
  Send("VQDOnUpdateLayCamXYRate", page, layer, value);
}
void DebugOnUpdateLayCamWRate(int32_t page, int32_t layer, int32_t value) {
  Send("VQDOnUpdateLayCamWRate", page, layer, value);
}
void DebugOnLayOverlap() { Send("VQDOnLayOverlap"); }
