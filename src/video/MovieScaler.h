// Turns a decoded picture into the 800 × 600 picture the window shows:
// 32-bit blue, green, red, alpha words with alpha 255, stretched when the
// movie has another size. The conversion uses the scaler's exact integer
// paths, so the same picture gives the same pixels on every machine.
#pragma once
#include <cstdint>

struct AVFrame;
struct SwsContext;

class CMovieScaler {
 public:
  static constexpr int kWidth = 800;
  static constexpr int kHeight = 600;

  CMovieScaler() = default;
  ~CMovieScaler();
  CMovieScaler(const CMovieScaler&) = delete;
  CMovieScaler& operator=(const CMovieScaler&) = delete;

  // Writes kWidth × kHeight pixels to `out`. A picture whose size or format
  // changed since the last one is handled too. False when the picture's
  // format cannot be converted (`out` is then left alone).
  bool Convert(const AVFrame* frame, uint32_t* out);

 private:
  SwsContext* mpSws = nullptr;
};
