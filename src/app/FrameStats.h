// The frame-time report for game makers (--stats FILE): per screen the
// number of frames and the processor time each took (median, 99th
// percentile, maximum), how long after the process started each screen
// first showed, the slowest frames by number (to find them again with
// --screenshot), and the process's peak memory. It measures the real processor clock and
// only reports; nothing the game does depends on it, so a fixed-step run
// plays the same with or without it.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <typeinfo>
#include <vector>

class CFrameStats {
 public:
  CFrameStats();

  // Around one frame's work (input, moving, drawing, presenting).
  void BeginFrame();
  void EndFrame(const std::string& screen);

  // The report as text; WriteReport puts it into `path` (false when it
  // cannot be written).
  std::string Report() const;
  bool WriteReport(const std::string& path) const;

  // The name a report gives the screen object (its class name).
  static std::string ScreenName(const std::type_info& type);

 private:
  struct Screen {
    std::vector<uint32_t> micros;  // processor time of each frame
    double firstShownMs = 0;       // wall time from the process's start to its first frame's end
  };
  struct Frame {
    uint32_t micros;
    uint32_t number;  // 1 for the first frame
    const std::string* screen;
  };
  static constexpr size_t kSlowestKept = 10;

  std::map<std::string, Screen> mScreens;
  std::vector<std::string> mOrder;  // screens in the order they first showed
  std::vector<Frame> mSlowest;      // the slowest frames, slowest first
  uint32_t mFrameNumber = 0;
  int64_t mStartWallNs = 0;  // the process's start on the boot clock
  int64_t mFrameCpuNs = 0;
};
