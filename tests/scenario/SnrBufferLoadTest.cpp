// Loading: unscrambling, header checks, tables and positions.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "SnrTestFile.h"
#include "scenario/MD5.h"
#include "scenario/Scramble.h"

using namespace snrtest;
using snr::SnrImage;

namespace {

std::string Md5Hex(const std::string& text) {
  CMD5 md5;
  md5.setPlainText(text.c_str());
  return md5.getMD5Digest();
}

SnrImage ThreeCommands() {
  SnrImage image;
  Cmd(image, 5, [] { Bytes p; snr::PutVar(p, 1); snr::PutInt(p, 7); return p; }());  // offset 0, 14 bytes
  Cmd(image, 3, [] { Bytes p; snr::PutInt(p, 0); return p; }());                     // offset 14, 9 bytes
  Cmd(image, 10000);                                                                  // offset 23
  image.labels = {23, 0};
  image.tables[0] = {14};
  image.tables[255] = {0, 23};
  return image;
}

TEST(SnrScramble, BlocksUseTheirOwnKeysAndTheShortLastBlockTheFirstKeyBytes) {
  Bytes data(40, 0);
  snr::ScrambleBlocks(data.data(), data.size(), "VELTO");
  std::string k0 = Md5Hex("VELTO0"), k1 = Md5Hex("VELTO1");
  EXPECT_EQ(std::string(data.begin(), data.begin() + 32), k0);
  EXPECT_EQ(std::string(data.begin() + 32, data.end()), k1.substr(0, 8));
  snr::ScrambleBlocks(data.data(), data.size(), "VELTO");
  EXPECT_EQ(data, Bytes(40, 0));
}

TEST(SnrBufferLoad, PlainFileIsTakenAsItStands) {
  Bytes file = ThreeCommands().Build();
  CSnrBuffer buffer;
  ASSERT_TRUE(Load(buffer, file, "any phrase"));
  EXPECT_EQ(Bytes(buffer.GetData(), buffer.GetData() + buffer.GetSize()), file);
  EXPECT_STREQ(buffer.GetName(), "TEST");
  EXPECT_EQ(buffer.GetPos(), 0u);
  EXPECT_EQ(buffer.GetCmdID(), 5);
}

TEST(SnrBufferLoad, ScrambledFileNeedsItsPhrase) {
  Bytes file = ThreeCommands().Build();
  ASSERT_NE(file.size() % 32, 0u);  // the short last block is exercised too
  Bytes scrambled = file;
  snr::ScrambleBlocks(scrambled.data(), scrambled.size(), "Title");
  CSnrBuffer buffer;
  ASSERT_TRUE(Load(buffer, scrambled, "Title"));
  EXPECT_EQ(Bytes(buffer.GetData(), buffer.GetData() + buffer.GetSize()), file);
  EXPECT_FALSE(Load(buffer, scrambled, "Other title"));
  EXPECT_EQ(buffer.GetData(), nullptr);
  EXPECT_TRUE(buffer.IsFinish());
}

TEST(SnrBufferLoad, HeadersThatCannotBeValidFail) {
  CSnrBuffer buffer;
  EXPECT_FALSE(buffer.ReadMemory("X", "", 0, "K"));
  Bytes magicOnly(snr::kMagic, snr::kMagic + 16);
  EXPECT_FALSE(Load(buffer, magicOnly));
  // One byte short of the fixed header.
  Bytes file = SnrImage().Build();
  EXPECT_TRUE(Load(buffer, file));
  file.pop_back();
  EXPECT_FALSE(Load(buffer, file));
  // Label count and table sizes that run past the end, or wrap 32 bits.
  file = ThreeCommands().Build();
  Bytes bad = file;
  snr::Put32(bad.data() + snr::kLabelCountOffset, 1000);
  EXPECT_FALSE(Load(buffer, bad));
  bad = file;
  for (int k = 0; k < 256; ++k) snr::Put32(bad.data() + snr::kTableSizeOffset + 4 * k, 0x40000000);
  snr::Put32(bad.data() + snr::kLabelCountOffset, 0);
  EXPECT_FALSE(Load(buffer, bad));
  bad = file;
  snr::Put32(bad.data() + snr::kLabelCountOffset, 0xFFFFFFFF);
  EXPECT_FALSE(Load(buffer, bad));
}

TEST(SnrBufferLoad, TablesAndJumps) {
  CSnrBuffer buffer;
  ASSERT_TRUE(Load(buffer, ThreeCommands().Build()));
  EXPECT_EQ(buffer.GetLabelCount(), 2u);
  EXPECT_EQ(buffer.GetLoadPointCount(255), 2u);
  ASSERT_TRUE(buffer.JumpToLabel(0));
  EXPECT_EQ(buffer.GetPos(), 23u);
  EXPECT_EQ(buffer.GetCmdID(), 10000);
  ASSERT_TRUE(buffer.JumpToLoadPoint(0, 0));
  EXPECT_EQ(buffer.GetCmdID(), 3);
  ASSERT_TRUE(buffer.JumpToLoadPoint(255, 1));
  EXPECT_EQ(buffer.GetPos(), 23u);
  // Indices outside the tables leave the position alone.
  EXPECT_FALSE(buffer.JumpToLabel(2));
  EXPECT_FALSE(buffer.JumpToLabel(-1));
  EXPECT_FALSE(buffer.JumpToLoadPoint(0, 1));
  EXPECT_FALSE(buffer.JumpToLoadPoint(256, 0));
  EXPECT_FALSE(buffer.JumpToLoadPoint(1, 0));
  EXPECT_EQ(buffer.GetPos(), 23u);
}

TEST(SnrBufferLoad, OffsetsOutsideTheCommandAreaAreRefused) {
  SnrImage image = ThreeCommands();
  image.labels = {27, 28};  // the end itself, and one past it
  image.tables[3] = {0xFFFFFFF0};
  CSnrBuffer buffer;
  ASSERT_TRUE(Load(buffer, image.Build()));
  EXPECT_TRUE(buffer.JumpToLabel(0));
  EXPECT_TRUE(buffer.IsFinish());
  EXPECT_FALSE(buffer.JumpToLabel(1));
  EXPECT_FALSE(buffer.JumpToLoadPoint(3, 0));
  EXPECT_FALSE(buffer.SeekBegin(28));
  EXPECT_EQ(buffer.GetPos(), 27u);
}

TEST(SnrBufferLoad, WalkingToTheEnd) {
  CSnrBuffer buffer;
  ASSERT_TRUE(Load(buffer, ThreeCommands().Build()));
  std::vector<int> ids;
  while (!buffer.IsFinish()) {
    ids.push_back(buffer.GetCmdID());
    buffer.NextCommand();
  }
  EXPECT_EQ(ids, (std::vector<int>{5, 3, 10000}));
  EXPECT_EQ(buffer.GetCmdID(), CSnrBuffer::kNoCommand);
  EXPECT_EQ(buffer.GetNumParam(), 0);
  EXPECT_EQ(buffer.GetParamSize(), 0u);
  buffer.NextCommand();
  EXPECT_EQ(buffer.GetPos(), 27u);
}

TEST(SnrBufferLoad, RecordsCutShortByTheEndOfTheFile) {
  SnrImage image;
  Bytes p;
  snr::PutInt(p, 1);
  snr::PutInt(p, 2);
  Cmd(image, 7, p);
  Bytes file = image.Build();
  file.resize(file.size() - 3);  // the second literal loses 3 of its 4 bytes
  CSnrBuffer buffer;
  ASSERT_TRUE(Load(buffer, file));
  EXPECT_EQ(buffer.GetParamSize(), 7u);
  EXPECT_EQ(buffer.GetNumParam(), 2);
  const uint8_t* second = buffer.NextParam(buffer.GetParam());
  int32_t v;
  EXPECT_FALSE(buffer.CheckValueParam(second, v));
  EXPECT_EQ(buffer.GetValueParam(second), 0);
  buffer.NextCommand();
  EXPECT_TRUE(buffer.IsFinish());
  // A fragment too short for a record header is the end as well.
  file = image.Build();
  file.resize(file.size() - 12);
  ASSERT_TRUE(Load(buffer, file));
  EXPECT_TRUE(buffer.IsFinish());
  EXPECT_EQ(buffer.GetCmdID(), CSnrBuffer::kNoCommand);
}

}  // namespace
