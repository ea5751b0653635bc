// What the sound commands share.
#pragma once
#include <cstdint>

#include "app/core/MainWindow.h"
#include "audio/DSound.h"

namespace snr {

// Without a sound device every sound command steps over its sound: there
// is nothing to read it into, and no file is missing.
inline bool HasSoundDevice() {
  CDSound* sound = gpMainWindow->mpDSound;
  return sound && sound->mpDSound;
}

// Fades and wait times below 0 count as none.
inline uint32_t Millis(int32_t value) { return value > 0 ? static_cast<uint32_t>(value) : 0; }

}  // namespace snr
