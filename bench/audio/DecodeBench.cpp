// Vorbis decoding speed against real time: ten seconds of 44100 Hz stereo
// decoded the way the streaming classes do it.
#include <benchmark/benchmark.h>

#include <vector>

#include "audio/OggEncode.h"
#include "audio/OggVorbis.h"

namespace {

const std::vector<uint8_t>& Piece() {
  static const std::vector<uint8_t> ogg = [] {
    std::vector<uint8_t> out;
    EncodeOggTone(440, 10000, 44100, 2, out);
    return out;
  }();
  return ogg;
}

void BM_DecodeTenSeconds(benchmark::State& state) {
  std::vector<uint8_t> data = Piece();
  std::vector<uint8_t> pcm(44100 * 4 * 2);  // one quarter of the music ring
  ov_callbacks callbacks = {
      [](void* p, size_t s, size_t n, void* d) { return OggMemoryRead(static_cast<OggMemorySource*>(d), p, s, n); },
      [](void* d, ogg_int64_t o, int w) { return OggMemorySeek(static_cast<OggMemorySource*>(d), o, w); }, nullptr,
      [](void* d) { return OggMemoryTell(static_cast<OggMemorySource*>(d)); }};
  for (auto _ : state) {
    OggMemorySource source{data.data(), data.data(), data.data() + data.size()};
    OggVorbis_File vf;
    if (ov_open_callbacks(&source, &vf, nullptr, 0, callbacks) != 0) {
      state.SkipWithError("decoder refused the piece");
      break;
    }
    long n;
    do {
      n = OggReadPcm(&vf, pcm.data(), static_cast<uint32_t>(pcm.size()), 2);
    } while (n > 0);
    ov_clear(&vf);
  }
  // Seconds of sound decoded per second of work.
  state.counters["x_realtime"] = benchmark::Counter(static_cast<double>(state.iterations()) * 10.0,
                                                    benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DecodeTenSeconds)->Unit(benchmark::kMillisecond);

}  // namespace
