// A cursor over one line of scenario source text, with the errors it
// raises. Internal to the compiler.
#pragma once
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace snr {

// A compile error at a 1-based line and column (columns count characters).
struct SourceError {
  int line = 0;
  int column = 0;
  std::string message;
};

class SourceLine {
 public:
  SourceLine(std::string_view text, int line) : mText(text), mLine(line) {}

  size_t Pos() const { return mPos; }
  void SetPos(size_t pos) { mPos = pos; }
  int Line() const { return mLine; }
  std::string_view Text() const { return mText; }
  char Peek(size_t ahead = 0) const { return mPos + ahead < mText.size() ? mText[mPos + ahead] : '\0'; }
  bool AtEnd() const { return mPos >= mText.size(); }
  void Advance(size_t n = 1) { mPos = mPos + n < mText.size() ? mPos + n : mText.size(); }
  void SkipSpace() {
    while (!AtEnd() && (Peek() == ' ' || Peek() == '\t' || Peek() == '\r')) ++mPos;
  }
  // True when only blanks and a comment are left.
  bool AtLineEnd() {
    SkipSpace();
    return AtEnd() || Peek() == '#' || Peek() == ';';
  }
  bool Eat(char c) {
    SkipSpace();
    if (Peek() != c) return false;
    ++mPos;
    return true;
  }
  void Expect(char c, const char* what) {
    if (!Eat(c)) Fail(std::string("expected ") + what);
  }
  // Column of a byte offset: characters before it, plus one.
  int Column(size_t at) const {
    int column = 1;
    for (size_t i = 0; i < at && i < mText.size(); ++i)
      if ((static_cast<uint8_t>(mText[i]) & 0xC0) != 0x80) ++column;
    return column;
  }
  [[noreturn]] void FailAt(size_t at, const std::string& message) const {
    throw SourceError{mLine, Column(at), message};
  }
  [[noreturn]] void Fail(const std::string& message) const { FailAt(mPos, message); }

  static bool IsNameChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
           static_cast<uint8_t>(c) >= 0x80;
  }
  std::string_view Name() {
    size_t start = mPos;
    while (!AtEnd() && IsNameChar(Peek())) ++mPos;
    return mText.substr(start, mPos - start);
  }

 private:
  std::string_view mText;
  size_t mPos = 0;
  int mLine;
};

}  // namespace snr
