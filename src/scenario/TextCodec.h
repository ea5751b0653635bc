// Strict conversion between UTF-8 source text and a scenario's text
// encoding, for the compiler and decompiler. Unlike the program's own
// lenient conversion, nothing is replaced: what does not convert is reported.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace snr {

enum class TextEncoding { kSjis, kGbk };

// The encoding this program was built for.
TextEncoding BuildTextEncoding();
// Parses "sjis" or "gbk" (any case).
bool ParseTextEncoding(std::string_view name, TextEncoding& encoding);
bool IsLeadByteIn(TextEncoding encoding, uint8_t c);

class TextCodec {
 public:
  explicit TextCodec(TextEncoding encoding);
  ~TextCodec();
  TextCodec(const TextCodec&) = delete;
  TextCodec& operator=(const TextCodec&) = delete;

  TextEncoding Encoding() const { return mEncoding; }
  // UTF-8 to the encoding. False when a character has no place in it;
  // `badAt` receives that character's byte offset in `utf8`.
  bool Encode(std::string_view utf8, std::string& out, size_t& badAt);
  // One character of the encoding (one or two bytes) to UTF-8. False unless
  // it converts and converts back to the very same bytes.
  bool DecodeExact(std::string_view ch, std::string& utf8);

 private:
  bool Run(void* cd, std::string_view in, std::string& out, size_t& badAt);
  TextEncoding mEncoding;
  void* mToLocal;
  void* mToUtf8;
};

}  // namespace snr
