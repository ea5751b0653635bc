#include "scenario/SnrRender.h"

#include <algorithm>
#include <vector>

#include "scenario/CommandTable.h"
#include "scenario/SnrFormat.h"
#include "scenario/SnrParam.h"
#include "scenario/SnrSourceParams.h"

namespace snr {

namespace {

std::string Hex2(uint8_t b) {
  static const char kHex[] = "0123456789abcdef";
  return std::string{kHex[b >> 4], kHex[b & 15]};
}

std::string RawBytes(const uint8_t* p, const uint8_t* end) {
  std::string s = "<";
  for (const uint8_t* q = p; q < end; ++q) s += (q == p ? "" : " ") + Hex2(*q);
  return s + ">";
}

// Postfix pairs as an expression tree; empty when the pairs are not exactly
// what the compiler makes of some infix text.
struct Node {
  int32_t op;
  int32_t value;
  int left = -1, right = -1;
};

bool BuildTree(const uint8_t* pairs, const uint8_t* end, std::vector<Node>& nodes, int& root) {
  std::vector<int> stack;
  for (const uint8_t* q = pairs; end - q >= 8; q += 8) {
    int32_t op = GetS32(q), operand = GetS32(q + 4);
    if (op == kOpEnd) {
      if (operand != 0 || stack.size() != 1) return false;
      root = stack[0];
      return true;
    }
    if (op == kOpPush || op == kOpVar) {
      if (op == kOpVar && (operand < 0 || operand >= kValueCount)) return false;
      if (stack.size() >= static_cast<size_t>(kExprStackSize)) return false;
      stack.push_back(static_cast<int>(nodes.size()));
      nodes.push_back({op, operand});
      continue;
    }
    if (op < kOpAdd || op > kOpMod || operand != 0 || stack.size() < 2) return false;
    Node n{op, 0, stack[stack.size() - 2], stack.back()};
    stack.resize(stack.size() - 2);
    stack.push_back(static_cast<int>(nodes.size()));
    nodes.push_back(n);
  }
  return false;
}

int Precedence(const Node& n) {
  if (n.op == kOpAdd || n.op == kOpSub) return 1;
  if (n.op >= kOpMul) return 2;
  return 3;
}

std::string Infix(const std::vector<Node>& nodes, int i) {
  const Node& n = nodes[i];
  if (n.op == kOpPush) return std::to_string(n.value);
  if (n.op == kOpVar) return "$" + std::to_string(n.value);
  static const char* kOps[] = {"", "", " + ", " - ", " * ", " / ", " % "};
  std::string left = Infix(nodes, n.left), right = Infix(nodes, n.right);
  int p = Precedence(n);
  if (Precedence(nodes[n.left]) < p) left = "(" + left + ")";
  if (Precedence(nodes[n.right]) <= p) right = "(" + right + ")";
  return left + kOps[n.op] + right;
}

// Deepest nesting of parentheses in a rendered expression.
int Nesting(const std::string& text) {
  int depth = 0, most = 0;
  for (char c : text) {
    if (c == '(') most = std::max(most, ++depth);
    if (c == ')') --depth;
  }
  return most;
}

std::string RenderExpr(const uint8_t* pairs, const uint8_t* end) {
  std::vector<Node> nodes;
  int root = -1;
  if (BuildTree(pairs, end, nodes, root)) {
    std::string infix = "(" + Infix(nodes, root) + ")";
    if (Nesting(infix) <= kMaxExprNesting) return infix;
  }
  std::string s = "@(";
  for (const uint8_t* q = pairs; end - q >= 8; q += 8) {
    if (q != pairs) s += ", ";
    s += std::to_string(GetS32(q)) + " " + std::to_string(GetS32(q + 4));
    if (GetS32(q) == kOpEnd) break;
  }
  return s + ")";
}

bool IsLabelParam(uint16_t id, int index, int count) {
  switch (id) {
    case kCmdJP:
      return index == 0;
    case kCmdONJP:
      return index >= 1;
    case kCmdIF:
      return count >= 4 && index == count - 1;
    case kCmdCMPSTR:
      return index == 2;
    default:
      return false;
  }
}

}  // namespace

std::string RenderText(const uint8_t* t, const uint8_t* end, TextCodec& codec) {
  std::string s = "\"";
  while (t < end) {
    uint8_t b = *t;
    if (b == kEscape) {
      if (end - t >= 2 && t[1] == kEscape) {
        s += '&';
        t += 2;
        continue;
      }
      // Only the escapes the compiler writes: index + 1 in the low byte.
      if (end - t >= 3 && t[1] && t[1] != kEscape && t[2] == 0x80) {
        s += "{$s" + std::to_string(t[1] - 1) + "}";
        t += 3;
        continue;
      }
      s += "\\x26";
      ++t;
      continue;
    }
    if (b < 0x20 || b == 0x7F) {
      s += "\\x" + Hex2(b);
    } else if (b == '"' || b == '\\' || b == '{') {
      s += '\\';
      s += static_cast<char>(b);
    } else if (b < 0x80) {
      s += static_cast<char>(b);
    } else {
      size_t len = IsLeadByteIn(codec.Encoding(), b) && end - t >= 2 ? 2 : 1;
      std::string utf8;
      if (codec.DecodeExact(std::string_view(reinterpret_cast<const char*>(t), len), utf8)) {
        s += utf8;
      } else {
        for (size_t i = 0; i < len; ++i) s += "\\x" + Hex2(t[i]);
      }
      t += len;
      continue;
    }
    ++t;
  }
  return s + "\"";
}

std::string RenderParams(uint16_t id, const uint8_t* first, const uint8_t* end, TextCodec& codec,
                         const RenderLabels& labels, bool varPositions) {
  int count = 0;
  for (const uint8_t* p = first; p < end; p += ParamSpan(p, end)) ++count;
  std::string s;
  int index = 0;
  for (const uint8_t* p = first; p < end; ++index) {
    size_t span = ParamSpan(p, end);
    if (!s.empty()) s += ", ";
    if (!ParamWhole(p, end)) {
      s += RawBytes(p, end);
      break;
    }
    if (varPositions && IsVarParam(id, index) && (*p == kParamInt || *p == kParamVar)) {
      // Where a command names a variable, the literal n is "$n" and the
      // variable parameter n the indirect "$[$n]".
      int32_t v = GetS32(p + 1);
      if (v >= 0 && v < kValueCount)
        s += *p == kParamInt ? "$" + std::to_string(v) : "$[$" + std::to_string(v) + "]";
      else
        s += *p == kParamInt ? std::to_string(v) : RawBytes(p, p + span);
      p += span;
      continue;
    }
    switch (*p) {
      case kParamInt: {
        int32_t v = GetS32(p + 1);
        if (IsLabelParam(id, index, count) && v >= 0 && static_cast<uint32_t>(v) < labels.labelCount)
          s += "*L" + std::to_string(v);
        else
          s += std::to_string(v);
        break;
      }
      case kParamVar:
      case kParamStrVar: {
        uint32_t v = Get32(p + 1);
        bool text = *p == kParamStrVar;
        if (v < static_cast<uint32_t>(text ? kStrVarCount : kValueCount))
          s += (text ? "$s" : "$") + std::to_string(v);
        else
          s += RawBytes(p, p + span);
        break;
      }
      case kParamStr:
        s += RenderText(p + 1, TextEnd(p + 1, end), codec);
        break;
      case kParamExpr:
        s += RenderExpr(p + 1, p + span);
        break;
      default:
        s += RawBytes(p, p + span);
        break;
    }
    p += span;
  }
  return s;
}

}  // namespace snr
