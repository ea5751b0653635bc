#include <cstring>

#include "app/core/MainWindow.h"
#include "app/core/Trace.h"
#include "assets/SpriteCache.h"
#include "save/GameFile.h"
#include "save/SaveData.h"

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
