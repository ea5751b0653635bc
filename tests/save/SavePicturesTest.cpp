#include <gtest/gtest.h>

#include <cstring>

#include "SaveFixture.h"
#include "assets/DIBSprite.h"
#include "assets/SpriteCache.h"

namespace {

// A cache without a picture source, holding pictures made here.
class SavePicturesTest : public SaveTest {
 protected:
  void SetUp() override {
    SaveTest::SetUp();
    mCache.Initialize(nullptr);
    mWindow.mpSpriteCache = &mCache;
  }
  void TearDown() override {
    mCache.Release();
    SaveTest::TearDown();
  }
  // Adds a uniform picture and drops the reference Add gave, so it stays
  // cached without a user.
  CDIBSprite* Picture(const char* name, uint32_t color, int w = 80, int h = 60) {
    auto* p = new CDIBSprite;
    p->Create(w, h);
    p->SetName(name);
    p->FillFull(color);
    EXPECT_TRUE(mCache.Add(p));
    mCache.Free(p);
    return p;
  }
  int Refs(CDIBSprite* p) { return mCache.GetDataID(p)->nRef; }

  CSpriteCache mCache;
};

TEST_F(SavePicturesTest, PictureSlotsAreSavedByNameAndTakenBackFromTheCache) {
  CDIBSprite* bg = Picture("BG01", 0xFF0000FFu);
  auto s = Fresh();
  s->mpPicture[3] = mCache.Read("BG01");
  ASSERT_TRUE(s->SaveGame(6));
  std::string f = mDir.Read("SAVE/GAME06.SAV");
  EXPECT_STREQ(f.c_str() + 20752 + 76800 + 3 * 64, "BG01");

  auto t = Fresh();
  t->mpPicture[9] = mCache.Read("BG01");  // a slot the saved game leaves empty
  EXPECT_EQ(Refs(bg), 2);
  ASSERT_TRUE(t->LoadGame(6));
  EXPECT_EQ(t->mpPicture[3], bg);
  EXPECT_EQ(t->mpPicture[9], nullptr);
  EXPECT_EQ(Refs(bg), 2);
  t->Release();
  s->Release();
  EXPECT_EQ(Refs(bg), 0);
}

TEST_F(SavePicturesTest, PictureThumbnailIsStretchedFromTheNamedPicture) {
  CDIBSprite* pic = Picture("SUM01", 0xFF204060u, 320, 240);
  auto s = Fresh();
  s->mSumType = 40;
  strcpy(s->mSumParam, "SUM01");
  ASSERT_TRUE(s->CreateSaveSum(nullptr));
  const uint32_t* p = s->mpSumImage->GetPixels();
  for (int i = 0; i < 160 * 120; ++i) ASSERT_EQ(p[i], 0xFF204060u) << i;
  EXPECT_EQ(Refs(pic), 0);  // given back
}

}  // namespace
