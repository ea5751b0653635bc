#include "app/InputScript.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "platform/KeyState.h"

namespace {

bool ParseInt(const std::string& s, long long& out) {
  if (s.empty()) return false;
  size_t used = 0;
  try {
    out = std::stoll(s, &used, 0);
  } catch (...) {
    return false;
  }
  return used == s.size();
}

}  // namespace

bool ParseInputScript(const std::string& text, const std::string& name, std::vector<InputEvent>& events,
                      std::string& error) {
  std::istringstream in(text);
  std::string line;
  int lineNo = 0;
  events.clear();
  while (std::getline(in, line)) {
    ++lineNo;
    if (size_t hash = line.find('#'); hash != std::string::npos) line.erase(hash);
    std::istringstream words(line);
    std::vector<std::string> w;
    for (std::string t; words >> t;) w.push_back(t);
    if (w.empty()) continue;
    auto fail = [&](const std::string& why) {
      error = name + ":" + std::to_string(lineNo) + ": " + why;
      return false;
    };
    InputEvent e;
    long long v = 0;
    if (!ParseInt(w[0], e.frame) || e.frame < 0) return fail("'" + w[0] + "' is not a frame number");
    if (w.size() < 2) return fail("missing event after the frame number");
    const std::string& kind = w[1];
    size_t want = 0;
    if (kind == "move") {
      e.kind = InputEvent::kMove;
      want = 2;
    } else if (kind == "down" || kind == "up") {
      e.kind = kind == "down" ? InputEvent::kDown : InputEvent::kUp;
      want = 1;
    } else if (kind == "wheel") {
      e.kind = InputEvent::kWheel;
      want = 1;
    } else if (kind == "char") {
      e.kind = InputEvent::kChar;
      want = 1;
    } else if (kind == "activate") {
      e.kind = InputEvent::kActivate;
      want = 1;
    } else {
      return fail("unknown event '" + kind + "'");
    }
    if (w.size() != want + 2)
      return fail("'" + kind + "' takes " + std::to_string(want) + (want == 1 ? " argument" : " arguments"));
    switch (e.kind) {
      case InputEvent::kMove: {
        long long x = 0, y = 0;
        if (!ParseInt(w[2], x) || !ParseInt(w[3], y) || x < -32768 || x > 32767 || y < -32768 || y > 32767)
          return fail("move needs two coordinates");
        e.a = static_cast<int>(x);
        e.b = static_cast<int>(y);
        break;
      }
      case InputEvent::kDown:
      case InputEvent::kUp:
        e.a = plat::VirtualKeyFromName(w[2].c_str());
        if (e.a < 0) return fail("unknown key '" + w[2] + "'");
        break;
      case InputEvent::kWheel:
        if (!ParseInt(w[2], v) || v < -32768 || v > 32767) return fail("wheel needs a delta");
        e.a = static_cast<int>(v);
        break;
      case InputEvent::kChar:
        // A single character stands for itself; a number is a character code.
        if (w[2].size() == 1) e.a = static_cast<unsigned char>(w[2][0]);
        else if (ParseInt(w[2], v) && v >= 0 && v <= 0x10FFFF) e.a = static_cast<int>(v);
        else return fail("char needs one character or a code");
        break;
      case InputEvent::kActivate:
        if (w[2] != "0" && w[2] != "1") return fail("activate takes 0 or 1");
        e.a = w[2] == "1";
        break;
    }
    events.push_back(e);
  }
  std::stable_sort(events.begin(), events.end(),
                   [](const InputEvent& x, const InputEvent& y) { return x.frame < y.frame; });
  return true;
}

bool LoadInputScript(const std::string& path, std::vector<InputEvent>& events, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = path + ": cannot read the input script";
    return false;
  }
  std::stringstream ss;
  ss << in.rdbuf();
  return ParseInputScript(ss.str(), path, events, error);
}

std::string FormatInputEvent(const InputEvent& e) {
  std::string s = std::to_string(e.frame) + " ";
  switch (e.kind) {
    case InputEvent::kMove: return s + "move " + std::to_string(e.a) + " " + std::to_string(e.b);
    case InputEvent::kDown:
    case InputEvent::kUp: {
      const char* name = plat::VirtualKeyName(e.a);
      return s + (e.kind == InputEvent::kDown ? "down " : "up ") + (name ? name : "?");
    }
    case InputEvent::kWheel: return s + "wheel " + std::to_string(e.a);
    case InputEvent::kChar:
      if (e.a > 32 && e.a < 127 && e.a != '#') return s + "char " + static_cast<char>(e.a);
      return s + "char " + std::to_string(e.a);
    case InputEvent::kActivate: return s + "activate " + std::to_string(e.a);
  }
  return s;
}
