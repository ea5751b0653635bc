// A WAV file written while sound is produced: 16-bit PCM, the header's sizes
// filled in when the file is closed.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

namespace plat {

class WavWriter {
 public:
  WavWriter() = default;
  ~WavWriter() { Close(); }
  WavWriter(const WavWriter&) = delete;
  WavWriter& operator=(const WavWriter&) = delete;

  // Creates (truncates) the file. False, with the reason on standard error,
  // when it cannot be created.
  bool Open(const std::string& path, uint32_t rate, uint32_t channels);
  bool IsOpen() const { return mFile != nullptr; }
  // Appends interleaved frames.
  void Write(const int16_t* samples, uint32_t frames);
  // Brings the header up to date and flushes, so the file is complete as
  // it stands even if it is never closed. Writing goes on afterwards.
  bool Flush();
  // Completes the header and closes. True when every write succeeded.
  bool Close();

 private:
  FILE* mFile = nullptr;
  uint32_t mChannels = 0;
  uint32_t mRateForHeader = 0;
  uint64_t mDataBytes = 0;
  bool mOk = true;

  bool WriteHeader();
};

}  // namespace plat
