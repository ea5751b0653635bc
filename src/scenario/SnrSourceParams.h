// Parsing of command parameters in scenario source: integers, variables,
// label references, texts, expressions and raw forms. Internal to the
// compiler; errors are raised through SourceLine.
#pragma once
#include <cstdint>
#include <string>

#include "scenario/SnrImage.h"
#include "scenario/SnrSourceLine.h"
#include "scenario/TextCodec.h"

namespace snr {

struct ParsedParam {
  Bytes bytes;
  bool isLiteral = false;  // a plain integer literal (not a label reference)
  int64_t value = 0;       // its value
  std::string label;       // a label reference; `bytes` hold a literal to patch
  size_t at = 0;           // where it starts in the line
};

// Highest load-point entry number the compiler accepts, and the most
// entries all tables together may have.
inline constexpr uint32_t kMaxLoadPointEntry = (1u << 20) - 1;
inline constexpr uint64_t kMaxLoadPointTotal = 1u << 20;
// Deepest nesting of parentheses in an expression, its own included.
inline constexpr int kMaxExprNesting = 200;

// `varPosition`: the parameter names a variable (IsVarParam), where "$n"
// stores the literal n and "$[$n]" the variable parameter n.
ParsedParam ParseParam(SourceLine& line, TextCodec& codec, bool varPosition = false);

// An integer literal: optional minus, decimal or 0x hexadecimal, within
// -2147483648 … 4294967295 (values above 2147483647 wrap).
int64_t ParseInteger(SourceLine& line);
// A non-negative integer not above `max`.
uint32_t ParseCount(SourceLine& line, uint32_t max, const char* what);

}  // namespace snr
