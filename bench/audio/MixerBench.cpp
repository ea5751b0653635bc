// What one 30 ms frame of mixing costs with a typical scene's sounds: one
// music stream, one voice and sixteen effects, against copying the frame's
// output alone and against mixing a single stream.
#include <benchmark/benchmark.h>

#include "RatioReport.h"

#include <cstring>
#include <vector>

#include "audio/OggEncode.h"
#include "platform/AudioDevice.h"

namespace {

struct Scene {
  plat::IDirectSound* device = nullptr;
  std::vector<plat::IDirectSoundBuffer*> buffers;

  void Add(uint32_t rate, uint32_t channels, uint32_t ms) {
    plat::WAVEFORMATEX f = plat::MakePcmFormat(rate, channels, 16);
    plat::DSBUFFERDESC d;
    d.dwSize = 36;
    d.dwFlags = plat::DSBCAPS_CTRLVOLUME | plat::DSBCAPS_CTRLPOSITIONNOTIFY;
    d.dwBufferBytes = f.nAvgBytesPerSec * ms / 1000;
    d.lpwfxFormat = &f;
    plat::IDirectSoundBuffer* b = nullptr;
    if (device->CreateSoundBuffer(&d, &b, nullptr) != plat::DS_OK) return;
    std::vector<int16_t> tone = MakeTone(440, ms, rate, channels);
    void *p1, *p2;
    uint32_t n1, n2;
    b->Lock(0, 0, &p1, &n1, &p2, &n2, plat::DSBLOCK_ENTIREBUFFER);
    memcpy(p1, tone.data(), std::min<size_t>(n1, tone.size() * 2));
    b->Unlock(p1, n1, p2, n2);
    b->SetVolume(-673);
    b->Play(0, 0, plat::DSBPLAY_LOOPING);
    buffers.push_back(b);
  }

  explicit Scene(int effects, bool streams) {
    plat::SetAudioBackend(plat::AudioBackend::Null);
    plat::SetAudioRefillWait(0);
    plat::DirectSoundCreate(nullptr, &device, nullptr);
    device->SetCooperativeLevel(nullptr, plat::DSSCL_PRIORITY);
    if (streams) {
      Add(44100, 2, 8000);  // music ring
      Add(22050, 1, 4000);  // voice ring
    }
    for (int i = 0; i < effects; ++i) Add(i % 2 ? 22050 : 44100, i % 2 ? 1 : 2, 700);
  }
  ~Scene() {
    for (auto* b : buffers) b->Release();
    device->Release();
  }
};

void BM_FrameCopyOnly(benchmark::State& state) {
  std::vector<int16_t> from(1323 * 2, 7), to(1323 * 2);
  for (auto _ : state) {
    memcpy(to.data(), from.data(), to.size() * 2);
    benchmark::DoNotOptimize(to.data());
  }
}
BENCHMARK(BM_FrameCopyOnly);

void BM_MixOneStream(benchmark::State& state) {
  Scene scene(0, false);
  scene.Add(44100, 2, 8000);
  for (auto _ : state) plat::AdvanceAudio(30);
}
BENCHMARK(BM_MixOneStream);

void BM_MixSceneFrame(benchmark::State& state) {
  Scene scene(16, true);
  // Each iteration mixes one 30 ms frame: its time over 30 ms is the share
  // of the frame the mixer takes.
  for (auto _ : state) plat::AdvanceAudio(30);
}
BENCHMARK(BM_MixSceneFrame);

}  // namespace

int main(int argc, char** argv) { return benchreport::RunWithRatios(argc, argv, "sound", "us", 1.0); }
