// The volume scale shared by every sound class and the video player: a
// volume step 0..255 becomes an attenuation in hundredths of a decibel, the
// unit the device's volume setting takes. Sounds get their volume only
// through this table.
#pragma once
#include <cstdint>

extern const int32_t gVolumeScale[256];

// The table entry for `step`, with steps outside 0..255 held at the ends.
int32_t VolumeScale(int32_t step);
