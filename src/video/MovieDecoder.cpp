#include "video/MovieDecoder.h"

#include <algorithm>
#include <cerrno>
#include <mutex>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/log.h>
#include <libavutil/mathematics.h>
#include <libswresample/swresample.h>
}

#include "app/core/Trace.h"
#include "video/MovieAudioFifo.h"
#include "video/MovieStream.h"

namespace {

// Two pictures more than this apart are a jump in the time stamps (a
// damaged or spliced stream), not a long picture.
constexpr int64_t kMaxPictureGapMs = 1000;
// The sound begins at most this long after the movie.
constexpr int64_t kMaxSoundDelayMs = 2000;
// Sample rates the conversion accepts.
constexpr int kMinRate = 1000;
constexpr int kMaxRate = 768000;

// A movie names no other file: a playlist or reference inside it must not
// make the demuxer open files or addresses of its choosing.
int RefuseOpen(AVFormatContext*, AVIOContext**, const char*, int, AVDictionary**) { return AVERROR(EPERM); }

void QuietLibraries() {
  static std::once_flag once;
  // Damaged movies are expected input; the player reports one line itself.
  std::call_once(once, [] { av_log_set_level(AV_LOG_QUIET); });
}

}  // namespace

CMovieDecoder::CMovieDecoder() { Trace("CMovieDecoder::CMovieDecoder"); }

CMovieDecoder::~CMovieDecoder() {
  Trace("CMovieDecoder::~CMovieDecoder");
  Close();
}

int CMovieDecoder::Interrupt(void* opaque) {
  Trace("CMovieDecoder::Interrupt");
  auto* self = static_cast<CMovieDecoder*>(opaque);
  return self->mpQuit && self->mpQuit->load() ? 1 : 0;
}

bool CMovieDecoder::Open(CMovieStream* stream, bool wantAudio, const std::atomic<bool>* quit, std::string* error) {
  Trace("CMovieDecoder::Open");
  Close();
  mFormat = MovieFormat();
  QuietLibraries();
  mpStream = stream;
  mpQuit = quit;
  auto fail = [&](const char* why) {
    if (error) *error = why;
    Close();
    return false;
  };
  if (!stream || stream->GetSize() == 0) return fail("the file is empty");
  mpIO = stream->MakeIOContext();
  mpFormat = avformat_alloc_context();
  mpPacket = av_packet_alloc();
  mpFrame = av_frame_alloc();
  mpAudioFrame = av_frame_alloc();
  if (!mpIO || !mpFormat || !mpPacket || !mpFrame || !mpAudioFrame) return fail("out of memory");
  mpFormat->pb = mpIO;
  mpFormat->flags |= AVFMT_FLAG_CUSTOM_IO;
  mpFormat->io_open = &RefuseOpen;
  mpFormat->interrupt_callback.callback = &Interrupt;
  mpFormat->interrupt_callback.opaque = this;
  if (avformat_open_input(&mpFormat, "", nullptr, nullptr) < 0) {
    mpFormat = nullptr;  // freed by the failed open
    return fail("not a movie this build can read");
  }
  if (avformat_find_stream_info(mpFormat, nullptr) < 0) return fail("the movie's streams cannot be read");
  mFormat.container = mpFormat->iformat && mpFormat->iformat->name ? mpFormat->iformat->name : "";
  if (mpFormat->start_time != AV_NOPTS_VALUE)
    mStartMs = std::clamp<int64_t>(mpFormat->start_time / 1000, -(int64_t{1} << 50), int64_t{1} << 50);
  if (mpFormat->duration != AV_NOPTS_VALUE && mpFormat->duration >= 0) mFormat.durationMs = mpFormat->duration / 1000;
  DescribeStreams();
  if (!OpenVideo(error)) {
    Close();
    return false;
  }
  if (wantAudio) OpenAudio();
  return true;
}

void CMovieDecoder::DescribeStreams() {
  Trace("CMovieDecoder::DescribeStreams");
  for (unsigned i = 0; i < mpFormat->nb_streams; ++i) {
    const AVCodecParameters* par = mpFormat->streams[i]->codecpar;
    const char* type = av_get_media_type_string(par->codec_type);
    std::string line = std::string(type ? type : "unknown") + " " + avcodec_get_name(par->codec_id);
    if (par->codec_type == AVMEDIA_TYPE_VIDEO)
      line += " " + std::to_string(par->width) + "x" + std::to_string(par->height);
    if (par->codec_type == AVMEDIA_TYPE_AUDIO)
      line += " " + std::to_string(par->sample_rate) + " Hz " + std::to_string(par->ch_layout.nb_channels) + " ch";
    mFormat.streams.push_back(line);
  }
}

bool CMovieDecoder::OpenVideo(std::string* error) {
  Trace("CMovieDecoder::OpenVideo");
  const AVCodec* codec = nullptr;
  int index = av_find_best_stream(mpFormat, AVMEDIA_TYPE_VIDEO, -1, -1, &codec, 0);
  if (index < 0 || !codec) {
    if (error) *error = index == AVERROR_DECODER_NOT_FOUND ? "no decoder for its video" : "it has no video";
    return false;
  }
  AVStream* st = mpFormat->streams[index];
  const AVCodecParameters* par = st->codecpar;
  if (static_cast<int64_t>(par->width) * par->height > kMaxPixels) {
    if (error) *error = "its picture is too large";
    return false;
  }
  mpVideo = avcodec_alloc_context3(codec);
  if (!mpVideo || avcodec_parameters_to_context(mpVideo, par) < 0) {
    if (error) *error = "out of memory";
    return false;
  }
  // One thread (ours), and the decoder's exact integer paths, so that the
  // same movie gives the same pictures on every machine.
  mpVideo->thread_count = 1;
  mpVideo->flags |= AV_CODEC_FLAG_BITEXACT;
  mpVideo->idct_algo = FF_IDCT_SIMPLE;
  mpVideo->max_pixels = kMaxPixels;
  mpVideo->pkt_timebase = st->time_base;
  if (avcodec_open2(mpVideo, codec, nullptr) < 0) {
    if (error) *error = "its video decoder cannot start";
    return false;
  }
  mVideoIndex = index;
  mFormat.videoCodec = codec->name ? codec->name : "";
  mFormat.width = par->width;
  mFormat.height = par->height;
  AVRational rate = av_guess_frame_rate(mpFormat, st, nullptr);
  if (rate.num > 0 && rate.den > 0)
    mFormat.frameMs = static_cast<int>(std::clamp<int64_t>(int64_t{1000} * rate.den / rate.num, 1, 1000));
  return true;
}

void CMovieDecoder::OpenAudio() {
  Trace("CMovieDecoder::OpenAudio");
  int index = av_find_best_stream(mpFormat, AVMEDIA_TYPE_AUDIO, -1, mVideoIndex, nullptr, 0);
  if (index < 0) return;
  AVStream* st = mpFormat->streams[index];
  // MPEG audio has an integer decoder: the same sound on every machine.
  const AVCodec* codec = nullptr;
  if (st->codecpar->codec_id == AV_CODEC_ID_MP2) codec = avcodec_find_decoder_by_name("mp2");
  if (!codec) codec = avcodec_find_decoder(st->codecpar->codec_id);
  if (!codec) return;
  mpAudio = avcodec_alloc_context3(codec);
  bool ok = mpAudio && avcodec_parameters_to_context(mpAudio, st->codecpar) >= 0;
  if (ok) {
    mpAudio->thread_count = 1;
    mpAudio->flags |= AV_CODEC_FLAG_BITEXACT;
    mpAudio->pkt_timebase = st->time_base;
    ok = avcodec_open2(mpAudio, codec, nullptr) >= 0;
  }
  if (!ok) {
    // The movie still plays, without its sound.
    avcodec_free_context(&mpAudio);
    return;
  }
  mAudioIndex = index;
  mFormat.audioCodec = codec->name ? codec->name : "";
  mFormat.audioRate = st->codecpar->sample_rate;
  mFormat.audioChannels = st->codecpar->ch_layout.nb_channels;
}

void CMovieDecoder::Close() {
  Trace("CMovieDecoder::Close");
  for (AVPacket* p : mQueue) av_packet_free(&p);
  mQueue.clear();
  mQueuedBytes = 0;
  avcodec_free_context(&mpVideo);
  avcodec_free_context(&mpAudio);
  swr_free(&mpSwr);
  avformat_close_input(&mpFormat);
  CMovieStream::FreeIOContext(&mpIO);
  av_packet_free(&mpPacket);
  av_frame_free(&mpFrame);
  av_frame_free(&mpAudioFrame);
  mVideoIndex = mAudioIndex = -1;
  mStartMs = 0;
  mbInputEnd = mbVideoFlushed = mbVideoEnd = false;
  mbHaveTime = false;
  mLastMs = mTimeShift = 0;
  mbSoundPlaced = false;
  mSoundStart = 0;
  mSwrRate = mSwrChannels = 0;
  mSwrFormat = -1;
  mpStream = nullptr;
}

int64_t CMovieDecoder::StreamMs(int64_t ts, int stream) const {
  Trace("CMovieDecoder::StreamMs");
  if (ts == AV_NOPTS_VALUE) return AV_NOPTS_VALUE;
  int64_t ms = av_rescale_q(ts, mpFormat->streams[stream]->time_base, AVRational{1, 1000});
  // A rescale that overflows says so with the smallest value.
  if (ms == INT64_MIN || ms > (int64_t{1} << 52) || ms < -(int64_t{1} << 52)) return AV_NOPTS_VALUE;
  return ms - mStartMs;
}

int64_t CMovieDecoder::PlaceVideo(int64_t rawMs) {
  Trace("CMovieDecoder::PlaceVideo");
  if (!mbHaveTime) {
    mbHaveTime = true;
    int64_t first = rawMs == AV_NOPTS_VALUE ? 0 : std::clamp<int64_t>(rawMs, 0, kMaxPictureGapMs);
    mTimeShift = rawMs == AV_NOPTS_VALUE ? 0 : first - rawMs;
    mLastMs = first;
    return first;
  }
  int64_t expected = mLastMs + mFormat.frameMs;
  int64_t ms = rawMs == AV_NOPTS_VALUE ? expected : rawMs + mTimeShift;
  if (ms < mLastMs || ms > mLastMs + kMaxPictureGapMs) {
    // Bridge the jump: the pictures after it keep their spacing.
    if (rawMs != AV_NOPTS_VALUE) mTimeShift = expected - rawMs;
    ms = expected;
  }
  mLastMs = ms;
  return ms;
}

CMovieDecoder::Result CMovieDecoder::ReceiveVideo(AVFrame** frame, int64_t* timeMs) {
  Trace("CMovieDecoder::ReceiveVideo");
  if (!mpVideo || mbVideoEnd) return Result::kEnd;
  for (;;) {
    int r = avcodec_receive_frame(mpVideo, mpFrame);
    if (r == 0) {
      if (mpFrame->width <= 0 || mpFrame->height <= 0 ||
          static_cast<int64_t>(mpFrame->width) * mpFrame->height > kMaxPixels) {
        av_frame_unref(mpFrame);
        continue;
      }
      *frame = mpFrame;
      *timeMs = PlaceVideo(StreamMs(mpFrame->best_effort_timestamp, mVideoIndex));
      return Result::kFrame;
    }
    if (r != AVERROR(EAGAIN)) {
      // The end after the flush, or a decoder that cannot go on.
      mbVideoEnd = true;
      return Result::kEnd;
    }
    if (!mQueue.empty()) {
      AVPacket* packet = mQueue.front();
      mQueue.pop_front();
      mQueuedBytes -= static_cast<size_t>(packet->size);
      // A damaged packet is dropped; the decoder picks up at the next one.
      avcodec_send_packet(mpVideo, packet);
      av_packet_free(&packet);
      continue;
    }
    if (mbInputEnd) {
      if (mbVideoFlushed) {
        mbVideoEnd = true;
        return Result::kEnd;
      }
      mbVideoFlushed = true;
      avcodec_send_packet(mpVideo, nullptr);
      continue;
    }
    return Result::kNeedInput;
  }
}

bool CMovieDecoder::ReadPacket(std::vector<int16_t>* sound, int64_t* soundStart) {
  Trace("CMovieDecoder::ReadPacket");
  if (mbInputEnd || !mpFormat) return false;
  if (av_read_frame(mpFormat, mpPacket) < 0) {
    mbInputEnd = true;
    if (mpAudio) {
      avcodec_send_packet(mpAudio, nullptr);
      DecodeAudio(sound, soundStart);
      if (mpSwr && sound) {
        // What the resampler still holds.
        int more = swr_get_out_samples(mpSwr, 0);
        if (more > 0) {
          mConvert.resize(static_cast<size_t>(more) * 2);
          uint8_t* out = reinterpret_cast<uint8_t*>(mConvert.data());
          int got = swr_convert(mpSwr, &out, more, nullptr, 0);
          if (got > 0) sound->insert(sound->end(), mConvert.begin(), mConvert.begin() + got * 2);
        }
      }
    }
    return false;
  }
  // An empty packet would read as the end of the stream to a decoder.
  if (mpPacket->size > 0) {
    if (mpPacket->stream_index == mVideoIndex) {
      // Once the pictures have ended their packets are not needed.
      if (mbVideoEnd) {
        av_packet_unref(mpPacket);
        return true;
      }
      AVPacket* queued = av_packet_alloc();
      if (queued) {
        av_packet_move_ref(queued, mpPacket);
        mQueue.push_back(queued);
        mQueuedBytes += static_cast<size_t>(queued->size);
      }
    } else if (mpPacket->stream_index == mAudioIndex && mpAudio) {
      if (avcodec_send_packet(mpAudio, mpPacket) >= 0) DecodeAudio(sound, soundStart);
    }
  }
  av_packet_unref(mpPacket);
  return true;
}

void CMovieDecoder::DecodeAudio(std::vector<int16_t>* sound, int64_t* soundStart) {
  Trace("CMovieDecoder::DecodeAudio");
  while (avcodec_receive_frame(mpAudio, mpAudioFrame) == 0) {
    ConvertAudio(mpAudioFrame, sound, soundStart);
    av_frame_unref(mpAudioFrame);
  }
}

bool CMovieDecoder::PrepareResampler(const AVFrame* frame) {
  Trace("CMovieDecoder::PrepareResampler");
  const int channels = frame->ch_layout.nb_channels;
  if (mpSwr && frame->sample_rate == mSwrRate && frame->format == mSwrFormat && channels == mSwrChannels) return true;
  swr_free(&mpSwr);
  AVChannelLayout in{}, out{};
  if (frame->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC || av_channel_layout_copy(&in, &frame->ch_layout) < 0)
    av_channel_layout_default(&in, channels);
  av_channel_layout_default(&out, 2);
  int r = swr_alloc_set_opts2(&mpSwr, &out, AV_SAMPLE_FMT_S16, CMovieAudioFifo::kRate, &in,
                              static_cast<AVSampleFormat>(frame->format), frame->sample_rate, 0, nullptr);
  av_channel_layout_uninit(&in);
  av_channel_layout_uninit(&out);
  if (r < 0 || swr_init(mpSwr) < 0) {
    swr_free(&mpSwr);
    return false;
  }
  mSwrRate = frame->sample_rate;
  mSwrFormat = frame->format;
  mSwrChannels = channels;
  return true;
}

void CMovieDecoder::ConvertAudio(const AVFrame* frame, std::vector<int16_t>* sound, int64_t* soundStart) {
  Trace("CMovieDecoder::ConvertAudio");
  const int channels = frame->ch_layout.nb_channels;
  if (!sound || frame->nb_samples <= 0 || channels < 1 || channels > 64 || frame->sample_rate < kMinRate ||
      frame->sample_rate > kMaxRate)
    return;
  if (!PrepareResampler(frame)) return;
  if (!mbSoundPlaced) {
    // The sound keeps its place against the picture; later frames follow on
    // without gaps.
    mbSoundPlaced = true;
    int64_t ms = StreamMs(frame->best_effort_timestamp, mAudioIndex);
    ms = ms == AV_NOPTS_VALUE ? 0 : std::clamp<int64_t>(ms, 0, kMaxSoundDelayMs);
    mSoundStart = ms * CMovieAudioFifo::kRate / 1000;
  }
  if (soundStart) *soundStart = mSoundStart;
  int room = swr_get_out_samples(mpSwr, frame->nb_samples);
  if (room <= 0) return;
  mConvert.resize(static_cast<size_t>(room) * 2);
  uint8_t* out = reinterpret_cast<uint8_t*>(mConvert.data());
  int got = swr_convert(mpSwr, &out, room, const_cast<const uint8_t**>(frame->extended_data), frame->nb_samples);
  if (got > 0) sound->insert(sound->end(), mConvert.begin(), mConvert.begin() + got * 2);
}
