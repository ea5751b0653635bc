#include "video/MovieScaler.h"

extern "C" {
#include <libavutil/frame.h>
#include <libavutil/pixfmt.h>
#include <libswscale/swscale.h>
}

#include "app/core/Trace.h"

CMovieScaler::~CMovieScaler() {
  Trace("CMovieScaler::~CMovieScaler");
  sws_freeContext(mpSws);
}

bool CMovieScaler::Convert(const AVFrame* frame, uint32_t* out) {
  Trace("CMovieScaler::Convert");
  if (!frame || !out || frame->width <= 0 || frame->height <= 0) return false;
  const auto format = static_cast<AVPixelFormat>(frame->format);
  // Bilinear when stretching; the accurate and bit-exact flags keep every
  // machine's vector code to the reference arithmetic.
  mpSws = sws_getCachedContext(mpSws, frame->width, frame->height, format, kWidth, kHeight, AV_PIX_FMT_BGRA,
                               SWS_BILINEAR | SWS_ACCURATE_RND | SWS_BITEXACT, nullptr, nullptr, nullptr);
  if (!mpSws) return false;
  uint8_t* planes[4] = {reinterpret_cast<uint8_t*>(out), nullptr, nullptr, nullptr};
  int strides[4] = {kWidth * 4, 0, 0, 0};
  int rows = sws_scale(mpSws, frame->data, frame->linesize, 0, frame->height, planes, strides);
  return rows == kHeight;
}
