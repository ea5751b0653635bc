// Reading and writing "key=value" profile files with [sections], the way the
// desktop profile calls do: section and key names match without regard to
// case, values are trimmed, and a write changes one key in place while every
// other section, key, comment and blank line stays as it was. A file is
// written whole through a temporary file that replaces it.
#pragma once
#include <string>
#include <vector>

namespace plat {

// One profile file held in memory: read once, looked up and changed any
// number of times, written once.
class ProfileFile {
 public:
  // A missing file reads as empty; false only says it was missing.
  bool Load(const std::string& path);
  std::string Get(const std::string& section, const std::string& key, const std::string& def) const;
  void Set(const char* section, const char* key, const char* value);
  // False, with the reason on standard error, when it cannot be written.
  bool Save(const std::string& path) const;

 private:
  std::vector<std::string> mLines;
};

// Copies the value (or `def` when the file, section or key is missing) into
// `out`, truncated to `size` - 1 bytes. Returns the number of bytes copied.
unsigned GetPrivateProfileString(const char* section, const char* key, const char* def, char* out, unsigned size,
                                 const char* path);
std::string GetProfileValue(const std::string& section, const std::string& key, const std::string& def,
                            const std::string& path);

// Sets one key (adding the section or key when missing). False, with the
// reason on standard error, when the file cannot be written.
bool WritePrivateProfileString(const char* section, const char* key, const char* value, const char* path);

}  // namespace plat
