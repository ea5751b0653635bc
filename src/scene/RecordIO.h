// Little-endian reading and writing of the scene's saved-game records. The
// reader never reads past its end: a short read fails, and every later read
// fails too.
#pragma once
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

class CRecordWriter {
 public:
  explicit CRecordWriter(uint8_t* dst) : mp(dst) {}
  void U8(uint8_t v) { *mp++ = v; }
  void U32(uint32_t v) {
    for (int i = 0; i < 4; ++i) *mp++ = static_cast<uint8_t>(v >> (8 * i));
  }
  void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
  void F32(float v) {
    uint32_t bits;
    memcpy(&bits, &v, 4);
    U32(bits);
  }
  void Bytes(const void* p, size_t n) {
    if (n) memcpy(mp, p, n);
    mp += n;
  }
  // A text in a fixed field: at most size − 1 bytes, zero-padded.
  void Text(const char* s, size_t size) {
    size_t n = s ? strnlen(s, size - 1) : 0;
    Bytes(s, n);
    memset(mp, 0, size - n);
    mp += size - n;
  }
  uint8_t* End() const { return mp; }

 private:
  uint8_t* mp;
};

class CRecordReader {
 public:
  CRecordReader(const uint8_t* src, size_t size) : mp(src), mLeft(src ? size : 0) {}
  bool Ok() const { return mbOk; }
  const uint8_t* Here() const { return mp; }
  size_t Left() const { return mbOk ? mLeft : 0; }
  uint8_t U8() {
    if (!Take(1)) return 0;
    return mp[-1];
  }
  uint32_t U32() {
    if (!Take(4)) return 0;
    return static_cast<uint32_t>(mp[-4]) | static_cast<uint32_t>(mp[-3]) << 8 | static_cast<uint32_t>(mp[-2]) << 16 |
           static_cast<uint32_t>(mp[-1]) << 24;
  }
  int32_t I32() { return static_cast<int32_t>(U32()); }
  // A float; a stored infinity or NaN fails the read.
  float F32() {
    uint32_t bits = U32();
    float v;
    memcpy(&v, &bits, 4);
    if (!std::isfinite(v)) {
      mbOk = false;
      return 0.0f;
    }
    return v;
  }
  bool Bytes(void* dst, size_t n) {
    if (!Take(n)) return false;
    if (n) memcpy(dst, mp - n, n);
    return true;
  }
  // A fixed text field that must hold its terminating zero; copied whole.
  bool Text(char* dst, size_t size) {
    if (!Take(size)) return false;
    if (!memchr(mp - size, 0, size)) return Fail();
    memcpy(dst, mp - size, size);
    return true;
  }
  bool Fail() {
    mbOk = false;
    return false;
  }

 private:
  bool Take(size_t n) {
    if (!mbOk || n > mLeft) return Fail();
    mp += n;
    mLeft -= n;
    return true;
  }
  const uint8_t* mp;
  size_t mLeft;
  bool mbOk = true;
};
