#include "platform/AudioWav.h"

#include <cerrno>
#include <cstring>
#include <vector>

namespace plat {
namespace {

void Put16(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}
void Put32(uint8_t* p, uint32_t v) {
  Put16(p, v & 0xFFFF);
  Put16(p + 2, v >> 16);
}

void MakeHeader(uint8_t* h, uint32_t rate, uint32_t channels, uint32_t dataBytes) {
  memcpy(h, "RIFF", 4);
  Put32(h + 4, 36 + dataBytes);
  memcpy(h + 8, "WAVEfmt ", 8);
  Put32(h + 16, 16);
  Put16(h + 20, 1);
  Put16(h + 22, channels);
  Put32(h + 24, rate);
  Put32(h + 28, rate * channels * 2);
  Put16(h + 32, channels * 2);
  Put16(h + 34, 16);
  memcpy(h + 36, "data", 4);
  Put32(h + 40, dataBytes);
}

}  // namespace

bool WavWriter::Open(const std::string& path, uint32_t rate, uint32_t channels) {
  Close();
  mFile = fopen(path.c_str(), "wb");
  if (!mFile) {
    fprintf(stderr, "audio: cannot write %s: %s\n", path.c_str(), strerror(errno));
    return false;
  }
  mChannels = channels;
  mDataBytes = 0;
  uint8_t header[44];
  MakeHeader(header, rate, channels, 0);
  mOk = fwrite(header, 1, sizeof header, mFile) == sizeof header;
  // The rate is needed again when the header is completed.
  mRateForHeader = rate;
  return true;
}

void WavWriter::Write(const int16_t* samples, uint32_t frames) {
  if (!mFile || frames == 0) return;
  size_t count = static_cast<size_t>(frames) * mChannels;
  // Little-endian on disk whatever the host.
  std::vector<uint8_t> bytes(count * 2);
  for (size_t i = 0; i < count; ++i) Put16(&bytes[i * 2], static_cast<uint16_t>(samples[i]));
  if (fwrite(bytes.data(), 1, bytes.size(), mFile) != bytes.size()) mOk = false;
  mDataBytes += bytes.size();
}

bool WavWriter::WriteHeader() {
  // A WAV file cannot describe more than 4 GiB of data; the header then
  // states the largest size it can.
  uint32_t data = mDataBytes > 0xFFFFFFD0u ? 0xFFFFFFD0u : static_cast<uint32_t>(mDataBytes);
  uint8_t header[44];
  MakeHeader(header, mRateForHeader, mChannels, data);
  if (fseek(mFile, 0, SEEK_SET) != 0 || fwrite(header, 1, sizeof header, mFile) != sizeof header) mOk = false;
  return mOk;
}

bool WavWriter::Flush() {
  if (!mFile) return mOk;
  WriteHeader();
  if (fseek(mFile, 0, SEEK_END) != 0 || fflush(mFile) != 0) mOk = false;
  return mOk;
}

bool WavWriter::Close() {
  if (!mFile) return mOk;
  WriteHeader();
  if (fclose(mFile) != 0) mOk = false;
  mFile = nullptr;
  return mOk;
}

}  // namespace plat
