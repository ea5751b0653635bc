// Decoding one 800 x 600 picture stored raw, SGD-coded and PNG-coded, for a
// photo-like picture and a flat-colour one. The figure to watch is SGD's
// time against PNG's on the same picture, and the quick PNG path's against
// libpng's on the same stream; raw is the memcpy of one frame every figure
// is read against.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "assets/PngDecode.h"
#include "assets/PngEncode.h"
#include "assets/SgdDecode.h"
#include "assets/SgdEncode.h"

namespace {

constexpr int kW = 800, kH = 600;

// Smooth gradients with grain, opaque: what a background CG is. Light
// grain codes mostly as deltas, heavy grain mostly as literals.
std::vector<uint32_t> PhotoLike(int grainRange) {
  std::vector<uint32_t> px(kW * kH);
  uint32_t s = 12345;
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      s = s * 1103515245u + 12345u;
      int grain = static_cast<int>((s >> 16) % (2 * grainRange + 1)) - grainRange;
      auto ch = [&](int v) { return static_cast<uint32_t>(std::min(255, std::max(0, v + grain))); };
      uint32_t r = ch(x * 255 / kW), g = ch(y * 255 / kH), b = ch((x + y) * 255 / (kW + kH));
      px[y * kW + x] = 0xFF000000u | r << 16 | g << 8 | b;
    }
  return px;
}

// Large flat areas and a transparent margin: window parts, buttons.
std::vector<uint32_t> FlatColour() {
  std::vector<uint32_t> px(kW * kH);
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      uint32_t c = x < 20 || y < 20 || x >= kW - 20 || y >= kH - 20 ? 0x00000000u
                   : y < 300                                         ? 0xFF203050u
                   : x < 400                                         ? 0xC0E0E0F0u
                                                                     : 0xFF804020u;
      px[y * kW + x] = c;
    }
  return px;
}

const std::vector<uint32_t>& Source(int which) {
  static const std::vector<uint32_t> photo = PhotoLike(3), flat = FlatColour(), grainy = PhotoLike(40);
  return which == 0 ? photo : which == 1 ? flat : grainy;
}

void Raw(benchmark::State& state) {
  const auto& src = Source(static_cast<int>(state.range(0)));
  std::vector<uint32_t> out(src.size());
  for (auto _ : state) {
    memcpy(out.data(), src.data(), src.size() * 4);
    benchmark::DoNotOptimize(out.data());
  }
}

void Sgd(benchmark::State& state) {
  const auto& src = Source(static_cast<int>(state.range(0)));
  std::vector<uint8_t> data = EncodeSgdPixels(src.data(), src.size());
  std::vector<uint32_t> out(src.size());
  for (auto _ : state) benchmark::DoNotOptimize(DecodeSgdPixels(data.data(), data.size(), out.data(), out.size()));
  state.counters["bytes"] = static_cast<double>(data.size());
}

void Png(benchmark::State& state) {
  const auto& src = Source(static_cast<int>(state.range(0)));
  std::vector<uint8_t> data;
  EncodePngPixels(src.data(), kW, kH, true, &data);
  std::vector<uint32_t> out(src.size());
  for (auto _ : state) benchmark::DoNotOptimize(DecodePngPixels(data.data(), data.size(), out.data(), kW, kH));
  state.counters["bytes"] = static_cast<double>(data.size());
}

// The same stream through libpng alone, as every PNG was read before the
// quick path.
void PngLibpng(benchmark::State& state) {
  const auto& src = Source(static_cast<int>(state.range(0)));
  std::vector<uint8_t> data;
  EncodePngPixels(src.data(), kW, kH, true, &data);
  std::vector<uint32_t> out(src.size());
  for (auto _ : state) benchmark::DoNotOptimize(DecodePngPixelsLibpng(data.data(), data.size(), out.data(), kW, kH));
  state.counters["bytes"] = static_cast<double>(data.size());
}

}  // namespace

// Argument 0 = photo-like, 1 = flat colour, 2 = photo-like with heavy grain.
BENCHMARK(Raw)->Name("PictureDecode/raw")->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);
BENCHMARK(Sgd)->Name("PictureDecode/sgd")->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);
BENCHMARK(Png)->Name("PictureDecode/png")->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);
BENCHMARK(PngLibpng)->Name("PictureDecode/png-libpng")->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);
