// Sound effects: short Ogg Vorbis files from the "SE" source, decoded once
// into a static buffer (a source) and played through channels whose buffers
// duplicate the source's, so the samples are shared. Sources are kept by
// name with a reference count and swept some seconds after their last
// channel is freed. Callers hold a channel by its handle, 1 to 256.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "audio/OggVorbis.h"
#include "platform/AudioDevice.h"

class CDSound;
class CFileJoin;

struct SeSource {
  char name[32] = {};
  int32_t count = 0;  // channels that use this source
  plat::IDirectSoundBuffer* buffer = nullptr;
  bool growing = false;  // still being decoded into its buffer
};

struct SeChannel {
  plat::IDirectSoundBuffer* buffer = nullptr;
  int32_t source = 0;
  bool autoFree = false;
  int32_t volume = 0;
  bool playing = false;
  bool loop = false;
  int32_t fadeMode = 0;
  uint32_t fadeTime = 0;
  uint32_t fadeCount = 0;
  uint32_t status = 0;
  bool fadeSkip = false;
};

class CSEBuffer {
 public:
  static constexpr int kSources = 256;
  static constexpr int kChannels = 256;

  CSEBuffer() = default;
  virtual ~CSEBuffer();
  CSEBuffer(const CSEBuffer&) = delete;
  CSEBuffer& operator=(const CSEBuffer&) = delete;

  virtual bool Initialize(CDSound* sound, CFileJoin* fileJoin);
  // A channel prepared with the effect: handle 1..256, or 0.
  virtual int32_t Read(const char* name);
  virtual bool Play(int32_t handle, uint32_t fadeIn, bool loop);
  // Reads, plays once, and frees the channel when it stops.
  virtual int32_t PlayAutoFree(const char* name, uint32_t fadeIn);
  // 0 stops at once.
  virtual void Stop(int32_t handle, uint32_t fadeOut);
  virtual bool IsPlay(int32_t handle);
  virtual int32_t GetFadeMode(int32_t handle);
  virtual void Free(int32_t handle);
  virtual void SetVolume(int32_t volume);
  virtual void SetMute(bool on);
  virtual void UpdateVolume();
  virtual void Move(uint32_t elapsed);
  virtual void SetPause(bool on);
  // A new static buffer holding the decoded file, or null.
  virtual plat::IDirectSoundBuffer* OggDecode(const uint8_t* data, uint32_t size);
  virtual bool OggDecodeForLost(const uint8_t* data, uint32_t size, plat::IDirectSoundBuffer* buffer);
  virtual void Release();

  static size_t OggCallbackRead(void* ptr, size_t size, size_t count, void* source);
  static int OggCallbackSeek(void* source, ogg_int64_t offset, int origin);
  static int OggCallbackClose(void* source);
  static long OggCallbackFell(void* source);

  CDSound* mpSound = nullptr;
  CFileJoin* mpFileJoin = nullptr;
  SeSource mSeSource[kSources];
  SeChannel mSeChannel[kChannels];
  bool mbMute = false;
  int32_t mVolume = 255;
  uint32_t mdwFreeTime = 0;
  bool mbPause = false;
  int32_t mPauseCount = 0;

 protected:
  bool HasDevice() const;
  // The channel of `handle`, or null outside 1..256 or without a buffer.
  SeChannel* Channel(int32_t handle);
  // The scale entry for a channel: master × channel / 255, 0 when muted.
  int32_t ChannelVolume(const SeChannel& c) const;
  // Decodes the whole stream into a locked buffer; false on a decoder error.
  // Opens `file` over the Ogg image `data` through `source`, which must
  // outlive it; false when it is not an Ogg Vorbis stream.
  bool OpenMemoryStream(const uint8_t* data, uint32_t size, OggMemorySource& source, OggVorbis_File& file);
  bool DecodeInto(OggVorbis_File* file, int channels, plat::IDirectSoundBuffer* buffer);
  // Decodes 16-bit PCM into `pcm`, at most `limit` bytes. False when the
  // decoder fails or memory runs out.
  bool DecodeWhole(OggVorbis_File* file, int channels, uint32_t limit, std::vector<uint8_t>& pcm);
  // A buffer that decodes `data` a stretch at a time (see CSEStream), or
  // null when the stream is unusable.
  plat::IDirectSoundBuffer* OggDecodeGrowing(std::unique_ptr<uint8_t[]> data, uint32_t size);
  // Decodes a bounded stretch more of the sources still growing.
  void FeedSources();
  // Re-reads and re-decodes a lost source; on failure the source and the
  // channels that use it are released.
  void RefillLostSource(int index);
};
