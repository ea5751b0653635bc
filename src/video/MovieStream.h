// The bytes of one movie: a range of a file (an archive entry, or a whole
// plain file) read through a handle of its own. Whatever position the
// demuxer asks for, nothing outside the range is ever read.
#pragma once
#include <cstdint>
#include <mutex>

#include "assets/File.h"

struct AVIOContext;

class CMovieStream {
 public:
  // `file` stays the caller's; it must outlive the stream.
  CMovieStream(FileHandle file, uint64_t begin, uint64_t length);
  ~CMovieStream();
  CMovieStream(const CMovieStream&) = delete;
  CMovieStream& operator=(const CMovieStream&) = delete;

  // Fails (and keeps the position) when `position` lies beyond the length.
  bool SetPosition(uint64_t position);
  // Reads at the current position, at most to the end of the range, and
  // advances. Returns the bytes read: 0 at the end or on a read error.
  uint32_t Read(void* buffer, uint32_t count);
  uint64_t GetPosition();
  uint64_t GetSize() const { return mLength; }

  // An FFmpeg I/O context reading this stream from its first byte
  // (seekable, with the size known); null when memory runs out. FreeIOContext releases it.
  AVIOContext* MakeIOContext();
  static void FreeIOContext(AVIOContext** context);

 private:
  static int ReadPacket(void* opaque, uint8_t* buffer, int size);
  static int64_t SeekPacket(void* opaque, int64_t offset, int whence);

  const FileHandle mhFile;
  const uint64_t mBegin;
  const uint64_t mLength;
  uint64_t mPosition = 0;
  std::mutex mLock;
};
