#include "ui/HitMap.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "ui/Input.h"

namespace {

// A map whose value depends on the position, so flips and shifts show.
std::vector<uint8_t> Pattern() {
  std::vector<uint8_t> map(hitmap::kMapSize);
  for (int y = 0; y < hitmap::kHeight; ++y)
    for (int x = 0; x < hitmap::kWidth; ++x) map[y * hitmap::kWidth + x] = static_cast<uint8_t>(x * 7 + y * 3);
  return map;
}

void Put32(std::vector<uint8_t>& f, size_t at, int32_t v) {
  for (int i = 0; i < 4; ++i) f[at + i] = static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i));
}

TEST(HitMapTest, BottomUpFilesAreFlippedAndTopDownFilesAreNot) {
  std::vector<uint8_t> map = Pattern();
  std::vector<uint8_t> file = hitmap::Encode(map.data());
  ASSERT_EQ(file.size(), hitmap::kPixelOffset + hitmap::kMapSize);
  std::vector<uint8_t> back(hitmap::kMapSize, 0xEE);
  ASSERT_TRUE(hitmap::Decode(file.data(), file.size(), back.data()));
  EXPECT_EQ(back, map);
  // The first stored row of a bottom-up file is the bottom row of the map.
  EXPECT_EQ(0, memcmp(file.data() + hitmap::kPixelOffset, map.data() + 599 * 800, 800));

  // The same bytes declared top-down (height -600) come out unflipped.
  Put32(file, 22, -600);
  ASSERT_TRUE(hitmap::Decode(file.data(), file.size(), back.data()));
  EXPECT_EQ(0, memcmp(back.data(), file.data() + hitmap::kPixelOffset, hitmap::kMapSize));
  EXPECT_EQ(back[0], map[599 * 800]);
}

TEST(HitMapTest, PixelsStartAt1078WhateverTheOffsetFieldSays) {
  std::vector<uint8_t> map = Pattern();
  std::vector<uint8_t> file = hitmap::Encode(map.data());
  Put32(file, 10, 54);
  std::vector<uint8_t> back(hitmap::kMapSize);
  ASSERT_TRUE(hitmap::Decode(file.data(), file.size(), back.data()));
  EXPECT_EQ(back, map);
}

TEST(HitMapTest, AnythingButAn8Bit800x600BitmapIsRefused) {
  std::vector<uint8_t> map = Pattern();
  const std::vector<uint8_t> good = hitmap::Encode(map.data());
  struct Case {
    const char* what;
    size_t at;
    int32_t value;
    int bytes;
  } cases[] = {
      {"801 wide", 18, 801, 4}, {"24 bits", 28, 24, 2},  {"599 rows", 22, 599, 4},
      {"601 rows", 22, -601, 4}, {"no magic", 0, 'X', 1}, {"zero width", 18, 0, 4},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> file = good;
    for (int i = 0; i < c.bytes; ++i) file[c.at + i] = static_cast<uint8_t>(static_cast<uint32_t>(c.value) >> (8 * i));
    std::vector<uint8_t> back(hitmap::kMapSize, 0xEE);
    EXPECT_FALSE(hitmap::Decode(file.data(), file.size(), back.data())) << c.what;
    EXPECT_EQ(back[0], 0xEE) << c.what;
  }
  for (size_t size : {size_t{0}, size_t{14}, size_t{1078}, good.size() - 1}) {
    std::vector<uint8_t> back(hitmap::kMapSize);
    EXPECT_FALSE(hitmap::Decode(good.data(), size, back.data())) << size;
  }
}

// Puts a map into the input object's cache as if it had been read.
void Preload(CInput& input, int slot, const char* name, uint8_t value) {
  input.mpHitMap[slot] = new uint8_t[hitmap::kMapSize];
  memset(input.mpHitMap[slot], value, hitmap::kMapSize);
  strncpy(input.mszHitName[slot], name, CInput::kHitNameSize - 1);
}

TEST(HitMapTest, QueriesKeepOnlyTheQueriedMap) {
  CInput input;
  Preload(input, 0, "HIT_A", 1);
  Preload(input, 1, "HIT_B", 2);
  Preload(input, 7, "HIT_C", 3);
  input.mpHitMap[1][599 * 800 + 799] = 9;

  // Out of the client area: no answer, and the cache is left alone.
  EXPECT_EQ(input.GetHitMapNo("HIT_B", 10, 600), -1);
  EXPECT_EQ(input.GetHitMapNo("HIT_B", 800, 0), -1);
  EXPECT_EQ(input.GetHitMapNo("HIT_B", -1, 0), -1);
  EXPECT_NE(input.mpHitMap[0], nullptr);
  EXPECT_NE(input.mpHitMap[7], nullptr);

  EXPECT_EQ(input.GetHitMapNo("HIT_B", 799, 599), 9);
  EXPECT_EQ(input.mpHitMap[0], nullptr);
  EXPECT_EQ(input.mpHitMap[7], nullptr);
  EXPECT_EQ(input.mszHitName[0][0], 0);
  ASSERT_NE(input.mpHitMap[1], nullptr);

  // Names match exactly: another case is another file (none can be read here).
  EXPECT_EQ(input.GetHitMapNo("hit_b", 0, 0), -1);
  EXPECT_EQ(input.GetHitMapNo("", 0, 0), -1);
  EXPECT_EQ(input.GetHitMapNo(nullptr, 0, 0), -1);
  EXPECT_EQ(input.GetHitMapNo("A_NAME_OF_THIRTY_TWO_CHARACTERS_", 0, 0), -1);

  input.mptMouse = plat::POINT{3, 4};
  EXPECT_EQ(input.GetHitMapNo("HIT_B"), 2);
  input.Release();
  EXPECT_EQ(input.mpHitMap[1], nullptr);
}

}  // namespace
