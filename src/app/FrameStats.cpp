#include "app/FrameStats.h"

#include <cxxabi.h>
#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <unistd.h>

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

// When the process started, on the boot clock: the start-up a player waits
// through includes loading the program and its libraries, which happens
// before any of our code runs. `fallback` when the system does not say.
int64_t ProcessStartNs(int64_t fallback) {
  std::ifstream in("/proc/self/stat");
  std::string stat((std::istreambuf_iterator<char>(in)), {});
  // The program's name (in parentheses) may hold spaces: fields are counted
  // after its closing parenthesis, where the third field begins.
  size_t close = stat.rfind(')');
  if (close == std::string::npos) return fallback;
  std::istringstream fields(stat.substr(close + 1));
  std::string field;
  for (int i = 3; i <= 22 && fields >> field; ++i)
    if (i == 22) {
      long ticks = sysconf(_SC_CLK_TCK);
      char* end = nullptr;
      unsigned long long start = strtoull(field.c_str(), &end, 10);
      if (ticks <= 0 || !end || *end) return fallback;
      int64_t ns = static_cast<int64_t>(start / ticks) * 1000000000 +
                   static_cast<int64_t>(start % ticks) * 1000000000 / ticks;
      return ns <= fallback ? ns : fallback;
    }
  return fallback;
}

}  // namespace

CFrameStats::CFrameStats() : mStartWallNs(ProcessStartNs(Nanos(CLOCK_BOOTTIME))) {
  Trace("CFrameStats::CFrameStats");
}

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
    it->second.firstShownMs = static_cast<double>(Nanos(CLOCK_BOOTTIME) - mStartWallNs) / 1e6;
  }
  uint32_t micros = static_cast<uint32_t>(std::clamp<int64_t>(spent / 1000, 0, UINT32_MAX));
  it->second.micros.push_back(micros);
  // The slowest few, kept in order as they come (the first of equals stays
  // ahead).
  ++mFrameNumber;
  if (mSlowest.size() < kSlowestKept || micros > mSlowest.back().micros) {
    Frame frame{micros, mFrameNumber, &it->first};
    auto at = std::upper_bound(mSlowest.begin(), mSlowest.end(), frame,
                               [](const Frame& a, const Frame& b) { return a.micros > b.micros; });
    mSlowest.insert(at, frame);
    if (mSlowest.size() > kSlowestKept) mSlowest.pop_back();
  }
}

std::string CFrameStats::ScreenName(const std::type_info& type) {
  Trace("CFrameStats::ScreenName");
  int status = 0;
  std::unique_ptr<char, void (*)(void*)> name(abi::__cxa_demangle(type.name(), nullptr, nullptr, &status), std::free);
  return status == 0 && name ? name.get() : type.name();
}

std::string CFrameStats::Report() const {
  Trace("CFrameStats::Report");
  std::string out =
      "# screen  frames  cpu-ms-median  cpu-ms-p99  cpu-ms-max  first-shown-ms (from the process's start)\n";
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
  // As comments, so that a reader of the table above skips them.
  for (const Frame& f : mSlowest) {
    snprintf(line, sizeof line, "# slow-frame %u %s %.3f\n", f.number, f.screen->c_str(), f.micros / 1000.0);
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
