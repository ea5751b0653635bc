#include "video/MovieStream.h"

#include <cstdint>
#include <cstdio>

extern "C" {
#include <libavformat/avio.h>
#include <libavutil/error.h>
#include <libavutil/mem.h>
}

#include "app/core/Trace.h"

namespace {
// The demuxer reads in blocks of this size.
constexpr int kIOBufferSize = 32 * 1024;
}  // namespace

CMovieStream::CMovieStream(FileHandle file, uint64_t begin, uint64_t length)
    : mhFile(file), mBegin(begin), mLength(length) {
  Trace("CMovieStream::CMovieStream");
}

CMovieStream::~CMovieStream() { Trace("CMovieStream::~CMovieStream"); }

bool CMovieStream::SetPosition(uint64_t position) {
  Trace("CMovieStream::SetPosition");
  std::lock_guard<std::mutex> guard(mLock);
  if (position > mLength) return false;
  mPosition = position;
  return true;
}

uint64_t CMovieStream::GetPosition() {
  Trace("CMovieStream::GetPosition");
  std::lock_guard<std::mutex> guard(mLock);
  return mPosition;
}

uint32_t CMovieStream::Read(void* buffer, uint32_t count) {
  Trace("CMovieStream::Read");
  std::lock_guard<std::mutex> guard(mLock);
  if (!buffer || mPosition >= mLength) return 0;
  uint64_t rest = mLength - mPosition;
  uint32_t want = rest < count ? static_cast<uint32_t>(rest) : count;
  uint32_t got = FileReadAt(mhFile, buffer, want, mBegin + mPosition);
  mPosition += got;
  return got;
}

int CMovieStream::ReadPacket(void* opaque, uint8_t* buffer, int size) {
  Trace("CMovieStream::ReadPacket");
  auto* self = static_cast<CMovieStream*>(opaque);
  if (size <= 0) return 0;
  uint32_t got = self->Read(buffer, static_cast<uint32_t>(size));
  return got ? static_cast<int>(got) : AVERROR_EOF;
}

int64_t CMovieStream::SeekPacket(void* opaque, int64_t offset, int whence) {
  Trace("CMovieStream::SeekPacket");
  auto* self = static_cast<CMovieStream*>(opaque);
  whence &= ~AVSEEK_FORCE;
  if (whence == AVSEEK_SIZE) return static_cast<int64_t>(self->mLength);
  int64_t base = 0;
  if (whence == SEEK_CUR) base = static_cast<int64_t>(self->GetPosition());
  else if (whence == SEEK_END) base = static_cast<int64_t>(self->mLength);
  else if (whence != SEEK_SET) return AVERROR(EINVAL);
  // Both are at most 2^63 in magnitude only when the file is sane; a
  // hostile offset must not wrap.
  if ((offset > 0 && base > INT64_MAX - offset) || base + offset < 0) return AVERROR(EINVAL);
  int64_t target = base + offset;
  if (!self->SetPosition(static_cast<uint64_t>(target))) return AVERROR(EINVAL);
  return target;
}

AVIOContext* CMovieStream::MakeIOContext() {
  Trace("CMovieStream::MakeIOContext");
  // The context counts from the first byte.
  SetPosition(0);
  auto* buffer = static_cast<unsigned char*>(av_malloc(kIOBufferSize));
  if (!buffer) return nullptr;
  AVIOContext* context = avio_alloc_context(buffer, kIOBufferSize, 0, this, &ReadPacket, nullptr, &SeekPacket);
  if (!context) av_free(buffer);
  return context;
}

void CMovieStream::FreeIOContext(AVIOContext** context) {
  Trace("CMovieStream::FreeIOContext");
  if (!context || !*context) return;
  av_freep(&(*context)->buffer);
  avio_context_free(context);
}
