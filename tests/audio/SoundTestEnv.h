// A sound set-up for tests: the null back end driven by a controlled frame
// clock, file sources over a scratch folder, sounds made by the encoder, and
// the mixed output captured for inspection.
#pragma once
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "TestDir.h"
#include "assets/FileJoin.h"
#include "audio/DSound.h"
#include "audio/OggEncode.h"
#include "platform/AudioDevice.h"

class SoundTestEnv : public ::testing::Test {
 protected:
  void SetUp() override {
    plat::SetAudioBackend(plat::AudioBackend::Null);
    plat::SetAudioRefillWait(5000);
    plat::SetAudioCaptureFile(mDir.File("out.wav"));
    for (const char* name : {"SE", "BGM", "VOICE"}) mDir.Write(std::string(name) + "/.keep", "");
    mSe.Initialize(mDir.path().c_str(), "SE", ".OGG");
    mBgm.Initialize(mDir.path().c_str(), "BGM", ".OGG");
    mVoice.Initialize(mDir.path().c_str(), "VOICE", ".OGG");
    mSound = std::make_unique<CDSound>();
    ASSERT_TRUE(mSound->Initialize(nullptr, 44100, 2, 16));
  }
  void TearDown() override {
    mSound.reset();
    plat::SetAudioCaptureFile("");
    plat::SetAudioBackend(plat::AudioBackend::Sdl);
  }

  // Writes a tone into a source folder as `name`.
  void WriteTone(const std::string& folder, const std::string& name, double freq, uint32_t ms, uint32_t rate = 44100,
                 uint32_t channels = 2) {
    std::vector<uint8_t> ogg;
    ASSERT_TRUE(EncodeOggTone(freq, ms, rate, channels, ogg));
    mDir.Write(folder + "/" + name, std::string(ogg.begin(), ogg.end()));
  }
  void WriteBytes(const std::string& folder, const std::string& name, const std::string& bytes) {
    mDir.Write(folder + "/" + name, bytes);
  }
  std::string Encoded(double freq, uint32_t ms, uint32_t rate = 44100, uint32_t channels = 2) {
    std::vector<uint8_t> ogg;
    EncodeOggTone(freq, ms, rate, channels, ogg);
    return std::string(ogg.begin(), ogg.end());
  }

  // Closes the device and returns the captured output, interleaved stereo.
  std::vector<int16_t> Output() {
    mSound.reset();
    std::string bytes = mDir.Read("out.wav");
    std::vector<int16_t> s(bytes.size() > 44 ? (bytes.size() - 44) / 2 : 0);
    if (!s.empty()) memcpy(s.data(), bytes.data() + 44, s.size() * 2);
    return s;
  }
  // Root mean square of the left channel over [fromMs, toMs).
  static double Rms(const std::vector<int16_t>& out, uint32_t fromMs, uint32_t toMs) {
    size_t a = static_cast<size_t>(fromMs) * 441 / 10, b = static_cast<size_t>(toMs) * 441 / 10;
    double sum = 0;
    size_t n = 0;
    for (size_t f = a; f < b && 2 * f < out.size(); ++f, ++n) sum += double(out[2 * f]) * out[2 * f];
    return n ? std::sqrt(sum / n) : 0;
  }

  TestDir mDir;
  CFileJoin mSe, mBgm, mVoice;
  std::unique_ptr<CDSound> mSound;
};
