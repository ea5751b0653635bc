#include <cstring>

#include "app/core/MainWindow.h"
#include "app/core/Trace.h"
#include "save/GameFile.h"
#include "save/SaveData.h"

#if __has_include("assets/SpriteCache.h")
#include "assets/SpriteCache.h"
#define VELTO_SAVE_HAS_CACHE 1
#endif

#ifdef VELTO_SAVE_HAS_CACHE

void CSaveData::FreePictures() {
  Trace("CSaveData::FreePictures");
  CSpriteCache* cache = gpMainWindow ? gpMainWindow->mpSpriteCache : nullptr;
  for (CDIBSprite*& p : mpPicture) {
    if (p && cache) cache->Free(p);
    p = nullptr;
  }
}

void CSaveData::StorePictures(SavedGame& game) const {
  Trace("CSaveData::StorePictures");
  CSpriteCache* cache = gpMainWindow ? gpMainWindow->mpSpriteCache : nullptr;
  for (int i = 0; i < kSlotCount; ++i) {
    memset(game.picture[i], 0, kNameLen);
    if (!mpPicture[i] || !cache) continue;
    if (const SpriteCacheSlot* slot = cache->GetDataID(mpPicture[i]))
      memcpy(game.picture[i], slot->key, sizeof slot->key);
  }
}

void CSaveData::LoadPictures(const SavedGame& game) {
  Trace("CSaveData::LoadPictures");
  FreePictures();
  CSpriteCache* cache = gpMainWindow ? gpMainWindow->mpSpriteCache : nullptr;
  if (!cache) return;
  for (int i = 0; i < kSlotCount; ++i)
    if (game.picture[i][0]) mpPicture[i] = cache->Read(game.picture[i]);
}

#else  // The picture cache is not part of this build yet: no slot can hold a picture.

void CSaveData::FreePictures() {
  Trace("CSaveData::FreePictures");
  for (CDIBSprite*& p : mpPicture) p = nullptr;
}

void CSaveData::StorePictures(SavedGame& game) const {
  Trace("CSaveData::StorePictures");
  memset(game.picture, 0, sizeof game.picture);
}

void CSaveData::LoadPictures(const SavedGame&) {
  Trace("CSaveData::LoadPictures");
  FreePictures();
}

#endif
