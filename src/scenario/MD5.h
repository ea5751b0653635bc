// MD5 message digest (RFC 1321). The engine uses its lower-case hexadecimal
// text as the key stream of scrambled files and as the save signature.
#pragma once
#include <cstddef>
#include <cstdint>

class CMD5 {
 public:
  CMD5();
  virtual ~CMD5();

  // Computes the digest of a zero-terminated text at once.
  virtual void setPlainText(const char* text);
  // The same for a block of bytes that may hold zeros.
  void setPlainText(const void* data, size_t size);
  // The 32 lower-case hexadecimal characters of the digest, or null before
  // any text was set.
  virtual const char* getMD5Digest() const;
  // The 16 digest bytes (zeros before any text was set).
  const uint8_t* getRawDigest() const { return mDigest; }

 protected:
  virtual void calcDigest(const uint8_t* data, size_t size);

 private:
  uint8_t mDigest[16] = {};
  char mszDigest[33] = {};
  bool mbDone = false;
};
