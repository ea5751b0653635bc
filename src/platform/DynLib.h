// Loading an optional shared library by name and looking up entry points.
#pragma once
#include <string>

namespace plat {

using LibHandle = void*;

// The platform's file name for a library called `base` ("VQDebug" → "libVQDebug.so").
std::string SharedLibraryName(const char* base);
LibHandle LoadLibrary(const std::string& path);  // null when missing or broken
void* GetProcAddress(LibHandle lib, const char* name);
void FreeLibrary(LibHandle lib);

}  // namespace plat
