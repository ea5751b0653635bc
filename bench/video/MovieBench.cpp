// Movie decoding speed: the cost of one picture decoded and converted to the
// 800 × 600 window picture, for an 800 × 600 MPEG-1 movie and for a 320 × 240
// one stretched. Every result is also printed as a ratio to a memcpy of one
// 800 × 600 × 4 picture measured in the same run, so numbers from different
// machines compare.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "RatioReport.h"
#include "assets/File.h"
#include "assets/PngEncode.h"
#include "video/MovieDecoder.h"
#include "video/MovieEncode.h"
#include "video/MovieScaler.h"
#include "video/MovieStream.h"

namespace {

constexpr int kW = 800, kH = 600;
constexpr size_t kPixels = static_cast<size_t>(kW) * kH;
constexpr int kPictures = 12;
constexpr int kHold = 5;  // 60 frames: still parts and changes, as in an opening

std::string Folder() {
  static std::string dir = [] {
    std::string d = (std::filesystem::temp_directory_path() / ("velto-moviebench-" + std::to_string(getpid()))).string();
    std::filesystem::create_directories(d);
    return d + "/";
  }();
  return dir;
}

// A movie of `w` × `h`: gradients with grain that move from picture to
// picture, so that the encoder writes real motion and detail.
std::string MakeBenchMovie(int w, int h) {
  std::string path = Folder() + "bench" + std::to_string(w) + ".mpg";
  if (std::filesystem::exists(path)) return path;
  MovieMakeOptions options;
  options.hold = kHold;
  std::mt19937 rng(7);
  std::vector<uint32_t> pixels(static_cast<size_t>(w) * h);
  for (int i = 0; i < kPictures; ++i) {
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        uint32_t r = static_cast<uint32_t>((x + i * 13) * 255 / w) & 0xFF;
        uint32_t g = static_cast<uint32_t>((y + i * 7) * 255 / h) & 0xFF;
        uint32_t b = static_cast<uint32_t>(((x ^ y) + i * 29) & 0xFF);
        uint32_t grain = rng() & 0x0F;
        pixels[static_cast<size_t>(y) * w + x] = 0xFF000000u | ((r ^ grain) << 16) | ((g ^ grain) << 8) | b;
      }
    std::vector<uint8_t> png;
    EncodePngPixels(pixels.data(), w, h, false, &png);
    std::string name = Folder() + "p" + std::to_string(w) + "_" + std::to_string(i) + ".png";
    FILE* f = fopen(name.c_str(), "wb");
    fwrite(png.data(), 1, png.size(), f);
    fclose(f);
    options.pictures.push_back(name);
  }
  std::string error;
  if (!MakeMovie(options, path, &error)) fprintf(stderr, "bench movie: %s\n", error.c_str());
  return path;
}

// Decodes a movie picture by picture, starting again at its end.
class PictureSource {
 public:
  explicit PictureSource(const std::string& path) : mPath(path) { Reopen(); }
  ~PictureSource() { Close(); }

  AVFrame* Next() {
    for (int tries = 0; tries < 2; ++tries) {
      for (;;) {
        AVFrame* frame = nullptr;
        int64_t ms = 0;
        CMovieDecoder::Result r = mpDecoder->ReceiveVideo(&frame, &ms);
        if (r == CMovieDecoder::Result::kFrame) return frame;
        if (r == CMovieDecoder::Result::kEnd) break;
        mpDecoder->ReadPacket(nullptr, nullptr);
      }
      Reopen();
    }
    return nullptr;
  }

 private:
  void Reopen() {
    Close();
    mhFile = FileOpenRead(mPath);
    mpStream = new CMovieStream(mhFile, 0, FileSize64(mhFile));
    mpDecoder = new CMovieDecoder;
    std::string error;
    if (!mpDecoder->Open(mpStream, false, nullptr, &error)) fprintf(stderr, "bench open: %s\n", error.c_str());
  }
  void Close() {
    delete mpDecoder;
    delete mpStream;
    if (mhFile != kInvalidFileHandle) FileCloseHandle(mhFile);
    mpDecoder = nullptr;
    mpStream = nullptr;
    mhFile = kInvalidFileHandle;
  }

  std::string mPath;
  FileHandle mhFile = kInvalidFileHandle;
  CMovieStream* mpStream = nullptr;
  CMovieDecoder* mpDecoder = nullptr;
};

std::vector<uint32_t>& Out() {
  static std::vector<uint32_t> out(kPixels);
  return out;
}

void BM_Memcpy(benchmark::State& state) {
  static std::vector<uint32_t> src(kPixels, 0x12345678u);
  for (auto _ : state) {
    memcpy(Out().data(), src.data(), kPixels * 4);
    benchmark::ClobberMemory();
  }
}

void Decode(benchmark::State& state, int w, int h) {
  PictureSource source(MakeBenchMovie(w, h));
  for (auto _ : state) benchmark::DoNotOptimize(source.Next());
}

void Convert(benchmark::State& state, int w, int h) {
  PictureSource source(MakeBenchMovie(w, h));
  AVFrame* frame = source.Next();
  CMovieScaler scaler;
  for (auto _ : state) {
    scaler.Convert(frame, Out().data());
    benchmark::ClobberMemory();
  }
}

void DecodeAndConvert(benchmark::State& state, int w, int h) {
  PictureSource source(MakeBenchMovie(w, h));
  CMovieScaler scaler;
  for (auto _ : state) {
    scaler.Convert(source.Next(), Out().data());
    benchmark::ClobberMemory();
  }
}

void BM_Decode800x600(benchmark::State& s) { Decode(s, 800, 600); }
void BM_Convert800x600(benchmark::State& s) { Convert(s, 800, 600); }
void BM_DecodeConvert800x600(benchmark::State& s) { DecodeAndConvert(s, 800, 600); }
void BM_Decode320x240(benchmark::State& s) { Decode(s, 320, 240); }
void BM_ConvertStretch320x240(benchmark::State& s) { Convert(s, 320, 240); }
void BM_DecodeConvertStretch320x240(benchmark::State& s) { DecodeAndConvert(s, 320, 240); }

BENCHMARK(BM_Memcpy);
BENCHMARK(BM_Decode800x600);
BENCHMARK(BM_Convert800x600);
BENCHMARK(BM_DecodeConvert800x600);
BENCHMARK(BM_Decode320x240);
BENCHMARK(BM_ConvertStretch320x240);
BENCHMARK(BM_DecodeConvertStretch320x240);

}  // namespace

int main(int argc, char** argv) {
  const int status = benchreport::RunWithRatios(argc, argv, "per picture", "ms", 1e-6);
  std::error_code ec;
  std::filesystem::remove_all(Folder(), ec);
  return status;
}
