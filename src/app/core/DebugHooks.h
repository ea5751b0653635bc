// Reports to the optional debugger library beside the program. Every report
// is skipped when no library is loaded or it lacks that entry point; nothing
// the library does changes the program.
#pragma once
#include <cstdint>

#include "platform/Win.h"

// Loads the library from the installation directory and sends "VQDInitialize"
// (with the window when `attachWindow`). A missing library is not an error.
void DebugAttach(plat::HWND hwnd, bool attachWindow);
// Sends "VQDRelease" and unloads the library.
void DebugDetach();

void DebugOnUpdateValue(int32_t index, int32_t value);
void DebugOnSnrFileChange(const char* name);
void DebugOnSnrCmdChange(int32_t position);
void DebugOnUpdateLayImage(int32_t page, int32_t layer, const char* name, int32_t a, int32_t b, int32_t c);
void DebugOnUpdateLayDrawPos(int32_t page, int32_t layer, int32_t x, int32_t y, int32_t z);
void DebugOnUpdateLayDrawSize(int32_t page, int32_t layer, int32_t width, int32_t height);
void DebugOnUpdateLayColor(int32_t page, int32_t layer, uint32_t color);
void DebugOnUpdateLayBlend(int32_t page, int32_t layer, int32_t flag);
void DebugOnUpdateLayAnti(int32_t page, int32_t layer, int32_t flag);
void DebugOnUpdateLayActListNo(int32_t page, int32_t layer, int32_t action);
void DebugOnUpdateLayCamera(int32_t page, int32_t layer, int32_t value);
void DebugOnUpdateLayCamBill(int32_t page, int32_t layer, int32_t value);
void DebugOnUpdateLayCamXYRate(int32_t page, int32_t layer, int32_t value);
void DebugOnUpdateLayCamWRate(int32_t page, int32_t layer, int32_t value);
void DebugOnLayOverlap();
