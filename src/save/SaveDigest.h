// The keys of saved games: MD5 digests written as 32 lower-case hexadecimal
// characters, and the title phrase that names this product.
#pragma once
#include <string>

std::string SaveHexDigest(const std::string& text);
// The window-title phrase in the build's encoding.
const char* SavePhrase();
