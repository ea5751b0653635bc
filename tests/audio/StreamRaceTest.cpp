// Stopping, re-reading and releasing while the workers refill: the null
// device is advanced without waiting for them, so their refills overlap the
// main thread's operations.
#include "SoundTestEnv.h"
#include "audio/BGMBuffer.h"
#include "audio/VoiceBuffer.h"
#include "platform/Timer.h"

namespace {

class StreamRaceTest : public SoundTestEnv {};

TEST_F(StreamRaceTest, StopsAndReadsDuringRefillsNeitherCrashNorHang) {
  plat::SetAudioRefillWait(0);
  // The music's pause after stopping a piece must not slow the loop down.
  plat::SetVirtualClock(true);
  WriteTone("BGM", "a.ogg", 440, 3000);
  WriteTone("BGM", "b.ogg", 440, 2000, 22050, 1);
  WriteTone("VOICE", "a.ogg", 500, 2500);
  WriteTone("VOICE", "b.ogg", 500, 1500, 22050, 1);
  auto music = std::make_unique<CBGMBuffer>();
  auto voice = std::make_unique<CVoiceBuffer>();
  ASSERT_TRUE(music->Initialize(mSound.get(), &mBgm));
  ASSERT_TRUE(voice->Initialize(mSound.get(), &mVoice));
  for (int i = 0; i < 60; ++i) {
    const char* name = i % 3 ? "a.ogg" : "b.ogg";
    ASSERT_TRUE(music->Read(name));
    ASSERT_TRUE(voice->Read(name, i % 2 == 0));
    music->Play(0, i % 2 == 0);
    voice->Play(0, i % 4 == 0);
    // Cross a notification of each ring, then act at once.
    plat::AdvanceAudio(i % 2 ? 2000 : 1000);
    music->Move(30);
    voice->Move(30);
    if (i % 5 == 0) music->SetPause(true);
    if (i % 7 == 0) voice->Stop(0);
    plat::AdvanceAudio(1000);
    if (i % 5 == 0) music->SetPause(false);
    if (i % 11 == 0) {
      voice->Release();
      voice = std::make_unique<CVoiceBuffer>();
      ASSERT_TRUE(voice->Initialize(mSound.get(), &mVoice));
    }
  }
  music->Release();
  voice->Release();
  plat::SetVirtualClock(false);
}

}  // namespace
