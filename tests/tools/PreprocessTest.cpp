#include "gen/Preprocess.h"

#include <gtest/gtest.h>

#include "GenTestUtil.h"

namespace {

using Lines = std::vector<std::string>;

TEST(Preprocess, LoopsChoicesAndExpressions) {
  TestDir dir;
  EXPECT_EQ(Prep(dir,
                 "%set n 3\n"
                 "%for i 1 n\n"
                 "%if i == 1\n"
                 "first %{i * 10}\n"
                 "%elif i == 2\n"
                 "second\n"
                 "%else\n"
                 "other %{n - i}\n"
                 "%end\n"
                 "%end\n"
                 "%for j 4 0 -2\n"
                 "j%{j}\n"
                 "%end\n"
                 "after %{n}\n"),
            (Lines{"first 10", "second", "other 0", "j4", "j2", "j0", "after 3"}));
}

TEST(Preprocess, MacrosKeepTheirVariablesToThemselves) {
  TestDir dir;
  EXPECT_EQ(Prep(dir,
                 "%set x 1\n"
                 "%macro show x label\n"
                 "%set y x * 2\n"
                 "%{label}=%{x},%{y}\n"
                 "%end\n"
                 "%call show(5, \"a\")\n"
                 "%call show(x + 1, \"b\")\n"
                 "x=%{x}\n"
                 "%if y\n"
                 "leaked\n"
                 "%end\n"),
            (Lines{"error: " + dir.File("in.txt") + ":9: unknown name 'y' in 'y'"}));
  EXPECT_EQ(Prep(dir,
                 "%macro pair a b\n"
                 "%{a}-%{b}\n"
                 "%end\n"
                 "%call pair(1, 2, 3)\n"),
            (Lines{"error: " + dir.File("in.txt") + ":4: 'pair' takes 2 arguments"}));
}

TEST(Preprocess, IncludesResolveFromTheIncludingFile) {
  TestDir dir;
  dir.Write("lib/colours.inc", "%set RED \"#ff0000\"\n%include \"more.inc\"\n");
  dir.Write("lib/more.inc", "from more\n");
  EXPECT_EQ(Prep(dir, "%include \"lib/colours.inc\"\nfill %{RED}\n"), (Lines{"from more", "fill #ff0000"}));
  Lines missing = Prep(dir, "%include \"nowhere.inc\"\n");
  ASSERT_EQ(missing.size(), 1u);
  EXPECT_NE(missing[0].find(":1: cannot read"), std::string::npos) << missing[0];
}

TEST(Preprocess, TextKeysBecomeQuotedTextsOutsideQuotes) {
  TestDir dir;
  gen::CTextTable texts;
  texts.Set("s01.001", "「ねえ、\"灯子\"」");
  texts.Set("ui.ok", "OK");
  EXPECT_EQ(Prep(dir,
                 "MSG 1, 2, \"V1\", @s01.001\n"
                 "text 0 0 \"mail@ui.ok stays\" @ui.ok.\n"
                 "a@@b\n"
                 "%set label @ui.ok\n"
                 "[%{label}]\n",
                 &texts),
            (Lines{"MSG 1, 2, \"V1\", \"「ねえ、\\\"灯子\\\"」\"", "text 0 0 \"mail@ui.ok stays\" \"OK\".", "a@b", "[OK]"}));
  Lines unknown = Prep(dir, "say @nope\n", &texts);
  ASSERT_EQ(unknown.size(), 1u);
  EXPECT_NE(unknown[0].find(":1: no text for @nope"), std::string::npos);
}

TEST(Preprocess, ContinuationLinesAndExpressionsInsideTexts) {
  TestDir dir;
  EXPECT_EQ(Prep(dir, "poly 1 2 \\\n  3 4\n\"%{1 + 1} {$s3}\"\n"), (Lines{"poly 1 2   3 4", "\"2 {$s3}\""}));
}

TEST(Preprocess, MalformedSourcesFailWithTheirLine) {
  TestDir dir;
  auto error = [&](const std::string& text) {
    Lines l = Prep(dir, text);
    return l.size() == 1 && l[0].rfind("error: ", 0) == 0 ? l[0] : std::string("no error");
  };
  EXPECT_NE(error("%for i 0 3\nx\n").find(":1: %for without its %end"), std::string::npos);
  EXPECT_NE(error("a\n%bogus 1\n").find(":2: unknown directive %bogus"), std::string::npos);
  EXPECT_NE(error("%{1 +\n").find(":1: %{ without its closing }"), std::string::npos);
  EXPECT_NE(error("%for i 0 1 0\n%end\n").find("step that is not 0"), std::string::npos);
  EXPECT_NE(error("%error \"stop here\"\n").find(":1: stop here"), std::string::npos);
  EXPECT_NE(error("%call nothing(1)\n").find("no macro 'nothing'"), std::string::npos);
  // A loop that would never end is stopped, not run for ever.
  EXPECT_NE(error("%for i 0 1e12\nx\n%end\n").find("too many"), std::string::npos);
  // A file that includes itself stops at the nesting limit.
  dir.Write("self.txt", "%include \"self.txt\"\n");
  gen::CPreprocessor pre;
  std::vector<gen::SourceLine> lines;
  std::string message;
  EXPECT_FALSE(pre.Run(dir.File("self.txt"), &lines, &message));
  EXPECT_NE(message.find("nested too deeply"), std::string::npos) << message;
}

TEST(TextTable, ReadsKeysAndRefusesDuplicatesAndJunk) {
  TestDir dir;
  dir.Write("ja.txt", "\xEF\xBB\xBF# comment\n\nname.0 = 湊 \r\nui.ok=決定\n");
  gen::CTextTable table;
  std::string error;
  ASSERT_TRUE(table.Load(dir.File("ja.txt"), &error)) << error;
  ASSERT_NE(table.Find("name.0"), nullptr);
  EXPECT_EQ(*table.Find("name.0"), "湊");
  EXPECT_EQ(*table.Find("ui.ok"), "決定");
  EXPECT_EQ(table.Find("ui.no"), nullptr);
  dir.Write("dup.txt", "a = 1\na = 2\n");
  gen::CTextTable dup;
  EXPECT_FALSE(dup.Load(dir.File("dup.txt"), &error));
  EXPECT_NE(error.find(":2: the key 'a' is defined twice"), std::string::npos);
  dir.Write("junk.txt", "no equals sign\n");
  EXPECT_FALSE(dup.Load(dir.File("junk.txt"), &error));
  EXPECT_NE(error.find(":1: expected 'key = text'"), std::string::npos);
}

}  // namespace
