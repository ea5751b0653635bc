#include "platform/Encoding.h"

#include <iconv.h>

#include <cerrno>
#include <map>
#include <memory>
#include <mutex>
#include <utility>

#include "text/profile/TextProfile.h"

namespace plat {
namespace {

// Converts with one iconv handle. What cannot be converted becomes `bad`:
// one byte at a time, or, when the input is UTF-8, one whole character; and
// `*lossy` (when given) is set.
std::string Convert(std::string_view in, const char* to, const char* from, std::string_view bad, bool fromUtf8,
                    bool* lossy = nullptr) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    if (lossy) *lossy = true;
    return std::string(in);
  }
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
      if (lossy) *lossy = true;
      out.append(bad);
      size_t skip = 1;
      if (fromUtf8)
        while (skip < srcLeft && (static_cast<unsigned char>(src[skip]) & 0xC0) == 0x80) ++skip;
      src += skip;
      srcLeft -= skip;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
  }
  iconv_close(cd);
  return out;
}

}  // namespace

const char* BuildEncodingName() { return profile::BuildProfile().szIconvName; }

std::string FromUtf8(std::string_view utf8) { return Convert(utf8, BuildEncodingName(), "UTF-8", "?", true); }

bool TryFromUtf8(std::string_view utf8, std::string& out) {
  bool lossy = false;
  std::string converted = Convert(utf8, BuildEncodingName(), "UTF-8", "?", true, &lossy);
  if (lossy) return false;
  out = std::move(converted);
  return true;
}

std::string ToUtf8(std::string_view local) {
  return Convert(local, "UTF-8", BuildEncodingName(), "\xEF\xBF\xBD", false);
}

const char* LocalText(const char* utf8Literal) {
  static std::mutex lock;
  static std::map<const char*, std::unique_ptr<std::string>> cache;
  std::lock_guard<std::mutex> guard(lock);
  auto& slot = cache[utf8Literal];
  if (!slot) slot = std::make_unique<std::string>(FromUtf8(utf8Literal));
  return slot->c_str();
}

bool IsLeadByte(unsigned char c) { return profile::BuildProfile().IsLeadByte(c); }

}  // namespace plat
