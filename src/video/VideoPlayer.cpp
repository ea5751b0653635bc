#include "video/VideoPlayer.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>

#include "app/core/MainWindow.h"
#include "app/core/Trace.h"
#include "assets/DIBImage.h"
#include "assets/FileJoin.h"
#include "audio/SoundControl.h"
#include "platform/Timer.h"
#include "platform/Window.h"
#include "video/MovieScaler.h"
#include "video/MovieSound.h"
#include "video/MovieStream.h"
#include "video/MovieWorker.h"

namespace {

constexpr int kWidth = CMovieScaler::kWidth;
constexpr int kHeight = CMovieScaler::kHeight;

// A fixed-step run moves the movie by the frame clock.
bool FixedStep() { return plat::IsVirtualClock(); }

}  // namespace

CVideoPlayer::CVideoPlayer() { Trace("CVideoPlayer::CVideoPlayer"); }

CVideoPlayer::~CVideoPlayer() {
  Trace("CVideoPlayer::~CVideoPlayer");
  Cleanup();
  delete mpFrame;
}

bool CVideoPlayer::Initialize(plat::HWND window) {
  Trace("CVideoPlayer::Initialize");
  Cleanup();
  delete mpFrame;
  mpFrame = new (std::nothrow) CDIBImage;
  if (!mpFrame || !mpFrame->Create(kWidth, kHeight) || !mpFrame->GetPixels()) {
    delete mpFrame;
    mpFrame = nullptr;
    return false;
  }
  mhWnd = window;
  return true;
}

bool CVideoPlayer::OpenFile(const char* name) {
  Trace("CVideoPlayer::OpenFile");
  CFileJoin* data = gpMainWindow ? gpMainWindow->mpFileJoin[kJoinData] : nullptr;
  if (intptr_t token = data ? data->OpenMulti(name) : 0) {
    mhFile = data->GetHandleMulti(token);
    mqwBegin = data->GetBeginOffsetMulti64(token);
    mdwSize = data->GetSizeMulti(token);
    return mhFile != kInvalidFileHandle && mhFile != 0;
  }
  // Not an entry of the data source: a path, taken as it is and then, when
  // relative, inside the game folder.
  mhFile = FileOpenRead(name);
  if (mhFile == kInvalidFileHandle && name[0] != '/') mhFile = FileOpenRead(std::string(gszInstallDir) + name);
  if (mhFile == kInvalidFileHandle) return false;
  mqwBegin = 0;
  mdwSize = static_cast<uint32_t>(std::min<uint64_t>(FileSize64(mhFile), UINT32_MAX));
  return true;
}

bool CVideoPlayer::Play(const char* name, bool grab) {
  Trace("CVideoPlayer::Play");
  if (mbReady) Cleanup();
  mbGrab = grab;
  mszName = name ? name : "";
  mszError.clear();
  bool ok = name && name[0] && mpFrame;
  if (!ok) mszError = "no movie named";
  if (ok && !OpenFile(name)) {
    mszError = "no such file";
    ok = false;
  }
  if (ok && !Setup()) ok = false;
  if (!ok) {
    fprintf(stderr, "veltogame: cannot play the movie %s: %s\n", mszName.c_str(), mszError.c_str());
    // What was made so far goes now: a failed movie leaves nothing open.
    Cleanup();
    return false;
  }
  mpFrame->FillFull(0);
  mPicture.assign(static_cast<size_t>(kWidth) * kHeight, 0xFF000000u);
  mbShown = false;
  mbBegun = false;
  mbPicturesEnded = false;
  if (mpSound) mpSound->SetVolume(mVolume);
  mpWorker->SetClock(0, false);
  if (!mpWorker->Start(FixedStep() ? nullptr : mhWnd)) {
    mszError = "the decoder cannot start";
    fprintf(stderr, "veltogame: cannot play the movie %s: %s\n", mszName.c_str(), mszError.c_str());
    Cleanup();
    return false;
  }
  mbPause = false;
  mPauseCount = 0;
  mbEnd = false;
  mlEventCode = 0;
  mbPlay = true;
  // On a fixed step the first picture and sound are there at once, the same
  // on every run; in real time they come as the worker gets there.
  if (FixedStep()) {
    mpWorker->Settle(kSettleTimeoutMs);
    Begin();
  }
  return true;
}

bool CVideoPlayer::Setup() {
  Trace("CVideoPlayer::Setup");
  mpStream = new (std::nothrow) CMovieStream(mhFile, mqwBegin, mdwSize);
  mpWorker = new (std::nothrow) CMovieWorker;
  if (!mpStream || !mpWorker) {
    mszError = "out of memory";
    return false;
  }
  CDSound* sound = gpMainWindow ? gpMainWindow->mpDSound : nullptr;
  mpSound = new (std::nothrow) CMovieSound;
  if (mpSound && !mpSound->Create(sound)) {
    // Without a device the movie plays silent, and its sound is not decoded.
    delete mpSound;
    mpSound = nullptr;
  }
  if (!mpWorker->Open(mpStream, mpSound != nullptr, &mszError)) return false;
  mbReady = true;
  return true;
}

void CVideoPlayer::Begin() {
  Trace("CVideoPlayer::Begin");
  mbBegun = true;
  if (mpSound) mpSound->Start(mpWorker);
  mpWorker->SetClock(0, !FixedStep() && !mbPause);
  if (mbPause && mpSound) mpSound->Pause(true);
}

void CVideoPlayer::Move(uint32_t elapsed) {
  Trace("CVideoPlayer::Move");
  if (!mbReady || !mbPlay) return;
  if (!mbBegun) {
    if (!mpWorker->IsPrerolled()) return;
    Begin();
  }
  if (!mbPause) {
    if (FixedStep()) {
      mpWorker->SetClock(mpWorker->GetClock() + elapsed, false);
      mpWorker->Settle(kSettleTimeoutMs);
    }
    if (mpSound) mpSound->Feed(mpWorker);
  }
  if (mbEnd) return;
  CMovieWorker::Progress p = mpWorker->GetProgress();
  mbPicturesEnded = p.bPictureEnd;
  if (p.bPictureEnd && p.bSoundEnd && mpWorker->GetClock() >= std::max(p.pictureEndMs, p.soundEndMs)) {
    mlEventCode = 1;
    mbEnd = true;
    if (p.pictures == 0)
      fprintf(stderr, "veltogame: cannot play the movie %s: no picture of it can be decoded\n", mszName.c_str());
  }
}

void CVideoPlayer::Show(plat::HWND window, const uint32_t* pixels) {
  Trace("CVideoPlayer::Show");
  plat::RECT whole{0, 0, kWidth, kHeight};
  plat::Present(window, pixels, kWidth, kHeight, &whole, 1);
}

void CVideoPlayer::Draw(plat::HWND window) {
  Trace("CVideoPlayer::Draw");
  if (!mbReady || !mbPlay) return;
  if (mbPause) {
    if (!mbShown) Paint(window);
    mbShown = true;
    return;
  }
  // Never waits: the newest picture there is, or the one shown already.
  if (mpWorker->TakePicture(mPicture) || !mbShown) {
    Show(window, mPicture.data());
    mbShown = true;
  }
}

void CVideoPlayer::Paint(plat::HWND window) {
  Trace("CVideoPlayer::Paint");
  if (!mbReady || !mbPlay) return;
  if (mbPause && mbGrab && mpFrame)
    Show(window, mpFrame->GetPixels());
  else if (!mPicture.empty())
    Show(window, mPicture.data());
}

bool CVideoPlayer::PacesFrames() const {
  Trace("CVideoPlayer::PacesFrames");
  return mbReady && mbPlay && mbBegun && !mbPause && !mbPicturesEnded && !FixedStep();
}

bool CVideoPlayer::HasNewFrame() const {
  Trace("CVideoPlayer::HasNewFrame");
  return mbReady && mbPlay && !mbPause && mpWorker && mpWorker->HasNewPicture();
}

void CVideoPlayer::Stop() {
  Trace("CVideoPlayer::Stop");
  if (!mbReady || !mbPlay) return;
  if (mbGrab) UpdateEndFrame();
  mpWorker->SetClock(mpWorker->GetClock(), false);
  if (mpSound) mpSound->Stop();
  mbPlay = false;
  mbPause = false;
  mPauseCount = 0;
}

void CVideoPlayer::SetPause(bool on) {
  Trace("CVideoPlayer::SetPause");
  if (!mbReady || !mbPlay || !StepPauseCount(mPauseCount, mbPause, on)) return;
  if (on) {
    UpdateEndFrame();
    // The picture at the moment of the pause is what the window shows.
    mbShown = false;
  }
  if (mbBegun) {
    mpWorker->SetClock(mpWorker->GetClock(), !on && !FixedStep());
    if (mpSound) mpSound->Pause(on);
  }
}

void CVideoPlayer::SetVolume(int32_t step) {
  Trace("CVideoPlayer::SetVolume");
  mVolume = std::clamp(step, 0, 255);
  if (mpSound) mpSound->SetVolume(mVolume);
}

void CVideoPlayer::UpdateEndFrame() {
  Trace("CVideoPlayer::UpdateEndFrame");
  if (!mbReady || !mbGrab || !mpFrame || mPicture.size() != static_cast<size_t>(kWidth) * kHeight) return;
  // The picture is 800 × 600 already (stretched when it was converted).
  uint32_t* dst = mpFrame->GetPixels();
  for (size_t i = 0; i < mPicture.size(); ++i) dst[i] = mPicture[i] | 0xFF000000u;
}

void CVideoPlayer::Cleanup() {
  Trace("CVideoPlayer::Cleanup");
  if (mpWorker) mpWorker->Finish();
  delete mpSound;
  mpSound = nullptr;
  delete mpWorker;
  mpWorker = nullptr;
  delete mpStream;
  mpStream = nullptr;
  if (mhFile != kInvalidFileHandle && mhFile != 0) FileCloseHandle(mhFile);
  mhFile = kInvalidFileHandle;
  mqwBegin = 0;
  mdwSize = 0;
  mbReady = false;
  // Nothing plays without a movie open.
  mbPlay = false;
  mbBegun = false;
}
