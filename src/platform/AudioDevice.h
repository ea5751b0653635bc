// The sound device: a stand-in for DirectSound with the operations the sound
// classes use. A device mixes every playing secondary buffer (16-bit PCM in
// any rate and channel count) into one 44100 Hz stereo 16-bit output, which
// goes to the real audio device (SDL) or, on the null back end, is produced
// only when the frame clock advances it.
//
// Objects are reference counted like COM interfaces: creation returns one
// reference, QueryInterface adds one, Release drops one.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "platform/AudioTypes.h"
#include "platform/Win.h"

namespace plat {

class IUnknownLike {
 public:
  virtual uint32_t AddRef() = 0;
  virtual uint32_t Release() = 0;
  virtual HRESULT QueryInterface(const GUID& iid, void** out) = 0;

 protected:
  virtual ~IUnknownLike() = default;
};

class IDirectSoundBuffer : public IUnknownLike {
 public:
  // Byte offsets of the play cursor and of the first byte safe to write.
  virtual HRESULT GetCurrentPosition(uint32_t* play, uint32_t* write) = 0;
  // Writes min(size, 18) bytes of the format; `written` receives the count.
  virtual HRESULT GetFormat(WAVEFORMATEX* format, uint32_t size, uint32_t* written) = 0;
  virtual HRESULT GetStatus(uint32_t* status) = 0;
  virtual HRESULT GetVolume(int32_t* volume) = 0;
  // Locks `bytes` from `offset`, wrapping at the end of the buffer: the first
  // region runs to the end at most, the second (null when not needed) from
  // the start. What is written appears in the buffer at Unlock.
  virtual HRESULT Lock(uint32_t offset, uint32_t bytes, void** ptr1, uint32_t* bytes1, void** ptr2, uint32_t* bytes2,
                       uint32_t flags) = 0;
  virtual HRESULT Unlock(void* ptr1, uint32_t bytes1, void* ptr2, uint32_t bytes2) = 0;
  // Starts (or, when playing, changes the looping flag of) the buffer.
  virtual HRESULT Play(uint32_t reserved, uint32_t priority, uint32_t flags) = 0;
  virtual HRESULT SetCurrentPosition(uint32_t position) = 0;
  virtual HRESULT SetFormat(const WAVEFORMATEX* format) = 0;
  // Hundredths of a decibel, DSBVOLUME_MIN (silence) to DSBVOLUME_MAX.
  virtual HRESULT SetVolume(int32_t volume) = 0;
  virtual HRESULT Stop() = 0;
  // Clears the lost state; the contents must be written again.
  virtual HRESULT Restore() = 0;
};

class IDirectSoundNotify : public IUnknownLike {
 public:
  // Only while the buffer is stopped. Each event is signalled when the play
  // cursor passes its offset (DSBPN_OFFSETSTOP: when the buffer stops).
  virtual HRESULT SetNotificationPositions(uint32_t count, const DSBPOSITIONNOTIFY* positions) = 0;
};

class IDirectSound {
 public:
  virtual uint32_t AddRef() = 0;
  virtual uint32_t Release() = 0;
  virtual HRESULT SetCooperativeLevel(HWND window, uint32_t level) = 0;
  virtual HRESULT CreateSoundBuffer(const DSBUFFERDESC* desc, IDirectSoundBuffer** out, void* outer) = 0;
  // The duplicate shares the samples; it has its own cursor, volume and
  // state, starts stopped at position 0 with the original's volume.
  virtual HRESULT DuplicateSoundBuffer(IDirectSoundBuffer* original, IDirectSoundBuffer** out) = 0;

 protected:
  virtual ~IDirectSound() = default;
};

// Samples made as they are needed (an effect decoded a stretch at a time).
// Called under the device's lock, from whichever thread grows the buffer:
// it must not call back into the device.
class ISampleFeed {
 public:
  virtual ~ISampleFeed() = default;
  // Writes up to `bytes` bytes of whole sample frames to `dst` and returns
  // the count; fewer than asked means the feed has ended (its last sample,
  // or a failure) and is not asked again.
  virtual uint32_t Produce(uint8_t* dst, uint32_t bytes) = 0;
};

// A static buffer whose samples come from `feed`, which produces
// `firstBytes` at once. The buffer holds what the feed has produced so far
// and grows by FeedSoundBuffer, and by the mixer itself whenever a play
// cursor would otherwise reach samples not yet made, so playback never runs
// ahead of them. Once the feed ends the buffer has its final length (no
// more than was produced) and the feed is dropped. Duplicates share the
// growing samples. DSERR_NODRIVER when the feed produced nothing at first.
HRESULT CreateFedSoundBuffer(IDirectSound* device, uint32_t flags, const WAVEFORMATEX& format,
                             std::unique_ptr<ISampleFeed> feed, uint32_t firstBytes, IDirectSoundBuffer** out);
// Grows a fed buffer by `more` bytes, or until its feed ends. True when the
// buffer is complete (also for a buffer that was never fed).
bool FeedSoundBuffer(IDirectSoundBuffer* buffer, uint32_t more);

// Opens the device on the chosen back end. `driver` must be null (the
// default device). DSERR_NODRIVER when no audio output can be opened.
HRESULT DirectSoundCreate(const GUID* driver, IDirectSound** out, void* outer);

// Where the mixed output goes. Chosen before the device is created.
//   Sdl  — the real audio device; its callback runs the mixer.
//   Null — no device; AdvanceAudio(ms) mixes that much output at once, so a
//          run on a fixed frame step produces the same output every time.
//   None — there is no audio device at all (DirectSoundCreate fails).
enum class AudioBackend { Sdl, Null, None };
void SetAudioBackend(AudioBackend backend);
AudioBackend GetAudioBackend();

// Every device opened afterwards also writes its mixed output to this WAV
// file (44100 Hz, 2 channels, 16 bits); the file is complete when the
// device closes (its last reference is released). Empty turns it off.
void SetAudioCaptureFile(const std::string& path);
// Completes the capture files of the open devices as they stand (the
// header's sizes, flushed to disk); capturing goes on. False when a write
// failed.
bool FlushAudioCapture();

// Null back end: mixes `ms` milliseconds of output for every open null
// device (rounded so that the total stays exact), then waits for the
// threads woken by position notifications to finish their refill, so that
// the output does not depend on thread timing. No-op for the SDL back end.
void AdvanceAudio(uint32_t ms);
// How long AdvanceAudio waits for a refill (0 turns the wait off).
void SetAudioRefillWait(uint32_t ms);
// A refill asked of a thread outside the notifications: `event` is set and
// the thread resets it when done. The next AdvanceAudio waits for that
// before it mixes, as for a notification's refill. No-op for the SDL back
// end, whose mixing runs on its own time.
void ExpectAudioRefill(EventHandle event);
// Drops what was expected of `event` and the hold on it: its thread is
// ending, and nothing will reset it any more.
void ForgetAudioRefill(EventHandle event);

// Test hooks standing in for what another program can do to the device.
// The device refuses the priority cooperative level.
void SetAudioRefusePriority(bool refuse);
// Every buffer of every open device becomes lost: it stops, its samples are
// gone, and it reports DSBSTATUS_BUFFERLOST until restored.
void LoseAudioBuffers();

}  // namespace plat
