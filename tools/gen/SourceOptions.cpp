#include "gen/SourceOptions.h"

#include <cstdlib>
#include <fstream>

#include "app/core/Trace.h"

namespace gen {

Value ValueFromArg(const std::string& text) {
  char* end = nullptr;
  double v = strtod(text.c_str(), &end);
  if (!text.empty() && end && *end == 0) return Value::Num(v);
  return Value::Text(text);
}

bool TakeSourceOptions(std::vector<std::string>* args, SourceOptions* o, std::string* error) {
  Trace("TakeSourceOptions");
  std::vector<std::string> rest;
  for (size_t i = 0; i < args->size(); ++i) {
    const std::string& a = (*args)[i];
    bool value = i + 1 < args->size();
    if ((a == "--var" || a == "--text" || a == "-I" || a == "--deps") && !value) {
      *error = a + " needs a value";
      return false;
    }
    if (a == "--var") {
      const std::string& v = (*args)[++i];
      size_t eq = v.find('=');
      if (eq == std::string::npos || eq == 0) {
        *error = "--var NAME=VALUE";
        return false;
      }
      o->vars.emplace_back(v.substr(0, eq), v.substr(eq + 1));
    } else if (a == "--text") {
      o->textFiles.push_back((*args)[++i]);
    } else if (a == "-I") {
      o->includeDirs.push_back((*args)[++i]);
    } else if (a == "--deps") {
      o->depFile = (*args)[++i];
    } else {
      rest.push_back(a);
    }
  }
  *args = rest;
  for (const auto& f : o->textFiles)
    if (!o->texts.Load(f, error)) return false;
  return true;
}

void ApplySourceOptions(SourceOptions& o, CPreprocessor* pre) {
  Trace("ApplySourceOptions");
  for (const auto& [name, value] : o.vars) pre->SetVar(name, ValueFromArg(value));
  for (const auto& dir : o.includeDirs) pre->AddIncludeDir(dir);
  pre->SetTexts(&o.texts);
}

bool WriteDepFile(const SourceOptions& o, const std::string& target, const std::vector<std::string>& deps,
                  std::string* error) {
  Trace("WriteDepFile");
  if (o.depFile.empty()) return true;
  std::ofstream out(o.depFile);
  auto escape = [](const std::string& s) {
    std::string r;
    for (char c : s) {
      if (c == ' ' || c == '#') r += '\\';
      r += c;
    }
    return r;
  };
  out << escape(target) << ":";
  for (const auto& d : deps) out << " \\\n  " << escape(d);
  for (const auto& d : o.textFiles) out << " \\\n  " << escape(d);
  out << "\n";
  out.close();
  if (!out) {
    *error = "cannot write " + o.depFile;
    return false;
  }
  return true;
}

}  // namespace gen
