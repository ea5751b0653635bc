#include "scenario/SnrSourceParams.h"

#include <vector>

#include "scenario/SnrFormat.h"

namespace snr {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Digits of an unsigned literal; the caller has checked the first one.
uint64_t ParseMagnitude(SourceLine& line) {
  size_t start = line.Pos();
  uint64_t value = 0;
  bool hex = line.Peek() == '0' && (line.Peek(1) == 'x' || line.Peek(1) == 'X');
  if (hex) {
    line.Advance(2);
    if (HexValue(line.Peek()) < 0) line.Fail("expected hexadecimal digits");
    while (HexValue(line.Peek()) >= 0) {
      value = value * 16 + static_cast<uint64_t>(HexValue(line.Peek()));
      if (value > 0xFFFFFFFFull) line.FailAt(start, "number out of the 32-bit range");
      line.Advance();
    }
  } else {
    while (IsDigit(line.Peek())) {
      value = value * 10 + static_cast<uint64_t>(line.Peek() - '0');
      if (value > 0xFFFFFFFFull) line.FailAt(start, "number out of the 32-bit range");
      line.Advance();
    }
  }
  if (SourceLine::IsNameChar(line.Peek())) line.Fail("unexpected character in a number");
  return value;
}

// "$12" or "$s3"; the cursor is on the "$".
void ParseVariable(SourceLine& line, Bytes& out, bool allowString) {
  size_t start = line.Pos();
  line.Advance();
  bool text = line.Peek() == 's' || line.Peek() == 'S';
  if (text) line.Advance();
  if (!IsDigit(line.Peek())) line.Fail("expected a variable number");
  uint64_t index = ParseMagnitude(line);
  if (text) {
    if (!allowString) line.FailAt(start, "a string variable has no value in an expression");
    if (index >= static_cast<uint64_t>(kStrVarCount)) line.FailAt(start, "string variable number out of range 0-255");
    PutStrVar(out, static_cast<uint32_t>(index));
  } else {
    if (index >= static_cast<uint64_t>(kValueCount)) line.FailAt(start, "variable number out of range 0-1999");
    PutVar(out, static_cast<uint32_t>(index));
  }
}

// Where a command names a variable: "$12" is the literal 12 (variable 12
// itself), "$[$12]" the variable parameter 12 (the variable whose number
// $12 holds). The cursor is on the "$".
void ParseVarPosition(SourceLine& line, Bytes& out) {
  if (line.Peek(1) != '[') {
    if (line.Peek(1) == 's' || line.Peek(1) == 'S') return ParseVariable(line, out, true);
    Bytes var;
    ParseVariable(line, var, false);
    PutInt(out, GetS32(var.data() + 1));
    return;
  }
  line.Advance(2);
  line.SkipSpace();
  if (line.Peek() != '$' || line.Peek(1) == 's' || line.Peek(1) == 'S') line.Fail("expected $n inside $[ ]");
  ParseVariable(line, out, false);
  line.SkipSpace();
  if (line.Peek() != ']') line.Fail("expected ']'");
  line.Advance();
}

// Infix to postfix, in the usual order, counting the stack it will need.
class ExprParser {
 public:
  explicit ExprParser(SourceLine& line) : mLine(line) {}
  std::vector<std::pair<int32_t, int32_t>> Parse() {
    Sum();
    return mPairs;
  }

 private:
  void Emit(int32_t op, int32_t operand) {
    mPairs.push_back({op, operand});
    if (op == kOpPush || op == kOpVar) {
      if (++mDepth > kExprStackSize) mLine.Fail("expression needs more than 50 stack entries");
    } else {
      --mDepth;
    }
  }
  void Sum() {
    Product();
    for (;;) {
      mLine.SkipSpace();
      char c = mLine.Peek();
      if (c != '+' && c != '-') return;
      mLine.Advance();
      Product();
      Emit(c == '+' ? kOpAdd : kOpSub, 0);
    }
  }
  void Product() {
    Unary();
    for (;;) {
      mLine.SkipSpace();
      char c = mLine.Peek();
      if (c != '*' && c != '/' && c != '%') return;
      mLine.Advance();
      Unary();
      Emit(c == '*' ? kOpMul : c == '/' ? kOpDiv : kOpMod, 0);
    }
  }
  void Unary() {
    mLine.SkipSpace();
    if (mLine.Peek() != '-') return Primary();
    size_t start = mLine.Pos();
    mLine.Advance();
    mLine.SkipSpace();
    if (IsDigit(mLine.Peek())) {
      // A negative literal is one push.
      uint64_t magnitude = ParseMagnitude(mLine);
      if (magnitude > 0x80000000ull) mLine.FailAt(start, "number out of the 32-bit range");
      Emit(kOpPush, static_cast<int32_t>(-static_cast<int64_t>(magnitude)));
      return;
    }
    Emit(kOpPush, 0);
    Unary();
    Emit(kOpSub, 0);
  }
  void Primary() {
    mLine.SkipSpace();
    char c = mLine.Peek();
    if (IsDigit(c)) {
      Emit(kOpPush, static_cast<int32_t>(static_cast<uint32_t>(ParseMagnitude(mLine))));
    } else if (c == '$') {
      Bytes var;
      ParseVariable(mLine, var, false);
      Emit(kOpVar, GetS32(var.data() + 1));
    } else if (c == '(') {
      if (++mNesting > kMaxExprNesting)
        mLine.Fail("expression nested more than " + std::to_string(kMaxExprNesting) + " levels deep");
      mLine.Advance();
      Sum();
      mLine.Expect(')', "')'");
      --mNesting;
    } else {
      mLine.Fail("expected a number, a variable or '(' in the expression");
    }
  }

  SourceLine& mLine;
  std::vector<std::pair<int32_t, int32_t>> mPairs;
  int mDepth = 0;
  int mNesting = 1;  // the parameter's own parentheses
};

// "@(op operand, op operand, ...)": pairs as they are stored, the end pair
// included.
void ParseRawExpr(SourceLine& line, Bytes& out) {
  line.Advance();
  line.Expect('(', "'(' after '@'");
  std::vector<std::pair<int32_t, int32_t>> pairs;
  for (;;) {
    line.SkipSpace();
    size_t at = line.Pos();
    int32_t op = static_cast<int32_t>(ParseInteger(line));
    line.SkipSpace();
    int32_t operand = static_cast<int32_t>(ParseInteger(line));
    bool last = !line.Eat(',');
    if ((op == kOpEnd) != last)
      line.FailAt(at, last ? "a raw expression ends with operator -1" : "operator -1 may only end a raw expression");
    pairs.push_back({op, operand});
    if (last) break;
  }
  line.Expect(')', "')'");
  int32_t endOperand = pairs.back().second;
  pairs.pop_back();
  PutExpr(out, pairs, endOperand);
}

// "<01 fe 7a>": bytes stored as they stand.
void ParseRawBytes(SourceLine& line, Bytes& out) {
  line.Advance();
  size_t count = 0;
  for (;;) {
    line.SkipSpace();
    if (line.Peek() == '>') break;
    int hi = HexValue(line.Peek()), lo = HexValue(line.Peek(1));
    if (hi < 0 || lo < 0) line.Fail("expected two hexadecimal digits or '>'");
    out.push_back(static_cast<uint8_t>(hi * 16 + lo));
    line.Advance(2);
    ++count;
  }
  line.Advance();
  if (!count) line.Fail("raw bytes need at least one byte");
}

// A text: UTF-8 runs are converted to the target encoding with "&" doubled;
// "\xHH" bytes are stored as they stand; "{$sN}" stores a variable escape.
void ParseText(SourceLine& line, TextCodec& codec, Bytes& out) {
  std::string stored;
  std::string run;
  size_t runStart = 0;
  std::vector<size_t> runOffsets;  // where each run byte came from, for errors
  auto flush = [&] {
    if (run.empty()) return;
    std::string local;
    size_t bad;
    if (!codec.Encode(run, local, bad)) {
      // Find the first character that does not convert.
      size_t i = 0;
      while (i < run.size()) {
        size_t j = i + 1;
        while (j < run.size() && (static_cast<uint8_t>(run[j]) & 0xC0) == 0x80) ++j;
        std::string one;
        if (!codec.Encode(std::string_view(run).substr(i, j - i), one, bad)) break;
        i = j;
      }
      line.FailAt(i < runOffsets.size() ? runOffsets[i] : runStart, "character not in the text encoding");
    }
    for (char c : local) {
      stored += c;
      if (c == static_cast<char>(kEscape)) stored += c;
    }
    run.clear();
    runOffsets.clear();
  };
  size_t start = line.Pos();
  line.Advance();
  for (;;) {
    if (line.AtEnd()) line.FailAt(start, "text without its closing quote");
    char c = line.Peek();
    if (c == '"') {
      line.Advance();
      break;
    }
    if (run.empty()) runStart = line.Pos();
    if (c == '\\') {
      char e = line.Peek(1);
      if (e == '"' || e == '\\' || e == '{') {
        runOffsets.push_back(line.Pos());
        run += e;
        line.Advance(2);
      } else if (e == 'x' || e == 'X') {
        int hi = HexValue(line.Peek(2)), lo = HexValue(line.Peek(3));
        if (hi < 0 || lo < 0) line.Fail("expected two hexadecimal digits after \\x");
        if (hi == 0 && lo == 0) line.Fail("a text cannot hold a zero byte");
        flush();
        stored += static_cast<char>(hi * 16 + lo);
        line.Advance(4);
      } else {
        line.Fail("unknown escape; use \\\", \\\\, \\{ or \\xHH");
      }
      continue;
    }
    if (c == '{' && line.Peek(1) == '$' && (line.Peek(2) == 's' || line.Peek(2) == 'S') && IsDigit(line.Peek(3))) {
      size_t at = line.Pos();
      line.Advance(3);
      uint64_t index = ParseMagnitude(line);
      if (line.Peek() != '}') line.Fail("expected '}'");
      line.Advance();
      if (index >= static_cast<uint64_t>(kStrVarCount)) line.FailAt(at, "string variable number out of range 0-255");
      uint16_t number = static_cast<uint16_t>(index + 1);
      // The first byte may be neither a terminator nor an escape character.
      if ((number & 0xFF) == 0 || (number & 0xFF) == kEscape)
        line.FailAt(at, "string variable " + std::to_string(index) + " cannot be inserted into a text");
      flush();
      number |= kEscapeTopBit;
      stored += static_cast<char>(kEscape);
      stored += static_cast<char>(number & 0xFF);
      stored += static_cast<char>(number >> 8);
      continue;
    }
    size_t len = 1;
    while (len < 4 && (static_cast<uint8_t>(line.Peek(len)) & 0xC0) == 0x80) ++len;
    for (size_t i = 0; i < len; ++i) {
      runOffsets.push_back(line.Pos());
      run += line.Peek(i);
    }
    line.Advance(len);
  }
  flush();
  PutStr(out, stored);
}

}  // namespace

int64_t ParseInteger(SourceLine& line) {
  line.SkipSpace();
  size_t start = line.Pos();
  bool negative = line.Peek() == '-';
  if (negative) line.Advance();
  if (!IsDigit(line.Peek())) line.Fail("expected a number");
  uint64_t magnitude = ParseMagnitude(line);
  if (negative && magnitude > 0x80000000ull) line.FailAt(start, "number out of the 32-bit range");
  return negative ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude);
}

uint32_t ParseCount(SourceLine& line, uint32_t max, const char* what) {
  line.SkipSpace();
  size_t start = line.Pos();
  int64_t v = ParseInteger(line);
  if (v < 0 || v > static_cast<int64_t>(max)) line.FailAt(start, std::string(what) + " out of range 0-" + std::to_string(max));
  return static_cast<uint32_t>(v);
}

ParsedParam ParseParam(SourceLine& line, TextCodec& codec, bool varPosition) {
  line.SkipSpace();
  ParsedParam param;
  param.at = line.Pos();
  char c = line.Peek();
  if (c == '$' && line.Peek(1) == '[' && !varPosition)
    line.Fail("$[$n] stands only where a command names a variable");
  if (c == '$' && varPosition) {
    ParseVarPosition(line, param.bytes);
  } else if (c == '"') {
    ParseText(line, codec, param.bytes);
  } else if (c == '(') {
    line.Advance();
    auto pairs = ExprParser(line).Parse();
    line.Expect(')', "')'");
    PutExpr(param.bytes, pairs);
  } else if (c == '@') {
    ParseRawExpr(line, param.bytes);
  } else if (c == '<') {
    ParseRawBytes(line, param.bytes);
  } else if (c == '$') {
    ParseVariable(line, param.bytes, true);
  } else if (c == '*') {
    line.Advance();
    param.label = std::string(line.Name());
    if (param.label.empty()) line.Fail("expected a label name after '*'");
    PutInt(param.bytes, 0);
  } else if (c == '-' || IsDigit(c)) {
    param.value = ParseInteger(line);
    param.isLiteral = true;
    PutInt(param.bytes, static_cast<int32_t>(static_cast<uint32_t>(param.value)));
  } else {
    line.Fail("expected a parameter");
  }
  return param;
}

}  // namespace snr
