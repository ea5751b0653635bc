#include "platform/Encoding.h"

#include <iconv.h>

#include <cerrno>
#include <map>
#include <memory>
#include <mutex>

namespace plat {
namespace {

std::string Convert(std::string_view in, const char* to, const char* from, std::string_view bad) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(in);
  std::string out;
  out.reserve(in.size() * 2 + 4);
  char* src = const_cast<char*>(in.data());
  size_t srcLeft = in.size();
  char buf[256];
  while (srcLeft > 0) {
    char* dst = buf;
    size_t dstLeft = sizeof buf;
    size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    out.append(buf, dst - buf);
    if (r == static_cast<size_t>(-1)) {
      if (errno == E2BIG) continue;
      // Invalid or incomplete sequence: replace one byte and go on.
      out.append(bad);
      ++src;
      --srcLeft;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
  }
  iconv_close(cd);
  return out;
}

}  // namespace

const char* BuildEncodingName() {
#if defined(VELTO_PROFILE_GBK)
  return "GBK";
#else
  return "CP932";
#endif
}

std::string FromUtf8(std::string_view utf8) {
  // Skip the continuation bytes of a character the target cannot hold, so
  // that one unknown character gives one '?'.
  std::string out;
  size_t i = 0;
  while (i < utf8.size()) {
    size_t j = i + 1;
    while (j < utf8.size() && (static_cast<unsigned char>(utf8[j]) & 0xC0) == 0x80) ++j;
    std::string_view ch = utf8.substr(i, j - i);
    if (ch.size() == 1 && static_cast<unsigned char>(ch[0]) < 0x80) {
      out += ch[0];
    } else {
      std::string c = Convert(ch, BuildEncodingName(), "UTF-8", "?");
      out += c.empty() ? std::string("?") : c;
    }
    i = j;
  }
  return out;
}

std::string ToUtf8(std::string_view local) { return Convert(local, "UTF-8", BuildEncodingName(), "\xEF\xBF\xBD"); }

const char* LocalText(const char* utf8Literal) {
  static std::mutex lock;
  static std::map<const char*, std::unique_ptr<std::string>> cache;
  std::lock_guard<std::mutex> guard(lock);
  auto& slot = cache[utf8Literal];
  if (!slot) slot = std::make_unique<std::string>(FromUtf8(utf8Literal));
  return slot->c_str();
}

bool IsLeadByte(unsigned char c) {
#if defined(VELTO_PROFILE_GBK)
  return c >= 0x81 && c <= 0xFE;
#else
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
#endif
}

}  // namespace plat
