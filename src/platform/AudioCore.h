// Inside the sound device: the shared state of one open device and of its
// buffers. Only the device's own sources include this.
#pragma once
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/AudioDevice.h"
#include "platform/AudioMixer.h"
#include "platform/AudioWav.h"

namespace plat {

class BufferImpl;

// The samples of a buffer, shared by its duplicates.
struct SampleStore {
  std::vector<int16_t> samples;  // holds `bytes` bytes (rounded up to whole samples)
  uint32_t bytes = 0;
  uint8_t* Bytes() { return reinterpret_cast<uint8_t*>(samples.data()); }
  // While set, `bytes` is what the feed has made so far; `samples` may be
  // larger (room to grow) and moves as it grows.
  std::unique_ptr<ISampleFeed> feed;
  uint32_t blockAlign = 1;
  // Asks the feed for more until `want` bytes are there or it ends. Under
  // the device's lock.
  void GrowLocked(uint32_t want);
};

// One open device. Every buffer's play state and samples are guarded by
// `mu`; the mixer runs under it.
class DeviceCore {
 public:
  explicit DeviceCore(AudioBackend backend) : backend(backend) {}

  // Mixes `frames` output frames into `out` (interleaved stereo) and signals
  // the notifications the play cursors passed. The signalled events are
  // appended to `signalled` (each with a reference the caller closes) when
  // it is given.
  void Mix(int16_t* out, uint32_t frames, std::vector<EventHandle>* signalled);

  const AudioBackend backend;
  std::mutex mu;
  std::vector<BufferImpl*> buffers;
  uint32_t level = 0;  // cooperative level; 0 until set
  bool open = true;    // false once the device object is gone
  WavWriter capture;
  uint64_t advancedMs = 0;  // null back end: milliseconds mixed so far

 private:
  std::vector<int32_t> mAcc;
};

class BufferImpl final : public IDirectSoundBuffer, public IDirectSoundNotify {
 public:
  BufferImpl(std::shared_ptr<DeviceCore> core, uint32_t flags, const WAVEFORMATEX& format,
             std::shared_ptr<SampleStore> store);

  // IUnknownLike, shared by both faces.
  uint32_t AddRef() override;
  uint32_t Release() override;
  HRESULT QueryInterface(const GUID& iid, void** out) override;

  HRESULT GetCurrentPosition(uint32_t* play, uint32_t* write) override;
  HRESULT GetFormat(WAVEFORMATEX* format, uint32_t size, uint32_t* written) override;
  HRESULT GetStatus(uint32_t* status) override;
  HRESULT GetVolume(int32_t* volume) override;
  HRESULT Lock(uint32_t offset, uint32_t bytes, void** ptr1, uint32_t* bytes1, void** ptr2, uint32_t* bytes2,
               uint32_t flags) override;
  HRESULT Unlock(void* ptr1, uint32_t bytes1, void* ptr2, uint32_t bytes2) override;
  HRESULT Play(uint32_t reserved, uint32_t priority, uint32_t flags) override;
  HRESULT SetCurrentPosition(uint32_t position) override;
  HRESULT SetFormat(const WAVEFORMATEX* format) override;
  HRESULT SetVolume(int32_t volume) override;
  HRESULT Stop() override;
  HRESULT Restore() override;
  HRESULT SetNotificationPositions(uint32_t count, const DSBPOSITIONNOTIFY* positions) override;

  // Device side, under core->mu.
  bool IsPrimary() const { return (mFlags & DSBCAPS_PRIMARYBUFFER) != 0; }
  bool IsAudible() const { return mPlaying && !mLost && !IsPrimary(); }
  void MixLocked(int32_t* acc, uint32_t frames, std::vector<EventHandle>& fired);
  void LoseLocked();
  std::shared_ptr<SampleStore> Store() const { return mStore; }
  uint32_t Flags() const { return mFlags; }
  const WAVEFORMATEX& Format() const { return mFormat; }
  int32_t VolumeLocked() const { return mVolume; }
  void SetVolumeLocked(int32_t v);
  // Points the cursor at the store as it stands (a fed store grows and moves).
  void SyncStoreLocked();
  // Grows a fed store by `more` bytes; true when it is complete.
  bool Feed(uint32_t more);

 private:
  ~BufferImpl() override;
  void FireStopLocked(std::vector<EventHandle>& fired);
  void ClearNotifyLocked();

  struct LockRecord {
    std::unique_ptr<uint8_t[]> scratch;
    uint32_t offset = 0, bytes1 = 0, bytes2 = 0;
  };

  std::shared_ptr<DeviceCore> mCore;
  std::atomic<uint32_t> mRefs{1};
  const uint32_t mFlags;
  WAVEFORMATEX mFormat;
  std::shared_ptr<SampleStore> mStore;
  MixCursor mCursor;
  bool mPlaying = false;
  bool mLooping = false;
  bool mLost = false;
  int32_t mVolume = 0;
  std::vector<DSBPOSITIONNOTIFY> mNotify;
  std::vector<LockRecord> mLocks;
};

// Signals and drops the references collected while mixing or stopping.
void FireEvents(std::vector<EventHandle>& events);

}  // namespace plat
