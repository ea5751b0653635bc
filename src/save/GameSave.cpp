#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#include "app/core/Trace.h"
#include "assets/DIBImage.h"
#include "platform/FileReplace.h"
#include "platform/Paths.h"
#include "save/GameFile.h"
#include "save/SaveData.h"
#include "save/SaveDigest.h"
#include "save/SaveFileIO.h"
#include "save/SaveFolder.h"

namespace {

// The largest file the reader accepts: the biggest thumbnail and state.
constexpr size_t kMaxGameSize = kGameFixedSize + size_t{kMaxSumSide} * kMaxSumSide * 4 + kStateBufSize;

std::string SlotName(int slot) {
  char name[32];
  snprintf(name, sizeof name, "GAME%02d.SAV", slot);
  return name;
}

// The saved game of a slot, read whole; empty when there is none.
bool ReadSlot(int slot, std::vector<uint8_t>& bytes) {
  if (slot < 0) return false;
  std::string path = save::FindSaveFile(SlotName(slot));
  return !path.empty() && save::ReadWholeFile(path, kMaxGameSize, bytes);
}

}  // namespace

bool CSaveData::SaveGame(int slot) {
  Trace("CSaveData::SaveGame");
  if (slot < 0) return false;
  std::string folder = save::SaveFolderForWrite();
  if (!IsExistFile(folder.c_str()) && !CreateDirectoryA(folder.c_str())) return false;
  auto game = std::make_unique<SavedGame>();
  memcpy(game->subTitle, mszSubTitle, sizeof game->subTitle);
  game->subTitle[kNameLen - 1] = 0;
  if (mpSumImage && mpSumImage->GetPixels()) {
    game->sumWidth = mpSumImage->GetWidth();
    game->sumHeight = mpSumImage->GetHeight();
    const uint32_t* px = mpSumImage->GetPixels();
    game->sumPixels.assign(px, px + static_cast<size_t>(game->sumWidth) * game->sumHeight);
  }
  memcpy(game->variable, mVariable, sizeof game->variable);
  memcpy(game->snrName, mszSnrName, sizeof game->snrName);
  memcpy(game->strVariable, mStrVariable, sizeof game->strVariable);
  StorePictures(*game);
  memcpy(game->bgmList, mBGMList, sizeof game->bgmList);
  StoreSound(*game);
  memcpy(game->voiceList, mVoiceList, sizeof game->voiceList);
  if (mpStateBuf) game->state.assign(mpStateBuf, mpStateBuf + std::min(mdwStateSize, kStateBufSize));
  std::vector<uint8_t> bytes = BuildGameFile(*game, SavePhrase(), &SaveHexDigest);
  std::string path = plat::ResolveCaseInsensitive(folder + "/", SlotName(slot));
  if (path.empty()) path = folder + "/" + SlotName(slot);
  if (!plat::WriteFileReplacing(path, bytes.data(), bytes.size())) return false;
  // A fixed-step run dates its saves by its own clock: the save list shows
  // the same time on every run. A time that cannot be set leaves the
  // system's, and the save stands.
  save::StampRunTime(path);
  return true;
}

bool CSaveData::LoadGame(int slot) {
  Trace("CSaveData::LoadGame");
  if (!mpStateBuf) return false;
  std::vector<uint8_t> bytes;
  if (!ReadSlot(slot, bytes)) return false;
  // Everything is checked and decoded before anything is changed.
  auto game = std::make_unique<SavedGame>();
  if (ParseGameFile(bytes.data(), bytes.size(), SavePhrase(), &SaveHexDigest, *game) != GameFileError::kNone)
    return false;
  if (!game->sumPixels.empty()) {
    auto image = std::make_unique<CDIBImage>();
    image->Create(game->sumWidth, game->sumHeight);
    if (!image->GetPixels()) return false;
    memcpy(image->GetPixels(), game->sumPixels.data(), game->sumPixels.size() * 4);
    delete mpSumImage;
    mpSumImage = image.release();
  }
  memcpy(mszSubTitle, game->subTitle, sizeof mszSubTitle);
  memcpy(mVariable, game->variable, sizeof game->variable);
  memcpy(mszSnrName, game->snrName, sizeof mszSnrName);
  memcpy(mStrVariable, game->strVariable, sizeof mStrVariable);
  LoadPictures(*game);
  memcpy(mBGMList, game->bgmList, sizeof mBGMList);
  memcpy(mVoiceList, game->voiceList, sizeof mVoiceList);
  RestartSound(*game);
  mdwStateSize = static_cast<uint32_t>(game->state.size());
  if (mdwStateSize) memcpy(mpStateBuf, game->state.data(), mdwStateSize);
  return true;
}

bool CSaveData::GetSubTitle(int slot, char* subTitle, CDIBImage** image, uint64_t* time) {
  Trace("CSaveData::GetSubTitle");
  if (subTitle) subTitle[0] = 0;
  if (image) *image = nullptr;
  if (time) *time = 0;
  if (slot < 0) return false;
  std::string path = save::FindSaveFile(SlotName(slot));
  std::vector<uint8_t> bytes;
  if (path.empty() || !save::ReadWholeFile(path, kMaxGameSize, bytes)) return false;
  GameHead head;
  if (ParseGameHead(bytes.data(), bytes.size(), SavePhrase(), &SaveHexDigest, image != nullptr, head) !=
      GameFileError::kNone)
    return false;
  if (image && head.sumSize) {
    auto made = std::make_unique<CDIBImage>();
    made->Create(head.sumWidth, head.sumHeight);
    if (!made->GetPixels()) return false;
    memcpy(made->GetPixels(), head.sumPixels.data(), head.sumSize);
    *image = made.release();
  }
  if (subTitle) memcpy(subTitle, head.subTitle, kNameLen);
  if (time) *time = save::FileWriteTime(path);
  return true;
}
