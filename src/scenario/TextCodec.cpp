#include "scenario/TextCodec.h"

#include <cerrno>
#include <cstring>
#include <iconv.h>
#include <strings.h>

#include "app/core/Trace.h"
#include "text/profile/TextProfile.h"

namespace snr {

namespace {

const char* IconvName(TextEncoding encoding) { return encoding == TextEncoding::kGbk ? "GBK" : "CP932"; }

iconv_t Handle(void* p) { return static_cast<iconv_t>(p); }

}  // namespace

TextEncoding BuildTextEncoding() {
#if defined(VELTO_PROFILE_GBK)
  return TextEncoding::kGbk;
#else
  return TextEncoding::kSjis;
#endif
}

bool ParseTextEncoding(std::string_view name, TextEncoding& encoding) {
  auto is = [&](const char* s) {
    return name.size() == strlen(s) && strncasecmp(name.data(), s, name.size()) == 0;
  };
  if (is("sjis") || is("shift-jis") || is("shift_jis") || is("cp932")) {
    encoding = TextEncoding::kSjis;
    return true;
  }
  if (is("gbk") || is("cp936")) {
    encoding = TextEncoding::kGbk;
    return true;
  }
  return false;
}

bool IsLeadByteIn(TextEncoding encoding, uint8_t c) {
  return profile::ProfileFor(encoding == TextEncoding::kGbk ? profile::Encoding::kGbk : profile::Encoding::kSjis)
      .IsLeadByte(c);
}

TextCodec::TextCodec(TextEncoding encoding)
    : mEncoding(encoding),
      mToLocal(iconv_open(IconvName(encoding), "UTF-8")),
      mToUtf8(iconv_open("UTF-8", IconvName(encoding))) {
  Trace("TextCodec::TextCodec");
}

TextCodec::~TextCodec() {
  Trace("TextCodec::~TextCodec");
  if (Handle(mToLocal) != reinterpret_cast<iconv_t>(-1)) iconv_close(Handle(mToLocal));
  if (Handle(mToUtf8) != reinterpret_cast<iconv_t>(-1)) iconv_close(Handle(mToUtf8));
}

bool TextCodec::Run(void* cd, std::string_view in, std::string& out, size_t& badAt) {
  Trace("TextCodec::Run");
  out.clear();
  badAt = 0;
  if (Handle(cd) == reinterpret_cast<iconv_t>(-1)) return false;
  iconv(Handle(cd), nullptr, nullptr, nullptr, nullptr);
  char* src = const_cast<char*>(in.data());
  size_t left = in.size();
  char buf[256];
  while (left > 0) {
    char* dst = buf;
    size_t room = sizeof buf;
    size_t r = iconv(Handle(cd), &src, &left, &dst, &room);
    out.append(buf, static_cast<size_t>(dst - buf));
    if (r == static_cast<size_t>(-1) && errno != E2BIG) {
      badAt = static_cast<size_t>(src - in.data());
      return false;
    }
    // Conversions the library made by approximation count as failures too.
    if (r != static_cast<size_t>(-1) && r > 0) {
      badAt = 0;
      return false;
    }
  }
  char* dst = buf;
  size_t room = sizeof buf;
  iconv(Handle(cd), nullptr, nullptr, &dst, &room);
  out.append(buf, static_cast<size_t>(dst - buf));
  return true;
}

bool TextCodec::Encode(std::string_view utf8, std::string& out, size_t& badAt) {
  Trace("TextCodec::Encode");
  return Run(mToLocal, utf8, out, badAt);
}

bool TextCodec::DecodeExact(std::string_view ch, std::string& utf8) {
  Trace("TextCodec::DecodeExact");
  size_t bad;
  if (!Run(mToUtf8, ch, utf8, bad)) return false;
  std::string back;
  return Run(mToLocal, utf8, back, bad) && back == ch;
}

}  // namespace snr
