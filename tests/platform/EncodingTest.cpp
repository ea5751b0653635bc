#include "platform/Encoding.h"

#include <gtest/gtest.h>

namespace {

TEST(Encoding, SystemTextsRoundTripThroughTheBuildEncoding) {
  const char* text = "終了しますか？ OK";
  std::string local = plat::FromUtf8(text);
  EXPECT_NE(local, text) << "kana are double-byte in the build's encoding";
  EXPECT_EQ(plat::ToUtf8(local), text);
  EXPECT_EQ(plat::FromUtf8("plain ASCII"), "plain ASCII");
}

TEST(Encoding, WhatCannotBeConvertedBecomesOneMarkEach) {
  // A character outside the encoding is one '?', not one per UTF-8 byte.
  EXPECT_EQ(plat::FromUtf8("a\xF0\x9F\x98\x80" "b"), "a?b");
  // Bytes that are no character come back as replacement characters.
  EXPECT_EQ(plat::ToUtf8("x\x80"), "x\xEF\xBF\xBD");
}

TEST(Encoding, LocalTextIsConvertedOnceAndStaysPut) {
  const char* literal = "読み込みエラー";
  const char* first = plat::LocalText(literal);
  EXPECT_EQ(first, plat::LocalText(literal));
  EXPECT_EQ(std::string(first), plat::FromUtf8(literal));
}

}  // namespace
