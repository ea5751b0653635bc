#include <cstring>
#include <new>

#include "app/core/Trace.h"
#include "save/SaveData.h"
#include "save/SaveNames.h"

namespace {

constexpr uint32_t kKidokuStep = 1024;
// A message number beyond this would ask for a block above 16 MiB; no
// scenario has that many messages, so such a number is refused.
constexpr int kMaxMessage = (1 << 27) - 1;

}  // namespace

KidokuData* CSaveData::SearchKidokuBuff(const char* name) {
  Trace("CSaveData::SearchKidokuBuff");
  char key[kNameLen];
  save::NameStem(name, key);
  for (KidokuData& k : mKidoku)
    if (save::SameName(k.szName, key)) return &k;
  for (KidokuData& k : mKidoku) {
    if (!k.pFlags) {
      memcpy(k.szName, key, sizeof k.szName);
      return &k;
    }
  }
  return nullptr;
}

bool CSaveData::SetupKidoku(KidokuData* record, int n) {
  Trace("CSaveData::SetupKidoku");
  if (!record || n < 0 || n > kMaxMessage) return false;
  if (!record->pFlags) {
    record->pFlags.reset(new (std::nothrow) uint8_t[kKidokuStep]());
    if (!record->pFlags) return false;
    record->dwSize = kKidokuStep;
  }
  uint32_t needed = static_cast<uint32_t>(n) / 8 + 1;
  if (record->dwSize >= needed) return true;
  // Grow in steps of 1024 bytes and keep one step of headroom.
  uint32_t size = kKidokuStep * ((needed + kKidokuStep - 1) / kKidokuStep + 1);
  uint8_t* block = new (std::nothrow) uint8_t[size]();
  if (!block) return false;
  memcpy(block, record->pFlags.get(), record->dwSize);
  record->pFlags.reset(block);
  record->dwSize = size;
  return true;
}

bool CSaveData::CheckKidokuFlag(int n) {
  Trace("CSaveData::CheckKidokuFlag");
  KidokuData* k = SearchKidokuBuff(mszSnrName);
  if (!SetupKidoku(k, n)) return false;
  return (k->pFlags[n / 8] & (1 << (n % 8))) != 0;
}

void CSaveData::SetKidokuFlag(int n) {
  Trace("CSaveData::SetKidokuFlag");
  KidokuData* k = SearchKidokuBuff(mszSnrName);
  if (!SetupKidoku(k, n)) return;
  k->pFlags[n / 8] |= static_cast<uint8_t>(1 << (n % 8));
}
