#include "scenario/SnrParam.h"

#include "scenario/SnrFormat.h"

namespace snr {

const uint8_t* TextEnd(const uint8_t* text, const uint8_t* end) {
  while (text < end && *text) ++text;
  return text;
}

namespace {

// The end pair of an expression, or null when there is none before `end`.
const uint8_t* ExprEndPair(const uint8_t* pairs, const uint8_t* end) {
  for (const uint8_t* q = pairs; end - q >= 8; q += 8)
    if (GetS32(q) == kOpEnd) return q;
  return nullptr;
}

}  // namespace

size_t ParamSpan(const uint8_t* p, const uint8_t* end) {
  if (p >= end) return 0;
  size_t avail = static_cast<size_t>(end - p);
  size_t want = 1;
  switch (*p) {
    case kParamInt:
    case kParamVar:
    case kParamStrVar:
      want = 5;
      break;
    case kParamStr: {
      const uint8_t* t = TextEnd(p + 1, end);
      want = static_cast<size_t>(t - p) + 1;
      break;
    }
    case kParamExpr: {
      const uint8_t* last = ExprEndPair(p + 1, end);
      want = last ? static_cast<size_t>(last - p) + 8 : avail;
      break;
    }
    default:
      break;
  }
  return want < avail ? want : avail;
}

bool ParamWhole(const uint8_t* p, const uint8_t* end) {
  if (p >= end) return false;
  switch (*p) {
    case kParamInt:
    case kParamVar:
    case kParamStrVar:
      return end - p >= 5;
    case kParamStr:
      return TextEnd(p + 1, end) < end;
    case kParamExpr:
      return ExprEndPair(p + 1, end) != nullptr;
    default:
      return true;
  }
}

bool ApplyOperator(int32_t op, int32_t a, int32_t b, int32_t& result) {
  uint32_t ua = static_cast<uint32_t>(a), ub = static_cast<uint32_t>(b);
  switch (op) {
    case kOpAdd:
      result = static_cast<int32_t>(ua + ub);
      return true;
    case kOpSub:
      result = static_cast<int32_t>(ua - ub);
      return true;
    case kOpMul:
      result = static_cast<int32_t>(ua * ub);
      return true;
    case kOpDiv:
    case kOpMod:
      if (b == 0) return false;
      // The one quotient that does not fit wraps; its remainder is 0.
      if (a == INT32_MIN && b == -1) {
        result = op == kOpDiv ? INT32_MIN : 0;
        return true;
      }
      result = op == kOpDiv ? a / b : a % b;
      return true;
    default:
      return false;
  }
}

ExprFault EvalExpr(const uint8_t* pairs, const uint8_t* end, const int32_t* values, int32_t& result) {
  result = 0;
  int32_t stack[kExprStackSize];
  int depth = 0;
  for (const uint8_t* q = pairs; end - q >= 8; q += 8) {
    int32_t op = GetS32(q);
    int32_t operand = GetS32(q + 4);
    if (op == kOpEnd) {
      if (depth < 1) return ExprFault::kUnderflow;
      result = stack[depth - 1];
      return ExprFault::kNone;
    }
    if (op == kOpPush || op == kOpVar) {
      if (depth >= kExprStackSize) return ExprFault::kOverflow;
      if (op == kOpVar) {
        if (!values || operand < 0 || operand >= kValueCount) return ExprFault::kBadVariable;
        operand = values[operand];
      }
      stack[depth++] = operand;
      continue;
    }
    if (op < kOpAdd || op > kOpMod) return ExprFault::kBadOperator;
    if (depth < 2) return ExprFault::kUnderflow;
    int32_t value;
    if (!ApplyOperator(op, stack[depth - 2], stack[depth - 1], value)) return ExprFault::kDivideByZero;
    stack[depth - 2] = value;
    --depth;
  }
  return ExprFault::kNoEnd;
}

}  // namespace snr
