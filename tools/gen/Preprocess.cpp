#include "gen/Preprocess.h"

#include <cctype>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/core/Trace.h"

namespace gen {

namespace {

constexpr int kMaxDepth = 32;
// Lines produced and loop turns taken, together: a runaway loop stops.
constexpr long kMaxSteps = 4000000;

size_t SkipBlanks(const std::string& s, size_t at) {
  while (at < s.size() && isspace(static_cast<unsigned char>(s[at]))) ++at;
  return at;
}

bool IsNameStart(char c) { return isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool IsNameChar(char c) { return isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// The text after the directive word.
std::string DirectiveArgs(const std::string& text) {
  size_t at = SkipBlanks(text, 0) + 1;
  while (at < text.size() && IsNameChar(text[at])) ++at;
  return text.substr(SkipBlanks(text, at));
}

// Splits "a, b, (c, d)" at the top-level commas, quotes respected.
std::vector<std::string> SplitArgs(const std::string& text) {
  std::vector<std::string> parts;
  std::string cur;
  int depth = 0;
  bool quoted = false;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (quoted) {
      cur += c;
      if (c == '\\' && i + 1 < text.size()) cur += text[++i];
      else if (c == '"') quoted = false;
      continue;
    }
    if (c == '"') quoted = true;
    if (c == '(') ++depth;
    if (c == ')') --depth;
    if (c == ',' && depth == 0) {
      parts.push_back(cur);
      cur.clear();
      continue;
    }
    cur += c;
  }
  if (!cur.empty() || !parts.empty()) parts.push_back(cur);
  return parts;
}

std::string QuoteText(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') out += '\\';
    out += c;
  }
  return out + "\"";
}

}  // namespace

std::string DirectiveName(const std::string& text) {
  size_t at = SkipBlanks(text, 0);
  if (at + 1 >= text.size() || text[at] != '%' || !IsNameStart(text[at + 1])) return "";
  size_t end = at + 1;
  while (end < text.size() && IsNameChar(text[end])) ++end;
  return text.substr(at + 1, end - at - 1);
}

void CPreprocessor::SetVar(const std::string& name, const Value& value) {
  Trace("CPreprocessor::SetVar");
  mVars[name] = value;
}

void CPreprocessor::SetTexts(const CTextTable* texts) {
  Trace("CPreprocessor::SetTexts");
  mpTexts = texts;
}

void CPreprocessor::AddIncludeDir(const std::string& dir) {
  Trace("CPreprocessor::AddIncludeDir");
  mIncludeDirs.push_back(dir);
}

bool CPreprocessor::Fail(const SourceLine& line, const std::string& message) {
  Trace("CPreprocessor::Fail");
  if (mError.empty()) mError = line.Where() + ": " + message;
  return false;
}

bool CPreprocessor::Run(const std::string& path, std::vector<SourceLine>* out, std::string* error) {
  Trace("CPreprocessor::Run");
  mpOut = out;
  mError.clear();
  mSteps = 0;
  std::vector<SourceLine> lines;
  bool ok = ReadLines(path, &lines);
  if (!ok) mError = path + ": cannot read";
  ok = ok && Block(lines, 0, lines.size(), 0);
  if (!ok && error) *error = mError;
  return ok;
}

bool CPreprocessor::ReadLines(const std::string& path, std::vector<SourceLine>* lines) {
  Trace("CPreprocessor::ReadLines");
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  mFiles.push_back(path);
  SplitLines(path, in, lines);
  return true;
}

void CPreprocessor::SplitLines(const std::string& path, std::istream& in, std::vector<SourceLine>* lines) {
  Trace("CPreprocessor::SplitLines");
  std::string text;
  int number = 0;
  SourceLine pending;
  bool joining = false;
  while (std::getline(in, text)) {
    ++number;
    if (!text.empty() && text.back() == '\r') text.pop_back();
    if (number == 1 && text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
    if (!joining) pending = SourceLine{path, number, ""};
    joining = !text.empty() && text.back() == '\\';
    if (joining) text.pop_back();
    pending.text += text;
    if (!joining) lines->push_back(pending);
  }
  if (joining) lines->push_back(pending);
}

bool CPreprocessor::RunText(const std::string& name, const std::string& text, std::vector<SourceLine>* out,
                            std::string* error) {
  Trace("CPreprocessor::RunText");
  mpOut = out;
  mError.clear();
  mSteps = 0;
  std::istringstream in(text);
  std::vector<SourceLine> lines;
  SplitLines(name, in, &lines);
  bool ok = Block(lines, 0, lines.size(), 0);
  if (!ok && error) *error = mError;
  return ok;
}

std::string CPreprocessor::Resolve(const std::string& from, const std::string& name) const {
  Trace("CPreprocessor::Resolve");
  namespace fs = std::filesystem;
  fs::path local = fs::path(from).parent_path() / name;
  if (fs::exists(local)) return local.string();
  for (const auto& dir : mIncludeDirs) {
    fs::path p = fs::path(dir) / name;
    if (fs::exists(p)) return p.string();
  }
  return local.string();
}

bool CPreprocessor::Eval(const SourceLine& line, const std::string& text, Value* value) {
  Trace("CPreprocessor::Eval");
  std::string error;
  if (!EvalExpr(text, mVars, value, &error)) return Fail(line, error + " in '" + text + "'");
  return true;
}

bool CPreprocessor::Substitute(const SourceLine& line, bool directive, std::string* out) {
  Trace("CPreprocessor::Substitute");
  const std::string& s = line.text;
  out->clear();
  bool quoted = false;
  for (size_t i = 0; i < s.size(); ++i) {
    char c = s[i];
    if (c == '%' && i + 1 < s.size() && s[i + 1] == '{') {
      int depth = 0;
      bool inText = false;
      size_t j = i + 1;
      for (; j < s.size(); ++j) {
        if (inText) {
          if (s[j] == '\\') ++j;
          else if (s[j] == '"') inText = false;
        } else if (s[j] == '"') {
          inText = true;
        } else if (s[j] == '{') {
          ++depth;
        } else if (s[j] == '}' && --depth == 0) {
          break;
        }
      }
      if (j >= s.size()) return Fail(line, "%{ without its closing }");
      SourceLine inner = line;
      inner.text = s.substr(i + 2, j - i - 2);
      std::string expanded;
      Value v;
      if (!Substitute(inner, true, &expanded) || !Eval(line, expanded, &v)) return false;
      *out += v.ToString();
      i = j;
      continue;
    }
    if (quoted) {
      *out += c;
      if (c == '\\' && i + 1 < s.size()) *out += s[++i];
      else if (c == '"') quoted = false;
      continue;
    }
    if (c == '"') quoted = true;
    if (c == '@' && i + 1 < s.size() && s[i + 1] == '@') {
      *out += '@';
      ++i;
      continue;
    }
    if (c == '@' && i + 1 < s.size() && IsTextKeyChar(s[i + 1])) {
      size_t j = i + 1;
      while (j < s.size() && IsTextKeyChar(s[j])) ++j;
      // A key does not end with a dot: "@a.b." is the key "a.b" and a dot.
      while (j > i + 1 && s[j - 1] == '.') --j;
      std::string key = s.substr(i + 1, j - i - 1);
      const std::string* text = mpTexts ? mpTexts->Find(key) : nullptr;
      if (!text) return Fail(line, "no text for @" + key);
      *out += QuoteText(*text);
      i = j - 1;
      continue;
    }
    (void)directive;
    *out += c;
  }
  return true;
}

bool CPreprocessor::FindEnd(const std::vector<SourceLine>& lines, size_t from, size_t end, size_t* close,
                            std::vector<size_t>* branches) {
  Trace("CPreprocessor::FindEnd");
  int depth = 0;
  for (size_t i = from + 1; i < end; ++i) {
    std::string d = DirectiveName(lines[i].text);
    if (d == "if" || d == "for" || d == "macro") {
      ++depth;
    } else if (d == "end") {
      if (depth == 0) {
        *close = i;
        return true;
      }
      --depth;
    } else if ((d == "elif" || d == "else") && depth == 0 && branches) {
      branches->push_back(i);
    }
  }
  return Fail(lines[from], "%" + DirectiveName(lines[from].text) + " without its %end");
}

bool CPreprocessor::Block(const std::vector<SourceLine>& lines, size_t begin, size_t end, int depth) {
  Trace("CPreprocessor::Block");
  if (depth > kMaxDepth) return Fail(lines[begin < lines.size() ? begin : 0], "nested too deeply");
  for (size_t i = begin; i < end; ++i) {
    if (++mSteps > kMaxSteps) return Fail(lines[i], "too many lines (a loop that does not end?)");
    if (!DirectiveName(lines[i].text).empty()) {
      if (!Directive(lines, &i, end, depth)) return false;
      continue;
    }
    SourceLine out = lines[i];
    if (!Substitute(lines[i], false, &out.text)) return false;
    mpOut->push_back(out);
  }
  return true;
}

bool CPreprocessor::Directive(const std::vector<SourceLine>& lines, size_t* at, size_t end, int depth) {
  Trace("CPreprocessor::Directive");
  const SourceLine& line = lines[*at];
  std::string name = DirectiveName(line.text);
  std::string args = DirectiveArgs(line.text);
  // Texts may stand in directive expressions too.
  SourceLine argLine = line;
  argLine.text = args;
  if (name != "macro" && !Substitute(argLine, true, &args)) return false;

  if (name == "set") {
    size_t n = 0;
    while (n < args.size() && IsNameChar(args[n])) ++n;
    if (n == 0 || !IsNameStart(args[0])) return Fail(line, "%set needs a name");
    Value v;
    if (!Eval(line, args.substr(SkipBlanks(args, n)), &v)) return false;
    mVars[args.substr(0, n)] = v;
    return true;
  }
  if (name == "include") {
    Value v;
    if (!Eval(line, args, &v) || !v.isText) return Fail(line, "%include needs a quoted file name");
    std::vector<SourceLine> included;
    std::string path = Resolve(line.file, v.text);
    if (!ReadLines(path, &included)) return Fail(line, "cannot read " + path);
    return Block(included, 0, included.size(), depth + 1);
  }
  if (name == "error") {
    Value v;
    if (!Eval(line, args, &v)) return false;
    return Fail(line, v.ToString());
  }
  if (name == "if") {
    size_t close;
    std::vector<size_t> branches;
    if (!FindEnd(lines, *at, end, &close, &branches)) return false;
    branches.push_back(close);
    Value cond;
    if (!Eval(line, args, &cond)) return false;
    size_t start = *at;
    bool taken = cond.Truth();
    for (size_t b = 0; b < branches.size(); ++b) {
      if (taken) {
        if (!Block(lines, start + 1, branches[b], depth + 1)) return false;
        break;
      }
      if (branches[b] == close) break;
      const SourceLine& branch = lines[branches[b]];
      std::string kind = DirectiveName(branch.text);
      if (kind == "else") {
        taken = true;
      } else {
        std::string cargs;
        SourceLine cl = branch;
        cl.text = DirectiveArgs(branch.text);
        if (!Substitute(cl, true, &cargs) || !Eval(branch, cargs, &cond)) return false;
        taken = cond.Truth();
      }
      start = branches[b];
    }
    *at = close;
    return true;
  }
  if (name == "for") {
    size_t close;
    if (!FindEnd(lines, *at, end, &close, nullptr)) return false;
    size_t n = 0;
    while (n < args.size() && IsNameChar(args[n])) ++n;
    std::string var = args.substr(0, n);
    // The bounds are separated by blanks; each may be a parenthesised expression.
    std::vector<std::string> bounds;
    std::string rest = args.substr(n), cur;
    int paren = 0;
    for (char c : rest) {
      if (c == '(') ++paren;
      if (c == ')') --paren;
      if (isspace(static_cast<unsigned char>(c)) && paren == 0) {
        if (!cur.empty()) bounds.push_back(cur);
        cur.clear();
      } else {
        cur += c;
      }
    }
    if (!cur.empty()) bounds.push_back(cur);
    if (var.empty() || !IsNameStart(var[0]) || bounds.size() < 2 || bounds.size() > 3)
      return Fail(line, "%for NAME FIRST LAST [STEP]");
    Value first, last, step = Value::Num(1);
    if (!Eval(line, bounds[0], &first) || !Eval(line, bounds[1], &last) ||
        (bounds.size() == 3 && !Eval(line, bounds[2], &step)))
      return false;
    if (first.isText || last.isText || step.isText || step.num == 0 || !std::isfinite(step.num))
      return Fail(line, "%for needs numbers and a step that is not 0");
    bool had = mVars.count(var) != 0;
    Value saved = had ? mVars[var] : Value();
    for (double v = first.num; step.num > 0 ? v <= last.num : v >= last.num; v += step.num) {
      if (++mSteps > kMaxSteps) return Fail(line, "too many turns");
      mVars[var] = Value::Num(v);
      if (!Block(lines, *at + 1, close, depth + 1)) return false;
    }
    if (had) mVars[var] = saved;
    else mVars.erase(var);
    *at = close;
    return true;
  }
  if (name == "macro") {
    size_t close;
    if (!FindEnd(lines, *at, end, &close, nullptr)) return false;
    Macro m;
    std::vector<std::string> words;
    std::string word;
    for (size_t i = 0; i <= args.size(); ++i) {
      if (i == args.size() || isspace(static_cast<unsigned char>(args[i]))) {
        if (!word.empty()) words.push_back(word);
        word.clear();
      } else {
        word += args[i];
      }
    }
    std::string mname = words.empty() ? "" : words[0];
    if (!words.empty()) m.params.assign(words.begin() + 1, words.end());
    if (mname.empty()) return Fail(line, "%macro needs a name");
    m.body.assign(lines.begin() + static_cast<long>(*at) + 1, lines.begin() + static_cast<long>(close));
    mMacros[mname] = m;
    *at = close;
    return true;
  }
  if (name == "call") {
    size_t open = args.find('(');
    if (open == std::string::npos || args.empty() || args.back() != ')') return Fail(line, "%call NAME(ARGS)");
    std::string mname = args.substr(0, open);
    while (!mname.empty() && isspace(static_cast<unsigned char>(mname.back()))) mname.pop_back();
    auto it = mMacros.find(mname);
    if (it == mMacros.end()) return Fail(line, "no macro '" + mname + "'");
    std::vector<std::string> parts = SplitArgs(args.substr(open + 1, args.size() - open - 2));
    const Macro macro = it->second;
    if (parts.size() != macro.params.size())
      return Fail(line, "'" + mname + "' takes " + std::to_string(macro.params.size()) + " arguments");
    std::vector<Value> values(parts.size());
    for (size_t i = 0; i < parts.size(); ++i)
      if (!Eval(line, parts[i], &values[i])) return false;
    Variables saved = mVars;
    for (size_t i = 0; i < parts.size(); ++i) mVars[macro.params[i]] = values[i];
    bool ok = Block(macro.body, 0, macro.body.size(), depth + 1);
    // Parameters and whatever the body set are the macro's own.
    mVars = saved;
    return ok;
  }
  return Fail(line, "unknown directive %" + name);
}

}  // namespace gen
