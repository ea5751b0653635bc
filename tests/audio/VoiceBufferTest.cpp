// Voices on the null back end, one 30 ms frame at a time.
#include "SoundTestEnv.h"
#include "assets/ArchiveWriter.h"
#include "audio/VoiceBuffer.h"
#include "audio/VolumeScale.h"

namespace {

class VoiceBufferTest : public SoundTestEnv {
 protected:
  void SetUp() override {
    SoundTestEnv::SetUp();
    mLine = std::make_unique<CVoiceBuffer>();
    ASSERT_TRUE(mLine->Initialize(mSound.get(), &mVoice));
  }
  void TearDown() override {
    mLine.reset();
    SoundTestEnv::TearDown();
  }
  void Frame(uint32_t ms = 30) {
    mLine->Move(ms);
    plat::AdvanceAudio(ms);
  }
  bool BufferPlaying() {
    uint32_t s = 0;
    mLine->mpBuffer->GetStatus(&s);
    return (s & plat::DSBSTATUS_PLAYING) != 0;
  }
  int32_t BufferVolume() {
    int32_t v = 1;
    mLine->mpBuffer->GetVolume(&v);
    return v;
  }

  std::unique_ptr<CVoiceBuffer> mLine;
};

TEST_F(VoiceBufferTest, ShortLineStopsAtTheSecondNotification) {
  WriteTone("VOICE", "v001.ogg", 500, 1500, 22050, 1);
  ASSERT_TRUE(mLine->Read("v001.ogg", false));
  ASSERT_TRUE(mLine->Play(0, false));
  int cleared = -1;
  for (int f = 0; f < 200 && cleared < 0; ++f) {
    Frame();
    if (!mLine->mbPlay) cleared = f;
  }
  // Quarters are one second: the end is seen at the first notification and
  // the ring is stopped at the second.
  EXPECT_GE(cleared * 30, 1980);
  EXPECT_LE(cleared * 30, 2100);
  std::vector<int16_t> out = Output();
  EXPECT_GT(Rms(out, 0, 1400), 3000);
  EXPECT_LT(Rms(out, 1600, 2500), 1);
}

TEST_F(VoiceBufferTest, LongLinePlaysToItsEndAndLoopingLineKeepsGoing) {
  WriteTone("VOICE", "long.ogg", 500, 5500);
  ASSERT_TRUE(mLine->Read("long", false));  // the source adds ".OGG"
  ASSERT_TRUE(mLine->Play(0, false));
  int cleared = -1;
  for (int f = 0; f < 400 && cleared < 0; ++f) {
    Frame();
    if (!mLine->mbPlay) cleared = f;
  }
  EXPECT_GE(cleared * 30, 5500);
  EXPECT_LE(cleared * 30, 8100);

  ASSERT_TRUE(mLine->Play(0, true));
  for (int f = 0; f < 400; ++f) Frame();
  EXPECT_TRUE(mLine->mbPlay);
  std::vector<int16_t> out = Output();
  // The looping part repeats every 5.5 s once it has settled.
  size_t a = 2u * 44100 * (cleared * 30 / 1000 + 1), period = 2u * 44100 * 55 / 10;
  size_t mismatches = 0;
  for (size_t i = 0; i < 2u * 44100 * 3; ++i)
    if (out[a + i] != out[a + i + period]) ++mismatches;
  EXPECT_EQ(mismatches, 0u);
}

TEST_F(VoiceBufferTest, ReadingASecondLineStopsTheFirstAtOnce) {
  WriteTone("VOICE", "a.ogg", 500, 3000);
  WriteTone("VOICE", "b.ogg", 700, 3000, 22050, 1);
  ASSERT_TRUE(mLine->Read("a.ogg", false));
  ASSERT_TRUE(mLine->Play(0, false));
  for (int f = 0; f < 40; ++f) Frame();  // past the first refill
  ASSERT_TRUE(mLine->Read("b.ogg", false));
  EXPECT_FALSE(mLine->mbPlay);
  EXPECT_FALSE(BufferPlaying());
  EXPECT_STREQ(mLine->mszName, "b.ogg");
  Frame();
  EXPECT_FALSE(mLine->mbPlay);
  ASSERT_TRUE(mLine->Play(0, false));
  EXPECT_TRUE(BufferPlaying());
  EXPECT_FALSE(mLine->Read("missing.ogg", false));
  EXPECT_EQ(mLine->mszName[0], 0);
}

TEST_F(VoiceBufferTest, MutedLineKeepsPlayingSilentlyAndFadesLandOnTheirFrames) {
  WriteTone("VOICE", "m.ogg", 500, 3000);
  ASSERT_TRUE(mLine->Read("m.ogg", false));
  mLine->SetVolume(200);
  ASSERT_TRUE(mLine->Play(60, false));
  EXPECT_EQ(BufferVolume(), gVolumeScale[0]);
  Frame();
  EXPECT_EQ(BufferVolume(), gVolumeScale[0]);
  Frame();
  EXPECT_EQ(BufferVolume(), gVolumeScale[100]);
  Frame();
  EXPECT_EQ(BufferVolume(), gVolumeScale[200]);
  EXPECT_EQ(mLine->mFadeMode, 0);
  mLine->SetMute(true);
  EXPECT_EQ(BufferVolume(), -10000);
  Frame();
  EXPECT_TRUE(mLine->mbPlay);
  mLine->SetMute(false);
  EXPECT_EQ(BufferVolume(), gVolumeScale[200]);
  EXPECT_EQ(mLine->GetCharaNo("m.ogg"), 8);

  mLine->Stop(30);
  Frame();
  EXPECT_TRUE(mLine->mbPlay);
  Frame();
  EXPECT_FALSE(mLine->mbPlay);
  EXPECT_FALSE(BufferPlaying());
}

TEST_F(VoiceBufferTest, CharacterPrefixesChooseTheMuteFlag) {
  strcpy(mLine->mCharaName[0][0], "KAN");
  strcpy(mLine->mCharaName[1][3], "aya");
  mLine->mCharaCount = 2;
  EXPECT_EQ(mLine->GetCharaNo("kan0001.ogg"), 0);
  EXPECT_EQ(mLine->GetCharaNo("AYA0001"), 1);
  EXPECT_EQ(mLine->GetCharaNo("aya"), 8);  // a prefix must be shorter than the name
  EXPECT_EQ(mLine->GetCharaNo("x.ogg"), 8);
  WriteTone("VOICE", "aya01.ogg", 500, 1000);
  ASSERT_TRUE(mLine->Read("aya01.ogg", false));
  mLine->mbCharaMute[1] = true;
  ASSERT_TRUE(mLine->Play(0, false));
  EXPECT_EQ(BufferVolume(), -10000);
}

TEST_F(VoiceBufferTest, PauseNestsAndResumesWhereItWas) {
  WriteTone("VOICE", "p.ogg", 500, 3000);
  ASSERT_TRUE(mLine->Read("p.ogg", false));
  ASSERT_TRUE(mLine->Play(0, false));
  Frame();
  mLine->SetPause(true);
  mLine->SetPause(true);
  mLine->SetPause(false);
  EXPECT_FALSE(BufferPlaying());
  Frame();
  EXPECT_TRUE(mLine->mbPlay);
  mLine->SetPause(false);
  EXPECT_TRUE(BufferPlaying());
}

TEST_F(VoiceBufferTest, StreamsFromAFolderAndFromAnArchiveEntry) {
  WriteTone("VOICE", "f.ogg", 500, 1200);
  ASSERT_TRUE(mLine->Read("f.ogg", true));
  EXPECT_EQ(mLine->mSource.mode, 1);
  ASSERT_TRUE(mLine->Play(0, false));
  for (int f = 0; f < 20; ++f) Frame();

  // An archive whose entries sit back to back: the decoder must stay inside
  // its own entry.
  std::string one = Encoded(500, 800), two = Encoded(900, 800);
  std::vector<ArchiveItem> items = {{"ONE.OGG", one.size(), 0}, {"TWO.OGG", two.size(), 0}};
  std::vector<uint8_t> tables;
  std::string error;
  ASSERT_TRUE(MakeArchiveTables(CFileJoin::kKindSM2MPX10, &items, &tables, &error)) << error;
  std::string archive(tables.begin(), tables.end());
  archive += one + two;
  mDir.Write("VOICE2", archive);
  CFileJoin join;
  ASSERT_TRUE(join.Initialize(mDir.path().c_str(), "VOICE2", ".OGG"));
  CVoiceBuffer line;
  ASSERT_TRUE(line.Initialize(mSound.get(), &join));
  ASSERT_TRUE(line.Read("one", true));
  ASSERT_TRUE(line.Play(0, false));
  int cleared = -1;
  for (int f = 0; f < 150 && cleared < 0; ++f) {
    line.Move(30);
    plat::AdvanceAudio(30);
    if (!line.mbPlay) cleared = f;
  }
  EXPECT_GE(cleared, 0);
  EXPECT_FALSE(line.Read("three", true));
}

TEST_F(VoiceBufferTest, ReleaseWhileStreamingReturns) {
  WriteTone("VOICE", "r.ogg", 500, 20000);
  ASSERT_TRUE(mLine->Read("r.ogg", true));
  ASSERT_TRUE(mLine->Play(0, false));
  for (int f = 0; f < 70; ++f) Frame();
  mLine->Release();
  EXPECT_EQ(mLine->mpBuffer, nullptr);
}

// Damages the body of the first audio page whose last sample lies past
// `sample`, as a bad sector or a cut download would; the page's checksum
// no longer holds and the decoder sees a hole where it was.
void DamagePageAfter(std::string& ogg, int64_t sample) {
  for (size_t at = ogg.find("OggS"); at != std::string::npos; at = ogg.find("OggS", at + 4)) {
    int64_t granule = 0;
    memcpy(&granule, ogg.data() + at + 6, 8);
    if (granule <= sample) continue;
    size_t segments = static_cast<uint8_t>(ogg[at + 26]), body = 0;
    for (size_t i = 0; i < segments; ++i) body += static_cast<uint8_t>(ogg[at + 27 + i]);
    size_t start = at + 27 + segments;
    for (size_t i = 0; i < 16 && i < body; ++i) ogg[start + body / 2 + i] ^= 0x5A;
    return;
  }
  FAIL() << "no page after sample " << sample;
}

// The Ogg page checksum: CRC-32, polynomial 0x04C11DB7, not reflected.
uint32_t PageCrc(const std::string& page) {
  uint32_t crc = 0;
  for (unsigned char c : page) {
    crc ^= static_cast<uint32_t>(c) << 24;
    for (int k = 0; k < 8; ++k) crc = crc & 0x80000000u ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
  }
  return crc;
}

// The same stream under another serial number, so that it can follow a
// first stream as a second link of a chain.
std::string Reserialled(std::string ogg, uint32_t serial) {
  for (size_t at = 0; at + 27 <= ogg.size() && ogg.compare(at, 4, "OggS") == 0;) {
    size_t segments = static_cast<uint8_t>(ogg[at + 26]), length = 27 + segments;
    for (size_t i = 0; i < segments; ++i) length += static_cast<uint8_t>(ogg[at + 27 + i]);
    memcpy(&ogg[at + 14], &serial, 4);
    memset(&ogg[at + 22], 0, 4);
    uint32_t crc = PageCrc(ogg.substr(at, length));
    memcpy(&ogg[at + 22], &crc, 4);
    at += length;
  }
  return ogg;
}

// A line that breaks must not sound the previous line: the ring is kept from
// line to line and must be cleared where the new line does not write. The
// broken line here is a quarter second of silence chained to a stereo
// stream, which a mono line cannot go on into.
TEST_F(VoiceBufferTest, ABrokenLineNeverPlaysThePreviousLine) {
  WriteTone("VOICE", "loud.ogg", 500, 4000, 22050, 1);
  std::vector<uint8_t> silence, stereo;
  ASSERT_TRUE(EncodeOggVorbis(std::vector<int16_t>(22050 / 4, 0), 22050, 1, silence));
  ASSERT_TRUE(EncodeOggVorbis(MakeTone(700, 2000, 22050, 2), 22050, 2, stereo));
  WriteBytes("VOICE", "broken.ogg",
             std::string(silence.begin(), silence.end()) +
                 Reserialled(std::string(stereo.begin(), stereo.end()), 0x12345678u));

  ASSERT_TRUE(mLine->Read("loud.ogg", false));
  ASSERT_TRUE(mLine->Play(0, false));
  for (int f = 0; f < 50; ++f) Frame();  // 1.5 s: the ring is full of the loud line
  ASSERT_TRUE(mLine->Read("broken.ogg", false));
  ASSERT_TRUE(mLine->Play(0, false));
  for (int f = 0; f < 150; ++f) Frame();
  std::vector<int16_t> out = Output();
  EXPECT_GT(Rms(out, 0, 1400), 3000);
  EXPECT_LT(Rms(out, 1600, 6000), 1) << "the loud line sounds again";
}

// A tone with noise in it: pages of a fraction of a second, as speech has.
std::string NoisyLine(uint32_t ms) {
  std::vector<int16_t> pcm = MakeTone(500, ms, 22050, 1);
  uint32_t seed = 1;
  for (auto& v : pcm) {
    seed = seed * 1664525u + 1013904223u;
    v = static_cast<int16_t>(v / 2 + static_cast<int16_t>(seed >> 16) / 4);
  }
  std::vector<uint8_t> ogg;
  EncodeOggVorbis(pcm, 22050, 1, ogg);
  return std::string(ogg.begin(), ogg.end());
}

// One damaged page in the middle costs the sound of that page, not the
// rest of the line.
TEST_F(VoiceBufferTest, ADamagedPageIsSkippedAndTheLineGoesOn) {
  std::string ogg = NoisyLine(5000);
  DamagePageAfter(ogg, 22050 * 3 / 2);
  WriteBytes("VOICE", "hole.ogg", ogg);
  ASSERT_TRUE(mLine->Read("hole.ogg", false));
  ASSERT_TRUE(mLine->Play(0, false));
  int cleared = -1;
  for (int f = 0; f < 400 && cleared < 0; ++f) {
    Frame();
    if (!mLine->mbPlay) cleared = f;
  }
  // The lost page is a fraction of a second; the rest plays on.
  EXPECT_GE(cleared * 30, 4000) << "the line ended at the damaged page";
  std::vector<int16_t> out = Output();
  EXPECT_GT(Rms(out, 2500, 3800), 3000);
}

}  // namespace
