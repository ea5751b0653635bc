// Damaged and hostile sound files, and running with no sound device.
#include <map>

#include "SoundTestEnv.h"
#include "app/core/MainWindow.h"
#include "audio/BGMBuffer.h"
#include "audio/OggVorbis.h"
#include "audio/SEBuffer.h"
#include "audio/VoiceBuffer.h"

namespace {

uint32_t OggCrc(const uint8_t* data, size_t size) {
  uint32_t crc = 0;
  for (size_t i = 0; i < size; ++i) {
    crc ^= static_cast<uint32_t>(data[i]) << 24;
    for (int b = 0; b < 8; ++b) crc = (crc & 0x80000000u) ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
  }
  return crc;
}

// The stream with the identification header's rate replaced, its page
// checksum made right again so that only the rate is wrong.
std::string WithRate(std::string ogg, uint32_t rate) {
  auto* p = reinterpret_cast<uint8_t*>(ogg.data());
  size_t header = 27 + p[26];
  size_t body = 0;
  for (int i = 0; i < p[26]; ++i) body += p[27 + i];
  memcpy(p + header + 12, &rate, 4);
  memset(p + 22, 0, 4);
  uint32_t crc = OggCrc(p, header + body);
  memcpy(p + 22, &crc, 4);
  return ogg;
}

class BadInputTest : public SoundTestEnv {
 protected:
  // Every way a file can be unusable, by name.
  std::vector<std::string> WriteBadFiles() {
    std::string good = Encoded(440, 1000);
    std::vector<uint8_t> three;
    EncodeOggVorbis(std::vector<int16_t>(3 * 4410, 100), 44100, 3, three);
    std::map<std::string, std::string> files = {
        {"text.ogg", "this is not a sound file at all"},
        {"empty.ogg", ""},
        {"magic.ogg", "OggS"},
        {"garbage.ogg", "OggS" + std::string(4000, '\x5A')},
        {"headers.ogg", good.substr(0, 120)},
        {"three.ogg", std::string(three.begin(), three.end())},
        {"slow.ogg", WithRate(good, 1)},
        {"fast.ogg", WithRate(good, 0x7FFFFFFF)},
    };
    std::vector<std::string> names;
    for (auto& [name, bytes] : files) {
      for (const char* folder : {"SE", "BGM", "VOICE"}) WriteBytes(folder, name, bytes);
      names.push_back(name);
    }
    return names;
  }
};

TEST_F(BadInputTest, EveryClassRefusesUnusableFiles) {
  CBGMBuffer music;
  CVoiceBuffer voice;
  CSEBuffer fx;
  ASSERT_TRUE(music.Initialize(mSound.get(), &mBgm));
  ASSERT_TRUE(voice.Initialize(mSound.get(), &mVoice));
  ASSERT_TRUE(fx.Initialize(mSound.get(), &mSe));
  for (const std::string& name : WriteBadFiles()) {
    EXPECT_FALSE(music.Read(name.c_str())) << name;
    EXPECT_FALSE(music.Play(0, true)) << name;
    EXPECT_FALSE(voice.Read(name.c_str(), false)) << name;
    EXPECT_FALSE(voice.Read(name.c_str(), true)) << name;
    EXPECT_FALSE(voice.Play(0, false)) << name;
    EXPECT_EQ(fx.Read(name.c_str()), 0) << name;
    EXPECT_EQ(fx.PlayAutoFree(name.c_str(), 0), 0) << name;
  }
  EXPECT_EQ(music.mszName[0], 0);
  EXPECT_EQ(voice.mszName[0], 0);
}

TEST_F(BadInputTest, StreamBrokenInTheMiddleEndsInSilence) {
  std::string ogg = Encoded(440, 6000);
  // Damage the audio pages past the first second; the headers stay whole.
  for (size_t i = ogg.size() / 4; i < ogg.size() * 3 / 4; i += 7) ogg[i] = static_cast<char>(ogg[i] ^ 0xA5);
  WriteBytes("BGM", "broken.ogg", ogg);
  WriteBytes("VOICE", "broken.ogg", ogg);
  CBGMBuffer music;
  CVoiceBuffer voice;
  ASSERT_TRUE(music.Initialize(mSound.get(), &mBgm));
  ASSERT_TRUE(voice.Initialize(mSound.get(), &mVoice));
  ASSERT_TRUE(music.Read("broken.ogg"));
  ASSERT_TRUE(voice.Read("broken.ogg", false));
  ASSERT_TRUE(music.Play(0, false));
  ASSERT_TRUE(voice.Play(0, false));
  for (int f = 0; f < 400 && (music.mbPlay || voice.mbPlay); ++f) {
    music.Move(30);
    voice.Move(30);
    plat::AdvanceAudio(30);
  }
  EXPECT_FALSE(music.mbPlay);
  EXPECT_FALSE(voice.mbPlay);
}

TEST_F(BadInputTest, LoopingStreamWithoutSoundDoesNotSpin) {
  std::vector<uint8_t> ogg;
  ASSERT_TRUE(EncodeOggVorbis({}, 44100, 2, ogg));
  WriteBytes("BGM", "silent.ogg", std::string(ogg.begin(), ogg.end()));
  CBGMBuffer music;
  ASSERT_TRUE(music.Initialize(mSound.get(), &mBgm));
  ASSERT_TRUE(music.Read("silent.ogg"));
  EXPECT_TRUE(music.Play(0, true));
  for (int f = 0; f < 10; ++f) {
    music.Move(30);
    plat::AdvanceAudio(30);
  }
}

// The stream with its last page's granule position (its declared length in
// sample frames) replaced and the page checksum made right again.
std::string WithDeclaredFrames(std::string ogg, uint64_t frames) {
  size_t at = ogg.rfind("OggS");
  auto* p = reinterpret_cast<uint8_t*>(ogg.data() + at);
  size_t header = 27 + p[26];
  size_t body = 0;
  for (int i = 0; i < p[26]; ++i) body += p[27 + i];
  memcpy(p + 6, &frames, 8);
  memset(p + 22, 0, 4);
  uint32_t crc = OggCrc(p, header + body);
  memcpy(p + 22, &crc, 4);
  return ogg;
}

uint32_t BufferBytes(plat::IDirectSoundBuffer* buffer) {
  void *p1 = nullptr, *p2 = nullptr;
  uint32_t n1 = 0, n2 = 0;
  if (plat::FAILED(buffer->Lock(0, 0, &p1, &n1, &p2, &n2, plat::DSBLOCK_ENTIREBUFFER))) return 0;
  buffer->Unlock(p1, n1, p2, n2);
  return n1 + n2;
}

TEST_F(BadInputTest, EffectBufferHoldsWhatTheStreamDecodesNotWhatItDeclares) {
  CSEBuffer fx;
  ASSERT_TRUE(fx.Initialize(mSound.get(), &mSe));
  const std::string good = Encoded(440, 3000);
  plat::IDirectSoundBuffer* buffer =
      fx.OggDecode(reinterpret_cast<const uint8_t*>(good.data()), static_cast<uint32_t>(good.size()));
  ASSERT_NE(buffer, nullptr);
  EXPECT_EQ(BufferBytes(buffer), 132300u * 4);
  buffer->Release();

  // Three seconds of sound claiming to be 25 minutes long.
  const std::string liar = WithDeclaredFrames(good, 60000000);
  buffer = fx.OggDecode(reinterpret_cast<const uint8_t*>(liar.data()), static_cast<uint32_t>(liar.size()));
  ASSERT_NE(buffer, nullptr);
  EXPECT_GT(BufferBytes(buffer), 0u);
  EXPECT_LE(BufferBytes(buffer), 132300u * 4 * 2);
  buffer->Release();
}

TEST(NoDeviceTest, EveryOperationIsASilentNoOp) {
  TestDir dir;
  dir.Write("SE/a.ogg", "x");
  CFileJoin se;
  ASSERT_TRUE(se.Initialize(dir.path().c_str(), "SE", ".OGG"));
  plat::SetAudioBackend(plat::AudioBackend::None);
  CDSound* sound = new CDSound;
  EXPECT_FALSE(sound->Initialize(nullptr, 44100, 2, 16));
  delete sound;
  plat::SetAudioBackend(plat::AudioBackend::Sdl);

  CBGMBuffer music;
  CVoiceBuffer voice;
  CSEBuffer fx;
  ASSERT_TRUE(music.Initialize(nullptr, &se));
  ASSERT_TRUE(voice.Initialize(nullptr, &se));
  ASSERT_TRUE(fx.Initialize(nullptr, &se));
  EXPECT_FALSE(music.Read("a.ogg"));
  EXPECT_FALSE(music.Cache("b.ogg"));
  EXPECT_FALSE(music.Play(0, true));
  music.Stop(0);
  music.SetPause(true);
  music.SetPause(false);
  music.SetVolume(10);
  music.SetMute(true);
  music.Move(30);
  EXPECT_FALSE(music.CheckPlaying("a.ogg"));
  EXPECT_FALSE(voice.Read("a.ogg", false));
  EXPECT_FALSE(voice.Play(0, false));
  voice.Stop(100);
  voice.SetPause(true);
  voice.Move(30);
  EXPECT_EQ(fx.Read("a.ogg"), 0);
  EXPECT_EQ(fx.PlayAutoFree("a.ogg", 0), 0);
  EXPECT_FALSE(fx.Play(1, 0, false));
  EXPECT_FALSE(fx.IsPlay(1));
  EXPECT_EQ(fx.GetFadeMode(1), 0);
  fx.Stop(1, 0);
  fx.Free(1);
  fx.SetPause(true);
  fx.Move(30);
}

}  // namespace
