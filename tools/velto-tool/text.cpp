// velto-tool text: shows how the message window lays a message out (for
// writers and translators checking line breaks) and previews a font by
// drawing a text into a PNG.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "Command.h"
#include "ToolFiles.h"
#include "assets/DIBImage.h"
#include "assets/PngEncode.h"
#include "platform/Encoding.h"
#include "platform/Font.h"
#include "scenario/TextCodec.h"
#include "text/MesTextBuffer.h"
#include "text/profile/TextProfile.h"

namespace {

int TextMain(const tool::Args& args);

VELTO_TOOL_COMMAND(
    "text", "lay a message out as the message window does, or draw a text with a font",
    "usage: velto-tool text layout [--encoding sjis|gbk] --area L,T,R,B [--size N] [--line-space N]\n"
    "                              [--char-space N] [--kinsoku 0|1] [--down 0|1] FILE\n"
    "       velto-tool text render [--face NAME] [--size N] [--weight N] [--color AARRGGBB]\n"
    "                              [--shadow AARRGGBB] [--background AARRGGBB] [--italic]\n"
    "                              [--underline] [--strike] [--escapement N] [--hard] TEXT OUT.png\n"
    "\n"
    "layout  reads a UTF-8 file of input records, one a line: \"T \" and a text, or\n"
    "        \"F \" and a function kind (0 clear page, 1 line break, 2 page break,\n"
    "        3 click wait; others pass through), and prints the laid-out records,\n"
    "        one a line: KIND X Y TEXT (TEXT is the character for kind 2, else -).\n"
    "        Kinds: 0 end, 1 page full, 2 character, 3 clear, 4 click wait.\n"
    "        Defaults: --size 24 --line-space 4 --char-space 1 --kinsoku 0 --down 0;\n"
    "        the encoding is this build's.\n"
    "render  draws TEXT (UTF-8; \\n starts a line) into a picture just large enough,\n"
    "        smooth (or hard-edged with --hard), and prints the installed font the\n"
    "        face resolved to. Defaults: the build's message face, --size 24\n"
    "        --weight 400 --color FFFFFFFF --background FF000000, no shadow.\n",
    &TextMain);

bool ParseInt(const std::string& s, long long lo, long long hi, int32_t& out) {
  char* end = nullptr;
  long long v = strtoll(s.c_str(), &end, 10);
  if (s.empty() || *end || v < lo || v > hi) return false;
  out = static_cast<int32_t>(v);
  return true;
}

bool ParseColor(const std::string& s, uint32_t& out) {
  char* end = nullptr;
  unsigned long v = strtoul(s.c_str(), &end, 16);
  if (s.empty() || s.size() > 8 || *end) return false;
  out = static_cast<uint32_t>(v);
  return true;
}

// A character of the layout's encoding as UTF-8, or its bytes as \xHH.
std::string ShowChar(snr::TextCodec& codec, const char* cell) {
  std::string utf8;
  if (codec.DecodeExact(cell, utf8) && !utf8.empty()) return utf8;
  std::string hex;
  for (const char* p = cell; *p; ++p) {
    char b[8];
    snprintf(b, sizeof b, "\\x%02X", static_cast<uint8_t>(*p));
    hex += b;
  }
  return hex;
}

int Layout(const tool::Args& args) {
  const profile::TextProfile* p = &profile::BuildProfile();
  int32_t area[4] = {};
  bool haveArea = false;
  int32_t size = 24, lineSpace = 4, charSpace = 1, kinsoku = 0, down = 0;
  std::string file;
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool more = i + 1 < args.size();
    auto intOpt = [&](int32_t& v, long long lo, long long hi) { return more && ParseInt(args[++i], lo, hi, v); };
    if (a == "--encoding" && more) {
      p = profile::FindProfile(args[++i].c_str());
      if (!p) return tool::Fail("unknown encoding '" + args[i] + "'");
    } else if (a == "--area" && more) {
      std::vector<std::string> parts;
      std::stringstream ss(args[++i]);
      for (std::string part; std::getline(ss, part, ',');) parts.push_back(part);
      if (parts.size() != 4) return tool::Fail("--area needs L,T,R,B");
      for (int k = 0; k < 4; ++k)
        if (!ParseInt(parts[k], -100000, 100000, area[k])) return tool::Fail("--area needs four numbers");
      haveArea = true;
    } else if (a == "--size") {
      if (!intOpt(size, 1, 1000)) return tool::Fail("--size needs 1 to 1000");
    } else if (a == "--line-space") {
      if (!intOpt(lineSpace, -1000, 1000)) return tool::Fail("--line-space needs a number");
    } else if (a == "--char-space") {
      if (!intOpt(charSpace, -1000, 1000)) return tool::Fail("--char-space needs a number");
    } else if (a == "--kinsoku") {
      if (!intOpt(kinsoku, 0, 1)) return tool::Fail("--kinsoku needs 0 or 1");
    } else if (a == "--down") {
      if (!intOpt(down, 0, 1)) return tool::Fail("--down needs 0 or 1");
    } else if (a.size() > 1 && a[0] == '-') {
      return tool::Fail("unknown option '" + a + "'");
    } else if (file.empty()) {
      file = a;
    } else {
      return tool::Usage("text");
    }
  }
  if (!haveArea || file.empty()) return tool::Usage("text");
  std::string source;
  if (!tool::ReadWholeFile(file, &source)) return tool::Fail("cannot read " + file);

  snr::TextCodec codec(p->encoding == profile::Encoding::kGbk ? snr::TextEncoding::kGbk : snr::TextEncoding::kSjis);
  std::vector<MesSrc> records;
  std::stringstream lines(source);
  int lineNo = 0;
  for (std::string line; std::getline(lines, line);) {
    ++lineNo;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    const std::string where = file + ":" + std::to_string(lineNo) + ": ";
    MesSrc s{};
    if (line.rfind("T ", 0) == 0) {
      std::string local;
      size_t bad = 0;
      if (!codec.Encode(line.substr(2), local, bad))
        return tool::Fail(where + "the text has a character the encoding cannot hold");
      if (local.size() >= sizeof s.szText)
        return tool::Fail(where + "the text is " + std::to_string(local.size()) + " bytes, at most 511");
      s.bText = 1;
      memcpy(s.szText, local.c_str(), local.size() + 1);
    } else if (line.rfind("F ", 0) == 0) {
      if (!ParseInt(line.substr(2), INT32_MIN, INT32_MAX, s.nFunc)) return tool::Fail(where + "F needs a number");
    } else {
      return tool::Fail(where + "a line is \"T text\" or \"F kind\"");
    }
    records.push_back(s);
  }

  CMesTextBuffer buffer;
  buffer.SetProfile(p);
  buffer.mnLeft = area[0];
  buffer.mnTop = area[1];
  buffer.mnRight = area[2];
  buffer.mnBottom = area[3];
  buffer.mnFontSize = size;
  buffer.mnLineSpace = lineSpace;
  buffer.mnCharSpace = charSpace;
  buffer.mbKinsoku = kinsoku != 0;
  buffer.mbDownStr = down != 0;
  buffer.mdwColor = 0xFFFFFFFFu;
  buffer.mdwShadowColor = 0xFF010101u;
  buffer.ResetPen();
  // Each text gives at most a character and a page record per cell.
  size_t capacity = 1;
  for (const MesSrc& s : records) capacity += s.bText ? 2 * (strlen(s.szText) + 1) + 1 : 1;
  std::vector<MesChar> out(capacity);
  buffer.Convert(records.data(), static_cast<int>(records.size()), out.data(), static_cast<int>(capacity));
  for (const MesChar& c : out) {
    const std::string text = c.nKind == MESCHAR_WORD ? ShowChar(codec, c.szChar) : "-";
    printf("%d %d %d %s\n", c.nKind, c.x, c.y, text.c_str());
    if (c.nKind == MESCHAR_END) break;
  }
  return 0;
}

int Render(const tool::Args& args) {
  std::string face = profile::BuildProfile().szDefaultFaceUtf8;
  int32_t size = 24, weight = 400, escapement = 0;
  uint32_t color = 0xFFFFFFFFu, background = 0xFF000000u, shadow = 0;
  bool haveShadow = false, italic = false, underline = false, strike = false, hard = false;
  std::vector<std::string> rest;
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool more = i + 1 < args.size();
    if (a == "--face" && more) {
      face = args[++i];
    } else if (a == "--size") {
      if (!more || !ParseInt(args[++i], 1, 400, size)) return tool::Fail("--size needs 1 to 400");
    } else if (a == "--weight") {
      if (!more || !ParseInt(args[++i], 0, 1000, weight)) return tool::Fail("--weight needs 0 to 1000");
    } else if (a == "--escapement") {
      if (!more || !ParseInt(args[++i], -3600, 3600, escapement)) return tool::Fail("--escapement needs -3600 to 3600");
    } else if (a == "--color") {
      if (!more || !ParseColor(args[++i], color)) return tool::Fail("--color needs AARRGGBB");
    } else if (a == "--background") {
      if (!more || !ParseColor(args[++i], background)) return tool::Fail("--background needs AARRGGBB");
    } else if (a == "--shadow") {
      if (!more || !ParseColor(args[++i], shadow)) return tool::Fail("--shadow needs AARRGGBB");
      haveShadow = true;
    } else if (a == "--italic") {
      italic = true;
    } else if (a == "--underline") {
      underline = true;
    } else if (a == "--strike") {
      strike = true;
    } else if (a == "--hard") {
      hard = true;
    } else if (a.size() > 1 && a[0] == '-') {
      return tool::Fail("unknown option '" + a + "'");
    } else {
      rest.push_back(a);
    }
  }
  if (rest.size() != 2) return tool::Usage("text");
  // "\n" written on the command line starts a line too.
  std::string utf8 = rest[0];
  for (size_t at; (at = utf8.find("\\n")) != std::string::npos;) utf8.replace(at, 2, "\n");
  const std::string text = plat::FromUtf8(utf8);
  const std::string faceLocal = plat::FromUtf8(face);

  CDIBImage measure;
  measure.BeginDrawString(faceLocal.c_str(), size, weight, italic, underline, strike, escapement);
  if (!measure.GetFont()) return tool::Fail("no font can be opened");
  int w = 0, h = 0;
  measure.MeasureString2(text.c_str(), w, h);
  const int margin = 4 + (haveShadow ? 2 : 0);
  // Rotated text may run up or down from its line: a square picture with
  // the text starting at the middle of its left side holds it.
  int pw = w + 2 * margin, ph = h + 2 * margin, ox = margin, oy = margin;
  if (escapement % 3600 != 0) {
    pw = ph = 2 * (w + h) + 2 * margin;
    oy = (ph - h) / 2;
  }
  CDIBImage image;
  image.Create(pw, ph);
  if (!image.GetPixels()) return tool::Fail("the picture would be too large");
  image.FillFull(background);
  image.BeginDrawString(faceLocal.c_str(), size, weight, italic, underline, strike, escapement);
  if (hard) {
    if (haveShadow) image.DrawString2(ox + 2, oy + 2, shadow, text.c_str());
    image.DrawString2(ox, oy, color, text.c_str());
  } else {
    // DrawString keeps to one line; each line is drawn below the last.
    const int lineHeight = plat::GetFontMetrics(image.GetFont()).height;
    std::stringstream lines(text);
    int y = oy;
    for (std::string line; std::getline(lines, line); y += lineHeight) {
      if (haveShadow)
        image.DrawStringS(ox, y, 2, 2, color, shadow, line.c_str());
      else
        image.DrawString(ox, y, color, line.c_str());
    }
  }
  std::vector<uint8_t> png;
  if (!EncodePngPixels(image.GetPixels(), image.GetWidth(), image.GetHeight(), true, &png) ||
      !tool::WriteWholeFile(rest[1], png))
    return tool::Fail("cannot write " + rest[1]);
  const plat::FontFace* resolved = plat::GetFontFace(image.GetFont());
  if (resolved) printf("%s %s\n", resolved->family.c_str(), resolved->file.c_str());
  return 0;
}

int TextMain(const tool::Args& args) {
  if (args.empty()) return tool::Usage("text");
  if (args[0] == "layout") return Layout(args);
  if (args[0] == "render") return Render(args);
  return tool::Usage("text");
}

}  // namespace
