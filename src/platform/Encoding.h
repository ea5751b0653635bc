// Text in this program is held in the build's encoding (Shift-JIS or GBK),
// as game data and scenarios store it. Source literals are UTF-8; the
// platform's own interfaces (window title, message boxes, file names on
// disk) speak UTF-8. These functions convert between the two.
#pragma once
#include <string>
#include <string_view>

namespace plat {

// The iconv name of the build's encoding ("CP932" or "GBK"), from the
// build's text profile.
const char* BuildEncodingName();

// Converts UTF-8 to the build's encoding; characters it cannot hold become '?'.
std::string FromUtf8(std::string_view utf8);
// Converts UTF-8 to the build's encoding exactly: false (and `out` left
// alone) when a character has no form there or the text is not UTF-8.
bool TryFromUtf8(std::string_view utf8, std::string& out);
// Converts the build's encoding to UTF-8; undecodable bytes become U+FFFD.
std::string ToUtf8(std::string_view local);

// A UTF-8 literal in the build's encoding, converted once and kept for the
// life of the program (the pointer is stable). For the system's own texts.
const char* LocalText(const char* utf8Literal);

// True when `c` starts a two-byte character under the build's text profile.
bool IsLeadByte(unsigned char c);

}  // namespace plat
