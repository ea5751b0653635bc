#include "ToolFiles.h"

#include <cstdio>

namespace tool {

namespace {
template <typename Buffer>
bool ReadInto(const std::string& path, Buffer* out) {
  FILE* f = fopen(path.c_str(), "rb");
  if (!f) return false;
  out->clear();
  char buf[1 << 16];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, f)) > 0) out->insert(out->end(), buf, buf + n);
  bool ok = !ferror(f);
  fclose(f);
  return ok;
}
}  // namespace

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>* out) { return ReadInto(path, out); }
bool ReadWholeFile(const std::string& path, std::string* out) { return ReadInto(path, out); }

bool WriteWholeFile(const std::string& path, const void* data, size_t size) {
  FILE* f = fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = fwrite(data, 1, size, f) == size;
  return fclose(f) == 0 && ok;
}

}  // namespace tool
