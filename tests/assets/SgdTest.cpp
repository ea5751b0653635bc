#include "assets/SgdDecode.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <vector>

#include "PictureTestUtil.h"
#include "TestDir.h"
#include "app/core/Trace.h"
#include "assets/SgdEncode.h"

namespace {

using Bytes_ = std::vector<uint8_t>;

void Le16(Bytes_& b, uint32_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}

// Two sections, each with its 32-bit length.
Bytes_ Stream(const Bytes_& alpha, const Bytes_& colour) {
  Bytes_ out;
  for (const Bytes_* s : {&alpha, &colour}) {
    uint32_t n = static_cast<uint32_t>(s->size());
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(n >> (8 * i)));
    out.insert(out.end(), s->begin(), s->end());
  }
  return out;
}

size_t Decode(const Bytes_& data, std::vector<uint32_t>& px) { return DecodeSgdPixels(data.data(), data.size(), px.data(), px.size()); }

TEST(SgdAlpha, RunWordsWriteOneTo32768Pixels) {
  std::vector<uint32_t> px(32770, 0xDEADBEEF);
  Bytes_ alpha;
  Le16(alpha, 0x8000);
  alpha.push_back(0x11);
  Le16(alpha, 0xFFFF);
  alpha.push_back(0x22);
  Bytes_ data = Stream(alpha, {});
  EXPECT_EQ(Decode(data, px), data.size());
  EXPECT_EQ(px[0], 0x11000000u);
  EXPECT_EQ(px[1], 0x22000000u);
  EXPECT_EQ(px[32768], 0x22000000u);
  // Pixels the alpha section does not reach are not touched: a new picture
  // is clear already, and touching all of a huge one costs its full size.
  EXPECT_EQ(px[32769], 0xDEADBEEFu);
}

TEST(SgdAlpha, LiteralsGiveEachPixelItsByte) {
  std::vector<uint32_t> px(4, 0xFFFFFFFF);
  Bytes_ alpha;
  Le16(alpha, 0);  // an empty literal writes nothing
  Le16(alpha, 3);
  alpha.insert(alpha.end(), {0x00, 0x7F, 0xFF});
  EXPECT_GT(Decode(Stream(alpha, {}), px), 0u);
  EXPECT_EQ(px, (std::vector<uint32_t>{0x00000000, 0x7F000000, 0xFF000000, 0xFFFFFFFF}));
}

TEST(SgdColour, LiteralZeroWritesNothingAndRun0x40WritesOnePixel) {
  std::vector<uint32_t> px(3);
  Bytes_ alpha;
  Le16(alpha, 0x8002);
  alpha.push_back(0x80);
  Bytes_ colour = {0x00, 0x40, 0x01, 0x02, 0x03, 0x01, 0x0A, 0x0B, 0x0C};
  EXPECT_GT(Decode(Stream(alpha, colour), px), 0u);
  EXPECT_EQ(px[0], 0x80030201u);
  EXPECT_EQ(px[1], 0x800C0B0Au);
  EXPECT_EQ(px[2], 0x80000000u);
}

TEST(SgdColour, DeltaWords) {
  std::vector<uint32_t> px(6);
  Bytes_ alpha;
  Le16(alpha, 0x8005);
  alpha.push_back(0xFF);
  // Start from red 0x40, green 0x50, blue 0x60.
  Bytes_ colour = {0x40, 0x60, 0x50, 0x40, 0x85};
  for (uint32_t d : {0x0000u, 0x8000u, 0x7FFFu, 0xFFFFu, 0x4210u}) Le16(colour, d);
  EXPECT_GT(Decode(Stream(alpha, colour), px), 0u);
  EXPECT_EQ(px[0], 0xFF405060u);
  EXPECT_EQ(px[1], 0xFF405060u);  // 0x0000 repeats
  EXPECT_EQ(px[2], 0xFF405060u);  // 0x8000 repeats
  EXPECT_EQ(px[3], 0xFF314151u);  // 0x7FFF: 15 off each
  EXPECT_EQ(px[4], 0xFF506070u);  // 0xFFFF: 31 added to each
  EXPECT_EQ(px[5], 0xFF506070u);  // signs set, magnitudes 0
}

TEST(SgdColour, DeltasWrapModulo256AndTheFirstPixelStartsFromBlack) {
  std::vector<uint32_t> px(4);
  Bytes_ alpha;
  Le16(alpha, 0x8003);
  alpha.push_back(0x01);
  Bytes_ colour = {0x82};
  Le16(colour, 0x0011);  // blue -1 from black
  Le16(colour, 0x8000 | 2 << 10 | 1);  // red +2, blue +1
  colour.insert(colour.end(), {0x01, 0xF0, 0xFF, 0xFF, 0x81});
  Le16(colour, 0x8000 | 31 << 10 | 16 << 5 | 1);
  EXPECT_GT(Decode(Stream(alpha, colour), px), 0u);
  EXPECT_EQ(px[0], 0x010000FFu);
  EXPECT_EQ(px[1], 0x01020000u);
  EXPECT_EQ(px[2], 0x01FFFFF0u);
  EXPECT_EQ(px[3], 0x011E0FF1u);
}

TEST(SgdColour, InvalidCommandByteIsTracedAndSkipped) {
  TestDir dir;
  ASSERT_TRUE(TraceInit());
  std::vector<uint32_t> px(1);
  Bytes_ alpha;
  Le16(alpha, 0x8000);
  alpha.push_back(0xFF);
  Bytes_ colour = {0xC0, 0xFF, 0x40, 0x01, 0x02, 0x03};
  Bytes_ data = Stream(alpha, colour);
  EXPECT_EQ(Decode(data, px), data.size());
  EXPECT_EQ(px[0], 0xFF030201u);
  TraceDump(dir.path().c_str());
  std::ifstream in(dir.File("VQLog.txt"), std::ios::binary);
  std::stringstream log;
  log << in.rdbuf();
  size_t first = log.str().find("ＲＧＢ展開に失敗");
  ASSERT_NE(first, std::string::npos);
  EXPECT_NE(log.str().find("ＲＧＢ展開に失敗", first + 1), std::string::npos);
}

TEST(SgdBounds, StreamsThatOverrunTheirDataOrThePictureFail) {
  std::vector<uint32_t> px(4);
  auto alphaRun = [](uint32_t word) {
    Bytes_ a;
    Le16(a, word);
    a.push_back(0xFF);
    return a;
  };
  EXPECT_EQ(Decode(Stream(alphaRun(0x8004), {}), px), 0u);  // 5 pixels into 4
  Bytes_ lit;
  Le16(lit, 5);
  lit.insert(lit.end(), {1, 2, 3, 4, 5});
  EXPECT_EQ(Decode(Stream(lit, {}), px), 0u);
  Bytes_ shortLit;
  Le16(shortLit, 3);
  shortLit.push_back(1);
  EXPECT_EQ(Decode(Stream(shortLit, {}), px), 0u);
  EXPECT_EQ(Decode(Stream({0x01}, {}), px), 0u);  // half a command word
  EXPECT_EQ(Decode(Stream({0x00, 0x80}, {}), px), 0u);  // run without its byte
  Bytes_ a4 = alphaRun(0x8003);
  EXPECT_EQ(Decode(Stream(a4, {0x44, 1, 2, 3}), px), 0u);  // colour run of 5
  EXPECT_EQ(Decode(Stream(a4, {0x05, 1, 2, 3}), px), 0u);  // literal without its bytes
  EXPECT_EQ(Decode(Stream(a4, {0x83, 0, 0}), px), 0u);  // deltas without their words
  EXPECT_EQ(Decode(Stream(a4, {0x40, 1, 2}), px), 0u);
  EXPECT_EQ(Decode(Stream(a4, {0x85, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}), px), 0u);
  // Section lengths beyond the data.
  Bytes_ data = Stream(a4, {0x43, 1, 2, 3});
  EXPECT_GT(Decode(data, px), 0u);
  for (size_t cut = 0; cut < data.size(); ++cut)
    EXPECT_EQ(DecodeSgdPixels(data.data(), cut, px.data(), px.size()), 0u) << cut;
  Bytes_ huge = {0xFF, 0xFF, 0xFF, 0xFF};
  EXPECT_EQ(Decode(huge, px), 0u);
}

TEST(SgdRoundTrip, EncoderOutputDecodesToTheSamePixels) {
  for (auto [w, h] : {std::pair{1, 1}, std::pair{64, 3}, std::pair{257, 41}, std::pair{800, 8}}) {
    std::vector<uint32_t> px = MixedPixels(w, h, static_cast<uint32_t>(w * h));
    Bytes_ data = EncodeSgdPixels(px.data(), px.size());
    std::vector<uint32_t> back(px.size(), 0x12345678);
    EXPECT_EQ(Decode(data, back), data.size());
    EXPECT_EQ(back, px) << w << "x" << h;
  }
  // Runs longer than one command holds.
  std::vector<uint32_t> flat(100000, 0x80FEDCBA);
  Bytes_ data = EncodeSgdPixels(flat.data(), flat.size());
  EXPECT_LT(data.size(), 100000u / 10);
  std::vector<uint32_t> back(flat.size());
  EXPECT_EQ(Decode(data, back), data.size());
  EXPECT_EQ(back, flat);
}

TEST(SgdRoundTrip, EveryDeltaThatFitsIsUsedAndExact) {
  // Each channel stepping by every change from -15 to +31 in turn.
  std::vector<uint32_t> px;
  uint32_t c = 0x808080;
  for (int step = -40; step <= 40; ++step)
    for (int ch = 0; ch < 3; ++ch) {
      uint32_t v = (c >> (8 * ch)) & 0xFF;
      v = (v + static_cast<uint32_t>(step)) & 0xFF;
      c = (c & ~(0xFFu << (8 * ch))) | v << (8 * ch);
      px.push_back(0xFF000000 | c);
    }
  Bytes_ data = EncodeSgdPixels(px.data(), px.size());
  std::vector<uint32_t> back(px.size());
  EXPECT_EQ(Decode(data, back), data.size());
  EXPECT_EQ(back, px);
  // Mostly deltas: well below three bytes a pixel.
  EXPECT_LT(data.size(), px.size() * 3);
}

}  // namespace

namespace {

// The delta rule channel by channel, as the format states it.
uint32_t ReferenceDelta(uint32_t prev, uint32_t d) {
  int r = (prev >> 16) & 0xFF, g = (prev >> 8) & 0xFF, b = prev & 0xFF;
  if (d & 0x8000) {
    r += (d >> 10) & 31;
    g += (d >> 5) & 31;
    b += d & 31;
  } else {
    r += (d & 0x4000 ? -1 : 1) * static_cast<int>((d >> 10) & 15);
    g += (d & 0x0200 ? -1 : 1) * static_cast<int>((d >> 5) & 15);
    b += (d & 0x0010 ? -1 : 1) * static_cast<int>(d & 15);
  }
  return static_cast<uint32_t>((r & 0xFF) << 16 | (g & 0xFF) << 8 | (b & 0xFF));
}

TEST(SgdColour, EveryDeltaWordMatchesTheChannelRule) {
  // One chain through all 65536 words, from a start colour near the byte
  // edges so that wrapping happens in every channel.
  for (uint32_t start : {0x000000u, 0xFF80FFu, 0x7F0180u}) {
    const size_t n = 65536;
    std::vector<uint32_t> px(n + 1);
    Bytes_ alpha;
    for (size_t left = n + 1; left;) {
      size_t run = std::min<size_t>(left, 0x8000);
      Le16(alpha, 0x8000 | static_cast<uint32_t>(run - 1));
      alpha.push_back(0xFF);
      left -= run;
    }
    Bytes_ colour = {0x40, static_cast<uint8_t>(start), static_cast<uint8_t>(start >> 8), static_cast<uint8_t>(start >> 16)};
    for (uint32_t d = 0; d < n;) {
      uint32_t chunk = std::min<uint32_t>(63, static_cast<uint32_t>(n) - d);
      colour.push_back(static_cast<uint8_t>(0x80 | chunk));
      for (uint32_t k = 0; k < chunk; ++k) Le16(colour, d + k);
      d += chunk;
    }
    ASSERT_GT(Decode(Stream(alpha, colour), px), 0u);
    uint32_t expect = start;
    for (uint32_t d = 0; d < n; ++d) {
      expect = ReferenceDelta(expect, d);
      ASSERT_EQ(px[d + 1], 0xFF000000u | expect) << "word " << d;
    }
  }
}

}  // namespace
