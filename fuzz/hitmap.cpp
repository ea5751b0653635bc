// Hit-map files from the data source: any bytes must give a clean refusal or
// a full map, never a read outside the file.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "ui/HitMap.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Copy into an exactly sized buffer so any overread is caught.
  std::vector<uint8_t> file(data, data + size);
  static std::vector<uint8_t> map(hitmap::kMapSize);
  hitmap::Decode(file.data(), file.size(), map.data());
  return 0;
}
