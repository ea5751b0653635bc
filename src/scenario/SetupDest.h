// Typed destinations of setup-table reading. Each one knows what it can hold
// and, for texts, how many bytes, so a record can never write past it.
#pragma once
#include <cstddef>
#include <cstdint>

namespace snr {

// A text destination given as pointer and size.
struct SetupText {
  char* text;
  size_t size;
};

struct SetupDest {
  enum Kind { kNone, kFlag, kInt, kText };
  Kind kind = kNone;
  void* ptr = nullptr;
  size_t size = 0;

  SetupDest() = default;
  SetupDest(bool* p) : kind(kFlag), ptr(p), size(1) {}
  SetupDest(uint8_t* p) : kind(kFlag), ptr(p), size(1) {}
  SetupDest(int32_t* p) : kind(kInt), ptr(p), size(4) {}
  SetupDest(uint32_t* p) : kind(kInt), ptr(p), size(4) {}
  SetupDest(SetupText t) : kind(kText), ptr(t.text), size(t.size) {}
  template <size_t N>
  SetupDest(char (&text)[N]) : kind(kText), ptr(text), size(N) {}
};

}  // namespace snr
