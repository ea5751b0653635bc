// Arbitrary bytes through the sound-effect decoder: a file from the "SE"
// source is decoded whole into a static buffer, so every length, header and
// page in it is hostile input.
#include <cstddef>
#include <cstdint>

#include "audio/DSound.h"
#include "audio/SEBuffer.h"
#include "platform/AudioDevice.h"

namespace {

CDSound* Device() {
  static CDSound* sound = [] {
    plat::SetAudioBackend(plat::AudioBackend::Null);
    auto* s = new CDSound;
    s->Initialize(nullptr, 44100, 2, 16);
    return s;
  }();
  return sound;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 20)) return 0;
  CSEBuffer fx;
  fx.mpSound = Device();
  if (plat::IDirectSoundBuffer* buffer = fx.OggDecode(data, static_cast<uint32_t>(size))) {
    uint32_t status = 0;
    buffer->GetStatus(&status);
    buffer->Release();
  }
  return 0;
}
