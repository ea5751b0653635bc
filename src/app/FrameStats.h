// The frame-time report for game makers (--stats FILE): per screen the
// number of frames and the processor time each took (median, 99th
// percentile, maximum), how long after start each screen first showed,
// and the process's peak memory. It measures the real processor clock and
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
    double firstShownMs = 0;       // wall time from start to its first frame's end
  };
  std::map<std::string, Screen> mScreens;
  std::vector<std::string> mOrder;  // screens in the order they first showed
  int64_t mStartWallNs = 0;
  int64_t mFrameCpuNs = 0;
};
