#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestDir.h"
#include "assets/FileJoin.h"
#include "ui/HitMap.h"
#include "ui/Input.h"

namespace {

std::string AsText(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

class HitMapReadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::vector<uint8_t> map(hitmap::kMapSize, 0);
    for (int x = 0; x < 400; ++x) map[10 * 800 + x] = 1;  // region 1 on row 10, left half
    map[599 * 800 + 799] = 255;
    good = hitmap::Encode(map.data());
    dir.Write("DATA/HIT1.BMP", AsText(good));
    std::vector<uint8_t> other(hitmap::kMapSize, 7);
    dir.Write("DATA/HIT2.BMP", AsText(hitmap::Encode(other.data())));
    std::vector<uint8_t> shortFile(good.begin(), good.end() - 1);
    dir.Write("DATA/SHORT.BMP", AsText(shortFile));
    std::vector<uint8_t> wide = good;
    wide[18] = 0x21;  // 801 wide
    wide[19] = 0x03;
    dir.Write("DATA/WIDE.BMP", AsText(wide));
    ASSERT_TRUE(join.Initialize(dir.path().c_str(), "DATA", ""));
    input.Initialize(nullptr, &join);
  }

  TestDir dir;
  CFileJoin join;
  CInput input;
  std::vector<uint8_t> good;
};

TEST_F(HitMapReadTest, RegionsAreReadThroughTheDataSource) {
  EXPECT_EQ(input.GetHitMapNo("HIT1.BMP", 399, 10), 1);
  EXPECT_EQ(input.GetHitMapNo("HIT1.BMP", 400, 10), 0);
  EXPECT_EQ(input.GetHitMapNo("HIT1.BMP", 0, 11), 0);
  EXPECT_EQ(input.GetHitMapNo("HIT1.BMP", 799, 599), 255);
  EXPECT_NE(input.mpHitMap[0], nullptr);

  // Switching files keeps only the file asked last.
  EXPECT_EQ(input.GetHitMapNo("HIT2.BMP", 5, 5), 7);
  int loaded = 0;
  for (uint8_t* map : input.mpHitMap) loaded += map != nullptr;
  EXPECT_EQ(loaded, 1);
  EXPECT_EQ(input.GetHitMapNo("HIT1.BMP", 399, 10), 1);
}

TEST_F(HitMapReadTest, BadFilesAreRefusedLikeMissingOnes) {
  for (const char* name : {"SHORT.BMP", "WIDE.BMP", "NONE.BMP"}) {
    EXPECT_FALSE(input.ReadHitMap(name)) << name;
    EXPECT_EQ(input.GetHitMapNo(name, 1, 1), -1) << name;
  }
  for (uint8_t* map : input.mpHitMap) EXPECT_EQ(map, nullptr);
}

TEST_F(HitMapReadTest, ReadingIsRefusedWhenEverySlotIsTaken) {
  for (int i = 0; i < CInput::kHitSlots; ++i) {
    input.mpHitMap[i] = new uint8_t[hitmap::kMapSize];
    snprintf(input.mszHitName[i], CInput::kHitNameSize, "SLOT%d", i);
  }
  EXPECT_FALSE(input.ReadHitMap("HIT1.BMP"));
  EXPECT_TRUE(input.ReadHitMap("SLOT200"));
}

}  // namespace
