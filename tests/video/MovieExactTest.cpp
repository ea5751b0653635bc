// The same movie gives the same pictures and sound on every machine: the
// decoders and the scaler run their vector code on their exact paths, which
// must match FFmpeg's plain C code bit for bit. Checked here by decoding
// with this machine's vector code and again with none.
#include <gtest/gtest.h>

#include <string>
#include <vector>

extern "C" {
#include <libavutil/cpu.h>
}

#include "MovieTestKit.h"
#include "video/MovieDecoder.h"
#include "video/MovieScaler.h"
#include "video/MovieStream.h"

namespace {

using namespace movietest;

struct Decoded {
  std::vector<std::vector<uint32_t>> pictures;
  std::vector<int16_t> sound;
};

Decoded DecodeAll(const std::string& path) {
  Decoded out;
  FileHandle h = FileOpenRead(path);
  {
    CMovieStream stream(h, 0, FileSize64(h));
    CMovieDecoder decoder;
    CMovieScaler scaler;
    std::string error;
    EXPECT_TRUE(decoder.Open(&stream, true, nullptr, &error)) << error;
    int64_t start = 0;
    for (int guard = 0; guard < 100000; ++guard) {
      AVFrame* frame = nullptr;
      int64_t ms = 0;
      CMovieDecoder::Result r = decoder.ReceiveVideo(&frame, &ms);
      if (r == CMovieDecoder::Result::kEnd) break;
      if (r == CMovieDecoder::Result::kFrame) {
        out.pictures.emplace_back(800 * 600);
        scaler.Convert(frame, out.pictures.back().data());
      } else {
        decoder.ReadPacket(&out.sound, &start);
      }
    }
  }
  FileCloseHandle(h);
  return out;
}

TEST(MovieExact, VectorCodeGivesThePlainCodesPicturesAndSound) {
  TestDir dir;
  // Detail, motion and a sound: the decoders' transforms, the prediction and
  // the stretch all have work to do.
  std::vector<std::string> names;
  for (int i = 0; i < 6; ++i) {
    std::vector<uint32_t> pixels(352 * 240);
    for (int y = 0; y < 240; ++y)
      for (int x = 0; x < 352; ++x)
        pixels[y * 352 + x] = 0xFF000000u | static_cast<uint32_t>(((x + 9 * i) * 7) & 0xFF) << 16 |
                              static_cast<uint32_t>(((y - 5 * i) * 3) & 0xFF) << 8 | static_cast<uint32_t>((x * y) & 0xFF);
    names.push_back("p" + std::to_string(i) + ".png");
    WritePng(dir, names.back(), pixels, 352, 240);
  }
  WriteTone(dir.File("t.wav"), 500, 523.25);
  std::string cmd = std::string(VELTO_TOOL_PATH) + " movie make --hold 2 --sound " + dir.File("t.wav") + " " +
                    dir.File("m.mpg");
  for (const auto& n : names) cmd += " " + dir.File(n);
  ASSERT_EQ(RunCommand(cmd), 0);

  Decoded vector = DecodeAll(dir.File("m.mpg"));
  av_force_cpu_flags(0);
  Decoded plain = DecodeAll(dir.File("m.mpg"));
  av_force_cpu_flags(-1);
  ASSERT_EQ(vector.pictures.size(), 15u) << "the last picture stays for the sound";
  ASSERT_EQ(plain.pictures.size(), vector.pictures.size());
  for (size_t i = 0; i < plain.pictures.size(); ++i) EXPECT_TRUE(plain.pictures[i] == vector.pictures[i]) << i;
  EXPECT_GT(vector.sound.size(), 20000u);
  EXPECT_TRUE(plain.sound == vector.sound);
}

}  // namespace
