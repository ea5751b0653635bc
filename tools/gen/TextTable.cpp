#include "gen/TextTable.h"

#include <cctype>
#include <fstream>
#include <iterator>
#include <sstream>

#include "app/core/Trace.h"

namespace gen {

bool IsTextKeyChar(char c) { return isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.'; }

namespace {

std::string Trim(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && isspace(static_cast<unsigned char>(s[b]))) ++b;
  while (e > b && isspace(static_cast<unsigned char>(s[e - 1]))) --e;
  return s.substr(b, e - b);
}

}  // namespace

bool CTextTable::Load(const std::string& path, std::string* error) {
  Trace("CTextTable::Load");
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    *error = path + ": cannot read";
    return false;
  }
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return Parse(path, text, error);
}

bool CTextTable::Parse(const std::string& path, const std::string& text, std::string* error) {
  Trace("CTextTable::Parse");
  std::istringstream in(text);
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (number == 1 && line.compare(0, 3, "\xEF\xBB\xBF") == 0) line.erase(0, 3);
    std::string t = Trim(line);
    if (t.empty() || t[0] == '#') continue;
    size_t eq = t.find('=');
    std::string key = Trim(t.substr(0, eq == std::string::npos ? 0 : eq));
    bool keyOk = !key.empty();
    for (char c : key) keyOk = keyOk && IsTextKeyChar(c);
    if (eq == std::string::npos || !keyOk) {
      *error = path + ":" + std::to_string(number) + ": expected 'key = text'";
      return false;
    }
    if (mEntries.count(key)) {
      *error = path + ":" + std::to_string(number) + ": the key '" + key + "' is defined twice";
      return false;
    }
    mEntries[key] = Trim(t.substr(eq + 1));
  }
  return true;
}

void CTextTable::Set(const std::string& key, const std::string& text) {
  Trace("CTextTable::Set");
  mEntries[key] = text;
}

const std::string* CTextTable::Find(const std::string& key) const {
  Trace("CTextTable::Find");
  auto it = mEntries.find(key);
  return it == mEntries.end() ? nullptr : &it->second;
}

}  // namespace gen
