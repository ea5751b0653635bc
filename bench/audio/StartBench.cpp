// What starting a sound costs the frame that starts it: a four-second
// effect decoded whole (the old read) against its first stretch (the read
// now) and one later per-frame stretch; music started with two ring
// quarters decoded (before) against the head of the first (now). Figures compare with the same run's
// BM_Memcpy (one 800 x 600 x 4 frame copied).
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

#include "audio/DSound.h"
#include "audio/OggEncode.h"
#include "audio/OggStream.h"
#include "audio/SEBuffer.h"
#include "audio/SEStream.h"
#include "platform/AudioDevice.h"

namespace {

constexpr uint32_t kEffectMs = 4000;

const std::vector<uint8_t>& Effect() {
  static const std::vector<uint8_t> ogg = [] {
    std::vector<uint8_t> out;
    EncodeOggTone(523, kEffectMs, 44100, 2, out);
    return out;
  }();
  return ogg;
}

// A device on the null back end and an effect set over it.
struct Sound {
  CDSound sound;
  CSEBuffer effects;
  Sound() {
    plat::SetAudioBackend(plat::AudioBackend::Null);
    plat::SetAudioRefillWait(0);
    sound.Initialize(nullptr, 44100, 2, 16);
    effects.Initialize(&sound, nullptr);
  }
};

Sound& TheSound() {
  static Sound s;
  return s;
}

std::unique_ptr<uint8_t[]> Copy(const std::vector<uint8_t>& v) {
  std::unique_ptr<uint8_t[]> p(new uint8_t[v.size()]);
  memcpy(p.get(), v.data(), v.size());
  return p;
}

void BM_Memcpy(benchmark::State& state) {
  std::vector<uint8_t> from(800 * 600 * 4, 7), to(800 * 600 * 4);
  for (auto _ : state) {
    memcpy(to.data(), from.data(), to.size());
    benchmark::DoNotOptimize(to.data());
  }
}

void BM_EffectDecodeWhole(benchmark::State& state) {
  Sound& s = TheSound();
  const std::vector<uint8_t>& ogg = Effect();
  for (auto _ : state) {
    plat::IDirectSoundBuffer* b = s.effects.OggDecode(ogg.data(), static_cast<uint32_t>(ogg.size()));
    if (!b) {
      state.SkipWithError("effect refused");
      break;
    }
    b->Release();
  }
}

// What a read decodes now: the stream opened, its first stretch decoded
// and the growing buffer made over it.
void BM_EffectFirstStretch(benchmark::State& state) {
  Sound& s = TheSound();
  const std::vector<uint8_t>& ogg = Effect();
  for (auto _ : state) {
    state.PauseTiming();
    std::unique_ptr<uint8_t[]> data = Copy(ogg);
    state.ResumeTiming();
    auto stream = std::make_unique<CSEStream>();
    if (!stream->Open(std::move(data), static_cast<uint32_t>(ogg.size()), 4410)) {
      state.SkipWithError("effect refused");
      break;
    }
    plat::WAVEFORMATEX f = stream->Format();
    uint32_t first = stream->FirstBytes();
    plat::IDirectSoundBuffer* b = nullptr;
    plat::CreateFedSoundBuffer(s.sound.mpDSound, plat::DSBCAPS_CTRLVOLUME, f, std::move(stream), first, &b);
    if (!b) {
      state.SkipWithError("no buffer");
      break;
    }
    state.PauseTiming();
    b->Release();
    state.ResumeTiming();
  }
}

// One frame's stretch (a quarter of a second) of a growing effect.
void BM_EffectFrameStretch(benchmark::State& state) {
  Sound& s = TheSound();
  const std::vector<uint8_t>& ogg = Effect();
  plat::IDirectSoundBuffer* b = nullptr;
  for (auto _ : state) {
    state.PauseTiming();
    if (!b || plat::FeedSoundBuffer(b, 0)) {
      if (b) b->Release();
      b = nullptr;
      auto stream = std::make_unique<CSEStream>();
      stream->Open(Copy(ogg), static_cast<uint32_t>(ogg.size()), 4410);
      plat::WAVEFORMATEX f = stream->Format();
      uint32_t first = stream->FirstBytes();
      plat::CreateFedSoundBuffer(s.sound.mpDSound, plat::DSBCAPS_CTRLVOLUME, f, std::move(stream), first, &b);
      if (!b) {
        state.SkipWithError("no buffer");
        break;
      }
    }
    state.ResumeTiming();
    plat::FeedSoundBuffer(b, 11025 * 4);
  }
  if (b) b->Release();
}

// The music's start: the decoder rewound and `eighths` eighths of a
// two-second ring quarter decoded.
void MusicStart(benchmark::State& state, uint32_t eighths) {
  std::vector<uint8_t> ogg;
  EncodeOggTone(330, 10000, 44100, 2, ogg);
  OggMemorySource source{ogg.data(), ogg.data(), ogg.data() + ogg.size()};
  ov_callbacks callbacks = {&CSEBuffer::OggCallbackRead, &CSEBuffer::OggCallbackSeek, &CSEBuffer::OggCallbackClose,
                            &CSEBuffer::OggCallbackFell};
  OggVorbis_File file;
  if (ov_open_callbacks(&source, &file, nullptr, 0, callbacks) != 0) {
    state.SkipWithError("piece refused");
    return;
  }
  std::vector<uint8_t> ring(44100 * 4 * 8);
  for (auto _ : state) {
    ov_raw_seek(&file, 0);
    uint8_t* dst = ring.data();
    uint32_t bytes = 44100 * 4 * 2 / 8 * eighths;
    FillOggPcm(&file, true, 2, true, dst, bytes);
  }
  ov_clear(&file);
}
// What Play decoded before (two quarters) and decodes now (the head).
void BM_MusicStartTwoQuarters(benchmark::State& state) { MusicStart(state, 16); }
void BM_MusicStartHead(benchmark::State& state) { MusicStart(state, 1); }

BENCHMARK(BM_Memcpy)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EffectDecodeWhole)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EffectFirstStretch)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EffectFrameStretch)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MusicStartTwoQuarters)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MusicStartHead)->Unit(benchmark::kMicrosecond);

}  // namespace
