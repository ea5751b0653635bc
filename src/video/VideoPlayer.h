// The movie player: plays one movie at a time, read from an entry of the
// "DATA" source or from a plain file, decoded with FFmpeg on a worker
// thread. The main thread shows the newest picture that is due, in the
// whole client area, and the movie's sound plays through the engine's sound
// device at the video volume.
//
// Grab mode (the program draws the frames) keeps the last picture in
// `mpFrame` when the movie stops or pauses; window mode shows the same
// pictures but leaves `mpFrame` black, as a separate video window would.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "assets/File.h"
#include "platform/Win.h"

class CDIBImage;
class CMovieStream;
class CMovieWorker;
class CMovieSound;

class CVideoPlayer {
 public:
  // Real time given to the worker to catch up with a fixed-step clock.
  static constexpr uint32_t kSettleTimeoutMs = 20000;

  CVideoPlayer();
  virtual ~CVideoPlayer();
  CVideoPlayer(const CVideoPlayer&) = delete;
  CVideoPlayer& operator=(const CVideoPlayer&) = delete;

  // Makes `mpFrame`; false only when it cannot be made.
  virtual bool Initialize(plat::HWND window);
  // Starts the movie `name`; false (with one line on standard error) when
  // it cannot be opened.
  virtual bool Play(const char* name, bool grab);
  virtual void Stop();
  // Nested like the sound classes' pause.
  virtual void SetPause(bool on);
  // A volume step 0..255.
  virtual void SetVolume(int32_t step);
  // Once a frame: moves the movie clock (on a fixed step by `elapsed`),
  // feeds the sound and notices the end of the movie.
  virtual void Move(uint32_t elapsed);
  // Shows the newest due picture in the window (the paused picture while
  // paused); nothing is shown twice.
  virtual void Draw(plat::HWND window);
  // Shows the picture shown last again (the window needs repainting).
  virtual void Paint(plat::HWND window);
  // Grab mode: the picture shown now into `mpFrame`, alpha 255.
  virtual void UpdateEndFrame();
  virtual void Cleanup();
  virtual bool Setup();

  // A picture newer than the one shown waits: the frame loop runs for it.
  bool HasNewFrame() const;
  // In real time the movie's pictures set the pace of the frame loop, one
  // frame a picture, while they come (not paused, not after the last).
  bool PacesFrames() const;
  // Why the last Play failed ("" after a success).
  const std::string& GetLastError() const { return mszError; }

  plat::HWND mhWnd = nullptr;
  bool mbReady = false;
  FileHandle mhFile = kInvalidFileHandle;
  uint64_t mqwBegin = 0;
  uint32_t mdwSize = 0;
  bool mbGrab = false;
  CMovieStream* mpStream = nullptr;
  CMovieWorker* mpWorker = nullptr;
  CMovieSound* mpSound = nullptr;
  int32_t mlEventCode = 0;  // 1 when the movie completed
  bool mbPlay = false;
  bool mbEnd = false;
  int32_t mVolume = 255;
  bool mbPause = false;
  int32_t mPauseCount = 0;
  CDIBImage* mpFrame = nullptr;

 private:
  bool OpenFile(const char* name);
  // Starts the clock and the sound once the worker has its first picture.
  void Begin();
  void Show(plat::HWND window, const uint32_t* pixels);

  std::string mszName;
  std::string mszError;
  std::vector<uint32_t> mPicture;  // the picture shown now, 800 × 600
  bool mbBegun = false;
  bool mbPicturesEnded = false;
  bool mbShown = false;  // mPicture (or the paused picture) is in the window
};
