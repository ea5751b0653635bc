// The layout rules, with every expected position worked out from the rules
// here: characters advance by size + spacing (two bytes) or half the size
// + spacing (one byte), lines by size + line spacing.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "platform/Encoding.h"
#include "text/MesTextBuffer.h"

namespace {

constexpr int kSize = 24, kLine = 4, kSpace = 1, kWide = kSize + kSpace;  // a two-byte character's advance

std::string L(const char* utf8) { return plat::FromUtf8(utf8); }

struct Out {
  int kind;
  std::string ch;
  int x, y;
};

class Layout : public ::testing::Test {
 protected:
  void SetUp() override {
    buf.mnLeft = 10;
    buf.mnTop = 20;
    buf.mnRight = 10 + 4 * kWide;  // four wide characters fit
    buf.mnBottom = 1000;
    buf.mnFontSize = kSize;
    buf.mnLineSpace = kLine;
    buf.mnCharSpace = kSpace;
    buf.mdwColor = 0xFFFFFFFF;
    buf.ResetPen();
  }
  std::vector<Out> Run(const std::vector<MesSrc>& src, int capacity = 2048) {
    std::vector<MesChar> out(capacity);
    EXPECT_TRUE(buf.Convert(src.data(), static_cast<int>(src.size()), out.data(), capacity));
    std::vector<Out> r;
    for (const MesChar& c : out) {
      r.push_back({c.nKind, c.szChar, c.x, c.y});
      if (c.nKind == MESCHAR_END) break;
    }
    return r;
  }
  static MesSrc Text(const std::string& text) {
    MesSrc s{};
    s.bText = 1;
    snprintf(s.szText, sizeof s.szText, "%s", text.c_str());
    return s;
  }
  static MesSrc Func(int kind) {
    MesSrc s{};
    s.nFunc = kind;
    return s;
  }
  // The characters of each line: y → text.
  static std::vector<std::pair<int, std::string>> Lines(const std::vector<Out>& out) {
    std::vector<std::pair<int, std::string>> lines;
    for (const Out& o : out) {
      if (o.kind != MESCHAR_WORD) continue;
      if (lines.empty() || lines.back().first != o.y) lines.push_back({o.y, ""});
      lines.back().second += o.ch;
    }
    return lines;
  }
  CMesTextBuffer buf;
};

TEST_F(Layout, AFullStopThatWouldPassTheEdgeTakesTheCharacterBeforeItAlong) {
  // Four characters fit; the fifth, "。", does not.
  const std::string text = L("あいうえ。か");
  buf.mbKinsoku = true;
  auto lines = Lines(Run({Text(text)}));
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], std::make_pair(20, L("あいう")));
  EXPECT_EQ(lines[1], std::make_pair(20 + kSize + kLine, L("え。か")));

  // Without the rule the line breaks right before "。".
  SetUp();
  buf.mbKinsoku = false;
  lines = Lines(Run({Text(text)}));
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].second, L("あいうえ"));
  EXPECT_EQ(lines[1].second, L("。か"));
}

TEST_F(Layout, CharactersAdvanceBySizeAndHalfSizeAndTextContinuesWhereItStopped) {
  auto out = Run({Text(L("あa") + "b"), Text(L("い"))});
  ASSERT_EQ(out.size(), 5u);
  EXPECT_EQ(out[0].x, 10);
  EXPECT_EQ(out[1].x, 10 + kWide);
  EXPECT_EQ(out[2].x, 10 + kWide + kSize / 2 + kSpace);
  EXPECT_EQ(out[3].x, 10 + kWide + 2 * (kSize / 2 + kSpace));  // the second record goes on on the same line
  EXPECT_EQ(out[3].ch, L("い"));
  EXPECT_EQ(out[4].kind, MESCHAR_END);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(out[i].y, 20);
}

TEST_F(Layout, AMessageOnAPageTopGetsAFullWidthSpaceUnlessItOpensWithABracket) {
  buf.mbDownStr = true;
  auto out = Run({Text(L("あい"))});
  ASSERT_GE(out.size(), 3u);
  EXPECT_EQ(out[0].ch, L("　"));
  EXPECT_EQ(out[0].x, 10);
  EXPECT_EQ(out[1].ch, L("あ"));
  EXPECT_EQ(out[1].x, 10 + kWide);

  SetUp();
  buf.mbDownStr = true;
  out = Run({Text(L("「あ」"))});
  EXPECT_EQ(out[0].ch, L("「"));
  EXPECT_EQ(out[0].x, 10);

  // Not on the page's first line: no space.
  SetUp();
  buf.mbDownStr = true;
  out = Run({Func(MESFUNC_LINE), Text(L("あ"))});
  EXPECT_EQ(out[0].ch, L("あ"));
  EXPECT_EQ(out[0].y, 20 + kSize + kLine);
}

TEST_F(Layout, LinesInsideBracketsAreIndentedByOneFullWidthCharacter) {
  buf.mbDownStr = true;
  auto out = Run({Text(L("「ああああいいう」"))});
  auto lines = Lines(out);
  ASSERT_EQ(lines.size(), 3u);
  int firstOfLine[3] = {-1, -1, -1};
  for (const Out& o : out)
    for (int l = 0; l < 3; ++l)
      if (o.kind == MESCHAR_WORD && o.y == lines[l].first && firstOfLine[l] < 0) firstOfLine[l] = o.x;
  EXPECT_EQ(firstOfLine[0], 10);
  EXPECT_EQ(firstOfLine[1], 10 + kSize + kSpace);
  EXPECT_EQ(firstOfLine[2], 10 + kSize + kSpace);
  // The indented lines hold one character less.
  EXPECT_EQ(lines[0].second, L("「あああ"));
  EXPECT_EQ(lines[1].second, L("あいい"));
  EXPECT_EQ(lines[2].second, L("う」"));
}

TEST_F(Layout, LineAndPageBreaksFollowTheBottomOfTheArea) {
  buf.mnBottom = 20 + 2 * kSize + kLine + 1;  // two lines fit
  auto out = Run({Text(L("あ")), Func(MESFUNC_LINE), Text(L("い")), Func(MESFUNC_LINE), Text(L("う")),
                  Func(MESFUNC_CLICK), Func(MESFUNC_PAGE), Func(MESFUNC_CLEAR), Func(42)});
  ASSERT_EQ(out.size(), 9u);
  EXPECT_EQ(out[0].y, 20);
  EXPECT_EQ(out[1].y, 20 + kSize + kLine);
  EXPECT_EQ(out[2].kind, MESCHAR_PAGE) << "the third line does not fit: a page-full record, not a line";
  EXPECT_EQ(out[3].ch, L("う"));
  EXPECT_EQ(out[3].y, 20);
  EXPECT_EQ(out[3].x, 10);
  EXPECT_EQ(out[4].kind, MESCHAR_CLICK);
  EXPECT_EQ(out[5].kind, MESCHAR_PAGE);
  EXPECT_EQ(out[6].kind, MESCHAR_CLEAR);
  EXPECT_EQ(out[7].kind, 42);  // passed through
  EXPECT_EQ(out[8].kind, MESCHAR_END);
}

TEST_F(Layout, TextRunningPastTheBottomContinuesOnAFreshPage) {
  buf.mnBottom = 20 + kSize + 1;  // one line a page
  auto out = Run({Text(L("あいうえおかき"))});
  std::vector<int> kinds;
  for (const Out& o : out) kinds.push_back(o.kind);
  EXPECT_EQ(kinds, (std::vector<int>{2, 2, 2, 2, 1, 2, 2, 2, 0}));
  EXPECT_EQ(out[5].y, 20);
  EXPECT_EQ(out[5].x, 10);
}

TEST_F(Layout, HostileTextsAlwaysMakeProgressAndStayInBounds) {
  // A prohibited run longer than a line.
  buf.mbKinsoku = true;
  std::string run = L("あい");
  for (int i = 0; i < 20; ++i) run += L("ー");
  auto out = Run({Text(run)});
  std::string all;
  for (const Out& o : out) all += o.ch;
  EXPECT_EQ(all, run) << "every character once, in order";

  // An area narrower than one character: one a line.
  SetUp();
  buf.mnRight = buf.mnLeft + 5;
  out = Run({Text(L("あいう"))});
  EXPECT_EQ(Lines(out).size(), 3u);

  // A lone lead byte at the end is a character of its own.
  SetUp();
  std::string lone = L("あ");
  lone += lone[0];
  out = Run({Text(lone)});
  ASSERT_EQ(out.size(), 3u);
  EXPECT_EQ(out[1].ch.size(), 1u);

  // A text far over 512 bytes is cut at 512 characters.
  SetUp();
  buf.mnBottom = 1 << 30;
  buf.mnRight = 1 << 30;
  std::string longText(3000, 'x');
  std::vector<MesChar> cells(4000);
  EXPECT_EQ(buf.Convert(longText.c_str(), cells.data(), 4000), kMesCells);

  // Sizes and spacings a scenario may set far out of range: many texts in a
  // row lay out without the pen running away (checked for overflow by the
  // sanitizer build).
  SetUp();
  buf.mnFontSize = INT32_MAX;
  buf.mnLineSpace = INT32_MIN;
  buf.mnCharSpace = INT32_MIN;
  buf.mnBottom = INT32_MAX;
  for (int i = 0; i < 200; ++i) {
    std::vector<MesChar> few(600);
    buf.Convert(std::string(500, 'z').c_str(), few.data(), 600);
    buf.ChangeLine();
  }
  EXPECT_LE(buf.mnFontSize, 4096);

  // The output never passes its room, and always ends.
  SetUp();
  std::vector<MesSrc> many(256, Text(std::string(511, 'y')));
  auto small = Run(many, 100);
  EXPECT_EQ(small.size(), 100u);
  EXPECT_EQ(small.back().kind, MESCHAR_END);
}

TEST(LayoutProfiles, BothEncodingsSplitAndProhibitByTheirOwnRules) {
  CMesTextBuffer buf;
  buf.mnRight = 3 * 25;
  buf.mnBottom = 1000;
  buf.mnFontSize = 24;
  buf.mnCharSpace = 1;
  buf.mbKinsoku = true;
  std::vector<MesChar> out(16);
  // GBK: every byte from 0x80 leads; "，" (A3 AC) may not begin a line.
  buf.SetProfile(&profile::GbkProfile());
  buf.ResetPen();
  int n = buf.Convert("\xC4\xE3\xBA\xC3\x80\x41\xA3\xAC", out.data(), 16);
  ASSERT_EQ(n, 4);
  EXPECT_STREQ(out[2].szChar, "\x80\x41");
  EXPECT_EQ(out[2].y, 24) << "the character before the comma goes with it";
  EXPECT_STREQ(out[3].szChar, "\xA3\xAC");
  // Shift-JIS: 0xA0–0xDF are one-byte characters; "、" (81 41) is prohibited.
  buf.SetProfile(&profile::SjisProfile());
  buf.mnRight = 76;
  buf.ResetPen();
  n = buf.Convert("\xB1\xB2\x82\xA0\x82\xA0\x81\x41", out.data(), 16);
  ASSERT_EQ(n, 5);
  EXPECT_STREQ(out[0].szChar, "\xB1");
  EXPECT_EQ(out[2].x, 26) << "two half-width characters, then a wide one";
  EXPECT_EQ(out[3].x, 0);
  EXPECT_EQ(out[3].y, 24);
  EXPECT_STREQ(out[4].szChar, "\x81\x41");
}

}  // namespace
