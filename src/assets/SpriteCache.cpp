#include "assets/SpriteCache.h"

#include <cstring>

#include "app/core/Trace.h"
#include "assets/DIBSprite.h"

CSpriteCache::~CSpriteCache() {
  Trace("CSpriteCache::~CSpriteCache");
  CSpriteCache::Release();
}

bool CSpriteCache::Initialize(CFileJoin* source) {
  Trace("CSpriteCache::Initialize");
  mpArchive = source;
  return true;
}

bool CSpriteCache::MakeKey(const char* name, uint32_t key[8]) {
  Trace("CSpriteCache::MakeKey");
  char bytes[32] = {};
  size_t length = name ? strnlen(name, 32) : 32;
  // Longer names would not fit the key; they are refused rather than cut,
  // which could hand out another picture.
  if (length > 31) return false;
  memcpy(bytes, name, length);
  memcpy(key, bytes, 32);
  return true;
}

int64_t CSpriteCache::BytesOf(const CDIBSprite* sprite) {
  Trace("CSpriteCache::BytesOf");
  return static_cast<int64_t>(sprite->GetWidth()) * sprite->GetHeight() * 4;
}

int CSpriteCache::FindKey(const uint32_t key[8]) const {
  Trace("CSpriteCache::FindKey");
  for (int i = 0; i < kSlotCount; ++i) {
    const SpriteCacheSlot& s = mSlots[i];
    if (!s.pSprite) continue;
    bool same = true;
    for (int w = 0; w < 8 && same; ++w) same = s.key[w] == key[w];
    if (same) return i;
  }
  return -1;
}

int CSpriteCache::FirstEmpty() const {
  Trace("CSpriteCache::FirstEmpty");
  for (int i = 0; i < kSlotCount; ++i)
    if (!mSlots[i].pSprite) return i;
  return -1;
}

void CSpriteCache::MoveToFront(int index) {
  Trace("CSpriteCache::MoveToFront");
  SpriteCacheSlot moved = mSlots[index];
  for (int i = index; i > 0; --i) mSlots[i] = mSlots[i - 1];
  mSlots[0] = moved;
}

CDIBSprite* CSpriteCache::Read(const char* name) {
  Trace("CSpriteCache::Read");
  uint32_t key[8];
  if (!MakeKey(name, key)) return nullptr;
  int index = FindKey(key);
  if (index < 0) {
    index = FirstEmpty();
    if (index < 0) return nullptr;
    auto* sprite = new CDIBSprite;
    if (!sprite->Read(mpArchive, name)) {
      delete sprite;
      return nullptr;
    }
    SpriteCacheSlot& s = mSlots[index];
    s = SpriteCacheSlot{};
    memcpy(s.key, key, sizeof key);
    s.pSprite = sprite;
    s.bOrigin = 0;
    mTotalBytes += BytesOf(sprite);
  }
  ++mSlots[index].nRef;
  MoveToFront(index);
  return mSlots[0].pSprite;
}

bool CSpriteCache::Add(CDIBSprite* sprite) {
  Trace("CSpriteCache::Add");
  uint32_t key[8];
  if (!sprite || !MakeKey(sprite->GetName(), key) || FindKey(key) >= 0) return false;
  int index = FirstEmpty();
  if (index < 0) return false;
  SpriteCacheSlot& s = mSlots[index];
  memcpy(s.key, key, sizeof key);
  s.pSprite = sprite;
  s.nRef = 1;
  s.bOrigin = 1;
  mTotalBytes += BytesOf(sprite);
  MoveToFront(index);
  return true;
}

void CSpriteCache::Free(CDIBSprite* sprite) {
  Trace("CSpriteCache::Free");
  if (!sprite) return;
  for (auto& s : mSlots) {
    if (s.pSprite != sprite) continue;
    // A surplus Free must not push the count below 0, where the picture
    // could never be evicted again.
    if (s.nRef > 0) --s.nRef;
    break;
  }
  if (mTotalBytes <= kBudgetBytes) return;
  for (int i = kSlotCount - 1; i >= 0; --i) {
    SpriteCacheSlot& s = mSlots[i];
    if (!s.pSprite || s.nRef != 0) continue;
    mTotalBytes -= BytesOf(s.pSprite);
    delete s.pSprite;
    s = SpriteCacheSlot{};
    if (mTotalBytes < kBudgetBytes) break;
  }
}

SpriteCacheSlot* CSpriteCache::GetDataID(CDIBSprite* sprite) {
  Trace("CSpriteCache::GetDataID");
  if (!sprite) return nullptr;
  for (auto& s : mSlots)
    if (s.pSprite == sprite) return &s;
  return nullptr;
}

void CSpriteCache::Release() {
  Trace("CSpriteCache::Release");
  for (auto& s : mSlots) {
    delete s.pSprite;
    s = SpriteCacheSlot{};
  }
  mTotalBytes = 0;
}
