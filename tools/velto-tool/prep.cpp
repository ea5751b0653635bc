// velto-tool prep: runs a source through the generators' preprocessor
// (%include, %set, %for, %if, %macro, %{expressions}, @text keys) and
// writes the result, so that scenario sources and setup tables can share
// layouts and take their texts from a language's table. It also lists the
// spoken lines of a scenario for velto-tool voice.
#include <fstream>
#include <string>
#include <vector>

#include "Command.h"
#include "ToolFiles.h"
#include "gen/SourceOptions.h"
#include "gen/VoiceList.h"

namespace {

int PrepMain(const tool::Args& args);

VELTO_TOOL_COMMAND("prep", "preprocess a source: includes, variables, loops, texts of a language",
                   "usage: velto-tool prep [--var NAME=VALUE]... [--text FILE]... [-I DIR]... [--deps FILE]\n"
                   "                       [--voices LIST] IN.txt OUT.txt\n"
                   "\n"
                   "Writes IN.txt with its directives carried out, %{...} computed and @key\n"
                   "replaced by the quoted text of key. --voices writes the spoken lines\n"
                   "(MSG commands with a voice, and '# voice NAME PLATE \"TEXT\"' lines) as\n"
                   "NAME<TAB>PLATE<TAB>TEXT for velto-tool voice batch.\n",
                   &PrepMain);

int PrepMain(const tool::Args& input) {
  std::vector<std::string> args = input;
  gen::SourceOptions options;
  std::string error, voices;
  if (!gen::TakeSourceOptions(&args, &options, &error)) return tool::Fail(error);
  std::vector<std::string> files;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--voices" && i + 1 < args.size()) voices = args[++i];
    else if (!args[i].empty() && args[i][0] == '-') return tool::Usage("prep");
    else files.push_back(args[i]);
  }
  if (files.size() != 2) return tool::Usage("prep");
  gen::CPreprocessor pre;
  gen::ApplySourceOptions(options, &pre);
  std::vector<gen::SourceLine> lines;
  if (!pre.Run(files[0], &lines, &error)) return tool::Fail(error);
  std::string text;
  for (const auto& l : lines) text += l.text + "\n";
  if (!tool::WriteWholeFile(files[1], text.data(), text.size())) return tool::Fail("cannot write " + files[1]);
  if (!voices.empty()) {
    std::vector<gen::VoiceLine> spoken;
    if (!gen::CollectVoiceLines(lines, &spoken, &error)) return tool::Fail(error);
    std::string list = gen::FormatVoiceList(spoken);
    if (!tool::WriteWholeFile(voices, list.data(), list.size())) return tool::Fail("cannot write " + voices);
  }
  if (!gen::WriteDepFile(options, files[1], pre.Files(), &error)) return tool::Fail(error);
  return 0;
}

}  // namespace
