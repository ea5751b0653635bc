// The texts of one language: "key = text" lines in UTF-8, found by key from
// sources as @key. One set of scenes and pictures, one table per language.
#pragma once
#include <map>
#include <string>

namespace gen {

class CTextTable {
 public:
  // Reads a table. Lines: "key = text", blank, or starting with '#'. A key
  // is letters, digits, '_' and '.'; the text runs to the end of the line
  // with the blanks around it removed, written as inside a scenario text
  // (backslash escapes stay as they are). False with "FILE:LINE: message"
  // on a malformed line or a key defined twice.
  bool Load(const std::string& path, std::string* error);
  // The same from a text already read; `name` is used in messages.
  bool Parse(const std::string& name, const std::string& text, std::string* error);
  // Adds or replaces one entry.
  void Set(const std::string& key, const std::string& text);
  // Null when the key is not there.
  const std::string* Find(const std::string& key) const;
  size_t Size() const { return mEntries.size(); }

 private:
  std::map<std::string, std::string> mEntries;
};

// True for the characters of a key.
bool IsTextKeyChar(char c);

}  // namespace gen
