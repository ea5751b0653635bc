// The text encoding profile: the few values that make this program a
// Shift-JIS (Japanese) build or a GBK (Chinese) build. The build chooses one
// (VELTO_TEXT_PROFILE); both stay available so that tools can lay out text
// of either encoding.
//
// Texts marked "local" are in the profile's own encoding, as game data
// stores them; texts marked "UTF-8" are for the host's interfaces and are
// converted by the platform where needed.
#pragma once
#include <cstddef>
#include <cstdint>

namespace profile {

enum class Encoding { kSjis, kGbk };

constexpr int kKinsokuCount = 36;
constexpr int kDownPairs = 3;

struct TextProfile {
  Encoding encoding;
  const char* szName;          // "sjis" / "gbk"
  const char* szIconvName;     // "CP932" / "GBK"
  int32_t nCharSet;            // the font character set: 128 / 134
  uint16_t wFullSpace;         // the full-width space as lead × 256 + trail
  // Characters that may not begin a line, local; the last is the full-width
  // space.
  const char* szKinsoku[kKinsokuCount];
  // Bracket pairs, local: opening in column 0, closing in column 1.
  const char* szDownStr[kDownPairs][2];
  const char* szDefaultFace;       // message font face, local
  const char* szDefaultFaceUtf8;
  const char* szCloseTextUtf8;     // text of the close question
  const char* szLanguage;          // language of the script, for font lookup
  uint32_t dwProbeChar;            // a character every usable font must hold (Unicode)

  // True when `c` starts a two-byte character.
  bool IsLeadByte(uint8_t c) const {
    if (encoding == Encoding::kGbk) return c >= 0x80;
    return (c >= 0x80 && c <= 0x9F) || c >= 0xE0;
  }
  // The full-width space as its two bytes.
  const char* FullSpace() const { return szKinsoku[kKinsokuCount - 1]; }
};

const TextProfile& SjisProfile();
const TextProfile& GbkProfile();
// The profile this program was built with.
const TextProfile& BuildProfile();
const TextProfile& ProfileFor(Encoding encoding);
// "sjis" or "gbk" (any case, also "shift-jis", "cp932", "cp936"); null for
// anything else.
const TextProfile* FindProfile(const char* name);

// The window title, UTF-8. It also keys the scrambling of scenario files and
// the signatures of saved games, so a build can read only data made under
// the same phrase.
const char* TitlePhraseUtf8();

}  // namespace profile
