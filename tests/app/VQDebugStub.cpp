// A debugger library for tests: appends every report it receives to the file
// named by VELTO_VQDEBUG_LOG.
#include <cstdio>
#include <cstdlib>

namespace {
void Log(const char* fmt, long a = 0, long b = 0) {
  const char* path = getenv("VELTO_VQDEBUG_LOG");
  if (!path) return;
  if (FILE* f = fopen(path, "ab")) {
    fprintf(f, fmt, a, b);
    fputc('\n', f);
    fclose(f);
  }
}
}  // namespace

extern "C" {
void VQDInitialize(void* hwnd) { Log("VQDInitialize %ld", hwnd != nullptr); }
void VQDRelease() { Log("VQDRelease"); }
void VQDOnUpdateValue(int index, int value) { Log("VQDOnUpdateValue %ld %ld", index, value); }
}
