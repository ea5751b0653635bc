#include "app/FrameStats.h"

#include <cxxabi.h>
#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "app/core/Trace.h"

namespace {

int64_t Nanos(clockid_t clock) {
  timespec t{};
  clock_gettime(clock, &t);
  return static_cast<int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
}

// The value at fraction q of sorted values (nearest rank).
double Quantile(const std::vector<uint32_t>& sorted, double q) {
  if (sorted.empty()) return 0;
  size_t rank = static_cast<size_t>(q * static_cast<double>(sorted.size()) + 0.999999);
  rank = std::clamp<size_t>(rank, 1, sorted.size());
  return sorted[rank - 1] / 1000.0;
}

}  // namespace

CFrameStats::CFrameStats() : mStartWallNs(Nanos(CLOCK_MONOTONIC)) { Trace("CFrameStats::CFrameStats"); }

void CFrameStats::BeginFrame() {
  Trace("CFrameStats::BeginFrame");
  // The thread's own clock: the frame's work runs on this thread, while
  // the sound and movie threads run beside it whatever the frame does.
  mFrameCpuNs = Nanos(CLOCK_THREAD_CPUTIME_ID);
}

void CFrameStats::EndFrame(const std::string& screen) {
  Trace("CFrameStats::EndFrame");
  int64_t spent = Nanos(CLOCK_THREAD_CPUTIME_ID) - mFrameCpuNs;
  auto [it, added] = mScreens.try_emplace(screen);
  if (added) {
    mOrder.push_back(screen);
    it->second.firstShownMs = static_cast<double>(Nanos(CLOCK_MONOTONIC) - mStartWallNs) / 1e6;
  }
  it->second.micros.push_back(static_cast<uint32_t>(std::clamp<int64_t>(spent / 1000, 0, UINT32_MAX)));
}

std::string CFrameStats::ScreenName(const std::type_info& type) {
  Trace("CFrameStats::ScreenName");
  int status = 0;
  std::unique_ptr<char, void (*)(void*)> name(abi::__cxa_demangle(type.name(), nullptr, nullptr, &status), std::free);
  return status == 0 && name ? name.get() : type.name();
}

std::string CFrameStats::Report() const {
  Trace("CFrameStats::Report");
  std::string out = "# screen  frames  cpu-ms-median  cpu-ms-p99  cpu-ms-max  first-shown-ms\n";
  char line[512];
  uint32_t heaviest = 0;
  for (const std::string& name : mOrder) {
    const Screen& s = mScreens.at(name);
    std::vector<uint32_t> sorted = s.micros;
    std::sort(sorted.begin(), sorted.end());
    heaviest = std::max(heaviest, sorted.back());
    snprintf(line, sizeof line, "%s  %zu  %.3f  %.3f  %.3f  %.1f\n", name.c_str(), sorted.size(),
             Quantile(sorted, 0.5), Quantile(sorted, 0.99), sorted.back() / 1000.0, s.firstShownMs);
    out += line;
  }
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  snprintf(line, sizeof line, "heaviest-frame-ms %.3f\npeak-memory-mb %.1f\n", heaviest / 1000.0,
           usage.ru_maxrss / 1024.0);
  out += line;
  return out;
}

bool CFrameStats::WriteReport(const std::string& path) const {
  Trace("CFrameStats::WriteReport");
  FILE* f = fopen(path.c_str(), "wb");
  if (!f) return false;
  std::string text = Report();
  bool ok = fwrite(text.data(), 1, text.size(), f) == text.size();
  return fclose(f) == 0 && ok;
}
