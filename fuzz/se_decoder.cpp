// Arbitrary bytes through the sound-effect decoder: a file from the "SE"
// source is decoded whole into a static buffer, and a stretch at a time into
// a growing one that is played and then made whole, so every length, header
// and page in it is hostile input.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "audio/DSound.h"
#include "audio/SEBuffer.h"
#include "audio/SEStream.h"
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
  std::unique_ptr<uint8_t[]> image(new uint8_t[size + 1]);
  if (size) memcpy(image.get(), data, size);
  auto stream = std::make_unique<CSEStream>();
  if (!stream->Open(std::move(image), static_cast<uint32_t>(size), 4410)) return 0;
  const plat::WAVEFORMATEX format = stream->Format();
  const uint32_t first = stream->FirstBytes();
  plat::IDirectSoundBuffer* growing = nullptr;
  if (plat::FAILED(plat::CreateFedSoundBuffer(Device()->mpDSound, plat::DSBCAPS_CTRLVOLUME, format, std::move(stream),
                                              first, &growing)))
    return 0;
  growing->Play(0, 0, plat::DSBPLAY_LOOPING);
  plat::AdvanceAudio(40);
  plat::FeedSoundBuffer(growing, plat::DSBSIZE_MAX);
  plat::AdvanceAudio(40);
  growing->Release();
  return 0;
}
