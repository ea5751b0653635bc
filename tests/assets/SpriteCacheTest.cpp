#include "assets/SpriteCache.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "PictureTestUtil.h"
#include "TestDir.h"
#include "assets/DIBSprite.h"
#include "assets/FileJoin.h"

namespace {

constexpr int64_t kMiB = 1 << 20;

class SpriteCacheTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(dir.File("MGD"));
    ASSERT_TRUE(source.Initialize(dir.path().c_str(), "MGD", ".MGD"));
    cache.Initialize(&source);
  }
  // A flat picture of `bytes` pixel bytes (1024 pixels wide), SGD-coded so
  // that the file stays small.
  void Picture(const std::string& name, int64_t bytes) {
    int h = static_cast<int>(bytes / 4 / 1024);
    std::vector<uint32_t> px(static_cast<size_t>(1024) * h, 0xFF102030);
    dir.Write("MGD/" + name + ".MGD", PictureFile(px, 1024, h, kPictureSGD));
  }
  int SlotOf(CDIBSprite* s) {
    for (int i = 0; i < CSpriteCache::kSlotCount; ++i)
      if (s && cache.GetSlot(i).pSprite == s) return i;
    return -1;
  }
  bool Holds(const char* name) {
    for (int i = 0; i < CSpriteCache::kSlotCount; ++i) {
      const auto& slot = cache.GetSlot(i);
      if (slot.pSprite && std::string(reinterpret_cast<const char*>(slot.key)) == name) return true;
    }
    return false;
  }

  TestDir dir;
  CFileJoin source;
  CSpriteCache cache;
};

TEST_F(SpriteCacheTest, SameNameIsSharedAndCountedAndKeptAtZero) {
  Picture("A", 4 * kMiB);
  CDIBSprite* a = cache.Read("A");
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(cache.Read("A"), a);
  SpriteCacheSlot* slot = cache.GetDataID(a);
  ASSERT_NE(slot, nullptr);
  EXPECT_EQ(slot->nRef, 2);
  EXPECT_STREQ(reinterpret_cast<const char*>(slot->key), "A");
  EXPECT_EQ(slot->bOrigin, 0);
  EXPECT_EQ(cache.GetTotalBytes(), 4 * kMiB);
  cache.Free(a);
  cache.Free(a);
  EXPECT_EQ(cache.GetDataID(a)->nRef, 0);
  // Within budget nothing is deleted; a new Read returns the same picture
  // without touching the file.
  remove(dir.File("MGD/A.MGD").c_str());
  EXPECT_EQ(cache.Read("A"), a);
  EXPECT_EQ(cache.GetDataID(a)->nRef, 1);
  // A surplus Free stops at 0.
  cache.Free(a);
  cache.Free(a);
  EXPECT_EQ(cache.GetDataID(a)->nRef, 0);
  // Keys are the names as given.
  EXPECT_EQ(cache.Read("a"), nullptr);
}

TEST_F(SpriteCacheTest, ReadMovesToTheFront) {
  Picture("A", 4096);
  Picture("B", 4096);
  Picture("C", 4096);
  CDIBSprite* a = cache.Read("A");
  CDIBSprite* b = cache.Read("B");
  CDIBSprite* c = cache.Read("C");
  EXPECT_EQ(SlotOf(c), 0);
  EXPECT_EQ(SlotOf(b), 1);
  EXPECT_EQ(SlotOf(a), 2);
  EXPECT_EQ(cache.Read("A"), a);
  EXPECT_EQ(SlotOf(a), 0);
  EXPECT_EQ(SlotOf(c), 1);
  EXPECT_EQ(SlotOf(b), 2);
}

TEST_F(SpriteCacheTest, EvictionStartsAtTheLeastRecentlyUsedEndAndStopsBelowBudget) {
  for (const char* n : {"A", "B", "C", "D", "E", "F", "G"}) Picture(n, 4 * kMiB);
  std::vector<CDIBSprite*> held;
  for (const char* n : {"A", "B", "C", "D", "E"}) held.push_back(cache.Read(n));
  for (auto* s : held) ASSERT_NE(s, nullptr);
  EXPECT_EQ(cache.GetTotalBytes(), 20 * kMiB);
  // Exactly at budget: freeing evicts nothing.
  for (auto* s : held) cache.Free(s);
  for (const char* n : {"A", "B", "C", "D", "E"}) EXPECT_TRUE(Holds(n)) << n;
  // B is in use again; F pushes the total over budget.
  ASSERT_EQ(cache.Read("B"), held[1]);
  CDIBSprite* f = cache.Read("F");
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(cache.GetTotalBytes(), 24 * kMiB);
  cache.Free(f);
  // A goes first (least recently used); B is referenced and skipped; at
  // 20 MiB the total is not yet below budget, so C goes too; then it stops.
  EXPECT_FALSE(Holds("A"));
  EXPECT_TRUE(Holds("B"));
  EXPECT_FALSE(Holds("C"));
  for (const char* n : {"D", "E", "F"}) EXPECT_TRUE(Holds(n)) << n;
  EXPECT_EQ(cache.GetTotalBytes(), 16 * kMiB);
  cache.Free(held[1]);
}

TEST_F(SpriteCacheTest, ReferencedPicturesAreNeverEvicted) {
  for (const char* n : {"A", "B", "C", "D", "E", "F"}) Picture(n, 4 * kMiB);
  std::vector<CDIBSprite*> held;
  for (const char* n : {"A", "B", "C", "D", "E", "F"}) held.push_back(cache.Read(n));
  cache.Free(held[5]);
  // Only F was free; the total stays over budget.
  EXPECT_FALSE(Holds("F"));
  EXPECT_EQ(cache.GetTotalBytes(), 20 * kMiB);
  for (int i = 0; i < 5; ++i) cache.Free(held[i]);
}

TEST_F(SpriteCacheTest, AddKeysByNameAndRefusesANameAlreadyCached) {
  Picture("A", 4096);
  auto* caption = new CDIBSprite;
  ASSERT_TRUE(caption->Create(10, 10));
  caption->SetName("CAPTION");
  ASSERT_TRUE(cache.Add(caption));
  SpriteCacheSlot* slot = cache.GetDataID(caption);
  ASSERT_NE(slot, nullptr);
  EXPECT_EQ(slot->nRef, 1);
  EXPECT_EQ(slot->bOrigin, 1);
  EXPECT_EQ(SlotOf(caption), 0);
  EXPECT_EQ(cache.GetTotalBytes(), 400);
  EXPECT_EQ(cache.Read("CAPTION"), caption);
  CDIBSprite* a = cache.Read("A");
  CDIBSprite other;
  other.SetName("A");
  EXPECT_FALSE(cache.Add(&other));
  EXPECT_FALSE(cache.Add(nullptr));
  cache.Free(a);
  cache.Free(caption);
  cache.Free(caption);
  EXPECT_EQ(cache.GetDataID(&other), nullptr);
}

TEST_F(SpriteCacheTest, FailedReadsLeaveNoTrace) {
  dir.Write("MGD/BAD.MGD", "not a picture");
  EXPECT_EQ(cache.Read("BAD"), nullptr);
  EXPECT_EQ(cache.Read("MISSING"), nullptr);
  EXPECT_EQ(cache.Read(nullptr), nullptr);
  // Names longer than the 31 characters a key holds are refused.
  std::string longName(32, 'L');
  Picture(longName, 4096);
  EXPECT_EQ(cache.Read(longName.c_str()), nullptr);
  for (int i = 0; i < CSpriteCache::kSlotCount; ++i) EXPECT_EQ(cache.GetSlot(i).pSprite, nullptr);
  EXPECT_EQ(cache.GetTotalBytes(), 0);
  cache.Free(nullptr);
  EXPECT_EQ(cache.GetDataID(nullptr), nullptr);
}

TEST_F(SpriteCacheTest, AFullCacheReturnsNullAndReleaseEmptiesIt) {
  Picture("P", 4096);
  for (int i = 0; i < CSpriteCache::kSlotCount; ++i) {
    auto* s = new CDIBSprite;
    s->Create(1, 1);
    s->SetName(("X" + std::to_string(i)).c_str());
    ASSERT_TRUE(cache.Add(s));
  }
  EXPECT_EQ(cache.Read("P"), nullptr);
  CDIBSprite extra;
  extra.SetName("EXTRA");
  EXPECT_FALSE(cache.Add(&extra));
  cache.Release();
  EXPECT_EQ(cache.GetTotalBytes(), 0);
  for (int i = 0; i < CSpriteCache::kSlotCount; ++i) EXPECT_EQ(cache.GetSlot(i).pSprite, nullptr);
  CDIBSprite* p = cache.Read("P");
  ASSERT_NE(p, nullptr);
  cache.Free(p);
}

}  // namespace
