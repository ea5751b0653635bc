// Background music: one Ogg Vorbis piece at a time from the "BGM" source.
// The whole file is held in memory; a worker thread decodes it into an
// eight-second ring a quarter (two seconds) at a time, woken by the ring's
// position notifications. The main thread starts, stops, pauses, fades and
// sets the volume, and calls Move once per frame.
#pragma once
#include <atomic>
#include <cstdint>

#include "audio/OggVorbis.h"
#include "audio/SoundSync.h"
#include "platform/AudioDevice.h"

class CDSound;
class CFileJoin;

class CBGMBuffer {
 public:
  CBGMBuffer();
  virtual ~CBGMBuffer();
  CBGMBuffer(const CBGMBuffer&) = delete;
  CBGMBuffer& operator=(const CBGMBuffer&) = delete;

  virtual bool Initialize(CDSound* sound, CFileJoin* fileJoin);
  // Selects a piece (stopping the current one).
  virtual bool Read(const char* name);
  // Reads a file ahead so that the next Read of the same name needs no file.
  virtual bool Cache(const char* name);
  virtual bool Play(uint32_t fadeIn, bool loop);
  // 0 stops at once.
  virtual void Stop(uint32_t fadeOut);
  virtual void SetPause(bool on);
  virtual void SetMute(bool on);
  virtual void SetVolume(int32_t volume);
  virtual void UpdateVolume();
  // Attenuation in hundredths of a decibel.
  virtual int32_t GetPureVolume();
  // Once per frame with the frame's milliseconds.
  virtual void Move(uint32_t elapsed);
  // A piece is playing and its name equals `name` under CmpFName.
  virtual bool CheckPlaying(const char* name);
  // Names equal without their extensions, ignoring case.
  static bool CmpFName(const char* a, const char* b);
  virtual void StreamClose();
  virtual void Release();
  virtual bool OggDecode(uint8_t* dst, uint32_t bytes);
  static void StreamThread(CBGMBuffer* self);

  static size_t OggCallbackRead(void* ptr, size_t size, size_t count, void* source);
  static int OggCallbackSeek(void* source, ogg_int64_t offset, int origin);
  static int OggCallbackClose(void* source);
  static long OggCallbackFell(void* source);

  CDSound* mpSound = nullptr;
  CFileJoin* mpFileJoin = nullptr;
  char mszName[256] = {};
  plat::IDirectSoundBuffer* mpBuffer = nullptr;
  plat::IDirectSoundNotify* mpNotify = nullptr;
  OggMemorySource mSource;
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
  bool mbFadeSkip = false;
  uint8_t* mpCache = nullptr;
  uint32_t mdwCacheSize = 0;
  char mszCacheName[256] = {};
  bool mbSmallReq = false;
  int32_t mSmallLevel = 0;
  int32_t mSmallVolume = 255;

 protected:
  // Closes the decoder if it is open.
  void CloseDecoder();
  // Called by the worker, holding the fill lock, between reading the ring's
  // status and restarting the ring on it; tests widen that window here.
  virtual void OnRingStatusRead();
  // Held by the worker for each refill and by the main thread whenever it
  // opens, seeks, fills from or closes the decoder, so that the two never
  // decode at once and a refill never meets a closed decoder.
  CCriticalSection mcsFill;
  bool mbOggOpen = false;
  int mnChannels = 0;  // of the open stream
  uint32_t mnBlockAlign = 4;  // of the open stream
  // Play decodes a head of the ring (a part of a quarter) itself and leaves
  // the rest of the first two quarters to the worker: the bytes it filled,
  // 0 when no such fill is pending.
  static constexpr uint32_t kStartParts = 8;
  uint32_t mdwStartFill = 0;
};
