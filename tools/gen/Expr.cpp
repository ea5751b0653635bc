#include "gen/Expr.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "app/core/Trace.h"
#include "gen/Color.h"

namespace gen {

std::string FormatNumber(double n) {
  if (std::isfinite(n) && n == std::floor(n) && std::fabs(n) < 1e15) {
    char buf[32];
    snprintf(buf, sizeof buf, "%lld", static_cast<long long>(n));
    return buf;
  }
  char buf[64];
  snprintf(buf, sizeof buf, "%.4f", n);
  std::string s = buf;
  while (!s.empty() && s.back() == '0') s.pop_back();
  if (!s.empty() && s.back() == '.') s.pop_back();
  return s == "-0" ? "0" : s;
}

std::string Value::ToString() const { return isText ? text : FormatNumber(num); }

namespace {

// A deterministic integer hash (0 … 32767) for scattering things in
// descriptions; not a random generator, the same input gives the same value.
// A whole number as 32 bits; values beyond the 64-bit range count as 0.
uint32_t Bits(double v) {
  if (!(std::fabs(v) < 9.0e18)) return 0;
  return static_cast<uint32_t>(static_cast<uint64_t>(static_cast<int64_t>(v)));
}

double Hash(double a, double b) {
  uint32_t x = Bits(a) * 0x9E3779B1u ^ Bits(b) * 0x85EBCA77u;
  x ^= x >> 15;
  x *= 0x2C1B3C6Du;
  x ^= x >> 12;
  x *= 0x297A2D39u;
  x ^= x >> 15;
  return x & 0x7FFF;
}

class CExprParser {
 public:
  CExprParser(const std::string& text, const Variables& vars) : mText(text), mVars(vars) {}

  bool Parse(Value* out, std::string* error);

 private:
  bool Ternary(Value* v);
  bool Or(Value* v);
  bool And(Value* v);
  bool Compare(Value* v);
  bool Add(Value* v);
  bool Mul(Value* v);
  bool Unary(Value* v);
  bool Primary(Value* v);
  bool Call(const std::string& name, std::vector<Value>& args, Value* v);
  bool Number(const Value& v, double* out);
  void Skip();
  bool Eat(const char* token);
  bool Fail(const std::string& message);
  bool SyntaxFail(const std::string& message);

  const std::string& mText;
  const Variables& mVars;
  size_t mPos = 0;
  std::string mError;
  // Above 0 while the branch of a ?: that is not taken is read: it must
  // be well formed, but what it would compute does not matter.
  int mMute = 0;
};

bool CExprParser::Fail(const std::string& message) {
  Trace("CExprParser::Fail");
  if (mMute > 0) return true;
  if (mError.empty()) mError = message;
  return false;
}

bool CExprParser::SyntaxFail(const std::string& message) {
  Trace("CExprParser::SyntaxFail");
  if (mError.empty()) mError = message;
  return false;
}

void CExprParser::Skip() {
  Trace("CExprParser::Skip");
  while (mPos < mText.size() && isspace(static_cast<unsigned char>(mText[mPos]))) ++mPos;
}

bool CExprParser::Eat(const char* token) {
  Trace("CExprParser::Eat");
  Skip();
  size_t n = strlen(token);
  if (mText.compare(mPos, n, token) != 0) return false;
  // "<" must not take the first half of "<=", nor "=" of "==".
  if (n == 1 && mPos + 1 < mText.size() && mText[mPos + 1] == '=' && strchr("<>=!", token[0])) return false;
  if (n == 1 && (token[0] == '&' || token[0] == '|')) return false;
  mPos += n;
  return true;
}

bool CExprParser::Number(const Value& v, double* out) {
  Trace("CExprParser::Number");
  if (v.isText) {
    *out = 0;
    return Fail("a number is needed, not the text \"" + v.text + "\"");
  }
  *out = v.num;
  return true;
}

bool CExprParser::Parse(Value* out, std::string* error) {
  Trace("CExprParser::Parse");
  bool ok = Ternary(out);
  Skip();
  if (ok && mPos != mText.size()) ok = SyntaxFail("unexpected '" + mText.substr(mPos) + "'");
  if (!ok && error) *error = mError.empty() ? "bad expression" : mError;
  return ok;
}

bool CExprParser::Ternary(Value* v) {
  Trace("CExprParser::Ternary");
  if (!Or(v)) return false;
  if (!Eat("?")) return true;
  Value a, b;
  bool cond = v->Truth();
  if (!cond) ++mMute;
  bool ok = Ternary(&a);
  if (!cond) --mMute;
  if (!ok) return false;
  if (!Eat(":")) return SyntaxFail("'?' without ':'");
  if (cond) ++mMute;
  ok = Ternary(&b);
  if (cond) --mMute;
  if (!ok) return false;
  *v = cond ? a : b;
  return true;
}

bool CExprParser::Or(Value* v) {
  Trace("CExprParser::Or");
  if (!And(v)) return false;
  while (Eat("||")) {
    Value r;
    if (!And(&r)) return false;
    *v = Value::Num(v->Truth() || r.Truth());
  }
  return true;
}

bool CExprParser::And(Value* v) {
  Trace("CExprParser::And");
  if (!Compare(v)) return false;
  while (Eat("&&")) {
    Value r;
    if (!Compare(&r)) return false;
    *v = Value::Num(v->Truth() && r.Truth());
  }
  return true;
}

bool CExprParser::Compare(Value* v) {
  Trace("CExprParser::Compare");
  if (!Add(v)) return false;
  static const char* kOps[] = {"==", "!=", "<=", ">=", "<", ">"};
  for (int op = 0; op < 6; ++op) {
    if (!Eat(kOps[op])) continue;
    Value r;
    if (!Add(&r)) return false;
    int c;
    if (v->isText && r.isText)
      c = v->text < r.text ? -1 : v->text > r.text ? 1 : 0;
    else if (!v->isText && !r.isText)
      c = v->num < r.num ? -1 : v->num > r.num ? 1 : 0;
    else
      return Fail("a text compared with a number");
    bool result = op == 0 ? c == 0 : op == 1 ? c != 0 : op == 2 ? c <= 0 : op == 3 ? c >= 0 : op == 4 ? c < 0 : c > 0;
    *v = Value::Num(result);
    return true;
  }
  return true;
}

bool CExprParser::Add(Value* v) {
  Trace("CExprParser::Add");
  if (!Mul(v)) return false;
  for (;;) {
    bool plus = Eat("+");
    if (!plus && !Eat("-")) return true;
    Value r;
    if (!Mul(&r)) return false;
    if (plus && (v->isText || r.isText)) {
      *v = Value::Text(v->ToString() + r.ToString());
      continue;
    }
    double a, b;
    if (!Number(*v, &a) || !Number(r, &b)) return false;
    *v = Value::Num(plus ? a + b : a - b);
  }
}

bool CExprParser::Mul(Value* v) {
  Trace("CExprParser::Mul");
  if (!Unary(v)) return false;
  for (;;) {
    char op = Eat("*") ? '*' : Eat("/") ? '/' : Eat("%") ? '%' : 0;
    if (!op) return true;
    Value r;
    double a, b;
    if (!Unary(&r) || !Number(*v, &a) || !Number(r, &b)) return false;
    if (op != '*' && b == 0) return Fail("division by zero");
    *v = Value::Num(op == '*' ? a * b : op == '/' ? a / b : std::fmod(a, b));
  }
}

bool CExprParser::Unary(Value* v) {
  Trace("CExprParser::Unary");
  if (Eat("-")) {
    double a;
    if (!Unary(v) || !Number(*v, &a)) return false;
    *v = Value::Num(-a);
    return true;
  }
  if (Eat("+")) return Unary(v);
  if (Eat("!")) {
    if (!Unary(v)) return false;
    *v = Value::Num(!v->Truth());
    return true;
  }
  return Primary(v);
}

bool CExprParser::Primary(Value* v) {
  Trace("CExprParser::Primary");
  Skip();
  if (mPos >= mText.size()) return SyntaxFail("expression ends too early");
  char c = mText[mPos];
  if (c == '(') {
    ++mPos;
    if (!Ternary(v)) return false;
    if (!Eat(")")) return SyntaxFail("')' missing");
    return true;
  }
  if (c == '"') {
    std::string s;
    for (++mPos; mPos < mText.size() && mText[mPos] != '"'; ++mPos) {
      if (mText[mPos] == '\\' && mPos + 1 < mText.size()) ++mPos;
      s += mText[mPos];
    }
    if (mPos >= mText.size()) return SyntaxFail("text without its closing quote");
    ++mPos;
    *v = Value::Text(s);
    return true;
  }
  if (c == '#') {
    size_t end = mPos + 1;
    while (end < mText.size() && isxdigit(static_cast<unsigned char>(mText[end]))) ++end;
    *v = Value::Text(mText.substr(mPos, end - mPos));
    mPos = end;
    return true;
  }
  if (isdigit(static_cast<unsigned char>(c)) || c == '.') {
    const char* start = mText.c_str() + mPos;
    char* end = nullptr;
    double n = (c == '0' && mPos + 1 < mText.size() && (mText[mPos + 1] == 'x' || mText[mPos + 1] == 'X'))
                   ? static_cast<double>(strtoull(start, &end, 16))
                   : strtod(start, &end);
    if (end == start) return SyntaxFail("bad number");
    mPos += static_cast<size_t>(end - start);
    *v = Value::Num(n);
    return true;
  }
  if (!isalpha(static_cast<unsigned char>(c)) && c != '_') return SyntaxFail(std::string("unexpected '") + c + "'");
  size_t start = mPos;
  while (mPos < mText.size() && (isalnum(static_cast<unsigned char>(mText[mPos])) || mText[mPos] == '_')) ++mPos;
  std::string name = mText.substr(start, mPos - start);
  Skip();
  if (mPos < mText.size() && mText[mPos] == '(') {
    ++mPos;
    std::vector<Value> args;
    if (!Eat(")")) {
      for (;;) {
        Value a;
        if (!Ternary(&a)) return false;
        args.push_back(a);
        if (Eat(")")) break;
        if (!Eat(",")) return SyntaxFail("',' or ')' expected in the arguments of " + name);
      }
    }
    return Call(name, args, v);
  }
  if (name == "pi") {
    *v = Value::Num(M_PI);
    return true;
  }
  auto it = mVars.find(name);
  if (it == mVars.end()) {
    *v = Value();
    return Fail("unknown name '" + name + "'");
  }
  *v = it->second;
  return true;
}

bool CExprParser::Call(const std::string& name, std::vector<Value>& args, Value* v) {
  Trace("CExprParser::Call");
  auto count = [&](size_t lo, size_t hi) {
    return args.size() >= lo && args.size() <= hi ? true : SyntaxFail("wrong number of arguments for " + name);
  };
  std::vector<double> n;
  auto numbers = [&](size_t from) {
    n.clear();
    for (size_t i = from; i < args.size(); ++i) {
      double d;
      if (!Number(args[i], &d)) return false;
      n.push_back(d);
    }
    return true;
  };
  if (name == "pick") {
    double i;
    if (!count(2, 1000) || !Number(args[0], &i)) return false;
    long k = std::fabs(i) < 1e9 ? static_cast<long>(std::floor(i)) : -1;
    if (k < 0 || k >= static_cast<long>(args.size()) - 1) {
      *v = Value();
      return Fail("pick index out of range");
    }
    *v = args[static_cast<size_t>(k) + 1];
    return true;
  }
  if (name == "get") {
    // A variable by a computed name: get("X" + i) reads X0, X1, …
    if (!count(1, 1)) return false;
    if (!args[0].isText) {
      *v = Value();
      return Fail("get takes a variable name as a text");
    }
    auto it = mVars.find(args[0].text);
    if (it == mVars.end()) {
      *v = Value();
      return Fail("unknown name '" + args[0].text + "'");
    }
    *v = it->second;
    return true;
  }
  if (name == "mix") {
    uint32_t a, b;
    double t;
    if (!count(3, 3)) return false;
    if (!args[0].isText || !args[1].isText || !ParseColor(args[0].text, &a) || !ParseColor(args[1].text, &b) ||
        args[2].isText) {
      *v = Value();
      return Fail("mix takes two colours and a fraction");
    }
    t = args[2].num;
    *v = Value::Text(FormatColor(MixColor(a, b, t)));
    return true;
  }
  if (!numbers(0)) return false;
  auto clampByte = [](double d) { return static_cast<uint32_t>(std::lround(d < 0 ? 0 : d > 255 ? 255 : d)); };
  double r = 0;
  if (name == "min" && count(1, 1000)) {
    r = n[0];
    for (double d : n) r = d < r ? d : r;
  } else if (name == "max" && count(1, 1000)) {
    r = n[0];
    for (double d : n) r = d > r ? d : r;
  } else if (name == "abs" && count(1, 1)) {
    r = std::fabs(n[0]);
  } else if (name == "floor" && count(1, 1)) {
    r = std::floor(n[0]);
  } else if (name == "ceil" && count(1, 1)) {
    r = std::ceil(n[0]);
  } else if (name == "round" && count(1, 1)) {
    r = std::round(n[0]);
  } else if (name == "int" && count(1, 1)) {
    r = std::trunc(n[0]);
  } else if (name == "sqrt" && count(1, 1)) {
    r = std::sqrt(n[0]);
  } else if (name == "pow" && count(2, 2)) {
    r = std::pow(n[0], n[1]);
  } else if (name == "sin" && count(1, 1)) {
    r = std::sin(n[0]);
  } else if (name == "cos" && count(1, 1)) {
    r = std::cos(n[0]);
  } else if (name == "atan2" && count(2, 2)) {
    r = std::atan2(n[0], n[1]);
  } else if (name == "clamp" && count(3, 3)) {
    r = n[0] < n[1] ? n[1] : n[0] > n[2] ? n[2] : n[0];
  } else if (name == "lerp" && count(3, 3)) {
    r = n[0] + (n[1] - n[0]) * n[2];
  } else if (name == "hash" && count(1, 2)) {
    r = Hash(n[0], n.size() > 1 ? n[1] : 0);
  } else if ((name == "rgb" && count(3, 3)) || (name == "rgba" && count(4, 4))) {
    uint32_t a = n.size() == 4 ? clampByte(n[3]) : 255;
    *v = Value::Text(FormatColor(a << 24 | clampByte(n[0]) << 16 | clampByte(n[1]) << 8 | clampByte(n[2])));
    return true;
  } else {
    return mError.empty() ? Fail("unknown function '" + name + "'") : false;
  }
  *v = Value::Num(r);
  return true;
}

}  // namespace

bool EvalExpr(const std::string& text, const Variables& vars, Value* out, std::string* error) {
  CExprParser parser(text, vars);
  return parser.Parse(out, error);
}

}  // namespace gen
