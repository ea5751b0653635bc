#include "save/GameFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

// A stand-in digest: 32 lower-case hex characters that differ for every text.
std::string FakeDigest(const std::string& text) {
  uint64_t h = 1469598103934665603ull;
  std::string out;
  for (int round = 0; round < 2; ++round) {
    for (char c : text) h = (h ^ static_cast<uint8_t>(c)) * 1099511628211ull;
    h ^= round + 1;
    char buf[17];
    snprintf(buf, sizeof buf, "%016llx", static_cast<unsigned long long>(h));
    out += buf;
  }
  return out;
}

std::unique_ptr<SavedGame> Sample(uint32_t stateSize) {
  auto g = std::make_unique<SavedGame>();
  strcpy(g->subTitle, "Chapter 1");
  g->sumWidth = 160;
  g->sumHeight = 120;
  g->sumPixels.resize(160 * 120);
  for (size_t i = 0; i < g->sumPixels.size(); ++i) g->sumPixels[i] = 0xFF000000u | static_cast<uint32_t>(i);
  for (int i = 0; i < 1000; ++i) g->variable[i] = 1000 - i;
  strcpy(g->snrName, "S01_02");
  strcpy(g->strVariable[255], "last");
  strcpy(g->picture[4], "BG01");
  strcpy(g->bgmList[1], "M02.OGG");
  strcpy(g->bgmName, "M02.OGG");
  g->bgmPlay = true;
  g->bgmLoop = true;
  strcpy(g->se[9].name, "SE_DOOR");
  g->se[9].play = true;
  strcpy(g->voiceList[0], "V0001");
  g->state.resize(stateSize);
  for (uint32_t i = 0; i < stateSize; ++i) g->state[i] = static_cast<uint8_t>(i * 7);
  return g;
}

uint32_t U32At(const std::vector<uint8_t>& v, size_t at) {
  uint32_t x;
  memcpy(&x, v.data() + at, 4);
  return x;
}
void PutU32(std::vector<uint8_t>& v, size_t at, uint32_t x) { memcpy(v.data() + at, &x, 4); }

const char* kPhrase = "TITLE";
constexpr size_t T = 76800;

TEST(GameFile, LayoutFollowsTheFixedOffsets) {
  auto g = Sample(40);
  std::vector<uint8_t> f = BuildGameFile(*g, kPhrase, FakeDigest);
  ASSERT_EQ(f.size(), 78678 + T + 40);
  EXPECT_EQ(std::string(f.begin(), f.begin() + 32), FakeDigest("TITLESaveData"));
  EXPECT_EQ(U32At(f, 32), 78642 + T);
  EXPECT_STREQ(reinterpret_cast<const char*>(&f[36]), "Chapter 1");
  EXPECT_EQ(U32At(f, 100), T);
  EXPECT_EQ(U32At(f, 104), 160u);
  EXPECT_EQ(U32At(f, 108), 120u);
  EXPECT_EQ(U32At(f, 112 + 4), 0xFF000001u);
  EXPECT_EQ(U32At(f, 112 + T), 1000u);
  EXPECT_STREQ(reinterpret_cast<const char*>(&f[4112 + T]), "S01_02");
  EXPECT_STREQ(reinterpret_cast<const char*>(&f[4368 + T + 255 * 64]), "last");
  EXPECT_STREQ(reinterpret_cast<const char*>(&f[20752 + T + 4 * 64]), "BG01");
  EXPECT_STREQ(reinterpret_cast<const char*>(&f[37136 + T + 64]), "M02.OGG");
  EXPECT_STREQ(reinterpret_cast<const char*>(&f[53520 + T]), "M02.OGG");
  EXPECT_EQ(f[53584 + T], 1);
  EXPECT_EQ(f[53585 + T], 1);
  EXPECT_STREQ(reinterpret_cast<const char*>(&f[53586 + T + 9 * 34]), "SE_DOOR");
  EXPECT_EQ(f[53586 + T + 9 * 34 + 32], 1);
  EXPECT_EQ(f[53586 + T + 9 * 34 + 33], 0);
  EXPECT_STREQ(reinterpret_cast<const char*>(&f[62290 + T]), "V0001");
  EXPECT_EQ(U32At(f, 78674 + T), 40u);
  // The state is stored scrambled.
  EXPECT_NE(f[78678 + T + 1], g->state[1]);
}

TEST(GameFile, RoundTripRestoresEveryField) {
  auto g = Sample(1000);
  std::vector<uint8_t> f = BuildGameFile(*g, kPhrase, FakeDigest);
  auto back = std::make_unique<SavedGame>();
  ASSERT_EQ(ParseGameFile(f.data(), f.size(), kPhrase, FakeDigest, *back), GameFileError::kNone);
  EXPECT_EQ(BuildGameFile(*back, kPhrase, FakeDigest), f);
  EXPECT_EQ(back->state, g->state);
  EXPECT_EQ(back->sumPixels, g->sumPixels);
  EXPECT_STREQ(back->se[9].name, "SE_DOOR");
  EXPECT_TRUE(back->se[9].play);
  EXPECT_FALSE(back->se[9].loop);

  GameHead head;
  ASSERT_EQ(ParseGameHead(f.data(), f.size(), kPhrase, FakeDigest, true, head), GameFileError::kNone);
  EXPECT_STREQ(head.subTitle, "Chapter 1");
  EXPECT_EQ(head.sumWidth, 160);
  EXPECT_EQ(head.sumPixels.size(), 160u * 120u);
}

TEST(GameFile, StateOf33BytesIsScrambledAsTwoBlocks) {
  std::vector<uint8_t> state(33, 0);
  ScrambleState(state.data(), state.size(), kPhrase, FakeDigest);
  std::string k0 = FakeDigest("TITLE0"), k1 = FakeDigest("TITLE1");
  for (int j = 0; j < 32; ++j) ASSERT_EQ(state[j], static_cast<uint8_t>(k0[j])) << j;
  EXPECT_EQ(state[32], static_cast<uint8_t>(k1[0]));
  ScrambleState(state.data(), state.size(), kPhrase, FakeDigest);
  EXPECT_EQ(state, std::vector<uint8_t>(33, 0));
}

TEST(GameFile, AnotherProductIsRefusedAndCaseIsIgnored) {
  std::vector<uint8_t> f = BuildGameFile(*Sample(8), "OTHER GAME", FakeDigest);
  auto out = std::make_unique<SavedGame>();
  EXPECT_EQ(ParseGameFile(f.data(), f.size(), kPhrase, FakeDigest, *out), GameFileError::kSignature);
  GameHead head;
  EXPECT_EQ(ParseGameHead(f.data(), f.size(), kPhrase, FakeDigest, false, head), GameFileError::kSignature);

  std::vector<uint8_t> upper = BuildGameFile(*Sample(8), kPhrase, FakeDigest);
  for (int i = 0; i < 32; ++i) upper[i] = static_cast<uint8_t>(toupper(upper[i]));
  EXPECT_EQ(ParseGameFile(upper.data(), upper.size(), kPhrase, FakeDigest, *out), GameFileError::kNone);
}

TEST(GameFile, HostileSizesAreRefused) {
  std::vector<uint8_t> good = BuildGameFile(*Sample(64), kPhrase, FakeDigest);
  auto out = std::make_unique<SavedGame>();
  auto parse = [&](const std::vector<uint8_t>& f, size_t size) {
    return ParseGameFile(f.data(), size, kPhrase, FakeDigest, *out);
  };
  for (size_t cut : {size_t{0}, size_t{31}, size_t{111}, size_t{78677}, 78678 + T - 1, good.size() - 1})
    EXPECT_NE(parse(good, cut), GameFileError::kNone) << cut;

  std::vector<uint8_t> f = good;
  PutU32(f, 100, T + 4);  // not width × height × 4
  EXPECT_EQ(parse(f, f.size()), GameFileError::kThumbnail);
  f = good;
  PutU32(f, 104, 0x40000001u);  // absurd width whose size wraps to 4 in 32 bits
  PutU32(f, 108, 1);
  PutU32(f, 100, 4);
  EXPECT_EQ(parse(f, f.size()), GameFileError::kThumbnail);
  f = good;
  PutU32(f, 78674 + T, 1048577);  // state beyond 1 MiB
  EXPECT_EQ(parse(f, f.size()), GameFileError::kState);
  f = good;
  PutU32(f, 78674 + T, 65);  // one byte past the end
  EXPECT_EQ(parse(f, f.size()), GameFileError::kShort);
}

TEST(GameFile, NamesWithoutTerminatorAreCut) {
  std::vector<uint8_t> f = BuildGameFile(*Sample(0), kPhrase, FakeDigest);
  memset(&f[36], 'x', 64);
  memset(&f[4112 + T], 'y', 256);
  memset(&f[53586 + T], 'z', 32);
  auto out = std::make_unique<SavedGame>();
  ASSERT_EQ(ParseGameFile(f.data(), f.size(), kPhrase, FakeDigest, *out), GameFileError::kNone);
  EXPECT_EQ(std::string(out->subTitle), std::string(63, 'x'));
  EXPECT_EQ(std::string(out->snrName), std::string(255, 'y'));
  EXPECT_EQ(std::string(out->se[0].name), std::string(31, 'z'));
}

TEST(GameFile, NoThumbnail) {
  auto g = Sample(5);
  g->sumPixels.clear();
  std::vector<uint8_t> f = BuildGameFile(*g, kPhrase, FakeDigest);
  EXPECT_EQ(f.size(), 78678u + 5);
  EXPECT_EQ(U32At(f, 32), 78642u);
  auto out = std::make_unique<SavedGame>();
  ASSERT_EQ(ParseGameFile(f.data(), f.size(), kPhrase, FakeDigest, *out), GameFileError::kNone);
  EXPECT_TRUE(out->sumPixels.empty());
  EXPECT_EQ(out->sumWidth, 0);
}

}  // namespace
