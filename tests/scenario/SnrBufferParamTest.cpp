// Parameters of the current command: counting, values, expressions, texts.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "SnrTestFile.h"

using namespace snrtest;
using snr::SnrImage;
using Pairs = std::vector<std::pair<int32_t, int32_t>>;

namespace {

struct Fixture {
  CSnrBuffer buffer;
  int32_t values[2000] = {};
  char strings[256][64] = {};

  explicit Fixture(const Bytes& params) {
    SnrImage image;
    Cmd(image, 1000, params);
    EXPECT_TRUE(Load(buffer, image.Build()));
    buffer.SetValList(values);
    for (int i = 0; i < 256; ++i) buffer.SetStrList(i, strings[i]);
  }
  const uint8_t* Param(int n) {
    const uint8_t* p = buffer.GetParam();
    while (n-- > 0) p = buffer.NextParam(p);
    return p;
  }
};

int32_t Eval(const Pairs& pairs, bool* ok = nullptr, int32_t var3 = 0) {
  Bytes p;
  snr::PutExpr(p, pairs);
  Fixture f(p);
  f.values[3] = var3;
  int32_t v;
  bool good = f.buffer.CheckValueParam(f.Param(0), v);
  if (ok) *ok = good;
  EXPECT_EQ(f.buffer.GetValueParam(f.Param(0)), v);
  return v;
}

TEST(SnrBufferParam, EmptyRecordHasNoParameters) {
  Fixture f({});
  EXPECT_EQ(f.buffer.GetParamSize(), 0u);
  EXPECT_EQ(f.buffer.GetNumParam(), 0);
  EXPECT_FALSE(f.buffer.IsStringParam(f.buffer.GetParam()));
}

TEST(SnrBufferParam, CountsKindsAndValues) {
  Bytes p;
  snr::PutInt(p, -3);
  snr::PutVar(p, 1999);
  snr::PutStr(p, "abc");
  snr::PutExpr(p, {{1, 1999}, {0, 2}, {4, 0}});
  snr::PutStrVar(p, 4);
  p.push_back(9);  // an unknown type occupies one byte
  snr::PutInt(p, 11);
  Fixture f(p);
  f.values[1999] = 21;
  strcpy(f.strings[4], "four");
  EXPECT_EQ(f.buffer.GetNumParam(), 7);
  EXPECT_EQ(f.buffer.GetValueParam(f.Param(0)), -3);
  EXPECT_EQ(f.buffer.GetValueParam(f.Param(1)), 21);
  EXPECT_TRUE(f.buffer.IsStringParam(f.Param(2)));
  EXPECT_STREQ(f.buffer.GetStringParam(f.Param(2)), "abc");
  EXPECT_EQ(f.buffer.GetValueParam(f.Param(2)), 0);
  EXPECT_EQ(f.buffer.GetValueParam(f.Param(3)), 42);
  EXPECT_TRUE(f.buffer.IsStringParam(f.Param(4)));
  EXPECT_STREQ(f.buffer.GetStringParam(f.Param(4)), "four");
  EXPECT_FALSE(f.buffer.IsStringParam(f.Param(5)));
  EXPECT_EQ(f.buffer.GetValueParam(f.Param(5)), 0);
  // A non-string leaves the text buffer as it was.
  EXPECT_STREQ(f.buffer.GetStringParam(f.Param(6)), "four");
  EXPECT_EQ(f.buffer.GetValueParam(f.Param(6)), 11);
  EXPECT_EQ(f.Param(7), f.buffer.GetParam() + f.buffer.GetParamSize());
  EXPECT_EQ(f.buffer.NextParam(f.Param(7)), f.Param(7));
}

TEST(SnrBufferParam, VariableIndicesOutsideTheListsAreFaults) {
  Bytes p;
  snr::PutVar(p, 2000);
  snr::PutVar(p, 0xFFFFFFFF);
  snr::PutStrVar(p, 256);
  Fixture f(p);
  int32_t v = 5;
  EXPECT_FALSE(f.buffer.CheckValueParam(f.Param(0), v));
  EXPECT_EQ(v, 0);
  EXPECT_FALSE(f.buffer.CheckValueParam(f.Param(1), v));
  EXPECT_STREQ(f.buffer.GetStringParam(f.Param(2)), "");
  // Without attached variables a variable reads as a fault too.
  CSnrBuffer bare;
  SnrImage image;
  Cmd(image, 5, p);
  ASSERT_TRUE(Load(bare, image.Build()));
  EXPECT_FALSE(bare.CheckValueParam(bare.GetParam(), v));
}

TEST(SnrBufferParam, ExpressionExamples) {
  EXPECT_EQ(Eval({{0, 7}, {0, 2}, {6, 99}}), 1);
  EXPECT_EQ(Eval({{0, -7}, {0, 2}, {6, 99}}), -1);
  EXPECT_EQ(Eval({{0, -7}, {0, 2}, {5, 99}}), -3);
  // $1 + 2 * $3 with $3 = 5, $1 = 0
  EXPECT_EQ(Eval({{1, 1}, {0, 2}, {1, 3}, {4, 0}, {2, 0}}, nullptr, 5), 10);
  EXPECT_EQ(Eval({{0, 10}, {0, 4}, {3, 0}}), 6);
  // Wrapping, including the one quotient that does not fit.
  EXPECT_EQ(Eval({{0, INT32_MAX}, {0, 1}, {2, 0}}), INT32_MIN);
  EXPECT_EQ(Eval({{0, 65536}, {0, 65536}, {4, 0}}), 0);
  EXPECT_EQ(Eval({{0, INT32_MIN}, {0, -1}, {5, 0}}), INT32_MIN);
  EXPECT_EQ(Eval({{0, INT32_MIN}, {0, -1}, {6, 0}}), 0);
  // The value on top is the result.
  EXPECT_EQ(Eval({{0, 1}, {0, 2}}), 2);
}

TEST(SnrBufferParam, MalformedExpressionsGiveZeroAndAFault) {
  bool ok = true;
  EXPECT_EQ(Eval({{0, 1}, {0, 0}, {5, 0}}, &ok), 0);
  EXPECT_FALSE(ok);
  EXPECT_EQ(Eval({{0, 1}, {0, 0}, {6, 0}}, &ok), 0);
  EXPECT_FALSE(ok);
  EXPECT_EQ(Eval({{0, 1}, {7, 0}}, &ok), 0);
  EXPECT_FALSE(ok);
  EXPECT_EQ(Eval({}, &ok), 0);
  EXPECT_FALSE(ok);
  EXPECT_EQ(Eval({{0, 1}, {2, 0}}, &ok), 0);
  EXPECT_FALSE(ok);
  EXPECT_EQ(Eval({{1, 2000}}, &ok), 0);
  EXPECT_FALSE(ok);
  Pairs deep(50, {0, 1});
  EXPECT_EQ(Eval(deep, &ok), 1);
  EXPECT_TRUE(ok);
  deep.push_back({0, 1});
  EXPECT_EQ(Eval(deep, &ok), 0);
  EXPECT_FALSE(ok);
  // No end pair: the expression runs to the end of the record.
  Bytes p;
  snr::PutExpr(p, {{0, 5}});
  p.resize(p.size() - 8);
  Fixture f(p);
  int32_t v;
  EXPECT_FALSE(f.buffer.CheckValueParam(f.Param(0), v));
  EXPECT_EQ(f.buffer.GetNumParam(), 1);
}

TEST(SnrBufferParam, TextEscapes) {
  Bytes p;
  snr::PutStr(p, "A&&B");
  snr::PutStr(p, std::string("<&\x01\x80>", 5));  // string variable 0
  snr::PutStr(p, "&\x03\x80|&\x2D\x81|");  // variable 2, then index 300, which does not exist
  snr::PutStr(p, "end&");
  Fixture f(p);
  strcpy(f.strings[0], "zero");
  strcpy(f.strings[2], "two");
  EXPECT_STREQ(f.buffer.GetStringParam(f.Param(0)), "A&B");
  EXPECT_STREQ(f.buffer.GetStringParam(f.Param(1)), "<zero>");
  EXPECT_EQ(f.buffer.GetNumParam(), 4);
  EXPECT_STREQ(f.buffer.GetStringParam(f.Param(2)), "two||");
  EXPECT_STREQ(f.buffer.GetStringParam(f.Param(3)), "end&");
}

TEST(SnrBufferParam, TextsAreBoundedAndKeepWholeCharacters) {
  // A string variable that fills its 64 bytes without a terminator.
  Bytes p;
  std::string longText;
  for (int i = 0; i < 9; ++i) longText += "&\x01\x80";
  snr::PutStr(p, longText);
  snr::PutStrVar(p, 0);
  Fixture f(p);
  memset(f.strings[0], 'x', 64);
  EXPECT_EQ(strlen(f.buffer.GetStringParam(f.Param(1))), 64u);
  EXPECT_EQ(strlen(f.buffer.GetStringParam(f.Param(0))), 511u);
  // A double-byte character that would straddle the limit is left out.
  memset(f.strings[0], 0, 64);
  std::string wide;
  for (int i = 0; i < 31; ++i) wide += "\x82\xA0";  // 62 bytes
  wide = "x" + wide;
  memcpy(f.strings[0], wide.data(), 63);
  // 8 copies of 63 bytes leave 7 bytes for the ninth: "x" and three characters.
  EXPECT_EQ(strlen(f.buffer.GetStringParam(f.Param(0))), 8u * 63 + 7);
}

TEST(SnrBufferParam, UnterminatedTextStopsAtTheRecordEnd) {
  Bytes p;
  snr::PutStr(p, "open");
  p.pop_back();
  Fixture f(p);
  EXPECT_EQ(f.buffer.GetNumParam(), 1);
  EXPECT_STREQ(f.buffer.GetStringParam(f.Param(0)), "open");
}

TEST(SnrBufferParam, PointersOutsideTheCurrentRecordAreNotRead) {
  Bytes p;
  snr::PutInt(p, 4);
  Fixture f(p);
  const uint8_t* first = f.Param(0);
  EXPECT_FALSE(f.buffer.IsStringParam(first - 1));
  EXPECT_EQ(f.buffer.GetValueParam(first + 5), 0);
  EXPECT_EQ(f.buffer.GetValueParam(nullptr), 0);
}

}  // namespace
