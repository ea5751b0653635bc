// velto-icon: writes the program's icon as a PNG file at one size, for the
// desktop entry the build installs. Usage: velto-icon SIZE FILE.png
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/core/AppIcon.h"
#include "assets/PngEncode.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    fprintf(stderr, "usage: velto-icon SIZE FILE.png\n");
    return 2;
  }
  int size = atoi(argv[1]);
  if (size < 16 || size > 1024) {
    fprintf(stderr, "velto-icon: the size must be 16 to 1024 pixels\n");
    return 2;
  }
  std::vector<uint32_t> pixels = DrawAppIcon(size);
  std::vector<uint8_t> png;
  if (!EncodePngPixels(pixels.data(), size, size, true, &png)) {
    fprintf(stderr, "velto-icon: PNG encoding failed\n");
    return 1;
  }
  FILE* out = fopen(argv[2], "wb");
  bool ok = out && fwrite(png.data(), 1, png.size(), out) == png.size();
  if (out) ok = fclose(out) == 0 && ok;
  if (!ok) {
    fprintf(stderr, "velto-icon: cannot write %s\n", argv[2]);
    remove(argv[2]);
    return 1;
  }
  return 0;
}
