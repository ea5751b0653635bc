// A run on a fixed frame step produces the same sound every time, and the
// captured WAV file is complete whenever it is flushed.
#include <gtest/gtest.h>

#include "TestDir.h"
#include "assets/FileJoin.h"
#include "audio/BGMBuffer.h"
#include "audio/DSound.h"
#include "audio/OggEncode.h"
#include "audio/SEBuffer.h"
#include "audio/VoiceBuffer.h"

namespace {

void WriteOgg(TestDir& dir, const std::string& path, double freq, uint32_t ms, uint32_t rate, uint32_t channels) {
  std::vector<uint8_t> ogg;
  ASSERT_TRUE(EncodeOggTone(freq, ms, rate, channels, ogg));
  dir.Write(path, std::string(ogg.begin(), ogg.end()));
}

uint32_t Le32(const std::string& s, size_t at) {
  return uint8_t(s[at]) | uint8_t(s[at + 1]) << 8 | uint8_t(s[at + 2]) << 16 | uint32_t(uint8_t(s[at + 3])) << 24;
}

// Plays music, voices and effects for six seconds of 30 ms frames in the
// application's per-frame order and returns the captured file.
std::string RunScene(TestDir& dir, const std::string& out) {
  plat::SetAudioBackend(plat::AudioBackend::Null);
  plat::SetAudioRefillWait(5000);
  plat::SetAudioCaptureFile(dir.File(out));
  CFileJoin se, bgm, voiceSource;
  se.Initialize(dir.path().c_str(), "SE", ".OGG");
  bgm.Initialize(dir.path().c_str(), "BGM", ".OGG");
  voiceSource.Initialize(dir.path().c_str(), "VOICE", ".OGG");
  auto sound = std::make_unique<CDSound>();
  EXPECT_TRUE(sound->Initialize(nullptr, 44100, 2, 16));
  CSEBuffer fx;
  CBGMBuffer music;
  CVoiceBuffer voice;
  fx.Initialize(sound.get(), &se);
  music.Initialize(sound.get(), &bgm);
  voice.Initialize(sound.get(), &voiceSource);
  EXPECT_TRUE(music.Read("theme"));
  music.Play(300, true);
  for (int f = 0; f < 200; ++f) {
    if (f % 40 == 5) {
      EXPECT_TRUE(voice.Read("line", false));
      voice.Play(0, false);
    }
    if (f % 10 == 0) fx.PlayAutoFree("click", 0);
    fx.Move(30);
    music.Move(30);
    voice.Move(30);
    plat::AdvanceAudio(30);
  }
  EXPECT_TRUE(plat::FlushAudioCapture());
  std::string flushed = dir.Read(out);
  voice.Release();
  music.Release();
  fx.Release();
  sound.reset();
  plat::SetAudioCaptureFile("");
  plat::SetAudioBackend(plat::AudioBackend::Sdl);
  EXPECT_EQ(flushed, dir.Read(out));
  return flushed;
}

TEST(DeterminismTest, SameFramesGiveTheSameSound) {
  TestDir dir;
  WriteOgg(dir, "BGM/theme.ogg", 330, 2500, 44100, 2);
  WriteOgg(dir, "VOICE/line.ogg", 550, 700, 22050, 1);
  WriteOgg(dir, "SE/click.ogg", 1500, 80, 32000, 1);
  std::string first = RunScene(dir, "first.wav");
  std::string second = RunScene(dir, "second.wav");
  ASSERT_EQ(first.size(), 44u + 200u * 1323 * 4);
  EXPECT_EQ(first.compare(0, 4, "RIFF"), 0);
  EXPECT_EQ(Le32(first, 4), first.size() - 8);
  EXPECT_EQ(Le32(first, 24), 44100u);
  EXPECT_EQ(Le32(first, 40), first.size() - 44);
  EXPECT_TRUE(first == second) << "the two runs differ";
}

}  // namespace
