#include "scenario/SnrCompiler.h"

#include <map>
#include <vector>

#include "scenario/CommandTable.h"
#include "scenario/SnrSourceParams.h"

namespace snr {

namespace {

class Compiler {
 public:
  explicit Compiler(TextEncoding encoding) : mCodec(encoding) {}

  void Line(std::string_view text, int number) {
    SourceLine line(text, number);
    if (line.AtLineEnd()) return;
    if (line.Peek() == '*') return LabelLine(line);
    if (line.Peek() == '.') return Directive(line);
    CommandLine(line);
  }

  Bytes Finish() {
    for (const auto& fix : mFixups) {
      auto it = mLabels.find(fix.name);
      if (it == mLabels.end()) throw SourceError{fix.line, fix.column, "label *" + fix.name + " is not defined"};
      Put32(mImage.commands.data() + fix.at, it->second.number);
    }
    for (int t = 0; t < kTableCount; ++t) {
      mImage.tables[t].assign(mTableSize[t], 0);
      for (const auto& [n, entry] : mEntries[t]) mImage.tables[t][n] = entry.offset;
    }
    return mImage.Build();
  }

 private:
  struct Label {
    uint32_t number;
    int line;
  };
  struct Entry {
    uint32_t offset;
    int line;
  };
  struct Fixup {
    size_t at;
    std::string name;
    int line, column;
  };

  uint32_t Here() const { return static_cast<uint32_t>(mImage.commands.size()); }

  void DefineLabel(SourceLine& line, size_t at, std::string_view name, uint32_t offset) {
    if (name.empty()) line.FailAt(at, "expected a label name");
    auto [it, fresh] = mLabels.try_emplace(std::string(name), Label{static_cast<uint32_t>(mImage.labels.size()), line.Line()});
    if (!fresh)
      line.FailAt(at, "label *" + std::string(name) + " is already defined on line " + std::to_string(it->second.line));
    mImage.labels.push_back(offset);
  }

  void DefineEntry(SourceLine& line, size_t at, uint32_t table, uint32_t n, uint32_t offset) {
    auto [it, fresh] = mEntries[table].try_emplace(n, Entry{offset, line.Line()});
    if (!fresh)
      line.FailAt(at, "load point " + std::to_string(table) + " " + std::to_string(n) + " is already defined on line " +
                          std::to_string(it->second.line));
    GrowTable(line, at, table, n + 1);
  }

  // Keeps the sum of all table sizes within bounds.
  void GrowTable(SourceLine& line, size_t at, uint32_t table, uint32_t size) {
    if (size <= mTableSize[table]) return;
    mTotalEntries += size - mTableSize[table];
    mTableSize[table] = size;
    if (mTotalEntries > kMaxLoadPointTotal)
      line.FailAt(at, "load-point tables exceed " + std::to_string(kMaxLoadPointTotal) + " entries in all");
  }

  // "*name:" on its own line: the label stands at the next command.
  void LabelLine(SourceLine& line) {
    size_t at = line.Pos();
    line.Advance();
    std::string_view name = line.Name();
    if (!line.Eat(':')) line.Fail("expected ':' after the label name");
    if (!line.AtLineEnd()) line.Fail("a label definition stands on its own line");
    DefineLabel(line, at, name, Here());
  }

  void Directive(SourceLine& line) {
    size_t at = line.Pos();
    line.Advance();
    std::string word(line.Name());
    if (word == "loadpoint") {
      uint32_t table = ParseCount(line, kTableCount - 1, "table number");
      line.SkipSpace();
      size_t entryAt = line.Pos();
      uint32_t n = ParseCount(line, kMaxLoadPointEntry, "load-point number");
      uint32_t offset = line.AtLineEnd() ? Here() : ParseCount(line, 0xFFFFFFFF, "offset");
      DefineEntry(line, entryAt, table, n, offset);
    } else if (word == "label") {
      line.SkipSpace();
      size_t nameAt = line.Pos();
      line.Eat('*');
      std::string_view name = line.Name();
      uint32_t offset = ParseCount(line, 0xFFFFFFFF, "offset");
      DefineLabel(line, nameAt, name, offset);
    } else if (word == "tablesize") {
      uint32_t table = ParseCount(line, kTableCount - 1, "table number");
      line.SkipSpace();
      size_t sizeAt = line.Pos();
      GrowTable(line, sizeAt, table, ParseCount(line, kMaxLoadPointEntry + 1, "table size"));
    } else if (word == "reserved") {
      uint32_t offset = ParseCount(line, kLabelOffset, "header offset");
      while (!line.AtLineEnd()) {
        bool word16 = offset >= kReservedWordOffset && offset < kReservedWordOffset + 4;
        bool block = offset >= kReservedBlockOffset && offset < kReservedBlockOffset + kReservedBlockSize;
        if (!word16 && !block) line.Fail("only header bytes 16-19 and 1048-1111 are free");
        mImage.reserved[offset++] = static_cast<uint8_t>(ParseCount(line, 255, "byte"));
      }
    } else if (word == "bytes") {
      while (!line.AtLineEnd()) {
        ParsedParam raw = ParseParam(line, mCodec);
        if (line.Text()[raw.at] != '<') line.FailAt(raw.at, "expected raw bytes in '<' '>'");
        mImage.commands.insert(mImage.commands.end(), raw.bytes.begin(), raw.bytes.end());
      }
    } else {
      line.FailAt(at, "unknown directive ." + word);
    }
    if (!line.AtLineEnd()) line.Fail("unexpected text after the directive");
  }

  void CommandLine(SourceLine& line) {
    size_t at = line.Pos();
    std::string name(line.Name());
    if (name.empty()) line.Fail("expected a command name");
    // A named command's variable positions read "$n" as the variable's
    // number; raw records take every parameter as written.
    uint16_t named = kSetupRecordId;
    bool isNamed = name != "DEF" && name != "def" && name != "CMD" && name != "cmd" && CommandByName(name, named);
    std::vector<ParsedParam> params;
    if (!line.AtLineEnd()) {
      for (;;) {
        bool var = isNamed && IsVarParam(named, static_cast<int>(params.size()));
        params.push_back(ParseParam(line, mCodec, var));
        if (line.AtLineEnd()) break;
        line.Expect(',', "',' between parameters");
      }
    }
    uint16_t id;
    bool raw = false;
    if (name == "DEF" || name == "def") {
      id = kSetupRecordId;
    } else if (name == "CMD" || name == "cmd") {
      if (params.empty() || !params[0].isLiteral || params[0].value < 0 || params[0].value > 0xFFFF)
        line.FailAt(params.empty() ? line.Pos() : params[0].at, "CMD needs an identifier 0-65535 first");
      id = static_cast<uint16_t>(params[0].value);
      params.erase(params.begin());
      raw = true;
    } else if (!CommandByName(name, id)) {
      line.FailAt(at, "unknown command " + name);
    }
    // "LPT n" records itself as entry n of load-point table 0.
    if (!raw && id == kCmdLPT && !params.empty() && params[0].isLiteral && params[0].value >= 0) {
      if (params[0].value > kMaxLoadPointEntry) line.FailAt(params[0].at, "load-point number out of range");
      DefineEntry(line, params[0].at, 0, static_cast<uint32_t>(params[0].value), Here());
    }
    Bytes bytes;
    for (const auto& p : params) {
      if (!p.label.empty())
        mFixups.push_back({Here() + kRecordHeaderSize + bytes.size() + 1, p.label, line.Line(), line.Column(p.at)});
      bytes.insert(bytes.end(), p.bytes.begin(), p.bytes.end());
    }
    if (!PutRecord(mImage.commands, id, bytes)) line.FailAt(at, "parameters exceed 65535 bytes");
  }

  TextCodec mCodec;
  SnrImage mImage;
  std::map<std::string, Label> mLabels;
  std::map<uint32_t, Entry> mEntries[kTableCount];
  uint32_t mTableSize[kTableCount] = {};  // the largest size asked for so far
  uint64_t mTotalEntries = 0;
  std::vector<Fixup> mFixups;
};

}  // namespace

CompileResult CompileScenario(std::string_view source, const std::string& fileName, TextEncoding encoding) {
  CompileResult result;
  Compiler compiler(encoding);
  try {
    int number = 1;
    size_t start = 0;
    // A byte-order mark at the very start is not part of the text.
    if (source.substr(0, 3) == "\xEF\xBB\xBF") start = 3;
    while (start <= source.size()) {
      size_t end = source.find('\n', start);
      if (end == std::string_view::npos) end = source.size();
      compiler.Line(source.substr(start, end - start), number++);
      start = end + 1;
    }
    result.file = compiler.Finish();
    result.ok = true;
  } catch (const SourceError& e) {
    result.error = fileName + ":" + std::to_string(e.line) + ":" + std::to_string(e.column) + ": " + e.message;
  }
  return result;
}

}  // namespace snr
