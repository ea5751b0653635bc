// Reading a game maker's sound for a movie: any file FFmpeg reads, converted
// to the engine's 44100 Hz stereo 16-bit.
#include <cstdint>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libswresample/swresample.h>
}

#include "app/core/Trace.h"
#include "video/MovieEncode.h"

namespace {

constexpr int kRate = 44100;

struct SoundReader {
  AVFormatContext* format = nullptr;
  AVCodecContext* codec = nullptr;
  SwrContext* swr = nullptr;
  AVPacket* packet = av_packet_alloc();
  AVFrame* frame = av_frame_alloc();
  std::vector<int16_t> convert;

  ~SoundReader() {
    Trace("SoundReader::~SoundReader");
    swr_free(&swr);
    avcodec_free_context(&codec);
    avformat_close_input(&format);
    av_packet_free(&packet);
    av_frame_free(&frame);
  }

  bool Open(const std::string& path, std::string* error) {
    Trace("SoundReader::Open");
    if (!packet || !frame) return *error = "out of memory", false;
    if (avformat_open_input(&format, path.c_str(), nullptr, nullptr) < 0) return *error = "cannot read " + path, false;
    if (avformat_find_stream_info(format, nullptr) < 0) return *error = path + ": no streams", false;
    const AVCodec* decoder = nullptr;
    int index = av_find_best_stream(format, AVMEDIA_TYPE_AUDIO, -1, -1, &decoder, 0);
    if (index < 0 || !decoder) return *error = path + ": no sound this build can decode", false;
    codec = avcodec_alloc_context3(decoder);
    if (!codec || avcodec_parameters_to_context(codec, format->streams[index]->codecpar) < 0 ||
        avcodec_open2(codec, decoder, nullptr) < 0)
      return *error = path + ": the sound decoder cannot start", false;
    stream = index;
    return true;
  }

  bool Convert(const AVFrame* in, std::vector<int16_t>* out) {
    Trace("SoundReader::Convert");
    if (!swr) {
      AVChannelLayout from{}, to{};
      if (in->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC || av_channel_layout_copy(&from, &in->ch_layout) < 0)
        av_channel_layout_default(&from, in->ch_layout.nb_channels);
      av_channel_layout_default(&to, 2);
      int r = swr_alloc_set_opts2(&swr, &to, AV_SAMPLE_FMT_S16, kRate, &from, static_cast<AVSampleFormat>(in->format),
                                  in->sample_rate, 0, nullptr);
      av_channel_layout_uninit(&from);
      if (r < 0 || swr_init(swr) < 0) return false;
    }
    int room = swr_get_out_samples(swr, in ? in->nb_samples : 0);
    if (room <= 0) return true;
    convert.resize(static_cast<size_t>(room) * 2);
    uint8_t* dst = reinterpret_cast<uint8_t*>(convert.data());
    int got = in ? swr_convert(swr, &dst, room, const_cast<const uint8_t**>(in->extended_data), in->nb_samples)
                 : swr_convert(swr, &dst, room, nullptr, 0);
    if (got > 0) out->insert(out->end(), convert.begin(), convert.begin() + got * 2);
    return got >= 0;
  }

  bool Drain(std::vector<int16_t>* out) {
    Trace("SoundReader::Drain");
    while (avcodec_receive_frame(codec, frame) == 0) {
      bool ok = Convert(frame, out);
      av_frame_unref(frame);
      if (!ok) return false;
    }
    return true;
  }

  int stream = -1;
};

}  // namespace

bool ReadSoundFile(const std::string& path, std::vector<int16_t>* samples, std::string* error) {
  Trace("ReadSoundFile");
  samples->clear();
  SoundReader reader;
  if (!reader.Open(path, error)) return false;
  while (av_read_frame(reader.format, reader.packet) >= 0) {
    if (reader.packet->stream_index == reader.stream && avcodec_send_packet(reader.codec, reader.packet) >= 0 &&
        !reader.Drain(samples)) {
      *error = path + ": the sound cannot be converted";
      return false;
    }
    av_packet_unref(reader.packet);
  }
  avcodec_send_packet(reader.codec, nullptr);
  if (!reader.Drain(samples) || (reader.swr && !reader.Convert(nullptr, samples))) {
    *error = path + ": the sound cannot be converted";
    return false;
  }
  return true;
}
