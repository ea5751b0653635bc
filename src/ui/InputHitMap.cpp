// The hit-map cache of CInput: maps are read whole through the data source,
// checked, and kept by name; each query frees every map but the queried one.
#include <cstring>
#include <memory>
#include <new>

#include "app/core/Trace.h"
#include "assets/FileJoin.h"
#include "ui/HitMap.h"
#include "ui/Input.h"

int CInput::FindHitSlot(const char* paddedName) const {
  Trace("CInput::FindHitSlot");
  for (int i = 0; i < kHitSlots; ++i)
    if (mpHitMap[i] && memcmp(mszHitName[i], paddedName, kHitNameSize) == 0) return i;
  return -1;
}

namespace {

// The name zero-padded to the slot size; false when it is empty or too long.
bool PadName(const char* name, char (&padded)[CInput::kHitNameSize]) {
  if (!name || !*name) return false;
  size_t len = strnlen(name, CInput::kHitNameSize);
  if (len >= static_cast<size_t>(CInput::kHitNameSize)) return false;
  memset(padded, 0, sizeof padded);
  memcpy(padded, name, len);
  return true;
}

}  // namespace

bool CInput::ReadHitMap(const char* name) {
  Trace("CInput::ReadHitMap");
  return LoadHitSlot(name) >= 0;
}

int CInput::LoadHitSlot(const char* name) {
  Trace("CInput::LoadHitSlot");
  char padded[kHitNameSize];
  if (!PadName(name, padded)) return -1;
  if (int slot = FindHitSlot(padded); slot >= 0) return slot;
  if (!mpFileJoin || !mpFileJoin->Open(name)) return -1;
  uint32_t size = mpFileJoin->GetSize();
  // Anything shorter cannot hold the rows; anything much longer is not ours.
  if (size < hitmap::kPixelOffset + hitmap::kMapSize || size > 2 * (hitmap::kPixelOffset + hitmap::kMapSize)) {
    mpFileJoin->Close();
    return -1;
  }
  std::unique_ptr<uint8_t[]> file(new (std::nothrow) uint8_t[size]);
  bool read = file && mpFileJoin->Read(file.get(), size) == size;
  mpFileJoin->Close();
  if (!read) return -1;

  int slot = -1;
  for (int i = 0; i < kHitSlots && slot < 0; ++i)
    if (!mpHitMap[i]) slot = i;
  if (slot < 0) return -1;
  std::unique_ptr<uint8_t[]> map(new (std::nothrow) uint8_t[hitmap::kMapSize]);
  if (!map || !hitmap::Decode(file.get(), size, map.get())) return -1;
  mpHitMap[slot] = map.release();
  memcpy(mszHitName[slot], padded, kHitNameSize);
  return slot;
}

int32_t CInput::GetHitMapNo(const char* name, int32_t x, int32_t y) {
  Trace("CInput::GetHitMapNo");
  if (x < 0 || x >= kWidth || y < 0 || y >= kHeight) return -1;
  // One search per query: it runs for every control with a hit map in every frame.
  const int slot = LoadHitSlot(name);
  if (slot < 0) return -1;
  for (int i = 0; i < kHitSlots; ++i) {
    if (i == slot || !mpHitMap[i]) continue;
    delete[] mpHitMap[i];
    mpHitMap[i] = nullptr;
    memset(mszHitName[i], 0, kHitNameSize);
  }
  return mpHitMap[slot][y * kWidth + x];
}

int32_t CInput::GetHitMapNo(const char* name) {
  Trace("CInput::GetHitMapNo");
  return GetHitMapNo(name, mptMouse.x, mptMouse.y);
}
