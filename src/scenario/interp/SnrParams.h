// The parameters of the command the interpreter stands on, walked once so
// that a handler reads them by number. Everything stays inside the record:
// a parameter past the last one reads as an integer 0.
#pragma once
#include <cstdint>

class CSnrBuffer;

class CSnrParams {
 public:
  // Parameters remembered by position; later ones are found by walking on.
  static constexpr int kKept = 64;

  explicit CSnrParams(CSnrBuffer* buffer);

  int Count() const { return mCount; }
  // The parameter's bytes, or null past the last one.
  const uint8_t* At(int index) const;
  bool IsString(int index) const;
  int32_t Int(int index) const;
  // The text of a string parameter (escapes expanded), in the buffer's
  // result area: valid until the next text is read. "" for a non-string.
  const char* Str(int index) const;

 private:
  CSnrBuffer* mpBuffer;
  const uint8_t* mpEnd = nullptr;
  int mCount = 0;
  // Only the first min(mCount, kKept) entries are set (and read).
  const uint8_t* mParam[kKept];
};
