// velto-tool snr: compiles scenario source to compiled scenario files,
// decompiles them back, and dumps their commands.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "Command.h"
#include "ToolFiles.h"
#include "app/core/MainWindow.h"
#include "platform/Encoding.h"
#include "scenario/Scramble.h"
#include "scenario/SnrCompiler.h"
#include "scenario/SnrDecompiler.h"
#include "scenario/TextCodec.h"

namespace {

const char kUsage[] =
    "usage: velto-tool snr compile [--encoding sjis|gbk] [--scramble] [--key PHRASE] IN.txt OUT.MSD\n"
    "       velto-tool snr decompile [--encoding sjis|gbk] [--key PHRASE] IN.MSD OUT.txt\n"
    "       velto-tool snr dump [--encoding sjis|gbk] [--key PHRASE] IN.MSD\n"
    "\n"
    "compile    compiles UTF-8 scenario source into a compiled scenario file;\n"
    "           --scramble stores it scrambled with the title phrase\n"
    "decompile  writes source that compiles back to the very same file\n"
    "dump       one line per command: offset, identifier, name, parameters\n"
    "\n"
    "--encoding the text encoding of the compiled file (default: this build's)\n"
    "--key      the title phrase (UTF-8) that keys scrambling (default: this\n"
    "           build's window title)\n";

struct Options {
  snr::TextEncoding encoding = snr::BuildTextEncoding();
  bool scramble = false;
  bool haveKey = false;
  std::string key;  // UTF-8
  std::vector<std::string> files;
};

// Parses the options; an error message when they are wrong.
std::string ParseOptions(const tool::Args& args, size_t from, bool allowScramble, Options& o) {
  for (size_t i = from; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--encoding" && i + 1 < args.size()) {
      if (!snr::ParseTextEncoding(args[++i], o.encoding)) return "unknown encoding '" + args[i] + "'";
    } else if (a == "--key" && i + 1 < args.size()) {
      o.haveKey = true;
      o.key = args[++i];
    } else if (a == "--scramble" && allowScramble) {
      o.scramble = true;
    } else if (a.size() > 1 && a[0] == '-') {
      return "unknown option '" + a + "'";
    } else {
      o.files.push_back(a);
    }
  }
  return "";
}

// The key phrase in the target encoding.
bool KeyPhrase(const Options& o, std::string& phrase) {
  std::string utf8 = o.haveKey ? o.key : plat::ToUtf8(GameTitle());
  snr::TextCodec codec(o.encoding);
  size_t bad;
  return codec.Encode(utf8, phrase, bad);
}

int Compile(const Options& o) {
  std::string source;
  if (!tool::ReadWholeFile(o.files[0], &source)) return tool::Fail("cannot read " + o.files[0]);
  snr::CompileResult result = snr::CompileScenario(source, o.files[0], o.encoding);
  if (!result.ok) {
    fprintf(stderr, "%s\n", result.error.c_str());
    return 1;
  }
  if (o.scramble) {
    std::string phrase;
    if (!KeyPhrase(o, phrase)) return tool::Fail("the key phrase does not fit the text encoding");
    snr::ScrambleBlocks(result.file.data(), result.file.size(), phrase.c_str());
  }
  if (!tool::WriteWholeFile(o.files[1], result.file.data(), result.file.size()))
    return tool::Fail("cannot write " + o.files[1]);
  return 0;
}

int Decompile(const Options& o, bool dump) {
  std::string data;
  if (!tool::ReadWholeFile(o.files[0], &data)) return tool::Fail("cannot read " + o.files[0]);
  std::string phrase;
  if (!KeyPhrase(o, phrase)) return tool::Fail("the key phrase does not fit the text encoding");
  const auto* bytes = reinterpret_cast<const uint8_t*>(data.data());
  snr::DecompileResult result = dump ? snr::DumpScenario(bytes, data.size(), phrase.c_str(), o.encoding)
                                     : snr::DecompileScenario(bytes, data.size(), phrase.c_str(), o.encoding);
  if (!result.ok) return tool::Fail(o.files[0] + ": " + result.error);
  if (dump) {
    fwrite(result.text.data(), 1, result.text.size(), stdout);
    return 0;
  }
  if (!tool::WriteWholeFile(o.files[1], result.text.data(), result.text.size()))
    return tool::Fail("cannot write " + o.files[1]);
  return 0;
}

int SnrMain(const tool::Args& args) {
  if (args.empty()) return tool::Fail(std::string("missing subcommand\n") + kUsage);
  const std::string& sub = args[0];
  Options o;
  std::string error = ParseOptions(args, 1, sub == "compile", o);
  if (!error.empty()) return tool::Fail(error);
  if (sub == "compile" && o.files.size() == 2) return Compile(o);
  if (sub == "decompile" && o.files.size() == 2) return Decompile(o, false);
  if (sub == "dump" && o.files.size() == 1) return Decompile(o, true);
  fprintf(stderr, "%s", kUsage);
  return 2;
}

}  // namespace

VELTO_TOOL_COMMAND("snr", "compile, decompile and dump scenario files", kUsage, &SnrMain);
