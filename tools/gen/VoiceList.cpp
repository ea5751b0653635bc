#include "gen/VoiceList.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "app/core/Trace.h"

namespace gen {

namespace {

// The parameters of a scenario command line, split at the commas outside
// texts; texts are returned without their quotes and escapes.
std::vector<std::string> Params(const std::string& text, std::vector<bool>* quoted) {
  std::vector<std::string> out;
  std::string cur;
  bool inText = false, wasText = false;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (inText) {
      if (c == '\\' && i + 1 < text.size()) cur += text[++i];
      else if (c == '"') inText = false;
      else cur += c;
      continue;
    }
    if (c == '"') {
      inText = wasText = true;
    } else if (c == ',') {
      out.push_back(cur);
      quoted->push_back(wasText);
      cur.clear();
      wasText = false;
    } else if (c == '#' || c == ';') {
      break;
    } else if (!isspace(static_cast<unsigned char>(c))) {
      cur += c;
    }
  }
  out.push_back(cur);
  quoted->push_back(wasText);
  return out;
}

// What the player hears: the text without string-variable inserts.
std::string Spoken(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '{') {
      size_t end = text.find('}', i);
      if (end != std::string::npos) {
        i = end;
        continue;
      }
    }
    if (text[i] == '\t' || text[i] == '\n') continue;
    out += text[i];
  }
  return out;
}

}  // namespace

bool CollectVoiceLines(const std::vector<SourceLine>& lines, std::vector<VoiceLine>* out, std::string* error) {
  Trace("CollectVoiceLines");
  for (const SourceLine& line : lines) {
    size_t at = line.text.find_first_not_of(" \t");
    if (at == std::string::npos) continue;
    std::string rest = line.text.substr(at);
    bool comment = rest.compare(0, 7, "# voice") == 0;
    bool msg = rest.size() > 4 && (rest.compare(0, 4, "MSG ") == 0 || rest.compare(0, 4, "msg ") == 0);
    if (!comment && !msg) continue;
    std::vector<bool> quoted;
    std::vector<std::string> p;
    if (comment) {
      // # voice NAME PLATE "TEXT"
      std::string body = rest.substr(7);
      size_t q = body.find('"');
      std::string head = body.substr(0, q);
      char name[256] = {0};
      int plate = -1;
      if (q == std::string::npos || sscanf(head.c_str(), "%255s %d", name, &plate) != 2) {
        *error = line.Where() + ": # voice NAME PLATE \"TEXT\"";
        return false;
      }
      std::vector<std::string> t = Params(body.substr(q), &quoted);
      out->push_back(VoiceLine{name, plate, Spoken(t[0])});
      continue;
    }
    p = Params(rest.substr(4), &quoted);
    if (p.size() != 4 || !quoted[2] || !quoted[3]) {
      *error = line.Where() + ": MSG NUMBER, PLATE, \"VOICE\", \"TEXT\" expected";
      return false;
    }
    if (p[2].empty()) continue;
    out->push_back(VoiceLine{p[2], atoi(p[1].c_str()), Spoken(p[3])});
  }
  return true;
}

std::string FormatVoiceList(const std::vector<VoiceLine>& lines) {
  Trace("FormatVoiceList");
  std::string out;
  for (const VoiceLine& v : lines) out += v.name + "\t" + std::to_string(v.plate) + "\t" + v.text + "\n";
  return out;
}

bool ReadVoiceList(const std::string& path, std::vector<VoiceLine>* out, std::string* error) {
  Trace("ReadVoiceList");
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    *error = "cannot read " + path;
    return false;
  }
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    if (line.empty() || line[0] == '#') continue;
    size_t a = line.find('\t'), b = a == std::string::npos ? a : line.find('\t', a + 1);
    if (b == std::string::npos) {
      *error = path + ":" + std::to_string(number) + ": NAME<TAB>PLATE<TAB>TEXT expected";
      return false;
    }
    out->push_back(VoiceLine{line.substr(0, a), atoi(line.substr(a + 1, b - a - 1).c_str()), line.substr(b + 1)});
  }
  return true;
}

}  // namespace gen
