// The compiler: file layout, parameter encodings, tables and errors.
#include "scenario/SnrCompiler.h"

#include <gtest/gtest.h>

#include <string>

#include "scenario/CommandTable.h"
#include "scenario/SnrBuffer.h"

using namespace snr;

namespace {

Bytes Compile(const std::string& source, TextEncoding encoding = TextEncoding::kSjis) {
  CompileResult r = CompileScenario(source, "t.txt", encoding);
  EXPECT_TRUE(r.ok) << r.error;
  return r.file;
}

std::string Error(const std::string& source) {
  CompileResult r = CompileScenario(source, "story.txt", TextEncoding::kSjis);
  EXPECT_FALSE(r.ok);
  return r.error;
}

// The parameter bytes of the first command.
Bytes FirstParams(const Bytes& file) {
  CSnrBuffer buffer;
  EXPECT_TRUE(buffer.ReadMemory("T", file.data(), file.size(), "K"));
  return Bytes(buffer.GetParam(), buffer.GetParam() + buffer.GetParamSize());
}

Bytes Le(std::initializer_list<int32_t> words) {
  Bytes b;
  for (int32_t w : words)
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(static_cast<uint32_t>(w) >> (8 * i)));
  return b;
}

TEST(SnrCompiler, HeaderLabelsAndTables) {
  Bytes file = Compile(
      "*a:\n"
      "JP *b   # forward\n"
      "*b:\n"
      "LPT 2\n"
      ".loadpoint 9 0\n"
      "END\n");
  ASSERT_GE(file.size(), 1112u);
  EXPECT_EQ(std::string(file.begin(), file.begin() + 16), "MSCENARIO FILE  ");
  EXPECT_EQ(Get32(file.data() + 16), 0u);
  EXPECT_EQ(Get32(file.data() + 20), 2u);
  EXPECT_EQ(Get32(file.data() + 24), 3u);      // table 0: entries 0-2
  EXPECT_EQ(Get32(file.data() + 24 + 36), 1u);  // table 9
  for (int i = 1048; i < 1112; ++i) ASSERT_EQ(file[i], 0) << i;
  CSnrBuffer buffer;
  ASSERT_TRUE(buffer.ReadMemory("T", file.data(), file.size(), "K"));
  EXPECT_EQ(buffer.GetLabelOffset(0), 0u);
  EXPECT_EQ(buffer.GetLabelOffset(1), 9u);
  EXPECT_EQ(buffer.GetValueParam(buffer.GetParam()), 1);  // JP *b is label number 1
  EXPECT_EQ(buffer.GetLoadPointOffset(0, 2), 9u);
  EXPECT_EQ(buffer.GetLoadPointOffset(0, 0), 0u);
  EXPECT_EQ(buffer.GetLoadPointOffset(9, 0), 18u);
  ASSERT_TRUE(buffer.JumpToLoadPoint(9, 0));
  EXPECT_EQ(buffer.GetCmdID(), kCmdEND);
}

TEST(SnrCompiler, ParameterEncodings) {
  Bytes p = FirstParams(Compile("JP $12, -3, 0x1F, $s3, 4294967295"));
  Bytes want = {2};
  auto append = [&](uint8_t type, int32_t v) {
    want.push_back(type);
    Bytes w = Le({v});
    want.insert(want.end(), w.begin(), w.end());
  };
  want = {};
  append(2, 12);
  append(1, -3);
  append(1, 31);
  append(5, 3);
  append(1, -1);
  EXPECT_EQ(p, want);
}

TEST(SnrCompiler, VariablePositionsStoreTheVariableNumber) {
  auto param = [](int32_t type, int32_t v) {
    Bytes b{static_cast<uint8_t>(type)};
    Bytes w = Le({v});
    b.insert(b.end(), w.begin(), w.end());
    return b;
  };
  auto cat = [](std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
  };
  // The destination: "$10" is the literal 10, "$[$10]" the variable
  // parameter 10; values elsewhere keep the plain meaning.
  EXPECT_EQ(FirstParams(Compile("MOV $10, $11")), cat({param(1, 10), param(2, 11)}));
  EXPECT_EQ(FirstParams(Compile("MOV $[ $10 ], 5")), cat({param(2, 10), param(1, 5)}));
  EXPECT_EQ(FirstParams(Compile("RANDOM $3, $4, 1")), cat({param(1, 3), param(2, 4), param(1, 1)}));
  EXPECT_EQ(FirstParams(Compile("AWAIT $0, $1, $2, $[$3], $4, $5")),
            cat({param(2, 0), param(1, 1), param(1, 2), param(2, 3), param(1, 4), param(1, 5)}));
  EXPECT_EQ(FirstParams(Compile("chkscexec $7")), param(1, 7));
  EXPECT_EQ(FirstParams(Compile("SELRUN $8, $9, \"P\", \"H\"")).size(), 5u + 5u + 3u + 3u);
  EXPECT_EQ(FirstParams(Compile("SELECT $8, \"B\", 1, 2")).front(), 1);
  // Raw records take parameters as written.
  EXPECT_EQ(FirstParams(Compile("CMD 5, $10, 1")), cat({param(2, 10), param(1, 1)}));
  EXPECT_EQ(Error("MOV $1, $[$2]"), "story.txt:1:9: $[$n] stands only where a command names a variable");
  EXPECT_EQ(Error("MOV $[2], 1"), "story.txt:1:7: expected $n inside $[ ]");
  EXPECT_EQ(Error("MOV $[$2, 1"), "story.txt:1:9: expected ']'");
  EXPECT_EQ(Error("MOV $[$2000], 1"), "story.txt:1:7: variable number out of range 0-1999");
}

TEST(SnrCompiler, ExpressionsCompileToPostfix) {
  Bytes p = FirstParams(Compile("MOV $0, ($1 + 2 * $3)"));
  p.erase(p.begin(), p.begin() + 5);  // the variable
  Bytes want = {4};
  Bytes pairs = Le({1, 1, 0, 2, 1, 3, 4, 0, 2, 0, -1, 0});
  want.insert(want.end(), pairs.begin(), pairs.end());
  EXPECT_EQ(p, want);
  // Left to right, parentheses first, unary minus as 0 - x, negative literals pushed.
  p = FirstParams(Compile("MOV $0, ((10 - 4) - -2 % -$5)"));
  pairs = Le({0, 10, 0, 4, 3, 0, 0, -2, 0, 0, 1, 5, 3, 0, 6, 0, 3, 0, -1, 0});
  EXPECT_EQ(Bytes(p.begin() + 6, p.end()), pairs);
}

TEST(SnrCompiler, TextsAndTheirEscapes) {
  Bytes p = FirstParams(Compile(R"(MSG "a&b{$s3}\"\\\{$s1}\x81!")"));
  std::string want = std::string("\x03" "a&&b&\x04\x80\"\\{$s1}\x81!", 17) + '\0';
  EXPECT_EQ(std::string(p.begin(), p.end()), want);
  p = FirstParams(Compile("MSG \"星\""));
  EXPECT_EQ(p, (Bytes{3, 0x90, 0xAF, 0}));  // Shift-JIS
  p = FirstParams(Compile("MSG \"星\"", TextEncoding::kGbk));
  EXPECT_EQ(p, (Bytes{3, 0xD0, 0xC7, 0}));
}

TEST(SnrCompiler, RecordsAndIdentifiers) {
  Bytes file = Compile("DEF 1, 2\nCMD 65535\ncmd 7, 1\nmwo\n");
  CSnrBuffer buffer;
  ASSERT_TRUE(buffer.ReadMemory("T", file.data(), file.size(), "K"));
  std::vector<int> ids, counts;
  for (; !buffer.IsFinish(); buffer.NextCommand()) {
    ids.push_back(buffer.GetCmdID());
    counts.push_back(buffer.GetNumParam());
  }
  EXPECT_EQ(ids, (std::vector<int>{0, 65535, 7, kCmdMWO}));
  EXPECT_EQ(counts, (std::vector<int>{2, 0, 1, 0}));
}

TEST(SnrCompiler, ErrorsNameFileLineAndColumn) {
  EXPECT_EQ(Error("END\n  FOO 1\n"), "story.txt:2:3: unknown command FOO");
  EXPECT_EQ(Error("JP *nowhere"), "story.txt:1:4: label *nowhere is not defined");
  EXPECT_EQ(Error("*a:\n*a:\n"), "story.txt:2:1: label *a is already defined on line 1");
  EXPECT_EQ(Error("MSG \"星の\xF0\x9F\x98\x80\""), "story.txt:1:8: character not in the text encoding");
  EXPECT_EQ(Error("MSG \"open"), "story.txt:1:5: text without its closing quote");
  EXPECT_EQ(Error("MOV $2000, 1"), "story.txt:1:5: variable number out of range 0-1999");
  EXPECT_EQ(Error("MOV $s256, 1"), "story.txt:1:5: string variable number out of range 0-255");
  EXPECT_EQ(Error("MOV $1 2"), "story.txt:1:8: expected ',' between parameters");
  EXPECT_EQ(Error("MOV $1, 4294967296"), "story.txt:1:9: number out of the 32-bit range");
  EXPECT_EQ(Error("MOV $1, ($s1)"), "story.txt:1:10: a string variable has no value in an expression");
  EXPECT_EQ(Error("LPT 1\nLPT 1\n"), "story.txt:2:5: load point 0 1 is already defined on line 1");
  EXPECT_EQ(Error("*a: JP *a"), "story.txt:1:5: a label definition stands on its own line");
  EXPECT_EQ(Error(".frob 1"), "story.txt:1:1: unknown directive .frob");
  EXPECT_EQ(Error("MSG \"\\q\""), "story.txt:1:6: unknown escape; use \\\", \\\\, \\{ or \\xHH");
  EXPECT_EQ(Error("MOV $1, @(0 1)"), "story.txt:1:11: a raw expression ends with operator -1");
  // Escapes whose first byte would end the text or read as "&&".
  EXPECT_EQ(Error("MSG \"{$s255}\""), "story.txt:1:6: string variable 255 cannot be inserted into a text");
  EXPECT_EQ(Error("MSG \"{$s37}\""), "story.txt:1:6: string variable 37 cannot be inserted into a text");
}

TEST(SnrCompiler, ExpressionsDeeperThanTheStackAreRejected) {
  // a + (b + (c + ...)) keeps every operand on the stack.
  auto nested = [](int n) {
    std::string s = "MOV $0, (";
    for (int i = 0; i < n - 1; ++i) s += "1 + (";
    s += "1";
    for (int i = 0; i < n; ++i) s += ")";
    return s;
  };
  Compile(nested(50));
  EXPECT_NE(Error(nested(51)).find("more than 50 stack entries"), std::string::npos);
}

TEST(SnrCompiler, NestingAndTableSizesAreBounded) {
  // ((((1)))) needs one stack entry but deep recursion; 200 levels are the limit.
  auto parens = [](int n) { return "MOV $0, " + std::string(n, '(') + "1" + std::string(n, ')'); };
  Compile(parens(200));
  EXPECT_EQ(Error(parens(201)), "story.txt:1:209: expression nested more than 200 levels deep");
  EXPECT_EQ(Error(".tablesize 1 1000000\n.tablesize 2 48576\n.loadpoint 3 0\n"),
            "story.txt:3:14: load-point tables exceed 1048576 entries in all");
  EXPECT_EQ(Error(".loadpoint 3 1048576"), "story.txt:1:14: load-point number out of range 0-1048575");
}

TEST(SnrCompiler, OversizedRecordsAreRejected) {
  std::string big(70000, 'a');
  EXPECT_EQ(Error("MSG \"" + big + "\""), "story.txt:1:1: parameters exceed 65535 bytes");
}

}  // namespace
