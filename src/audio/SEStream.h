// An effect's Ogg stream decoded a stretch at a time into its growing
// buffer: the first stretch when the effect is read, the rest a bounded
// amount per frame or as soon as playback needs it. The stream's declared
// length is only an upper bound; the buffer ends where the samples do.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "audio/OggVorbis.h"
#include "platform/AudioDevice.h"

class CSEStream final : public plat::ISampleFeed {
 public:
  CSEStream();
  ~CSEStream() override;
  CSEStream(const CSEStream&) = delete;
  CSEStream& operator=(const CSEStream&) = delete;

  // Takes the file image over, opens the decoder on it and decodes the
  // first `firstFrames` sample frames. False when it is not a usable Ogg
  // Vorbis stream, declares no sound or more than a buffer holds, or fails
  // or yields nothing in that first stretch.
  bool Open(std::unique_ptr<uint8_t[]> data, uint32_t size, uint32_t firstFrames);
  const plat::WAVEFORMATEX& Format() const { return mFormat; }
  // Bytes of the first stretch.
  uint32_t FirstBytes() const { return static_cast<uint32_t>(mFirst.size()); }

  uint32_t Produce(uint8_t* dst, uint32_t bytes) override;

 private:
  // Decodes into `dst` until `bytes` are there, the declared length is
  // reached, the stream ends or fails; the count decoded.
  uint32_t Decode(uint8_t* dst, uint32_t bytes);
  void Close();

  std::unique_ptr<uint8_t[]> mpData;
  OggMemorySource mSource;
  OggVorbis_File mFile;
  bool mbOpen = false;
  bool mbFailed = false;  // the decoder reported damage
  int mnChannels = 0;
  plat::WAVEFORMATEX mFormat{};
  uint64_t mLimit = 0;     // declared length in bytes: never decoded past
  uint64_t mDecoded = 0;   // bytes decoded so far
  std::vector<uint8_t> mFirst;  // decoded at Open, handed out first
  size_t mFirstGiven = 0;
};
