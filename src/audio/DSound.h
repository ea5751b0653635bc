// The one sound device of the program: opens the default device for the
// main window with a 44100 Hz, 2-channel, 16-bit output, keeps it running
// with a silent looping buffer, and makes the static buffers the effect set
// fills. The streaming classes create their ring buffers on `mpDSound`.
#pragma once
#include <cstdint>

#include "platform/AudioDevice.h"

class CDSound {
 public:
  CDSound() = default;
  virtual ~CDSound();
  CDSound(const CDSound&) = delete;
  CDSound& operator=(const CDSound&) = delete;

  bool Initialize(plat::HWND window, uint32_t samplesPerSec, uint32_t channels, uint32_t bitsPerSample);
  // A static buffer of `size` bytes for the effect set; `out` is left alone
  // on failure.
  bool MakeSoundBuffer(plat::IDirectSoundBuffer** out, const plat::WAVEFORMATEX* format, uint32_t size);
  // 0 on success, else the failure code of the lock.
  plat::HRESULT SoundBufferFillZero(plat::IDirectSoundBuffer* buffer);
  void Release();

  plat::HWND mhWnd = nullptr;
  plat::IDirectSound* mpDSound = nullptr;
  plat::IDirectSoundBuffer* mpPrimary = nullptr;
  plat::IDirectSoundBuffer* mpSilent = nullptr;
  // Which cooperative level the device granted (DSSCL_PRIORITY or
  // DSSCL_NORMAL); 0 before Initialize.
  uint32_t mLevel = 0;
};
