// Little-endian field writers and readers for the saved control records.
#pragma once
#include <cstdint>
#include <cstring>

namespace ctrlrec {

inline uint8_t* PutBool(uint8_t* p, bool v) {
  *p = v ? 1 : 0;
  return p + 1;
}
inline uint8_t* PutInt(uint8_t* p, int32_t v) {
  uint32_t u = static_cast<uint32_t>(v);
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(u >> (8 * i));
  return p + 4;
}
inline uint8_t* PutText(uint8_t* p, const char* text, size_t size) {
  memset(p, 0, size);
  if (text) memcpy(p, text, strnlen(text, size - 1));
  return p + size;
}

inline const uint8_t* GetBool(const uint8_t* p, bool& v) {
  v = *p != 0;
  return p + 1;
}
inline const uint8_t* GetInt(const uint8_t* p, int32_t& v) {
  uint32_t u = 0;
  for (int i = 0; i < 4; ++i) u |= static_cast<uint32_t>(p[i]) << (8 * i);
  v = static_cast<int32_t>(u);
  return p + 4;
}
inline const uint8_t* GetUInt(const uint8_t* p, uint32_t& v) {
  int32_t s;
  p = GetInt(p, s);
  v = static_cast<uint32_t>(s);
  return p;
}
// Copies a stored text, always terminated within `size`.
inline const uint8_t* GetText(const uint8_t* p, char* text, size_t size) {
  memcpy(text, p, size);
  text[size - 1] = 0;
  return p + size;
}

}  // namespace ctrlrec
