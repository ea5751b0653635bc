// The benchmarks' closing table: every result again as a multiple of the
// run's "BM_Memcpy" (a copy of one 800 × 600 × 4 frame measured in the same
// run), so figures from a loaded machine still compare. CPU time is the
// steadier measure on a shared machine; real time is shown beside it.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

namespace benchreport {

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  // `heading` names the first column; times are printed as the benchmarks'
  // own time unit multiplied by `scale`, labelled `unit`.
  RatioReporter(const char* heading, const char* unit, double scale) : mHeading(heading), mUnit(unit), mScale(scale) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.error_occurred || run.run_type != Run::RT_Iteration) continue;
      std::string name = run.benchmark_name();
      if (!run.report_label.empty()) name += " [" + run.report_label + "]";
      mTimes.push_back(Timing{name, run.GetAdjustedCPUTime(), run.GetAdjustedRealTime()});
    }
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    const Timing* base = nullptr;
    for (const Timing& t : mTimes)
      if (t.name == "BM_Memcpy") base = &t;
    if (!base || base->cpu <= 0 || base->real <= 0) return;
    const std::string cpu = std::string("cpu (") + mUnit + ")";
    printf("\n%-46s %12s %10s %12s\n", mHeading, cpu.c_str(), "x memcpy", "x (real)");
    for (const Timing& t : mTimes)
      printf("%-46s %12.3f %10.2f %12.2f\n", t.name.c_str(), t.cpu * mScale, t.cpu / base->cpu, t.real / base->real);
  }

 private:
  struct Timing {
    std::string name;
    double cpu, real;
  };
  const char* mHeading;
  const char* mUnit;
  double mScale;
  std::vector<Timing> mTimes;
};

// Runs the benchmarks the command line selects and prints the table.
inline int RunWithRatios(int argc, char** argv, const char* heading, const char* unit, double scale) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter(heading, unit, scale);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}

}  // namespace benchreport
