// The preprocessor every generator source goes through (pictures, hit maps,
// scores, scenes, setup tables): it includes files, keeps variables, repeats
// and chooses lines, expands macros, computes %{expressions} and puts the
// texts of the chosen language in place of @keys. Directives:
//
//   %include "FILE"             the lines of FILE (relative to this file,
//                               then to the include folders)
//   %set NAME EXPR              a variable, number or text
//   %for NAME FIRST LAST [STEP] the lines up to %end for each value
//   %if EXPR / %elif EXPR / %else / %end
//   %macro NAME P1 P2 ... / %end   a block with parameters
//   %call NAME(ARG, ...)        the macro's lines with its parameters set
//   %error "TEXT"               stop with TEXT
//
// In every other line, %{EXPR} becomes the value of EXPR, and @key outside
// quotes becomes the quoted text of `key` (@@ is a plain @). A line ending
// in a backslash goes on on the next line.
#pragma once
#include <istream>
#include <map>
#include <string>
#include <vector>

#include "gen/Expr.h"
#include "gen/TextTable.h"

namespace gen {

struct SourceLine {
  std::string file;
  int line = 0;
  std::string text;
  std::string Where() const { return file + ":" + std::to_string(line); }
};

class CPreprocessor {
 public:
  void SetVar(const std::string& name, const Value& value);
  void SetTexts(const CTextTable* texts);
  void AddIncludeDir(const std::string& dir);
  // Processes FILE. False with "FILE:LINE: message".
  bool Run(const std::string& path, std::vector<SourceLine>* out, std::string* error);
  // Processes `text` as if it were the file `name`.
  bool RunText(const std::string& name, const std::string& text, std::vector<SourceLine>* out, std::string* error);
  // Every file read, the first one included, for build dependencies.
  const std::vector<std::string>& Files() const { return mFiles; }
  const Variables& Vars() const { return mVars; }

 private:
  struct Macro {
    std::vector<std::string> params;
    std::vector<SourceLine> body;
  };
  bool ReadLines(const std::string& path, std::vector<SourceLine>* lines);
  void SplitLines(const std::string& path, std::istream& in, std::vector<SourceLine>* lines);
  bool Block(const std::vector<SourceLine>& lines, size_t begin, size_t end, int depth);
  bool Directive(const std::vector<SourceLine>& lines, size_t* at, size_t end, int depth);
  bool FindEnd(const std::vector<SourceLine>& lines, size_t from, size_t end, size_t* close,
               std::vector<size_t>* branches);
  bool Substitute(const SourceLine& line, bool directive, std::string* out);
  bool Eval(const SourceLine& line, const std::string& text, Value* value);
  std::string Resolve(const std::string& from, const std::string& name) const;
  bool Fail(const SourceLine& line, const std::string& message);

  Variables mVars;
  const CTextTable* mpTexts = nullptr;
  std::vector<std::string> mIncludeDirs;
  std::vector<std::string> mFiles;
  std::map<std::string, Macro> mMacros;
  std::vector<SourceLine>* mpOut = nullptr;
  std::string mError;
  long mSteps = 0;
};

// The directive word of a line ("for" for "  %for i 0 3"), or "".
std::string DirectiveName(const std::string& text);

}  // namespace gen
