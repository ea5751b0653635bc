#include "audio/OggEncode.h"

#include <vorbis/vorbisenc.h>

#include <cmath>

namespace {

void AppendPage(const ogg_page& page, std::vector<uint8_t>& out) {
  out.insert(out.end(), page.header, page.header + page.header_len);
  out.insert(out.end(), page.body, page.body + page.body_len);
}

}  // namespace

std::vector<int16_t> MakeTone(double freq, uint32_t ms, uint32_t rate, uint32_t channels, double amplitude) {
  uint64_t frames = static_cast<uint64_t>(ms) * rate / 1000;
  std::vector<int16_t> s(frames * channels);
  for (uint64_t i = 0; i < frames; ++i) {
    double v = amplitude * 32767.0 * std::sin(2.0 * M_PI * freq * static_cast<double>(i) / rate);
    for (uint32_t c = 0; c < channels; ++c) s[i * channels + c] = static_cast<int16_t>(std::lrint(v));
  }
  return s;
}

bool EncodeOggVorbis(const std::vector<int16_t>& samples, uint32_t rate, uint32_t channels,
                     std::vector<uint8_t>& out, float quality) {
  out.clear();
  if (channels == 0 || rate == 0) return false;
  vorbis_info vi;
  vorbis_info_init(&vi);
  if (vorbis_encode_init_vbr(&vi, static_cast<long>(channels), static_cast<long>(rate), quality) != 0) {
    vorbis_info_clear(&vi);
    return false;
  }
  vorbis_comment vc;
  vorbis_comment_init(&vc);
  vorbis_comment_add_tag(&vc, "ENCODER", "velto-tool");
  vorbis_dsp_state vd;
  vorbis_block vb;
  vorbis_analysis_init(&vd, &vi);
  vorbis_block_init(&vd, &vb);
  ogg_stream_state os;
  // A fixed serial number keeps the output the same from run to run.
  ogg_stream_init(&os, 0x56454C54);

  ogg_packet header, comments, codebooks;
  vorbis_analysis_headerout(&vd, &vc, &header, &comments, &codebooks);
  ogg_stream_packetin(&os, &header);
  ogg_stream_packetin(&os, &comments);
  ogg_stream_packetin(&os, &codebooks);
  ogg_page page;
  while (ogg_stream_flush(&os, &page)) AppendPage(page, out);

  const size_t frames = samples.size() / channels;
  const size_t chunk = 1024;
  size_t done = 0;
  bool eos = false;
  while (!eos) {
    size_t n = frames - done < chunk ? frames - done : chunk;
    if (n == 0) {
      vorbis_analysis_wrote(&vd, 0);
    } else {
      float** in = vorbis_analysis_buffer(&vd, static_cast<int>(n));
      for (size_t i = 0; i < n; ++i)
        for (uint32_t c = 0; c < channels; ++c) in[c][i] = samples[(done + i) * channels + c] / 32768.0f;
      vorbis_analysis_wrote(&vd, static_cast<int>(n));
      done += n;
    }
    while (vorbis_analysis_blockout(&vd, &vb) == 1) {
      vorbis_analysis(&vb, nullptr);
      vorbis_bitrate_addblock(&vb);
      ogg_packet packet;
      while (vorbis_bitrate_flushpacket(&vd, &packet)) {
        ogg_stream_packetin(&os, &packet);
        while (ogg_stream_pageout(&os, &page)) {
          AppendPage(page, out);
          if (ogg_page_eos(&page)) eos = true;
        }
      }
    }
    if (n == 0) {
      while (ogg_stream_flush(&os, &page)) {
        AppendPage(page, out);
        if (ogg_page_eos(&page)) eos = true;
      }
      eos = true;
    }
  }
  ogg_stream_clear(&os);
  vorbis_block_clear(&vb);
  vorbis_dsp_clear(&vd);
  vorbis_comment_clear(&vc);
  vorbis_info_clear(&vi);
  return true;
}

bool EncodeOggTone(double freq, uint32_t ms, uint32_t rate, uint32_t channels, std::vector<uint8_t>& out) {
  return EncodeOggVorbis(MakeTone(freq, ms, rate, channels), rate, channels, out);
}
