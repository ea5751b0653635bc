// What the save list knows of one slot. A slot is taken only when its whole
// file reads as a saved game of this product: a damaged or foreign file is
// shown as an empty slot and can never be loaded.
#pragma once
#include <cstdint>
#include <string>

class CDIBImage;

namespace screens {

// The subtitle (64 bytes), when asked a new thumbnail image (the caller
// deletes it; null when the file has none) and the file's last-write time
// as a 64-bit file time. False for an empty slot.
bool ReadSaveSlot(int slot, char* subTitle, CDIBImage** thumbnail, uint64_t* fileTime);

// A 64-bit file time as local "YYYY/MM/DD hh:mm" (on the virtual clock, in
// the zone-less calendar of the run); "" for no time.
std::string FormatSaveTime(uint64_t fileTime);

}  // namespace screens
