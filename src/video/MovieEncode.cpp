#include "video/MovieEncode.h"

#include <algorithm>
#include <cstring>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/frame.h>
#include <libavutil/log.h>
#include <libswscale/swscale.h>
}

#include "app/core/Trace.h"
#include "assets/PngEncode.h"
#include "video/MovieAudioFifo.h"

namespace {

constexpr int kRate = CMovieAudioFifo::kRate;
constexpr int kAudioBitRate = 192000;
constexpr int kMaxSide = 4095;  // the largest MPEG-1 picture side

bool ReadFile(const std::string& path, std::vector<uint8_t>* out) {
  Trace("ReadFile");
  FILE* f = fopen(path.c_str(), "rb");
  if (!f) return false;
  uint8_t buf[65536];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, f)) > 0) out->insert(out->end(), buf, buf + n);
  bool ok = !ferror(f);
  fclose(f);
  return ok;
}

// One MPEG-1 system stream being written.
class CMovieWriter {
 public:
  ~CMovieWriter() {
    Trace("CMovieWriter::~CMovieWriter");
    avcodec_free_context(&mpVideo);
    avcodec_free_context(&mpAudio);
    if (mpFormat && mbOpenFile) avio_closep(&mpFormat->pb);
    avformat_free_context(mpFormat);
    sws_freeContext(mpSws);
    av_frame_free(&mpPicture);
    av_frame_free(&mpSound);
    av_packet_free(&mpPacket);
  }

  bool Open(const std::string& path, const MovieMakeOptions& o, bool withSound, std::string* error) {
    Trace("CMovieWriter::Open");
    mpPacket = av_packet_alloc();
    mpPicture = av_frame_alloc();
    mpSound = av_frame_alloc();
    if (!mpPacket || !mpPicture || !mpSound) return *error = "out of memory", false;
    if (avformat_alloc_output_context2(&mpFormat, nullptr, "mpeg", path.c_str()) < 0 || !mpFormat)
      return *error = "this build has no MPEG-1 system stream writer", false;
    // The same pictures and sound make the same file.
    mpFormat->flags |= AVFMT_FLAG_BITEXACT;
    if (!OpenVideo(o, error) || (withSound && !OpenAudio(error))) return false;
    if (avio_open(&mpFormat->pb, path.c_str(), AVIO_FLAG_WRITE) < 0) return *error = "cannot write " + path, false;
    mbOpenFile = true;
    if (avformat_write_header(mpFormat, nullptr) < 0) return *error = "cannot write " + path, false;
    return true;
  }

  // A picture of 0xAARRGGBB words, scaled to the movie's size.
  bool WritePicture(const uint32_t* pixels, int width, int height) {
    Trace("CMovieWriter::WritePicture");
    mpSws = sws_getCachedContext(mpSws, width, height, AV_PIX_FMT_BGRA, mpVideo->width, mpVideo->height,
                                 AV_PIX_FMT_YUV420P, SWS_BICUBIC | SWS_ACCURATE_RND | SWS_BITEXACT, nullptr, nullptr,
                                 nullptr);
    if (!mpSws || av_frame_make_writable(mpPicture) < 0) return false;
    const uint8_t* src[4] = {reinterpret_cast<const uint8_t*>(pixels), nullptr, nullptr, nullptr};
    int stride[4] = {width * 4, 0, 0, 0};
    sws_scale(mpSws, src, stride, 0, height, mpPicture->data, mpPicture->linesize);
    mpPicture->pts = mnPictures++;
    return Encode(mpVideo, mpVideoStream, mpPicture);
  }

  // Interleaved stereo frames; whole encoder frames are written at once.
  bool WriteSound(const int16_t* samples, size_t frames) {
    Trace("CMovieWriter::WriteSound");
    mPending.insert(mPending.end(), samples, samples + frames * 2);
    const size_t block = static_cast<size_t>(mpAudio->frame_size);
    size_t used = 0;
    while (mPending.size() - used >= block * 2) {
      if (!EncodeSound(mPending.data() + used)) return false;
      used += block * 2;
    }
    mPending.erase(mPending.begin(), mPending.begin() + static_cast<std::ptrdiff_t>(used));
    return true;
  }

  bool Finish() {
    Trace("CMovieWriter::Finish");
    bool ok = true;
    if (mpAudio) {
      if (!mPending.empty()) {
        // The last block is filled up with silence.
        mPending.resize(static_cast<size_t>(mpAudio->frame_size) * 2, 0);
        ok = EncodeSound(mPending.data()) && ok;
      }
      ok = Encode(mpAudio, mpAudioStream, nullptr) && ok;
    }
    ok = Encode(mpVideo, mpVideoStream, nullptr) && ok;
    return av_write_trailer(mpFormat) >= 0 && ok;
  }

 private:
  bool OpenVideo(const MovieMakeOptions& o, std::string* error) {
    Trace("CMovieWriter::OpenVideo");
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_MPEG1VIDEO);
    if (!codec) return *error = "this build has no MPEG-1 video encoder", false;
    mpVideoStream = avformat_new_stream(mpFormat, nullptr);
    mpVideo = avcodec_alloc_context3(codec);
    if (!mpVideoStream || !mpVideo) return *error = "out of memory", false;
    mpVideo->width = o.width;
    mpVideo->height = o.height;
    mpVideo->time_base = AVRational{1, o.fps};
    mpVideo->framerate = AVRational{o.fps, 1};
    mpVideo->pix_fmt = AV_PIX_FMT_YUV420P;
    mpVideo->gop_size = 15;
    mpVideo->max_b_frames = 2;
    // Constant quality; the nominal rate only sizes the system stream.
    mpVideo->flags |= AV_CODEC_FLAG_QSCALE | AV_CODEC_FLAG_BITEXACT;
    mpVideo->global_quality = FF_QP2LAMBDA * o.quality;
    mpVideo->bit_rate = std::max<int64_t>(int64_t{o.width} * o.height * o.fps / 2, 500000);
    mpVideo->thread_count = 1;
    if (avcodec_open2(mpVideo, codec, nullptr) < 0) return *error = "the MPEG-1 video encoder refuses the size", false;
    avcodec_parameters_from_context(mpVideoStream->codecpar, mpVideo);
    mpVideoStream->time_base = mpVideo->time_base;
    mpPicture->format = AV_PIX_FMT_YUV420P;
    mpPicture->width = o.width;
    mpPicture->height = o.height;
    if (av_frame_get_buffer(mpPicture, 0) < 0) return *error = "out of memory", false;
    return true;
  }

  bool OpenAudio(std::string* error) {
    Trace("CMovieWriter::OpenAudio");
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_MP2);
    if (!codec) return *error = "this build has no MPEG audio layer II encoder", false;
    mpAudioStream = avformat_new_stream(mpFormat, nullptr);
    mpAudio = avcodec_alloc_context3(codec);
    if (!mpAudioStream || !mpAudio) return *error = "out of memory", false;
    mpAudio->sample_fmt = AV_SAMPLE_FMT_S16;
    mpAudio->sample_rate = kRate;
    av_channel_layout_default(&mpAudio->ch_layout, 2);
    mpAudio->bit_rate = kAudioBitRate;
    mpAudio->time_base = AVRational{1, kRate};
    mpAudio->flags |= AV_CODEC_FLAG_BITEXACT;
    mpAudio->thread_count = 1;
    if (avcodec_open2(mpAudio, codec, nullptr) < 0 || mpAudio->frame_size <= 0)
      return *error = "the MPEG audio encoder cannot start", false;
    avcodec_parameters_from_context(mpAudioStream->codecpar, mpAudio);
    mpAudioStream->time_base = mpAudio->time_base;
    mpSound->format = AV_SAMPLE_FMT_S16;
    mpSound->sample_rate = kRate;
    mpSound->nb_samples = mpAudio->frame_size;
    av_channel_layout_default(&mpSound->ch_layout, 2);
    if (av_frame_get_buffer(mpSound, 0) < 0) return *error = "out of memory", false;
    return true;
  }

  bool EncodeSound(const int16_t* block) {
    Trace("CMovieWriter::EncodeSound");
    if (av_frame_make_writable(mpSound) < 0) return false;
    memcpy(mpSound->data[0], block, static_cast<size_t>(mpAudio->frame_size) * 4);
    mpSound->pts = mnSoundFrames;
    mnSoundFrames += mpAudio->frame_size;
    return Encode(mpAudio, mpAudioStream, mpSound);
  }

  bool Encode(AVCodecContext* codec, AVStream* stream, const AVFrame* frame) {
    Trace("CMovieWriter::Encode");
    if (avcodec_send_frame(codec, frame) < 0) return false;
    for (;;) {
      int r = avcodec_receive_packet(codec, mpPacket);
      if (r == AVERROR(EAGAIN) || r == AVERROR_EOF) return true;
      if (r < 0) return false;
      av_packet_rescale_ts(mpPacket, codec->time_base, stream->time_base);
      mpPacket->stream_index = stream->index;
      if (av_interleaved_write_frame(mpFormat, mpPacket) < 0) return false;
    }
  }

  AVFormatContext* mpFormat = nullptr;
  bool mbOpenFile = false;
  AVCodecContext* mpVideo = nullptr;
  AVCodecContext* mpAudio = nullptr;
  AVStream* mpVideoStream = nullptr;
  AVStream* mpAudioStream = nullptr;
  SwsContext* mpSws = nullptr;
  AVFrame* mpPicture = nullptr;
  AVFrame* mpSound = nullptr;
  AVPacket* mpPacket = nullptr;
  int64_t mnPictures = 0;
  int64_t mnSoundFrames = 0;
  std::vector<int16_t> mPending;
};

bool LoadPicture(const std::string& path, std::vector<uint32_t>* pixels, int* width, int* height, std::string* error) {
  Trace("LoadPicture");
  std::vector<uint8_t> data;
  if (!ReadFile(path, &data)) return *error = "cannot read " + path, false;
  if (!LoadPngImage(data.data(), data.size(), pixels, width, height, size_t{kMaxSide} * kMaxSide))
    return *error = path + ": not a PNG picture this tool reads", false;
  return true;
}

}  // namespace

bool MakeMovie(const MovieMakeOptions& options, const std::string& path, std::string* error) {
  Trace("MakeMovie");
  // The writer's notes on stream compliance are not the game maker's concern.
  av_log_set_level(AV_LOG_ERROR);
  MovieMakeOptions o = options;
  if (o.pictures.empty()) return *error = "no pictures", false;
  if (o.fps != 24 && o.fps != 25 && o.fps != 30 && o.fps != 50 && o.fps != 60)
    return *error = "the frame rate must be 24, 25, 30, 50 or 60", false;
  if (o.hold < 1) return *error = "each picture must be held for at least one frame", false;
  if (o.quality < 2 || o.quality > 31) return *error = "the quality must be 2 to 31", false;

  std::vector<uint32_t> pixels;
  int width = 0, height = 0;
  if (!LoadPicture(o.pictures[0], &pixels, &width, &height, error)) return false;
  if (o.width <= 0 || o.height <= 0) {
    // Pictures of odd size are stretched a pixel: the colour is stored at
    // half size.
    o.width = (width + 1) & ~1;
    o.height = (height + 1) & ~1;
  }
  if (o.width < 16 || o.height < 16 || o.width > kMaxSide || o.height > kMaxSide || (o.width & 1) || (o.height & 1))
    return *error = "the movie's size must be even, 16 to 4094 pixels a side", false;

  std::vector<int16_t> sound;
  if (!o.sound.empty() && !ReadSoundFile(o.sound, &sound, error)) return false;
  const int64_t soundFrames = static_cast<int64_t>(sound.size() / 2);

  CMovieWriter writer;
  if (!writer.Open(path, o, !o.sound.empty(), error)) return false;
  // The last picture stays until the sound is over.
  const int64_t byPictures = static_cast<int64_t>(o.pictures.size()) * o.hold;
  const int64_t bySound = (soundFrames * o.fps + kRate - 1) / kRate;
  const int64_t frames = std::max(byPictures, bySound);
  int64_t soundDone = 0;
  size_t loaded = 0;
  for (int64_t i = 0; i < frames; ++i) {
    size_t picture = static_cast<size_t>(std::min<int64_t>(i / o.hold, static_cast<int64_t>(o.pictures.size()) - 1));
    if (picture != loaded) {
      loaded = picture;
      if (!LoadPicture(o.pictures[picture], &pixels, &width, &height, error)) return false;
    }
    if (!writer.WritePicture(pixels.data(), width, height)) return *error = "the picture encoder failed", false;
    if (!o.sound.empty()) {
      int64_t until = std::min(soundFrames, (i + 1) * kRate / o.fps);
      if (until > soundDone && !writer.WriteSound(sound.data() + soundDone * 2, static_cast<size_t>(until - soundDone)))
        return *error = "the sound encoder failed", false;
      soundDone = std::max(soundDone, until);
    }
  }
  if (!writer.Finish()) return *error = "cannot finish " + path, false;
  return true;
}
