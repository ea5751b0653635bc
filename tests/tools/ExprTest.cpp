#include "gen/Expr.h"

#include <gtest/gtest.h>

namespace {

gen::Value Eval(const std::string& text, const gen::Variables& vars = {}) {
  gen::Value v;
  std::string error;
  EXPECT_TRUE(gen::EvalExpr(text, vars, &v, &error)) << text << ": " << error;
  return v;
}

std::string Error(const std::string& text, const gen::Variables& vars = {}) {
  gen::Value v;
  std::string error;
  EXPECT_FALSE(gen::EvalExpr(text, vars, &v, &error)) << text;
  return error;
}

TEST(Expr, ArithmeticPrecedenceAndFormatting) {
  EXPECT_EQ(Eval("1 + 2 * 3").ToString(), "7");
  EXPECT_EQ(Eval("(1 + 2) * 3").ToString(), "9");
  EXPECT_EQ(Eval("7 % 3 - -2").ToString(), "3");
  EXPECT_EQ(Eval("1 / 4").ToString(), "0.25");
  EXPECT_EQ(Eval("2 / 3").ToString(), "0.6667");
  EXPECT_EQ(Eval("0x1F + 1").ToString(), "32");
  EXPECT_EQ(Eval("-0.00001").ToString(), "0");
  EXPECT_EQ(Eval("3 > 2 && 2 >= 2 && !(1 == 2) && 1 != 2").ToString(), "1");
  EXPECT_EQ(Eval("1 <= 0 || 0").ToString(), "0");
}

TEST(Expr, TextsVariablesAndFunctions) {
  gen::Variables vars{{"w", gen::Value::Num(40)}, {"name", gen::Value::Text("TOKO")}, {"OP3_X", gen::Value::Num(205)}};
  EXPECT_EQ(Eval("name + \"_\" + (w + 1)", vars).ToString(), "TOKO_41");
  EXPECT_EQ(Eval("name == \"TOKO\"", vars).ToString(), "1");
  EXPECT_EQ(Eval("pick(2, \"a\", \"b\", \"c\")").ToString(), "c");
  EXPECT_EQ(Eval("min(3, 1, 2) + max(4, 9) + abs(-2) + clamp(12, 0, 10)").ToString(), "22");
  EXPECT_EQ(Eval("int(-2.7) + floor(2.7) + ceil(2.1) + round(2.5)").ToString(), "6");
  EXPECT_EQ(Eval("rgb(255, 128, 0)").ToString(), "#ff8000");
  EXPECT_EQ(Eval("rgba(0, 0, 0, 64)").ToString(), "#00000040");
  EXPECT_EQ(Eval("mix(\"#000000\", \"#ffffff\", 0.5)").ToString(), "#808080");
  EXPECT_EQ(Eval("get(\"OP\" + 3 + \"_X\")", vars).ToString(), "205");
  // hash scatters the same way every time and stays within 0 … 32767.
  EXPECT_EQ(Eval("hash(5, 7)").num, Eval("hash(5, 7)").num);
  EXPECT_NE(Eval("hash(5, 7)").num, Eval("hash(6, 7)").num);
  EXPECT_LE(Eval("hash(123456, 99)").num, 32767);
}

TEST(Expr, OnlyTheTakenBranchOfAChoiceIsComputed) {
  gen::Variables vars{{"c", gen::Value::Num(0)}};
  // The other branch would fail (index out of range, unknown name, division
  // by zero) but is only read, not computed.
  EXPECT_EQ(Eval("c <= 4 ? 1 : pick(c - 6, 10, 20)", vars).ToString(), "1");
  EXPECT_EQ(Eval("c ? missing : 5", vars).ToString(), "5");
  EXPECT_EQ(Eval("c == 0 ? 2 : 1 / c", vars).ToString(), "2");
  // The branch must still be well formed.
  EXPECT_NE(Error("c ? (1 : 2", vars).find("')'"), std::string::npos);
}

TEST(Expr, ErrorsNameTheProblem) {
  EXPECT_NE(Error("1 +").find("too early"), std::string::npos);
  EXPECT_NE(Error("nope + 1").find("unknown name 'nope'"), std::string::npos);
  EXPECT_NE(Error("frob(1)").find("unknown function 'frob'"), std::string::npos);
  EXPECT_NE(Error("5 / 0").find("division by zero"), std::string::npos);
  EXPECT_NE(Error("pick(3, 1, 2)").find("out of range"), std::string::npos);
  EXPECT_NE(Error("\"a\" - 1").find("a number is needed"), std::string::npos);
  EXPECT_NE(Error("min()").find("wrong number of arguments"), std::string::npos);
  EXPECT_NE(Error("1 2").find("unexpected"), std::string::npos);
}

}  // namespace
