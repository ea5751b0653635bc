#include "video/MovieProbe.h"

#include <vector>

#include "app/core/Trace.h"
#include "assets/File.h"
#include "video/MovieStream.h"

namespace {
// The check decodes this many pictures, reading at most this many packets.
constexpr int kCheckPictures = 3;
constexpr int kCheckPackets = 20000;
}  // namespace

bool ProbeMovie(const std::string& path, MovieProbe* out) {
  Trace("ProbeMovie");
  *out = MovieProbe();
  FileHandle file = FileOpenRead(path);
  if (file == kInvalidFileHandle) return false;
  out->size = FileSize64(file);
  {
    CMovieStream stream(file, 0, out->size);
    CMovieDecoder decoder;
    out->bOpened = decoder.Open(&stream, true, nullptr, &out->error);
    out->format = decoder.Format();
    std::vector<int16_t> sound;
    int64_t start = 0;
    for (int packets = 0; out->bOpened && out->pictures < kCheckPictures && packets < kCheckPackets;) {
      AVFrame* frame = nullptr;
      int64_t ms = 0;
      CMovieDecoder::Result r = decoder.ReceiveVideo(&frame, &ms);
      if (r == CMovieDecoder::Result::kFrame) {
        ++out->pictures;
      } else if (r == CMovieDecoder::Result::kEnd) {
        break;
      } else {
        decoder.ReadPacket(&sound, &start);
        ++packets;
      }
    }
    out->bSound = !sound.empty();
  }
  FileCloseHandle(file);
  out->bPlayable = out->bOpened && out->pictures > 0;
  if (out->bOpened && !out->bPlayable) out->error = "no picture of it can be decoded";
  return true;
}
