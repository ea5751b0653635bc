// The encoder the tests and velto-tool make their sounds with.
#include <gtest/gtest.h>

#include <cmath>

#include "audio/OggEncode.h"
#include "audio/OggVorbis.h"

TEST(OggEncodeTest, ToneDecodesToItsLengthAndFrequency) {
  std::vector<uint8_t> ogg;
  ASSERT_TRUE(EncodeOggTone(440, 500, 22050, 1, ogg));
  OggMemorySource source{ogg.data(), ogg.data(), ogg.data() + ogg.size()};
  ov_callbacks callbacks = {
      [](void* p, size_t s, size_t n, void* d) { return OggMemoryRead(static_cast<OggMemorySource*>(d), p, s, n); },
      [](void* d, ogg_int64_t o, int w) { return OggMemorySeek(static_cast<OggMemorySource*>(d), o, w); }, nullptr,
      [](void* d) { return OggMemoryTell(static_cast<OggMemorySource*>(d)); }};
  OggVorbis_File vf;
  ASSERT_EQ(ov_open_callbacks(&source, &vf, nullptr, 0, callbacks), 0);
  EXPECT_EQ(ov_info(&vf, -1)->rate, 22050);
  EXPECT_EQ(ov_pcm_total(&vf, -1), 11025);
  std::vector<int16_t> pcm(11025 + 100);
  size_t got = 0;
  long n;
  while ((n = OggReadPcm(&vf, reinterpret_cast<uint8_t*>(pcm.data()) + got, (pcm.size() * 2) - got, 1)) > 0) got += n;
  EXPECT_EQ(got, 11025u * 2);
  int crossings = 0, peak = 0;
  for (size_t i = 1; i < 11025; ++i) {
    if (pcm[i - 1] < 0 && pcm[i] >= 0) ++crossings;
    peak = std::max(peak, std::abs(static_cast<int>(pcm[i])));
  }
  EXPECT_NEAR(crossings, 220, 1);
  EXPECT_NEAR(peak, 16384, 800);
  ov_clear(&vf);
  EXPECT_FALSE(EncodeOggTone(440, 10, 0, 1, ogg));
}

TEST(OggEncodeTest, MemoryCallbacksStayInsideTheImage) {
  uint8_t data[10] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  OggMemorySource s{data, data, data + 10};
  uint8_t out[16] = {};
  EXPECT_EQ(OggMemoryRead(&s, out, 4, 3), 2u);  // 10 bytes: two whole items of 4
  EXPECT_EQ(OggMemoryTell(&s), 10);
  EXPECT_EQ(OggMemoryRead(&s, out, 1, 5), 0u);
  EXPECT_EQ(OggMemorySeek(&s, -3, SEEK_END), 0);
  EXPECT_EQ(OggMemoryTell(&s), 7);
  EXPECT_EQ(OggMemorySeek(&s, 4, SEEK_CUR), -1);  // past the end: refused
  EXPECT_EQ(OggMemorySeek(&s, -1, SEEK_SET), -1);
  EXPECT_EQ(OggMemoryTell(&s), 7);
  EXPECT_EQ(OggMemoryRead(&s, out, 1, 16), 3u);
  EXPECT_EQ(out[0], 8);
}
