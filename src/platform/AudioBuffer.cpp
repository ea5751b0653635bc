#include <algorithm>
#include <cstring>
#include <new>

#include "platform/AudioCore.h"

namespace plat {

void FireEvents(std::vector<EventHandle>& events) {
  for (EventHandle e : events) {
    SetEvent(e);
    CloseEvent(e);
  }
  events.clear();
}

void SampleStore::GrowLocked(uint32_t want) {
  want = std::min(want, DSBSIZE_MAX);
  while (feed && bytes < want) {
    const uint32_t align = std::max<uint32_t>(blockAlign, 1);
    uint32_t ask = (want - bytes + align - 1) / align * align;
    if (ask > DSBSIZE_MAX - bytes) ask = (DSBSIZE_MAX - bytes) / align * align;
    if (ask == 0) {
      feed.reset();
      break;
    }
    // Room grows by doubling, so the samples move only now and then.
    const size_t room = samples.size() * 2;
    if (room < static_cast<size_t>(bytes) + ask) {
      size_t grown = std::min<size_t>(std::max<size_t>(room * 2, static_cast<size_t>(bytes) + ask), DSBSIZE_MAX + 1u);
      try {
        samples.resize((grown + 1) / 2);
      } catch (const std::bad_alloc&) {
        feed.reset();
        break;
      }
    }
    const uint32_t got = std::min(feed->Produce(Bytes() + bytes, ask), ask);
    bytes += got;
    if (got < ask) {
      // Ended: the length is what was really made, in whole frames, and the
      // spare room goes back.
      bytes = bytes / align * align;
      feed.reset();
      samples.resize((static_cast<size_t>(bytes) + 1) / 2);
      samples.shrink_to_fit();
    }
  }
}

BufferImpl::BufferImpl(std::shared_ptr<DeviceCore> core, uint32_t flags, const WAVEFORMATEX& format,
                       std::shared_ptr<SampleStore> store)
    : mCore(std::move(core)), mFlags(flags), mFormat(format), mStore(std::move(store)) {
  if (mStore) {
    mCursor.channels = format.nChannels;
    mCursor.step = MixStep(format.nSamplesPerSec, kOutputRate);
  }
  SetVolumeLocked(0);
  std::lock_guard<std::mutex> g(mCore->mu);
  // A duplicate's store may be growing on the mixing thread.
  if (mStore) SyncStoreLocked();
  mCore->buffers.push_back(this);
}

void BufferImpl::SyncStoreLocked() {
  mCursor.samples = mStore->samples.data();
  mCursor.frames = mFormat.nBlockAlign ? mStore->bytes / mFormat.nBlockAlign : 0;
}

bool BufferImpl::Feed(uint32_t more) {
  if (!mStore) return true;
  std::lock_guard<std::mutex> g(mCore->mu);
  mStore->GrowLocked(static_cast<uint32_t>(std::min<uint64_t>(uint64_t{mStore->bytes} + more, DSBSIZE_MAX)));
  SyncStoreLocked();
  return !mStore->feed;
}

BufferImpl::~BufferImpl() {
  std::lock_guard<std::mutex> g(mCore->mu);
  auto& list = mCore->buffers;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  ClearNotifyLocked();
}

uint32_t BufferImpl::AddRef() { return mRefs.fetch_add(1) + 1; }

uint32_t BufferImpl::Release() {
  uint32_t left = mRefs.fetch_sub(1) - 1;
  if (left == 0) delete this;
  return left;
}

HRESULT BufferImpl::QueryInterface(const GUID& iid, void** out) {
  if (!out) return DSERR_INVALIDPARAM;
  *out = nullptr;
  if (iid == IID_IDirectSoundBuffer) {
    *out = static_cast<IDirectSoundBuffer*>(this);
  } else if (iid == IID_IDirectSoundNotify && (mFlags & DSBCAPS_CTRLPOSITIONNOTIFY) && !IsPrimary()) {
    *out = static_cast<IDirectSoundNotify*>(this);
  } else {
    return E_NOINTERFACE;
  }
  AddRef();
  return DS_OK;
}

HRESULT BufferImpl::GetCurrentPosition(uint32_t* play, uint32_t* write) {
  std::lock_guard<std::mutex> g(mCore->mu);
  // Writes land at Unlock under the device's lock, so the write cursor can
  // sit on the play cursor.
  uint32_t pos = mStore ? mCursor.pos * mFormat.nBlockAlign : 0;
  if (play) *play = pos;
  if (write) *write = pos;
  return DS_OK;
}

HRESULT BufferImpl::GetFormat(WAVEFORMATEX* format, uint32_t size, uint32_t* written) {
  if (!format && !written) return DSERR_INVALIDPARAM;
  std::lock_guard<std::mutex> g(mCore->mu);
  uint32_t n = std::min<uint32_t>(size, sizeof(WAVEFORMATEX));
  if (format) memcpy(format, &mFormat, n);
  if (written) *written = format ? n : static_cast<uint32_t>(sizeof(WAVEFORMATEX));
  return DS_OK;
}

HRESULT BufferImpl::GetStatus(uint32_t* status) {
  if (!status) return DSERR_INVALIDPARAM;
  std::lock_guard<std::mutex> g(mCore->mu);
  uint32_t s = 0;
  if (mLost) s |= DSBSTATUS_BUFFERLOST;
  if (mPlaying) s |= DSBSTATUS_PLAYING;
  if (mPlaying && mLooping) s |= DSBSTATUS_LOOPING;
  *status = s;
  return DS_OK;
}

HRESULT BufferImpl::GetVolume(int32_t* volume) {
  if (!volume) return DSERR_INVALIDPARAM;
  if (!(mFlags & DSBCAPS_CTRLVOLUME)) return DSERR_CONTROLUNAVAIL;
  std::lock_guard<std::mutex> g(mCore->mu);
  *volume = mVolume;
  return DS_OK;
}

HRESULT BufferImpl::Lock(uint32_t offset, uint32_t bytes, void** ptr1, uint32_t* bytes1, void** ptr2,
                         uint32_t* bytes2, uint32_t flags) {
  if (!ptr1 || !bytes1) return DSERR_INVALIDPARAM;
  *ptr1 = nullptr;
  *bytes1 = 0;
  if (ptr2) *ptr2 = nullptr;
  if (bytes2) *bytes2 = 0;
  if (IsPrimary() || !mStore) return DSERR_INVALIDCALL;
  std::lock_guard<std::mutex> g(mCore->mu);
  if (mLost) return DSERR_BUFFERLOST;
  const uint32_t size = mStore->bytes;
  if (flags & DSBLOCK_ENTIREBUFFER) {
    offset = 0;
    bytes = size;
  } else if (flags & DSBLOCK_FROMWRITECURSOR) {
    offset = mCursor.pos * mFormat.nBlockAlign;
  }
  if (offset >= size || bytes == 0 || bytes > size) return DSERR_INVALIDPARAM;
  uint32_t first = std::min(bytes, size - offset);
  uint32_t second = bytes - first;
  if (second && (!ptr2 || !bytes2)) return DSERR_INVALIDPARAM;
  LockRecord rec;
  rec.scratch.reset(new (std::nothrow) uint8_t[bytes]);
  if (!rec.scratch) return DSERR_OUTOFMEMORY;
  rec.offset = offset;
  rec.bytes1 = first;
  rec.bytes2 = second;
  memcpy(rec.scratch.get(), mStore->Bytes() + offset, first);
  if (second) memcpy(rec.scratch.get() + first, mStore->Bytes(), second);
  *ptr1 = rec.scratch.get();
  *bytes1 = first;
  if (second) {
    *ptr2 = rec.scratch.get() + first;
    *bytes2 = second;
  }
  mLocks.push_back(std::move(rec));
  return DS_OK;
}

HRESULT BufferImpl::Unlock(void* ptr1, uint32_t bytes1, void* /*ptr2*/, uint32_t bytes2) {
  std::lock_guard<std::mutex> g(mCore->mu);
  auto it = std::find_if(mLocks.begin(), mLocks.end(),
                         [&](const LockRecord& r) { return r.scratch.get() == ptr1; });
  if (!ptr1 || it == mLocks.end()) return DSERR_INVALIDPARAM;
  // A buffer lost while locked keeps nothing of what was written.
  if (!mLost) {
    memcpy(mStore->Bytes() + it->offset, it->scratch.get(), std::min(bytes1, it->bytes1));
    if (it->bytes2) memcpy(mStore->Bytes(), it->scratch.get() + it->bytes1, std::min(bytes2, it->bytes2));
  }
  mLocks.erase(it);
  return DS_OK;
}

HRESULT BufferImpl::Play(uint32_t /*reserved*/, uint32_t /*priority*/, uint32_t flags) {
  std::lock_guard<std::mutex> g(mCore->mu);
  if (mLost) return DSERR_BUFFERLOST;
  if (IsPrimary() && !(flags & DSBPLAY_LOOPING)) return DSERR_INVALIDPARAM;
  mPlaying = true;
  mLooping = (flags & DSBPLAY_LOOPING) != 0;
  mCursor.looping = mLooping;
  return DS_OK;
}

HRESULT BufferImpl::SetCurrentPosition(uint32_t position) {
  if (IsPrimary() || !mStore) return DSERR_INVALIDCALL;
  std::lock_guard<std::mutex> g(mCore->mu);
  if (position >= mStore->bytes) return DSERR_INVALIDPARAM;
  SyncStoreLocked();
  mCursor.pos = position / mFormat.nBlockAlign;
  if (mCursor.pos >= mCursor.frames) mCursor.pos = 0;
  mCursor.frac = 0;
  return DS_OK;
}

HRESULT BufferImpl::SetFormat(const WAVEFORMATEX* format) {
  if (!IsPrimary()) return DSERR_INVALIDCALL;
  if (!format || format->wFormatTag != WAVE_FORMAT_PCM || format->nChannels < 1 || format->nChannels > 2 ||
      (format->wBitsPerSample != 8 && format->wBitsPerSample != 16) || format->nSamplesPerSec < DSBFREQUENCY_MIN ||
      format->nSamplesPerSec > DSBFREQUENCY_MAX)
    return DSERR_BADFORMAT;
  std::lock_guard<std::mutex> g(mCore->mu);
  if (mCore->level < DSSCL_PRIORITY) return DSERR_PRIOLEVELNEEDED;
  // The output stays 44100 Hz stereo; the primary only reports what was set.
  mFormat = *format;
  mFormat.cbSize = 0;
  return DS_OK;
}

void BufferImpl::SetVolumeLocked(int32_t v) {
  mVolume = v;
  mCursor.gain = MixGain(v);
}

HRESULT BufferImpl::SetVolume(int32_t volume) {
  if (!(mFlags & DSBCAPS_CTRLVOLUME)) return DSERR_CONTROLUNAVAIL;
  if (volume < DSBVOLUME_MIN || volume > DSBVOLUME_MAX) return DSERR_INVALIDPARAM;
  std::lock_guard<std::mutex> g(mCore->mu);
  SetVolumeLocked(volume);
  return DS_OK;
}

HRESULT BufferImpl::Stop() {
  std::vector<EventHandle> fired;
  {
    std::lock_guard<std::mutex> g(mCore->mu);
    if (mPlaying) FireStopLocked(fired);
    mPlaying = false;
  }
  FireEvents(fired);
  return DS_OK;
}

HRESULT BufferImpl::Restore() {
  std::lock_guard<std::mutex> g(mCore->mu);
  mLost = false;
  return DS_OK;
}

HRESULT BufferImpl::SetNotificationPositions(uint32_t count, const DSBPOSITIONNOTIFY* positions) {
  if (count && !positions) return DSERR_INVALIDPARAM;
  for (uint32_t i = 0; i < count; ++i) {
    if (!positions[i].hEventNotify) return DSERR_INVALIDPARAM;
    if (positions[i].dwOffset != DSBPN_OFFSETSTOP && positions[i].dwOffset >= mStore->bytes)
      return DSERR_INVALIDPARAM;
  }
  std::lock_guard<std::mutex> g(mCore->mu);
  if (mPlaying) return DSERR_INVALIDCALL;
  ClearNotifyLocked();
  for (uint32_t i = 0; i < count; ++i) {
    RetainEvent(positions[i].hEventNotify);
    mNotify.push_back(positions[i]);
  }
  return DS_OK;
}

void BufferImpl::ClearNotifyLocked() {
  for (auto& n : mNotify) CloseEvent(n.hEventNotify);
  mNotify.clear();
}

void BufferImpl::FireStopLocked(std::vector<EventHandle>& fired) {
  for (auto& n : mNotify) {
    if (n.dwOffset == DSBPN_OFFSETSTOP) {
      RetainEvent(n.hEventNotify);
      fired.push_back(n.hEventNotify);
    }
  }
}

void BufferImpl::LoseLocked() {
  if (IsPrimary()) return;
  mLost = true;
  mPlaying = false;
  if (mStore) memset(mStore->Bytes(), 0, mStore->bytes);
}

void BufferImpl::MixLocked(int32_t* acc, uint32_t frames, std::vector<EventHandle>& fired) {
  if (mStore) {
    if (mStore->feed) {
      // Every frame this mix steps over, and the one after it that the last
      // output frame blends in, must be made before the cursor gets there.
      const uint64_t span = (static_cast<uint64_t>(frames) * mCursor.step + mCursor.frac) >> 32;
      const uint64_t need = (mCursor.pos + span + 2) * mFormat.nBlockAlign;
      mStore->GrowLocked(static_cast<uint32_t>(std::min<uint64_t>(need, DSBSIZE_MAX)));
    }
    SyncStoreLocked();
  }
  const uint32_t start = mCursor.pos;
  MixResult r = MixInto(acc, frames, mCursor);
  if (!mNotify.empty() && mCursor.frames) {
    const uint64_t total = mCursor.frames;
    for (auto& n : mNotify) {
      if (n.dwOffset == DSBPN_OFFSETSTOP) continue;
      // The frame at the offset was played during this mix.
      uint64_t frame = n.dwOffset / mFormat.nBlockAlign;
      uint64_t ahead = (frame + total - start) % total;
      if (ahead < r.consumed) {
        RetainEvent(n.hEventNotify);
        fired.push_back(n.hEventNotify);
      }
    }
  }
  if (r.ended) {
    mPlaying = false;
    FireStopLocked(fired);
  }
}

}  // namespace plat
