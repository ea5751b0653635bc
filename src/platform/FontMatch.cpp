// Finding the installed font for a face name. The game data names the faces
// of its own platform ("ＭＳ ゴシック", "SimHei"); those are aliased to
// installed fonts with the same script and look. fontconfig alone would map
// such a name to its default Latin font, which holds no Japanese or Chinese
// glyphs, so every answer is checked for a character of the build's script
// and a face that fails falls back to the profile's default face.
#include <fontconfig/fontconfig.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/Encoding.h"
#include "platform/Font.h"
#include "text/profile/TextProfile.h"

namespace plat {
namespace {

// Installed families that stand in for a face, best first. Keys are
// normalised (see Normalise).
struct Alias {
  const char* key;
  std::vector<const char*> families;
};

const std::vector<Alias>& Aliases() {
  static const std::vector<Alias> aliases = {
      // Japanese, fixed pitch.
      {"msゴシック", {"IPAGothic", "IPAexGothic", "VL Gothic", "Noto Sans Mono CJK JP"}},
      {"msgothic", {"IPAGothic", "IPAexGothic", "VL Gothic", "Noto Sans Mono CJK JP"}},
      {"ゴシック", {"IPAGothic", "IPAexGothic", "VL Gothic"}},
      {"ms明朝", {"IPAMincho", "IPAexMincho", "Noto Serif CJK JP"}},
      {"msmincho", {"IPAMincho", "IPAexMincho", "Noto Serif CJK JP"}},
      {"明朝", {"IPAMincho", "IPAexMincho"}},
      // Japanese, proportional.
      {"mspゴシック", {"IPAPGothic", "IPAexGothic", "VL PGothic", "Noto Sans CJK JP"}},
      {"mspgothic", {"IPAPGothic", "IPAexGothic", "VL PGothic", "Noto Sans CJK JP"}},
      {"msuigothic", {"IPAPGothic", "IPAexGothic", "Noto Sans CJK JP"}},
      {"msp明朝", {"IPAPMincho", "IPAexMincho", "Noto Serif CJK JP"}},
      {"mspmincho", {"IPAPMincho", "IPAexMincho", "Noto Serif CJK JP"}},
      {"meiryo", {"IPAPGothic", "IPAexGothic", "Noto Sans CJK JP"}},
      {"メイリオ", {"IPAPGothic", "IPAexGothic", "Noto Sans CJK JP"}},
      // Chinese. No serif Chinese font is installed by default; the sans
      // one keeps the script.
      {"simhei", {"WenQuanYi Zen Hei Mono", "WenQuanYi Zen Hei", "Noto Sans Mono CJK SC"}},
      {"黑体", {"WenQuanYi Zen Hei Mono", "WenQuanYi Zen Hei", "Noto Sans Mono CJK SC"}},
      {"simsun", {"AR PL UMing CN", "WenQuanYi Zen Hei Mono", "WenQuanYi Zen Hei", "Noto Serif CJK SC"}},
      {"nsimsun", {"AR PL UMing CN", "WenQuanYi Zen Hei Mono", "WenQuanYi Zen Hei", "Noto Serif CJK SC"}},
      {"宋体", {"AR PL UMing CN", "WenQuanYi Zen Hei Mono", "WenQuanYi Zen Hei", "Noto Serif CJK SC"}},
      {"新宋体", {"AR PL UMing CN", "WenQuanYi Zen Hei Mono", "WenQuanYi Zen Hei", "Noto Serif CJK SC"}},
      {"microsoftyahei", {"WenQuanYi Zen Hei", "WenQuanYi Micro Hei", "Noto Sans CJK SC"}},
      {"微软雅黑", {"WenQuanYi Zen Hei", "WenQuanYi Micro Hei", "Noto Sans CJK SC"}},
      {"kaiti", {"AR PL UKai CN", "WenQuanYi Zen Hei"}},
      {"楷体", {"AR PL UKai CN", "WenQuanYi Zen Hei"}},
      {"fangsong", {"AR PL UMing CN", "WenQuanYi Zen Hei"}},
      {"仿宋", {"AR PL UMing CN", "WenQuanYi Zen Hei"}},
  };
  return aliases;
}

void PutUtf8(std::string& out, uint32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | c >> 6);
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | c >> 12);
    out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | c >> 18);
    out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
    out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Full-width Latin letters become ASCII, spaces go, ASCII is lower-cased:
// "ＭＳ ゴシック", "MS ゴシック" and "msゴシック" are one name.
std::string Normalise(const std::string& utf8) {
  std::string out;
  size_t i = 0;
  while (i < utf8.size()) {
    uint8_t b = static_cast<uint8_t>(utf8[i]);
    uint32_t c = b;
    size_t len = 1;
    if (b >= 0xF0 && i + 3 < utf8.size()) {
      c = (b & 0x07) << 18 | (utf8[i + 1] & 0x3F) << 12 | (utf8[i + 2] & 0x3F) << 6 | (utf8[i + 3] & 0x3F);
      len = 4;
    } else if (b >= 0xE0 && i + 2 < utf8.size()) {
      c = (b & 0x0F) << 12 | (utf8[i + 1] & 0x3F) << 6 | (utf8[i + 2] & 0x3F);
      len = 3;
    } else if (b >= 0xC0 && i + 1 < utf8.size()) {
      c = (b & 0x1F) << 6 | (utf8[i + 1] & 0x3F);
      len = 2;
    }
    i += len;
    if (c >= 0xFF01 && c <= 0xFF5E) c -= 0xFEE0;
    if (c == 0x3000 || c == ' ' || c == '\t') continue;
    if (c >= 'A' && c <= 'Z') c += 'a' - 'A';
    PutUtf8(out, c);
  }
  return out;
}

const Alias* FindAlias(const std::string& faceUtf8) {
  std::string key = Normalise(faceUtf8);
  for (const Alias& a : Aliases())
    if (key == a.key) return &a;
  return nullptr;
}

FcConfig* g_config = nullptr;

// Fontconfig keeps some one-time data of its own until it is finished.
void FinishFontconfig() {
  if (g_config) FcConfigDestroy(g_config);
  g_config = nullptr;
  FcFini();
}

FcConfig* Config() {
  static const bool loaded = [] {
    g_config = FcInitLoadConfigAndFonts();
    atexit(FinishFontconfig);
    return true;
  }();
  (void)loaded;
  return g_config;
}

bool HasFamily(FcPattern* font, const char* family) {
  FcChar8* name = nullptr;
  for (int i = 0; FcPatternGetString(font, FC_FAMILY, i, &name) == FcResultMatch; ++i)
    if (FcStrCmpIgnoreCase(name, reinterpret_cast<const FcChar8*>(family)) == 0) return true;
  return false;
}

bool HoldsChar(FcPattern* font, uint32_t probe) {
  FcCharSet* set = nullptr;
  return FcPatternGetCharSet(font, FC_CHARSET, 0, &set) == FcResultMatch && FcCharSetHasChar(set, probe);
}

bool Fill(FcPattern* font, FontFace& out) {
  FcChar8* file = nullptr;
  FcChar8* family = nullptr;
  int index = 0;
  if (FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch) return false;
  FcPatternGetString(font, FC_FAMILY, 0, &family);
  FcPatternGetInteger(font, FC_INDEX, 0, &index);
  out.file = reinterpret_cast<const char*>(file);
  out.family = family ? reinterpret_cast<const char*>(family) : "";
  out.index = index;
  return true;
}

// The installed font of exactly this family that holds `probe` (0: any).
bool MatchFamily(const char* family, const char* language, uint32_t probe, FontFace& out) {
  FcConfig* config = Config();
  if (!config) return false;
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
  if (language && *language) FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>(language));
  FcPatternAddInteger(pattern, FC_WEIGHT, FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
  FcConfigSubstitute(config, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* font = FcFontMatch(config, pattern, &result);
  bool ok = font && HasFamily(font, family) && (probe == 0 || HoldsChar(font, probe)) && Fill(font, out);
  if (font) FcPatternDestroy(font);
  FcPatternDestroy(pattern);
  return ok;
}

// Any installed font for the language that holds `probe`, fontconfig's
// best first.
bool MatchLanguage(const char* language, uint32_t probe, FontFace& out) {
  FcConfig* config = Config();
  if (!config) return false;
  FcPattern* pattern = FcPatternCreate();
  if (language && *language) FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>(language));
  FcPatternAddInteger(pattern, FC_SPACING, FC_MONO);
  FcConfigSubstitute(config, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcFontSet* set = FcFontSort(config, pattern, FcTrue, nullptr, &result);
  bool ok = false;
  for (int i = 0; set && i < set->nfont && !ok; ++i) {
    FcPattern* font = FcFontRenderPrepare(config, pattern, set->fonts[i]);
    if (font && (probe == 0 || HoldsChar(font, probe))) ok = Fill(font, out);
    if (font) FcPatternDestroy(font);
  }
  if (set) FcFontSetDestroy(set);
  FcPatternDestroy(pattern);
  return ok;
}

bool ResolveAlias(const Alias& alias, const profile::TextProfile& p, FontFace& out) {
  for (const char* family : alias.families)
    if (MatchFamily(family, p.szLanguage, p.dwProbeChar, out)) return true;
  return false;
}

bool ResolveDefault(const profile::TextProfile& p, FontFace& out) {
  if (const Alias* alias = FindAlias(p.szDefaultFaceUtf8))
    if (ResolveAlias(*alias, p, out)) return true;
  if (MatchLanguage(p.szLanguage, p.dwProbeChar, out)) return true;
  // No font of the script at all: still draw what can be drawn.
  return MatchLanguage(nullptr, 0, out);
}

bool Resolve(const std::string& faceUtf8, FontFace& out) {
  const profile::TextProfile& p = profile::BuildProfile();
  if (!faceUtf8.empty()) {
    if (const Alias* alias = FindAlias(faceUtf8)) {
      if (ResolveAlias(*alias, p, out)) return true;
    } else if (MatchFamily(faceUtf8.c_str(), p.szLanguage, p.dwProbeChar, out)) {
      return true;  // an installed face of that very name with the script
    }
  }
  return ResolveDefault(p, out);
}

}  // namespace

bool ResolveFontFace(const char* faceLocal, FontFace& out) {
  static std::mutex lock;
  static std::map<std::string, FontFace> known;
  static std::map<std::string, bool> found;
  std::string face = faceLocal ? faceLocal : "";
  std::lock_guard<std::mutex> guard(lock);
  auto it = found.find(face);
  if (it == found.end()) {
    FontFace resolved;
    bool ok = Resolve(ToUtf8(face), resolved);
    it = found.emplace(face, ok).first;
    if (ok) known[face] = resolved;
  }
  if (!it->second) return false;
  out = known[face];
  return true;
}

}  // namespace plat
