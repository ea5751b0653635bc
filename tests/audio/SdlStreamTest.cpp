// A voice streamed in real time through SDL's file-writing driver: the
// worker refills while the device's callback mixes on its own thread.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "TestDir.h"
#include "assets/FileJoin.h"
#include "audio/DSound.h"
#include "audio/OggEncode.h"
#include "audio/VoiceBuffer.h"

TEST(SdlStreamTest, VoiceStreamsInRealTimeAndStopsAndReleasesWhilePlaying) {
  TestDir dir;
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", dir.File("sdl.raw").c_str(), 1);
  plat::SetAudioBackend(plat::AudioBackend::Sdl);
  for (auto [name, freq] : {std::pair{"a.ogg", 441.0}, std::pair{"b.ogg", 882.0}}) {
    std::vector<uint8_t> ogg;
    ASSERT_TRUE(EncodeOggTone(freq, 2500, 22050, 1, ogg));
    dir.Write(std::string("VOICE/") + name, std::string(ogg.begin(), ogg.end()));
  }
  CFileJoin join;
  ASSERT_TRUE(join.Initialize(dir.path().c_str(), "VOICE", ".OGG"));
  auto sound = std::make_unique<CDSound>();
  ASSERT_TRUE(sound->Initialize(nullptr, 44100, 2, 16));
  auto voice = std::make_unique<CVoiceBuffer>();
  ASSERT_TRUE(voice->Initialize(sound.get(), &join));
  ASSERT_TRUE(voice->Read("a.ogg", false));
  ASSERT_TRUE(voice->Play(0, false));
  // Past the first notification (one second), so the worker has refilled.
  std::this_thread::sleep_for(std::chrono::milliseconds(1300));
  voice->Move(30);
  EXPECT_TRUE(voice->mbPlay);
  ASSERT_TRUE(voice->Read("b.ogg", false));
  EXPECT_FALSE(voice->mbPlay);
  ASSERT_TRUE(voice->Play(0, true));
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  voice.reset();  // released while streaming
  sound.reset();

  std::string bytes = dir.Read("sdl.raw");
  std::vector<int16_t> out(bytes.size() / 2);
  memcpy(out.data(), bytes.data(), out.size() * 2);
  // 0.2 s to 0.7 s of the first line: 441 Hz is 220 rising zero crossings.
  size_t from = 44100 * 2 / 5, frames = 22050;
  ASSERT_GE(out.size(), 2 * (from + frames));
  int crossings = 0;
  for (size_t f = from + 1; f < from + frames; ++f)
    if (out[2 * (f - 1)] < 0 && out[2 * f] >= 0) ++crossings;
  EXPECT_NEAR(crossings, 220, 3);
}
