// The command-line options every generator command shares: variables, the
// language's texts, include folders and a dependency file for the build.
#pragma once
#include <string>
#include <vector>

#include "gen/Preprocess.h"
#include "gen/TextTable.h"

namespace gen {

struct SourceOptions {
  std::vector<std::pair<std::string, std::string>> vars;  // --var NAME=VALUE
  std::vector<std::string> textFiles;                     // --text FILE
  std::vector<std::string> includeDirs;                   // -I DIR
  std::string depFile;                                    // --deps FILE
  CTextTable texts;
};

// Takes the shared options out of `args` (leaving the rest in order).
// False with a message on a malformed option or an unreadable text table.
bool TakeSourceOptions(std::vector<std::string>* args, SourceOptions* options, std::string* error);
// Sets up a preprocessor with the options.
void ApplySourceOptions(SourceOptions& options, CPreprocessor* pre);
// Writes "TARGET: DEP DEP ..." for the build when --deps was given.
bool WriteDepFile(const SourceOptions& options, const std::string& target, const std::vector<std::string>& deps,
                  std::string* error);
// "12" becomes a number, anything else a text.
Value ValueFromArg(const std::string& text);

}  // namespace gen
