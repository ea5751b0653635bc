// Setup-table records and the saved position.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "SnrTestFile.h"

using namespace snrtest;
using snr::SnrImage;

namespace {

// Setup file: (1,0) flag, number, text; (2,0) a list of three; (3,text) a record
// whose second key is a text.
Bytes SetupFile() {
  SnrImage image;
  auto def = [&](std::vector<int> ints, const char* text = nullptr) {
    Bytes p;
    for (int v : ints) snr::PutInt(p, v);
    if (text) snr::PutStr(p, text);
    Cmd(image, 0, p);
  };
  Cmd(image, 5);
  def({1, 0, 7, -12}, "PICTURE");
  def({2, 0, 10});
  def({9, 9});
  def({2, 0, 20});
  def({2, 0, 30});
  def({3}, "NOT A NUMBER");
  Cmd(image, 0, [] { Bytes p; snr::PutInt(p, 4); return p; }());  // one key only
  return image.Build();
}

TEST(SnrBufferSetup, ReadsOneRecordByItsKeys) {
  CSnrBuffer buffer;
  ASSERT_TRUE(Load(buffer, SetupFile()));
  bool flag = false;
  int32_t number = 0;
  char text[16] = "default";
  ASSERT_TRUE(buffer.GetSetupParam(1, 0, "BNS", &flag, &number, text));
  EXPECT_TRUE(flag);
  EXPECT_EQ(number, -12);
  EXPECT_STREQ(text, "PICTURE");
  EXPECT_EQ(buffer.GetPos(), 4u);  // stays on the record found
  // Lower-case letters read the same; an empty signature succeeds.
  uint8_t byte = 9;
  EXPECT_TRUE(buffer.GetSetupParam(1, 0, "bn", &byte, &number));
  EXPECT_EQ(byte, 1);
  EXPECT_TRUE(buffer.GetSetupParam(1, 0, ""));
}

TEST(SnrBufferSetup, RecordsBeforeThePositionAreFoundOnlyAfterSeekingBack) {
  CSnrBuffer buffer;
  ASSERT_TRUE(Load(buffer, SetupFile()));
  int32_t v = 0;
  ASSERT_TRUE(buffer.GetSetupParam(2, 0, "N", &v));
  buffer.NextCommand();
  EXPECT_FALSE(buffer.GetSetupParam(1, 0, "N", &v));
  EXPECT_TRUE(buffer.IsFinish());
  buffer.SeekBegin(0);
  EXPECT_TRUE(buffer.GetSetupParam(1, 0, "N", &v));
}

TEST(SnrBufferSetup, ListsAreReadByWalkingFromTheStart) {
  CSnrBuffer buffer;
  ASSERT_TRUE(Load(buffer, SetupFile()));
  std::vector<int32_t> list;
  buffer.SeekBegin(0);
  while (!buffer.IsFinish()) {
    int32_t v;
    if (buffer.GetSetupParam(2, 0, "N", &v)) list.push_back(v);
    buffer.NextCommand();
  }
  EXPECT_EQ(list, (std::vector<int32_t>{10, 20, 30}));
}

TEST(SnrBufferSetup, MismatchesStopAndKeepWhatWasFilled) {
  CSnrBuffer buffer;
  ASSERT_TRUE(Load(buffer, SetupFile()));
  int32_t a = 0, b = 55;
  char text[8] = "keep";
  EXPECT_FALSE(buffer.GetSetupParam(1, 0, "NNN", &a, &b, &b));  // one letter too many
  EXPECT_EQ(a, 7);
  buffer.SeekBegin(0);
  a = 0;
  EXPECT_FALSE(buffer.GetSetupParam(1, 0, "NS", &a, text));  // the second is a number
  EXPECT_EQ(a, 7);
  EXPECT_STREQ(text, "keep");
  buffer.SeekBegin(0);
  EXPECT_FALSE(buffer.GetSetupParam(1, 0, "X", &a));
  buffer.SeekBegin(0);
  EXPECT_FALSE(buffer.GetSetupParam(1, 0, "NN", &a));  // fewer destinations than letters
  buffer.SeekBegin(0);
  EXPECT_FALSE(buffer.GetSetupParam(1, 0, "SN", &a, text));  // a destination of the wrong kind
  // Keys that are texts never match, and a record with one key is no match.
  buffer.SeekBegin(0);
  EXPECT_FALSE(buffer.GetSetupParam(3, 0, ""));
  buffer.SeekBegin(0);
  EXPECT_FALSE(buffer.GetSetupParam(4, 0, ""));
}

TEST(SnrBufferSetup, TextDestinationsAreNeverOverrun) {
  CSnrBuffer buffer;
  ASSERT_TRUE(Load(buffer, SetupFile()));
  bool flag;
  int32_t n;
  char small[4];
  ASSERT_TRUE(buffer.GetSetupParam(1, 0, "BNS", &flag, &n, small));
  EXPECT_STREQ(small, "PIC");
  char wide[32];
  buffer.SeekBegin(0);
  ASSERT_TRUE(buffer.GetSetupParam(1, 0, "BNS", &flag, &n, snr::SetupText{wide + 10, 3}));
  EXPECT_STREQ(wide + 10, "PI");
}

TEST(SnrBufferSave, PositionRoundTripsThroughSaveAndLoad) {
  MemorySnrBuffer buffer;
  buffer.mFileName = "STORY";
  buffer.mFile = SetupFile();
  ASSERT_TRUE(buffer.Read("STORY"));
  buffer.NextCommand();
  buffer.NextCommand();
  uint32_t pos = buffer.GetPos();
  uint8_t record[CSnrBuffer::kSaveSizeMax];
  uint8_t* end = buffer.Save(record);
  ASSERT_EQ(end - record, 72);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(record)), "STORY");

  MemorySnrBuffer other;
  other.mFileName = "STORY";
  other.mFile = buffer.mFile;
  EXPECT_EQ(other.Load(record, 72), record + 72);
  EXPECT_EQ(other.GetPos(), pos);
  EXPECT_STREQ(other.GetName(), "STORY");
}

TEST(SnrBufferSave, DamagedRecordsAreRefused) {
  MemorySnrBuffer buffer;
  buffer.mFileName = "STORY";
  buffer.mFile = SetupFile();
  ASSERT_TRUE(buffer.Read("STORY"));
  uint8_t good[CSnrBuffer::kSaveSizeMax];
  buffer.Save(good);
  EXPECT_EQ(buffer.Load(good, 71), nullptr);
  uint8_t bad[CSnrBuffer::kSaveSizeMax];
  memcpy(bad, good, 72);
  snr::Put32(bad + 64, 3);  // inside the header
  EXPECT_EQ(buffer.Load(bad, 72), nullptr);
  snr::Put32(bad + 64, buffer.GetSize() + 1);
  EXPECT_EQ(buffer.Load(bad, 72), nullptr);
  memcpy(bad, good, 72);
  snr::Put32(bad + 68, 257);
  EXPECT_EQ(buffer.Load(bad, sizeof bad), nullptr);
  snr::Put32(bad + 68, 2);  // two return positions, but only one present
  snr::Put32(bad + 72, buffer.GetSize());
  EXPECT_EQ(buffer.Load(bad, 76), nullptr);
  snr::Put32(bad + 76, buffer.GetSize());
  EXPECT_EQ(buffer.Load(bad, 80), bad + 80);
  // A name without a terminator is cut, not run past.
  memset(bad, 'A', 64);
  EXPECT_EQ(buffer.Load(bad, 80), nullptr);
}

// A type byte outside 1–5 is a parameter of one byte whose value is 0 and
// which is not a text: a record holding one matches and reads as such.
TEST(SnrBufferSetup, ParametersOfOtherTypesReadAsZero) {
  SnrImage image;
  Bytes p;
  p.push_back(0x00);  // first key: value 0
  snr::PutInt(p, 6);
  p.push_back(0x07);
  snr::PutInt(p, 55);
  p.push_back(0xFF);
  Cmd(image, 0, p);
  CSnrBuffer buffer;
  ASSERT_TRUE(Load(buffer, image.Build()));
  int32_t first = -1, second = -1;
  uint8_t flag = 9;
  ASSERT_TRUE(buffer.GetSetupParam(0, 6, "NNB", &first, &second, &flag));
  EXPECT_EQ(first, 0);
  EXPECT_EQ(second, 55);
  EXPECT_EQ(flag, 0);
  char text[8] = "keep";
  EXPECT_FALSE(buffer.GetSetupParam(0, 6, "S", text)) << "no text";
  EXPECT_STREQ(text, "keep");
}

}  // namespace
