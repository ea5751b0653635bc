#include "save/ConfigFile.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

ConfigFileData Sample() {
  ConfigFileData d;
  for (int i = 0; i < 1000; ++i) d.globals[i] = i * 3 - 7;
  d.kidoku.push_back({"START", std::vector<uint8_t>(1024, 0)});
  d.kidoku[0].bits[0] = 0x05;
  d.kidoku.push_back({"S02", std::vector<uint8_t>(3072, 0xA5)});
  d.cgFlag[3][7][2] = 1;
  d.sceneFlag[19][19] = 1;
  d.config.bFullScreen = true;
  d.config.nMesSpeed = 200;
  d.config.bVoice = false;
  d.config.nVoiceVol = 17;
  return d;
}

uint32_t U32At(const std::vector<uint8_t>& v, size_t at) {
  uint32_t x;
  memcpy(&x, v.data() + at, 4);
  return x;
}

void PutU32(std::vector<uint8_t>& v, size_t at, uint32_t x) { memcpy(v.data() + at, &x, 4); }

TEST(ConfigFile, DefaultSettingsRecordBytes) {
  uint8_t rec[32];
  WriteConfigRecord(ConfigRecord{}, rec);
  const uint8_t expect[32] = {0, 0, 0, 0, 1, 0, 0, 0, 128, 0, 0, 0, 128, 0, 0, 0,
                              1, 1, 1, 0, 128, 0, 0, 0, 128, 0, 0, 0, 128, 0, 0, 0};
  EXPECT_EQ(0, memcmp(rec, expect, 32));
}

TEST(ConfigFile, LayoutAndRoundTrip) {
  ConfigFileData d = Sample();
  std::vector<uint8_t> bytes = BuildConfigFile(d);
  ASSERT_EQ(bytes.size(), 44436u + (260 + 1024) + (260 + 3072));
  EXPECT_EQ(U32At(bytes, 0), static_cast<uint32_t>(-7));
  EXPECT_EQ(U32At(bytes, 4000), 2u);
  EXPECT_STREQ(reinterpret_cast<const char*>(bytes.data() + 4004), "START");
  // The rest of the 256-byte name field is zero.
  for (size_t i = 4004 + 5; i < 4004 + 256; ++i) ASSERT_EQ(bytes[i], 0) << i;
  EXPECT_EQ(U32At(bytes, 4004 + 256), 1024u);
  EXPECT_EQ(bytes[4004 + 260], 0x05);
  size_t flags = 4004 + (260 + 1024) + (260 + 3072);
  EXPECT_EQ(bytes[flags + (3 * 100 + 7) * 20 + 2], 1);
  EXPECT_EQ(bytes[flags + 40000 + 19 * 20 + 19], 1);
  EXPECT_EQ(bytes[bytes.size() - 32], 1);  // full screen is the first byte of the last 32

  ConfigFileData back;
  ASSERT_TRUE(ParseConfigFile(bytes.data(), bytes.size(), back));
  EXPECT_EQ(BuildConfigFile(back), bytes);
  EXPECT_EQ(back.kidoku[1].name, "S02");
  EXPECT_EQ(back.config.nVoiceVol, 17);
  EXPECT_FALSE(back.config.bVoice);
}

TEST(ConfigFile, DamagedFilesAreRefused) {
  std::vector<uint8_t> good = BuildConfigFile(Sample());
  ConfigFileData out;
  out.globals[0] = 99;
  std::string why;
  // Every cut short of the whole file is refused.
  for (size_t cut : {size_t{0}, size_t{3}, size_t{4003}, size_t{44435}, size_t{4004 + 259}, good.size() - 1})
    EXPECT_FALSE(ParseConfigFile(good.data(), cut, out, &why)) << cut;
  // Trailing bytes do not fit the declared records either.
  std::vector<uint8_t> longer = good;
  longer.push_back(0);
  EXPECT_FALSE(ParseConfigFile(longer.data(), longer.size(), out));
  // A record size of 4 GiB.
  std::vector<uint8_t> huge = good;
  PutU32(huge, 4004 + 256, 0xFFFFFFFFu);
  EXPECT_FALSE(ParseConfigFile(huge.data(), huge.size(), out, &why));
  EXPECT_EQ(why, "a read-text record runs past the end");
  // More records than the store holds.
  std::vector<uint8_t> many = good;
  PutU32(many, 4000, 1001);
  EXPECT_FALSE(ParseConfigFile(many.data(), many.size(), out));
  // A count that claims more records than the bytes hold.
  std::vector<uint8_t> more = good;
  PutU32(more, 4000, 3);
  EXPECT_FALSE(ParseConfigFile(more.data(), more.size(), out));
  // Nothing was taken from any of them.
  EXPECT_EQ(out.globals[0], 99);
}

TEST(ConfigFile, HostileNamesAndValuesAreTamed) {
  ConfigFileData d;
  d.kidoku.push_back({"X", std::vector<uint8_t>(8, 0)});
  std::vector<uint8_t> bytes = BuildConfigFile(d);
  memset(bytes.data() + 4004, 'A', 256);  // no terminator anywhere in the field
  size_t rec = bytes.size() - 32;
  PutU32(bytes, rec + 4, 7);             // skip mode
  PutU32(bytes, rec + 8, 0xFFFFFFFFu);   // text speed -1
  PutU32(bytes, rec + 20, 100000);       // music volume
  bytes[rec + 16] = 9;                   // music switch
  ConfigFileData out;
  ASSERT_TRUE(ParseConfigFile(bytes.data(), bytes.size(), out));
  EXPECT_EQ(out.kidoku[0].name, std::string(63, 'A'));
  EXPECT_EQ(out.config.nSkipMode, 1);
  EXPECT_EQ(out.config.nMesSpeed, 0);
  EXPECT_EQ(out.config.nBGMVol, 255);
  EXPECT_TRUE(out.config.bBGM);
}

TEST(ConfigFile, EmptyStoreIsTheFixedSize) {
  std::vector<uint8_t> bytes = BuildConfigFile(ConfigFileData{});
  EXPECT_EQ(bytes.size(), kConfigFixedSize);
  ConfigFileData out;
  EXPECT_TRUE(ParseConfigFile(bytes.data(), bytes.size(), out));
  EXPECT_TRUE(out.kidoku.empty());
}

}  // namespace
