// The two text profiles: their tables are the characters they name, in
// their own encodings, and the lead-byte rules split text as written.
#include <gtest/gtest.h>
#include <iconv.h>

#include <string>
#include <vector>

#include "app/core/MainWindow.h"
#include "platform/Encoding.h"
#include "text/profile/TextProfile.h"

namespace {

std::string Encode(const char* utf8, const char* encoding) {
  iconv_t cd = iconv_open(encoding, "UTF-8");
  std::string in(utf8), out(in.size() * 4 + 4, '\0');
  char* src = in.data();
  char* dst = out.data();
  size_t inLeft = in.size(), outLeft = out.size();
  size_t r = iconv(cd, &src, &inLeft, &dst, &outLeft);
  iconv_close(cd);
  EXPECT_NE(r, static_cast<size_t>(-1)) << utf8 << " in " << encoding;
  out.resize(out.size() - outLeft);
  return out;
}

TEST(TextProfile, TablesHoldTheNamedCharactersInTheirOwnEncoding) {
  const std::vector<const char*> kinsoku = {",", ".", ")", "]", nullptr, "。", "）", "」", "』", "！", "？", "ー", "―",
                                            "…", "゛", nullptr, nullptr, "ぁ", "ぃ", "ぅ", "ぇ", "ぉ", "っ", "ゃ", "ゅ",
                                            "ょ", "ァ", "ィ", "ゥ", "ェ", "ォ", "ッ", "ャ", "ュ", "ョ", "　"};
  struct Case {
    const profile::TextProfile& p;
    const char* iconv;
    const char* rows5_16_17[3];
  } cases[] = {{profile::SjisProfile(), "CP932", {"、", "・", "．"}}, {profile::GbkProfile(), "GBK", {"，", "·", "、"}}};
  for (const Case& c : cases) {
    ASSERT_EQ(kinsoku.size(), static_cast<size_t>(profile::kKinsokuCount));
    for (int i = 0; i < profile::kKinsokuCount; ++i) {
      const char* utf8 = kinsoku[i] ? kinsoku[i] : c.rows5_16_17[i == 4 ? 0 : i == 15 ? 1 : 2];
      EXPECT_EQ(c.p.szKinsoku[i], Encode(utf8, c.iconv)) << c.iconv << " row " << i + 1;
    }
    const char* pairs[3][2] = {{"（", "）"}, {"「", "」"}, {"『", "』"}};
    for (int i = 0; i < 3; ++i)
      for (int k = 0; k < 2; ++k) EXPECT_EQ(c.p.szDownStr[i][k], Encode(pairs[i][k], c.iconv));
    EXPECT_EQ(c.p.szDefaultFace, Encode(c.p.szDefaultFaceUtf8, c.iconv));
    const std::string space = c.p.FullSpace();
    EXPECT_EQ((static_cast<uint8_t>(space[0]) << 8 | static_cast<uint8_t>(space[1])), c.p.wFullSpace);
    EXPECT_FALSE(Encode(c.p.szCloseTextUtf8, c.iconv).empty());
  }
  EXPECT_STREQ(profile::SjisProfile().szDefaultFaceUtf8, "ＭＳ ゴシック");
  EXPECT_STREQ(profile::GbkProfile().szDefaultFaceUtf8, "SimHei");
  EXPECT_EQ(profile::SjisProfile().nCharSet, 128);
  EXPECT_EQ(profile::GbkProfile().nCharSet, 134);
}

TEST(TextProfile, LeadBytesTitleAndTheBuildsChoice) {
  const auto& sjis = profile::SjisProfile();
  const auto& gbk = profile::GbkProfile();
  for (int b = 0; b < 256; ++b) {
    EXPECT_EQ(sjis.IsLeadByte(b), (b >= 0x80 && b <= 0x9F) || b >= 0xE0) << b;
    EXPECT_EQ(gbk.IsLeadByte(b), b >= 0x80) << b;
    EXPECT_EQ(plat::IsLeadByte(b), profile::BuildProfile().IsLeadByte(b));
  }
  EXPECT_EQ(profile::FindProfile("Shift-JIS"), &sjis);
  EXPECT_EQ(profile::FindProfile("gbk"), &gbk);
  EXPECT_EQ(profile::FindProfile("latin1"), nullptr);
#if defined(VELTO_PROFILE_GBK)
  EXPECT_EQ(&profile::BuildProfile(), &gbk);
#else
  EXPECT_EQ(&profile::BuildProfile(), &sjis);
#endif
  EXPECT_STREQ(plat::BuildEncodingName(), profile::BuildProfile().szIconvName);
  // The window title is the phrase in the build's encoding.
  EXPECT_EQ(std::string(GameTitle()), plat::FromUtf8(profile::TitlePhraseUtf8()));
}

}  // namespace
