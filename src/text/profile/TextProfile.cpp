#include "text/profile/TextProfile.h"

#include <strings.h>

#include <initializer_list>

#ifndef VELTO_TITLE_PHRASE_UTF8
#if defined(VELTO_PROFILE_GBK)
#define VELTO_TITLE_PHRASE_UTF8 "VELTO 星之回廊"
#else
#define VELTO_TITLE_PHRASE_UTF8 "VELTO 星の回廊"
#endif
#endif

namespace profile {
namespace {

// Every multi-byte character is spelled out in bytes so that the tables do
// not depend on the compiler's source or execution character set.
constexpr TextProfile kSjis = {
    Encoding::kSjis,
    "sjis",
    "CP932",
    128,
    0x8140,
    {
        ",", ".", ")", "]",
        "\x81\x41",  // 、
        "\x81\x42",  // 。
        "\x81\x6A",  // ）
        "\x81\x76",  // 」
        "\x81\x78",  // 』
        "\x81\x49",  // ！
        "\x81\x48",  // ？
        "\x81\x5B",  // ー
        "\x81\x5C",  // ―
        "\x81\x63",  // …
        "\x81\x4A",  // ゛
        "\x81\x45",  // ・
        "\x81\x44",  // ．
        "\x82\x9F", "\x82\xA1", "\x82\xA3", "\x82\xA5", "\x82\xA7",  // ぁぃぅぇぉ
        "\x82\xC1", "\x82\xE1", "\x82\xE3", "\x82\xE5",              // っゃゅょ
        "\x83\x40", "\x83\x42", "\x83\x44", "\x83\x46", "\x83\x48",  // ァィゥェォ
        "\x83\x62", "\x83\x83", "\x83\x85", "\x83\x87",              // ッャュョ
        "\x81\x40",                                                  // full-width space
    },
    {
        {"\x81\x69", "\x81\x6A"},  // （ ）
        {"\x81\x75", "\x81\x76"},  // 「 」
        {"\x81\x77", "\x81\x78"},  // 『 』
    },
    "\x82\x6C\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4E",  // ＭＳ ゴシック
    "ＭＳ ゴシック",
    "終了しますか？",
    "ja",
    0x3042,  // あ
};

constexpr TextProfile kGbk = {
    Encoding::kGbk,
    "gbk",
    "GBK",
    134,
    0xA1A1,
    {
        ",", ".", ")", "]",
        "\xA3\xAC",  // ，
        "\xA1\xA3",  // 。
        "\xA3\xA9",  // ）
        "\xA1\xB9",  // 」
        "\xA1\xBB",  // 』
        "\xA3\xA1",  // ！
        "\xA3\xBF",  // ？
        "\xA9\x60",  // ー
        "\xA8\x44",  // ―
        "\xA1\xAD",  // …
        "\xA9\x61",  // ゛
        "\xA1\xA4",  // ·
        "\xA1\xA2",  // 、
        "\xA4\xA1", "\xA4\xA3", "\xA4\xA5", "\xA4\xA7", "\xA4\xA9",  // ぁぃぅぇぉ
        "\xA4\xC3", "\xA4\xE3", "\xA4\xE5", "\xA4\xE7",              // っゃゅょ
        "\xA5\xA1", "\xA5\xA3", "\xA5\xA5", "\xA5\xA7", "\xA5\xA9",  // ァィゥェォ
        "\xA5\xC3", "\xA5\xE3", "\xA5\xE5", "\xA5\xE7",              // ッャュョ
        "\xA1\xA1",                                                  // full-width space
    },
    {
        {"\xA3\xA8", "\xA3\xA9"},  // （ ）
        {"\xA1\xB8", "\xA1\xB9"},  // 「 」
        {"\xA1\xBA", "\xA1\xBB"},  // 『 』
    },
    "SimHei",
    "SimHei",
    "退出游戏吗？",
    "zh-cn",
    0x4E2D,  // 中
};

}  // namespace

const TextProfile& SjisProfile() { return kSjis; }
const TextProfile& GbkProfile() { return kGbk; }

const TextProfile& BuildProfile() {
#if defined(VELTO_PROFILE_GBK)
  return kGbk;
#else
  return kSjis;
#endif
}

const TextProfile& ProfileFor(Encoding encoding) { return encoding == Encoding::kGbk ? kGbk : kSjis; }

const TextProfile* FindProfile(const char* name) {
  if (!name) return nullptr;
  for (const char* s : {"sjis", "shift-jis", "shift_jis", "cp932"})
    if (strcasecmp(name, s) == 0) return &kSjis;
  for (const char* s : {"gbk", "cp936"})
    if (strcasecmp(name, s) == 0) return &kGbk;
  return nullptr;
}

const char* TitlePhraseUtf8() { return VELTO_TITLE_PHRASE_UTF8; }

}  // namespace profile
