// Finds the member functions defined in a C++ source or header and tells
// whether each records itself in the trace ring as its first action.
//
// Checked:
//  - every definition at file or namespace scope whose name is qualified by
//    a class, `Class::Method(...) ... {`: constructors, destructors and
//    operators included (a qualifier starting with a lower-case letter is a
//    namespace, as `plat::`, and does not make a method);
//  - every virtual function (`virtual` or `override`) whose body is written
//    inside its class, in a header or a source.
// Its body must begin with `Trace("Class::Method");`, the class and the
// method exactly; an implementation class `XImpl` may record itself as `X`,
// the class it implements ("CMainWindow::Create" in CMainWindowImpl).
// Not checked: free functions (in a namespace or not), lambdas,
// declarations (prototypes, `= default`, `= delete`), and non-virtual
// functions written inside a class body (small accessors in headers,
// helpers of a class local to one source).
#pragma once
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

namespace methodscan {

struct Method {
  std::string name;  // "Class::Method"
  int line = 0;      // of the opening brace of the body
  bool traced = false;
  std::string first;  // what the body starts with, for the report
};

namespace detail {

// The source with comments blanked and the insides of string and character
// literals replaced by 'x', offsets unchanged.
inline std::string Strip(const std::string& s) {
  std::string out = s;
  size_t i = 0;
  while (i < s.size()) {
    if (s.compare(i, 2, "//") == 0) {
      while (i < s.size() && s[i] != '\n') out[i++] = ' ';
    } else if (s.compare(i, 2, "/*") == 0) {
      size_t end = s.find("*/", i + 2);
      end = end == std::string::npos ? s.size() : end + 2;
      for (; i < end; ++i)
        if (s[i] != '\n') out[i] = ' ';
    } else if (s[i] == 'R' && i + 1 < s.size() && s[i + 1] == '"' &&
               (i == 0 || !isalnum(static_cast<unsigned char>(s[i - 1])))) {
      size_t open = s.find('(', i);
      std::string close = ")" + s.substr(i + 2, open - i - 2) + "\"";
      size_t end = s.find(close, open);
      end = end == std::string::npos ? s.size() : end + close.size();
      for (size_t k = i + 2; k + 1 < end; ++k)
        if (s[k] != '\n') out[k] = 'x';
      i = end;
    } else if (s[i] == '"' || (s[i] == '\'' && !(i > 0 && isxdigit(static_cast<unsigned char>(s[i - 1]))))) {
      char q = s[i++];
      while (i < s.size() && s[i] != q) {
        if (s[i] == '\\') out[i++] = 'x';
        if (i < s.size()) out[i++] = 'x';
      }
      ++i;
    } else {
      ++i;
    }
  }
  return out;
}

inline bool IsIdent(char c) { return isalnum(static_cast<unsigned char>(c)) || c == '_'; }

inline size_t SkipSpace(const std::string& s, size_t i) {
  while (i < s.size() && isspace(static_cast<unsigned char>(s[i]))) ++i;
  return i;
}

// The index after the bracket closing the one at `i`.
inline size_t Match(const std::string& s, size_t i) {
  char open = s[i], close = open == '(' ? ')' : open == '[' ? ']' : '}';
  int depth = 0;
  for (; i < s.size(); ++i) {
    if (s[i] == open) ++depth;
    if (s[i] == close && --depth == 0) return i + 1;
  }
  return s.size();
}

// The qualified name ending just before `end` ("A::B::~C", "X::operator=").
inline std::string NameBefore(const std::string& s, size_t end) {
  size_t i = end;
  while (i > 0 && isspace(static_cast<unsigned char>(s[i - 1]))) --i;
  size_t stop = i;
  // An operator's symbol.
  size_t op = s.rfind("operator", stop);
  if (op != std::string::npos && op + 8 <= stop && s.find_first_not_of(" =+-*/%<>!&|^~[]()", op + 8) >= stop &&
      (op == 0 || !IsIdent(s[op - 1])))
    i = op;
  for (;;) {
    while (i > 0 && (IsIdent(s[i - 1]) || s[i - 1] == '~')) --i;
    // A qualifier may stand apart from the name ("CFoo::\n  Run").
    size_t q = i;
    while (q > 0 && isspace(static_cast<unsigned char>(s[q - 1]))) --q;
    if (q >= 2 && s[q - 1] == ':' && s[q - 2] == ':') {
      i = q - 2;
      while (i > 0 && isspace(static_cast<unsigned char>(s[i - 1]))) --i;
      if (i > 0 && s[i - 1] == '>') {  // template arguments of a class
        int depth = 0;
        while (i > 0) {
          char c = s[--i];
          if (c == '>') ++depth;
          if (c == '<' && --depth == 0) break;
        }
      }
      continue;
    }
    break;
  }
  std::string name;
  for (size_t k = i; k < stop; ++k)
    if (!isspace(static_cast<unsigned char>(s[k]))) name += s[k];
  // Drop template arguments.
  std::string plain;
  int depth = 0;
  for (char c : name) {
    if (c == '<' && name.find("operator") == std::string::npos)
      ++depth;
    else if (c == '>' && depth > 0)
      --depth;
    else if (depth == 0)
      plain += c;
  }
  return plain;
}

inline std::vector<std::string> SplitName(const std::string& name) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t k; (k = name.find("::", start)) != std::string::npos; start = k + 2)
    parts.push_back(name.substr(start, k - start));
  parts.push_back(name.substr(start));
  return parts;
}

inline bool StartsWith(const std::string& s, size_t at, const char* word) {
  size_t n = std::char_traits<char>::length(word);
  return s.compare(at, n, word) == 0 && (at + n >= s.size() || !IsIdent(s[at + n])) && (at == 0 || !IsIdent(s[at - 1]));
}

// The class a head opens ("class CFoo : public CBar" → "CFoo"), "" for an
// unnamed one.
inline std::string TypeName(const std::string& head) {
  size_t at = std::string::npos;
  for (const char* word : {"class", "struct", "union"})
    for (size_t k = head.find(word); k != std::string::npos; k = head.find(word, k + 1))
      if (StartsWith(head, k, word)) at = k + strlen(word);
  if (at == std::string::npos) return {};
  size_t begin = SkipSpace(head, at), end = begin;
  while (end < head.size() && IsIdent(head[end])) ++end;
  std::string name = head.substr(begin, end - begin);
  return name == "final" ? std::string() : name;
}

inline bool HasWord(const std::string& text, const char* word) {
  for (size_t k = text.find(word); k != std::string::npos; k = text.find(word, k + 1))
    if (StartsWith(text, k, word)) return true;
  return false;
}

struct Scanner {
  const std::string& source;
  std::string s;  // stripped
  std::vector<Method> out;

  int LineOf(size_t at) const {
    int n = 1;
    for (size_t k = 0; k < at && k < s.size(); ++k) n += s[k] == '\n';
    return n;
  }

  void Check(const std::string& cls, const std::string& method, size_t body) {
    Method m;
    m.name = cls + "::" + method;
    m.line = LineOf(body);
    size_t k = SkipSpace(source, body + 1);
    size_t eol = source.find_first_of(";\n", k);
    m.first = source.substr(k, eol == std::string::npos ? std::string::npos : eol - k);
    m.traced = m.first == "Trace(\"" + m.name + "\")";
    // An implementation class records the name of the class it implements
    // (CMainWindowImpl::Create as "CMainWindow::Create").
    if (!m.traced && cls.size() > 4 && cls.compare(cls.size() - 4, 4, "Impl") == 0) {
      std::string face = cls.substr(0, cls.size() - 4), name = method;
      if (name == cls) name = face;
      if (name == "~" + cls) name = "~" + face;
      m.traced = m.first == "Trace(\"" + face + "::" + name + "\")";
    }
    out.push_back(m);
  }

  // The brace of the body of the function whose head ends with the
  // parameter list at `paren`. A constructor's initialiser list may hold
  // member braces (`mX{}`), which follow a name; the body's brace does not.
  size_t BodyOf(size_t declStart, size_t paren) const {
    size_t k = Match(s, paren);
    bool initList = false;
    for (;;) {
      k = SkipSpace(s, k);
      if (k >= s.size()) return s.size();
      if (s[k] == ';') return std::string::npos;  // a declaration after all
      if (s[k] == ':' && (k + 1 >= s.size() || s[k + 1] != ':') && s[k - 1] != ':') initList = true;
      if (s[k] == '{') {
        size_t p = k;
        while (p > declStart && isspace(static_cast<unsigned char>(s[p - 1]))) --p;
        if (initList && p > declStart && (IsIdent(s[p - 1]) || s[p - 1] == '>')) {
          k = Match(s, k);
          continue;
        }
        return k;
      }
      if (s[k] == '(' || s[k] == '[') {
        k = Match(s, k);
        continue;
      }
      ++k;
    }
  }

  // Walks the declarations from `i` to `end`. At file and namespace scope
  // (`cls` empty) every qualified definition is a method; inside the body
  // of class `cls`, the virtual ones written there are.
  void Scope(size_t i, size_t end, const std::string& cls) {
    size_t declStart = i;
    while (i < end) {
      char c = s[i];
      if (c == '#') {  // a preprocessor line, with its continuations
        while (i < end && s[i] != '\n') i += s[i] == '\\' ? 2 : 1;
        declStart = i;
        continue;
      }
      if (c == ';' || c == '}') {
        declStart = ++i;
        continue;
      }
      if (c == ':' && !cls.empty() && (i + 1 >= end || s[i + 1] != ':') && (i == 0 || s[i - 1] != ':')) {
        // "public:" and the like end nothing but start the next member.
        std::string label = s.substr(declStart, i - declStart);
        if (HasWord(label, "public") || HasWord(label, "protected") || HasWord(label, "private")) {
          declStart = ++i;
          continue;
        }
      }
      if (c == '(' || c == '[') {
        i = Match(s, i);
        continue;
      }
      if (c != '{') {
        ++i;
        continue;
      }
      std::string head = s.substr(declStart, i - declStart);
      bool isNamespace = false, isType = false, isInit = false;
      int depth = 0;
      for (size_t k = 0; k < head.size(); ++k) {
        char h = head[k];
        if (h == '(' || h == '[') ++depth;
        if (h == ')' || h == ']') --depth;
        if (depth != 0) continue;
        if (StartsWith(head, k, "namespace") || StartsWith(head, k, "extern")) isNamespace = true;
        if (StartsWith(head, k, "class") || StartsWith(head, k, "struct") || StartsWith(head, k, "union") ||
            StartsWith(head, k, "enum"))
          isType = true;
        if (h == '=' && (k + 1 >= head.size() || head[k + 1] != '=') && (k == 0 || !strchr("=!<>+-*/", head[k - 1])) &&
            !(k >= 8 && head.compare(k - 8, 8, "operator") == 0))
          isInit = true;
      }
      size_t paren = head.find('(');
      // The call operator's own brackets are part of its name.
      if (paren != std::string::npos && paren >= 8 && head.compare(paren, 2, "()") == 0) {
        size_t n = paren;
        while (n > 0 && isspace(static_cast<unsigned char>(head[n - 1]))) --n;
        if (n >= 8 && head.compare(n - 8, 8, "operator") == 0) paren = head.find('(', paren + 2);
      }
      if (isNamespace && paren == std::string::npos && cls.empty()) {
        declStart = ++i;  // namespaces are transparent
        continue;
      }
      if (isType && paren == std::string::npos) {
        size_t close = Match(s, i);
        if (!HasWord(head, "enum")) Scope(i + 1, close - 1, TypeName(head));
        i = close;
        continue;
      }
      if (isInit || paren == std::string::npos) {
        i = Match(s, i);  // an initialiser: skipped whole
        continue;
      }
      size_t body = BodyOf(declStart, declStart + paren);
      if (body == std::string::npos || body >= end) {
        i = Match(s, i);
        continue;
      }
      std::vector<std::string> parts = SplitName(NameBefore(s, declStart + paren));
      if (cls.empty()) {
        while (parts.size() > 1 && !parts[0].empty() && islower(static_cast<unsigned char>(parts[0][0])))
          parts.erase(parts.begin());
        if (parts.size() >= 2 && !parts[parts.size() - 2].empty()) Check(parts[parts.size() - 2], parts.back(), body);
      } else if (HasWord(head, "virtual") || HasWord(s.substr(declStart, body - declStart), "override")) {
        Check(cls, parts.back(), body);
      }
      i = Match(s, body);
      declStart = i;
    }
  }
};

}  // namespace detail

// Every method `source` defines that must trace itself: the definitions at
// file or namespace scope qualified by a class, and the virtual functions
// written inside a class body.
inline std::vector<Method> FindMethods(const std::string& source) {
  detail::Scanner scanner{source, detail::Strip(source), {}};
  scanner.Scope(0, scanner.s.size(), "");
  return scanner.out;
}

}  // namespace methodscan
