// Picture files as the picture cache reads them: header, raw, SGD and PNG
// data, the element block; and SGD streams on their own.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "assets/DIBSprite.h"
#include "assets/SgdDecode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // SGD commands straight into a small, cleared picture.
  static std::vector<uint32_t> pixels(64 * 64);
  std::fill(pixels.begin(), pixels.end(), 0u);
  DecodeSgdPixels(data, size, pixels.data(), pixels.size());

  // Any declared size: the reader refuses what the engine cannot use, so no
  // input costs more than the largest picture (256 MB; the fuzz script
  // fails an allocation above that).
  CDIBSprite sprite;
  if (sprite.ReadFromMemory(data, size)) {
    SprtVertex v;
    for (int i = -1; i <= sprite.GetSprtCount(); ++i) sprite.SetVertex(v, i, 0, 0, 0xFFFFFFFF);
  }
  return 0;
}
