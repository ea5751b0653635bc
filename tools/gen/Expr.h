// Expressions of the generator sources: numbers, texts, variables,
// arithmetic, comparisons and a few functions, evaluated in doubles. Used by
// the source preprocessor for %{...} and its directives, and by the score
// and picture languages for their computed values.
#pragma once
#include <map>
#include <string>

namespace gen {

struct Value {
  bool isText = false;
  double num = 0;
  std::string text;

  static Value Num(double n) { return Value{false, n, {}}; }
  static Value Text(std::string t) { return Value{true, 0, std::move(t)}; }
  // Numbers print as integers when they are whole, else with up to four
  // decimals; texts print as they are.
  std::string ToString() const;
  bool Truth() const { return isText ? !text.empty() : num != 0; }
};

using Variables = std::map<std::string, Value>;

// Evaluates `text` with `vars`. False with a message on a syntax error, an
// unknown name or function, or a wrong argument.
bool EvalExpr(const std::string& text, const Variables& vars, Value* out, std::string* error);

// The functions the expressions know, for the documentation and tests:
// min max abs floor ceil round int sqrt pow sin cos atan2 clamp lerp pick
// hash rgb rgba mix get (a variable by a computed name).
std::string FormatNumber(double n);

}  // namespace gen
