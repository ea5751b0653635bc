#include "assets/ArchiveName.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

int Sign(int v) { return (v > 0) - (v < 0); }

TEST(ArchiveName, PunctuationBeforeDigitsBeforeLetters) {
  // The platform's order, not ASCII's: '_' (0x5F) sorts before digits and
  // letters, '.' before '_'.
  std::vector<std::string> names = {"B.MGD", "A1.MGD", "A_B.MGD", "A.MGD", "_X.MGD", "AB.MGD", "A0.MGD", "0.MGD"};
  std::sort(names.begin(), names.end(),
            [](const std::string& a, const std::string& b) { return CompareArchiveName(a.c_str(), b.c_str()) < 0; });
  std::vector<std::string> expected = {"_X.MGD", "0.MGD", "A.MGD", "A_B.MGD", "A0.MGD", "A1.MGD", "AB.MGD", "B.MGD"};
  EXPECT_EQ(names, expected);
}

TEST(ArchiveName, IgnoresCaseAndShorterPrefixSortsFirst) {
  EXPECT_EQ(CompareArchiveName("title01.mgd", "TITLE01.MGD"), 0);
  EXPECT_LT(CompareArchiveName("TITLE", "title01"), 0);
  EXPECT_GT(CompareArchiveName("TITLE01", "TITLE"), 0);
  EXPECT_LT(CompareArchiveName("", "A"), 0);
  EXPECT_EQ(CompareArchiveName("", ""), 0);
  // '_' after the letters in upper-case ASCII, before them here.
  EXPECT_LT(CompareArchiveName("A_", "AZ"), 0);
  EXPECT_LT(CompareArchiveName("a_", "AZ"), 0);
}

TEST(ArchiveName, HyphenOnlyDecidesBetweenOtherwiseEqualNames) {
  EXPECT_GT(CompareArchiveName("BG-02", "BG01"), 0);
  EXPECT_LT(CompareArchiveName("BG-01", "BG02"), 0);
  EXPECT_NE(CompareArchiveName("BG-01", "BG01"), 0);
  EXPECT_EQ(Sign(CompareArchiveName("BG-01", "BG01")), -Sign(CompareArchiveName("BG01", "BG-01")));
}

TEST(ArchiveName, StopsAtLengthOrTerminator) {
  const char field[12] = {'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', '.', 'M', 'G', 'D'};
  EXPECT_EQ(CompareArchiveName("ABCDEFGH.MGD", 12, field, 12), 0);
  const char padded[12] = {'A', '.', 'M', 'G', 'D'};
  EXPECT_EQ(CompareArchiveName("a.mgd", 5, padded, 12), 0);
  EXPECT_LT(CompareArchiveName("A.MG", 4, padded, 12), 0);
}

}  // namespace
