// Decoding of single parameters over a bounded byte range. Every function
// stays inside [p, end); a parameter cut short by the end of its record is
// clamped, never read beyond.
#pragma once
#include <cstddef>
#include <cstdint>

namespace snr {

// Bytes the parameter at `p` occupies (type byte and value), clamped to
// `end`; 0 when p >= end. A type outside 1–5 occupies one byte.
size_t ParamSpan(const uint8_t* p, const uint8_t* end);

// True when the parameter at `p` is complete before `end`: its value is all
// there, a text has its terminator, an expression its end pair.
bool ParamWhole(const uint8_t* p, const uint8_t* end);

// The terminator of a text starting at `text`, or `end` when there is none.
const uint8_t* TextEnd(const uint8_t* text, const uint8_t* end);

enum class ExprFault {
  kNone,
  kNoEnd,          // no end pair before the end of the parameter
  kBadOperator,    // operator outside -1..6
  kOverflow,       // more than the stack holds
  kUnderflow,      // an operator without two operands, or no result at all
  kDivideByZero,
  kBadVariable,    // index outside 0–1999, or no variables attached
};

// Evaluates the postfix pairs starting at `pairs` (just after the type
// byte). `values` may be null (then any variable is a fault). On a fault
// `result` is 0.
ExprFault EvalExpr(const uint8_t* pairs, const uint8_t* end, const int32_t* values, int32_t& result);

// Wrapping 32-bit arithmetic of the expression operators 2–6. False for a
// division or remainder by zero.
bool ApplyOperator(int32_t op, int32_t a, int32_t b, int32_t& result);

}  // namespace snr
