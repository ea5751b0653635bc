// Little-endian reading and writing of the save files. The reader never
// reads past its end: a short read fails and every later read fails too.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

class CByteWriter {
 public:
  explicit CByteWriter(std::vector<uint8_t>& out) : mOut(out) {}
  void U8(uint8_t v) { mOut.push_back(v); }
  void U32(uint32_t v) {
    for (int i = 0; i < 4; ++i) mOut.push_back(static_cast<uint8_t>(v >> (8 * i)));
  }
  void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
  void Bytes(const void* p, size_t n) {
    const auto* b = static_cast<const uint8_t*>(p);
    mOut.insert(mOut.end(), b, b + n);
  }
  // A text in a fixed field: the bytes up to its terminator (at most
  // size - 1 of them), zero-padded to the field size.
  void Text(const char* s, size_t size) {
    size_t n = s ? strnlen(s, size - 1) : 0;
    Bytes(s, n);
    mOut.insert(mOut.end(), size - n, 0);
  }
  void Zeros(size_t n) { mOut.insert(mOut.end(), n, 0); }

 private:
  std::vector<uint8_t>& mOut;
};

class CByteReader {
 public:
  CByteReader(const uint8_t* data, size_t size) : mData(data), mSize(size) {}
  bool Ok() const { return mOk; }
  size_t Pos() const { return mPos; }
  size_t Left() const { return mOk ? mSize - mPos : 0; }
  bool Skip(size_t n) {
    if (!Take(n)) return false;
    mPos += n;
    return true;
  }
  uint8_t U8() {
    if (!Take(1)) return 0;
    return mData[mPos++];
  }
  uint32_t U32() {
    if (!Take(4)) return 0;
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(mData[mPos + i]) << (8 * i);
    mPos += 4;
    return v;
  }
  int32_t I32() { return static_cast<int32_t>(U32()); }
  bool Bytes(void* dst, size_t n) {
    if (!Take(n)) return false;
    if (n) memcpy(dst, mData + mPos, n);
    mPos += n;
    return true;
  }
  // A fixed text field into a buffer of `cap` bytes: copies at most cap - 1
  // bytes up to the field's first zero and always terminates.
  bool Text(char* dst, size_t field, size_t cap) {
    if (!Take(field)) return false;
    size_t n = strnlen(reinterpret_cast<const char*>(mData + mPos), field < cap ? field : cap - 1);
    if (n > cap - 1) n = cap - 1;
    memcpy(dst, mData + mPos, n);
    memset(dst + n, 0, cap - n);
    mPos += field;
    return true;
  }
  const uint8_t* Here() const { return mData + mPos; }

 private:
  bool Take(size_t n) {
    if (!mOk || n > mSize - mPos) mOk = false;
    return mOk;
  }
  const uint8_t* mData;
  size_t mSize;
  size_t mPos = 0;
  bool mOk = true;
};
