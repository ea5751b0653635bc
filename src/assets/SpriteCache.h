// The picture cache: pictures shared by file name, handed out with a
// reference count and kept after their last user lets go until the memory
// budget is exceeded. Slots are kept in most-recently-used order.
#pragma once
#include <cstdint>

class CDIBSprite;
class CFileJoin;

struct SpriteCacheSlot {
  uint32_t key[8] = {};  // the file name, NUL-padded to 32 bytes
  CDIBSprite* pSprite = nullptr;  // null: empty slot
  int32_t nRef = 0;
  uint8_t bOrigin = 0;  // 0 = read by the cache, 1 = handed in by Add
};

class CSpriteCache {
 public:
  static constexpr int kSlotCount = 256;
  static constexpr int64_t kBudgetBytes = 0x1400000;  // 20 MiB of pixels

  CSpriteCache() = default;
  virtual ~CSpriteCache();
  CSpriteCache(const CSpriteCache&) = delete;
  CSpriteCache& operator=(const CSpriteCache&) = delete;

  // `source` is the picture source; the cache does not own it.
  virtual bool Initialize(CFileJoin* source);
  // The shared picture of `name` (at most 31 characters), read on first
  // use; null when it cannot be read or every slot is taken.
  virtual CDIBSprite* Read(const char* name);
  // Takes a picture made elsewhere, keyed by its name, with one reference;
  // false when that name is cached already or no slot is free (the caller
  // keeps the picture then).
  virtual bool Add(CDIBSprite* sprite);
  // Gives one reference back; over budget, unreferenced pictures are
  // deleted from the least recently used end.
  virtual void Free(CDIBSprite* sprite);
  // The slot holding `sprite` (its key is the file name, NUL-terminated),
  // or null. Slots move on every Read and Add: use the result at once.
  virtual SpriteCacheSlot* GetDataID(CDIBSprite* sprite);
  // Deletes every picture and empties every slot.
  virtual void Release();

  int64_t GetTotalBytes() const { return mTotalBytes; }
  const SpriteCacheSlot& GetSlot(int index) const { return mSlots[index]; }

 private:
  static bool MakeKey(const char* name, uint32_t key[8]);
  static int64_t BytesOf(const CDIBSprite* sprite);
  int FindKey(const uint32_t key[8]) const;
  int FirstEmpty() const;
  void MoveToFront(int index);

  CFileJoin* mpArchive = nullptr;
  SpriteCacheSlot mSlots[kSlotCount];
  // 64-bit so that many large pictures cannot wrap it.
  int64_t mTotalBytes = 0;
};
