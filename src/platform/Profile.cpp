#include "platform/Profile.h"

#include <strings.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <vector>

#include "platform/FileReplace.h"

namespace plat {
namespace {

std::string Trim(const std::string& s) {
  size_t b = s.find_first_not_of(" \t\r\n");
  if (b == std::string::npos) return {};
  size_t e = s.find_last_not_of(" \t\r\n");
  return s.substr(b, e - b + 1);
}

bool ReadLines(const std::string& path, std::vector<std::string>& lines) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return true;
}

// "[name]" → name; anything else → false.
bool SectionName(const std::string& line, std::string& name) {
  std::string t = Trim(line);
  if (t.size() < 2 || t.front() != '[') return false;
  size_t close = t.find(']');
  if (close == std::string::npos) return false;
  name = Trim(t.substr(1, close - 1));
  return true;
}

// "key = value" → key, value; comments and other lines → false.
bool KeyValue(const std::string& line, std::string& key, std::string& value) {
  std::string t = Trim(line);
  if (t.empty() || t[0] == ';' || t[0] == '#' || t[0] == '[') return false;
  size_t eq = t.find('=');
  if (eq == std::string::npos) return false;
  key = Trim(t.substr(0, eq));
  value = Trim(t.substr(eq + 1));
  // A value wrapped in one pair of quotes loses them, as the desktop call does.
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
    value = value.substr(1, value.size() - 2);
  return true;
}

bool Same(const std::string& a, const char* b) { return strcasecmp(a.c_str(), b) == 0; }

}  // namespace

bool ProfileFile::Load(const std::string& path) {
  mLines.clear();
  return ReadLines(path, mLines);
}

std::string ProfileFile::Get(const std::string& section, const std::string& key, const std::string& def) const {
  bool inSection = false;
  for (const auto& line : mLines) {
    std::string name, k, v;
    if (SectionName(line, name)) {
      inSection = Same(name, section.c_str());
    } else if (inSection && KeyValue(line, k, v) && Same(k, key.c_str())) {
      return v;
    }
  }
  return def;
}

void ProfileFile::Set(const char* section, const char* key, const char* value) {
  std::string entry = std::string(key) + "=" + value;
  bool inSection = false;
  long sectionEnd = -1;  // index after the last non-blank line of the section
  for (size_t i = 0; i < mLines.size(); ++i) {
    std::string name, k, v;
    if (SectionName(mLines[i], name)) {
      if (inSection) break;
      inSection = Same(name, section);
      if (inSection) sectionEnd = static_cast<long>(i) + 1;
    } else if (inSection) {
      if (KeyValue(mLines[i], k, v) && Same(k, key)) {
        mLines[i] = entry;
        return;
      }
      if (!Trim(mLines[i]).empty()) sectionEnd = static_cast<long>(i) + 1;
    }
  }
  if (sectionEnd >= 0) {
    mLines.insert(mLines.begin() + sectionEnd, entry);
  } else {
    mLines.push_back(std::string("[") + section + "]");
    mLines.push_back(entry);
  }
}

bool ProfileFile::Save(const std::string& path) const {
  std::ostringstream text;
  for (const auto& l : mLines) text << l << "\r\n";
  std::string data = text.str();
  // Replaced whole: a kill or a full disk half-way keeps the old settings.
  if (WriteFileReplacing(path, data.data(), data.size())) return true;
  fprintf(stderr, "veltogame: cannot write %s: %s\n", path.c_str(), strerror(errno));
  return false;
}

std::string GetProfileValue(const std::string& section, const std::string& key, const std::string& def,
                            const std::string& path) {
  ProfileFile file;
  file.Load(path);
  return file.Get(section, key, def);
}

unsigned GetPrivateProfileString(const char* section, const char* key, const char* def, char* out, unsigned size,
                                 const char* path) {
  if (!out || size == 0) return 0;
  std::string v = GetProfileValue(section, key, def ? def : "", path);
  size_t n = std::min<size_t>(v.size(), size - 1);
  memcpy(out, v.data(), n);
  out[n] = 0;
  return static_cast<unsigned>(n);
}

bool WritePrivateProfileString(const char* section, const char* key, const char* value, const char* path) {
  ProfileFile file;
  file.Load(path);  // a missing file starts empty
  file.Set(section, key, value);
  return file.Save(path);
}

}  // namespace plat
