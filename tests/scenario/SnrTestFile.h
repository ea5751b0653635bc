// Small helpers that make compiled scenario files for the tests.
#pragma once
#include <string>

#include "scenario/SnrBuffer.h"
#include "scenario/SnrImage.h"

namespace snrtest {

using snr::Bytes;

inline Bytes Params() { return {}; }

// Appends a record with the given parameter bytes.
inline void Cmd(snr::SnrImage& image, uint16_t id, const Bytes& params = {}) {
  snr::PutRecord(image.commands, id, params);
}

inline bool Load(CSnrBuffer& buffer, const Bytes& file, const char* phrase = "KEY") {
  return buffer.ReadMemory("TEST", file.data(), file.size(), phrase);
}

// A buffer whose Read takes files from a map instead of the file source.
class MemorySnrBuffer : public CSnrBuffer {
 public:
  std::string mFileName;
  Bytes mFile;
  bool Read(const char* name) override {
    if (mFileName != name) return false;
    return ReadMemory(name, mFile.data(), mFile.size(), "KEY");
  }
};

}  // namespace snrtest
