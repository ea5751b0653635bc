#include "screens/SaveSlot.h"

#include <cstdio>
#include <ctime>
#include <memory>
#include <vector>

#include "app/core/Trace.h"
#include "assets/DIBImage.h"
#include "platform/Timer.h"
#include "save/GameFile.h"
#include "save/SaveData.h"
#include "save/SaveDigest.h"
#include "save/SaveFileIO.h"
#include "save/SaveFolder.h"

namespace screens {

namespace {

// The largest saved game: the biggest thumbnail and state record.
constexpr size_t kMaxGameSize = kGameFixedSize + size_t{kMaxSumSide} * kMaxSumSide * 4 + kStateBufSize;

// The whole file parses: the head alone can be sound in a file cut short or
// damaged further on, which the load would then refuse.
bool WholeFileReads(int slot) {
  char name[32];
  snprintf(name, sizeof name, "GAME%02d.SAV", slot);
  const std::string path = save::FindSaveFile(name);
  std::vector<uint8_t> bytes;
  if (path.empty() || !save::ReadWholeFile(path, kMaxGameSize, bytes)) return false;
  auto game = std::make_unique<SavedGame>();
  return ParseGameFile(bytes.data(), bytes.size(), SavePhrase(), &SaveHexDigest, *game) == GameFileError::kNone;
}

}  // namespace

bool ReadSaveSlot(int slot, char* subTitle, CDIBImage** thumbnail, uint64_t* fileTime) {
  Trace("ReadSaveSlot");
  if (!CSaveData::GetSubTitle(slot, subTitle, thumbnail, fileTime)) return false;
  if (WholeFileReads(slot)) return true;
  if (subTitle) subTitle[0] = 0;
  if (thumbnail) {
    delete *thumbnail;
    *thumbnail = nullptr;
  }
  if (fileTime) *fileTime = 0;
  return false;
}

std::string FormatSaveTime(uint64_t fileTime) {
  Trace("FormatSaveTime");
  if (!fileTime) return "";
  const time_t secs = static_cast<time_t>(save::FileTimeToUnix(fileTime));
  tm local{};
  // The calendar of a run on the virtual clock has no zone: shown as it
  // is, a save's time is the same on every machine.
  const bool ok = plat::IsVirtualClock() ? gmtime_r(&secs, &local) : localtime_r(&secs, &local);
  if (!ok) return "";
  char text[64];
  snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
           local.tm_hour, local.tm_min);
  return text;
}

}  // namespace screens
