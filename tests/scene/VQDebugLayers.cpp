// A debugger library for the scene tests: appends every layer report it
// receives, with its arguments, to the file named by VELTO_VQDEBUG_LOG.
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace {
void Log(const char* fmt, ...) {
  const char* path = getenv("VELTO_VQDEBUG_LOG");
  if (!path) return;
  if (FILE* f = fopen(path, "ab")) {
    va_list args;
    va_start(args, fmt);
    vfprintf(f, fmt, args);
    va_end(args);
    fputc('\n', f);
    fclose(f);
  }
}
}  // namespace

extern "C" {
void VQDOnUpdateLayImage(int page, int layer, const char* name, int w, int h, int) {
  Log("Image %d %d %s %d %d", page, layer, name, w, h);
}
void VQDOnUpdateLayDrawPos(int page, int layer, int x, int y, int z) { Log("DrawPos %d %d %d %d %d", page, layer, x, y, z); }
void VQDOnUpdateLayDrawSize(int page, int layer, int w, int h) { Log("DrawSize %d %d %d %d", page, layer, w, h); }
void VQDOnUpdateLayColor(int page, int layer, unsigned c) { Log("Color %d %d %08X", page, layer, c); }
void VQDOnUpdateLayBlend(int page, int layer, int v) { Log("Blend %d %d %d", page, layer, v); }
void VQDOnUpdateLayAnti(int page, int layer, int v) { Log("Anti %d %d %d", page, layer, v); }
void VQDOnUpdateLayActListNo(int page, int layer, int v) { Log("ActListNo %d %d %d", page, layer, v); }
void VQDOnUpdateLayCamera(int page, int layer, int v) { Log("Camera %d %d %d", page, layer, v); }
void VQDOnUpdateLayCamBill(int page, int layer, int v) { Log("CamBill %d %d %d", page, layer, v); }
void VQDOnUpdateLayCamXYRate(int page, int layer, int v) { Log("CamXYRate %d %d %d", page, layer, v); }
void VQDOnUpdateLayCamWRate(int page, int layer, int v) { Log("CamWRate %d %d %d", page, layer, v); }
void VQDOnLayOverlap() { Log("LayOverlap"); }
}
