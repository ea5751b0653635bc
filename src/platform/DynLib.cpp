#include "platform/DynLib.h"

#include <dlfcn.h>

namespace plat {

std::string SharedLibraryName(const char* base) { return std::string("lib") + base + ".so"; }

LibHandle LoadLibrary(const std::string& path) { return dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL); }

void* GetProcAddress(LibHandle lib, const char* name) { return lib ? dlsym(lib, name) : nullptr; }

void FreeLibrary(LibHandle lib) {
  if (lib) dlclose(lib);
}

}  // namespace plat
