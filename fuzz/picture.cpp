// Picture files as the picture cache reads them: header, raw, SGD and PNG
// data, the element block; and SGD streams on their own.
#include <cstdint>
#include <cstring>
#include <vector>

#include "assets/DIBSprite.h"
#include "assets/SgdDecode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // SGD commands straight into a small picture.
  static std::vector<uint32_t> pixels(64 * 64);
  DecodeSgdPixels(data, size, pixels.data(), pixels.size());

  if (size >= kPictureHeaderSize) {
    // Huge sides are valid but only cost memory and time here.
    uint32_t w = data[12] | data[13] << 8, h = data[14] | data[15] << 8;
    if (static_cast<uint64_t>(w) * h > (1u << 22)) return 0;
  }
  CDIBSprite sprite;
  if (sprite.ReadFromMemory(data, size)) {
    SprtVertex v;
    for (int i = -1; i <= sprite.GetSprtCount(); ++i) sprite.SetVertex(v, i, 0, 0, 0xFFFFFFFF);
  }
  return 0;
}
