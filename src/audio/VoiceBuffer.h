// Voices: one Ogg Vorbis line at a time from the "VOICE" source, streamed
// like the music into a four-second ring by a worker thread. A line is read
// into memory, or streamed straight from its byte range in the archive.
// After the end of a line the ring plays one more notification of silence
// and is stopped at the next.
#pragma once
#include <atomic>
#include <cstdint>

#include "assets/File.h"
#include "audio/OggVorbis.h"
#include "audio/SoundSync.h"
#include "platform/AudioDevice.h"

class CDSound;
class CFileJoin;

// Where the decoder reads a voice from: a memory image, or a byte range of
// an open file (mode 1).
struct VoiceSource {
  uint8_t mode = 0;
  OggMemorySource memory;
  FileHandle handle = kInvalidFileHandle;
  uint64_t begin = 0;
  uint64_t end = 0;
  uint64_t current = 0;
};

class CVoiceBuffer {
 public:
  CVoiceBuffer();
  virtual ~CVoiceBuffer();
  CVoiceBuffer(const CVoiceBuffer&) = delete;
  CVoiceBuffer& operator=(const CVoiceBuffer&) = delete;

  virtual bool Initialize(CDSound* sound, CFileJoin* fileJoin);
  // `fromFile` streams from the source's file instead of reading into memory.
  virtual bool Read(const char* name, bool fromFile);
  virtual bool Play(uint32_t fadeIn, bool loop);
  // 0 stops at once.
  virtual void Stop(uint32_t fadeOut);
  virtual void SetPause(bool on);
  virtual void SetMute(bool on);
  virtual void SetVolume(int32_t volume);
  virtual void ChangeVoiceVol();
  // Attenuation in hundredths of a decibel.
  virtual int32_t GetPureVol();
  // The character whose name prefix starts `name`, 8 when none does.
  virtual int32_t GetCharaNo(const char* name);
  virtual void Move(uint32_t elapsed);
  virtual void StreamClose();
  virtual void Release();
  virtual bool OggDecode(uint8_t* dst, uint32_t bytes);
  static void StreamThread(CVoiceBuffer* self);

  static size_t OggCallbackRead(void* ptr, size_t size, size_t count, void* source);
  static int OggCallbackSeek(void* source, ogg_int64_t offset, int origin);
  static int OggCallbackClose(void* source);
  static long OggCallbackFell(void* source);

  CDSound* mpSound = nullptr;
  CFileJoin* mpFileJoin = nullptr;
  plat::IDirectSoundBuffer* mpBuffer = nullptr;
  plat::IDirectSoundNotify* mpNotify = nullptr;
  VoiceSource mSource;
  OggVorbis_File mOggFile;
  std::atomic<bool> mbQuit{false};
  uint32_t mdwQuarter = 0;
  CSoundThread mhThread;
  plat::EventHandle mhEvent[4] = {};
  plat::EventHandle mhIdle = nullptr;
  bool mbMute = false;
  int32_t mVolume = 255;
  std::atomic<bool> mbPlay{false};
  std::atomic<bool> mbLoop{true};
  std::atomic<bool> mbEnd{false};
  bool mbPause = false;
  uint32_t mdwStatus = 0;
  int32_t mPauseCount = 0;
  int32_t mFadeMode = 0;
  uint32_t mdwFadeTime = 0;
  uint32_t mdwFadeCount = 0;
  char mszName[260] = {};
  bool mbCharaMute[16] = {};
  char mCharaName[256][32][8] = {};
  int32_t mCharaCount = 0;
  std::atomic<int32_t> mEndCount{0};
  CCriticalSection mcsFill;
  CCriticalSection mcsDecode;

 protected:
  // Stops at once and waits until the worker is idle; closes the decoder.
  void StopNow();
  void CloseDecoder();
  bool mbOggOpen = false;
  int mnChannels = 0;  // of the open stream
};
