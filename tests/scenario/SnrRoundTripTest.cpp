// Compile → decompile → compile gives the same bytes, for the corpus that
// uses every command and for files only a raw form can express.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <set>
#include <string>

#include "SnrTestFile.h"
#include "scenario/CommandTable.h"
#include "scenario/Scramble.h"
#include "scenario/SnrCompiler.h"
#include "scenario/SnrDecompiler.h"

using namespace snr;
using snrtest::Cmd;

namespace {

std::string Corpus() {
  std::ifstream in(std::string(VELTO_SOURCE_DIR) + "/tests/scenario/data/AllCommands.txt", std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Decompiles `file` and compiles the text again; the text comes back too.
Bytes Again(const Bytes& file, TextEncoding encoding, std::string* text = nullptr, const char* phrase = "K") {
  DecompileResult d = DecompileScenario(file.data(), file.size(), phrase, encoding);
  EXPECT_TRUE(d.ok) << d.error;
  if (text) *text = d.text;
  CompileResult c = CompileScenario(d.text, "again.txt", encoding);
  EXPECT_TRUE(c.ok) << c.error << "\n" << d.text;
  return c.file;
}

class RoundTrip : public testing::TestWithParam<TextEncoding> {};

TEST_P(RoundTrip, CorpusUsesEveryCommandAndComesBackIdentical) {
  std::string source = Corpus();
  ASSERT_FALSE(source.empty());
  CompileResult first = CompileScenario(source, "AllCommands.txt", GetParam());
  ASSERT_TRUE(first.ok) << first.error;

  CSnrBuffer buffer;
  ASSERT_TRUE(buffer.ReadMemory("C", first.file.data(), first.file.size(), "K"));
  std::set<uint16_t> seen;
  for (; !buffer.IsFinish(); buffer.NextCommand()) seen.insert(buffer.GetCmdID());
  size_t count;
  const SnrCommandInfo* table = Commands(count);
  EXPECT_EQ(count, 70u);
  for (size_t i = 0; i < count; ++i) EXPECT_TRUE(seen.count(table[i].id)) << table[i].name;

  std::string text;
  Bytes second = Again(first.file, GetParam(), &text);
  EXPECT_EQ(second, first.file) << text;
  // The decompiled text reads naturally where it can.
  EXPECT_NE(text.find("*L0:\nLPT 0\n"), std::string::npos) << text;
  EXPECT_NE(text.find("MOV $10, ($1 + 2 * $3)"), std::string::npos) << text;
  EXPECT_NE(text.find("{$s3}さん & \\\"友\\\" \\\\ \\{$s9} \\x81"), std::string::npos) << text;
  EXPECT_NE(text.find("JP *L1"), std::string::npos) << text;
  // And once more: the text is stable.
  std::string text2;
  Again(second, GetParam(), &text2);
  EXPECT_EQ(text2, text);
}

INSTANTIATE_TEST_SUITE_P(Encodings, RoundTrip, testing::Values(TextEncoding::kSjis, TextEncoding::kGbk),
                         [](const auto& info) { return info.param == TextEncoding::kGbk ? "Gbk" : "Sjis"; });

TEST(SnrDecompiler, ScrambledFilesComeBackWithTheirPhrase) {
  CompileResult c = CompileScenario(Corpus(), "AllCommands.txt", TextEncoding::kSjis);
  ASSERT_TRUE(c.ok);
  Bytes scrambled = c.file;
  ScrambleBlocks(scrambled.data(), scrambled.size(), "Phrase");
  DecompileResult d = DecompileScenario(scrambled.data(), scrambled.size(), "Phrase", TextEncoding::kSjis);
  ASSERT_TRUE(d.ok);
  EXPECT_TRUE(d.scrambled);
  CompileResult again = CompileScenario(d.text, "x", TextEncoding::kSjis);
  ASSERT_TRUE(again.ok);
  ScrambleBlocks(again.file.data(), again.file.size(), "Phrase");
  EXPECT_EQ(again.file, scrambled);
  EXPECT_FALSE(DecompileScenario(scrambled.data(), scrambled.size(), "Wrong", TextEncoding::kSjis).ok);
}

TEST(SnrDecompiler, FilesOnlyRawFormsCanExpress) {
  SnrImage image;
  Bytes p;
  PutExpr(p, {{0, 1}, {2, 5}}, 9);          // operator with an operand, underflow, odd end
  PutExpr(p, {{1, 2000}});                  // variable out of range
  PutVar(p, 5000);
  PutStrVar(p, 300);
  p.push_back(0xEE);                        // unknown type
  PutStr(p, std::string("&\x05\x01 &\x26\x80 \x82\xA0 \x82 \xFF\x40 &", 17));
  Cmd(image, 1000, p);
  Cmd(image, kCmdLPT, [] { Bytes q; PutInt(q, 0); return q; }());   // records nothing itself
  Cmd(image, kCmdLPT, [] { Bytes q; PutInt(q, 0); return q; }());   // table 0 entry 0 points here
  Bytes cut;
  PutInt(cut, 1);
  cut.resize(3);
  Cmd(image, 7, cut);                       // a parameter cut short inside its record
  image.commands.insert(image.commands.end(), {0x05, 0x00, 0x40});  // a record header cut short
  uint32_t size = static_cast<uint32_t>(image.commands.size());
  image.labels = {size, 3, 0, size + 10};   // out of order, inside a record, past the end
  image.tables[0] = {0, 0, 0};              // entry 0 fixed below
  image.tables[5] = {1, 0, 0, 0};           // inside a record, then a long tail of zeros
  image.reserved[16] = 0xAB;
  image.reserved[1111] = 1;
  Bytes file = image.Build();
  // Point entry 0 of table 0 at the second LPT.
  CSnrBuffer buffer;
  ASSERT_TRUE(buffer.ReadMemory("T", file.data(), file.size(), "K"));
  buffer.NextCommand();
  buffer.NextCommand();
  image.tables[0][0] = buffer.GetPos();
  file = image.Build();

  for (TextEncoding e : {TextEncoding::kSjis, TextEncoding::kGbk}) {
    std::string text;
    EXPECT_EQ(Again(file, e, &text), file) << text;
  }
}

TEST(SnrDecompiler, VariablePositionsComeBackInBothForms) {
  // Destinations stored as literals and as variable parameters, in and out
  // of the variable range, as older files and hand-made ones hold them.
  SnrImage image;
  for (auto [type, v] : std::vector<std::pair<int, int32_t>>{{1, 10}, {2, 10}, {1, -1}, {1, 5000}, {2, 5000}}) {
    Bytes p;
    if (type == 1) PutInt(p, v); else PutVar(p, static_cast<uint32_t>(v));
    PutVar(p, 7);
    Cmd(image, kCmdMOV, p);
  }
  Bytes p;
  PutInt(p, 1);
  for (int i = 0; i < 5; ++i) PutVar(p, static_cast<uint32_t>(20 + i));
  Cmd(image, kCmdAWAIT, p);
  Bytes file = image.Build();
  std::string text;
  EXPECT_EQ(Again(file, TextEncoding::kSjis, &text), file) << text;
  EXPECT_EQ(text,
            "MOV $10, $7\n"
            "MOV $[$10], $7\n"
            "MOV -1, $7\n"
            "MOV 5000, $7\n"
            "MOV <02 88 13 00 00>, $7\n"
            "AWAIT 1, $[$20], $[$21], $[$22], $[$23], $[$24]\n");
}

TEST(SnrDecompiler, ExpressionsTooDeepForInfixComeOutRaw) {
  // ((1 + 1) * 1 + 1) * 1 ...: two stack entries, but parentheses nest ever deeper.
  std::vector<std::pair<int32_t, int32_t>> pairs{{0, 1}};
  for (int i = 0; i < 600; ++i) {
    pairs.push_back({0, 1});
    pairs.push_back({i % 2 ? kOpMul : kOpAdd, 0});
  }
  SnrImage image;
  Bytes p;
  PutExpr(p, pairs);
  Cmd(image, kCmdMOV, p);
  Bytes file = image.Build();
  std::string text;
  EXPECT_EQ(Again(file, TextEncoding::kSjis, &text), file);
  EXPECT_EQ(text.substr(0, 6), "MOV @(");
  pairs.resize(201);  // shallow enough for infix
  image.commands.clear();
  p.clear();
  PutExpr(p, pairs);
  Cmd(image, kCmdMOV, p);
  file = image.Build();
  EXPECT_EQ(Again(file, TextEncoding::kSjis, &text), file);
  EXPECT_EQ(text.substr(0, 8), "MOV ((((");
}

TEST(SnrDecompiler, DumpShowsOneLinePerCommand) {
  CompileResult c = CompileScenario("*a:\nMOV $1, ($2 * 3)\nDEF 1, 0, \"星\"\nCMD 555, -1\nJP *a\n",
                                    "d.txt", TextEncoding::kSjis);
  ASSERT_TRUE(c.ok);
  DecompileResult d = DumpScenario(c.file.data(), c.file.size(), "K", TextEncoding::kSjis);
  ASSERT_TRUE(d.ok);
  EXPECT_EQ(d.text,
            "00000000     5 MOV           $1, ($2 * 3)\n"
            "0000002a     0 DEF           1, 0, \"星\"\n"
            "0000003c   555 ?             -1\n"
            "00000045     3 JP            *L0\n");
  Bytes junk(100, 0x55);
  EXPECT_FALSE(DumpScenario(junk.data(), junk.size(), "K", TextEncoding::kSjis).ok);
}

}  // namespace
