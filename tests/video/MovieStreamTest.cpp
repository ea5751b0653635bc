// The byte-range reader under the demuxer, and the sound queue between the
// decoder and the sound ring.
#include <gtest/gtest.h>

#include <cstdio>

extern "C" {
#include <libavformat/avio.h>
}

#include "TestDir.h"
#include "video/MovieAudioFifo.h"
#include "video/MovieStream.h"

namespace {

TEST(MovieStream, ReadsOnlyInsideItsRangeWhateverItIsAskedFor) {
  TestDir dir;
  dir.Write("f", "HEAD" "movie-bytes" "TAIL");
  FileHandle h = FileOpenRead(dir.File("f"));
  ASSERT_NE(h, kInvalidFileHandle);
  {
    CMovieStream stream(h, 4, 11);
    char buf[64] = {};
    EXPECT_EQ(stream.Read(buf, sizeof buf), 11u);
    EXPECT_EQ(std::string(buf, 11), "movie-bytes");
    EXPECT_EQ(stream.Read(buf, sizeof buf), 0u) << "the end of the range is the end";
    EXPECT_FALSE(stream.SetPosition(12));
    EXPECT_TRUE(stream.SetPosition(11));
    EXPECT_TRUE(stream.SetPosition(6));
    EXPECT_EQ(stream.Read(buf, 3), 3u);
    EXPECT_EQ(std::string(buf, 3), "byt");

    // Through FFmpeg's reader: the size, the seeks it may ask for, reads.
    AVIOContext* io = stream.MakeIOContext();
    ASSERT_NE(io, nullptr);
    EXPECT_EQ(avio_size(io), 11);
    EXPECT_LT(avio_seek(io, 12, SEEK_SET), 0);
    EXPECT_LT(avio_seek(io, -1, SEEK_SET), 0);
    EXPECT_LT(avio_seek(io, INT64_MAX, SEEK_SET), 0);
    EXPECT_EQ(avio_seek(io, 6, SEEK_SET), 6);
    unsigned char got[64] = {};
    EXPECT_EQ(avio_read(io, got, sizeof got), 5);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(got), 5), "bytes");
    CMovieStream::FreeIOContext(&io);
    EXPECT_EQ(io, nullptr);
  }
  FileCloseHandle(h);
}

TEST(MovieAudioFifo, PlacesSoundByFrameNumberAndDropsWhatIsLate) {
  CMovieAudioFifo fifo;
  const int16_t a[] = {1, 1, 2, 2, 3, 3, 4, 4};
  fifo.Push(2, a, 4);  // frames 2..5
  EXPECT_EQ(fifo.End(), 6);
  int16_t out[12];
  // Before the sound starts: silence; then the sound; then what is not
  // decoded yet: silence.
  EXPECT_EQ(fifo.Read(0, out, 3), 1u);
  EXPECT_EQ(std::vector<int16_t>(out, out + 6), (std::vector<int16_t>{0, 0, 0, 0, 1, 1}));
  EXPECT_EQ(fifo.Read(3, out, 6), 3u);
  EXPECT_EQ(std::vector<int16_t>(out, out + 12), (std::vector<int16_t>{2, 2, 3, 3, 4, 4, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(fifo.Size(), 0u);
  // Frames 6..9 arrive after frames up to 8 were played as silence: only
  // frame 9 is left to play.
  const int16_t b[] = {5, 5, 6, 6, 7, 7, 8, 8};
  fifo.Push(0, b, 4);
  EXPECT_EQ(fifo.End(), 10);
  EXPECT_EQ(fifo.Size(), 1u);
  EXPECT_EQ(fifo.Read(9, out, 2), 1u);
  EXPECT_EQ(std::vector<int16_t>(out, out + 4), (std::vector<int16_t>{8, 8, 0, 0}));
}

TEST(MovieAudioFifo, KeepsLongRunsInOrder) {
  CMovieAudioFifo fifo;
  std::vector<int16_t> in(2 * 1000);
  int64_t next = 0, read = 0;
  std::vector<int16_t> out(2 * 700);
  for (int round = 0; round < 50; ++round) {
    for (int i = 0; i < 1000; ++i) in[2 * i] = in[2 * i + 1] = static_cast<int16_t>((next + i) % 30000);
    fifo.Push(0, in.data(), 1000);
    next += 1000;
    ASSERT_EQ(fifo.Read(read, out.data(), 700), 700u);
    for (int i = 0; i < 700; ++i) ASSERT_EQ(out[2 * i], static_cast<int16_t>((read + i) % 30000));
    read += 700;
  }
  EXPECT_EQ(fifo.Size(), static_cast<size_t>(next - read));
}

}  // namespace
