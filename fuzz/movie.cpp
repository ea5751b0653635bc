// Damaged movies through the player's own path: the bytes lie in the middle
// of a file between guard bytes and are read through the byte-range reader,
// the container is opened, and up to a bounded number of pictures and
// packets are decoded and converted to the window picture. Any bytes must
// give a clean refusal or a clean end.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "video/MovieDecoder.h"
#include "video/MovieScaler.h"
#include "video/MovieStream.h"

namespace {

constexpr size_t kGuard = 4096;
constexpr int kPictures = 24;
constexpr int kPackets = 4000;

int File() {
  static int fd = memfd_create("velto-fuzz-movie", 0);
  return fd;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 20) || File() < 0) return 0;
  std::vector<uint8_t> bytes(kGuard, 0xAB);
  bytes.insert(bytes.end(), data, data + size);
  bytes.insert(bytes.end(), kGuard, 0xCD);
  if (ftruncate(File(), 0) != 0 || pwrite(File(), bytes.data(), bytes.size(), 0) != static_cast<ssize_t>(bytes.size()))
    return 0;

  CMovieStream stream(File(), kGuard, size);
  CMovieDecoder decoder;
  std::string error;
  if (!decoder.Open(&stream, true, nullptr, &error)) return 0;
  static std::vector<uint32_t> picture(CMovieScaler::kWidth * CMovieScaler::kHeight);
  CMovieScaler scaler;
  std::vector<int16_t> sound;
  int64_t start = 0;
  int pictures = 0;
  for (int packets = 0; pictures < kPictures && packets < kPackets;) {
    AVFrame* frame = nullptr;
    int64_t ms = 0;
    CMovieDecoder::Result r = decoder.ReceiveVideo(&frame, &ms);
    if (r == CMovieDecoder::Result::kEnd) break;
    if (r == CMovieDecoder::Result::kFrame) {
      scaler.Convert(frame, picture.data());
      ++pictures;
      continue;
    }
    sound.clear();
    decoder.ReadPacket(&sound, &start);
    ++packets;
  }
  return 0;
}
