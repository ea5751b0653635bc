// Helpers of the demo tests: a fresh copy of the built demo game, the
// program run headless on the fixed step under an input script, its
// screenshots read back for pixel probes, the pictures of the game decoded
// for comparison, the tool run on the files it wrote, and the sound it
// wrote measured.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "RunCommand.h"
#include "TestDir.h"
#include "assets/PngEncode.h"

namespace demo {

const std::string kGame = std::string(VELTO_BINARY_DIR) + "/game";
const std::string kPictures = std::string(VELTO_BINARY_DIR) + "/demo-work/MGD/";

// The demo game copied into `dir` (the program writes Novel.ini and saves).
inline void CopyGame(const TestDir& dir) {
  std::filesystem::copy(kGame, dir.path() + "game",
                        std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
}

// Runs the program headless on the fixed step on the copied game; its exit
// status, and what it printed (error boxes come out on standard error).
inline int Play(const TestDir& dir, const std::string& args, std::string* out) {
  return RunCommand(std::string("'") + VELTO_GAME_PATH + "' --headless --fixed-step --game '" + dir.path() +
                        "game' " + args + " 2>&1",
                    out);
}

struct Image {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;  // 0xAARRGGBB
  bool Valid() const { return width > 0 && !pixels.empty(); }
  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

inline Image LoadPng(const std::string& path) {
  Image image;
  std::string data = [&] {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }();
  if (data.empty() || !LoadPngImage(reinterpret_cast<const uint8_t*>(data.data()), data.size(), &image.pixels,
                                    &image.width, &image.height))
    return Image();
  return image;
}

// Runs the built tool with `args`; its exit status and what it printed.
inline int Tool(const std::string& args, std::string* out) {
  return RunCommand(std::string("'") + VELTO_TOOL_PATH + "' " + args + " 2>&1", out);
}

// A picture of the game, as the build made it, decoded by the tool.
inline Image GamePicture(const TestDir& dir, const std::string& name) {
  std::string png = dir.File(name + ".png");
  std::string out;
  if (RunCommand(std::string("'") + VELTO_TOOL_PATH + "' mgd decode '" + kPictures + name + ".MGD' '" + png + "' 2>&1",
                 &out) != 0)
    return Image();
  return LoadPng(png);
}

// True when the two colours differ by at most `tolerance` in each of red,
// green and blue.
inline bool Near(uint32_t a, uint32_t b, int tolerance) {
  for (int shift : {0, 8, 16})
    if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > tolerance)
      return false;
  return true;
}

// The places a background shows through on every page: the top row, where
// no character's head reaches, and the corners.
struct Probe {
  int x, y;
};
inline const std::vector<Probe>& BackgroundProbes() {
  static const std::vector<Probe> probes = {{6, 6}, {200, 6}, {600, 6}, {793, 6}};
  return probes;
}

// True when the screenshot shows `picture` (an 800 × 600 page picture) at
// every probe.
inline bool Shows(const Image& shot, const Image& picture) {
  if (!shot.Valid() || !picture.Valid() || shot.width != 800 || picture.width < 800 || picture.height < 600) return false;
  for (const Probe& p : BackgroundProbes())
    if (!Near(shot.At(p.x, p.y), picture.At(p.x, p.y), 3)) return false;
  return true;
}

// Where the player clicks: the title's menu, the message window's row of
// buttons, the save and load screens, the confirmation, the options and the
// extras, each at the middle of its control.
struct Point {
  int x, y;
};
constexpr Point kTitleNew{700, 392}, kTitleLoad{700, 437}, kTitleOptions{700, 482}, kTitleExtras{700, 527},
    kTitleEnd{700, 572};
constexpr Point kText{400, 300};  // the page, to read on
constexpr Point kWndBacklogPrev{185, 578}, kWndBacklogNext{242, 578}, kWndQuickSave{299, 578}, kWndSave{413, 578},
    kWndSkip{527, 578}, kWndAuto{584, 578}, kWndTitle{698, 578};
constexpr Point kWndChoice[2] = {{400, 276}, {400, 346}};    // the message window's choice plates
constexpr Point kScreenChoice[2] = {{400, 240}, {400, 324}};  // the choice screen's plates
// Slot No.n of the first page: two columns of five.
constexpr Point SlotButton(int n) { return Point{210 + ((n - 1) / 5) * 380, 149 + ((n - 1) % 5) * 84}; }
constexpr Point kSaveLoadBack{705, 560};
constexpr Point kYes{310, 302};
constexpr Point kOptionsOk{532, 534};
// The option sliders run over 280 pixels between their margins: the left
// end is 0, the right end 255.
constexpr Point kTextSpeedMax{344, 441}, kMusicVolumeMin{478, 197}, kEffectVolumeMin{478, 318};
constexpr Point kMusicOff{642, 160}, kEffectTest{716, 283};
constexpr Point kExtrasBack{110, 560}, kExtrasMode{110, 510}, kMusicPlay{372, 91}, kMusicStop{422, 91};
// Thumbnail k of an extras page: four to a row.
constexpr Point Thumbnail(int k) { return Point{284 + (k % 4) * 140, 226 + (k / 4) * 100}; }

// An input script built up event by event.
class Script {
 public:
  // A click with the pointer moved onto the control ten frames before it.
  Script& Click(int frame, Point p) {
    text_ += std::to_string(frame - 10) + " move " + std::to_string(p.x) + " " + std::to_string(p.y) + "\n" +
             std::to_string(frame) + " down LBUTTON\n" + std::to_string(frame + 1) + " up LBUTTON\n";
    return *this;
  }
  Script& Move(int frame, Point p) {
    text_ += std::to_string(frame) + " move " + std::to_string(p.x) + " " + std::to_string(p.y) + "\n";
    return *this;
  }
  // A key held from one frame up to another.
  Script& Hold(int from, int to, const std::string& key) {
    text_ += std::to_string(from) + " down " + key + "\n" + std::to_string(to) + " up " + key + "\n";
    return *this;
  }
  Script& Wheel(int frame, int delta) {
    text_ += std::to_string(frame) + " wheel " + std::to_string(delta) + "\n";
    return *this;
  }
  const std::string& Text() const { return text_; }

 private:
  std::string text_;
};

// Plays the copied game under `script` for `frames` frames with a
// screenshot after each of `shots` (named "<prefix><frame>.png"), and any
// further arguments; the exit status, and what the run printed.
inline int PlayScript(const TestDir& dir, const Script& script, int frames, const std::vector<int>& shots,
                      const std::string& prefix, const std::string& more, std::string* out) {
  dir.Write(prefix + ".input", script.Text());
  std::string args = "--frames " + std::to_string(frames) + " --input '" + dir.File(prefix + ".input") + "' " + more;
  for (int f : shots) args += " --screenshot " + std::to_string(f) + ":'" + dir.File(prefix + std::to_string(f) + ".png") + "'";
  return Play(dir, args, out);
}
inline Image Shot(const TestDir& dir, const std::string& prefix, int frame) {
  return LoadPng(dir.File(prefix + std::to_string(frame) + ".png"));
}

// The page without the message window's row of buttons (which of them can
// be used, the backlog, the quick load, is not part of the page) and its
// waiting icon (which turns with the frames).
inline bool SamePage(const Image& a, const Image& b, int* differ) {
  *differ = 0;
  if (!a.Valid() || !b.Valid() || a.width != b.width || a.height != b.height) return false;
  for (int y = 0; y < 565; ++y)
    for (int x = 0; x < a.width; ++x)
      if (!(x >= 740 && x < 780 && y >= 520 && y < 560)) *differ += a.At(x, y) != b.At(x, y);
  return *differ == 0;
}

// The message's text as the window shows it: which pixels of its text area
// are light (the letters are white on the dark window, a backlog page's
// light grey), whatever the letters are. The waiting icon stays out.
struct TextMask {
  std::vector<bool> lit;
  int count = 0;
};
inline TextMask MessageText(const Image& shot) {
  TextMask mask;
  if (!shot.Valid() || shot.width != 800 || shot.height != 600) return mask;
  for (int y = 476; y < 562; ++y)
    for (int x = 39; x < 738; ++x) {
      const uint32_t c = shot.At(x, y);
      const bool on = ((c >> 16) & 0xFF) > 170 && ((c >> 8) & 0xFF) > 170 && (c & 0xFF) > 170;
      mask.lit.push_back(on);
      mask.count += on;
    }
  return mask;
}
// True when both show the same message, all of it typed.
inline bool SameText(const Image& a, const Image& b) {
  TextMask x = MessageText(a), y = MessageText(b);
  return x.count > 0 && x.lit == y.lit;
}
// How much the letters of two shots cover the same places, 0 to 100: the
// same message in another shade (the backlog's grey) still scores high,
// where another message scores low.
inline int TextOverlap(const Image& a, const Image& b) {
  TextMask x = MessageText(a), y = MessageText(b);
  if (x.lit.size() != y.lit.size()) return 0;
  int both = 0, either = 0;
  for (size_t i = 0; i < x.lit.size(); ++i) {
    both += x.lit[i] && y.lit[i];
    either += x.lit[i] || y.lit[i];
  }
  return either ? both * 100 / either : 0;
}

// True when the screenshot shows one of the menu screens (save, load,
// options, extras): the gold bar across their top, probed at its left end
// and its middle where the screen's name (another in each text build) does
// not reach.
inline bool MenuScreenShows(const Image& shot) {
  return shot.Valid() && Near(shot.At(8, 8), 0xFFC4A35Eu, 16) && Near(shot.At(400, 10), 0xFF85724Du, 16);
}

// True when the screenshot shows `picture` rather than `other`, a picture
// much like it (a variant with another face): at the places where the two
// differ, every tenth pixel, the shot is nearer to `picture` nearly always.
inline bool ShowsRather(const Image& shot, const Image& picture, const Image& other) {
  if (!Shows(shot, picture) || !other.Valid() || other.width < 800 || other.height < 600) return false;
  auto distance = [](uint32_t a, uint32_t b) {
    int d = 0;
    for (int shift : {0, 8, 16}) d += std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF));
    return d;
  };
  int nearer = 0, places = 0;
  for (int y = 0; y < 600; y += 10)
    for (int x = 0; x < 800; x += 10) {
      if (distance(picture.At(x, y), other.At(x, y)) < 60) continue;
      ++places;
      nearer += distance(shot.At(x, y), picture.At(x, y)) < distance(shot.At(x, y), other.At(x, y));
    }
  return places > 0 && nearer * 10 >= places * 9;
}

// The loudness (root mean square of 16-bit samples) of each second of a
// WAV file the program wrote; empty when it is not one.
inline std::vector<int> LoudnessPerSecond(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string data(std::istreambuf_iterator<char>(in), {});
  std::vector<int> seconds;
  if (data.size() < 12 || data.compare(0, 4, "RIFF") != 0 || data.compare(8, 4, "WAVE") != 0) return seconds;
  auto u32 = [&](size_t at) {
    return static_cast<uint32_t>(static_cast<uint8_t>(data[at])) | static_cast<uint8_t>(data[at + 1]) << 8 |
           static_cast<uint8_t>(data[at + 2]) << 16 | static_cast<uint32_t>(static_cast<uint8_t>(data[at + 3])) << 24;
  };
  uint32_t rate = 0, channels = 0;
  for (size_t at = 12; at + 8 <= data.size();) {
    uint32_t size = u32(at + 4);
    std::string id = data.substr(at, 4);
    if (id == "fmt " && at + 8 + 16 <= data.size()) {
      channels = u32(at + 8) >> 16;
      rate = u32(at + 12);
    } else if (id == "data" && rate && channels) {
      size_t end = std::min(data.size(), at + 8 + static_cast<size_t>(size));
      size_t perSecond = static_cast<size_t>(rate) * channels * 2;
      for (size_t s = at + 8; s + perSecond <= end; s += perSecond) {
        double sum = 0;
        for (size_t i = s; i < s + perSecond; i += 2) {
          int v = static_cast<int16_t>(static_cast<uint8_t>(data[i]) | static_cast<uint8_t>(data[i + 1]) << 8);
          sum += static_cast<double>(v) * v;
        }
        seconds.push_back(static_cast<int>(std::sqrt(sum / (perSecond / 2))));
      }
      break;
    }
    at += 8 + size + (size & 1);
  }
  return seconds;
}

}  // namespace demo
