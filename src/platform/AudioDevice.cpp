#include "platform/AudioDevice.h"

#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <new>

#include "platform/AudioCore.h"

namespace plat {
namespace {

std::atomic<AudioBackend> gBackend{AudioBackend::Sdl};
std::atomic<bool> gRefusePriority{false};
std::atomic<uint32_t> gRefillWaitMs{2000};

// Settings and open devices, shared by every thread that opens or drives one.
std::mutex& RegistryLock() {
  static std::mutex m;
  return m;
}
std::string& CapturePath() {
  static std::string path;
  return path;
}
std::vector<std::weak_ptr<DeviceCore>>& OpenCores() {
  static std::vector<std::weak_ptr<DeviceCore>> cores;
  return cores;
}

std::vector<std::shared_ptr<DeviceCore>> LiveCores() {
  std::lock_guard<std::mutex> g(RegistryLock());
  std::vector<std::shared_ptr<DeviceCore>> live;
  auto& cores = OpenCores();
  cores.erase(std::remove_if(cores.begin(), cores.end(), [](auto& w) { return w.expired(); }), cores.end());
  for (auto& w : cores)
    if (auto c = w.lock()) live.push_back(c);
  return live;
}

bool ValidSecondaryFormat(const WAVEFORMATEX* f) {
  return f && f->wFormatTag == WAVE_FORMAT_PCM && f->wBitsPerSample == 16 && f->nChannels >= 1 &&
         f->nChannels <= 8 && f->nBlockAlign == f->nChannels * 2 && f->nSamplesPerSec >= DSBFREQUENCY_MIN &&
         f->nSamplesPerSec <= DSBFREQUENCY_MAX && f->nAvgBytesPerSec == f->nBlockAlign * f->nSamplesPerSec;
}

void SdlCallback(void* user, Uint8* stream, int len) {
  auto* core = static_cast<DeviceCore*>(user);
  core->Mix(reinterpret_cast<int16_t*>(stream), static_cast<uint32_t>(len) / 4, nullptr);
}

class DeviceImpl final : public IDirectSound {
 public:
  explicit DeviceImpl(std::shared_ptr<DeviceCore> core) : mCore(std::move(core)) {}

  bool Start() {
    {
      std::lock_guard<std::mutex> g(RegistryLock());
      if (!CapturePath().empty()) mCore->capture.Open(CapturePath(), kOutputRate, kOutputChannels);
    }
    if (mCore->backend == AudioBackend::Sdl) {
      if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
      mSdlInit = true;
      SDL_AudioSpec want{}, have{};
      want.freq = static_cast<int>(kOutputRate);
      want.format = AUDIO_S16SYS;
      want.channels = kOutputChannels;
      want.samples = 1024;
      want.callback = &SdlCallback;
      want.userdata = mCore.get();
      mSdlDevice = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
      if (mSdlDevice == 0) return false;
      SDL_PauseAudioDevice(mSdlDevice, 0);
    }
    std::lock_guard<std::mutex> g(RegistryLock());
    OpenCores().push_back(mCore);
    return true;
  }

  uint32_t AddRef() override { return mRefs.fetch_add(1) + 1; }
  uint32_t Release() override {
    uint32_t left = mRefs.fetch_sub(1) - 1;
    if (left == 0) delete this;
    return left;
  }

  HRESULT SetCooperativeLevel(HWND /*window*/, uint32_t level) override {
    if (level < DSSCL_NORMAL || level > DSSCL_WRITEPRIMARY) return DSERR_INVALIDPARAM;
    if (level >= DSSCL_PRIORITY && gRefusePriority.load()) return DSERR_INVALIDCALL;
    std::lock_guard<std::mutex> g(mCore->mu);
    mCore->level = level;
    return DS_OK;
  }

  HRESULT CreateSoundBuffer(const DSBUFFERDESC* desc, IDirectSoundBuffer** out, void* outer) override {
    if (!out) return DSERR_INVALIDPARAM;
    *out = nullptr;
    if (!desc || outer || (desc->dwSize != kDSBufferDescSize && desc->dwSize != 20)) return DSERR_INVALIDPARAM;
    {
      std::lock_guard<std::mutex> g(mCore->mu);
      if (mCore->level == 0) return DSERR_PRIOLEVELNEEDED;
    }
    if (desc->dwFlags & DSBCAPS_PRIMARYBUFFER) {
      if (desc->dwBufferBytes != 0 || desc->lpwfxFormat) return DSERR_INVALIDPARAM;
      WAVEFORMATEX own = MakePcmFormat(kOutputRate, kOutputChannels, 16);
      auto* b = new (std::nothrow) BufferImpl(mCore, desc->dwFlags, own, nullptr);
      if (!b) return DSERR_OUTOFMEMORY;
      *out = b;
      return DS_OK;
    }
    if (!ValidSecondaryFormat(desc->lpwfxFormat)) return DSERR_BADFORMAT;
    if (desc->dwBufferBytes < DSBSIZE_MIN || desc->dwBufferBytes > DSBSIZE_MAX) return DSERR_INVALIDPARAM;
    auto store = std::make_shared<SampleStore>();
    try {
      store->samples.assign((desc->dwBufferBytes + 1) / 2, 0);
    } catch (const std::bad_alloc&) {
      return DSERR_OUTOFMEMORY;
    }
    store->bytes = desc->dwBufferBytes;
    WAVEFORMATEX f = *desc->lpwfxFormat;
    f.cbSize = 0;
    auto* b = new (std::nothrow) BufferImpl(mCore, desc->dwFlags, f, std::move(store));
    if (!b) return DSERR_OUTOFMEMORY;
    *out = b;
    return DS_OK;
  }

  HRESULT CreateFed(uint32_t flags, const WAVEFORMATEX& format, std::shared_ptr<SampleStore> store,
                    IDirectSoundBuffer** out) {
    {
      std::lock_guard<std::mutex> g(mCore->mu);
      if (mCore->level == 0) return DSERR_PRIOLEVELNEEDED;
    }
    WAVEFORMATEX f = format;
    f.cbSize = 0;
    auto* b = new (std::nothrow) BufferImpl(mCore, flags & ~DSBCAPS_PRIMARYBUFFER, f, std::move(store));
    if (!b) return DSERR_OUTOFMEMORY;
    *out = b;
    return DS_OK;
  }

  HRESULT DuplicateSoundBuffer(IDirectSoundBuffer* original, IDirectSoundBuffer** out) override {
    if (!out) return DSERR_INVALIDPARAM;
    *out = nullptr;
    auto* src = dynamic_cast<BufferImpl*>(original);
    if (!src || src->IsPrimary() || !src->Store()) return DSERR_INVALIDPARAM;
    int32_t volume;
    {
      std::lock_guard<std::mutex> g(mCore->mu);
      volume = src->VolumeLocked();
    }
    auto* b = new (std::nothrow) BufferImpl(mCore, src->Flags(), src->Format(), src->Store());
    if (!b) return DSERR_OUTOFMEMORY;
    {
      std::lock_guard<std::mutex> g(mCore->mu);
      b->SetVolumeLocked(volume);
    }
    *out = b;
    return DS_OK;
  }

 private:
  ~DeviceImpl() override {
    // The callback takes the core's lock: close SDL without holding it.
    if (mSdlDevice) SDL_CloseAudioDevice(mSdlDevice);
    if (mSdlInit) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    std::lock_guard<std::mutex> g(mCore->mu);
    mCore->open = false;
    mCore->capture.Close();
  }

  std::shared_ptr<DeviceCore> mCore;
  std::atomic<uint32_t> mRefs{1};
  SDL_AudioDeviceID mSdlDevice = 0;
  bool mSdlInit = false;
};

}  // namespace

void DeviceCore::Mix(int16_t* out, uint32_t frames, std::vector<EventHandle>* signalled) {
  std::vector<EventHandle> fired;
  {
    std::lock_guard<std::mutex> g(mu);
    mAcc.assign(static_cast<size_t>(frames) * 2, 0);
    if (open) {
      for (BufferImpl* b : buffers)
        if (b->IsAudible()) b->MixLocked(mAcc.data(), frames, fired);
    }
    MixSaturate(mAcc.data(), out, frames * 2);
    if (capture.IsOpen()) capture.Write(out, frames);
  }
  if (signalled) {
    for (EventHandle e : fired) RetainEvent(e);
    signalled->insert(signalled->end(), fired.begin(), fired.end());
  }
  FireEvents(fired);
}

HRESULT DirectSoundCreate(const GUID* driver, IDirectSound** out, void* outer) {
  if (!out) return DSERR_INVALIDPARAM;
  *out = nullptr;
  if ((driver && !(*driver == GUID_NULL)) || outer) return DSERR_INVALIDPARAM;
  AudioBackend backend = gBackend.load();
  if (backend == AudioBackend::None) return DSERR_NODRIVER;
  auto core = std::make_shared<DeviceCore>(backend);
  auto* device = new (std::nothrow) DeviceImpl(core);
  if (!device) return DSERR_OUTOFMEMORY;
  if (!device->Start()) {
    device->Release();
    return DSERR_NODRIVER;
  }
  *out = device;
  return DS_OK;
}

HRESULT CreateFedSoundBuffer(IDirectSound* device, uint32_t flags, const WAVEFORMATEX& format,
                             std::unique_ptr<ISampleFeed> feed, uint32_t firstBytes, IDirectSoundBuffer** out) {
  if (!out) return DSERR_INVALIDPARAM;
  *out = nullptr;
  auto* d = dynamic_cast<DeviceImpl*>(device);
  if (!d || !feed) return DSERR_INVALIDPARAM;
  if (!ValidSecondaryFormat(&format)) return DSERR_BADFORMAT;
  auto store = std::make_shared<SampleStore>();
  store->feed = std::move(feed);
  store->blockAlign = format.nBlockAlign;
  // Nobody else sees the store yet: no lock needed for the first stretch.
  store->GrowLocked(std::max(firstBytes, DSBSIZE_MIN));
  if (store->bytes < DSBSIZE_MIN) return DSERR_INVALIDPARAM;
  return d->CreateFed(flags, format, std::move(store), out);
}

bool FeedSoundBuffer(IDirectSoundBuffer* buffer, uint32_t more) {
  auto* b = dynamic_cast<BufferImpl*>(buffer);
  return !b || b->Feed(more);
}

void SetAudioBackend(AudioBackend backend) { gBackend.store(backend); }
AudioBackend GetAudioBackend() { return gBackend.load(); }

void SetAudioCaptureFile(const std::string& path) {
  std::lock_guard<std::mutex> g(RegistryLock());
  CapturePath() = path;
}

bool FlushAudioCapture() {
  bool ok = true;
  for (auto& core : LiveCores()) {
    std::lock_guard<std::mutex> g(core->mu);
    if (core->capture.IsOpen() && !core->capture.Flush()) ok = false;
  }
  return ok;
}

void SetAudioRefillWait(uint32_t ms) { gRefillWaitMs.store(ms); }
void SetAudioRefusePriority(bool refuse) { gRefusePriority.store(refuse); }

// Refills asked outside the notifications, for the next AdvanceAudio.
// Never destroyed: sound objects that end during the program's exit still
// drop their entries here.
std::vector<EventHandle>& ExpectedRefills() {
  static auto* events = new std::vector<EventHandle>;
  return *events;
}

void ExpectAudioRefill(EventHandle event) {
  if (!event || gBackend.load() != AudioBackend::Null) return;
  RetainEvent(event);
  std::lock_guard<std::mutex> g(RegistryLock());
  ExpectedRefills().push_back(event);
}

void ForgetAudioRefill(EventHandle event) {
  if (!event) return;
  std::vector<EventHandle> dropped;
  {
    std::lock_guard<std::mutex> g(RegistryLock());
    auto& expected = ExpectedRefills();
    for (auto it = expected.begin(); it != expected.end();) {
      if (*it == event) {
        dropped.push_back(*it);
        it = expected.erase(it);
      } else {
        ++it;
      }
    }
  }
  for (EventHandle e : dropped) CloseEvent(e);
}

void AdvanceAudio(uint32_t ms) {
  std::vector<EventHandle> expected;
  {
    std::lock_guard<std::mutex> g(RegistryLock());
    expected.swap(ExpectedRefills());
  }
  for (EventHandle e : expected) {
    if (uint32_t wait = gRefillWaitMs.load()) WaitForEventReset(e, wait);
    CloseEvent(e);
  }
  std::vector<int16_t> out;
  for (auto& core : LiveCores()) {
    if (core->backend != AudioBackend::Null) continue;
    uint64_t before, after;
    {
      std::lock_guard<std::mutex> g(core->mu);
      before = core->advancedMs * kOutputRate / 1000;
      core->advancedMs += ms;
      after = core->advancedMs * kOutputRate / 1000;
    }
    auto frames = static_cast<uint32_t>(after - before);
    out.assign(static_cast<size_t>(frames) * 2, 0);
    std::vector<EventHandle> signalled;
    core->Mix(out.data(), frames, &signalled);
    // The threads the notifications woke refill and then reset their event.
    uint32_t wait = gRefillWaitMs.load();
    for (EventHandle e : signalled) {
      if (wait) WaitForEventReset(e, wait);
      CloseEvent(e);
    }
  }
}

void LoseAudioBuffers() {
  for (auto& core : LiveCores()) {
    std::lock_guard<std::mutex> g(core->mu);
    for (BufferImpl* b : core->buffers) b->LoseLocked();
  }
}

}  // namespace plat
