// Loading and walking a large scenario: the baseline is copying the same
// bytes, which every load does anyway.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "scenario/Scramble.h"
#include "scenario/SnrBuffer.h"
#include "scenario/SnrImage.h"

namespace {

// About 1 MB of typical commands: variables, expressions, texts.
const snr::Bytes& File(bool scrambled) {
  static snr::Bytes plain, hidden;
  if (plain.empty()) {
    snr::SnrImage image;
    for (int i = 0; i < 12000; ++i) {
      snr::Bytes p;
      snr::PutVar(p, static_cast<uint32_t>(i % 2000));
      snr::PutExpr(p, {{1, 1}, {0, 2}, {1, 3}, {4, 0}, {2, 0}});
      snr::PutStr(p, "The quick brown fox & friends jump over the lazy dog.");
      snr::PutRecord(image.commands, 1000, p);
    }
    plain = image.Build();
    hidden = plain;
    snr::ScrambleBlocks(hidden.data(), hidden.size(), "VELTO Title");
  }
  return scrambled ? hidden : plain;
}

void BM_CopyBaseline(benchmark::State& state) {
  const snr::Bytes& file = File(false);
  std::vector<uint8_t> copy(file.size());
  for (auto _ : state) {
    memcpy(copy.data(), file.data(), file.size());
    benchmark::DoNotOptimize(copy.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(file.size()));
}
BENCHMARK(BM_CopyBaseline);

void BM_ReadPlain(benchmark::State& state) {
  const snr::Bytes& file = File(false);
  CSnrBuffer buffer;
  for (auto _ : state) benchmark::DoNotOptimize(buffer.ReadMemory("B", file.data(), file.size(), "VELTO Title"));
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(file.size()));
}
BENCHMARK(BM_ReadPlain);

void BM_ReadScrambled(benchmark::State& state) {
  const snr::Bytes& file = File(true);
  CSnrBuffer buffer;
  for (auto _ : state) benchmark::DoNotOptimize(buffer.ReadMemory("B", file.data(), file.size(), "VELTO Title"));
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(file.size()));
}
BENCHMARK(BM_ReadScrambled);

void BM_WalkAndDecode(benchmark::State& state) {
  const snr::Bytes& file = File(false);
  CSnrBuffer buffer;
  buffer.ReadMemory("B", file.data(), file.size(), "VELTO Title");
  static int32_t values[2000];
  buffer.SetValList(values);
  for (auto _ : state) {
    int64_t sum = 0;
    for (buffer.SeekBegin(0); !buffer.IsFinish(); buffer.NextCommand()) {
      const uint8_t* p = buffer.GetParam();
      sum += buffer.GetValueParam(p);
      p = buffer.NextParam(p);
      sum += buffer.GetValueParam(p);
      p = buffer.NextParam(p);
      sum += buffer.GetStringParam(p)[0];
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(file.size()));
}
BENCHMARK(BM_WalkAndDecode);

}  // namespace

BENCHMARK_MAIN();
