// Hit-map files from the data source: any bytes must give a clean refusal or
// a full map, never a read outside the file. Real maps are 481078 bytes, far
// above the fuzzer's usual input length, so the first input byte chooses
// between taking the input as the whole file and taking it as the start of a
// full-sized file that is then cut short by up to 127 bytes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "ui/HitMap.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static std::vector<uint8_t> map(hitmap::kMapSize);
  if (size == 0) return 0;
  std::vector<uint8_t> file;
  if (data[0] & 1) {
    file.assign(data + 1, data + size);
  } else {
    size_t full = hitmap::kPixelOffset + hitmap::kMapSize;
    file.assign(full - data[0] / 2, 0x5A);
    std::copy_n(data + 1, std::min(size - 1, file.size()), file.begin());
  }
  // Exactly sized, so any overread is caught.
  file.shrink_to_fit();
  hitmap::Decode(file.data(), file.size(), map.data());
  return 0;
}
