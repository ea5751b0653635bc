#include "audio/SEStream.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "app/core/Trace.h"
#include "audio/SEBuffer.h"

using namespace plat;

CSEStream::CSEStream() {
  Trace("CSEStream::CSEStream");
  memset(&mFile, 0, sizeof mFile);
}

CSEStream::~CSEStream() {
  Trace("CSEStream::~CSEStream");
  Close();
}

void CSEStream::Close() {
  Trace("CSEStream::Close");
  if (mbOpen) ov_clear(&mFile);
  mbOpen = false;
  mpData.reset();
}

bool CSEStream::Open(std::unique_ptr<uint8_t[]> data, uint32_t size, uint32_t firstFrames) {
  Trace("CSEStream::Open");
  if (!data || !IsOggSignature(data.get(), size)) return false;
  mpData = std::move(data);
  mSource = OggMemorySource{mpData.get(), mpData.get(), mpData.get() + size};
  ov_callbacks callbacks = {&CSEBuffer::OggCallbackRead, &CSEBuffer::OggCallbackSeek, &CSEBuffer::OggCallbackClose,
                            &CSEBuffer::OggCallbackFell};
  if (ov_open_callbacks(&mSource, &mFile, nullptr, 0, callbacks) != 0) {
    memset(&mFile, 0, sizeof mFile);
    return false;
  }
  mbOpen = true;
  vorbis_info* info = ov_info(&mFile, -1);
  ogg_int64_t frames = ov_pcm_total(&mFile, -1);
  if (!OggFormatUsable(info) || frames <= 0) return false;
  mnChannels = info->channels;
  mFormat = MakePcmFormat(static_cast<uint32_t>(info->rate), static_cast<uint32_t>(mnChannels), 16);
  if (static_cast<uint64_t>(frames) > DSBSIZE_MAX / mFormat.nBlockAlign) return false;
  mLimit = static_cast<uint64_t>(frames) * mFormat.nBlockAlign;
  const uint64_t first = std::min<uint64_t>(uint64_t{firstFrames} * mFormat.nBlockAlign, mLimit);
  try {
    mFirst.resize(static_cast<size_t>(first));
  } catch (const std::bad_alloc&) {
    return false;
  }
  // A stream broken from its first packets is refused outright, as a whole
  // decode would: only damage further in is heard as an early end.
  const uint32_t got = Decode(mFirst.data(), static_cast<uint32_t>(first));
  if (mbFailed || got == 0) return false;
  mFirst.resize(got);
  return true;
}

uint32_t CSEStream::Decode(uint8_t* dst, uint32_t bytes) {
  Trace("CSEStream::Decode");
  uint32_t done = 0;
  if (mDecoded >= mLimit) return 0;
  bytes = static_cast<uint32_t>(std::min<uint64_t>(bytes, mLimit - mDecoded));
  while (mbOpen && done < bytes) {
    long n = OggReadPcm(&mFile, dst + done, bytes - done, mnChannels);
    if (n > 0) {
      done += static_cast<uint32_t>(n);
      continue;
    }
    // The end, or damage: either way nothing more comes from this stream.
    if (n < 0) mbFailed = true;
    Close();
  }
  mDecoded += done;
  return done;
}

uint32_t CSEStream::Produce(uint8_t* dst, uint32_t bytes) {
  Trace("CSEStream::Produce");
  uint32_t done = 0;
  if (mFirstGiven < mFirst.size()) {
    done = static_cast<uint32_t>(std::min<size_t>(bytes, mFirst.size() - mFirstGiven));
    memcpy(dst, mFirst.data() + mFirstGiven, done);
    mFirstGiven += done;
    if (mFirstGiven == mFirst.size()) std::vector<uint8_t>().swap(mFirst);
    if (done == bytes) return done;
  }
  return done + Decode(dst + done, bytes - done);
}
