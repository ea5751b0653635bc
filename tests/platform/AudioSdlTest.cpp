// The real back end, through SDL's driver that writes the device output to a
// raw file instead of a sound card.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include "TestDir.h"
#include "platform/AudioDevice.h"

using namespace plat;

TEST(AudioSdlTest, DiskDriverReceivesTheMixedTone) {
  TestDir dir;
  std::string raw = dir.File("sdl.raw");
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", raw.c_str(), 1);
  SetAudioBackend(AudioBackend::Sdl);
  IDirectSound* device = nullptr;
  ASSERT_EQ(DirectSoundCreate(nullptr, &device, nullptr), DS_OK);
  ASSERT_EQ(device->SetCooperativeLevel(nullptr, DSSCL_PRIORITY), DS_OK);

  // One second of a 441 Hz sine, mono at 22050 Hz: the mixer resamples it.
  WAVEFORMATEX f = MakePcmFormat(22050, 1, 16);
  DSBUFFERDESC d;
  d.dwSize = 36;
  d.dwFlags = DSBCAPS_CTRLVOLUME;
  d.dwBufferBytes = 22050 * 2;
  d.lpwfxFormat = &f;
  IDirectSoundBuffer* b = nullptr;
  ASSERT_EQ(device->CreateSoundBuffer(&d, &b, nullptr), DS_OK);
  void *p1, *p2;
  uint32_t n1, n2;
  ASSERT_EQ(b->Lock(0, 0, &p1, &n1, &p2, &n2, DSBLOCK_ENTIREBUFFER), DS_OK);
  auto* s = static_cast<int16_t*>(p1);
  for (uint32_t i = 0; i < n1 / 2; ++i) s[i] = static_cast<int16_t>(12000 * std::sin(2 * M_PI * 441 * i / 22050.0));
  b->Unlock(p1, n1, p2, n2);
  b->Play(0, 0, DSBPLAY_LOOPING);
  std::this_thread::sleep_for(std::chrono::milliseconds(400));
  b->Release();
  device->Release();

  std::string bytes = dir.Read("sdl.raw");
  ASSERT_GE(bytes.size(), 44100u * 4 / 10) << "the driver wrote less than 100 ms";
  std::vector<int16_t> out(bytes.size() / 2);
  memcpy(out.data(), bytes.data(), out.size() * 2);
  // Skip the first callback (it may precede Play) and count rising zero
  // crossings of the left channel over 4410 frames (0.1 s): 441 Hz gives 44.
  size_t start = 4096 * 2;
  ASSERT_GE(out.size(), start + 4410 * 2);
  int crossings = 0, peak = 0;
  for (size_t i = 1; i < 4410; ++i) {
    int16_t a = out[start + 2 * (i - 1)], c = out[start + 2 * i];
    if (a < 0 && c >= 0) ++crossings;
    peak = std::max(peak, std::abs(static_cast<int>(c)));
    EXPECT_EQ(out[start + 2 * i], out[start + 2 * i + 1]);
  }
  EXPECT_NEAR(crossings, 44, 1);
  EXPECT_NEAR(peak, 12000, 200);
}
